#include "app/mainwindow.h"
#include "app/program.h"
#include "core/clock.h"
#include "core/dates.h"
#include "core/money.h"
#include "reports/reportcatalog.h"
#include "reportscreens/cashclosing.h"
#include "reportscreens/courierreports.h"
#include "reportscreens/managementpanel.h"
#include "testsupport.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/testseams.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLineSeries>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStackedBarSeries>
#include <memory>

using namespace quelvarino;
using namespace operatorDoes;

namespace {

struct Order {
    int number;
    const char* date;
    const char* client;
    const char* courier;
    const char* payment;
    const char* start;  // HORA2
    const char* hours;  // HORA4
    const char *normal, *fifty, *hundred;
    const char* total;
    const char* fixed;  // VALMOT
};

// Orders of three months: every payment form, evening hours, an order of
// a fixed courier value, one without its total of hours.
const Order kOrders[] = {
    {1, "30/10/2026", "000007", "000003", "À VISTA", "08:30", "01:40", "01:40", "00:00", "00:00",
     "55,00", "0,00"},
    {2, "03/11/2026", "000007", "000003", "FATURADO", "19:30", "03:00", "00:00", "02:30", "00:30",
     "999,99", "0,00"},
    {3, "03/11/2026", "000012", "000005", "OUTROS", "22:15", "01:00", "00:00", "00:00", "01:00",
     "1016,33", "0,00"},
    {4, "15/11/2026", "000012", "000003", "À VISTA", "10:00", "02:00", "02:00", "00:00", "00:00",
     "80,00", "35,00"},
    {5, "30/11/2026", "000020", "000005", "À VISTA", "  :  ", "  :  ", "", "", "", "12,5", "0,00"},
    {6, "01/12/2026", "000007", "000005", "FATURADO", "18:45", "02:15", "00:00", "02:15", "00:00",
     "0,10", "0,00"},
};

}  // namespace

// The management panel: its figures agree with the reports of the same
// period, its charts show them, its picture is written.
class TestPanel : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;

    static TQuelvarino0049_0* panel() {
        Quelvarino000_0->menuAction("PainelGerencial1")->trigger();
        auto* p = TQuelvarino0049_0::instance();
        activate(p);
        return p;
    }
    static void show(TQuelvarino0049_0* p, const QString& from, const QString& to) {
        p->Eddata1->setText(from);
        p->Eddata2->setText(to);
        click(p->Btn_Atualizar);
        QTRY_VERIFY_WITH_TIMEOUT(!p->reading(), 20000);
    }

    // A total of a report printed through its screen for the same period.
    static QString reportTotal(const char* id,
                               ReportScreen* screen,
                               const QString& from,
                               const QString& to,
                               const QString& total) {
        screen->Eddata1->setText(from);
        screen->Eddata2->setText(to);
        if (!screen->prepare())
            return QStringLiteral("0,00");
        ReportData d = ReportCatalog::find(id)->collect(screen->criteria());
        d.readSource();
        return d.total(total);
    }
    static QString cashTotal(bool cash, const QString& from, const QString& to) {
        auto* s = TQuelvarino0041_0::instance();
        (cash ? s->Rbavista : s->Rboutros)->setChecked(true);
        return reportTotal("41_0", s, from, to, "TOTVAL");
    }
    static QString clientTotal(const QString& client, const QString& from, const QString& to) {
        auto* s = TQuelvarino0042_0::instance();
        double sum = 0;
        for (QRadioButton* rb : {s->Rbavista, s->Rboutros}) {
            s->Edcodcli->setText(client);
            s->EdcodcliExit();
            rb->setChecked(true);
            sum += parseMoney(reportTotal("42_0", s, from, to, "TOTVAL"));
        }
        return formatMoney(sum);
    }
    static QMap<QString, QString> courierClosing(const QString& courier,
                                                 const QString& from,
                                                 const QString& to) {
        auto* s = TQuelvarino0043_0::instance();
        s->Edcodmot->setText(courier);
        s->EdcodmotExit();
        s->Eddata1->setText(from);
        s->Eddata2->setText(to);
        if (!s->prepare())
            return {};
        return ReportCatalog::find("43_0")->collect(s->criteria()).totals;
    }

private slots:
    void init() {
        QVERIFY(startProgramTest(home, QDateTime(QDate(2026, 11, 20), QTime(9, 0))));
        store("tbempresa",
              {{"RAZAOSOCIAL", "MOTOBOY EXPRESS LTDA"}, {"NOMEFAN", "MOTOBOY EXPRESS"}});
        for (const char* c : {"000007", "000012", "000020"})
            store("tbclientes",
                  {{"CODCLI", c}, {"RAZAOSOCIAL", QString("CLIENTE ") + c}, {"SITUACAO", "ATIVO"}});
        store("tbmotociclista", {{"COD", "000003"},
                                 {"NOME", "JOAO DA MOTO"},
                                 {"VALOR", "12,5"},
                                 {"SITUACAO", "ATIVO"}});
        store("tbmotociclista",
              {{"COD", "000005"}, {"NOME", "ANA VELOZ"}, {"VALOR", "20"}, {"SITUACAO", "ATIVO"}});
        for (const Order& o : kOrders)
            store("tbordem", {{"COMANDA", QString("%1").arg(o.number, 10, 10, QChar('0'))},
                              {"DATA", o.date},
                              {"CODCLI", o.client},
                              {"CLIENTE", QString("CLIENTE ") + o.client},
                              {"CODMOT", o.courier},
                              {"MOTOBOY", o.courier[5] == '3' ? "JOAO DA MOTO" : "ANA VELOZ"},
                              {"PAGAMENTO", o.payment},
                              {"HORA2", o.start},
                              {"HORA4", o.hours},
                              {"TOTHORN", o.normal},
                              {"TOTHOR50", o.fifty},
                              {"TOTHOR100", o.hundred},
                              {"TOTVAL", o.total},
                              {"VALMOT", o.fixed}});
        store("tbentrdesp", {{"NUMDESP", "0000000001"},
                             {"CODMOT", "000003"},
                             {"CODDESP", "000001"},
                             {"VALOR", "30,5"},
                             {"DATA", "10/11/2026"}});
    }
    void cleanup() { endProgramTest(home); }

    void figuresAgreeWithTheReports_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("a month") << "01/11/2026"
                                 << "30/11/2026";
        QTest::newRow("across months, by day") << "15/10/2026"
                                               << "10/12/2026";
        QTest::newRow("longer than 62 days, by month") << "01/09/2026"
                                                       << "31/12/2026";
        QTest::newRow("a single day") << "03/11/2026"
                                      << "03/11/2026";
    }
    void figuresAgreeWithTheReports() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        TQuelvarino0049_0* p = panel();
        show(p, from, to);
        const PanelFigures& f = p->figures();
        QCOMPARE(f.byMonth, parseDate(from).daysTo(parseDate(to)) + 1 > 62);
        double cash = 0, other = 0, months = 0;
        for (int i = 0; i < f.buckets.size(); ++i) {
            cash += f.cash[i];
            other += f.invoiced[i] + f.others[i];
        }
        for (double m : f.monthBilling)
            months += m;
        QCOMPARE(formatMoney(cash), cashTotal(true, from, to));
        QCOMPARE(formatMoney(other), cashTotal(false, from, to));
        QCOMPARE(formatMoney(months), formatMoney(cash + other));
        for (const PanelFigures::Client& c : f.topClients)
            QCOMPARE(formatMoney(c.billing), clientTotal(c.code, from, to));
        for (const PanelFigures::Courier& c : f.couriers) {
            const QMap<QString, QString> closing = courierClosing(c.code, from, to);
            if (closing.isEmpty())
                continue;  // a courier with expenses only in the period
            QCOMPARE(panelHours(double(c.normal)), closing.value("HN"));
            QCOMPARE(panelHours(double(c.fifty)), closing.value("H50"));
            QCOMPARE(panelHours(double(c.hundred)), closing.value("H100"));
        }
        // The charts show the figures.
        auto* billing = qobject_cast<QStackedBarSeries*>(p->chart(1)->series().value(0));
        QVERIFY(billing);
        QCOMPARE(billing->barSets().size(), 3);
        QCOMPARE(billing->barSets()[0]->label(), QString("À VISTA"));
        for (int i = 0; i < f.buckets.size(); ++i)
            QCOMPARE(billing->barSets()[0]->at(i), f.cash[i]);
        QCOMPARE(p->chart(4)->series().size(), 3);
        auto* cost = qobject_cast<QLineSeries*>(p->chart(4)->series()[1]);
        QCOMPARE(cost->count(), f.months.size());
        for (int i = 0; i < f.months.size(); ++i)
            QCOMPARE(cost->at(i).y(), f.monthCost[i]);
        for (int i = 1; i <= 5; ++i)
            QVERIFY(!p->chart(i)->title().isEmpty());
    }

    void theMonthInDetail() {
        TQuelvarino0049_0* p = panel();
        show(p, "01/11/2026", "30/11/2026");
        const PanelFigures& f = p->figures();
        QCOMPARE(f.orders, 4);
        QCOMPARE(f.buckets.size(), 30);
        QCOMPARE(f.buckets[2], QString("03/11"));
        QCOMPARE(f.invoiced[2], 999.99);
        QCOMPARE(f.others[2], 1016.33);
        // The evening load: 19:30 and 22:15; the order without a start is
        // not counted.
        QCOMPARE(f.startHours[19], 1);
        QCOMPARE(f.startHours[22], 1);
        QCOMPARE(f.startHours[10], 1);
        int counted = 0;
        for (int n : f.startHours)
            counted += n;
        QCOMPARE(counted, 3);
        QCOMPARE(f.topClients.size(), 3);
        QCOMPARE(f.topClients[0].code, QString("000012"));
        QCOMPARE(f.topClients[0].billing, 1016.33 + 80.0);
        // The order of a fixed courier value counts its value, not its hours:
        // JOAO 02:30 at 50 % and 00:30 at 100 %, the fixed 35,00, the 30,50
        // of expenses; 12,50 an hour.
        const PanelFigures::Courier& joao = f.couriers[0];
        QCOMPARE(joao.code, QString("000003"));
        QCOMPARE(joao.normal, 0LL);
        QCOMPARE(joao.fifty, 150LL);
        QCOMPARE(joao.hundred, 30LL);
        QCOMPARE(formatMoney(joao.pay), QString("124,88"));  // 46,88 + 12,50 + 35,00 + 30,50
        QCOMPARE(f.months, QStringList{"11/2026"});
        QCOMPARE(formatMoney(f.monthBilling[0]), QString("2108,82"));
    }

    void emptyPeriodSaysSoAndShowsEmptyCharts() {
        TQuelvarino0049_0* p = panel();
        QTRY_VERIFY_WITH_TIMEOUT(!p->reading(), 20000);
        MessageBox::clearShownMessages();
        // No scale without figures: Qt Charts would say "invalid range".
        QTest::failOnWarning(QRegularExpression("nan|invalid range"));
        show(p, "01/01/2020", "31/01/2020");
        QCOMPARE(lastMessage(), QString("Intervalos inexistentes."));
        QVERIFY(p->figures().empty());
        for (int i = 1; i <= 5; ++i) {
            QVERIFY(p->chart(i)->series().isEmpty());
            QVERIFY(p->chart(i)->axes().isEmpty());
            QVERIFY2(p->chart(i)->title().endsWith("Nenhuma ordem de serviço no período."),
                     qPrintable(p->chart(i)->title()));
        }
        // Dates that are no period are refused before any reading.
        MessageBox::clearShownMessages();
        p->Eddata1->setText("30/11/2026");
        p->Eddata2->setText("01/11/2026");
        click(p->Btn_Atualizar);
        QVERIFY(!p->reading());
        QCOMPARE(lastMessage(), QString("Intervalos inexistentes."));
    }

    void pictureAndPage() {
        TQuelvarino0049_0* p = panel();
        show(p, "01/11/2026", "30/11/2026");
        const QString png = home->path() + "/painel.png";
        QVERIFY(p->saveImage(png));
        const QImage image(png);
        QVERIFY(image.width() > 900 && image.height() > 500);
        // The company, the title and the period stand over the charts:
        // the top rows are not blank.
        int dark = 0;
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        QVERIFY2(dark > 200, qPrintable(QString::number(dark)));
        QVERIFY(!p->saveImage("/nao/existe/painel.png"));
        const QString pdf = home->path() + "/painel.pdf";
        PrintPreview::setTestMode(true, pdf);
        click(p->Btn_Imprimir);
        PrintPreview::setTestMode(false);
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains("PAINEL GERENCIAL"), qPrintable(text));
        QVERIFY(text.contains("Período de : 01/11/2026 até 30/11/2026"));
        QVERIFY(text.contains("MOTOBOY EXPRESS"));
        for (const char* title :
             {"Faturamento por dia", "Os dez clientes de maior faturamento",
              "Horas trabalhadas por motoboy", "Custo dos motoboys e faturamento por mês",
              "Ordens de serviço pela hora de início"})
            QVERIFY2(text.contains(title), title);
        // Every word on the pages at 7 points or more: the height of its
        // box in points, as pdftotext measures it.
        QProcess boxes;
        boxes.start("pdftotext", {"-bbox", pdf, "-"});
        QVERIFY(boxes.waitForFinished(30000));
        const QString html = QString::fromUtf8(boxes.readAllStandardOutput());
        static const QRegularExpression word(
            "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
            "yMax=\"([0-9.]+)\">([^<]*)</word>");
        int words = 0;
        double smallest = 100;
        QString smallestWord;
        for (auto it = word.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            const double height = m.captured(4).toDouble() - m.captured(2).toDouble();
            ++words;
            if (height < smallest) {
                smallest = height;
                smallestWord = m.captured(5);
            }
        }
        QVERIFY(words > 100);
        if (!qEnvironmentVariableIsEmpty("PANEL_PDF_COPY"))
            QFile::copy(pdf, qEnvironmentVariable("PANEL_PDF_COPY"));
        // A 7-point font's box is some 8 points high.
        QVERIFY2(smallest >= 7.5, qPrintable(QString("%1: %2").arg(smallestWord).arg(smallest)));
        QVERIFY(html.count("<page ") == 2);
    }

    // Money on the panel reads as money: the clients' amounts beside their
    // names, with thousands and cents.
    void moneyReadsAsMoney() {
        TQuelvarino0049_0* p = panel();
        show(p, "01/11/2026", "30/11/2026");
        const auto axes = p->chart(2)->axes(Qt::Vertical);
        QVERIFY(!axes.isEmpty());
        const QStringList names = static_cast<QBarCategoryAxis*>(axes.first())->categories();
        QVERIFY2(names.contains("000012 CLIENTE 000012 R$ 1.096,33"),
                 qPrintable(names.join(" | ")));
        QVERIFY2(names.contains("000007 CLIENTE 000007 R$ 999,99"), qPrintable(names.join(" | ")));
    }

    // Opening the panel reads today's month at once: no blank cards.
    void openingReadsTheMonth() {
        TQuelvarino0049_0* p = panel();
        QTRY_VERIFY_WITH_TIMEOUT(!p->reading(), 20000);
        QCOMPARE(p->figures().from, QDate(2026, 11, 1));
        QCOMPARE(p->figures().to, QDate(2026, 11, 20));
        QCOMPARE(p->figures().orders, 3);
        QVERIFY(!p->chart(1)->series().isEmpty());
        QVERIFY(MessageBox::shownMessages().isEmpty());
    }

    // The figures behind each chart as a sheet of their own, the totals as
    // formulas that give the figures' sums.
    void spreadsheetOfTheFigures() {
        TQuelvarino0049_0* p = panel();
        show(p, "01/11/2026", "30/11/2026");
        const QString xlsx = home->path() + "/painel.xlsx";
        p->saveSheets(xlsx);
        const QJsonArray sheets = sheetsOf(xlsx);
        QStringList names;
        for (const QJsonValue& s : sheets)
            names << s.toObject()["name"].toString();
        QCOMPARE(names, QStringList({"Faturamento", "Clientes", "Horas dos motoboys",
                                     "Custo e faturamento", "Hora de início"}));
        QMap<QString, QJsonObject> cells;  // "sheet!ref"
        for (const QJsonValue& s : sheets)
            for (const QJsonValue& c : s.toObject()["cells"].toArray())
                cells.insert(s.toObject()["name"].toString() + "!" + c.toObject()["ref"].toString(),
                             c.toObject());
        int formulas = 0;
        for (const QJsonObject& c : cells) {
            if (!c.contains("formula"))
                continue;
            ++formulas;
            QVERIFY(qAbs(c["computed"].toDouble() - c["value"].toDouble()) < 1e-6);
        }
        QVERIFY(formulas >= 8);
        // 03/11 is the third day: FATURADO 999,99 and OUTROS 1016,33.
        bool found = false;
        for (const QJsonObject& c : cells) {
            if (c["value"].toString() == "03/11") {
                const QString row = QString::number(c["row"].toInt());
                QCOMPARE(cells["Faturamento!C" + row]["value"].toDouble(), 999.99);
                QCOMPARE(cells["Faturamento!D" + row]["value"].toDouble(), 1016.33);
                QCOMPARE(cells["Faturamento!E" + row]["format"].toString(), QString("#,##0.00"));
                found = true;
            }
            if (c["value"].toString() == "JOAO DA MOTO") {
                const QString row = QString::number(c["row"].toInt());
                QCOMPARE(cells["Horas dos motoboys!D" + row]["value"].toDouble(), 150.0);
                QCOMPARE(cells["Horas dos motoboys!D" + row]["format"].toString(),
                         QString("[h]:mm"));
            }
        }
        QVERIFY(found);
    }

    // A salaried courier costs his salary in every month the period
    // touches, with or without orders, as his payment prints it; a blocked
    // one costs nothing.
    void salariesAreACostOfEveryMonth_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("months");
        QTest::newRow("a month") << "01/11/2026"
                                 << "30/11/2026" << 1;
        QTest::newRow("part of two months") << "15/11/2026"
                                            << "05/12/2026" << 2;
        QTest::newRow("four months, by month") << "01/09/2026"
                                               << "31/12/2026" << 4;
    }
    void salariesAreACostOfEveryMonth() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, months);
        TQuelvarino0049_0* p = panel();
        show(p, from, to);
        const PanelFigures before = p->figures();
        store("tbmotociclista", {{"COD", "000009"},
                                 {"NOME", "CARLOS FIXO"},
                                 {"VALOR", "0"},
                                 {"SALARIO", "1000"},
                                 {"SITUACAO", "ATIVO"}});
        store("tbmotociclista", {{"COD", "000010"},
                                 {"NOME", "PEDRO SAIU"},
                                 {"SALARIO", "800,00"},
                                 {"SITUACAO", "BLOQUEADO"}});
        store("tbentrdesp", {{"NUMDESP", "0000000002"},
                             {"CODMOT", "000009"},
                             {"CODDESP", "000001"},
                             {"VALOR", "150"},
                             {"DATA", "20/11/2026"}});
        show(p, from, to);
        const PanelFigures& f = p->figures();
        QCOMPARE(f.months.size(), months);
        for (int i = 0; i < months; ++i) {
            QCOMPARE(formatMoney(f.monthSalaries[i]), QString("1000,00"));
            const double expense = f.months[i] == "11/2026" ? 150 : 0;
            QCOMPARE(formatMoney(f.monthCost[i]),
                     formatMoney(before.monthCost[i] + 1000 + expense));
        }
        QStringList codes;
        for (const PanelFigures::Courier& c : f.couriers)
            codes << c.code;
        QVERIFY(!codes.contains("000010"));
        const PanelFigures::Courier& carlos = f.couriers[int(codes.indexOf("000009"))];
        QCOMPARE(carlos.name, QString("CARLOS FIXO"));
        QCOMPARE(carlos.normal + carlos.fifty + carlos.hundred, 0LL);
        QCOMPARE(formatMoney(carlos.pay), formatMoney(1000.0 * months + 150));
        // The salaried courier's payment prints the same salary.
        auto* s = TQuelvarino0047_0::instance();
        s->Edcodmot->setText("000009");
        s->EdcodmotExit();
        s->Eddata1->setText(from);
        s->Eddata2->setText(to);
        QVERIFY(s->prepare());
        QCOMPARE(ReportCatalog::find("47_0")->collect(s->criteria()).totals.value("SALARIO"),
                 formatMoney(carlos.salary));
        // The chart's cost line carries the salaries.
        auto* cost = qobject_cast<QLineSeries*>(p->chart(4)->series()[1]);
        for (int i = 0; i < months; ++i)
            QCOMPARE(cost->at(i).y(), f.monthCost[i]);
    }

    // The orders are read a slice at a time: input reaches the window
    // between two slices, and a new period asked for meanwhile replaces the
    // reading under way.
    void theWindowAnswersWhileReading() {
        TQuelvarino0049_0* p = panel();
        TQuelvarino0049_0::setSliceForTests(1);
        // Each key the field gets while reading brings the next one, as an
        // operator typing on.
        struct Typist : QObject {
            TQuelvarino0049_0* panel;
            QList<int> progress;  // Ed_Bar's value when a key came in reading
            bool eventFilter(QObject* o, QEvent* e) override {
                if (e->type() != QEvent::KeyPress || !panel->reading())
                    return false;
                progress << panel->Ed_Bar->value();
                if (progress.size() == 3) {
                    // The operator asks for a single day meanwhile.
                    panel->Eddata1->setText("03/11/2026");
                    panel->Eddata2->setText("03/11/2026");
                    click(panel->Btn_Atualizar);
                }
                QCoreApplication::postEvent(
                    o, new QKeyEvent(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier));
                return false;
            }
        } typist;
        typist.panel = p;
        p->Eddata1->installEventFilter(&typist);
        p->Eddata1->setText("01/09/2026");
        p->Eddata2->setText("31/12/2026");
        click(p->Btn_Atualizar);
        QVERIFY(p->reading());
        QVERIFY(p->Ed_Bar->isVisible());
        QCOMPARE(p->Ed_Bar->maximum(), 6);
        QCoreApplication::postEvent(p->Eddata1,
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier));
        QTRY_VERIFY_WITH_TIMEOUT(!p->reading(), 20000);
        TQuelvarino0049_0::setSliceForTests(0);
        p->Eddata1->removeEventFilter(&typist);
        // The keys came in between the slices, the reading going on.
        QVERIFY(typist.progress.size() >= 3);
        const QList<int> first = typist.progress.mid(0, 3);
        QVERIFY2(
            first[2] > first[0] && first[2] < 6,
            qPrintable(QString("progress %1, %2, %3").arg(first[0]).arg(first[1]).arg(first[2])));
        // The new period replaced the reading under way.
        QCOMPARE(p->figures().from, QDate(2026, 11, 3));
        QCOMPARE(p->figures().to, QDate(2026, 11, 3));
        QCOMPARE(p->figures().orders, 2);
        QVERIFY(!p->Ed_Bar->isVisible());
    }

    void defaultsToTodaysMonth() {
        TQuelvarino0049_0* p = panel();
        QCOMPARE(p->Eddata1->text(), QString("01/11/2026"));
        QCOMPARE(p->Eddata2->text(), QString("20/11/2026"));
    }
};

QUELVARINO_GUI_TEST_MAIN(TestPanel)
#include "tst_panel.moc"
