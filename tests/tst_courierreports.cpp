#include "app/mainwindow.h"
#include "app/program.h"
#include "core/clock.h"
#include "core/reporttotals.h"
#include "registers/couriers.h"
#include "reportscreens/courierreports.h"
#include "reportscreens/printdialog.h"
#include "testsupport.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/testseams.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <memory>

using namespace quelvarino;
using namespace operatorDoes;

namespace {

// Dot-matrix lines without the condensed-print code that starts them.
QStringList linesOf(const QByteArray& bytes) {
    QStringList out = QString::fromLatin1(bytes).split("\r\n");
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    for (QString& l : out) {
        if (l.startsWith('\x0f'))
            l.remove(0, 1);
    }
    return out;
}

// A line without its print codes (emphasis, wide print).
QString bare(QString l) {
    l.remove(QRegularExpression("\x1b[GH]|[\x0e\x0f\x14]"));
    return l;
}

struct Order {
    int number;
    QString date;
    QString normal = "00:00", fifty = "00:00", hundred = "00:00";
    QString fixed = "0,00";
    QString courier = "000003";
    QString hours = "02:00";
    QString client = "FARMACIA CENTRAL";
};

}  // namespace

// The courier reports and the order listing through their screens and
// dialogs, and their totals alone.
class TestCourierReports : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;

    QString pdf() const { return home->path() + "/preview.pdf"; }

    static void addOrder(const Order& o) {
        store("tbordem", {{"COMANDA", QString("%1").arg(o.number, 6, 10, QChar('0'))},
                          {"DATA", o.date},
                          {"CODCLI", "000007"},
                          {"CLIENTE", o.client},
                          {"CODMOT", o.courier},
                          {"MOTOBOY", "JOAO DA MOTO"},
                          {"PAGAMENTO", "À VISTA"},
                          {"HORA1", "08:00"},
                          {"HORA2", "08:30"},
                          {"HORA3", "10:30"},
                          {"HORA4", o.hours},
                          {"TOTHORN", o.normal},
                          {"TOTHOR50", o.fifty},
                          {"TOTHOR100", o.hundred},
                          {"TOTVALMOT", "24,00"},
                          {"VALMOT", o.fixed}});
    }
    static void addExpense(int n,
                           const QString& date,
                           const QString& value,
                           const QString& courier = "000003") {
        store("tbentrdesp", {{"NUMDESP", QString("%1").arg(n, 10, 10, QChar('0'))},
                             {"CODMOT", courier},
                             {"MOTOBOY", "JOAO DA MOTO"},
                             {"CODDESP", "000001"},
                             {"DESPESA", "COMBUSTIVEL"},
                             {"VALOR", value},
                             {"DATA", date}});
    }

    CourierReportScreen* open(const char* menu, const char* instance) {
        Quelvarino000_0->menuAction(menu)->trigger();
        auto* s = Screens::get<CourierReportScreen>(instance);
        activate(s);
        return s;
    }
    void criteria(ReportScreen* s, const QString& from, const QString& to) {
        s->Eddata1->setText(from);
        s->Eddata2->setText(to);
    }
    QByteArray printed(const QString& dialogName,
                       int item,
                       const QString& stem,
                       bool closeAfter = true) {
        auto* d = Screens::get<PrintDialog>(dialogName);
        [&] { QVERIFY2(d && d->isVisible(), qPrintable(dialogName + " " + lastMessage())); }();
        if (!d || !d->isVisible())
            return {};
        d->setEdtip(item);
        const QString path = home->path() + "/" + stem;
        if (item == 3)
            d->Edcam->setText(path);
        click(d->Btn_Imprimir);
        QByteArray out;
        if (item == 0) {
            out = pdfText(pdf()).toUtf8();
        } else {
            QFile f(item == 2 ? d->Edcam->text() + ".html" : path + ".txt");
            [&] { QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName())); }();
            out = f.readAll();
        }
        if (closeAfter && d->isVisible())
            click(d->Btn_Retornar);
        return out;
    }
    // The courier 000003 chosen for a period on one of the four screens.
    QByteArray courierReport(int n,
                             int item,
                             const QString& from = "01/12/2026",
                             const QString& to = "05/12/2026",
                             int order = -1,
                             bool closeAfter = true) {
        const char* menus[] = {"FechamentodoMotoboy1", "DespesasdoMotoboy2",
                               "ListagemdasHorasdoMotoboy1", "",
                               "ListagemdasDespesasdoMotoboycomSalrio1"};
        const QString instance = QString("Quelvarino004%1_0").arg(n);
        auto* s = open(menus[n - 3], qPrintable(instance));
        criteria(s, from, to);
        type(s->Edcodmot, n == 7 ? "5" : "3");
        if (order >= 0)
            s->findChild<QComboBox*>("Ed_Ord")->setCurrentIndex(order);
        click(s->Btn_Imprimir);
        return printed(QString("Quelvarino004%1_1").arg(n), item, QString("r4%1").arg(n),
                       closeAfter);
    }

private slots:
    void init() {
        QVERIFY(startProgramTest(home, QDateTime(QDate(2026, 12, 8), QTime(14, 30, 5))));
        PrintPreview::setTestMode(true, pdf());
        storeCompany();
        store(
            "tbmotociclista",
            {{"COD", "000003"}, {"NOME", "JOAO DA MOTO"}, {"VALOR", "12"}, {"SITUACAO", "ATIVO"}});
        store("tbmotociclista", {{"COD", "000004"},
                                 {"NOME", "PARADO DA SILVA"},
                                 {"VALOR", "10"},
                                 {"SITUACAO", "BLOQUEADO"}});
        store("tbmotociclista", {{"COD", "000005"},
                                 {"NOME", "FIXO DE SOUZA"},
                                 {"VALOR", "0"},
                                 {"SALARIO", "1000"},
                                 {"SITUACAO", "ATIVO"}});
    }
    void cleanup() { endProgramTest(home); }

    // ---- the totals alone -------------------------------------------------------

    void courierTotals_data() {
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QStringList>("orders");  // normal|50|100|fixed
        QTest::addColumn<QStringList>("expenses");
        QTest::addColumn<QStringList>("expected");  // hn vn h50 v50 h100 v100 fixas desp receber
        QTest::newRow("a fixed order adds no hours")
            << "12,00" << QStringList{"01:00|00:00|00:00|35,00"} << QStringList{}
            << QStringList{"000:00", "0,00",  "000:00", "0,00", "000:00",
                           "0,00",   "35,00", "0,00",   "35,00"};
        QTest::newRow("minutes carried into hours")
            << "12,00" << QStringList{"01:30|00:00|00:00|0,00", "02:45|00:00|00:00|"}
            << QStringList{} << QStringList{"004:15", "51,00", "000:00", "0,00", "000:00",
                                            "0,00",   "0,00",  "0,00",   "51,00"};
        QTest::newRow("hundred per cent doubles")
            << "12,00" << QStringList{"0|0|002:00|0,00"} << QStringList{}
            << QStringList{"000:00", "0,00", "000:00", "0,00", "002:00",
                           "48,00",  "0,00", "0,00",   "48,00"};
        QTest::newRow("fifty per cent, three-digit hours, expenses")
            << "10,00" << QStringList{"100:20|001:10|00:00|0,00", "00:50|000:20|00:00|0,00"}
            << QStringList{"15,50", "", "4,5"}
            << QStringList{"101:10", "1011,67", "001:30", "22,50",  "000:00",
                           "0,00",   "0,00",    "20,00",  "1014,17"};
        QTest::newRow("expenses above what is earned")
            << "12,00" << QStringList{"01:00|00:00|00:00|0,00"} << QStringList{"100,00"}
            << QStringList{"001:00", "12,00", "000:00", "0,00",  "000:00",
                           "0,00",   "0,00",  "100,00", "-88,00"};
        QTest::newRow("no rate") << "" << QStringList{"03:00|00:00|00:00|0,00"} << QStringList{}
                                 << QStringList{"003:00", "0,00", "000:00", "0,00", "000:00",
                                                "0,00",   "0,00", "0,00",   "0,00"};
    }
    void courierTotals() {
        QFETCH(QString, rate);
        QFETCH(QStringList, orders);
        QFETCH(QStringList, expenses);
        QFETCH(QStringList, expected);
        CourierTotalizer t(rate);
        for (const QString& o : orders) {
            const QStringList f = o.split('|');
            t.addOrder(f[0], f[1], f[2], f[3]);
        }
        for (const QString& e : expenses)
            t.addExpense(e);
        const CourierTotals c = t.totals();
        QCOMPARE((QStringList{c.hoursNormal, c.valueNormal, c.hours50, c.value50, c.hours100,
                              c.value100, c.fixed, c.expenses, c.toReceive}),
                 expected);
    }

    void listingHours_data() {
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<QString>("total");
        QTest::newRow("empty and blank count zero")
            << QStringList{"01:40", "", "  :", "02:30"} << "004:10";
        QTest::newRow("under ten minutes") << QStringList{"00:05"} << "000:05";
        QTest::newRow("a thousand hours print whole") << QStringList(100, "10:30") << "1050:00";
    }
    void listingHours() {
        QFETCH(QStringList, times);
        QFETCH(QString, total);
        BandHours h;
        for (const QString& t : times)
            h.add(t);
        QCOMPARE(h.text(), total);
    }

    void salariedNet_data() {
        QTest::addColumn<QString>("salary");
        QTest::addColumn<QString>("expenses");
        QTest::addColumn<QString>("net");
        QTest::newRow("example") << "1000"
                                 << "150,00"
                                 << "850,00";
        QTest::newRow("no expenses") << "1518,5"
                                     << "0,00"
                                     << "1518,50";
        QTest::newRow("more expenses than salary") << "100"
                                                   << "150,25"
                                                   << "-50,25";
    }
    void salariedNet() {
        QFETCH(QString, salary);
        QFETCH(QString, expenses);
        QFETCH(QString, net);
        QCOMPARE(quelvarino::salariedNet(salary, expenses), net);
    }

    // ---- the screens ----------------------------------------------------------------

    void courierCodeOnExit_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("message");
        for (int s : {43, 44, 45, 47}) {
            const QByteArray n = QByteArray::number(s);
            QTest::newRow(n + " inexistent") << s << "9"
                                             << ""
                                             << "Código do motoboy inexistente.";
            QTest::newRow(n + " blocked") << s << "4"
                                          << ""
                                          << "Situação do Motoboy BLOQUEADO.";
            QTest::newRow(n + " salaried") << s << "5"
                                           << "000005"
                                           << "";
        }
        QTest::newRow("43 left-filled") << 43 << "3"
                                        << "000003"
                                        << "";
        QTest::newRow("47 without salary") << 47 << "3"
                                           << ""
                                           << "Este motociclista não tem salário fixo.";
    }
    void courierCodeOnExit() {
        QFETCH(int, screen);
        QFETCH(QString, typed);
        QFETCH(QString, code);
        QFETCH(QString, message);
        const char* menus[] = {"FechamentodoMotoboy1", "DespesasdoMotoboy2",
                               "ListagemdasHorasdoMotoboy1", "",
                               "ListagemdasDespesasdoMotoboycomSalrio1"};
        auto* s = open(menus[screen - 43], qPrintable(QString("Quelvarino00%1_0").arg(screen)));
        QCOMPARE(QApplication::focusWidget(), s->Edcodmot);  // the menu's focus
        type(s->Edcodmot, typed);
        QCOMPARE(s->Edcodmot->text(), code);
        QCOMPARE(lastMessage(), message);
        if (!message.isEmpty()) {
            QCOMPARE(MessageBox::shownMessages().last().icon, QMessageBox::Question);
            QVERIFY(s->Edmotoboy->text().isEmpty());
        } else {
            QVERIFY(!s->Edmotoboy->text().isEmpty());
        }
    }

    void searchCallers_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("caller");
        QTest::newRow("43") << 43 << "fechamento_motoboy";
        QTest::newRow("44") << 44 << "despesa_motoboy";
        QTest::newRow("45") << 45 << "listagem_horas";
        QTest::newRow("47") << 47 << "mot_fixo";
    }
    void searchCallers() {
        QFETCH(int, screen);
        QFETCH(QString, caller);
        const char* menus[] = {"FechamentodoMotoboy1", "DespesasdoMotoboy2",
                               "ListagemdasHorasdoMotoboy1", "",
                               "ListagemdasDespesasdoMotoboycomSalrio1"};
        auto* s = open(menus[screen - 43], qPrintable(QString("Quelvarino00%1_0").arg(screen)));
        click(s->Btn_ConsMot);
        auto* search = TQuelvarino0012_1::instance();
        QVERIFY(search->isVisible());
        QCOMPARE(search->callerName(), caller);
        QTest::keyClicks(search->Ed_Desc, "JOAO");
        click(search->Btn_Retornar);
        if (caller == "mot_fixo") {
            // Only a courier with a salary may be paid as one.
            QCOMPARE(lastMessage(), QString("Este motociclista não tem salário fixo."));
            QVERIFY(search->isVisible());
            search->Ed_Desc->clear();
            QTest::keyClicks(search->Ed_Desc, "FIXO");
            click(search->Btn_Retornar);
            QCOMPARE(s->Edcodmot->text(), QString("000005"));
        } else {
            QCOMPARE(s->Edcodmot->text(), QString("000003"));
            QCOMPARE(s->Edmotoboy->text(), QString("JOAO DA MOTO"));
        }
    }

    void refusals_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<bool>("courier");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        for (int s : {43, 44, 45, 47}) {
            const QByteArray n = QByteArray::number(s);
            QTest::newRow(n + " no courier") << s << false << "Selecione o motoboy."
                                             << "Edcodmot";
            QTest::newRow(n + " nothing in the period") << s << true << "Intervalos inexistentes."
                                                        << "";
        }
        QTest::newRow("46 nothing in the period") << 46 << false << "Intervalos inexistentes."
                                                  << "";
    }
    void refusals() {
        QFETCH(int, screen);
        QFETCH(bool, courier);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        addOrder({1, "10/12/2026"});  // after the period
        addExpense(1, "10/12/2026", "5,00");
        ReportScreen* s = nullptr;
        if (screen == 46) {
            Quelvarino000_0->menuAction("ListagemdasOSEmitidas1")->trigger();
            s = TQuelvarino0046_0::instance();
            activate(s);
            QCOMPARE(QApplication::focusWidget(), s->Eddata1);
        } else {
            const char* menus[] = {"FechamentodoMotoboy1", "DespesasdoMotoboy2",
                                   "ListagemdasHorasdoMotoboy1", "",
                                   "ListagemdasDespesasdoMotoboycomSalrio1"};
            auto* c = open(menus[screen - 43], qPrintable(QString("Quelvarino00%1_0").arg(screen)));
            if (courier)
                type(c->Edcodmot, screen == 47 ? "5" : "3");
            s = c;
        }
        criteria(s, "01/12/2026", "05/12/2026");
        click(s->Btn_Imprimir);
        QCOMPARE(lastMessage(), message);
        QCOMPARE(MessageBox::shownMessages().last().icon, QMessageBox::Warning);
        QVERIFY(!Screens::find(QString("Quelvarino00%1_1").arg(screen))->isVisible());
        if (!focus.isEmpty())
            QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }

    // ---- the printed reports --------------------------------------------------------

    void courierClosingText() {
        addOrder({1, "01/12/2026", "01:30"});
        addOrder({2, "03/12/2026", "02:45", "00:30"});
        addOrder({3, "04/12/2026", "00:00", "00:00", "002:00"});
        Order fixed{4, "05/12/2026", "08:00"};
        fixed.fixed = "35,00";
        addOrder(fixed);
        Order other{5, "02/12/2026", "05:00"};
        other.courier = "000005";
        addOrder(other);
        addExpense(1, "02/12/2026", "10,00");
        addExpense(2, "30/11/2026", "99,00");  // before the period: not taken off
        addExpense(3, "05/12/2026", "2,50");
        const QStringList lines = linesOf(courierReport(3, 3));
        const int title =
            lines.indexOf(QRegularExpression(".*F E C H A M E N T O   D O   M O T O B O Y.*"));
        QVERIFY(title > 0);
        QVERIFY(lines.contains("Motoboy : 000003 - JOAO DA MOTO"));
        QStringList totals;
        for (const QString& l : lines.mid(title))
            if (l.contains("TOTAL") && !l.contains("F E C H"))
                totals << bare(l);
        QCOMPARE(totals, (QStringList{"TOTAL DE HORAS NORMAIS   : 004:15 -      51,00",
                                      "TOTAL DE HORAS 50%       : 000:30 -       9,00",
                                      "TOTAL DE HORAS 100%      : 002:00 -      48,00",
                                      "VALOR TOTAL DE OS FIXAS  :      35,00",
                                      "TOTAL DE DESPESAS        :      12,50",
                                      "TOTAL A RECEBER          :     130,50"}));
        QCOMPARE(lines.count("\f"), 1);
        QCOMPARE(lines.last(), QString("\f"));
    }

    // The closing's dialog stays open after its text printout and prints
    // the same figures again in another form.
    void courierClosingPrintsAgain() {
        addOrder({1, "01/12/2026", "01:30"});
        const QByteArray first = courierReport(3, 3, "01/12/2026", "05/12/2026", -1, false);
        QVERIFY(linesOf(first).filter("TOTAL A RECEBER          :      18,00").size() == 1);
        auto* d = Screens::get<PrintDialog>("Quelvarino0043_1");
        QVERIFY(d->isVisible());
        d->setEdtip(0);
        click(d->Btn_Imprimir);
        const QString page = pdfText(pdf());
        QVERIFY2(page.contains("001:30 - 18,00"), qPrintable(page));
        QVERIFY(!d->isVisible());  // the page report closes the dialog
    }

    void courierClosingHtml() {
        addOrder({1, "01/12/2026", "01:30"});
        addExpense(1, "02/12/2026", "10,00");
        const QStringList got = QString::fromLatin1(courierReport(3, 2)).split("\r\n");
        const QStringList want = {
            "<html>",
            "<head><title>Fechamento do Motoboy</title></head>",
            "<body>",
            "MOTOBOY EXPRESS <br>",
            "RUA DO COMERCIO, 100 -  - SAO PAULO - SP <br>",
            " Telefone : ()  /  <br>",
            "<h1 align=\"center\">FECHAMENTO DO MOTOBOY</h1>",
            "<hr size=3></hr>",
            "<div align=\"center\">Periodo de 01/12/2026 ate 05/12/2026</div><br>",
            "<div align=\"left\">Motoboy : 000003 - JOAO DA MOTO</div><br>",
            "<div align=\"left\">Total de Horas Normais : 001:30 - 18,00</div><br>",
            " <br>",
            "<div align=\"left\">Total de Horas 50% : 000:00 - 0,00</div><br>",
            " <br>",
            "<div align=\"left\">Total de Horas 100% : 000:00 - 0,00</div><br>",
            " <br>",
            "<div align=\"left\">Valor Total de OS Fixas : 0,00</div><br>",
            " <br>",
            "<div align=\"left\">Total de Despesas : 10,00</div><br>",
            " <br>",
            QString::fromUtf8("<div align=\"left\">Total à Receber : 8,00</div><br>"),
            " <br>",
            " <br>"};
        QCOMPARE(got.mid(0, want.size()), want);
        QCOMPARE(got.mid(want.size() + 1),
                 (QStringList{"<hr size=3></hr>", "</body>", "</html>", ""}));
        // Its HTML keeps the default path.
        QVERIFY(QFile::exists(home->dataFolder() + "/Relatorios/Rel03.html"));
    }

    void listingsAsText_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("totals");
        QTest::newRow("44") << 44 << -1
                            << QStringList{"| 01/12/2026 |  0000000002 | 000001 - COMBUSTIVEL"
                                           "                                   |      10,50 |",
                                           "| 03/12/2026 |  0000000001 | 000001 - COMBUSTIVEL"
                                           "                                   |    1016,33 |"}
                            << QStringList{"TOTAL DAS DESPESAS     :   1026,83"};
        QTest::newRow("45 by number")
            << 45 << 0
            << QStringList{"| 03/12/2026 |   000001       |    08:00   |     08:30    |    10:30"
                           "   |      02:00     |     01:30     |   00:00   |   00:00    |       "
                           "24,00  |       0,00  |",
                           "| 01/12/2026 |   000002       |    08:00   |     08:30    |    10:30"
                           "   |      02:00     |     02:45     |   00:00   |   00:00    |       "
                           "24,00  |       0,00  |"}
            << QStringList{"VALOR HORA DO MOTOBOY   :      12,00",
                           "TOTAL DE HORAS NORMAIS  : 004:15 -      51,00",
                           "TOTAL DE HORAS 50%      : 000:00 -       0,00",
                           "TOTAL DE HORAS 100%     : 000:00 -       0,00",
                           "VALOR TOTAL DE OS FIXAS :       0,00",
                           "TOTAL DE DESPESAS       :    1026,83",
                           "TOTAL A RECEBER         :    -975,83"};
        QTest::newRow("45 by date")
            << 45 << 1 << QStringList{"| 01/12/2026 |   000002 ", "| 03/12/2026 |   000001 "}
            << QStringList{};
        QTest::newRow("47") << 47 << 1
                            << QStringList{"| 01/12/2026 | 000001 - COMBUSTIVEL                "
                                           "                   |      20,00 |",
                                           "| 04/12/2026 | 000001 - COMBUSTIVEL                "
                                           "                   |     130,00 |"}
                            << QStringList{"TOTAL DAS DESPESAS      :     150,00",
                                           "SALARIO DO MOTOBOY      :    1000,00",
                                           "TOTAL LIQUIDO A RECEBER :     850,00"};
    }
    void listingsAsText() {
        QFETCH(int, screen);
        QFETCH(int, order);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, totals);
        addOrder({1, "03/12/2026", "01:30"});
        addOrder({2, "01/12/2026", "02:45"});
        addExpense(1, "03/12/2026", "1016,33");
        addExpense(2, "01/12/2026", "10,5");
        addExpense(3, "04/12/2026", "130", "000005");
        addExpense(4, "01/12/2026", "20", "000005");
        addExpense(5, "06/12/2026", "70", "000005");  // after the period
        const QStringList lines =
            linesOf(courierReport(screen - 40, 3, "01/12/2026", "05/12/2026", order));
        QStringList found;
        for (const QString& l : lines)
            if (l.startsWith("| 0"))
                found << l;
        QCOMPARE(found.size(), rows.size());
        for (int i = 0; i < rows.size(); ++i)
            QVERIFY2(found[i].startsWith(rows[i]), qPrintable(found[i]));
        QStringList got;
        for (const QString& l : lines)
            if (totals.contains(bare(l)))
                got << bare(l);
        QCOMPARE(got, totals);
    }

    // 43 rows on the first page, 49 on the later ones; the order listing's
    // total counts an empty total time as zero.
    void orderListing() {
        for (int i = 1; i <= 100; ++i) {
            Order o{i, i <= 50 ? "02/12/2026" : "03/12/2026"};
            o.hours = i == 7 ? "" : "01:10";
            o.courier = i % 2 ? "000003" : "000005";
            addOrder(o);
        }
        addOrder({101, "09/12/2026"});  // outside the period
        Quelvarino000_0->menuAction("ListagemdasOSEmitidas1")->trigger();
        auto* s = TQuelvarino0046_0::instance();
        activate(s);
        criteria(s, "01/12/2026", "05/12/2026");
        click(s->Btn_Imprimir);
        const QStringList lines = linesOf(printed("Quelvarino0046_1", 3, "r46", false));
        QList<int> rows{0};
        for (const QString& l : lines) {
            if (l == "\f")
                rows << 0;
            else if (l.startsWith("| 0"))
                ++rows.last();
        }
        QCOMPARE(rows, (QList<int>{43, 49, 8, 0}));
        // 99 × 01:10 = 115:30
        QCOMPARE(lines.filter(QRegularExpression("TOTAL DE HORAS         : 115:30")).size(), 1);
        // The order without a total time: an empty cell.
        QVERIFY(lines.contains("| 02/12/2026 | 000007     | " +
                               QString("FARMACIA CENTRAL").leftJustified(60) + " |" +
                               QString(13, ' ') + "|"));
        // The same total in the page report and the HTML.
        auto* d = Screens::get<PrintDialog>("Quelvarino0046_1");
        d->setEdtip(2);
        click(d->Btn_Imprimir);
        QFile html(home->dataFolder() + "/Relatorios/Rel06.html");
        QVERIFY(html.open(QIODevice::ReadOnly));
        const QString doc = QString::fromLatin1(html.readAll());
        QVERIFY(doc.contains("<div align=\"left\">Total de Horas : 115:30</div><br>\r\n <br>"));
        QCOMPARE(doc.count("<tr>\r\n"), 100);
        criteria(s, "01/12/2026", "05/12/2026");  // the dialog closed: the screen was reset
        click(s->Btn_Imprimir);
        const QString page = QString::fromUtf8(printed("Quelvarino0046_1", 0, ""));
        QVERIFY2(page.contains("TOTAL DE HORAS : 115:30"), qPrintable(page.right(400)));
    }

    void pageReports_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("43") << 43
                            << QStringList{"FECHAMENTO DO MOTOBOY",
                                           "Motoboy : 000003 - JOAO DA MOTO", "004:15 - 51,00",
                                           "TOTAL À RECEBER", "41,00"};
        QTest::newRow("44") << 44
                            << QStringList{"DESPESAS DO MOTOBOY", "COMBUSTIVEL", "0000000001",
                                           "Total das despesas: R$ 10,00"};
        QTest::newRow("45") << 45
                            << QStringList{"LISTAGEM DAS HORAS DO MOTORISTA", "000001", "000002",
                                           "VALOR HORA DO MOTORISTA : 12,00", "004:15 - 51,00"};
        QTest::newRow("47") << 47
                            << QStringList{"PAGAMENTO DO MOTOBOY AUTÔNOMO", "COMBUSTIVEL",
                                           "SALÁRIO DO MOTOBOY", "1000,00", "990,00"};
    }
    void pageReports() {
        QFETCH(int, screen);
        QFETCH(QStringList, expected);
        addOrder({1, "03/12/2026", "01:30"});
        addOrder({2, "01/12/2026", "02:45"});
        addExpense(1, "03/12/2026", "10");
        addExpense(2, "03/12/2026", "10", "000005");
        const QString text = QString::fromUtf8(courierReport(screen - 40, 0));
        for (const QString& e : expected)
            QVERIFY2(text.contains(e), qPrintable(e + "\n" + text));
    }

    void htmlTables_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("44") << 44
                            << QStringList{
                                   "<table align=\"center\" width=\"820\" Border=\"1\">",
                                   "<td align=\"center\" width=\"120\">Entrada No.</td>",
                                   "<td align=\"left\" width=\"510\"><!-- @ -->COMBUSTIVEL</td>",
                                   "<td align=\"right\" width=\"80\"><!-- @ -->10,00</td>",
                                   "<div align=\"left\">TOTAL DAS DESPESAS : 10,00</div><br>"};
        QTest::newRow("45")
            << 45
            << QStringList{"<table align=\"center\" width=\"730\" Border=\"1\">",
                           "<td align=\"center\" width=\"100\">Valor OS Fixas</td></tr>",
                           "<td align=\"right\" width=\"80\"><!-- @ -->24,00</td>",
                           "<div align=\"left\">Valor Hora do Motoboy : 12,00</div><br>",
                           "<div align=\"left\">Total de Horas Normais : 004:15 - 51,00</div><br>"};
        QTest::newRow("47")
            << 47
            << QStringList{"<table align=\"center\" width=\"700\" Border=\"1\">",
                           "<div align=\"left\">SALARIO DO MOTOBOY : 1000,00</div><br>",
                           QString::fromUtf8(
                               "<div align=\"left\">TOTAL LIQUIDO À RECEBER : 990,00</div><br>")};
    }
    void htmlTables() {
        QFETCH(int, screen);
        QFETCH(QStringList, expected);
        addOrder({1, "03/12/2026", "01:30"});
        addOrder({2, "01/12/2026", "02:45"});
        addExpense(1, "03/12/2026", "10");
        addExpense(2, "03/12/2026", "10", "000005");
        const QStringList lines = QString::fromLatin1(courierReport(screen - 40, 2)).split("\r\n");
        for (const QString& e : expected)
            QVERIFY2(lines.contains(e), qPrintable(e));
    }
};

QUELVARINO_GUI_TEST_MAIN(TestCourierReports)
#include "tst_courierreports.moc"
