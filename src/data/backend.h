#pragma once

#include "data/schema.h"

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace quelvarino {

// The operator's message for a failure of the engine on a database file:
// what happened and what to do, in Portuguese, never the engine's own text.
QString describeStoreFailure(const QString& action,
                             const QString& databaseFile,
                             const QString& engineText);

// A record lock held by this process; released when destroyed.
class RecordLock {
public:
    virtual ~RecordLock() = default;
    // False once the session that took it has ended (a server's connection
    // that broke and was made again): the record must be locked again.
    virtual bool stillHeld() const { return true; }
};

// The rows of one statement, read forward, one at a time; the statement is
// finished when the cursor is destroyed.
class Cursor {
public:
    virtual ~Cursor() = default;
    virtual bool next() = 0;  // throws StoreError
    virtual int columnCount() const = 0;
    virtual QString columnName(int column) const = 0;
    virtual QVariant value(int column) const = 0;  // of the current row; null for NULL
};

using BoundValues = QList<QPair<QString, QVariant>>;  // ":name", stored value

// A statement prepared once and run many times with new values ("?"
// placeholders, numbered from 0), for rows written in bulk.
class Statement {
public:
    virtual ~Statement() = default;
    virtual void bind(int position, const QVariant& stored) = 0;
    virtual void execute() = 0;  // throws StoreError
};

// What differs between the stores the program can sit on. Screens and table
// objects only speak to this interface, so a server store can be added
// without touching them.
class Backend {
public:
    virtual ~Backend() = default;

    virtual QString qtDriver() const = 0;
    virtual QString connectOptions() const = 0;
    // Settings applied to every new connection (journal, sync, timeouts).
    virtual void prepareConnection(QSqlDatabase& db) const = 0;
    // The column that orders rows with equal keys and names one row for locks.
    virtual QString rowIdColumn() const = 0;
    virtual QStringList schemaStatements(const TableDef& table) const = 0;
    // A field added to an existing table: existing rows are not rewritten,
    // they read the field's default.
    virtual QString addColumnStatement(const QString& table, const FieldDef& field) const = 0;
    // Starts the transaction that changes the schema, holding off any other
    // workstation that would change it at the same moment.
    virtual QStringList schemaChangeStart() const = 0;
    // One row, one true/false column: whether the table exists.
    virtual QString tableExistsStatement(const QString& table) const = 0;
    // Locks one record for editing; throws RecordLockedError when another
    // user holds it and StoreError when the lock cannot be taken at all.
    virtual std::unique_ptr<RecordLock> lockRecord(const QString& table, qint64 rowId) const = 0;

    // A cursor over `sql` with its named values bound; throws StoreError.
    // By default it reads through the Qt driver.
    virtual std::unique_ptr<Cursor> openCursor(const QSqlDatabase& db,
                                               const QString& sql,
                                               const BoundValues& values) const;

    virtual std::unique_ptr<Statement> prepare(const QSqlDatabase& db, const QString& sql) const;

protected:
    // A cursor whose rows the driver has all read when it opens, so other
    // statements may run on the connection while it is walked.
    std::unique_ptr<Cursor> bufferedCursor(const QSqlDatabase& db,
                                           const QString& sql,
                                           const BoundValues& values) const;

public:
    // Rows [offset, offset + limit) of a query; a negative limit means all.
    virtual QString limitClause(int limit, int offset) const = 0;

    // An identifier as every statement writes it. The embedded store keeps
    // the schema's own case; a server store may fold it (one policy for
    // the schema, the table objects and every query text).
    virtual QString quote(const QString& identifier) const { return '"' + identifier + '"'; }
    // One column of an ORDER BY: empty values (NULL) sort before every other
    // value ascending, after every other descending, on every store.
    virtual QString orderTerm(const QString& column, bool descending) const {
        return descending ? column + QStringLiteral(" DESC") : column;
    }
    // Whether a statement run on its own is already one durable transaction
    // (a server in autocommit), so a post needs no BEGIN and COMMIT around it.
    virtual bool statementIsItsOwnTransaction() const { return false; }
    // Whether an INSERT or UPDATE can give back the row as stored
    // (RETURNING), sparing a read after it; elsewhere the driver's last
    // insert id is the new row's id.
    virtual bool returnsWrittenRows() const { return false; }
    // Whether every index ends in the row id by itself (SQLite); elsewhere
    // the row id is indexed after the key fields, for the keyset walks.
    virtual bool rowIdInIndexes() const { return true; }
    // Statements that move a table's counters past the highest value stored,
    // after rows were written with their own counter values (an import).
    virtual QStringList counterStatements(const TableDef& /*table*/) const { return {}; }
    // The statement that takes the next value of a table's counter field
    // before an insert, so a post whose answer is lost can be looked up by
    // it; empty where the store numbers the row itself.
    virtual QString nextCounterStatement(const QString& /*table*/, const QString& /*field*/) const {
        return QString();
    }
    // A new connection replaced one that broke: the locks of the old one
    // are gone with it.
    virtual void connectionRestarted() const {}
    // The names of the indexes the store has (lower case), read from its
    // catalogue; a store that cannot say gives an empty list.
    virtual QString indexCatalogueStatement() const { return QString(); }
    // Whether the engine's text says the connection to the store is gone.
    virtual bool isConnectionFailure(const QString& /*engineText*/) const { return false; }
    // The operator's message for a failure of the engine on this store.
    virtual QString describeFailure(const QString& action,
                                    const QString& storeName,
                                    const QString& engineText) const {
        return describeStoreFailure(action, storeName, engineText);
    }
    // The table's secondary indexes, created when a store made by an
    // earlier version lacks them (standard SQL on every store).
    QStringList indexStatements(const TableDef& table) const {
        QStringList out;
        for (const IndexDef& index : table.indexes) {
            QStringList cols;
            for (const QString& f : index.fields)
                cols.append(orderTerm(quote(f), false));
            if (!rowIdInIndexes())
                cols.append(rowIdColumn());
            out.append(QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)")
                           .arg(index.unique ? "UNIQUE " : "", quote(table.name + "_" + index.name),
                                quote(table.name), cols.join(", ")));
        }
        return out;
    }
};

}  // namespace quelvarino
