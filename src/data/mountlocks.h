#pragma once

#include <QString>

namespace quelvarino {

// Whether the file system under a data folder carries byte-range locks
// (SQLite's own and the record locks) to the other computers that mount the
// same folder. Two workstations on a folder whose locks stay on each
// computer write over each other's pages: orders get the same number, go
// missing or take another's data, and the indexes break.
enum class LockReach {
    Carried,     // a local disk, or a share whose locks go to the server
    NotCarried,  // known to keep locks on each computer: never open the store there
    Unknown,     // a FUSE file system the program does not know: say so, go on
};

struct LockVerdict {
    LockReach reach = LockReach::Carried;
    QString reason;  // in Portuguese, for the operator, when not Carried
};

// The rule for one mount: its type and its option list as /proc/self/mounts
// shows them ("fuse.sshfs", "rw,nosuid,user_id=0").
LockVerdict lockVerdict(const QString& type, const QString& options);

// Takes and drops a probe lock on `lockFile` (created when missing, as the
// record locks do): false, with the system's reason, when the folder's file
// system refuses byte-range locks at all.
bool locksWorkOn(const QString& lockFile, QString* reason);

// Locks byte `byte` of the open file `fd` for this open file (not for the
// process: F_OFD_SETLK), `shared` or exclusive, at once or not at all; on
// false errno says why (EAGAIN or EACCES: another holds it).
bool lockByte(int fd, long long byte, bool shared = false);

}  // namespace quelvarino
