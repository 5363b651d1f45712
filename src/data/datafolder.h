#pragma once

#include "data/mountlocks.h"

#include <QString>

namespace quelvarino {

// The data folder: the path of the alias Quelvarino in the alias registry,
// or $HOME/Quelvarino when no alias is registered. Every fixed path of the
// program is relative to it.
class DataFolder {
public:
    // Throws StoreError when the alias names a driver the program cannot use.
    static QString path();
    static void setPath(const QString& folder);  // fixes the folder (tests)
    // Fixes the folder and a PostgreSQL server for the tables (tests).
    static void setServer(const QString& folder, const QString& connection);
    // The libpq connection text when the alias names a PostgreSQL server
    // (driver POSTGRESQL, DATABASE NAME the text); empty for the embedded
    // store. The folder then holds only the workstation's own files.
    static QString serverDatabase();
    static void reset();  // forget the resolved folder

    static QString mainDatabaseFile();        // <folder>/quelvarino.db
    static QString workTableTemplate(int n);  // <folder>/tbrelatorio8_<n>.db
    static QString workTableFolder();         // <folder>/Backup/Relatorio
    // Work tables of this process alone, in `folder` (created there when
    // missing): a report run from the command line never mixes its rows
    // with those of a workstation printing the same report.
    static void setPrivateWorkTables(const QString& folder);
    static bool workTablesArePrivate();
    static QString pristineFolder();  // <folder>/Backup/Relatorio/Tbv
    static QString reportsFolder();   // <folder>/Relatorios

    // Whether a missing database may be created. Always true once the folder
    // exists; a missing folder is only created for the default one, because a
    // registered folder that is missing is usually a share that is not mounted.
    static bool mayCreate() { return true; }

    // True when no alias is registered and the folder is $HOME/Quelvarino.
    static bool isDefault();

    // Network shares. A path is on a share when the mounted file system that
    // holds it (or its nearest existing parent) is NFS, SMB/CIFS, SSHFS or
    // WebDAV. A share that is not mounted leaves only its empty mount point:
    // unmountedShareFor names the mount point of /etc/fstab's network entry
    // that covers `path` while nothing is mounted there (empty when none).
    static bool isOnNetworkShare(const QString& path);
    static QString unmountedShareFor(const QString& path);
    // Whether the file system holding `path` carries locks between computers.
    static LockVerdict lockVerdictFor(const QString& path);
    // Throws StoreError naming the folder, why and what to do when the
    // embedded store may not be used there by several workstations.
    // Refuses a folder on a share known to keep locks on each computer;
    // with `probe`, also one whose file system takes no byte-range lock.
    static void requireLocksBetweenWorkstations(const QString& folder, bool probe = true);
    // The operator's warning when the data folder's file system is one the
    // program cannot tell about (empty when none is due).
    static QString lockWarning();
    // The two tables read (tests point them at their own files).
    static void setMountTables(const QString& fstab, const QString& mounts);

    // Makes the folder usable: creates the default folder when missing, the
    // database and the work-table templates when missing. Throws StoreError
    // with a message naming the path when the folder is missing, not
    // writable or its database is damaged; nothing is overwritten.
    static void prepare();
};

}  // namespace quelvarino
