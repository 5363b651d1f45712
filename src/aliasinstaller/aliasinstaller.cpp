#include "aliasinstaller/aliasinstaller.h"

#include "data/aliasregistry.h"
#include "data/datafolder.h"

#include <QDir>
#include <QFileInfo>

namespace quelvarino {

AliasRequest aliasRequestFromArguments(const QStringList& arguments) {
    AliasRequest r;
    r.alias = arguments.value(0);
    if (r.alias.isEmpty())
        r.alias = QStringLiteral("Quelvarino");
    if (r.alias.startsWith('-')) {
        r.deleteFirst = true;
        r.alias.remove(0, 1);
    }
    r.path = arguments.value(1);
    if (r.path.isEmpty())
        r.path = QDir::homePath() + QStringLiteral("/Quelvarino");
    r.driver = arguments.value(2);
    r.fileDriver = false;
    if (r.driver.isEmpty())
        r.driver = QStringLiteral("PARADOX");

    const QString upper = r.driver.toUpper();
    static const QStringList fileDrivers = {"STANDARD", "PARADOX", "DBASE", "FOXPRO", "ASCIIDRV"};
    if (fileDrivers.contains(upper)) {
        r.params = QStringLiteral("PATH:\"%1\";DEFAULT DRIVER:\"%2\";ENABLE BCD:\"FALSE\"")
                       .arg(r.path, r.driver);
        r.driverType = upper == QLatin1String("STANDARD") ? QStringLiteral("PARADOX") : r.driver;
        r.fileDriver = true;
    } else if (upper == QLatin1String("INTRBASE")) {
        r.params = QStringLiteral("SERVER NAME:\"%1\"").arg(r.path);
        r.driverType = r.driver;
    } else {
        r.params = QStringLiteral("DATABASE NAME:\"%1\"").arg(r.path);
        r.driverType = r.driver;
    }
    return r;
}

bool mayCreateFolder(const QString& path) {
    if (!QDir::isAbsolutePath(path) || QFileInfo::exists(path))
        return false;
    const QString parent = QFileInfo(path).absolutePath();
    // Only a folder on this computer, inside a folder that is there: a path
    // on a network share (mounted or not) belongs to the server.
    return QFileInfo(parent).isDir() && !DataFolder::isOnNetworkShare(parent) &&
           DataFolder::unmountedShareFor(path).isEmpty();
}

void registerAlias(const AliasRequest& request) {
    if (request.deleteFirst)
        AliasRegistry::remove(request.alias);
    // An alias that exists already stays as it was: adding simply fails.
    if (!AliasRegistry::add(request.alias, {request.driverType, request.params}))
        return;
    // The folder it names is made at once, so that the program finds it at
    // its first start.
    if (request.fileDriver && mayCreateFolder(request.path))
        QDir().mkdir(request.path);
}

}  // namespace quelvarino
