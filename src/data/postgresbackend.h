#pragma once

#include "data/backend.h"

#include <QString>

namespace quelvarino {

// A PostgreSQL server shared by many workstations, through Qt's driver.
// Identifiers are folded to lower case everywhere (the server folds the
// unquoted names of every query text the same way); text sorts in byte
// order (COLLATE "C"), as on the embedded store; every table has a row id
// of its own; record locks are session advisory locks, which the server
// drops when the session ends, so a workstation that crashes or loses the
// network never leaves a record locked.
class PostgresBackend : public Backend {
public:
    // `connection`: libpq's "host=… port=… dbname=… user=… password=…"
    // text; `connectionName`: the Qt connection the locks are taken on.
    PostgresBackend(const QString& connection, const QString& connectionName);

    QString qtDriver() const override { return QStringLiteral("QPSQL"); }
    QString connectOptions() const override { return options_; }
    void prepareConnection(QSqlDatabase& db) const override;
    QString rowIdColumn() const override { return QStringLiteral("rowid"); }
    QStringList schemaStatements(const TableDef& table) const override;
    QString addColumnStatement(const QString& table, const FieldDef& field) const override;
    QStringList schemaChangeStart() const override;
    std::unique_ptr<RecordLock> lockRecord(const QString& table, qint64 rowId) const override;
    // Qt reads a forward-only result row by row from the server, and any
    // other statement on the connection (a lookup while a report walks its
    // rows) ends it: the server's cursors are read whole when they open.
    std::unique_ptr<Cursor> openCursor(const QSqlDatabase& db,
                                       const QString& sql,
                                       const BoundValues& values) const override {
        return bufferedCursor(db, sql, values);
    }
    QString limitClause(int limit, int offset) const override {
        return limit < 0 ? QStringLiteral("OFFSET %1").arg(offset)
                         : QStringLiteral("LIMIT %1 OFFSET %2").arg(limit).arg(offset);
    }
    QString quote(const QString& identifier) const override {
        return '"' + identifier.toLower() + '"';
    }
    QString orderTerm(const QString& column, bool descending) const override {
        return descending ? column + QStringLiteral(" DESC NULLS LAST")
                          : column + QStringLiteral(" NULLS FIRST");
    }
    bool statementIsItsOwnTransaction() const override { return true; }
    bool returnsWrittenRows() const override { return true; }
    bool rowIdInIndexes() const override { return false; }
    QStringList counterStatements(const TableDef& table) const override;
    bool isConnectionFailure(const QString& engineText) const override;
    QString nextCounterStatement(const QString& table, const QString& field) const override;
    void connectionRestarted() const override;
    QString indexCatalogueStatement() const override;
    QString describeFailure(const QString& action,
                            const QString& storeName,
                            const QString& engineText) const override;

    // The parts of the connection text Qt takes one by one.
    QString host() const { return host_; }
    int port() const { return port_; }
    QString databaseName() const { return database_; }
    QString userName() const { return user_; }
    QString password() const { return password_; }
    // The connection text without its password, for messages.
    QString displayName() const;
    // Held while the tables of a new database are made (until its
    // transaction ends); apart from the record locks' keys.
    QString schemaLockStatement() const;
    // One row, true when the table is in the database.
    QString tableExistsStatement(const QString& table) const override;

private:
    QString connectionName_;
    QString host_, database_, user_, password_, options_;
    int port_ = -1;
};

// How many times the program's connection to the server was made again;
// a record lock of an earlier one is gone.
int serverConnectionGeneration();

}  // namespace quelvarino
