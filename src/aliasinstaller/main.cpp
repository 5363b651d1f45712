// Ostrima: registers the database alias of QuelvarinoBasic.
// Usage: Ostrima [[-]alias [path [driver]]]. Shows nothing, always exits 0.
#include "aliasinstaller/aliasinstaller.h"
#include "data/privatefiles.h"

#include <QStringList>
#include <QtGlobal>
#include <exception>

namespace {
void silent(QtMsgType, const QMessageLogContext&, const QString&) {}
}  // namespace

int main(int argc, char* argv[]) {
    quelvarino::keepNewFilesPrivate();
    qInstallMessageHandler(silent);
    try {
        QStringList arguments;
        for (int i = 1; i < argc && i <= 3; ++i)
            arguments.append(QString::fromLocal8Bit(argv[i]));
        quelvarino::registerAlias(quelvarino::aliasRequestFromArguments(arguments));
    } catch (...) {
        // Nothing is ever reported: the installer is run unattended.
    }
    return 0;
}
