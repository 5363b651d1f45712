#include "data/privatefiles.h"

#include "data/aliasregistry.h"

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace quelvarino {

void keepNewFilesPrivate() {
    ::umask(S_IRWXO);
}

QString protectAliasFile() {
    const QString path = AliasRegistry::filePath();
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 ||
        !(st.st_mode & (S_IRGRP | S_IROTH)))
        return QString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    const QString text = QString::fromUtf8(file.readAll());
    if (!text.contains(QLatin1String("password"), Qt::CaseInsensitive))
        return QString();  // nothing secret in it
    if (::chmod(QFile::encodeName(path).constData(), S_IRUSR | S_IWUSR) == 0)
        return QStringLiteral(
                   "O arquivo de aliases %1 guarda a senha do banco de dados e podia "
                   "ser lido por outros usuários deste computador. Agora só o seu "
                   "usuário pode lê-lo.\n\nSe outra pessoa teve acesso a este "
                   "computador, troque a senha no servidor e registre-a de novo com "
                   "o Ostrima.")
            .arg(QDir::toNativeSeparators(path));
    return QStringLiteral(
               "O arquivo de aliases %1 guarda a senha do banco de dados e pode ser "
               "lido por outros usuários deste computador, e não foi possível "
               "protegê-lo.\n\nPeça ao administrador do sistema que o deixe legível "
               "só pelo seu usuário (chmod 600 %1).")
        .arg(QDir::toNativeSeparators(path));
}

}  // namespace quelvarino
