#pragma once

#include <QString>

namespace quelvarino {

// One running copy per user session: a lock on the file
// "CodigoParaExcucaoUnicaDoAplicativo.lock" in the user's runtime folder.
// The kernel drops the lock when the process ends, however it ends, so a
// crashed copy never blocks the next start.
class InstanceGuard {
public:
    static bool acquire();  // false: another copy holds it
    static void release();
    static QString lockFilePath();
};

}  // namespace quelvarino
