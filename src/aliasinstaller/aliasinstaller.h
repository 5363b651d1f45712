#pragma once

#include <QString>
#include <QStringList>

namespace quelvarino {

// What Ostrima does with its command line: the settings by position, the
// parameter text and driver type, and the registration itself.
struct AliasRequest {
    QString alias;
    bool deleteFirst = false;
    QString path;
    QString driver;
    QString driverType;       // what the registry records as TYPE
    QString params;           // the alias parameter text
    bool fileDriver = false;  // PATH names a folder of this computer or a share
};

// Whether Ostrima makes the folder it registers: an absolute path that is
// missing, inside an existing folder of a local file system.
bool mayCreateFolder(const QString& path);

// `arguments` are the program's arguments without the program name.
AliasRequest aliasRequestFromArguments(const QStringList& arguments);

// Deletes (when asked) and adds the alias; failures are silent by design.
void registerAlias(const AliasRequest& request);

}  // namespace quelvarino
