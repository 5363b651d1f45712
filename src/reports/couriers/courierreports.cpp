// The reports on one courier and the listing of the orders issued, in
// every output.
#include "reports/couriers/courierreports.h"

#include "core/dates.h"
#include "core/reporttotals.h"
#include "data/query.h"
#include "reports/definitionparts.h"
#include "reports/escpwriter.h"
#include "reports/layoutparts.h"

namespace quelvarino {
namespace {

using namespace text;

constexpr char kClosing[] = "43_0";
constexpr char kExpenses[] = "44_0";
constexpr char kHours[] = "45_0";
constexpr char kOrders[] = "46_0";
constexpr char kSalaried[] = "47_0";

// The fields the courier reports read from the orders and the expense
// entries.
const QStringList& courierOrderFields() {
    static const QStringList fields = {"COMANDA",  "DATA",      "CLIENTE",   "HORA1",
                                       "HORA2",    "HORA3",     "HORA4",     "TOTHORN",
                                       "TOTHOR50", "TOTHOR100", "TOTVALMOT", "VALMOT"};
    return fields;
}

const QStringList& courierExpenseFields() {
    static const QStringList fields = {"CONT",    "DATA",  "NUMDESP", "CODDESP",
                                       "DESPESA", "VALOR", "CODMOT"};
    return fields;
}

void bindPeriod(Query& q, const Criteria& c) {
    q.bindDate(QStringLiteral(":de"), c.from);
    q.bindDate(QStringLiteral(":ate"), c.to);
}

// The orders of the courier in the period, ordered as given.
void selectOrders(Query& q, const Criteria& c, const QString& orderBy) {
    q.clear();
    q.add(QStringLiteral("Select ") + courierOrderFields().join(QStringLiteral(", ")) +
          QStringLiteral(" from TBOrdem"));
    q.add(QStringLiteral("Where CODMOT = :motoboy and (DATA >= :de and DATA <= :ate)"));
    q.add(orderBy);
    q.bindText(QStringLiteral(":motoboy"), sixDigits(c.courier));
    bindPeriod(q, c);
    q.open();
}

// The expense entries of the courier in the period.
void selectExpenses(Query& q, const Criteria& c, const QString& orderBy) {
    q.clear();
    q.add(QStringLiteral("Select ") + courierExpenseFields().join(QStringLiteral(", ")) +
          QStringLiteral(" from TBEntrDesp"));
    q.add(QStringLiteral("Where CODMOT = :motoboy and (DATA >= :de and DATA <= :ate)"));
    q.add(orderBy);
    q.bindText(QStringLiteral(":motoboy"), sixDigits(c.courier));
    bindPeriod(q, c);
    q.open();
}

QString ordersOrder(const ReportDefinition& e, const Criteria& c) {
    // The hours listing may go by number ("Nº Ordem de Serviço"); the rest by date.
    return e.id == QLatin1String(kHours) && c.order == 0 ? QStringLiteral("Order By COMANDA")
                                                         : QStringLiteral("Order By DATA, COMANDA");
}

QString expensesOrder(const Criteria& c, bool byExpenseFirst) {
    return byExpenseFirst && c.order == 0 ? QStringLiteral("Order By DESPESA, DATA, CONT")
                                          : QStringLiteral("Order By DATA, CONT");
}

ReportData courierBase(const QString& id, const Criteria& c) {
    ReportData d = reportBase(id);
    putPeriod(d, c);
    d.subjectCode = sixDigits(c.courier);
    d.subjectName = courierName(c.courier);
    d.totals.insert(QStringLiteral("SUBJECT"),
                    QStringLiteral("Motoboy : ") + d.subjectCode + " - " + d.subjectName);
    d.totals.insert(QStringLiteral("CODIGO"), d.subjectCode);
    d.totals.insert(QStringLiteral("NOME"), d.subjectName);
    return d;
}

// The hours, values and expenses of the courier closing and the hours
// listing, worked out before the first line is written.
void courierTotals(ReportData& d, const Criteria& c) {
    CourierTotalizer t(courierField(c.courier, "VALOR"));
    Query orders;
    selectOrders(orders, c, QStringLiteral("Order By DATA, COMANDA"));
    const int n = orders.fieldIndex(QStringLiteral("TOTHORN"));
    const int h50 = orders.fieldIndex(QStringLiteral("TOTHOR50"));
    const int h100 = orders.fieldIndex(QStringLiteral("TOTHOR100"));
    const int fixed = orders.fieldIndex(QStringLiteral("VALMOT"));
    for (orders.first(); !orders.eof(); orders.next())
        t.addOrder(orders.fieldText(n), orders.fieldText(h50), orders.fieldText(h100),
                   orders.fieldText(fixed));
    orders.close();
    // Only the expenses of the period are taken off.
    Query expenses;
    selectExpenses(expenses, c, QStringLiteral("Order By DATA, CONT"));
    for (expenses.first(); !expenses.eof(); expenses.next())
        t.addExpense(expenses.fieldText(QStringLiteral("VALOR")));
    expenses.close();
    const CourierTotals x = t.totals();
    d.totals.insert(QStringLiteral("VALORHORA"), x.rate);
    d.totals.insert(QStringLiteral("HN"), x.hoursNormal);
    d.totals.insert(QStringLiteral("H50"), x.hours50);
    d.totals.insert(QStringLiteral("H100"), x.hours100);
    d.totals.insert(QStringLiteral("VN"), x.valueNormal);
    d.totals.insert(QStringLiteral("V50"), x.value50);
    d.totals.insert(QStringLiteral("V100"), x.value100);
    d.totals.insert(QStringLiteral("FIXAS"), x.fixed);
    d.totals.insert(QStringLiteral("DESPESAS"), x.expenses);
    d.totals.insert(QStringLiteral("RECEBER"), x.toReceive);
}

QString expenseTotal(const QList<ReportRow>& rows) {
    MoneySum sum(true);
    for (const ReportRow& r : rows)
        sum.add(r.text(QStringLiteral("VALOR")));
    return sum.text();
}

QList<ReportRow> rowsOf(Query& q, const QStringList& fields) {
    QList<ReportRow> rows = ReportRow::fromQuery(q, fields);
    q.close();
    return rows;
}

// The orders of the listing, read as they are printed, with their hours:
// each walk opens its own query and closes it.
class ListingRows : public RowSource {
public:
    explicit ListingRows(Criteria criteria) : criteria_(std::move(criteria)) {}
    void each(const std::function<void(const ReportRow&)>& visit) override {
        static const QStringList fields = {"COMANDA", "DATA", "CLIENTE", "HORA4"};
        static const auto shape = ReportRow::shapeOf(fields);
        BandHours hours;
        Query query;
        selectListing(query, criteria_);
        QList<int> columns;
        for (const QString& f : fields)
            columns.append(query.fieldIndex(f));
        for (query.first(); !query.eof(); query.next()) {
            ReportRow row(shape);
            for (int i = 0; i < columns.size(); ++i)
                row.setAt(i, query.fieldText(columns[i]));
            hours.add(row.at(3));
            visit(row);
        }
        query.close();
        totals_ = {{QStringLiteral("HORAS"), hours.text()}};
    }
    QMap<QString, QString> totals() const override { return totals_; }

    // Every order of the period as it was issued.
    static void selectListing(Query& q, const Criteria& c) {
        q.clear();
        q.add(QStringLiteral("Select COMANDA, DATA, CLIENTE, HORA4 from TBOrdem"));
        q.add(QStringLiteral("Where (DATA >= :de and DATA <= :ate)"));
        q.add(QStringLiteral("Order By DATA, COMANDA"));
        bindPeriod(q, c);
        q.open();
    }

private:
    Criteria criteria_;
    QMap<QString, QString> totals_;
};

bool ordersFound(Query& q) {
    return !q.isEmpty() && !q.fieldText(QStringLiteral("COMANDA")).isEmpty();
}

bool expensesFound(Query& q) {
    return !q.isEmpty() && !q.fieldText(QStringLiteral("CONT")).isEmpty();
}

// The refusals of a report on one courier: the courier as its code field
// refuses it, chosen, both dates filled, and then something to print.
Refusal checkCourier(const ReportDefinition& e, const Criteria& c) {
    const bool salaried = e.id == QLatin1String(kSalaried);
    if (!c.courier.isEmpty()) {
        const Refusal r = courierRefusal(c.courier, salaried);
        if (r.refused())
            return r;
    }
    if (c.courier.isEmpty())
        return {QStringLiteral("Selecione o motoboy."), QStringLiteral("Edcodmot")};
    if (!c.periodGiven())
        return {QStringLiteral("Intervalos inexistentes."), QStringLiteral("Eddata1")};
    Query q;
    if (e.id == QLatin1String(kExpenses) || salaried) {
        selectExpenses(q, c, QStringLiteral("Order By DATA, CONT"));
        return expensesFound(q) ? Refusal{} : nothingFound();
    }
    selectOrders(q, c, ordersOrder(e, c));
    return ordersFound(q) ? Refusal{} : nothingFound();
}

Refusal checkOrderListing(const Criteria& c) {
    if (!c.periodGiven())
        return {QStringLiteral("Intervalos inexistentes."), QStringLiteral("Eddata1")};
    Query q;
    ListingRows::selectListing(q, c);
    return ordersFound(q) ? Refusal{} : nothingFound();
}

ReportData collectCourierClosing(const Criteria& c) {
    ReportData d = courierBase(QString::fromLatin1(kClosing), c);
    courierTotals(d, c);
    return d;
}

ReportData collectCourierExpenses(const Criteria& c) {
    ReportData d = courierBase(QString::fromLatin1(kExpenses), c);
    Query q;
    selectExpenses(q, c, QStringLiteral("Order By DATA, CONT"));
    d.rows = rowsOf(q, courierExpenseFields());
    d.totals.insert(QStringLiteral("DESPESAS"), expenseTotal(d.rows));
    return d;
}

ReportData collectCourierHours(const Criteria& c) {
    ReportData d = courierBase(QString::fromLatin1(kHours), c);
    courierTotals(d, c);
    Query q;
    selectOrders(q, c,
                 c.order == 0 ? QStringLiteral("Order By COMANDA")
                              : QStringLiteral("Order By DATA, COMANDA"));
    d.rows = rowsOf(q, courierOrderFields());
    return d;
}

ReportData collectOrderListing(const Criteria& c) {
    ReportData d = reportBase(QString::fromLatin1(kOrders));
    putPeriod(d, c);
    d.source = std::make_shared<ListingRows>(c);
    return d;
}

ReportData collectSalariedPayment(const Criteria& c) {
    ReportData d = courierBase(QString::fromLatin1(kSalaried), c);
    Query q;
    selectExpenses(q, c, expensesOrder(c, true));
    d.rows = rowsOf(q, courierExpenseFields());
    const QString expenses = expenseTotal(d.rows);
    const QString salary = courierField(c.courier, "SALARIO");
    d.totals.insert(QStringLiteral("DESPESAS"), expenses);
    d.totals.insert(QStringLiteral("SALARIO"), formatValue(Format::Money, salary));
    d.totals.insert(QStringLiteral("LIQUIDO"), salariedNet(salary, expenses));
    return d;
}

}  // namespace

// ---- dot matrix ----------------------------------------------------------------------

namespace {

TextLine plain(const QList<TextPiece>& pieces) {
    return {esc::condensed, pieces};
}

// The six lines of hours and values, emphasised in the closing.
QList<TextLine> hourTotals(const char* const labels[6], bool strong) {
    auto make = [strong](const QList<TextPiece>& p) { return strong ? emphasised(p) : plain(p); };
    const char* const hours[3] = {"=HN", "=H50", "=H100"};
    const char* const values[3] = {"=VN", "=V50", "=V100"};
    QList<TextLine> out;
    for (int i = 0; i < 3; ++i)
        out.append(
            make({lit(QString::fromLatin1(labels[i])), right(QString::fromLatin1(hours[i]), 6),
                  lit(QStringLiteral(" - ")), right(QString::fromLatin1(values[i]), 10)}));
    const char* const rest[3] = {"=FIXAS", "=DESPESAS", "=RECEBER"};
    for (int i = 0; i < 3; ++i)
        out.append(make(
            {lit(QString::fromLatin1(labels[3 + i])), right(QString::fromLatin1(rest[i]), 10)}));
    return out;
}

// A courier text report (or the order listing, without a courier): the
// period and the courier under the title, its headings, 43 rows on the
// first page and 50 on each other.
TextLayout periodText(const QString& title, const QString& heading, bool courier = true) {
    TextLayout l;
    l.title = title;
    l.period = true;
    if (courier)
        l.subjectLabel = QStringLiteral("Motoboy : ");
    l.headings = {heading};
    l.firstPage = 43;
    l.perPage = 50;
    return l;
}

}  // namespace

const TextLayout& courierClosingText() {
    static const TextLayout layout = [] {
        TextLayout l;
        l.title = QString(23, QLatin1Char(' ')) + "F E C H A M E N T O   D O   M O T O B O Y";
        l.period = true;
        l.subjectLabel = QStringLiteral("Motoboy : ");
        const char* const labels[6] = {
            "TOTAL DE HORAS NORMAIS   : ", "TOTAL DE HORAS 50%       : ",
            "TOTAL DE HORAS 100%      : ", "VALOR TOTAL DE OS FIXAS  : ",
            "TOTAL DE DESPESAS        : ", "TOTAL A RECEBER          : "};
        l.totals = hourTotals(labels, true);  // no rows, no page rule
        return l;
    }();
    return layout;
}

const TextLayout& courierExpensesText() {
    static const TextLayout layout = [] {
        TextLayout l = periodText(
            QString(23, QLatin1Char(' ')) + "D E S P E S A S    D O    M O T O B O Y",
            QStringLiteral("|    Data    | Entrada No. | Despesas                        "
                           "                       |    Valor   |"));
        l.row = {line({lit("| "), field("DATA", 10), lit(" |  "), field("NUMDESP", 10), lit(" | "),
                       field("CODDESP", 6), lit(" - "), field("DESPESA", 45), lit(" | "),
                       right("VALOR", 10, Format::Money), lit(" |")})};
        l.totals = {emphasised({lit("TOTAL DAS DESPESAS     :"), right("=DESPESAS", 10)})};
        return l;
    }();
    return layout;
}

const TextLayout& courierHoursText() {
    static const TextLayout layout = [] {
        TextLayout l = periodText(
            QString(12, QLatin1Char(' ')) +
                "L I S T A G E M    D A S   H O R A S   D O   M O T O R I S T A",
            QStringLiteral(
                "|    Data    | Ord. Serv. No. | Hora saida | Hora inicial | Hora final | Total de "
                "horas | Horas normais | Horas 50% | Horas 100% | Valor das OS | Val OS Fixas |"));
        const Format h = Format::Hours;
        l.row = {line({lit("| "),         field("DATA", 10),
                       lit(" |   "),      field("COMANDA", 10),
                       lit("   |   "),    right("HORA1", 6, h),
                       lit("   |    "),   right("HORA2", 6, h),
                       lit("    |   "),   right("HORA3", 6, h),
                       lit("   |     "),  right("HORA4", 6, h),
                       lit("     |    "), right("TOTHORN", 6, h),
                       lit("     |  "),   right("TOTHOR50", 6, h),
                       lit("   |  "),     right("TOTHOR100", 6, h),
                       lit("    |  "),    right("TOTVALMOT", 10, Format::Money),
                       lit("  | "),       right("VALMOT", 10, Format::Money),
                       lit("  |")})};
        const char* const labels[6] = {"TOTAL DE HORAS NORMAIS  : ", "TOTAL DE HORAS 50%      : ",
                                       "TOTAL DE HORAS 100%     : ", "VALOR TOTAL DE OS FIXAS : ",
                                       "TOTAL DE DESPESAS       : ", "TOTAL A RECEBER         : "};
        l.totals = {plain({lit("VALOR HORA DO MOTOBOY   : "), right("=VALORHORA", 10)})};
        l.totals += hourTotals(labels, false);
        return l;
    }();
    return layout;
}

const TextLayout& orderListingText() {
    static const TextLayout layout = [] {
        TextLayout l = periodText(
            QString(23, QLatin1Char(' ')) + "LISTAGEM   DAS   ORDENS   DE   SERVICOS",
            QStringLiteral("|    Data    |  OS. Num.  | Cliente                          "
                           "                            | Total horas |"),
            false);
        l.row = {line({lit("| "), field("DATA", 10), lit(" | "), field("COMANDA", 10), lit(" | "),
                       field("CLIENTE", 60), lit(" |    "), right("HORA4", 6, Format::Hours),
                       lit("   |")})};
        l.totals = {emphasised({lit("TOTAL DE HORAS         : "), right("=HORAS", 6)})};
        return l;
    }();
    return layout;
}

const TextLayout& salariedPaymentText() {
    static const TextLayout layout = [] {
        TextLayout l = periodText(
            QString(21, QLatin1Char(' ')) + "PAGAMENTO  DO  MOTOBOY  COM  SALARIO  FIXO",
            QStringLiteral("|    Data    | Despesas                                      "
                           "         |    Valor   |"));
        l.row = {
            line({lit("| "), field("DATA", 10), lit(" | "), field("CODDESP", 6), lit(" - "),
                  field("DESPESA", 45), lit(" | "), right("VALOR", 10, Format::Money), lit(" |")})};
        l.totals = {plain({lit("TOTAL DAS DESPESAS      : "), right("=DESPESAS", 10)}), siOnly(),
                    plain({lit("SALARIO DO MOTOBOY      : "), right("=SALARIO", 10)}),  siOnly(),
                    plain({lit("TOTAL LIQUIDO A RECEBER : "), right("=LIQUIDO", 10)}),  siOnly()};
        return l;
    }();
    return layout;
}

// ---- page ----------------------------------------------------------------------------

namespace {

QList<PageSummary> hourSummary(const char* const labels[6]) {
    return {ps(labels[0], "{=HN} - {=VN}"),     ps(labels[1], "{=H50} - {=V50}"),
            ps(labels[2], "{=H100} - {=V100}"), ps(labels[3], "=FIXAS"),
            ps(labels[4], "=DESPESAS"),         ps(labels[5], "=RECEBER")};
}

}  // namespace

const PageLayout& courierClosingPage() {
    static const PageLayout layout = [] {
        PageLayout l;
        l.title = QStringLiteral("FECHAMENTO DO MOTOBOY");
        l.paper = QPageSize::A4;
        const char* const labels[6] = {
            "TOTAL DE HORAS NORMAL  :",      "TOTAL DE HORAS 50%          :",
            "TOTAL DE HORAS 100%        :",  "VALOR TOTAL DE OS FIXAS :",
            "TOTAL DE DESPESAS           :", "TOTAL À RECEBER               :"};
        l.summary = hourSummary(labels);
        return l;
    }();
    return layout;
}

const PageLayout& courierExpensesPage() {
    static const PageLayout layout{
        .title = QStringLiteral("DESPESAS DO MOTOBOY"),
        .paper = QPageSize::A4,
        .columns = {pc("Data", "DATA", 24, Format::Date), pc("Entrada Nº", "NUMDESP", 26),
                    pc("Código", "CODDESP", 16), pc("Despesa", "DESPESA", 96),
                    pc("Valor", "VALOR", 28, Format::MoneyThousands, Align::Right)},
        .summary = {ps("Total das despesas:", "=DESPESAS", Format::Currency, {"VALOR"})}};
    return layout;
}

const PageLayout& courierHoursPage() {
    static const PageLayout layout = [] {
        PageLayout l;
        l.title = QStringLiteral("LISTAGEM DAS HORAS DO MOTORISTA");
        l.paper = QPageSize::A4;
        l.marginsMm = QMarginsF(8, 10, 10, 8);
        const Format h = Format::Hours;
        const Align c = Align::Center;
        l.columns = {pc("Data", "DATA", 18, Format::Date),
                     pc("OS nº.", "COMANDA", 14),
                     pc("Hora saída", "HORA1", 15, h, c),
                     pc("Hora inicial", "HORA2", 16, h, c),
                     pc("Hora final", "HORA3", 15, h, c),
                     pc("Tot. horas", "HORA4", 15, h, c),
                     pc("Horas normais", "TOTHORN", 18, h, c),
                     pc("Horas 50%", "TOTHOR50", 15, h, c),
                     pc("Horas 100%", "TOTHOR100", 15, h, c),
                     pc("Valor das OS", "TOTVALMOT", 17, Format::MoneyThousands, Align::Right),
                     pc("Val. OS Fixas", "VALMOT", 18, Format::MoneyThousands, Align::Right)};
        const char* const labels[6] = {
            "TOTAL DE HORAS NORMAL  :",        "TOTAL DE HORAS 50%          :",
            "TOTAL DE HORAS 100%        :",    "VALOR TOTAL DE OS FIXAS   :",
            "TOTAL DE DESPESAS             :", "TOTAL À RECEBER                 :"};
        l.summary = {ps("VALOR HORA DO MOTORISTA :", "=VALORHORA")};
        l.summary += hourSummary(labels);
        return l;
    }();
    return layout;
}

const PageLayout& orderListingPage() {
    static const PageLayout layout{
        .title = QStringLiteral("LISTAGEM DAS ORDENS DE SERVIÇOS"),
        .paper = QPageSize::A4,
        .columns = {pc("O.S. Nº", "COMANDA", 24), pc("Data", "DATA", 26, Format::Date),
                    pc("Cliente", "CLIENTE", 110),
                    pc("Total Horas", "HORA4", 30, Format::Hours, Align::Center)},
        .summary = {ps("TOTAL DE HORAS :", "=HORAS", Format::Text, {"HORA4"})}};
    return layout;
}

const PageLayout& salariedPaymentPage() {
    static const PageLayout layout{
        .title = QStringLiteral("PAGAMENTO DO MOTOBOY AUTÔNOMO"),
        .paper = QPageSize::A4,
        .columns = {pc("Data", "DATA", 26, Format::Date), pc("Código", "CODDESP", 20),
                    pc("Despesa", "DESPESA", 114),
                    pc("Valor", "VALOR", 30, Format::MoneyThousands, Align::Right)},
        .summary = {ps("TOTAL DAS DESPESAS         :", "=DESPESAS", Format::Text, {"VALOR"}),
                    ps("SALÁRIO DO MOTOBOY        :", "=SALARIO"),
                    ps("TOTAL LIQUIDO À RECEBER :", "=LIQUIDO")}};
    return layout;
}

// ---- HTML ----------------------------------------------------------------------------

namespace {

const char* const kCourier = "<div align=\"left\">Motoboy : {=CODIGO} - {=NOME}</div><br>";

// A value line: the div and the line after it.
QStringList valueLine(const QString& text) {
    return {QStringLiteral("<div align=\"left\">") + text + QStringLiteral("</div><br>"),
            QStringLiteral(" <br>")};
}

QStringList hourLines() {
    QStringList out;
    out += valueLine(QStringLiteral("Total de Horas Normais : {=HN} - {=VN}"));
    out += valueLine(QStringLiteral("Total de Horas 50% : {=H50} - {=V50}"));
    out += valueLine(QStringLiteral("Total de Horas 100% : {=H100} - {=V100}"));
    out += valueLine(QStringLiteral("Valor Total de OS Fixas : {=FIXAS}"));
    out += valueLine(QStringLiteral("Total de Despesas : {=DESPESAS}"));
    out += valueLine(QStringLiteral("Total à Receber : {=RECEBER}"));
    return out;
}

}  // namespace

const HtmlLayout& courierClosingHtml() {
    static const HtmlLayout layout{
        .title = QStringLiteral("Fechamento do Motoboy"),
        .heading = QStringLiteral("FECHAMENTO DO MOTOBOY"),
        .before = {QString::fromLatin1(kHtmlPeriodLine), QString::fromLatin1(kCourier)},
        .after = hourLines()};
    return layout;
}

const HtmlLayout& courierExpensesHtml() {
    static const HtmlLayout layout{
        .title = QStringLiteral("Despesas do Motoboy"),
        .heading = QStringLiteral("DESPESAS DO MOTOBOY"),
        .before = {QString::fromLatin1(kHtmlPeriodLine), QString::fromLatin1(kCourier)},
        .tableWidth = 820,
        .columns = {hc("Data", 50, "DATA", 50), hc("Entrada No.", 120, "NUMDESP", 120),
                    hc("Codigo", 60, "CODDESP", 60), hc("Despesa", 510, "DESPESA", 510),
                    hc("Valor", 80, "VALOR", 80, Align::Right, Format::Money)},
        .after = valueLine(QStringLiteral("TOTAL DAS DESPESAS : {=DESPESAS}"))};
    return layout;
}

const HtmlLayout& courierHoursHtml() {
    static const HtmlLayout layout = [] {
        HtmlLayout l;
        l.title = QStringLiteral("Listagem das Horas do Motoboy");
        l.heading = QStringLiteral("LISTAGEM DAS HORAS DO MOTOBOY");
        l.before = {QString::fromLatin1(kHtmlPeriodLine), QString::fromLatin1(kCourier)};
        l.tableWidth = 730;
        const Format h = Format::Hours;
        const Align left = Align::Left;
        l.columns = {hc("Data", 50, "DATA", 50),
                     hc("OS No.", 60, "COMANDA", 60),
                     hc("Hr.Saida", 50, "HORA1", 50, left, h),
                     hc("Hr.Inicial", 50, "HORA2", 50, left, h),
                     hc("Hr.Final", 50, "HORA3", 50, left, h),
                     hc("Tot.Horas", 50, "HORA4", 50, left, h),
                     hc("Hr.Normal", 80, "TOTHORN", 80),
                     hc("Hr.50%", 80, "TOTHOR50", 80),
                     hc("Hr.100%", 80, "TOTHOR100", 80),
                     hc("Valor das OS", 80, "TOTVALMOT", 80, Align::Right, Format::Money),
                     hc("Valor OS Fixas", 100, "VALMOT", 80, Align::Right, Format::Money)};
        l.after = valueLine(QStringLiteral("Valor Hora do Motoboy : {=VALORHORA}"));
        l.after += hourLines();
        return l;
    }();
    return layout;
}

const HtmlLayout& orderListingHtml() {
    static const HtmlLayout layout{
        .title = QStringLiteral("Listagem das OS Emitidas"),
        .heading = QStringLiteral("LISTAGEM DAS OS EMITIDAS"),
        .before = {QString::fromLatin1(kHtmlPeriodLine)},
        .tableWidth = 710,
        .columns = {hc("Data", 50, "DATA", 50), hc("OS No.", 60, "COMANDA", 60),
                    hc("Cliente", 500, "CLIENTE", 500),
                    hc("Total Horas", 100, "HORA4", 100, Align::Left, Format::Hours)},
        .after = valueLine(QStringLiteral("Total de Horas : {=HORAS}"))};
    return layout;
}

const HtmlLayout& salariedPaymentHtml() {
    static const HtmlLayout layout = [] {
        HtmlLayout l;
        l.title = QStringLiteral("Listagem das Despesas do Motoboy Autonomo");
        l.heading = QStringLiteral("LISTAGEM DAS DESPESAS DO MOTOBOY AUTONOMO");
        l.before = {QString::fromLatin1(kHtmlPeriodLine), QString::fromLatin1(kCourier)};
        l.tableWidth = 700;
        l.columns = {hc("Data", 50, "DATA", 50), hc("Codigo", 60, "CODDESP", 60),
                     hc("Despesa", 510, "DESPESA", 510),
                     hc("Valor", 80, "VALOR", 80, Align::Right, Format::Money)};
        l.after = valueLine(QStringLiteral("TOTAL DAS DESPESAS : {=DESPESAS}"));
        l.after += valueLine(QStringLiteral("SALARIO DO MOTOBOY : {=SALARIO}"));
        l.after += valueLine(QStringLiteral("TOTAL LIQUIDO À RECEBER : {=LIQUIDO}"));
        return l;
    }();
    return layout;
}

// ---- the definitions ---------------------------------------------------------------

namespace {

struct CourierReport {
    const char* id;
    MenuReportPlace place;
    QStringList orders;
    ReportData (*collect)(const Criteria&);
    const TextLayout& (*text)();
    const PageLayout& (*page)();
    const HtmlLayout& (*html)();
    QStringList fields, totals;
};

const QStringList kCourierTotals = {"DE", "ATE", "SUBJECT", "CODIGO", "NOME"};
const QStringList kHourTotals = {"VALORHORA", "HN",   "H50",   "H100",     "VN",
                                 "V50",       "V100", "FIXAS", "DESPESAS", "RECEBER"};

QList<ReportDefinition> build() {
    const QString noHint;
    const QList<CourierReport> reports = {
        {kClosing,
         {"Quelvarino0043_0",
          "Fechamento do motoboy",
          {QStringLiteral("Fechamento do Motoboy "), QStringLiteral("FechamentodoMotoboy1"), noHint,
           QStringLiteral("Edcodmot")},
          "Quelvarino0043_1",
          "Rel03",
          "fechamento-motoboy",
          "[--de D --ate D] --motoboy C"},
         {},
         collectCourierClosing,
         courierClosingText,
         courierClosingPage,
         courierClosingHtml,
         {},
         kCourierTotals + kHourTotals},
        {kExpenses,
         {"Quelvarino0044_0",
          "Despesas do Motoboy",
          {QStringLiteral("Despesas do Motoboy"), QStringLiteral("DespesasdoMotoboy2"),
           QStringLiteral("Relatório das despesas do motoboy"), QStringLiteral("Edcodmot")},
          "Quelvarino0044_1",
          "Rel04",
          "despesas-motoboy",
          "[--de D --ate D] --motoboy C"},
         {},
         collectCourierExpenses,
         courierExpensesText,
         courierExpensesPage,
         courierExpensesHtml,
         courierExpenseFields(),
         kCourierTotals + QStringList{"DESPESAS"}},
        {kHours,
         {"Quelvarino0045_0",
          "Listagem das Horas do Motoboy",
          {QStringLiteral("Listagem das Horas do Motoboy"),
           QStringLiteral("ListagemdasHorasdoMotoboy1"),
           QStringLiteral("Relatório das horas do motoboy"), QStringLiteral("Edcodmot")},
          "Quelvarino0045_1",
          "Rel05",
          "horas-motoboy",
          "[--de D --ate D] --motoboy C [--ordem O]"},
         {QStringLiteral("Nº Ordem de Serviço"), QStringLiteral("Data")},
         collectCourierHours,
         courierHoursText,
         courierHoursPage,
         courierHoursHtml,
         courierOrderFields(),
         kCourierTotals + kHourTotals},
        {kOrders,
         {"Quelvarino0046_0",
          "Listagem das OS Emitidas",
          {QStringLiteral("Listagem das OS Emitidas"), QStringLiteral("ListagemdasOSEmitidas1"),
           QStringLiteral("Listagem das OS emitidas"), QStringLiteral("Eddata1")},
          "Quelvarino0046_1",
          "Rel06",
          "ordens-servico",
          "[--de D --ate D]"},
         {},
         collectOrderListing,
         orderListingText,
         orderListingPage,
         orderListingHtml,
         {"COMANDA", "DATA", "CLIENTE", "HORA4"},
         {"DE", "ATE", "HORAS"}},
        {kSalaried,
         {"Quelvarino0047_0",
          "Pagamento do Motoboy Autônomo",
          {QStringLiteral("Listagem das Despesas do Motoboy Autônomo"),
           QStringLiteral("ListagemdasDespesasdoMotoboycomSalrio1"),
           QStringLiteral("Listagem das despesas do motoboy com salário fixo"),
           QStringLiteral("Edcodmot")},
          "Quelvarino0047_1",
          "Rel07",
          "pagamento-autonomo",
          "[--de D --ate D] --motoboy C [--ordem O]"},
         {QStringLiteral("Despesa"), QStringLiteral("Data")},
         collectSalariedPayment,
         salariedPaymentText,
         salariedPaymentPage,
         salariedPaymentHtml,
         courierExpenseFields(),
         kCourierTotals + QStringList{"DESPESAS", "SALARIO", "LIQUIDO"}},
    };
    QList<ReportDefinition> out;
    for (const CourierReport& r : reports) {
        ReportDefinition e;
        e.id = QString::fromLatin1(r.id);
        placeIn(e, r.place);
        e.outputs = kAllOutputs;
        e.orders = r.orders;
        e.collect = r.collect;
        e.fields = r.fields;
        e.totals = r.totals;
        // The courier closing writes its HTML under the default path.
        e.htmlPathFixed = e.id == QLatin1String(kClosing);
        if (e.id == QLatin1String(kOrders))
            e.check = checkOrderListing;
        else
            e.check = [e](const Criteria& c) { return checkCourier(e, c); };
        writtenFrom(e, r.text, r.page, r.html);
        out.append(e);
    }
    return out;
}

}  // namespace

QList<ReportDefinition> courierDefinitions() {
    return build();
}

const ReportDefinition& courierClosingReport() {
    return *ReportCatalog::find(QString::fromLatin1(kClosing));
}
const ReportDefinition& courierExpensesReport() {
    return *ReportCatalog::find(QString::fromLatin1(kExpenses));
}
const ReportDefinition& courierHoursReport() {
    return *ReportCatalog::find(QString::fromLatin1(kHours));
}
const ReportDefinition& orderListingReport() {
    return *ReportCatalog::find(QString::fromLatin1(kOrders));
}
const ReportDefinition& salariedPaymentReport() {
    return *ReportCatalog::find(QString::fromLatin1(kSalaried));
}

}  // namespace quelvarino
