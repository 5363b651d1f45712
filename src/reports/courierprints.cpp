// The courier reports ("43_0" to "45_0", "47_0") and the order listing
// ("46_0") in the three writers.
#include "core/dates.h"
#include "core/reporttotals.h"
#include "data/query.h"
#include "data/table.h"
#include "reports/courierreports.h"
#include "reports/escpwriter.h"
#include "reports/layoutparts.h"
#include "reports/reportdefinitions.h"
#include "widgets/maskedit.h"

#include <QLineEdit>

namespace quelvarino {
namespace {

using namespace text;

// The courier's hourly rate and salary, from the register.
struct CourierRecord {
    QString valor, salario;
};

CourierRecord courierRecord(const QString& code) {
    Table couriers(QStringLiteral("tbmotociclista"));
    CourierRecord r;
    if (!code.isEmpty() && couriers.findExact(QStringLiteral("COD"), code)) {
        r.valor = couriers.fieldByName("VALOR").asString();
        r.salario = couriers.fieldByName("SALARIO").asString();
    }
    return r;
}

ReportData courierBase(const QString& id, CourierReportScreen* screen) {
    ReportData d = reportBase(id);
    if (!screen)
        return d;
    d.periodFrom = screen->Eddata1->text();
    d.periodTo = screen->Eddata2->text();
    d.subjectCode = screen->Edcodmot->text();
    d.subjectName = screen->Edmotoboy->text();
    d.totals.insert(QStringLiteral("DE"), d.periodFrom);
    d.totals.insert(QStringLiteral("ATE"), d.periodTo);
    d.totals.insert(QStringLiteral("SUBJECT"),
                    QStringLiteral("Motoboy : ") + d.subjectCode + " - " + d.subjectName);
    d.totals.insert(QStringLiteral("CODIGO"), d.subjectCode);
    d.totals.insert(QStringLiteral("NOME"), d.subjectName);
    return d;
}

QDate dateOrNull(const QString& text) {
    try {
        return isBlankDateText(text) ? QDate() : parseDate(text);
    } catch (...) {
        return QDate();
    }
}

// The hours, values and expenses of the courier closing and the hours
// listing, worked out before the first line is written.
void courierTotals(ReportData& d, CourierReportScreen* screen) {
    const CourierRecord courier = courierRecord(d.subjectCode);
    CourierTotalizer t(courier.valor);
    Query* orders = screen ? screen->Query1() : nullptr;
    if (orders && orders->isOpen()) {
        const int n = orders->fieldIndex(QStringLiteral("TOTHORN"));
        const int h50 = orders->fieldIndex(QStringLiteral("TOTHOR50"));
        const int h100 = orders->fieldIndex(QStringLiteral("TOTHOR100"));
        const int fixed = orders->fieldIndex(QStringLiteral("VALMOT"));
        for (orders->first(); !orders->eof(); orders->next())
            t.addOrder(orders->fieldText(n), orders->fieldText(h50), orders->fieldText(h100),
                       orders->fieldText(fixed));
    }
    // Only the expenses of the period are taken off.
    const QDate from = dateOrNull(d.periodFrom), to = dateOrNull(d.periodTo);
    Query* expenses = screen ? screen->Query2() : nullptr;
    if (expenses && expenses->isOpen() && from.isValid() && to.isValid()) {
        for (expenses->first(); !expenses->eof(); expenses->next()) {
            const QDate day = dateOrNull(expenses->fieldText(QStringLiteral("DATA")));
            if (day.isValid() && day >= from && day <= to)
                t.addExpense(expenses->fieldText(QStringLiteral("VALOR")));
        }
    }
    const CourierTotals c = t.totals();
    d.totals.insert(QStringLiteral("VALORHORA"), c.rate);
    d.totals.insert(QStringLiteral("HN"), c.hoursNormal);
    d.totals.insert(QStringLiteral("H50"), c.hours50);
    d.totals.insert(QStringLiteral("H100"), c.hours100);
    d.totals.insert(QStringLiteral("VN"), c.valueNormal);
    d.totals.insert(QStringLiteral("V50"), c.value50);
    d.totals.insert(QStringLiteral("V100"), c.value100);
    d.totals.insert(QStringLiteral("FIXAS"), c.fixed);
    d.totals.insert(QStringLiteral("DESPESAS"), c.expenses);
    d.totals.insert(QStringLiteral("RECEBER"), c.toReceive);
}

QString expenseTotal(const QList<ReportRow>& rows) {
    MoneySum sum(true);
    for (const ReportRow& r : rows)
        sum.add(r.text(QStringLiteral("VALOR")));
    return sum.text();
}

// The orders of the listing, read from the screen's query as they are
// printed, with their hours.
class ListingRows : public RowSource {
public:
    explicit ListingRows(Query* query) : query_(query) {}
    void each(const std::function<void(const ReportRow&)>& visit) override {
        static const QStringList fields = {"COMANDA", "DATA", "CLIENTE", "HORA4"};
        static const auto shape = ReportRow::shapeOf(fields);
        BandHours hours;
        if (query_ && query_->isOpen()) {
            QList<int> columns;
            for (const QString& f : fields)
                columns.append(query_->fieldIndex(f));
            for (query_->first(); !query_->eof(); query_->next()) {
                ReportRow row(shape);
                for (int i = 0; i < columns.size(); ++i)
                    row.setAt(i, query_->fieldText(columns[i]));
                hours.add(row.at(3));
                visit(row);
            }
        }
        totals_ = {{QStringLiteral("HORAS"), hours.text()}};
    }
    QMap<QString, QString> totals() const override { return totals_; }

private:
    Query* query_;
    QMap<QString, QString> totals_;
};

}  // namespace

ReportData collectCourierClosing(const PrintRequest&) {
    auto* screen = TQuelvarino0043_0::instance();
    ReportData d = courierBase(QStringLiteral("43_0"), screen);
    courierTotals(d, screen);
    return d;
}

ReportData collectCourierExpenses(const PrintRequest&) {
    auto* screen = TQuelvarino0044_0::instance();
    ReportData d = courierBase(QStringLiteral("44_0"), screen);
    if (screen && screen->Query1()->isOpen())
        d.rows = ReportRow::fromQuery(*screen->Query1(), courierExpenseFields());
    d.totals.insert(QStringLiteral("DESPESAS"), expenseTotal(d.rows));
    return d;
}

ReportData collectCourierHours(const PrintRequest&) {
    auto* screen = TQuelvarino0045_0::instance();
    ReportData d = courierBase(QStringLiteral("45_0"), screen);
    courierTotals(d, screen);
    if (screen && screen->Query1()->isOpen())
        d.rows = ReportRow::fromQuery(*screen->Query1(), courierOrderFields());
    return d;
}

ReportData collectOrderListing(const PrintRequest&) {
    auto* screen = TQuelvarino0046_0::instance();
    ReportData d = reportBase(QStringLiteral("46_0"));
    if (!screen)
        return d;
    d.periodFrom = screen->Eddata1->text();
    d.periodTo = screen->Eddata2->text();
    d.totals.insert(QStringLiteral("DE"), d.periodFrom);
    d.totals.insert(QStringLiteral("ATE"), d.periodTo);
    d.source = std::make_shared<ListingRows>(screen->Query1());
    return d;
}

ReportData collectSalariedPayment(const PrintRequest&) {
    auto* screen = TQuelvarino0047_0::instance();
    ReportData d = courierBase(QStringLiteral("47_0"), screen);
    if (screen && screen->Query1()->isOpen())
        d.rows = ReportRow::fromQuery(*screen->Query1(), courierExpenseFields());
    const QString expenses = expenseTotal(d.rows);
    const QString salary = courierRecord(d.subjectCode).salario;
    d.totals.insert(QStringLiteral("DESPESAS"), expenses);
    d.totals.insert(QStringLiteral("SALARIO"), formatValue(Format::Money, salary));
    d.totals.insert(QStringLiteral("LIQUIDO"), salariedNet(salary, expenses));
    return d;
}

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

}  // namespace quelvarino
