#include "reports/documents/documents.h"

#include "core/money.h"
#include "data/schema.h"
#include "data/table.h"
#include "reports/definitionparts.h"
#include "reports/htmlwriter.h"
#include "reports/pagewriter.h"
#include "reports/reportlayout.h"
#include "reports/textlayouts.h"
#include "reports/xlsxwriter.h"

namespace quelvarino {
namespace {

constexpr char kOrder[] = "21_0";
constexpr char kReceipt[] = "22_0";

using Record = QHash<QString, QString>;

// A stored record by its number ("123" finds 0000000123), its values as
// its screen shows them: money formatted. Empty when no record has that
// number.
Record storedRecord(const char* tableName, const char* keyField, const QString& number) {
    Table table(QString::fromLatin1(tableName));
    const QString key = QString::fromLatin1(keyField);
    if (number.trimmed().isEmpty() ||
        (!table.findExact(key, number) &&
         !table.findExact(key, number.trimmed().rightJustified(10, QLatin1Char('0')))))
        return {};
    Record r;
    const TableDef* def = schema::findMainTable(QString::fromLatin1(tableName));
    for (const FieldDef& f : def->fields) {
        const QString name = f.name.toUpper();
        const QString text = table.fieldByName(f.name).asString();
        if (f.type == FieldType::Money)
            r.insert(name, text.trimmed().isEmpty() ? QStringLiteral("0,00")
                                                    : formatMoney(parseMoney(text)));
        else
            r.insert(name, text);
    }
    return r;
}

// The client's first address and phones from the register, as the order
// screen shows them for a stored order.
void addClientAddress(Record& r, const QString& code) {
    Table clients(QStringLiteral("tbclientes"));
    if (code.isEmpty() || !clients.findExact(QStringLiteral("CODCLI"), code))
        return;
    for (const char* f : {"ENDERECO1", "BAIRRO1", "CIDADE1", "UF1", "CEP1", "DDD1", "TELEFONE1_1",
                          "TELEFONE1_2", "TIPOTEL1_1", "TIPOTEL1_2"})
        r.insert(QString::fromLatin1(f), clients.fieldByName(f).asString());
}

// A field nobody filled prints blank, whether the screen shows its mask
// ("     -   ") or the store holds nothing.
Record unmasked(Record r) {
    static const QStringList masked = {"DATA",        "HORA1",       "HORA2", "HORA3",
                                       "HORA4",       "CEP1",        "ANO",   "PLACAM",
                                       "TELEFONE1_1", "TELEFONE1_2", "CNPJ"};
    for (const QString& field : masked) {
        auto it = r.find(field);
        if (it != r.end() && isBlankMaskText(it.value()))
            it.value().clear();
    }
    return r;
}

Record orderRecord(const Criteria& c) {
    if (!c.record.isEmpty())
        return unmasked(c.record);
    Record r = storedRecord("tbordem", "COMANDA", c.number);
    if (!r.isEmpty())
        addClientAddress(r, r.value(QStringLiteral("CODCLI")));
    return unmasked(r);
}

Record receiptRecord(const Criteria& c) {
    return unmasked(c.record.isEmpty() ? storedRecord("tbrecibo", "RECIBO", c.number) : c.record);
}

// The courier's first phone, for the courier with exactly this code; a
// phone that holds only its mask is no phone.
QString courierPhone(const QString& code) {
    Table couriers(QStringLiteral("tbmotociclista"));
    if (!couriers.findExact(QStringLiteral("COD"), code))
        return QString();
    const QString phone = couriers.fieldByName("TELEFONE1").asString();
    return phone.trimmed() == QLatin1String("-") ? QString() : phone;
}

ReportData collectServiceOrder(const Criteria& c) {
    ReportData d = reportBase(QString::fromLatin1(kOrder));
    d.twoCopies = c.twoCopies;
    const Record r = orderRecord(c);
    auto f = [&r](const char* name) { return r.value(QString::fromLatin1(name)); };
    ServiceOrderPrint& o = d.order;
    o.data = f("DATA");
    o.comanda = f("COMANDA");
    o.codcli = f("CODCLI");
    o.cliente = f("CLIENTE");
    o.end = f("ENDERECO1");
    o.bairro = f("BAIRRO1");
    o.cid = f("CIDADE1");
    o.uf = f("UF1");
    o.cep = f("CEP1");
    o.ddd = f("DDD1");
    o.fone1 = f("TELEFONE1_1");
    o.fone2 = f("TELEFONE1_2");
    o.phones = f("TELEFONES") == QLatin1String("S");
    o.solicit = f("SOLICITANTE");
    o.hora1 = f("HORA1");
    o.hora2 = f("HORA2");
    o.hora3 = f("HORA3");
    o.hora4 = f("HORA4");
    o.codmot = f("CODMOT");
    o.motoboy = f("MOTOBOY");
    o.mar = f("MARCA");
    o.mod = f("MODELO");
    o.ano = f("ANO");
    o.plac = f("PLACAM");
    o.courierPhone = courierPhone(o.codmot);
    o.obs = f("OBSERVACAO");
    // The code carries the total as stored; an order billed later
    // ("FATURADO") is paid against its invoice, not this document.
    Table orders(QStringLiteral("tbordem"));
    if (!o.comanda.isEmpty() && orders.findExact(QStringLiteral("COMANDA"), o.comanda) &&
        orders.fieldByName("PAGAMENTO").asString().trimmed() != QLatin1String("FATURADO"))
        o.pixPayload = documentPixPayload(QStringLiteral("OS"), o.comanda,
                                          orders.fieldByName("TOTVAL").asString());
    return d;
}

// The receipt as its screen shows it, saved or not; the client's address
// and phone from the register.
ReportData collectReceipt(const Criteria& c) {
    ReportData d = reportBase(QString::fromLatin1(kReceipt));
    d.twoCopies = c.twoCopies;
    const Record rec = receiptRecord(c);
    auto f = [&rec](const char* name) { return rec.value(QString::fromLatin1(name)); };
    ReceiptPrint& r = d.receipt;
    r.recibo = f("RECIBO");
    r.codcli = f("COD");
    r.cliente = f("CLIENTE");
    r.cnpj = f("CNPJ");
    r.inscest = f("INSCEST");
    r.valor = f("VALOR");
    r.extenso = f("EXTENSO");
    r.referente = f("REFERENTE");
    r.local = f("LOCAL");
    r.data = f("DATA");
    Table clients(QStringLiteral("tbclientes"));
    if (!r.codcli.isEmpty() && clients.findExact(QStringLiteral("CODCLI"), r.codcli)) {
        r.endereco1 = clients.fieldByName("ENDERECO1").asString();
        r.bairro1 = clients.fieldByName("BAIRRO1").asString();
        r.cidade1 = clients.fieldByName("CIDADE1").asString();
        r.uf1 = clients.fieldByName("UF1").asString();
        r.telefone1 = clients.fieldByName("TELEFONE1_1").asString();
    }
    // The code carries the value the receipt prints.
    r.pixPayload = documentPixPayload(QStringLiteral("RC"), r.recibo, r.valor);
    return d;
}

// A document prints what its screen shows; without the screen (the command
// line), the stored record with that number.
Refusal checkDocument(const Criteria& c, bool order) {
    if (!c.record.isEmpty())
        return {};
    const Record r = order ? storedRecord("tbordem", "COMANDA", c.number)
                           : storedRecord("tbrecibo", "RECIBO", c.number);
    if (r.isEmpty())
        return {order ? QStringLiteral("Ordem de serviço inexistente.")
                      : QStringLiteral("Recibo inexistente."),
                {}};
    return {};
}

ReportDefinition document(const char* id, const char* requester, const char* dialog) {
    ReportDefinition e;
    e.id = QString::fromLatin1(id);
    e.kind = ReportKind::Document;
    e.requester = QString::fromLatin1(requester);
    e.dialog = QString::fromLatin1(dialog);
    e.outputs = kAllOutputs;
    e.copies = true;
    e.parameters = QStringLiteral("NUMERO [--vias 1|2]");
    return e;
}

QList<ReportDefinition> build() {
    ReportDefinition order = document(kOrder, "Quelvarino0021_0", "Quelvarino0021_5");
    order.fileStem = QStringLiteral("OS");
    order.command = QStringLiteral("ordem");
    order.pageTitle = QStringLiteral("Ordem de Serviço");
    order.check = [](const Criteria& c) { return checkDocument(c, true); };
    order.collect = collectServiceOrder;
    order.text = [](const ReportData& d) {
        return serviceOrderText(d.company, d.order, d.twoCopies);
    };
    order.pageSetUp = [](QPrinter* p, const ReportData& d) {
        PageWriter::setUpServiceOrder(p, d.twoCopies);
    };
    order.page = PageWriter::renderServiceOrder;
    order.html = HtmlWriter::renderServiceOrder;
    order.sheet = XlsxWriter::renderServiceOrder;

    ReportDefinition receipt = document(kReceipt, "Quelvarino0022_0", "Quelvarino0022_4");
    receipt.fileStem = QStringLiteral("Recibo");
    receipt.command = QStringLiteral("recibo");
    receipt.pageTitle = QStringLiteral("Recibo");
    receipt.check = [](const Criteria& c) { return checkDocument(c, false); };
    receipt.collect = collectReceipt;
    receipt.text = [](const ReportData& d) {
        return receiptText(d.company, d.receipt, d.twoCopies);
    };
    receipt.pageSetUp = [](QPrinter* p, const ReportData& d) {
        PageWriter::setUpReceipt(p, d.twoCopies);
    };
    receipt.page = PageWriter::renderReceipt;
    receipt.html = HtmlWriter::renderReceipt;
    receipt.sheet = XlsxWriter::renderReceipt;
    return {order, receipt};
}

}  // namespace

QList<ReportDefinition> documentDefinitions() {
    return build();
}

const ReportDefinition& serviceOrderDocument() {
    return *ReportCatalog::find(QString::fromLatin1(kOrder));
}

const ReportDefinition& receiptDocument() {
    return *ReportCatalog::find(QString::fromLatin1(kReceipt));
}

}  // namespace quelvarino
