#include "data/query.h"

#include "data/backend.h"

#include "core/dates.h"
#include "core/errors.h"
#include "data/database.h"
#include "data/fieldconv.h"
#include "data/schema.h"

#include <QDate>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace quelvarino {
Query::Query(QObject* parent) : QObject(parent) {}

Query::~Query() = default;

void Query::clear() {
    close();
    lines_.clear();
    binds_.clear();
}

void Query::add(const QString& line) {
    lines_.append(line);
}

void Query::bindValue(const QString& placeholder, const QVariant& stored) {
    for (auto& b : binds_) {
        if (b.first == placeholder) {
            b.second = stored;
            return;
        }
    }
    binds_.append({placeholder, stored});
}

void Query::bindText(const QString& placeholder, const QString& text) {
    bindValue(placeholder, text.isNull() ? QStringLiteral("") : text);
}

void Query::bindDate(const QString& placeholder, const QDate& date) {
    bindValue(placeholder, date.isValid() ? QVariant(date.toString(Qt::ISODate)) : QVariant());
}

void Query::bindDateText(const QString& placeholder, const QString& ddmmyyyy) {
    bindDate(placeholder, parseDate(ddmmyyyy));
}

void Query::bindNumber(const QString& placeholder, double value) {
    bindValue(placeholder, value);
}

QString Query::statementText() const {
    if (lines_.isEmpty())
        return QString();
    const QString last = lines_.last().trimmed();
    static const QRegularExpression orderBy(QStringLiteral("^order\\s+by\\s+(.*)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = orderBy.match(last);
    // Only plain column lists; anything with parentheses or its own NULLS
    // placement is left as written.
    if (!m.hasMatch() || last.contains('(') ||
        last.contains(QLatin1String("nulls"), Qt::CaseInsensitive))
        return sql();
    static const QRegularExpression direction(QStringLiteral("^(.*\\S)\\s+(asc|desc)$"),
                                              QRegularExpression::CaseInsensitiveOption);
    QStringList terms;
    for (const QString& part : m.captured(1).split(',')) {
        QString column = part.trimmed();
        bool descending = false;
        const QRegularExpressionMatch d = direction.match(column);
        if (d.hasMatch()) {
            column = d.captured(1);
            descending = d.captured(2).compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0;
        }
        if (column.isEmpty())
            return sql();
        terms.append(db_->backend().orderTerm(column, descending));
    }
    QStringList lines = lines_;
    lines.last() = QStringLiteral("Order By ") + terms.join(QStringLiteral(", "));
    return lines.join('\n');
}

QVector<QVector<QVariant>> Query::run(int offset, int count, QStringList* columns) const {
    return db_->reading([&]() -> QVector<QVector<QVariant>> {
        QSqlQuery q(db_->connection());
        q.setForwardOnly(true);
        const QString text = statementText() + '\n' + db_->backend().limitClause(count, offset);
        if (!q.prepare(text))
            db_->fail(QStringLiteral("Erro na consulta"), q.lastError().text());
        for (const auto& b : binds_)
            q.bindValue(b.first, b.second);
        if (!q.exec())
            db_->fail(QStringLiteral("Erro na consulta"), q.lastError().text());
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
    });
}

void Query::open() {
    close();
    db_ = Database::main();
    open_ = true;
    startLive(0);
    columns_.clear();
    types_.clear();
    positions_.clear();
    for (int i = 0; i < live_->columnCount(); ++i) {
        columns_.append(live_->columnName(i));
        types_.append(schema::typeOfField(columns_.last()));
    }
    row_ = 0;
    eof_ = !readLive();
    empty_ = eof_;
    if (eof_)
        row_ = -1;
}

void Query::startLive(int offset) {
    QString text = statementText();
    if (offset > 0)
        text += '\n' + db_->backend().limitClause(-1, offset);
    live_ =
        db_->reading([&] { return db_->backend().openCursor(db_->connection(), text, binds_); });
    if (!releasePending_) {
        releasePending_ = true;
        QMetaObject::invokeMethod(this, &Query::releaseLive, Qt::QueuedConnection);
    }
}

bool Query::readLive() {
    onLive_ = false;
    if (!live_->next()) {
        releaseLive();
        return false;
    }
    const int n = columns_.isEmpty() ? live_->columnCount() : columns_.size();
    current_.resize(n);
    have_.fill(false, n);
    onLive_ = true;
    return true;
}

const QVariant& Query::cell(int c) const {
    if (!have_.value(c)) {
        if (onLive_ && live_) {
            current_[c] = live_->value(c);
            have_[c] = true;
        } else {
            // Past the end the statement has moved on: the row is read again.
            const auto rows = run(row_, 1, nullptr);
            const QVector<QVariant> row = rows.value(0);
            for (int i = 0; i < current_.size(); ++i) {
                if (!have_[i]) {
                    current_[i] = row.value(i);
                    have_[i] = true;
                }
            }
        }
    }
    return current_[c];
}

void Query::releaseLive() {
    releasePending_ = false;
    if (live_) {
        // What the current row has not given yet is read before the
        // statement goes: the row stays readable between events.
        if (onLive_) {
            for (int i = 0; i < current_.size(); ++i) {
                if (!have_[i]) {
                    current_[i] = live_->value(i);
                    have_[i] = true;
                }
            }
        }
        onLive_ = false;
        live_.reset();  // the statement is finished
    }
}

void Query::close() {
    releaseLive();
    open_ = false;
    eof_ = true;
    columns_.clear();
    types_.clear();
    positions_.clear();
    current_.clear();
    have_.clear();
    row_ = -1;
    empty_ = true;
    db_.reset();
}

void Query::first() {
    if (!open_)
        throw StoreError(QStringLiteral("A consulta não está aberta."));
    if (row_ <= 0) {  // already on the first row (or the result is empty)
        eof_ = empty_;
        return;
    }
    releaseLive();
    startLive(0);
    row_ = 0;
    eof_ = !readLive();
    if (eof_)
        row_ = -1;
}

void Query::next() {
    if (!open_ || row_ < 0 || eof_) {
        eof_ = true;
        return;
    }
    if (!live_)
        startLive(row_ + 1);  // back from the event loop: pick up where we were
    if (readLive())
        ++row_;
    else
        eof_ = true;  // stays on the last row
}

int Query::recordCount() const {
    if (!open_)
        return 0;
    // The order does not change the count: counted without it, unsorted.
    QStringList lines = lines_;
    if (!lines.isEmpty() &&
        lines.last().trimmed().startsWith(QLatin1String("order by"), Qt::CaseInsensitive))
        lines.removeLast();
    return db_->reading([&]() -> int {
        QSqlQuery q(db_->connection());
        if (!q.prepare(
                QStringLiteral("SELECT COUNT(*) FROM (%1) AS contagem").arg(lines.join('\n'))))
            db_->fail(QStringLiteral("Erro na consulta"), q.lastError().text());
        for (const auto& b : binds_)
            q.bindValue(b.first, b.second);
        if (!q.exec())
            db_->fail(QStringLiteral("Erro na consulta"), q.lastError().text());
        const int n = q.next() ? q.value(0).toInt() : 0;
        q.finish();
        return n;
    });
}

int Query::column(const QString& name) const {
    const auto known = positions_.constFind(name);
    if (known != positions_.constEnd())
        return known.value();
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) {
            positions_.insert(name, i);
            return i;
        }
    }
    throw StoreError(QStringLiteral("Campo %1 não existe na consulta.").arg(name));
}

QVariant Query::fieldValue(const QString& name) const {
    const int c = column(name);
    if (row_ < 0 || c >= current_.size())
        return QVariant();
    return cell(c);
}

QString Query::fieldText(const QString& name) const {
    return fieldText(column(name));
}

QString Query::fieldText(int c) const {
    if (row_ < 0 || c < 0 || c >= current_.size())
        return QString();
    const QVariant& v = cell(c);
    if (v.isNull())
        return QString();
    const FieldType type = c < types_.size() ? types_[c] : FieldType::Text;
    if (type == FieldType::Text && v.typeId() == QMetaType::Double)
        return storedToText(FieldType::Number, v);  // a computed column (SUM, COUNT)
    return storedToText(type, v);
}

double Query::fieldNumber(const QString& name) const {
    return storedToNumber(fieldValue(name));
}

QVector<QVector<QVariant>> Query::fetchRows(int offset, int count) const {
    if (!open_)
        return {};
    return run(offset, count, nullptr);
}

}  // namespace quelvarino
