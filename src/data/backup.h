#pragma once

#include "core/errors.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

namespace quelvarino {

// A check or copy given up because the program is closing: neither a
// damaged database nor a failed copy.
struct BackupStopped {};

// The database itself failed its check (not the copy, not the disk): the
// operator must restore a copy.
class DatabaseDamaged : public StoreError {
public:
    using StoreError::StoreError;
};

// Copies of the main database in the data folder's Backup folder, one a
// day ("quelvarino-2026-12-09.db"), for the office to copy to external
// media. Each copy is consistent (SQLite's online backup: other
// workstations go on posting meanwhile) and written under a name of its
// own, renamed when whole.
class Backups {
public:
    static QString fileName(const QDate& day);    // "quelvarino-yyyy-mm-dd.db"
    static QDate dayOf(const QString& fileName);  // invalid for other names

    // Today's copy of `database` into `folder` unless there is one; the
    // copies no longer kept are deleted. Returns the copy written (empty
    // when there was one already). Throws StoreError with a message for
    // the operator when the copy fails; nothing half-written is left.
    // A database that fails the full check of its copy throws
    // DatabaseDamaged. Partial copies left by programs that ended during
    // theirs (no program holds them) are deleted first.
    static QString takeDaily(const QString& database, const QString& folder, const QDate& today);

    // The operator's message for a damaged database: short, what to do;
    // the engine's findings go to a file in `folder` that it names.
    static QString damageMessage(const QString& database,
                                 const QString& folder,
                                 const QString& findings);

    // Which of the dated copies stay: the last 7, and the first of each of
    // the last 12 months (this one included).
    static QStringList kept(const QStringList& names, const QDate& today);
    static void rotate(const QString& folder, const QDate& today);

    // SQLite's integrity check of a file; false with the reason. `quick`
    // leaves out the index contents (a start's check of a large database).
    static bool check(const QString& file, QString* reason, bool quick = false);

    // Puts a checked backup in place of the database, keeping the replaced
    // file beside it ("<database>.antes-da-restauracao"), each on disk
    // (file and folder flushed) before the next step. Refused (StoreError)
    // while any program has the database open, or when the copy fails the
    // check.
    static void restore(const QString& backup, const QString& database);

    // A closing program asks the check and the copy running beside it to
    // end at their next step (they throw BackupStopped); a half copy is
    // deleted and taken again at the next start.
    static void requestStop(bool stop = true);

    // Test seam: called after each step of a copy (a program ended in the
    // middle of one).
    static std::function<void()>& copyStepHook();
};

// While a program has the main database open it holds a shared lock on
// "<database>.uso"; a restore needs it alone.
class DatabaseInUse {
public:
    explicit DatabaseInUse(const QString& database);  // takes the shared lock
    ~DatabaseInUse();
    DatabaseInUse(const DatabaseInUse&) = delete;
    DatabaseInUse& operator=(const DatabaseInUse&) = delete;
    // True when some program holds the database (tries the lock alone).
    static bool heldByAnyone(const QString& database);

private:
    int fd_ = -1;
};

}  // namespace quelvarino
