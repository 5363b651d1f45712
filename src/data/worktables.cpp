#include "data/worktables.h"

#include "core/errors.h"
#include "data/backend.h"
#include "data/database.h"
#include "data/datafolder.h"
#include "data/fieldconv.h"
#include "data/schema.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace quelvarino {
namespace {

std::shared_ptr<Database> workTable(int n) {
    const TableDef& def = n == 1 ? schema::workTable1() : schema::workTable2();
    return Database::open(
        DataFolder::workTableFolder() + QStringLiteral("/tbrelatorio8_%1.db").arg(n), {def},
        DataFolder::workTablesArePrivate());
}

void run(QSqlQuery& q, const QString& what) {
    if (!q.exec())
        throw StoreError(QStringLiteral("Erro ao %1 nas tabelas de trabalho do relatório: %2")
                             .arg(what, q.lastError().text()));
}

QVariant stored(FieldType type, const QString& text) {
    return textToStored(type, text);
}

}  // namespace

void WorkTables::clear() {
    for (int n = 1; n <= 2; ++n) {
        auto db = workTable(n);
        QSqlQuery q(db->connection());
        q.prepare(QStringLiteral("DELETE FROM ") + db->backend().quote(db->tables().first().name));
        run(q, QStringLiteral("esvaziar"));
    }
}

namespace {

[[noreturn]] void writeFailed(const QString& reason) {
    throw StoreError(
        QStringLiteral("Erro ao gravar nas tabelas de trabalho do relatório: %1").arg(reason));
}

}  // namespace

WorkTableFill::WorkTableFill() : groups_(workTable(1)), rows_(workTable(2)) {
    const Backend& b = rows_->backend();
    QSqlDatabase g = groups_->connection();
    QSqlDatabase r = rows_->connection();
    if (!g.transaction() || !r.transaction())
        writeFailed(r.lastError().text());
    open_ = true;
    QStringList columns;
    for (const char* c : {"Codigo", "Cliente", "Comanda", "Solicitante", "Hora1", "Hora2", "Hora3",
                          "Hora4", "Valor", "Taxa", "TotVal", "Pagamento", "Data"})
        columns.append(b.quote(QString::fromLatin1(c)));
    insertRow_ = b.prepare(
        r, QStringLiteral("INSERT INTO %1 (%2) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
                          "?, ?, ?, ?, ?)")
               .arg(b.quote(QStringLiteral("tbrelatorio8_2")), columns.join(QStringLiteral(", "))));
    insertGroup_ = b.prepare(g, QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?)")
                                    .arg(b.quote(QStringLiteral("tbrelatorio8_1")),
                                         b.quote("Codigo"), b.quote("Cliente")));
}

WorkTableFill::~WorkTableFill() {
    insertRow_.reset();
    insertGroup_.reset();
    if (open_) {
        rows_->connection().rollback();
        groups_->connection().rollback();
    }
}

void WorkTableFill::add(const WorkDetail& d) {
    const QVariant values[] = {
        stored(FieldType::Text, d.codigo),  stored(FieldType::Text, d.cliente),
        stored(FieldType::Text, d.comanda), stored(FieldType::Text, d.solicitante),
        stored(FieldType::Text, d.hora1),   stored(FieldType::Text, d.hora2),
        stored(FieldType::Text, d.hora3),   stored(FieldType::Text, d.hora4),
        stored(FieldType::Money, d.valor),  stored(FieldType::Money, d.taxa),
        stored(FieldType::Money, d.totval), stored(FieldType::Text, d.pagamento),
        stored(FieldType::Date, d.data)};
    for (int i = 0; i < 13; ++i)
        insertRow_->bind(i, values[i]);
    insertRow_->execute();
    if (!seen_.contains(d.codigo)) {
        seen_.insert(d.codigo, true);
        insertGroup_->bind(0, values[0]);
        insertGroup_->bind(1, values[1]);
        insertGroup_->execute();
    }
}

void WorkTableFill::commit() {
    insertRow_.reset();
    insertGroup_.reset();
    if (!rows_->connection().commit() || !groups_->connection().commit())
        writeFailed(rows_->connection().lastError().text());
    open_ = false;
}

void WorkTables::fill(const QList<WorkDetail>& details) {
    WorkTableFill fill;
    for (const WorkDetail& d : details)
        fill.add(d);
    fill.commit();
}

int WorkTables::detailCount() {
    auto rows = workTable(2);
    QSqlQuery q(rows->connection());
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM tbrelatorio8_2"));
    run(q, QStringLiteral("contar"));
    return q.next() ? q.value(0).toInt() : 0;
}

void WorkTables::walk(const std::function<void(const QString&, const QString&)>& group,
                      const std::function<void(const WorkDetail&)>& row,
                      const std::function<void()>& groupEnd) {
    auto groups = workTable(1);
    auto rows = workTable(2);
    QHash<QString, QString> names;  // one per client or courier: small
    {
        QSqlQuery q(groups->connection());
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT Codigo, Cliente FROM tbrelatorio8_1 ORDER BY Cont"));
        run(q, QStringLiteral("ler"));
        while (q.next()) {
            const QString code = q.value(0).toString();
            if (!names.contains(code))
                names.insert(code, q.value(1).toString());
        }
    }
    // Rows written client after client (the totalizer selects them so) are
    // read in the order they were written, straight through the table;
    // otherwise through the index on Codigo, one lookup per row.
    bool written = true;
    {
        const std::unique_ptr<Cursor> codes = rows->backend().openCursor(
            rows->connection(), QStringLiteral("SELECT Codigo FROM tbrelatorio8_2 ORDER BY Cont"),
            {});
        QString previous;
        while (written && codes->next()) {
            const QString code = codes->value(0).toString();
            written = !(code < previous);
            previous = code;
        }
    }
    const std::unique_ptr<Cursor> q = rows->backend().openCursor(
        rows->connection(),
        QStringLiteral("SELECT Codigo, Cliente, Comanda, Solicitante, Hora1, Hora2, Hora3, "
                       "Hora4, Valor, Taxa, TotVal, Pagamento, Data FROM tbrelatorio8_2 ") +
            (written ? QStringLiteral("ORDER BY Cont") : QStringLiteral("ORDER BY Codigo, Cont")),
        {});
    QString current;
    bool inGroup = false;
    WorkDetail d;
    while (q->next()) {
        const QString code = q->value(0).toString();
        if (!inGroup || code != current) {
            if (inGroup)
                groupEnd();
            inGroup = names.contains(code);
            current = code;
            if (inGroup)
                group(code, names.value(code));
        }
        if (!inGroup)
            continue;  // a row without its group row is not printed
        d.codigo = code;
        d.cliente = q->value(1).toString();
        d.comanda = q->value(2).toString();
        d.solicitante = q->value(3).toString();
        d.hora1 = q->value(4).toString();
        d.hora2 = q->value(5).toString();
        d.hora3 = q->value(6).toString();
        d.hora4 = q->value(7).toString();
        d.valor = storedToText(FieldType::Money, q->value(8));
        d.taxa = storedToText(FieldType::Money, q->value(9));
        d.totval = storedToText(FieldType::Money, q->value(10));
        d.pagamento = q->value(11).toString();
        d.data = storedToText(FieldType::Date, q->value(12));
        row(d);
    }
    if (inGroup)
        groupEnd();
}

QList<WorkGroup> WorkTables::read() {
    QList<WorkGroup> out;
    walk(
        [&out](const QString& code, const QString& name) {
            out.append({code, name, {}});
        },
        [&out](const WorkDetail& d) { out.last().rows.append(d); }, [] {});
    return out;
}

}  // namespace quelvarino
