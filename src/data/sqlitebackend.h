#pragma once

#include "data/backend.h"

namespace quelvarino {

// One SQLite file. Rollback journal with full sync: a post is on disk when it
// returns, and it still works on a folder shared over the network, where WAL
// does not. Record locks are open-file-description byte-range locks on a lock
// file beside the database, so the kernel drops them when a process dies.
class SqliteBackend : public Backend {
public:
    explicit SqliteBackend(const QString& databaseFile);

    QString qtDriver() const override { return QStringLiteral("QSQLITE"); }
    QString connectOptions() const override;
    void prepareConnection(QSqlDatabase& db) const override;
    QString rowIdColumn() const override { return QStringLiteral("rowid"); }
    QStringList schemaStatements(const TableDef& table) const override;
    QString addColumnStatement(const QString& table, const FieldDef& field) const override;
    QStringList schemaChangeStart() const override;
    QString tableExistsStatement(const QString& table) const override;
    std::unique_ptr<RecordLock> lockRecord(const QString& table, qint64 rowId) const override;
    // Reads the statement through the SQLite library itself: a value is
    // converted only when it is asked for.
    std::unique_ptr<Cursor> openCursor(const QSqlDatabase& db,
                                       const QString& sql,
                                       const BoundValues& values) const override;
    std::unique_ptr<Statement> prepare(const QSqlDatabase& db, const QString& sql) const override;

    QString limitClause(int limit, int offset) const override {
        return QStringLiteral("LIMIT %1 OFFSET %2").arg(limit).arg(offset);
    }

    QString indexCatalogueStatement() const override {
        return QStringLiteral("SELECT lower(name) FROM sqlite_master WHERE type = 'index'");
    }

    QString lockFilePath() const { return lockFile_; }

private:
    QString lockFile_;
};

}  // namespace quelvarino
