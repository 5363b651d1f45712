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

ReportRow rowOf(const Record& r) {
    ReportRow row;
    for (auto it = r.constBegin(); it != r.constEnd(); ++it)
        row.set(it.key(), it.value());
    return row;
}

// The order as its screen shows it, with the courier's phone from the
// register and the PIX code of its stored total.
ReportData collectServiceOrder(const Criteria& c) {
    ReportData d = reportBase(QString::fromLatin1(kOrder));
    d.twoCopies = c.twoCopies;
    d.record = rowOf(orderRecord(c));
    const QString number = d.record.text(QStringLiteral("COMANDA"));
    d.record.set(QStringLiteral("TELEFONEMOTOBOY"),
                 courierPhone(d.record.text(QStringLiteral("CODMOT"))));
    // The code carries the total as stored; an order billed later
    // ("FATURADO") is paid against its invoice, not this document.
    QString pix;
    Table orders(QStringLiteral("tbordem"));
    if (!number.isEmpty() && orders.findExact(QStringLiteral("COMANDA"), number) &&
        orders.fieldByName("PAGAMENTO").asString().trimmed() != QLatin1String("FATURADO"))
        pix = documentPixPayload(QStringLiteral("OS"), number,
                                 orders.fieldByName("TOTVAL").asString());
    d.record.set(QStringLiteral("PIX"), pix);
    return d;
}

// The receipt as its screen shows it, saved or not; the client's address
// and phone from the register.
ReportData collectReceipt(const Criteria& c) {
    ReportData d = reportBase(QString::fromLatin1(kReceipt));
    d.twoCopies = c.twoCopies;
    Record r = receiptRecord(c);
    Table clients(QStringLiteral("tbclientes"));
    const QString client = r.value(QStringLiteral("COD"));
    const bool found = !client.isEmpty() && clients.findExact(QStringLiteral("CODCLI"), client);
    for (const char* f : {"ENDERECO1", "BAIRRO1", "CIDADE1", "UF1", "TELEFONE1_1"})
        r.insert(QString::fromLatin1(f), found ? clients.fieldByName(f).asString() : QString());
    // The code carries the value the receipt prints.
    r.insert(QStringLiteral("PIX"),
             documentPixPayload(QStringLiteral("RC"), r.value(QStringLiteral("RECIBO")),
                                r.value(QStringLiteral("VALOR"))));
    d.record = rowOf(r);
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
        return serviceOrderText(d.company, d.record, d.twoCopies);
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
        return receiptText(d.company, d.record, d.twoCopies);
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
