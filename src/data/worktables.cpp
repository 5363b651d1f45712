#include "data/worktables.h"

#include "core/errors.h"
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
        DataFolder::workTableFolder() + QStringLiteral("/tbrelatorio8_%1.db").arg(n), {def}, false);
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

void WorkTables::fill(const QList<WorkDetail>& details) {
    auto groups = workTable(1);
    auto rows = workTable(2);
    QSqlDatabase g = groups->connection();
    QSqlDatabase r = rows->connection();
    const Backend& b = rows->backend();
    r.transaction();
    QSqlQuery insert(r);
    insert.prepare(
        QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5, %6, %7, %8, %9, %10, %11, %12, %13, "
                       "%14) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .arg(b.quote(QStringLiteral("tbrelatorio8_2")), b.quote("Codigo"), b.quote("Cliente"),
                 b.quote("Comanda"), b.quote("Solicitante"), b.quote("Hora1"), b.quote("Hora2"),
                 b.quote("Hora3"), b.quote("Hora4"), b.quote("Valor"), b.quote("Taxa"))
            .arg(b.quote("TotVal"), b.quote("Pagamento"), b.quote("Data")));
    QList<QPair<QString, QString>> codes;
    QHash<QString, bool> seen;
    try {
        for (const WorkDetail& d : details) {
            const QVariantList values = {
                stored(FieldType::Text, d.codigo),  stored(FieldType::Text, d.cliente),
                stored(FieldType::Text, d.comanda), stored(FieldType::Text, d.solicitante),
                stored(FieldType::Text, d.hora1),   stored(FieldType::Text, d.hora2),
                stored(FieldType::Text, d.hora3),   stored(FieldType::Text, d.hora4),
                stored(FieldType::Money, d.valor),  stored(FieldType::Money, d.taxa),
                stored(FieldType::Money, d.totval), stored(FieldType::Text, d.pagamento),
                stored(FieldType::Date, d.data)};
            for (int i = 0; i < values.size(); ++i)
                insert.bindValue(i, values[i]);
            run(insert, QStringLiteral("gravar"));
            if (!seen.contains(d.codigo)) {
                seen.insert(d.codigo, true);
                codes.append({d.codigo, d.cliente});
            }
        }
    } catch (...) {
        r.rollback();
        throw;
    }
    r.commit();
    g.transaction();
    QSqlQuery group(g);
    group.prepare(
        QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?)")
            .arg(b.quote(QStringLiteral("tbrelatorio8_1")), b.quote("Codigo"), b.quote("Cliente")));
    try {
        for (const auto& [code, name] : codes) {
            group.bindValue(0, code);
            group.bindValue(1, name);
            run(group, QStringLiteral("gravar"));
        }
    } catch (...) {
        g.rollback();
        throw;
    }
    g.commit();
}

int WorkTables::detailCount() {
    auto rows = workTable(2);
    QSqlQuery q(rows->connection());
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM tbrelatorio8_2"));
    run(q, QStringLiteral("contar"));
    return q.next() ? q.value(0).toInt() : 0;
}

QList<WorkGroup> WorkTables::read() {
    auto groups = workTable(1);
    auto rows = workTable(2);
    QHash<QString, int> at;
    QList<WorkGroup> out;
    {
        QSqlQuery q(groups->connection());
        q.setForwardOnly(true);
        q.prepare(
            QStringLiteral("SELECT Codigo, Cliente FROM tbrelatorio8_1 ORDER BY Codigo "
                           "COLLATE BINARY, Cont"));
        run(q, QStringLiteral("ler"));
        while (q.next()) {
            const QString code = q.value(0).toString();
            if (at.contains(code))
                continue;
            at.insert(code, int(out.size()));
            out.append({code, q.value(1).toString(), {}});
        }
    }
    QSqlQuery q(rows->connection());
    q.setForwardOnly(true);
    q.prepare(
        QStringLiteral("SELECT Codigo, Cliente, Comanda, Solicitante, Hora1, Hora2, Hora3, "
                       "Hora4, Valor, Taxa, TotVal, Pagamento, Data FROM tbrelatorio8_2 "
                       "ORDER BY Cont"));
    run(q, QStringLiteral("ler"));
    while (q.next()) {
        const int g = at.value(q.value(0).toString(), -1);
        if (g < 0)
            continue;
        WorkDetail d;
        d.codigo = q.value(0).toString();
        d.cliente = q.value(1).toString();
        d.comanda = q.value(2).toString();
        d.solicitante = q.value(3).toString();
        d.hora1 = q.value(4).toString();
        d.hora2 = q.value(5).toString();
        d.hora3 = q.value(6).toString();
        d.hora4 = q.value(7).toString();
        d.valor = storedToText(FieldType::Money, q.value(8));
        d.taxa = storedToText(FieldType::Money, q.value(9));
        d.totval = storedToText(FieldType::Money, q.value(10));
        d.pagamento = q.value(11).toString();
        d.data = storedToText(FieldType::Date, q.value(12));
        out[g].rows.append(d);
    }
    q.finish();
    QList<WorkGroup> withRows;
    for (WorkGroup& g : out) {
        if (!g.rows.isEmpty())
            withRows.append(std::move(g));
    }
    return withRows;
}

}  // namespace quelvarino
