#include "data/query.h"

#include "core/dates.h"
#include "core/errors.h"
#include "data/database.h"
#include "data/fieldconv.h"
#include "data/schema.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace quelvarino {
namespace {
constexpr int kWindow = 256;
}

Query::Query(QObject* parent) : QObject(parent) {}

Query::~Query() = default;

void Query::clear()
{
    close();
    lines_.clear();
    binds_.clear();
}

void Query::add(const QString& line)
{
    lines_.append(line);
}

void Query::bindValue(const QString& placeholder, const QVariant& stored)
{
    for (auto& b : binds_) {
        if (b.first == placeholder) {
            b.second = stored;
            return;
        }
    }
    binds_.append({placeholder, stored});
}

void Query::bindText(const QString& placeholder, const QString& text)
{
    bindValue(placeholder, text.isNull() ? QStringLiteral("") : text);
}

void Query::bindDate(const QString& placeholder, const QDate& date)
{
    bindValue(placeholder, date.isValid() ? QVariant(date.toString(Qt::ISODate)) : QVariant());
}

void Query::bindDateText(const QString& placeholder, const QString& ddmmyyyy)
{
    bindDate(placeholder, parseDate(ddmmyyyy));
}

void Query::bindNumber(const QString& placeholder, double value)
{
    bindValue(placeholder, value);
}

QVector<QVector<QVariant>> Query::run(int offset, int count, QStringList* columns) const
{
    QSqlQuery q(db_->connection());
    q.setForwardOnly(true);
    const QString text = sql() + QStringLiteral("\nLIMIT %1 OFFSET %2").arg(count).arg(offset);
    if (!q.prepare(text))
        throw StoreError(QStringLiteral("Erro na consulta: %1").arg(q.lastError().text()));
    for (const auto& b : binds_)
        q.bindValue(b.first, b.second);
    if (!q.exec())
        throw StoreError(QStringLiteral("Erro na consulta: %1").arg(q.lastError().text()));
    QVector<QVector<QVariant>> rows;
    const QSqlRecord record = q.record();
    if (columns) {
        columns->clear();
        for (int i = 0; i < record.count(); ++i)
            columns->append(record.fieldName(i));
    }
    while (q.next()) {
        QVector<QVariant> row(record.count());
        for (int i = 0; i < record.count(); ++i)
            row[i] = q.value(i);
        rows.append(std::move(row));
    }
    q.finish();
    return rows;
}

void Query::open()
{
    close();
    db_ = Database::main();
    rows_ = run(0, kWindow, &columns_);
    open_ = true;
    offset_ = 0;
    pos_ = rows_.isEmpty() ? -1 : 0;
    eof_ = rows_.isEmpty();
}

void Query::close()
{
    open_ = false;
    eof_ = true;
    rows_.clear();
    columns_.clear();
    offset_ = 0;
    pos_ = -1;
    db_.reset();
}

void Query::first()
{
    if (!open_)
        throw StoreError(QStringLiteral("A consulta não está aberta."));
    if (offset_ != 0)
        rows_ = run(0, kWindow, nullptr);
    offset_ = 0;
    pos_ = rows_.isEmpty() ? -1 : 0;
    eof_ = rows_.isEmpty();
}

void Query::next()
{
    if (!open_ || pos_ < 0) {
        eof_ = true;
        return;
    }
    if (pos_ + 1 < rows_.size()) {
        ++pos_;
        return;
    }
    if (rows_.size() < kWindow) {
        eof_ = true;
        return;
    }
    QVector<QVector<QVariant>> more = run(offset_ + rows_.size(), kWindow, nullptr);
    if (more.isEmpty()) {
        eof_ = true;
        return;
    }
    offset_ += rows_.size();
    rows_ = std::move(more);
    pos_ = 0;
}

int Query::recordCount() const
{
    if (!open_)
        return 0;
    QSqlQuery q(db_->connection());
    if (!q.prepare(QStringLiteral("SELECT COUNT(*) FROM (%1) AS contagem").arg(sql())))
        throw StoreError(QStringLiteral("Erro na consulta: %1").arg(q.lastError().text()));
    for (const auto& b : binds_)
        q.bindValue(b.first, b.second);
    if (!q.exec())
        throw StoreError(QStringLiteral("Erro na consulta: %1").arg(q.lastError().text()));
    const int n = q.next() ? q.value(0).toInt() : 0;
    q.finish();
    return n;
}

int Query::column(const QString& name) const
{
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    throw StoreError(QStringLiteral("Campo %1 não existe na consulta.").arg(name));
}

QVariant Query::fieldValue(const QString& name) const
{
    const int c = column(name);
    if (pos_ < 0 || pos_ >= rows_.size())
        return QVariant();
    return rows_[pos_][c];
}

QString Query::fieldText(const QString& name) const
{
    const QVariant v = fieldValue(name);
    if (v.isNull())
        return QString();
    const FieldType type = schema::typeOfField(name);
    if (type == FieldType::Text && v.typeId() == QMetaType::Double)
        return storedToText(FieldType::Number, v);  // a computed column (SUM, COUNT)
    return storedToText(type, v);
}

double Query::fieldNumber(const QString& name) const
{
    return storedToNumber(fieldValue(name));
}

QVector<QVector<QVariant>> Query::fetchRows(int offset, int count) const
{
    if (!open_)
        return {};
    return run(offset, count, nullptr);
}

}  // namespace quelvarino
