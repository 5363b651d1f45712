#pragma once

#include <QString>

namespace quelvarino {

// A file written whole is on the disk, under its final name, before anyone
// is told it exists: a power cut keeps only what was synced, and a rename
// is only kept once its folder is synced.

// fsync of a file or folder; false when it could not be opened or synced.
bool syncFile(const QString& path);
bool syncFolder(const QString& folder);

// `temp` (complete, beside `target`) synced, renamed over `target` in one
// step, and the folder synced. False, with `temp` left for the caller to
// remove, when any step fails.
bool durablyReplace(const QString& temp, const QString& target);

}  // namespace quelvarino
