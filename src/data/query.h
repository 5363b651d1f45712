#pragma once

#include "data/schema.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

class QSqlQuery;

namespace quelvarino {

class Cursor;
class Database;

// A read-only local SQL query, built from lines ("Select * from tbordem",
// "Where DATA >= :inicio and DATA <= :fim", "Order By DATA") and walked like
// a table. Values are always bound to named placeholders: no text the
// operator typed is ever part of the SQL. Rows are fetched in windows and no
// statement stays open between two calls.
class Query : public QObject {
    Q_OBJECT
public:
    explicit Query(QObject* parent = nullptr);  // over the main database
    ~Query() override;

    void clear();  // closes, empties the SQL text and the bound values
    void add(const QString& line);
    QString sql() const { return lines_.join('\n'); }
    // The text as the store runs it: a closing "Order By" puts empty values
    // first (last when descending) on every store, as the table walks do.
    QString statementText() const;

    void bindValue(const QString& placeholder, const QVariant& stored);
    void bindText(const QString& placeholder, const QString& text);
    void bindDate(const QString& placeholder, const QDate& date);
    void bindDateText(const QString& placeholder,
                      const QString& ddmmyyyy);  // throws ConversionError
    void bindNumber(const QString& placeholder, double value);

    void open();
    void close();
    bool isOpen() const { return open_; }

    void first();
    void next();
    bool eof() const { return eof_; }
    bool isEmpty() const { return empty_; }
    int recordCount() const;

    QStringList fieldNames() const { return columns_; }
    // A column's position, for loops that read many rows: fieldText(int)
    // then costs no name lookup. Throws StoreError for an unknown name.
    int fieldIndex(const QString& name) const { return column(name); }
    QString fieldText(int column) const;
    QString fieldText(const QString& name) const;    // converted like a table field
    double fieldNumber(const QString& name) const;   // 0 for an empty field
    QVariant fieldValue(const QString& name) const;  // stored value

    // Rows [offset, offset + count) of the result, as stored values.
    QVector<QVector<QVariant>> fetchRows(int offset, int count) const;

private:
    int column(const QString& name) const;
    QVector<QVector<QVariant>> run(int offset, int count, QStringList* columns) const;
    void startLive(int offset);
    bool readLive();
    void releaseLive();

    std::shared_ptr<Database> db_;
    QStringList lines_;
    QList<QPair<QString, QVariant>> binds_;
    bool open_ = false;
    bool eof_ = true;
    QStringList columns_;
    QVector<FieldType> types_;               // of each column, from the schema
    mutable QHash<QString, int> positions_;  // names as asked for
    // A walk reads from a live statement, which is finished as soon as the
    // program returns to its event loop: no statement stays open between
    // two events, and a walk inside one handler costs what plain SQL costs.
    std::unique_ptr<Cursor> live_;
    bool releasePending_ = false;
    // The current row's values, read from the statement only when asked
    // for: a report that prints 20 of 40 columns converts only those.
    const QVariant& cell(int column) const;
    mutable QVector<QVariant> current_;
    mutable QVector<bool> have_;
    bool onLive_ = false;  // live_ is positioned on row_
    int row_ = -1;         // result row number of current_
    bool empty_ = true;
};

}  // namespace quelvarino
