#pragma once

#include "core/errors.h"
#include "data/backend.h"
#include "data/schema.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <memory>

namespace quelvarino {

class DatabaseInUse;

// One database file with its tables. Table and query objects share it; it
// owns the connection and the backend that knows the SQL dialect and locks.
class Database {
public:
    // Opens an existing database file, or creates it complete and empty when
    // `createIfMissing` is set. Throws StoreError with a message naming the
    // path when the file cannot be opened, is damaged or lacks a table.
    static std::shared_ptr<Database> open(const QString& file,
                                          const QList<TableDef>& tables,
                                          bool createIfMissing);

    // The tables on a PostgreSQL server (libpq connection text), created in
    // one transaction when the database is empty.
    static std::shared_ptr<Database> openServer(const QString& connection,
                                                const QList<TableDef>& tables);

    // The main database of the data folder (or of the alias's server),
    // opened on first use and kept.
    static std::shared_ptr<Database> main();
    // Drops the shared main database (tests, and the end of the program).
    static void resetMain();

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QSqlDatabase connection() const;
    // The statement of this text, prepared on first use and kept for the
    // connection (a server prepares and frees a statement in round trips
    // of their own). Null, with the engine's text, when it cannot be
    // prepared. The caller binds every "?" by position and finishes it
    // before the same text is asked for again.
    std::shared_ptr<QSqlQuery> prepared(const QString& sql, QString* error) const;
    // The operator's message for a failure of the engine: what happened to
    // this file and what to do, in Portuguese, never the engine's text.
    QString failureMessage(const QString& action, const QString& engineText) const;
    // Throws the operator's message for that failure: a ConnectionLostError
    // when the server's connection broke, a StoreError otherwise.
    [[noreturn]] void fail(const QString& action, const QString& engineText) const;
    // Runs a read; when the server's connection broke under it, the read is
    // run once more on a new connection (reads may be repeated; posts may
    // not, they look first).
    template <typename Read>
    auto reading(Read&& read) const -> decltype(read()) {
        const bool knownLost = lost_;
        try {
            return read();
        } catch (const ConnectionLostError&) {
            // Already away before this read: one quick attempt, no waiting.
            if (!reconnect(knownLost ? 0 : kReadWaitMs))
                throw;
        }
        return read();
    }
    // The message for a post whose answer the server never gave (the
    // connection broke after the statement left): whether it was stored is
    // not known until the server can be asked again.
    QString unconfirmedMessage(const QString& action) const;
    // A broken connection to the server made again, waiting up to `waitMs`
    // for the server to come back; false when it did not.
    bool reconnect(int waitMs) const;
    const Backend& backend() const { return *backend_; }
    const TableDef* table(const QString& anyCase) const;
    QString filePath() const { return file_; }  // the server's name for a server store
    bool isServer() const { return server_; }
    const QList<TableDef>& tables() const { return tables_; }

private:
    static constexpr int kReadWaitMs = 3000;
    Database(QString file, QList<TableDef> tables, QString server = QString());
    void connect();
    bool reopen() const;  // one attempt; a server connection that broke
    void checkTables();
    // False when another workstation made them meanwhile.
    bool createServerTables();
    // The main database brought to this program's schema version: what an
    // older version lacks is added in one transaction, no row rewritten; a
    // newer version than the program knows is refused.
    void upgradeSchema();
    int storedVersion(QSqlQuery& q) const;
    [[noreturn]] void refuseNewer(int version) const;

    QString file_;
    bool server_ = false;
    mutable bool lost_ = false;      // the server's connection broke: reopened on next use
    mutable qint64 lastReopen_ = 0;  // ms since the epoch of the last attempt
    QString connectionName_;
    QList<TableDef> tables_;
    std::unique_ptr<Backend> backend_;
    std::unique_ptr<DatabaseInUse> inUse_;
    mutable QHash<QString, std::shared_ptr<QSqlQuery>>
        prepared_;  // the main database: held while open
};

}  // namespace quelvarino
