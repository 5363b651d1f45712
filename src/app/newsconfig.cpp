#include "app/newsconfig.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace quelvarino {
namespace {

QString fixedSystemFile;

// The workstation's file beside the installed program: /etc for a program
// in /usr/bin, the prefix's etc for one installed elsewhere.
QString systemFile() {
    if (!fixedSystemFile.isEmpty())
        return fixedSystemFile;
    const QString prefix = QDir::cleanPath(QCoreApplication::applicationDirPath() + "/..");
    const QString etc =
        prefix == QLatin1String("/usr") ? QStringLiteral("/etc") : prefix + QStringLiteral("/etc");
    return etc + QStringLiteral("/quelvarino/noticias.conf");
}

}  // namespace

void NewsConfig::setSystemFileForTest(const QString& file) {
    fixedSystemFile = file;
}

QStringList NewsConfig::candidateFiles() {
    return {QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                QStringLiteral("/Quelvarino/noticias.conf"),
            systemFile()};
}

std::optional<NewsConfig> NewsConfig::load() {
    for (const QString& file : candidateFiles()) {
        if (auto config = loadFile(file))
            return config;
    }
    return std::nullopt;
}

std::optional<NewsConfig> NewsConfig::loadFile(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    f.close();
    // A password others can read is closed to them when the file is ours.
    const QFileInfo info(file);
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther |
                        QFileDevice::WriteOther;
    if ((info.permissions() & others) && info.ownerId() == ::getuid())
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    QSettings s(file, QSettings::IniFormat);
    NewsConfig c;
    c.ftpHost = s.value("ftp/servidor").toString().trimmed();
    c.ftpPort = s.value("ftp/porta", 21).toInt();
    if (c.ftpPort <= 0 || c.ftpPort > 65535)
        c.ftpPort = 21;
    c.ftpUser = s.value("ftp/usuario").toString();
    c.ftpPassword = s.value("ftp/senha").toString();
    c.remoteFolder = s.value("ftp/pasta").toString().trimmed();
    c.textFile = QFileInfo(s.value("ftp/texto").toString().trimmed()).fileName();
    if (c.textFile.isEmpty())
        c.textFile = defaultTextFile();
    c.site = s.value("web/site").toString().trimmed();
    c.echoUrl = s.value("web/eco_ip").toString().trimmed();
    for (const char* key : {"web/teste1", "web/teste2", "web/teste3"}) {
        const QString probe = s.value(key).toString().trimmed();
        if (!probe.isEmpty())
            c.probes.append(probe);
    }
    c.timeoutSeconds = qBound(1, s.value("tempo/limite_segundos", 3).toInt(), 30);
    // The file as installed, not filled in yet: as if there were none.
    if (!c.downloads() && c.probes.isEmpty())
        return std::nullopt;
    return c;
}

}  // namespace quelvarino
