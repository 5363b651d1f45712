#include "data/durablefiles.h"

#include <fcntl.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace quelvarino {
namespace {

bool syncPath(const QString& path, int flags) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

bool syncFile(const QString& path) {
    return syncPath(path, O_RDONLY);
}

bool syncFolder(const QString& folder) {
    return syncPath(folder, O_RDONLY | O_DIRECTORY);
}

bool durablyReplace(const QString& temp, const QString& target) {
    if (!syncFile(temp))
        return false;
    // rename(2) replaces an older file of the same name in one step.
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) !=
        0)
        return false;
    return syncFolder(QFileInfo(target).absolutePath());
}

}  // namespace quelvarino
