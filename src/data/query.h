#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

namespace quelvarino {

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

    void bindValue(const QString& placeholder, const QVariant& stored);
    void bindText(const QString& placeholder, const QString& text);
    void bindDate(const QString& placeholder, const QDate& date);
    void bindDateText(const QString& placeholder, const QString& ddmmyyyy);  // throws ConversionError
    void bindNumber(const QString& placeholder, double value);

    void open();
    void close();
    bool isOpen() const { return open_; }

    void first();
    void next();
    bool eof() const { return eof_; }
    bool isEmpty() const { return rows_.isEmpty() && offset_ == 0; }
    int recordCount() const;

    QStringList fieldNames() const { return columns_; }
    QString fieldText(const QString& name) const;    // converted like a table field
    double fieldNumber(const QString& name) const;   // 0 for an empty field
    QVariant fieldValue(const QString& name) const;  // stored value

    // Rows [offset, offset + count) of the result, as stored values.
    QVector<QVector<QVariant>> fetchRows(int offset, int count) const;

private:
    int column(const QString& name) const;
    QVector<QVector<QVariant>> run(int offset, int count, QStringList* columns) const;

    std::shared_ptr<Database> db_;
    QStringList lines_;
    QList<QPair<QString, QVariant>> binds_;
    bool open_ = false;
    bool eof_ = true;
    QStringList columns_;
    QVector<QVector<QVariant>> rows_;  // current window
    int offset_ = 0;                   // result row number of rows_[0]
    int pos_ = -1;
};

}  // namespace quelvarino
