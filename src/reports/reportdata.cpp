#include "reports/reportdata.h"

#include "core/errors.h"
#include "core/money.h"
#include "data/query.h"
#include "data/table.h"

#include <QDir>

namespace quelvarino {

CompanyHeader CompanyHeader::fromStore() {
    Table company(QStringLiteral("tbempresa"));
    company.setIndexName(QStringLiteral("RAZAOSOCIAL"));
    company.open();
    company.first();
    CompanyHeader h;
    if (company.isEmpty())
        return h;
    auto f = [&company](const char* name) { return company.fieldByName(name).asString(); };
    h.razaoSocial = f("RAZAOSOCIAL");
    h.nomeFan = f("NOMEFAN");
    h.endereco1 = f("ENDERECO1");
    h.bairro1 = f("BAIRRO1");
    h.cidade1 = f("CIDADE1");
    h.uf1 = f("UF1");
    h.cep1 = f("CEP1");
    h.ddd1 = f("DDD1");
    h.telefone1 = f("TELEFONE1_1");
    h.telefone2 = f("TELEFONE1_2");
    h.site = f("SITE");
    h.email = f("EMAIL");
    return h;
}

std::shared_ptr<const ReportRow::Shape> ReportRow::shapeOf(const QStringList& fields) {
    auto shape = std::make_shared<Shape>();
    for (const QString& f : fields)
        shape->insert(key(f), int(shape->size()));
    return shape;
}

QList<ReportRow> ReportRow::fromQuery(Query& query, const QStringList& fields) {
    QList<ReportRow> rows;
    if (!query.isOpen())
        return rows;
    const QStringList names = fields.isEmpty() ? query.fieldNames() : fields;
    for (query.first(); !query.eof(); query.next()) {
        ReportRow row;
        for (const QString& name : names)
            row.set(name, query.fieldText(name));
        rows.append(row);
    }
    return rows;
}

void ReportData::forEachRow(const std::function<void(const ReportRow&)>& visit) const {
    if (source) {
        source->each(visit);
        return;
    }
    for (const ReportRow& row : rows)
        visit(row);
}

QString ReportData::total(const QString& name) const {
    const auto it = totals.constFind(name);
    if (it != totals.constEnd())
        return it.value();
    if (source) {
        const QMap<QString, QString> computed = source->totals();
        const auto c = computed.constFind(name);
        if (c != computed.constEnd())
            return c.value();
    }
    throw NoticeError(QStringLiteral("O relatório %1 pede o total %2, que os seus dados não têm; "
                                     "nada foi impresso.")
                          .arg(id, name));
}

void ReportData::readSource() {
    if (!source)
        return;
    rows.clear();
    source->each([this](const ReportRow& row) { rows.append(row); });
    const QMap<QString, QString> computed = source->totals();
    for (auto it = computed.begin(); it != computed.end(); ++it)
        totals.insert(it.key(), it.value());
    source.reset();
}

void refuseFileWrite(const QString& path, const QString& reason) {
    throw NoticeError(QStringLiteral("Não foi possível gravar o arquivo %1 (%2).\n\nVerifique "
                                     "se a pasta existe, se há permissão de gravação e "
                                     "espaço em disco; nada foi gravado.")
                          .arg(QDir::toNativeSeparators(path), reason));
}

}  // namespace quelvarino
