#include "reports/cash/cashreports.h"

#include "core/reporttotals.h"
#include "data/query.h"
#include "data/worktables.h"
#include "reports/definitionparts.h"
#include "reports/escpwriter.h"
#include "reports/htmlwriter.h"
#include "reports/layoutparts.h"
#include "reports/pagewriter.h"
#include "reports/xlsxwriter.h"

namespace quelvarino {
namespace {

using namespace text;

// The column headings of the closings, as the printers have them.
const char* const k41a =
    "|   Data   | OS. Num. | Hor said | Hor inic | Hor final | Tot.horas | Val.hora | Hor.Nor | "
    "Hor.50% | Hor.100% |  Valor N | Valor 50% | Valor 100% | Val.Tot.OS |";
const char* const k41b =
    "| Forma de Pag. | Cliente                                                                     "
    "                                                                 |";
const char* const k42 =
    "|    Data    | OS. Num. |Forma de Pag.|Hora saida|Hora inic.|Hora "
    "final|Tot.horas|Val.hora|HorasN|Hor.50%|Hor.100%|  Valor N | Valor 50%|Valor 100%|Val.Tot.OS|";
const char* const k48c =
    "|    Data    | OS Numero  | Forma de Pagamento | Hora saida | Hora inicial | Hora final | "
    "Total de horas | Valor por Hora | Valor Total OS |";
const char* const k48m =
    "|    Data    | OS Numero  | Forma de Pagamento | Hora saida | Hora inicial | Hora final | "
    "Total de horas |  Valor das OS  | Valor OS Fixas |";

TextPiece hours(const QString& field, int width = 6) {
    return right(field, width, Format::Hours);
}

TextPiece rmoney(const QString& field, int width) {
    return right(field, width, Format::Money);
}

// A value in one cell of a heading: one space of margin where the cell is
// wider than the value's own width.
QList<TextPiece> cell(const QString& source, int own, int cellWidth, Align align, Format f) {
    const bool margin = own < cellWidth;
    TextPiece p;
    p.source = source;
    p.width = cellWidth - (margin ? 1 : 0);
    p.align = align;
    p.format = f;
    if (!margin)
        return {p};
    return align == Align::Right ? QList<TextPiece>{p, lit(" ")} : QList<TextPiece>{lit(" "), p};
}

// ---- the collected data ------------------------------------------------------------

constexpr char kByPeriod[] = "41_0";
constexpr char kByClient[] = "42_0";
constexpr char kTotalizer[] = "48_0";

// The order fields the closings select and print, in the three outputs.
const QStringList& closingFields() {
    static const QStringList fields = {
        "COMANDA",  "DATA",   "CLIENTE",   "SOLICITANTE", "HORA1",     "HORA2",    "HORA3",
        "HORA4",    "VALOR",  "TOTHORN",   "TOTHOR50",    "TOTHOR100", "VALORN",   "VALOR50",
        "VALOR100", "SEGURO", "TAXAPERIM", "PORCTAXA",    "TOTVAL",    "PAGAMENTO"};
    return fields;
}

// "Outros" is everything not paid in cash: "FATURADO" and "OUTROS".
QString paymentCondition(Payment p) {
    return p == Payment::AVista ? QStringLiteral("PAGAMENTO = :forma")
                                : QStringLiteral("PAGAMENTO <> :forma");
}

// The orders of a closing: in the period, paid in the form chosen (and of
// the client when given), in the order chosen. Only what the reports print
// is read: a year of orders goes by quicker. Unordered, for the check that
// there is one, no sort is paid for.
void openClosing(Query& q, const Criteria& c, bool ofClient, bool ordered = true) {
    q.clear();
    q.add(QStringLiteral("Select ") + closingFields().join(QStringLiteral(", ")) +
          QStringLiteral(" from TBOrdem"));
    q.add(QStringLiteral("Where %1%2 and (DATA >= :de and DATA <= :ate)")
              .arg(ofClient ? QStringLiteral("CODCLI = :cliente and ") : QString(),
                   paymentCondition(c.payment)));
    if (ordered)
        q.add(c.order == 0 ? QStringLiteral("Order By COMANDA")  // "Nº Ordem de Serviço"
                           : QStringLiteral("Order By DATA, COMANDA"));
    if (ofClient)
        q.bindText(QStringLiteral(":cliente"), sixDigits(c.client));
    q.bindText(QStringLiteral(":forma"), QStringLiteral("À VISTA"));
    q.bindDate(QStringLiteral(":de"), c.from);
    q.bindDate(QStringLiteral(":ate"), c.to);
    q.open();
}

bool found(Query& q) {
    return !q.isEmpty() && !q.fieldText(QStringLiteral("COMANDA")).isEmpty();
}

// The orders of a closing, read as they are printed, with their totals:
// each walk opens its own query and closes it at the end, so a year of
// orders is never held in memory.
class ClosingRows : public RowSource {
public:
    ClosingRows(Criteria criteria, bool ofClient)
        : criteria_(std::move(criteria)), ofClient_(ofClient) {}
    void each(const std::function<void(const ReportRow&)>& visit) override {
        MoneySum money;
        ClosingHours hours;
        Query query;
        openClosing(query, criteria_, ofClient_);
        QList<int> columns;
        for (const QString& f : closingFields())
            columns.append(query.fieldIndex(f));
        static const auto shape = ReportRow::shapeOf(closingFields());
        const int totval = int(closingFields().indexOf(QStringLiteral("TOTVAL")));
        const int hora4 = int(closingFields().indexOf(QStringLiteral("HORA4")));
        for (query.first(); !query.eof(); query.next()) {
            ReportRow row(shape);
            for (int i = 0; i < columns.size(); ++i) {
                const QString text = query.fieldText(columns[i]);
                if (i == totval)
                    money.add(text);
                else if (i == hora4)
                    hours.add(text);
                row.setAt(i, text);
            }
            visit(row);
        }
        query.close();
        totals_ = {{QStringLiteral("TOTVAL"), money.text()},
                   {QStringLiteral("HORAS"), hours.text()}};
    }
    QMap<QString, QString> totals() const override { return totals_; }

private:
    Criteria criteria_;
    bool ofClient_;
    QMap<QString, QString> totals_;
};

Refusal checkClosing(const Criteria& c, bool ofClient) {
    if (ofClient) {
        if (!c.client.isEmpty()) {
            const Refusal r = clientRefusal(c.client);
            if (r.refused())
                return r;
        }
        if (c.client.isEmpty() || c.payment == Payment::Unchosen || c.payment == Payment::Total)
            return {QStringLiteral("Selecione o cliente ou selecione qual a forma de pagamento."),
                    QStringLiteral("Edcodcli")};
        if (!c.periodGiven())
            return {QStringLiteral("Intervalos inexistentes."), QStringLiteral("Eddata1")};
    } else if (!c.periodGiven() || c.payment == Payment::Unchosen || c.payment == Payment::Total) {
        return {QStringLiteral("Intervalos inexistentes ou selecione qual a forma de pagamento."),
                QStringLiteral("Eddata1")};
    }
    if (!anyOrder())
        return nothingFound();
    Query q;
    openClosing(q, c, ofClient, false);
    return found(q) ? Refusal{} : nothingFound();
}

ReportData collectClosing(const QString& id, const Criteria& c, bool ofClient) {
    ReportData d = reportBase(id);
    putPeriod(d, c);
    if (ofClient) {
        d.subjectCode = sixDigits(c.client);
        d.subjectName = clientName(c.client);
        d.totals.insert(QStringLiteral("SUBJECT"),
                        QStringLiteral("Cliente : ") + d.subjectCode + " - " + d.subjectName);
        d.totals.insert(QStringLiteral("CODIGO"), d.subjectCode);
        d.totals.insert(QStringLiteral("NOME"), d.subjectName);
    }
    d.source = std::make_shared<ClosingRows>(c, ofClient);
    return d;
}

ReportRow rowOf(const WorkDetail& x) {
    static const auto shape =
        ReportRow::shapeOf({"CODIGO", "CLIENTE", "COMANDA", "SOLICITANTE", "HORA1", "HORA2",
                            "HORA3", "HORA4", "VALOR", "TAXA", "TOTVAL", "PAGAMENTO", "DATA"});
    ReportRow r(shape);
    r.set(QStringLiteral("CODIGO"), x.codigo);
    r.set(QStringLiteral("CLIENTE"), x.cliente);
    r.set(QStringLiteral("COMANDA"), x.comanda);
    r.set(QStringLiteral("SOLICITANTE"), x.solicitante);
    r.set(QStringLiteral("HORA1"), x.hora1);
    r.set(QStringLiteral("HORA2"), x.hora2);
    r.set(QStringLiteral("HORA3"), x.hora3);
    r.set(QStringLiteral("HORA4"), x.hora4);
    r.set(QStringLiteral("VALOR"), x.valor);
    r.set(QStringLiteral("TAXA"), x.taxa);
    r.set(QStringLiteral("TOTVAL"), x.totval);
    r.set(QStringLiteral("PAGAMENTO"), x.pagamento);
    r.set(QStringLiteral("DATA"), x.data);
    return r;
}

bool byCourier(const ReportData& d) {
    return d.totals.value(QStringLiteral("KIND")) == QLatin1String("Motoboy");
}

// Walks the totalizer's groups from the work tables with their subtotals:
// the value of the orders (for couriers their hourly and their fixed
// value), and with `withFee` the perimeter fee too, each value rounded as
// printed. Returns the grand total, the sum of the subtotals.
QString walkTotalizer(bool couriers,
                      bool withFee,
                      const std::function<void(const QString&, const QString&)>& group,
                      const std::function<void(const ReportRow&)>& row,
                      const std::function<void(const QString& subtotal)>& groupEnd) {
    MoneySum grand(true);
    MoneySum sub(true);
    WorkTables::walk(
        [&](const QString& code, const QString& name) {
            sub = MoneySum(true);
            group(code, name);
        },
        [&](const WorkDetail& x) {
            sub.add(x.totval);
            if (couriers)
                sub.add(x.valor);
            if (withFee)
                sub.add(x.taxa);
            row(rowOf(x));
        },
        [&] {
            const QString subtotal = sub.text();
            grand.add(subtotal);
            groupEnd(subtotal);
        });
    return grand.text();
}

// The orders of the totalizer, client after client (or courier after
// courier) in code order, each one's orders in the chosen order: selected
// so, the work tables are written in print order and read back straight
// through.
void openTotalizer(Query& q, const Criteria& c, bool ordered = true) {
    const bool couriers = c.groupBy == GroupBy::Couriers;
    q.clear();
    q.add(
        QStringLiteral("Select COMANDA, DATA, CODCLI, CLIENTE, CODMOT, MOTOBOY, SOLICITANTE, "
                       "HORA1, HORA2, HORA3, HORA4, VALOR, TOTVAL, TOTTAXA, TOTVALMOT, VALMOT, "
                       "TOTTAXAM, PAGAMENTO from TBOrdem"));
    if (c.payment == Payment::Total)
        q.add(QStringLiteral("Where DATA >= :de and DATA <= :ate"));
    else
        q.add(QStringLiteral("Where %1 and (DATA >= :de and DATA <= :ate)")
                  .arg(paymentCondition(c.payment)));
    const QString code = couriers ? QStringLiteral("CODMOT") : QStringLiteral("CODCLI");
    if (ordered && c.order == 1)  // "Cliente ou Motoboy"
        q.add(QStringLiteral("Order By %1, %2, DATA, COMANDA")
                  .arg(code, couriers ? QStringLiteral("MOTOBOY") : QStringLiteral("CLIENTE")));
    else if (ordered)  // "Código", "Data" or nothing chosen: by date within each code
        q.add(QStringLiteral("Order By %1, DATA, COMANDA").arg(code));
    if (c.payment != Payment::Total)
        q.bindText(QStringLiteral(":forma"), QStringLiteral("À VISTA"));
    q.bindDate(QStringLiteral(":de"), c.from);
    q.bindDate(QStringLiteral(":ate"), c.to);
    q.open();
}

Refusal checkTotalizer(const Criteria& c) {
    if (!c.periodGiven() || c.groupBy == GroupBy::Unchosen || c.payment == Payment::Unchosen)
        return {QStringLiteral(
                    "Intervalos inexistentes, tipo de relatório e qual a forma de pagamento."),
                QStringLiteral("Eddata1")};
    if (!anyOrder())
        return nothingFound();
    Query q;
    openTotalizer(q, c, false);
    return found(q) ? Refusal{} : nothingFound();
}

// Every order copied into the work tables in one transaction.
void fillWorkTables(const Criteria& c) {
    WorkTables::clear();
    const bool couriers = c.groupBy == GroupBy::Couriers;
    Query q;
    openTotalizer(q, c);
    // A fee that is empty or negative goes in as no fee.
    auto fee = [](const QString& text) {
        return text.isEmpty() || text < QLatin1String("0") ? QStringLiteral("0,00") : text;
    };
    const int total = c.progress ? q.recordCount() : 0;
    if (c.progress)
        c.progress(0, total);
    WorkTableFill fill;
    int n = 0;
    WorkDetail d;
    QHash<QByteArray, int> at;
    auto f = [&q, &at](const char* name) {
        auto it = at.constFind(QByteArray::fromRawData(name, int(qstrlen(name))));
        if (it == at.constEnd())
            it = at.insert(QByteArray(name), q.fieldIndex(QString::fromLatin1(name)));
        return q.fieldText(it.value());
    };
    for (q.first(); !q.eof(); q.next()) {
        d.codigo = couriers ? f("CODMOT") : f("CODCLI");
        d.cliente = couriers ? f("MOTOBOY") : f("CLIENTE");
        d.comanda = f("COMANDA");
        d.solicitante = f("SOLICITANTE");
        d.hora1 = f("HORA1");
        d.hora2 = f("HORA2");
        d.hora3 = f("HORA3");
        d.hora4 = f("HORA4");
        d.valor = couriers ? f("TOTVALMOT") : f("VALOR");
        d.taxa = fee(couriers ? f("TOTTAXAM") : f("TOTTAXA"));
        d.totval = couriers ? f("VALMOT") : f("TOTVAL");
        d.pagamento = f("PAGAMENTO");
        d.data = f("DATA");
        fill.add(d);
        if (++n % 500 == 0 && c.progress)
            c.progress(n, total);
    }
    fill.commit();
    q.close();
    if (c.progress)
        c.progress(n, total);
}

// The orders are copied into the work tables here; the text and the HTML
// read them as they write.
ReportData collectTotalizer(const Criteria& c) {
    ReportData d = reportBase(QString::fromLatin1(kTotalizer));
    const bool couriers = c.groupBy == GroupBy::Couriers;
    putPeriod(d, c);
    d.totals.insert(QStringLiteral("KIND"),
                    couriers ? QStringLiteral("Motoboy") : QStringLiteral("Cliente"));
    fillWorkTables(c);
    return d;
}

// The page and the spreadsheet show the groups with their subtotals (the
// perimeter fee included), read from the work tables.
ReportData withGroups(const ReportData& data) {
    ReportData d = data;
    d.groups.clear();
    const QString total = walkTotalizer(
        byCourier(d), true,
        [&d](const QString& code, const QString& name) {
            ReportGroup g;
            g.head.set(QStringLiteral("CODIGO"), code);
            g.head.set(QStringLiteral("CLIENTE"), name);
            d.groups.append(g);
        },
        [&d](const ReportRow& r) { d.groups.last().rows.append(r); },
        [&d](const QString& subtotal) {
            d.groups.last().totals.insert(QStringLiteral("SUBTOTALPAGINA"), subtotal);
        });
    d.totals.insert(QStringLiteral("TOTALPAGINA"), total);
    return d;
}

}  // namespace

// ---- dot matrix ------------------------------------------------------------------

const TextLayout& cashByPeriodText() {
    static const TextLayout layout = [] {
        TextLayout l;
        l.title = QString(24, QLatin1Char(' ')) + "FECHAMENTO   DO   CAIXA   POR   PERIODO";
        l.period = true;
        l.headings = {QString::fromLatin1(k41a), QString::fromLatin1(k41b)};
        l.firstPage = 22;
        l.perPage = 25;
        const int clientWidth = int(QString::fromLatin1(k41b).size()) - 18 - 1;
        l.row = {line({lit("|"),     field("DATA", 10),      lit("|"),      field("COMANDA", 10),
                       lit("|  "),   hours("HORA1"),         lit("  |  "),  hours("HORA2"),
                       lit(" |  "),  hours("HORA3"),         lit("   |  "), hours("HORA4"),
                       lit("   | "), rmoney("VALOR", 8),     lit(" |  "),   hours("TOTHORN"),
                       lit(" |  "),  hours("TOTHOR50"),      lit(" |  "),   hours("TOTHOR100"),
                       lit("  |"),   rmoney("VALORN", 10),   lit("|"),      rmoney("VALOR50", 10),
                       lit(" | "),   rmoney("VALOR100", 10), lit(" | "),    rmoney("TOTVAL", 10),
                       lit(" |")}),
                 line({lit("| "), field("PAGAMENTO", 13), lit(" | "), field("CLIENTE", clientWidth),
                       lit("|")})};
        l.totals = {emphasised({lit("TOTAL GERAL DO CAIXA   :"), right("=TOTVAL", 10)})};
        return l;
    }();
    return layout;
}

const TextLayout& cashByClientText() {
    static const TextLayout layout = [] {
        TextLayout l;
        l.title = QString(24, QLatin1Char(' ')) + "FECHAMENTO   DO   CAIXA   POR   CLIENTE";
        l.period = true;
        l.subjectLabel = QStringLiteral("Cliente : ");
        l.headings = {QString::fromLatin1(k42)};
        l.firstPage = 22;
        l.perPage = 25;
        // Each value in its heading cell, in the heading's order.
        struct Column {
            const char* source;
            int own;
            Align align;
            Format format;
        };
        const Column columns[] = {{"DATA", 10, Align::Left, Format::Text},
                                  {"COMANDA", 10, Align::Left, Format::Text},
                                  {"PAGAMENTO", 13, Align::Left, Format::Text},
                                  {"HORA1", 6, Align::Right, Format::Hours},
                                  {"HORA2", 6, Align::Right, Format::Hours},
                                  {"HORA3", 6, Align::Right, Format::Hours},
                                  {"HORA4", 6, Align::Right, Format::Hours},
                                  {"VALOR", 8, Align::Right, Format::Money},
                                  {"TOTHORN", 6, Align::Right, Format::Hours},
                                  {"TOTHOR50", 6, Align::Right, Format::Hours},
                                  {"TOTHOR100", 6, Align::Right, Format::Hours},
                                  {"VALORN", 10, Align::Right, Format::Money},
                                  {"VALOR50", 10, Align::Right, Format::Money},
                                  {"VALOR100", 10, Align::Right, Format::Money},
                                  {"TOTVAL", 10, Align::Right, Format::Money}};
        const QStringList cells =
            QString::fromLatin1(k42).split(QLatin1Char('|'), Qt::SkipEmptyParts);
        QList<TextPiece> row = {lit("|")};
        for (int i = 0; i < cells.size(); ++i) {
            row += cell(QString::fromLatin1(columns[i].source), columns[i].own,
                        int(cells[i].size()), columns[i].align, columns[i].format);
            row += lit("|");
        }
        l.row = {line(row)};
        l.totals = {siOnly(), emphasised({lit("TOTAL GERAL DE HORAS   :"), field("=HORAS")}),
                    siOnly(), emphasised({lit("TOTAL GERAL DO CAIXA   :"), right("=TOTVAL", 10)})};
        return l;
    }();
    return layout;
}

// The totalizer counts lines, not rows: 60 to a page, the first page from
// line 9 after the title block; headings are not repeated.
QByteArray totalizerText(const ReportData& d) {
    const bool couriers = byCourier(d);
    TextDocument doc;
    doc.header(d.company,
               QString(19, QLatin1Char(' ')) + "RELATORIO TOTALIZADOR DE SERVICOS POR PERIODO");
    doc.condensed(QString());
    doc.line(esc::condensed + esc::boldOn + esc::wideOn,
             QString(27, QLatin1Char(' ')) + "DE: " + d.periodFrom + "    ATE: " + d.periodTo +
                 QString::fromLatin1(esc::wideOff + esc::boldOff));
    int lines = 9;
    auto counted = [&](const std::function<void()>& write) {
        write();
        if (++lines >= 60) {
            lines = 1;
            doc.pageFeed();
        }
    };
    auto pad = [](const QString& t, int w) { return padRight(t, w); };
    auto money = [](const QString& t, int w) { return padLeft(formatValue(Format::Money, t), w); };
    const QString total = walkTotalizer(
        couriers, false,
        [&](const QString& code, const QString& name) {
            counted([&] { doc.separator(); });
            counted([&] {
                doc.emphasised(QString(couriers ? " Motoboy : " : " Cliente : ") + code + " - " +
                               name);
            });
            counted([&] { doc.separator(); });
            counted([&] { doc.condensed(QString::fromLatin1(couriers ? k48m : k48c)); });
            counted([&] { doc.separator(); });
        },
        [&](const ReportRow& r) {
            counted([&] {
                doc.condensed("| " + pad(r.text("DATA"), 10) + " | " + pad(r.text("COMANDA"), 10) +
                              " | " + pad(r.text("PAGAMENTO"), 13) + "      |   " +
                              pad(r.text("HORA1"), 6) + "   |    " + pad(r.text("HORA2"), 6) +
                              "    |   " + pad(r.text("HORA3"), 6) + "   |     " +
                              pad(r.text("HORA4"), 6) + "     |    " + money(r.text("VALOR"), 8) +
                              "    |   " + money(r.text("TOTVAL"), 10) + "   |");
            });
        },
        [&](const QString& subtotal) {
            counted([&] { doc.separator(); });
            counted([&] {
                doc.emphasised(
                    QString(25, QLatin1Char(' ')) +
                    (couriers ? "SUB-TOTAL POR MOTOBOY    :" : "SUB-TOTAL POR CLIENTE    :") +
                    padLeft(subtotal, 10));
            });
        });
    counted([&] {
        doc.line(esc::condensed + esc::boldOn + esc::wideOn,
                 QString(25, QLatin1Char(' ')) + "TOTAL GERAL DOS SERVICOS :" + padLeft(total, 10) +
                     QString::fromLatin1(esc::wideOff));
    });
    doc.pageFeed();
    return doc.bytes();
}

// ---- page -----------------------------------------------------------------------

namespace {

QList<PageCell> closingColumns(bool withClient) {
    const Format m = Format::Money;
    QList<PageCell> c = {pc("O.S. Nº.", "COMANDA", 13), pc("Data", "DATA", 17, Format::Date)};
    if (withClient)
        c.append(pc("Cliente", "CLIENTE", 28));
    c += {pc("Hr.Saída", "HORA1", 12, Format::Hours, Align::Center),
          pc("Hr.Inicial", "HORA2", 12, Format::Hours, Align::Center),
          pc("Hr.Final", "HORA3", 12, Format::Hours, Align::Center),
          pc("Tot.Horas", "HORA4", 14, Format::Hours, Align::Center),
          pc("Vl.porHr.", "VALOR", 13, m, Align::Right),
          pc("Hr.Normal", "TOTHORN", 14, Format::Hours, Align::Center),
          pc("Hr.50%", "TOTHOR50", 12, Format::Hours, Align::Center),
          pc("Hr.100%", "TOTHOR100", 12, Format::Hours, Align::Center),
          pc("Vlr.Normal", "VALORN", 14, m, Align::Right),
          pc("Vlr.50%", "VALOR50", 14, m, Align::Right),
          pc("Vlr.100%", "VALOR100", 14, m, Align::Right),
          pc("Solicitante", "SOLICITANTE", withClient ? 20 : 44),
          pc("Seguro", "SEGURO", 13, m, Align::Right),
          pc("Tx.Perim.", "TAXAPERIM", 14, m, Align::Right),
          pc("%TxPerim.", "PORCTAXA", 14, Format::Integer, Align::Right),
          pc("Vl.Tot.OS.", "TOTVAL", 16, m, Align::Right)};
    return c;
}

}  // namespace

const PageLayout& cashByPeriodPage() {
    static const PageLayout layout{
        .title = QStringLiteral("FECHAMENTO DO CAIXA POR PERÍODO"),
        .paper = QPageSize::A4,
        .orientation = QPageLayout::Landscape,
        .columns = closingColumns(true),
        .summary = {ps("TOTAL GERAL DO CAIXA :", "=TOTVAL", Format::Currency, {"TOTVAL"})}};
    return layout;
}

const PageLayout& cashByClientPage() {
    static const PageLayout layout{
        .title = QStringLiteral("FECHAMENTO DO CAIXA POR CLIENTE"),
        .paper = QPageSize::A4,
        .orientation = QPageLayout::Landscape,
        .marginsMm = QMarginsF(10, 8, 8, 10),
        .columns = closingColumns(false),
        .summary = {ps("TOTAL GERAL DE HORAS : ", "=HORAS", Format::Text, {"HORA4"}),
                    ps("TOTAL GERAL DO CAIXA :", "=TOTVAL", Format::Currency, {"TOTVAL"})}};
    return layout;
}

// The captions of the client and the courier totalizer differ.
const PageLayout& totalizerPage(bool couriers) {
    static const PageLayout clients = [] {
        PageLayout l;
        l.title = QStringLiteral("Relatório Totalizador de Serviços");
        l.paper = QPageSize::A4;
        l.groupLabel = QStringLiteral("Cliente :");
        l.columns = {pc("O.S. Nº.", "COMANDA", 20),
                     pc("Data", "DATA", 18, Format::Date),
                     pc("Forma Pag.", "PAGAMENTO", 20),
                     pc("Hora saída", "HORA1", 14, Format::Hours, Align::Center),
                     pc("Hora inicial", "HORA2", 15, Format::Hours, Align::Center),
                     pc("Hora final", "HORA3", 14, Format::Hours, Align::Center),
                     pc("Tot. horas", "HORA4", 14, Format::Hours, Align::Center),
                     pc("Val. por hora", "VALOR", 19, Format::Money, Align::Right),
                     pc("Val. Tot. da OS.", "TOTVAL", 22, Format::Money, Align::Right),
                     pc("Tx. Perimetro", "TAXA", 20, Format::Money, Align::Right)};
        // A client's subtotal adds the orders' values and their perimeter
        // fees; the grand total adds the subtotals.
        l.groupSummary = {
            ps("SUB-TOTAL POR CLIENTE :", "SUBTOTALPAGINA", Format::Currency, {"TOTVAL", "TAXA"})};
        l.summary = {
            ps("TOTAL GERAL DOS SERVIÇOS:", "=TOTALPAGINA", Format::Currency, {"SUBTOTALPAGINA"})};
        return l;
    }();
    static const PageLayout couriersLayout = [] {
        PageLayout l = clients;
        l.groupLabel = QStringLiteral("Motoboy :");
        l.columns[7].label = QStringLiteral("Valor das OS");
        l.columns[8].label = QStringLiteral("Val. OS Fixas");
        l.groupSummary[0].label = QStringLiteral("SUB-TOTAL POR MOTOBOY :");
        l.groupSummary[0].sums = QStringList{"TOTVAL", "VALOR", "TAXA"};  // and the fixed values
        return l;
    }();
    return couriers ? couriersLayout : clients;
}

// ---- HTML -----------------------------------------------------------------------

namespace {

QList<HtmlColumn> closingHtmlColumns(bool withClient) {
    const Align r = Align::Right;
    const Format m = Format::Money;
    QList<HtmlColumn> c = {hc("Data", 50, "DATA", 50), hc("OS No.", 60, "COMANDA", 60)};
    if (withClient)
        c.append(hc("Cliente", 150, "CLIENTE", 300, Align::Left, Format::Text, 15));
    c += {hc("Solicitante", 60, "SOLICITANTE", 60),
          hc("Hr.Saida", 50, "HORA1", 50, Align::Left, Format::Hours),
          hc("Hr.Inicial", 50, "HORA2", 50, Align::Left, Format::Hours),
          hc("Hr.Final", 50, "HORA3", 50, Align::Left, Format::Hours),
          hc("Tot.Horas", 50, "HORA4", 50, Align::Left, Format::Hours),
          hc("Hr.Normal", 80, "TOTHORN", 80),
          hc("Hr.50%", 80, "TOTHOR50", 80),
          hc("Hr.100%", 80, "TOTHOR100", 80),
          hc("Vlr.Normal", 80, "VALORN", 80, r, m),
          hc("Vlr.50%", 80, "VALOR50", 80, r, m),
          hc("Vlr.100%", 80, "VALOR100", 80, r, m),
          hc("Seguro", 80, "SEGURO", 80, r, m),
          hc("Tx.Perim.", 80, "TAXAPERIM", 90, r, m),
          hc("%Tx.Perim.", 90, "PORCTAXA", 80, r, m),
          hc("Vl.porHr.", 80, "VALOR", 80, r, m),
          hc("Vl.Tot.OS.", 80, "TOTVAL", 80, r, m)};
    return c;
}

}  // namespace

const HtmlLayout& cashByPeriodHtml() {
    static const HtmlLayout layout{
        .title = QStringLiteral("Fechamento do Caixa por Periodo"),
        .heading = QStringLiteral("FECHAMENTO DO CAIXA POR PERIODO"),
        .ruleAfterHeading = false,
        .closingOnOneLine = true,
        .before = {QString::fromLatin1(kHtmlPeriodLine)},
        .tableWidth = 1450,
        .columns = closingHtmlColumns(true),
        .after = {QStringLiteral(" <br>"),
                  QStringLiteral("<div align=\"left\">TOTAL GERAL DO CAIXA : {=TOTVAL}</div><br>"),
                  QStringLiteral(" <br>"), QStringLiteral(" <br>")}};
    return layout;
}

const HtmlLayout& cashByClientHtml() {
    static const HtmlLayout layout{
        .title = QStringLiteral("Fechamento do Caixa por Cliente"),
        .heading = QStringLiteral("FECHAMENTO DO CAIXA POR CLIENTE"),
        .ruleAfterHeading = false,
        .before = {QString::fromLatin1(kHtmlPeriodLine),
                   QStringLiteral("<div align=\"left\">Cliente : {=CODIGO} - {=NOME}</div><br>")},
        .tableWidth = 1300,
        .columns = closingHtmlColumns(false),
        .after = {QStringLiteral("<div align=\"left\">TOTAL GERAL DE HORAS : {=HORAS}</div><br>"),
                  QStringLiteral(" <br>"),
                  QStringLiteral("<div align=\"left\">TOTAL GERAL DO CAIXA : {=TOTVAL}</div><br>"),
                  QStringLiteral(" <br>")}};
    return layout;
}

QByteArray totalizerHtml(const ReportData& d) {
    const bool couriers = byCourier(d);
    const Format m = Format::Money;
    const Align r = Align::Right;
    HtmlLayout l;
    l.title = QStringLiteral("Relatorio Totalizador de Servicos");
    l.heading = QStringLiteral("RELATORIO TOTALIZADOR DE SERVIÇOS");
    l.tableWidth = 860;
    l.columns = {hc("Data", 50, "DATA", 50),
                 hc("OS No.", 60, "COMANDA", 60),
                 hc("Forma Pagamento", 100, "PAGAMENTO", 100),
                 hc("Hora Saida", 100, "HORA1", 100, Align::Left, Format::Hours),
                 hc("Hora Inicial", 100, "HORA2", 100, Align::Left, Format::Hours),
                 hc("Hora Final", 100, "HORA3", 100, Align::Left, Format::Hours),
                 hc("Total de Horas", 100, "HORA4", 100, Align::Left, Format::Hours),
                 hc(couriers ? "Valor das OS" : "Valor por Hora", 100, "VALOR", 100, r, m),
                 hc(couriers ? "Valor OS Fixas" : "Valor Total OS", 150, "TOTVAL", 150, r, m)};
    l.before = {QString::fromLatin1(kHtmlPeriodLine)};
    HtmlWriter html(d, l);
    const QString total = walkTotalizer(
        couriers, false,
        [&](const QString& code, const QString& name) {
            html.line(QStringLiteral("<div align=\"left\">") +
                      (couriers ? "Motoboy : " : "Cliente : ") + HtmlWriter::escape(code) + " - " +
                      HtmlWriter::escape(name) + QStringLiteral("</div><br>"));
            html.line(QStringLiteral(" <br>"));
            html.startTable();
        },
        [&](const ReportRow& row) { html.tableRow(row); },
        [&](const QString& subtotal) {
            html.endTable();
            html.line(QStringLiteral("<div align=\"left\">") +
                      (couriers ? "SUB-TOTAL POR MOTOBOY : " : "SUB-TOTAL POR CLIENTE : ") +
                      subtotal + QStringLiteral("</div><br>"));
            html.line(QStringLiteral(" <br>"));
            html.line(QStringLiteral("<hr size=3></hr>"));
        });
    html.line(QStringLiteral("<div align=\"left\">TOTAL GERAL DOS SERVICOS : ") + total +
              QStringLiteral("</div><br>"));
    html.line(QStringLiteral(" <br>"));
    return html.finish();
}

// ---- the definitions -----------------------------------------------------------

namespace {

ReportDefinition closing(const char* id, bool ofClient) {
    ReportDefinition e;
    e.id = QString::fromLatin1(id);
    e.outputs = kAllOutputs;
    e.orders = {QStringLiteral("Nº Ordem de Serviço"), QStringLiteral("Data")};
    e.check = [ofClient](const Criteria& c) { return checkClosing(c, ofClient); };
    e.collect = [id = e.id, ofClient](const Criteria& c) {
        return collectClosing(id, c, ofClient);
    };
    e.fields = closingFields();
    e.totals = {"DE", "ATE", "TOTVAL", "HORAS"};
    if (ofClient)
        e.totals += {"SUBJECT", "CODIGO", "NOME"};
    return e;
}

QList<ReportDefinition> build() {
    const QString noHint;
    ReportDefinition byPeriod = closing(kByPeriod, false);
    placeIn(byPeriod,
            {"Quelvarino0041_0",
             "Fechamento do  Caixa",
             {QStringLiteral("Fechamento do Caixa por Período"),
              QStringLiteral("FechamentodoCaixaporperodo1"), noHint, QStringLiteral("Eddata1")},
             "Quelvarino0041_1",
             "Rel01",
             "fechamento-caixa",
             "[--de D --ate D] --pagamento avista|outros [--ordem O]"});
    byPeriod.closesAfterFiles = true;
    byPeriod.resetsAfterEveryPrint = true;
    writtenFrom(byPeriod, cashByPeriodText, cashByPeriodPage, cashByPeriodHtml);

    ReportDefinition byClient = closing(kByClient, true);
    placeIn(byClient,
            {"Quelvarino0042_0",
             "Fechamento do Caixa  por Cliente",
             {QStringLiteral("Fechamento do Caixa por Cliente"),
              QStringLiteral("FechamentodoCaixaporCliente1"), noHint, QStringLiteral("Edcodcli")},
             "Quelvarino0042_1",
             "Rel02",
             "fechamento-cliente",
             "[--de D --ate D] --cliente C --pagamento avista|outros [--ordem O]"});
    writtenFrom(byClient, cashByClientText, cashByClientPage, cashByClientHtml);

    ReportDefinition totalizer;
    totalizer.id = QString::fromLatin1(kTotalizer);
    placeIn(totalizer,
            {"Quelvarino0048_0",
             "Relatório Totalizador de Serviços por Período",
             {QStringLiteral("Relatório Totalizador de Serviços"),
              QStringLiteral("RelatrioTotalizadordeServios1"), noHint, QStringLiteral("Eddata1")},
             "Quelvarino0048_1",
             "Rel08",
             "totalizador",
             "[--de D --ate D] --agrupar cliente|motoboy --pagamento "
             "avista|outros|total [--ordem O]"});
    totalizer.outputs = kAllOutputs;
    totalizer.orders = {QStringLiteral("Código"), QStringLiteral("Cliente ou Motoboy"),
                        QStringLiteral("Data")};
    totalizer.pageTitle = totalizerPage(false).title;
    totalizer.check = checkTotalizer;
    totalizer.collect = collectTotalizer;
    totalizer.fields = {"CODIGO", "CLIENTE",   "COMANDA", "SOLICITANTE",   "HORA1",
                        "HORA2",  "HORA3",     "HORA4",   "VALOR",         "TAXA",
                        "TOTVAL", "PAGAMENTO", "DATA",    "SUBTOTALPAGINA"};  // a group's subtotal
    totalizer.totals = {"DE", "ATE", "KIND", "TOTALPAGINA"};
    totalizer.text = totalizerText;
    totalizer.pageSetUp = [](QPrinter* p, const ReportData& d) {
        PageWriter::setUp(p, totalizerPage(byCourier(d)));
    };
    totalizer.page = [](const ReportData& d, QPrinter* p) {
        PageWriter::render(withGroups(d), totalizerPage(byCourier(d)), p);
    };
    totalizer.html = totalizerHtml;
    totalizer.sheet = [](const ReportData& d, const QString& path) {
        XlsxWriter::render(withGroups(d), totalizerPage(byCourier(d)), path);
    };
    totalizer.pageLayouts = {&totalizerPage(false), &totalizerPage(true)};
    return {byPeriod, byClient, totalizer};
}

}  // namespace

QList<ReportDefinition> cashDefinitions() {
    return build();
}

const ReportDefinition& cashByPeriodReport() {
    return *ReportCatalog::find(QString::fromLatin1(kByPeriod));
}

const ReportDefinition& cashByClientReport() {
    return *ReportCatalog::find(QString::fromLatin1(kByClient));
}

const ReportDefinition& totalizerReport() {
    return *ReportCatalog::find(QString::fromLatin1(kTotalizer));
}

}  // namespace quelvarino
