#include "app/startfolder.h"

#include "data/datafolder.h"
#include "data/privatefiles.h"
#include "widgets/messagebox.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace quelvarino {

bool prepareDataFolderAtStart(QWidget* splash) {
    const QString folder = DataFolder::path();
    auto hideSplash = [splash] {
        if (splash)
            splash->hide();
    };
    const QString share = DataFolder::unmountedShareFor(folder);
    if (!share.isEmpty()) {
        hideSplash();
        MessageBox::warning(
            QStringLiteral("A pasta de dados %1 fica no compartilhamento de rede %2, que não "
                           "está montado neste computador.\n\nMonte o compartilhamento (ou peça "
                           "ao administrador do sistema que o monte) e abra o programa "
                           "novamente.")
                .arg(folder, share));
        return false;
    }
    if (!QFileInfo::exists(folder) && !DataFolder::isDefault()) {
        hideSplash();
        const QString parent = QFileInfo(folder).absolutePath();
        const QString reRegister = QStringLiteral(
            "Para usar outra pasta, registre-a com o Ostrima: Ostrima -Quelvarino <pasta>");
        if (!QFileInfo(parent).isDir()) {
            MessageBox::warning(
                QStringLiteral("A pasta de dados %1, registrada pelo Ostrima, não existe, nem a "
                               "pasta %2 onde ela ficaria.\n\nVerifique se o caminho está certo "
                               "e, se os dados ficam em outro computador, se a pasta "
                               "compartilhada está disponível.\n%3")
                    .arg(folder, parent, reRegister));
            return false;
        }
        if (!MessageBox::confirm(
                QStringLiteral("A pasta de dados %1, registrada pelo Ostrima, não existe.\n\n"
                               "Deseja criá-la agora, com um cadastro vazio?\n\nSe os dados "
                               "ficam em outra pasta, responda Não. %2")
                    .arg(folder, reRegister)))
            return false;
        if (!QDir().mkpath(folder)) {
            MessageBox::warning(
                QStringLiteral("Não foi possível criar a pasta de dados %1. Verifique se há "
                               "permissão de gravação em %2.")
                    .arg(folder, parent));
            return false;
        }
    }
    DataFolder::prepare();
    const QString aliasWarning = protectAliasFile();
    if (!aliasWarning.isEmpty()) {
        hideSplash();
        MessageBox::warning(aliasWarning);
    }
    const QString lockWarning = DataFolder::lockWarning();
    if (!lockWarning.isEmpty()) {
        hideSplash();
        MessageBox::warning(lockWarning);
    }
    return true;
}

}  // namespace quelvarino
