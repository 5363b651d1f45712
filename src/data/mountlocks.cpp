#include "data/mountlocks.h"

#include <fcntl.h>
#include <unistd.h>
#include <QFile>
#include <QStringList>
#include <cerrno>
#include <cstring>

namespace quelvarino {
namespace {

bool hasOption(const QStringList& options, const QString& name) {
    return options.contains(name);
}

QString optionValue(const QStringList& options, const QString& name) {
    const QString prefix = name + QLatin1Char('=');
    for (const QString& o : options) {
        if (o.startsWith(prefix))
            return o.mid(prefix.size());
    }
    return QString();
}

LockVerdict notCarried(const QString& reason) {
    return {LockReach::NotCarried, reason};
}

}  // namespace

LockVerdict lockVerdict(const QString& rawType, const QString& rawOptions) {
    const QString type = rawType.trimmed().toLower();
    const QStringList options = rawOptions.trimmed().split(QLatin1Char(','), Qt::SkipEmptyParts);

    if (type == QLatin1String("nfs") || type == QLatin1String("nfs4")) {
        // Without the lock service every computer keeps its own locks.
        if (hasOption(options, QStringLiteral("nolock")))
            return notCarried(QStringLiteral("uma montagem NFS com a opção nolock"));
        const QString local = optionValue(options, QStringLiteral("local_lock"));
        if (local == QLatin1String("all") || local == QLatin1String("posix"))
            return notCarried(
                QStringLiteral("uma montagem NFS com a opção local_lock=%1").arg(local));
        return {};
    }
    if (type == QLatin1String("cifs") || type == QLatin1String("smb3") ||
        type == QLatin1String("smbfs")) {
        if (hasOption(options, QStringLiteral("nobrl")))
            return notCarried(QStringLiteral("uma montagem SMB/CIFS com a opção nobrl"));
        return {};
    }
    if (type == QLatin1String("sshfs") || type == QLatin1String("fuse.sshfs"))
        return notCarried(QStringLiteral("uma montagem SSHFS (%1)").arg(type));
    // Shares reached through a program of their own: none of them passes
    // byte-range locks on to the server.
    static const QStringList noLocks = {
        "davfs",
        "fuse.davfs",
        "fuse.davfs2",
        "fuse.rclone",
        "fuse.s3fs",
        "fuse.gcsfuse",
        "fuse.goofys",
        "fuse.curlftpfs",
        "fuse.smbnetfs",
        "fuse.gvfsd-fuse",
        "fuse.gvfs-fuse-daemon",
        "fuse.vmhgfs-fuse",
        "vboxsf",
        "9p",
        "fuse.google-drive-ocamlfuse",
        "fuse.onedriver",
        "fuse.afpfs",
        "ncpfs",
        "fuse.httpdirfs",
    };
    if (noLocks.contains(type))
        return notCarried(QStringLiteral("um sistema de arquivos %1").arg(type));
    // FUSE file systems over this computer's own disks: one computer, its
    // own locks are all there are.
    static const QStringList localFuse = {
        "fuseblk",       "fuse.ntfs-3g",    "fuse.exfat",          "fuse.gocryptfs",
        "fuse.encfs",    "fuse.cryfs",      "fuse.securefs",       "fuse.bindfs",
        "fuse.mergerfs", "fuse.unionfs",    "fuse.fuse-overlayfs", "fuse.lxcfs",
        "fuse.portal",   "fuse.squashfuse",
    };
    if (type == QLatin1String("fuse") || type.startsWith(QLatin1String("fuse.")) ||
        type == QLatin1String("fuseblk")) {
        if (localFuse.contains(type))
            return {};
        return {LockReach::Unknown,
                QStringLiteral("um sistema de arquivos FUSE (%1) de que o sistema não sabe se leva "
                               "os bloqueios às outras estações")
                    .arg(type)};
    }
    return {};
}

bool lockByte(int fd, long long byte, bool shared) {
    struct flock request;
    std::memset(&request, 0, sizeof request);
    request.l_type = shared ? F_RDLCK : F_WRLCK;
    request.l_whence = SEEK_SET;
    request.l_start = off_t(byte);
    request.l_len = 1;
    return ::fcntl(fd, F_OFD_SETLK, &request) == 0;
}

bool locksWorkOn(const QString& lockFile, QString* reason) {
    const QByteArray path = QFile::encodeName(lockFile);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0660);
    if (fd < 0) {
        *reason = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // A shared lock on an even byte: the records' bytes are odd, and two
    // workstations probing at once do not refuse each other.
    bool works = true;
    if (!lockByte(fd, 2, true)) {
        const int error = errno;
        // Held by another: locks work.
        works = error == EAGAIN || error == EACCES;
        if (!works)
            *reason = QString::fromLocal8Bit(std::strerror(error));
    }
    ::close(fd);
    return works;
}

}  // namespace quelvarino
