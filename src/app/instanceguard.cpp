#include "app/instanceguard.h"

#include "data/mountlocks.h"

#include <fcntl.h>
#include <unistd.h>
#include <QDir>
#include <cstring>

namespace quelvarino {
namespace {
int heldFd = -1;
}

QString InstanceGuard::lockFilePath() {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QDir::tempPath() + QStringLiteral("/quelvarino-%1").arg(::getuid());
        QDir().mkpath(folder);
    }
    return folder + QStringLiteral("/CodigoParaExcucaoUnicaDoAplicativo.lock");
}

bool InstanceGuard::acquire() {
    if (heldFd >= 0)
        return false;  // this process runs the program already
    const QByteArray path = lockFilePath().toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true;  // no runtime folder to guard with: do not keep the operator out
    if (!lockByte(fd, 0)) {
        ::close(fd);
        return false;
    }
    heldFd = fd;
    return true;
}

void InstanceGuard::release() {
    if (heldFd >= 0) {
        ::close(heldFd);
        heldFd = -1;
    }
}

}  // namespace quelvarino
