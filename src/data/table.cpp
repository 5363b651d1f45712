#include "data/table.h"

#include "core/errors.h"
#include "data/database.h"
#include "data/fieldconv.h"

#include <QSqlError>
#include <QSqlQuery>

namespace quelvarino {
namespace {

// Rows fetched ahead per query: enough to walk an index quickly, small
// enough that a window never costs memory worth speaking of.
constexpr int kWindow = 128;
// A search usually wants one record: fetch only a few, the walk fetches more.
constexpr int kFindWindow = 1;
// How long a post whose answer was lost waits for the server to answer
// again (a restart takes a few seconds) before saying it cannot tell.
constexpr int kAnswerWaitMs = 8000;

}  // namespace

// ---- Field ----------------------------------------------------------------

QString Field::name() const {
    return table_->def_->fields[index_].name;
}

QString Field::asString() const {
    return storedToText(table_->def_->fields[index_].type, table_->value(index_));
}

void Field::setAsString(const QString& text) {
    const FieldDef& f = table_->def_->fields[index_];
    if (f.type == FieldType::AutoInc)
        throw StoreError(QStringLiteral("O campo %1 é numerado pelo banco de dados e não pode ser "
                                        "alterado.")
                             .arg(f.name));
    table_->setValue(index_, textToStored(f.type, text));
}

double Field::asFloat() const {
    return storedToNumber(table_->value(index_));
}

bool Field::isNull() const {
    const QVariant v = table_->value(index_);
    return v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
}

void Field::clear() {
    table_->setValue(index_, QVariant());
}

// ---- Table ----------------------------------------------------------------

Table::Table(const QString& tableName, QObject* parent) : QObject(parent), tableName_(tableName) {
    def_ = schema::findMainTable(tableName);
    if (!def_)
        throw StoreError(QStringLiteral("Tabela %1 não existe.").arg(tableName));
    setObjectName(tableName);
}

Table::Table(const QString& tableName,
             const QString& databaseFile,
             const TableDef& def,
             QObject* parent)
    : QObject(parent),
      tableName_(tableName),
      databaseFile_(databaseFile),
      ownDef_(std::make_unique<TableDef>(def)) {
    def_ = ownDef_.get();
    setObjectName(tableName);
}

Table::~Table() = default;

void Table::setIndexName(const QString& name) {
    indexName_ = name;
    indexFields_.clear();
    applyOrder();
}

void Table::setIndexFieldNames(const QString& fields) {
    indexFields_ = fields;
    indexName_.clear();
    applyOrder();
}

void Table::applyOrder() {
    QStringList order;
    if (!indexName_.isEmpty()) {
        const IndexDef* index = def_->findIndex(indexName_);
        if (index) {
            order = index->fields;
        } else if (def_->primaryKey.size() == 1 &&
                   def_->primaryKey.first().compare(indexName_, Qt::CaseInsensitive) == 0) {
            order = def_->primaryKey;  // the primary index, named by its field
        } else {
            throw StoreError(
                QStringLiteral("Índice %1 não existe na tabela %2.").arg(indexName_, tableName_));
        }
    } else if (!indexFields_.trimmed().isEmpty()) {
        for (const QString& part : indexFields_.split(';', Qt::SkipEmptyParts)) {
            const int i = def_->fieldIndex(part.trimmed());
            if (i < 0)
                throw StoreError(QStringLiteral("Campo %1 não existe na tabela %2.")
                                     .arg(part.trimmed(), tableName_));
            order.append(def_->fields[i].name);
        }
    } else {
        order = def_->primaryKey;
    }
    // Normalise to the schema's spelling.
    for (QString& f : order)
        f = def_->fields[def_->fieldIndex(f)].name;
    order_ = order;
    if (isOpen()) {
        checkBrowseMode();
        const Row* row = currentRow();
        if (row) {
            Row copy = *row;
            if (readRow(copy.rowId, &copy)) {
                setWindow({copy});
                return;
            }
        }
        first();
    }
}

void Table::open() {
    if (isOpen())
        return;
    if (databaseFile_.isEmpty()) {
        db_ = Database::main();
    } else {
        db_ = Database::open(databaseFile_, {*def_}, false);
    }
    if (!db_->table(tableName_))
        throw StoreError(
            QStringLiteral("Tabela %1 não existe em %2.").arg(tableName_, db_->filePath()));
    applyOrder();
    state_ = State::Browse;
    // Most opens look a record up next; the first record alone is read here,
    // and a walk from it reads its windows as it goes.
    setWindow(fetch(QString(), {}, false, kFindWindow));
    bof_ = true;
}

void Table::close() {
    lock_.reset();
    state_ = State::Inactive;
    window_.clear();
    pos_ = -1;
    eof_ = bof_ = true;
    buffer_ = Row();
    db_.reset();
}

void Table::requireOpen() const {
    if (!isOpen())
        throw StoreError(QStringLiteral("A tabela %1 não está aberta.").arg(tableName_));
}

void Table::checkBrowseMode() {
    if (state_ == State::Insert || state_ == State::Edit) {
        if (modified_.contains(true))
            post();
        else
            cancel();
    }
}

QStringList Table::orderColumns() const {
    QStringList cols;
    for (const QString& f : order_)
        cols.append(db_->backend().quote(f));
    cols.append(db_->backend().rowIdColumn());
    return cols;
}

QString Table::orderBy(bool descending) const {
    QStringList cols = orderColumns();
    // The row id is never empty: written plainly, as the indexes end in it,
    // so the server walks an index in its own order instead of sorting the
    // rows of each key again.
    const QString rowId = cols.takeLast();
    for (QString& c : cols)
        c = db_->backend().orderTerm(c, descending);
    cols.append(descending ? rowId + QStringLiteral(" DESC") : rowId);
    return QStringLiteral(" ORDER BY ") + cols.join(", ");
}

QString Table::selectList() const {
    QStringList cols{db_->backend().rowIdColumn()};
    for (const FieldDef& f : def_->fields)
        cols.append(db_->backend().quote(f.name));
    return cols.join(", ");
}

void Table::storeFailure(const QString& what, const QString& detail) const {
    db_->fail(QStringLiteral("%1 (tabela %2)").arg(what, tableName_), detail);
}

QVector<Table::Row> Table::fetch(const QString& where,
                                 const QVariantList& binds,
                                 bool descending,
                                 int limit,
                                 int offset) const {
    return db_->reading([&] { return fetchOnce(where, binds, descending, limit, offset); });
}

QVector<Table::Row> Table::fetchOnce(const QString& where,
                                     const QVariantList& binds,
                                     bool descending,
                                     int limit,
                                     int offset) const {
    QString sql =
        QStringLiteral("SELECT %1 FROM %2").arg(selectList(), db_->backend().quote(tableName_));
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    sql += orderBy(descending);
    sql += ' ' + db_->backend().limitClause(limit, offset);
    QString error;
    const std::shared_ptr<QSqlQuery> prepared = db_->prepared(sql, &error);
    if (!prepared)
        storeFailure(QStringLiteral("Erro ao ler"), error);
    QSqlQuery& q = *prepared;
    for (int i = 0; i < binds.size(); ++i)
        q.bindValue(i, binds[i]);
    if (!q.exec()) {
        error = q.lastError().text();
        q.finish();
        storeFailure(QStringLiteral("Erro ao ler"), error);
    }
    QVector<Row> rows;
    const int n = def_->fields.size();
    while (q.next()) {
        Row r;
        r.rowId = q.value(0).toLongLong();
        r.values.resize(n);
        for (int i = 0; i < n; ++i)
            r.values[i] = q.value(i + 1);
        rows.append(std::move(r));
    }
    q.finish();
    if (descending)
        std::reverse(rows.begin(), rows.end());
    return rows;
}

QVariantList Table::keyValues(const Row& row) const {
    QVariantList values;
    for (const QString& f : order_)
        values.append(row.values[def_->fieldIndex(f)]);
    values.append(row.rowId);
    return values;
}

// Rows after `row` in the current order (NULL keys sort first).
QString Table::afterCondition(const Row& row, QVariantList* binds) const {
    const QStringList cols = orderColumns();
    const QVariantList values = keyValues(row);
    bool anyNull = false;
    for (const QVariant& v : values)
        anyNull = anyNull || v.isNull();
    if (!anyNull) {
        // Row-value comparison: the index walks straight to the next key.
        // Rows with a NULL key part sort before this one, and the comparison
        // leaves them out, as it should.
        QStringList marks;
        for (const QVariant& v : values) {
            binds->append(v);
            marks.append(QStringLiteral("?"));
        }
        return QStringLiteral("(%1) > (%2)").arg(cols.join(", "), marks.join(", "));
    }
    QString condition = cols.last() + QStringLiteral(" > ?");
    QVariantList tailBinds{values.last()};
    for (int i = cols.size() - 2; i >= 0; --i) {
        QVariantList b;
        if (values[i].isNull()) {
            condition =
                QStringLiteral("((%1 IS NULL AND %2) OR %1 IS NOT NULL)").arg(cols[i], condition);
            b = tailBinds;
        } else {
            condition = QStringLiteral("(%1 > ? OR (%1 = ? AND %2))").arg(cols[i], condition);
            b = {values[i], values[i]};
            b += tailBinds;
        }
        tailBinds = b;
    }
    *binds += tailBinds;
    return condition;
}

QString Table::beforeCondition(const Row& row, QVariantList* binds) const {
    const QStringList cols = orderColumns();
    const QVariantList values = keyValues(row);
    // Text keys are never NULL (empty text is stored as such); only other
    // key kinds need the NULL cases, which sort first.
    auto mayBeNull = [this](int i) {
        return i < order_.size() &&
               def_->fields[def_->fieldIndex(order_[i])].type != FieldType::Text;
    };
    bool simple = true;
    for (int i = 0; i < values.size(); ++i)
        simple = simple && !values[i].isNull() && !mayBeNull(i);
    if (simple) {
        QStringList marks;
        for (const QVariant& v : values) {
            binds->append(v);
            marks.append(QStringLiteral("?"));
        }
        return QStringLiteral("(%1) < (%2)").arg(cols.join(", "), marks.join(", "));
    }
    QString condition = cols.last() + QStringLiteral(" < ?");
    QVariantList tailBinds{values.last()};
    for (int i = cols.size() - 2; i >= 0; --i) {
        QVariantList b;
        if (values[i].isNull()) {
            condition = QStringLiteral("(%1 IS NULL AND %2)").arg(cols[i], condition);
            b = tailBinds;
        } else {
            condition =
                QStringLiteral("(%1%2 < ? OR (%1 = ? AND %3))")
                    .arg(cols[i],
                         mayBeNull(i) ? QStringLiteral(" IS NULL OR ") + cols[i] : QString(),
                         condition);
            b = {values[i], values[i]};
            b += tailBinds;
        }
        tailBinds = b;
    }
    *binds += tailBinds;
    return condition;
}

bool Table::readRow(qint64 rowId, Row* row) const {
    const QVector<Row> rows =
        fetch(db_->backend().rowIdColumn() + QStringLiteral(" = ?"), {rowId}, false, 1);
    if (rows.isEmpty())
        return false;
    *row = rows.first();
    return true;
}

void Table::setWindow(QVector<Row> rows) {
    window_ = std::move(rows);
    pos_ = window_.isEmpty() ? -1 : 0;
    eof_ = window_.isEmpty();
    bof_ = window_.isEmpty();
}

const Table::Row* Table::currentRow() const {
    return pos_ >= 0 && pos_ < window_.size() ? &window_[pos_] : nullptr;
}

void Table::first() {
    requireOpen();
    checkBrowseMode();
    setWindow(fetch(QString(), {}, false, kWindow));
    bof_ = true;
}

void Table::last() {
    requireOpen();
    checkBrowseMode();
    setWindow(fetch(QString(), {}, true, 1));
    eof_ = true;
    bof_ = window_.isEmpty();
}

void Table::next() {
    requireOpen();
    checkBrowseMode();
    bof_ = false;
    if (pos_ < 0) {
        eof_ = true;
        return;
    }
    if (pos_ + 1 < window_.size()) {
        ++pos_;
        eof_ = false;
        return;
    }
    QVariantList binds;
    const QString where = afterCondition(window_[pos_], &binds);
    QVector<Row> rows = fetch(where, binds, false, kWindow);
    if (rows.isEmpty()) {
        eof_ = true;  // stays on the last record
        return;
    }
    window_ = std::move(rows);
    pos_ = 0;
    eof_ = false;
}

void Table::prior() {
    requireOpen();
    checkBrowseMode();
    eof_ = false;
    if (pos_ < 0) {
        bof_ = true;
        return;
    }
    if (pos_ > 0) {
        --pos_;
        bof_ = false;
        return;
    }
    QVariantList binds;
    const QString where = beforeCondition(window_[pos_], &binds);
    QVector<Row> rows = fetch(where, binds, true, 1);
    if (rows.isEmpty()) {
        bof_ = true;
        return;
    }
    window_ = std::move(rows);
    pos_ = 0;
    bof_ = false;
}

int Table::recordCount() const {
    requireOpen();
    return db_->reading([this] { return countOnce(); });
}

int Table::countOnce() const {
    QSqlQuery q(db_->connection());
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM ") + db_->backend().quote(tableName_)))
        storeFailure(QStringLiteral("Erro ao contar"), q.lastError().text());
    const int n = q.next() ? q.value(0).toInt() : 0;
    q.finish();
    return n;
}

int Table::recordIndex(int knownCount) const {
    requireOpen();
    return db_->reading([&] { return indexOnce(knownCount); });
}

int Table::indexOnce(int knownCount) const {
    const Row* row = currentRow();
    if (!row)
        return -1;
    if (knownCount > 0) {
        constexpr int kNearEnd = 4096;
        QVariantList binds;
        const QString where = afterCondition(*row, &binds);
        QSqlQuery q(db_->connection());
        q.setForwardOnly(true);
        if (!q.prepare(
                QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM %1 WHERE %2 LIMIT %3) AS perto")
                    .arg(db_->backend().quote(tableName_), where)
                    .arg(kNearEnd)))
            storeFailure(QStringLiteral("Erro ao ler"), q.lastError().text());
        for (const QVariant& b : binds)
            q.addBindValue(b);
        if (!q.exec())
            storeFailure(QStringLiteral("Erro ao ler"), q.lastError().text());
        const int after = q.next() ? q.value(0).toInt() : kNearEnd;
        q.finish();
        if (after < kNearEnd && after < knownCount)
            return knownCount - 1 - after;
    }
    auto count = [this](const QString& where, const QVariantList& binds) {
        QString error;
        const std::shared_ptr<QSqlQuery> q =
            db_->prepared(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2")
                              .arg(db_->backend().quote(tableName_), where),
                          &error);
        if (!q)
            storeFailure(QStringLiteral("Erro ao ler"), error);
        for (int i = 0; i < binds.size(); ++i)
            q->bindValue(i, binds[i]);
        if (!q->exec()) {
            error = q->lastError().text();
            q->finish();
            storeFailure(QStringLiteral("Erro ao ler"), error);
        }
        const int n = q->next() ? q->value(0).toInt() : 0;
        q->finish();
        return n;
    };
    const QVariantList values = keyValues(*row);
    const bool singleTextKey =
        order_.size() == 1 && !values.first().isNull() &&
        def_->fields[def_->fieldIndex(order_.first())].type == FieldType::Text;
    if (singleTextKey) {
        // Two plain range counts walk the index faster than one row-value
        // comparison with the row id.
        const QString key = db_->backend().quote(order_.first());
        return count(key + QStringLiteral(" < ?"), {values.first()}) +
               count(key + QStringLiteral(" = ? AND ") + db_->backend().rowIdColumn() +
                         QStringLiteral(" < ?"),
                     {values.first(), row->rowId});
    }
    QVariantList binds;
    const QString where = beforeCondition(*row, &binds);
    return count(where, binds);
}

void Table::moveToIndex(int index) {
    requireOpen();
    checkBrowseMode();
    QVector<Row> rows = fetch(QString(), {}, false, kWindow, std::max(0, index));
    if (rows.isEmpty()) {
        last();
        return;
    }
    setWindow(std::move(rows));
    bof_ = index <= 0;
}

QVariant Table::keyArgument(const QString& field, const QString& text) const {
    const int i = def_->fieldIndex(field);
    return textToStored(def_->fields[i].type, text);
}

bool Table::findKey(const QStringList& values) {
    requireOpen();
    checkBrowseMode();
    if (values.isEmpty() || values.size() > order_.size())
        throw StoreError(
            QStringLiteral("Busca com número de valores inválido na tabela %1.").arg(tableName_));
    QStringList conditions;
    QVariantList binds;
    for (int i = 0; i < values.size(); ++i) {
        const QVariant v = keyArgument(order_[i], values[i]);
        if (v.isNull()) {
            conditions.append(db_->backend().quote(order_[i]) + QStringLiteral(" IS NULL"));
        } else {
            conditions.append(db_->backend().quote(order_[i]) + QStringLiteral(" = ?"));
            binds.append(v);
        }
    }
    QVector<Row> rows = fetch(conditions.join(" AND "), binds, false, kFindWindow);
    if (rows.isEmpty())
        return false;
    setWindow(std::move(rows));
    bof_ = false;
    return true;
}

bool Table::findExact(const QString& fields, const QString& value) {
    close();
    setIndexFieldNames(fields);
    open();
    return findKey(value);
}

void Table::findNearest(const QStringList& values) {
    requireOpen();
    checkBrowseMode();
    if (values.isEmpty() || values.size() > order_.size())
        throw StoreError(
            QStringLiteral("Busca com número de valores inválido na tabela %1.").arg(tableName_));
    QStringList cols;
    QStringList marks;
    QVariantList binds;
    bool anyNull = false;
    for (int i = 0; i < values.size(); ++i) {
        const QVariant v = keyArgument(order_[i], values[i]);
        anyNull = anyNull || v.isNull();
        cols.append(db_->backend().quote(order_[i]));
        marks.append(QStringLiteral("?"));
        binds.append(v);
    }
    QVector<Row> rows;
    if (anyNull)
        rows = fetch(QString(), {}, false, kFindWindow);  // an empty key is before every other
    else
        rows = fetch(QStringLiteral("(%1) >= (%2)").arg(cols.join(", "), marks.join(", ")), binds,
                     false, kFindWindow);
    if (rows.isEmpty()) {
        last();
        eof_ = false;
        return;
    }
    setWindow(std::move(rows));
    bof_ = false;
}

QVector<QStringList> Table::rowTexts(int offset,
                                     int count,
                                     const QStringList& fields,
                                     int knownCount) const {
    requireOpen();
    QList<int> indexes;
    for (const QString& f : fields) {
        const int i = def_->fieldIndex(f);
        if (i < 0)
            throw StoreError(
                QStringLiteral("Campo %1 não existe na tabela %2.").arg(f, tableName_));
        indexes.append(i);
    }
    // Skipping rows costs as many as are skipped: the rows near the end
    // (the newest orders, where the search opens) are skipped from there.
    QVector<Row> rows;
    if (knownCount > 0 && offset >= knownCount / 2 && offset < knownCount) {
        const int fromEnd = knownCount - offset - count;  // rows after the last asked for
        rows = fetch(QString(), {}, true, fromEnd < 0 ? knownCount - offset : count,
                     std::max(0, fromEnd));
    } else {
        rows = fetch(QString(), {}, false, count, offset);
    }
    QVector<QStringList> out;
    for (const Row& row : rows) {
        QStringList texts;
        for (int i : indexes)
            texts.append(storedToText(def_->fields[i].type, row.values[i]));
        out.append(texts);
    }
    return out;
}

Table::Bookmark Table::bookmark() const {
    const Row* row = currentRow();
    return row ? Bookmark{row->rowId, true} : Bookmark{};
}

void Table::gotoBookmark(const Bookmark& bookmark) {
    requireOpen();
    checkBrowseMode();
    Row row;
    if (!bookmark.valid || !readRow(bookmark.rowId, &row))
        throw StoreError(QStringLiteral("Registro não encontrado na tabela %1.").arg(tableName_));
    setWindow({row});
    bof_ = false;
}

void Table::insert() {
    requireOpen();
    checkBrowseMode();
    buffer_ = Row();
    buffer_.values.resize(def_->fields.size());
    modified_ = QVector<bool>(def_->fields.size(), false);
    unconfirmed_ = false;
    state_ = State::Insert;
}

void Table::edit() {
    requireOpen();
    if (state_ == State::Insert || state_ == State::Edit)
        return;
    const Row* row = currentRow();
    if (!row)
        throw StoreError(
            QStringLiteral("Não há registro para alterar na tabela %1.").arg(tableName_));
    const qint64 rowId = row->rowId;
    std::unique_ptr<RecordLock> lock = db_->backend().lockRecord(tableName_, rowId);
    // Edit what is stored now, not what this cursor read some time ago.
    Row fresh;
    if (!readRow(rowId, &fresh))
        throw StoreError(QStringLiteral("O registro foi excluído por outro usuário (tabela %1).")
                             .arg(tableName_));
    window_[pos_] = fresh;
    buffer_ = fresh;
    modified_ = QVector<bool>(def_->fields.size(), false);
    lock_ = std::move(lock);
    state_ = State::Edit;
}

std::function<void(const QString&)>& Table::beforePostHook() {
    static std::function<void(const QString&)> hook;
    return hook;
}

std::function<bool(const QString&)>& Table::lostAnswerHook() {
    static std::function<bool(const QString&)> hook;
    return hook;
}

namespace {

bool sameStored(FieldType type, const QVariant& written, const QVariant& stored) {
    if (type == FieldType::Bytes)
        return written.toByteArray() == stored.toByteArray();
    return storedToText(type, written) == storedToText(type, stored);
}

}  // namespace

bool Table::findPosted(Row* found) const {
    QVector<Row> candidates;
    if (state_ == State::Edit) {
        Row row;
        if (readRow(buffer_.rowId, &row))
            candidates.append(row);
    } else {
        // By the key when every key field was written (the counter of a
        // table numbered by the store was taken before the insert);
        // otherwise by every value written.
        QStringList where;
        QVariantList binds;
        bool byKey = !def_->primaryKey.isEmpty();
        for (const QString& k : def_->primaryKey)
            byKey = byKey && modified_[def_->fieldIndex(k)];
        for (int i = 0; i < def_->fields.size(); ++i) {
            const bool use = byKey ? def_->primaryKey.contains(def_->fields[i].name)
                                   : modified_[i] && !buffer_.values[i].isNull() &&
                                         def_->fields[i].type != FieldType::Bytes;
            if (use) {
                where.append(db_->backend().quote(def_->fields[i].name) + QStringLiteral(" = ?"));
                binds.append(buffer_.values[i]);
            }
        }
        if (where.isEmpty())
            return false;
        candidates = fetch(where.join(QStringLiteral(" AND ")), binds, false, 16);
    }
    for (const Row& row : candidates) {
        bool same = true;
        for (int i = 0; i < def_->fields.size() && same; ++i) {
            if (modified_[i])
                same = sameStored(def_->fields[i].type, buffer_.values[i], row.values[i]);
        }
        if (same) {
            *found = row;
            return true;
        }
    }
    return false;
}

void Table::finishPost(Row stored) {
    lock_.reset();
    state_ = State::Browse;
    buffer_ = Row();
    unconfirmed_ = false;
    setWindow({std::move(stored)});
    bof_ = false;
    emit afterPost();
}

void Table::post() {
    requireOpen();
    if (state_ != State::Insert && state_ != State::Edit)
        return;
    if (beforePostHook())
        beforePostHook()(tableName_);
    postSent_ = false;
    try {
        postOnce();
    } catch (const ConnectionLostError& e) {
        // The connection was found broken before the record left for the
        // server: nothing can have been stored, so the post is made once
        // more on a new connection (the server restarted, or dropped an
        // idle one), and only said when the server does not answer.
        if (!db_->isServer() || postSent_)
            throw;
        if (!db_->reconnect(kAnswerWaitMs))
            throw StoreError(e.text() +
                             QStringLiteral("\n\nO registro não chegou ao servidor: nada foi "
                                            "gravado. Os dados digitados continuam na tela; "
                                            "clique em Gravar de novo quando o servidor voltar."));
        postSent_ = false;
        postOnce();
    }
}

bool Table::confirmUnconfirmed() {
    // The last Gravar's answer never came: if the server stored it, this
    // one is that post, confirmed now, and nothing is written twice.
    if (!unconfirmed_)
        return false;
    Row found;
    bool there = false;
    try {
        there = findPosted(&found);
    } catch (const StoreError&) {
        throw StoreError(
            db_->unconfirmedMessage(QStringLiteral("Erro ao gravar (tabela %1)").arg(tableName_)));
    }
    if (there) {
        finishPost(std::move(found));
        return true;
    }
    unconfirmed_ = false;
    return false;
}

QString Table::postStatement(QVariantList& binds) const {
    QStringList cols;
    for (int i = 0; i < def_->fields.size(); ++i) {
        if (modified_[i]) {
            cols.append(db_->backend().quote(def_->fields[i].name));
            binds.append(buffer_.values[i]);
        }
    }
    QString sql;
    if (state_ == State::Insert) {
        if (cols.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES")
                      .arg(db_->backend().quote(tableName_));
        } else {
            QStringList marks(cols.size(), QStringLiteral("?"));
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(db_->backend().quote(tableName_), cols.join(", "), marks.join(", "));
        }
    } else if (!cols.isEmpty()) {
        for (QString& c : cols)
            c += QStringLiteral(" = ?");
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                  .arg(db_->backend().quote(tableName_), cols.join(", "),
                       db_->backend().rowIdColumn());
        binds.append(buffer_.rowId);
    }
    // The row as stored comes back with the statement where the store can
    // give it (the new row's own id among it: a server's "last value" may
    // be another sequence's, a table with a counter field has two).
    if (db_->backend().returnsWrittenRows() && !sql.isEmpty())
        sql += QStringLiteral(" RETURNING ") + selectList();
    return sql;
}

Table::PostOutcome Table::runPost(const QString& sql,
                                  const QVariantList& binds,
                                  Row* stored,
                                  qint64* rowId) {
    // Each post is one transaction of its own, committed with a full sync:
    // when this returns, the record is on disk for every reader. A server
    // commits a lone statement by itself, in one exchange.
    QSqlDatabase db = db_->connection();
    const bool returning = db_->backend().returnsWrittenRows();
    const bool ownTransaction = !db_->backend().statementIsItsOwnTransaction();
    if (ownTransaction && !db.transaction())
        storeFailure(QStringLiteral("Erro ao gravar"), db.lastError().text());
    QString text;
    const std::shared_ptr<QSqlQuery> prepared = db_->prepared(sql, &text);
    bool ok = prepared != nullptr;
    bool sent = false;
    if (ok) {
        for (int i = 0; i < binds.size(); ++i)
            prepared->bindValue(i, binds[i]);
        sent = true;
        postSent_ = true;
        ok = prepared->exec();
        if (!ok)
            text = prepared->lastError().text();
        if (ok && lostAnswerHook() && lostAnswerHook()(tableName_)) {
            ok = false;  // as if the answer had never come
            text = QStringLiteral("server closed the connection unexpectedly");
        }
    }
    if (!ok) {
        if (prepared)
            prepared->finish();
        if (ownTransaction)
            db.rollback();
        if (text.contains(QLatin1String("UNIQUE"), Qt::CaseInsensitive))
            throw KeyExistsError(
                QStringLiteral("Já existe um registro com esta chave na tabela %1; nada foi "
                               "gravado.")
                    .arg(tableName_));
        if (sent && db_->isServer() && db_->backend().isConnectionFailure(text)) {
            answerLost(text);  // throws unless the server had stored it
            return PostOutcome::Confirmed;
        }
        storeFailure(QStringLiteral("Erro ao gravar"), text);
    }
    PostOutcome outcome = PostOutcome::ReadBack;
    if (returning && prepared->next()) {
        const int n = def_->fields.size();
        stored->rowId = prepared->value(0).toLongLong();
        stored->values.resize(n);
        for (int i = 0; i < n; ++i)
            stored->values[i] = prepared->value(i + 1);
        outcome = PostOutcome::Returned;
        *rowId = stored->rowId;
    } else if (state_ == State::Insert) {
        *rowId = returning ? -1 : prepared->lastInsertId().toLongLong();
    }
    prepared->finish();
    if (ownTransaction && !db.commit()) {
        text = db.lastError().text();
        db.rollback();
        storeFailure(QStringLiteral("Erro ao gravar"), text);
    }
    return outcome;
}

void Table::postOnce() {
    if (confirmUnconfirmed())
        return;
    if (db_->isServer()) {
        // The connection broke since the edit began: the record's lock went
        // with it, and another workstation may hold it now.
        if (state_ == State::Edit && lock_ && !lock_->stillHeld()) {
            lock_.reset();
            lock_ = db_->backend().lockRecord(tableName_, buffer_.rowId);
        }
        if (state_ == State::Insert)
            takeCounters();
    }
    QVariantList binds;
    const QString sql = postStatement(binds);
    qint64 rowId = buffer_.rowId;
    Row stored;
    PostOutcome outcome = PostOutcome::ReadBack;
    if (!sql.isEmpty()) {
        outcome = runPost(sql, binds, &stored, &rowId);
        if (outcome == PostOutcome::Confirmed)
            return;
    }
    Row row;
    if (outcome == PostOutcome::Returned) {
        finishPost(std::move(stored));
    } else if (readRow(rowId, &row)) {
        finishPost(std::move(row));
    } else {
        lock_.reset();
        state_ = State::Browse;
        buffer_ = Row();
        emit afterPost();
    }
}

// The server's counter values of a new row taken before it is written, so
// that the row can be found by its key when the answer to the insert is lost.
void Table::takeCounters() {
    for (int i = 0; i < def_->fields.size(); ++i) {
        const FieldDef& f = def_->fields[i];
        if (f.type != FieldType::AutoInc || modified_[i] || !def_->primaryKey.contains(f.name))
            continue;
        const QString sql = db_->backend().nextCounterStatement(tableName_, f.name);
        if (sql.isEmpty())
            continue;
        QString text;
        const std::shared_ptr<QSqlQuery> q = db_->prepared(sql, &text);
        if (!q || !q->exec() || !q->next()) {
            if (q) {
                text = q->lastError().text();
                q->finish();
            }
            storeFailure(QStringLiteral("Erro ao gravar"), text);
        }
        buffer_.values[i] = q->value(0);
        modified_[i] = true;
        q->finish();
    }
}

// The connection broke after the statement left: the server may have
// committed it. Asked again once it answers; never reported as not stored
// when it was, nor as stored when it was not.
void Table::answerLost(const QString& text) {
    db_->failureMessage(QString(), text);  // marks the connection for making again
    const QString action = QStringLiteral("Erro ao gravar (tabela %1)").arg(tableName_);
    if (!db_->reconnect(kAnswerWaitMs)) {
        unconfirmed_ = true;
        throw StoreError(db_->unconfirmedMessage(action));
    }
    Row found;
    bool there = false;
    try {
        there = findPosted(&found);
    } catch (const StoreError&) {
        unconfirmed_ = true;
        throw StoreError(db_->unconfirmedMessage(action));
    }
    if (there) {
        finishPost(std::move(found));
        return;
    }
    throw StoreError(QStringLiteral("%1: a conexão com o servidor de banco de dados (%2) caiu "
                                    "durante a gravação e foi refeita; nada foi gravado.\n\n"
                                    "Clique em Gravar de novo.")
                         .arg(action, db_->filePath()));
}

void Table::cancel() {
    unconfirmed_ = false;
    if (state_ == State::Insert || state_ == State::Edit) {
        lock_.reset();
        state_ = State::Browse;
        buffer_ = Row();
    }
}

void Table::remove() {
    requireOpen();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    const Row* row = currentRow();
    if (!row)
        throw StoreError(
            QStringLiteral("Não há registro para excluir na tabela %1.").arg(tableName_));
    const Row gone = *row;
    // A record someone else is changing cannot be deleted under his feet.
    std::unique_ptr<RecordLock> lock =
        lock_ ? std::move(lock_) : db_->backend().lockRecord(tableName_, gone.rowId);
    QSqlDatabase db = db_->connection();
    QSqlQuery q(db);
    if (!q.prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                       .arg(db_->backend().quote(tableName_), db_->backend().rowIdColumn())))
        storeFailure(QStringLiteral("Erro ao excluir"), q.lastError().text());
    q.addBindValue(gone.rowId);
    if (!q.exec())
        storeFailure(QStringLiteral("Erro ao excluir"), q.lastError().text());
    q.finish();
    lock.reset();
    state_ = State::Browse;
    buffer_ = Row();
    QVariantList binds;
    const QString where = afterCondition(gone, &binds);
    QVector<Row> rows = fetch(where, binds, false, kWindow);
    if (rows.isEmpty()) {
        setWindow(fetch(QString(), {}, true, 1));
        eof_ = window_.isEmpty();
    } else {
        setWindow(std::move(rows));
        bof_ = false;
    }
    emit afterDelete();
}

void Table::refresh() {
    if (!isOpen() || state_ != State::Browse)
        return;
    const Row* row = currentRow();
    if (!row) {
        first();
        return;
    }
    const Row old = *row;
    const bool wasEof = eof_;
    Row fresh;
    if (readRow(old.rowId, &fresh)) {
        setWindow({fresh});
        bof_ = false;
        eof_ = wasEof;
        return;
    }
    // Deleted by someone else: land on the record that now follows it.
    QVariantList binds;
    const QString where = afterCondition(old, &binds);
    QVector<Row> rows = fetch(where, binds, false, kWindow);
    if (rows.isEmpty())
        setWindow(fetch(QString(), {}, true, 1));
    else
        setWindow(std::move(rows));
}

bool Table::saveChanges() {
    return isOpen() && state_ == State::Browse;
}

void Table::flushBuffers() {
    if (isOpen())
        checkBrowseMode();
}

Field Table::fieldByName(const QString& name) {
    const int i = def_->fieldIndex(name);
    if (i < 0)
        throw StoreError(QStringLiteral("Campo %1 não existe na tabela %2.").arg(name, tableName_));
    return Field(this, i);
}

int Table::fieldCount() const {
    return def_->fields.size();
}

QString Table::fieldName(int index) const {
    return def_->fields.value(index).name;
}

QVariant Table::value(int index) const {
    if (state_ == State::Insert || state_ == State::Edit)
        return buffer_.values[index];
    const Row* row = currentRow();
    return row ? row->values[index] : QVariant();
}

void Table::setValue(int index, const QVariant& value) {
    if (state_ != State::Insert && state_ != State::Edit)
        throw StoreError(
            QStringLiteral("A tabela %1 não está em modo de edição ou inclusão.").arg(tableName_));
    QVariant stored = value;
    if (def_->fields[index].type == FieldType::Text && stored.toString().isEmpty())
        stored = QStringLiteral("");
    buffer_.values[index] = stored;
    modified_[index] = true;
}

}  // namespace quelvarino
