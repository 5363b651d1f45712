#pragma once

#include <QString>

namespace quelvarino {

// What the programs create (data folder, database, lock files, backups,
// report files, the alias file) is read and written by its owner and, for
// a folder shared by an office, by the owner's group; never by every user
// of the computer. Called first by each program.
void keepNewFilesPrivate();

// The alias file holds the server's password and other users of the
// computer can read it: it is made readable by its owner alone. Returns
// what to tell the operator (empty when nothing was wrong): that it was
// protected, or, when it could not be, what to do.
QString protectAliasFile();

}  // namespace quelvarino
