#!/usr/bin/python3
"""A file system that keeps, through a power cut, only what was synced.

    powercut_fs.py STATE MOUNTPOINT

It mounts the folder STATE at MOUNTPOINT with the guarantees of a real disk
and nothing more: a file's bytes are kept once the file is fsynced, a name
(created, removed or renamed) once its folder is fsynced. Until then both
live only in this process, as in a page cache. Unmounting it is the power
cut: what was kept is written back into STATE, everything else is gone, and
the next mount starts from there as the next boot would.

Byte-range locks are left to the kernel (no lock operation is offered), so
the programs' locks work as on a local disk.
"""
import errno
import os
import shutil
import stat
import sys
import time

import fusepy


class Node:
    def __init__(self, is_dir, mode):
        self.is_dir = is_dir
        self.mode = mode
        self.data = bytearray()   # what programs read: the page cache
        self.synced = b""         # what is on the disk
        self.entries = {}         # folder: name -> Node, as programs see it
        self.synced_entries = {}  # folder: the names on the disk
        now = time.time_ns()
        self.times = (now, now)


class PowerCutFS:
    use_ns = True

    def __init__(self, state):
        self.state = state
        self.root = self._load(state)
        self.handles = {}
        self.next_handle = 1

    def __call__(self, op, *args):
        if not hasattr(self, op):
            raise fusepy.FuseOSError(errno.ENOSYS)
        return getattr(self, op)(*args)

    # -- what was kept, read at mount and written at the cut

    def _load(self, path):
        node = Node(True, stat.S_IMODE(os.stat(path).st_mode))
        for name in os.listdir(path):
            full = os.path.join(path, name)
            if os.path.isdir(full):
                child = self._load(full)
            else:
                child = Node(False, stat.S_IMODE(os.stat(full).st_mode))
                with open(full, "rb") as f:
                    child.synced = f.read()
                child.data = bytearray(child.synced)
            node.entries[name] = child
            node.synced_entries[name] = child
        return node

    def _dump(self, node, path):
        os.mkdir(path)
        os.chmod(path, node.mode)
        for name, child in node.synced_entries.items():
            full = os.path.join(path, name)
            if child.is_dir:
                self._dump(child, full)
            else:
                with open(full, "wb") as f:
                    f.write(child.synced)
                os.chmod(full, child.mode)

    def destroy(self, path):
        fresh = self.state + ".corte"
        shutil.rmtree(fresh, ignore_errors=True)
        self._dump(self.root, fresh)
        shutil.rmtree(self.state)
        os.rename(fresh, self.state)

    # -- names

    def _find(self, path):
        node = self.root
        for part in [p for p in path.split("/") if p]:
            if not node.is_dir or part not in node.entries:
                raise fusepy.FuseOSError(errno.ENOENT)
            node = node.entries[part]
        return node

    def _parent(self, path):
        folder, name = os.path.split(path.rstrip("/"))
        parent = self._find(folder or "/")
        if not parent.is_dir:
            raise fusepy.FuseOSError(errno.ENOTDIR)
        return parent, name

    def getattr(self, path, fh=None):
        node = self.handles[fh] if fh in self.handles else self._find(path)
        kind = stat.S_IFDIR if node.is_dir else stat.S_IFREG
        return {
            "st_mode": kind | node.mode,
            "st_nlink": 2 if node.is_dir else 1,
            "st_size": len(node.data),
            "st_uid": os.getuid(),
            "st_gid": os.getgid(),
            "st_atime": node.times[0] / 1e9,
            "st_mtime": node.times[1] / 1e9,
            "st_ctime": node.times[1] / 1e9,
            "st_blocks": (len(node.data) + 511) // 512,
        }

    def access(self, path, amode):
        self._find(path)
        return 0

    def statfs(self, path):
        return {"f_bsize": 4096, "f_frsize": 4096, "f_blocks": 1 << 20, "f_bfree": 1 << 19,
                "f_bavail": 1 << 19, "f_files": 1 << 16, "f_ffree": 1 << 15, "f_namemax": 255}

    def readdir(self, path, fh):
        return [".", ".."] + list(self._find(path).entries)

    def opendir(self, path):
        return self._handle(self._find(path))

    def releasedir(self, path, fh):
        self.handles.pop(fh, None)
        return 0

    def fsyncdir(self, path, datasync, fh):
        node = self.handles.get(fh) or self._find(path)
        node.synced_entries = dict(node.entries)
        return 0

    def mkdir(self, path, mode):
        parent, name = self._parent(path)
        if name in parent.entries:
            raise fusepy.FuseOSError(errno.EEXIST)
        parent.entries[name] = Node(True, stat.S_IMODE(mode))
        return 0

    def rmdir(self, path):
        parent, name = self._parent(path)
        node = self._find(path)
        if node.entries:
            raise fusepy.FuseOSError(errno.ENOTEMPTY)
        del parent.entries[name]
        return 0

    def unlink(self, path):
        parent, name = self._parent(path)
        if name not in parent.entries or parent.entries[name].is_dir:
            raise fusepy.FuseOSError(errno.ENOENT)
        del parent.entries[name]
        return 0

    def rename(self, old, new):
        old_parent, old_name = self._parent(old)
        new_parent, new_name = self._parent(new)
        node = self._find(old)
        target = new_parent.entries.get(new_name)
        if target is not None and target.is_dir and target.entries:
            raise fusepy.FuseOSError(errno.ENOTEMPTY)
        del old_parent.entries[old_name]
        new_parent.entries[new_name] = node
        return 0

    def link(self, target, source):
        parent, name = self._parent(target)
        if name in parent.entries:
            raise fusepy.FuseOSError(errno.EEXIST)
        node = self._find(source)
        if node.is_dir:
            raise fusepy.FuseOSError(errno.EPERM)
        parent.entries[name] = node
        return 0

    def chmod(self, path, mode):
        self._find(path).mode = stat.S_IMODE(mode)
        return 0

    def chown(self, path, uid, gid):
        return 0

    def utimens(self, path, times=None):
        now = time.time_ns()
        self._find(path).times = times or (now, now)
        return 0

    # -- files

    def _handle(self, node):
        fh = self.next_handle
        self.next_handle += 1
        self.handles[fh] = node
        return fh

    def create(self, path, mode, fi=None):
        parent, name = self._parent(path)
        node = parent.entries.get(name)
        if node is None:
            node = Node(False, stat.S_IMODE(mode))
            parent.entries[name] = node
        return self._handle(node)

    def open(self, path, flags):
        node = self._find(path)
        if flags & os.O_TRUNC:
            del node.data[:]
        return self._handle(node)

    def read(self, path, size, offset, fh):
        node = self.handles[fh]
        return bytes(node.data[offset:offset + size])

    def write(self, path, data, offset, fh):
        node = self.handles[fh]
        if offset > len(node.data):
            node.data.extend(bytes(offset - len(node.data)))
        node.data[offset:offset + len(data)] = data
        node.times = (node.times[0], time.time_ns())
        return len(data)

    def truncate(self, path, length, fh=None):
        node = self.handles[fh] if fh in self.handles else self._find(path)
        if length < len(node.data):
            del node.data[length:]
        else:
            node.data.extend(bytes(length - len(node.data)))
        return 0

    def fsync(self, path, datasync, fh):
        node = self.handles[fh]
        node.synced = bytes(node.data)
        return 0

    def flush(self, path, fh):
        return 0  # closing keeps nothing: only a sync does

    def release(self, path, fh):
        self.handles.pop(fh, None)
        return 0


def main():
    state, mountpoint = sys.argv[1], sys.argv[2]
    fusepy.FUSE(PowerCutFS(os.path.abspath(state)), mountpoint, foreground=True,
                nothreads=True, fsname="powercut", attr_timeout=0, entry_timeout=0,
                negative_timeout=0)


if __name__ == "__main__":
    main()
