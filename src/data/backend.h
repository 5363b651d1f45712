#pragma once

#include "data/schema.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>

namespace quelvarino {

// A record lock held by this process; released when destroyed.
class RecordLock {
public:
    virtual ~RecordLock() = default;
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
    // Locks one record for editing; throws RecordLockedError when another
    // user holds it and StoreError when the lock cannot be taken at all.
    virtual std::unique_ptr<RecordLock> lockRecord(const QString& table, qint64 rowId) const = 0;

    // Rows [offset, offset + limit) of a query; a negative limit means all.
    virtual QString limitClause(int limit, int offset) const = 0;

    QString quote(const QString& identifier) const { return '"' + identifier + '"'; }
    // The table's secondary indexes, created when a store made by an
    // earlier version lacks them (standard SQL on every store).
    QStringList indexStatements(const TableDef& table) const {
        QStringList out;
        for (const IndexDef& index : table.indexes) {
            QStringList cols;
            for (const QString& f : index.fields)
                cols.append(quote(f));
            out.append(QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)")
                           .arg(index.unique ? "UNIQUE " : "", quote(table.name + "_" + index.name),
                                quote(table.name), cols.join(", ")));
        }
        return out;
    }
};

}  // namespace quelvarino
