#include "app/instanceguard.h"

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
    struct flock request;
    std::memset(&request, 0, sizeof request);
    request.l_type = F_WRLCK;
    request.l_whence = SEEK_SET;
    request.l_start = 0;
    request.l_len = 1;
    if (::fcntl(fd, F_OFD_SETLK, &request) != 0) {
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
