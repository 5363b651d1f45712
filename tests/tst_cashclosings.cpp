#include "app/mainwindow.h"
#include "app/program.h"
#include "core/clock.h"
#include "core/dates.h"
#include "core/money.h"
#include "core/reporttotals.h"
#include "data/datafolder.h"
#include "data/worktables.h"
#include "registers/clients.h"
#include "reportscreens/cashclosing.h"
#include "reportscreens/printdialog.h"
#include "testsupport.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/testseams.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <memory>

using namespace quelvarino;
using namespace operatorDoes;

namespace {

// The lines of a dot-matrix file without the condensed-print code that
// starts most of them; page feeds are lines of their own.
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

// The order numbers of the detail lines, in the order they were printed.
QStringList numbersIn(const QStringList& lines, const QRegularExpression& row) {
    QStringList out;
    for (const QString& l : lines) {
        const auto m = row.match(l);
        if (m.hasMatch())
            out << m.captured(1);
    }
    return out;
}

struct Order {
    int number;
    QString date;
    QString client = "000007";
    QString clientName = "FARMACIA CENTRAL";
    QString courier = "000003";
    QString courierName = "JOAO DA MOTO";
    QString payment = "À VISTA";
    QString total = "55,00";
    QString hours = "01:40";
    QString fee = "5,00";
    QString courierValue = "20,00";
    QString fixed = "0,00";
};

}  // namespace

// The cash closings through their screens, their dialogs and every output.
class TestCashClosings : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;

    QString pdf() const { return home->path() + "/preview.pdf"; }

    static void addOrder(const Order& o) {
        store("tbordem", {{"COMANDA", QString("%1").arg(o.number, 6, 10, QChar('0'))},
                          {"DATA", o.date},
                          {"CODCLI", o.client},
                          {"CLIENTE", o.clientName},
                          {"CODMOT", o.courier},
                          {"MOTOBOY", o.courierName},
                          {"PAGAMENTO", o.payment},
                          {"SOLICITANTE", "JOANA"},
                          {"HORA1", "08:00"},
                          {"HORA2", "08:30"},
                          {"HORA3", "10:10"},
                          {"HORA4", o.hours},
                          {"VALOR", "25,00"},
                          {"TOTHORN", "01:40"},
                          {"TOTHOR50", "00:00"},
                          {"TOTHOR100", "00:00"},
                          {"VALORN", "50,00"},
                          {"VALOR50", "0,00"},
                          {"VALOR100", "0,00"},
                          {"TOTVAL", o.total},
                          {"TOTTAXA", o.fee},
                          {"TOTTAXAM", o.fee},
                          {"TOTVALMOT", o.courierValue},
                          {"VALMOT", o.fixed}});
    }

    void dates(ReportScreen* s, const QString& from, const QString& to) {
        auto* d1 = s->findChild<MaskEdit*>("Eddata1");
        auto* d2 = s->findChild<MaskEdit*>("Eddata2");
        d1->setText(from);
        d2->setText(to);
    }

    // Prints through the dialog; returns the file's bytes (text and HTML)
    // or the PDF's text (page).
    QByteArray printed(const char* dialogName, int item, const QString& stem) {
        auto* d = Screens::get<PrintDialog>(dialogName);
        [&] { QVERIFY2(d && d->isVisible(), dialogName); }();
        d->setEdtip(item);
        const QString path = home->path() + "/" + stem;
        if (item != 0)
            d->Edcam->setText(path);
        click(d->Btn_Imprimir);
        if (d->isVisible())
            click(d->Btn_Retornar);
        if (item == 0)
            return pdfText(pdf()).toUtf8();
        QFile f(path + (item == 2 ? ".html" : ".txt"));
        [&] { QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName())); }();
        return f.readAll();
    }

    TQuelvarino0041_0* byPeriod() {
        Quelvarino000_0->menuAction("FechamentodoCaixaporperodo1")->trigger();
        auto* s = TQuelvarino0041_0::instance();
        activate(s);
        return s;
    }
    TQuelvarino0042_0* byClient() {
        Quelvarino000_0->menuAction("FechamentodoCaixaporCliente1")->trigger();
        auto* s = TQuelvarino0042_0::instance();
        activate(s);
        return s;
    }
    TQuelvarino0048_0* totalizer() {
        Quelvarino000_0->menuAction("RelatrioTotalizadordeServios1")->trigger();
        auto* s = TQuelvarino0048_0::instance();
        activate(s);
        return s;
    }
    bool dialogShown(const char* name) {
        auto* d = Screens::find(name);
        return d && d->isVisible();
    }

private slots:
    void init() {
        QVERIFY(startProgramTest(home, QDateTime(QDate(2026, 12, 8), QTime(14, 30, 5))));
        PrintPreview::setTestMode(true, pdf());
        storeCompany();
        store("tbclientes",
              {{"CODCLI", "000007"}, {"RAZAOSOCIAL", "FARMACIA CENTRAL"}, {"SITUACAO", "ATIVO"}});
        store("tbclientes",
              {{"CODCLI", "000008"}, {"RAZAOSOCIAL", "DEVEDORA LTDA"}, {"SITUACAO", "BLOQUEADO"}});
        store("tbclientes",
              {{"CODCLI", "000012"}, {"RAZAOSOCIAL", "PADARIA DO ZE"}, {"SITUACAO", "ATIVO"}});
    }
    void cleanup() { endProgramTest(home); }

    // ---- the totals, alone -----------------------------------------------------

    void closingHours_data() {
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<QString>("total");
        QTest::newRow("minutes carried") << QStringList{"01:40", "02:30"} << "4:10";
        QTest::newRow("exactly twelve hours") << QStringList{"05:00", "07:00"} << "12:";
        QTest::newRow("empty and blank parts count 0")
            << QStringList{"", "  :30", "01:  ", "00:45"} << "2:15";
        QTest::newRow("nothing") << QStringList{} << ":";
        QTest::newRow("hundreds of hours") << QStringList(150, "01:59") << "297:30";
    }
    void closingHours() {
        QFETCH(QStringList, times);
        QFETCH(QString, total);
        QCOMPARE(clientClosingHours(times), total);
        ClosingHours one;
        for (const QString& t : times)
            one.add(t);
        QCOMPARE(one.text(), total);
    }

    void moneyTotals_data() {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<bool>("normalise");
        QTest::addColumn<QString>("total");
        QTest::newRow("empty counts 0") << QStringList{"10,50", "", "0,25"} << false << "10,75";
        QTest::newRow("thousands never cut")
            << QStringList{"999,99", "1016,33"} << false << "2016,32";
        QTest::newRow("each rounded as printed") << QStringList{"0,005", "0,005"} << true << "0,02";
        QTest::newRow("raw sum") << QStringList{"0,004", "0,004"} << false << "0,01";
        QTest::newRow("a long column does not drift")
            << QStringList(10000, "0,10") << false << "1000,00";
    }
    void moneyTotals() {
        QFETCH(QStringList, values);
        QFETCH(bool, normalise);
        QFETCH(QString, total);
        QCOMPARE(moneyTotal(values, normalise), total);
        MoneySum sum(normalise);
        for (const QString& v : values)
            sum.add(v);
        QCOMPARE(sum.text(), total);
    }

    void datesBothWays() {
        // The quick conversions agree with Qt's on every day of four years.
        for (QDate d(2023, 1, 1); d <= QDate(2026, 12, 31); d = d.addDays(1)) {
            QCOMPARE(formatDate(d), d.toString("dd/MM/yyyy"));
            QCOMPARE(isoDate(d), d.toString(Qt::ISODate));
        }
        QCOMPARE(formatDate(QDate()), QString());
    }

    // ---- the screens: messages, lookups, resets --------------------------------

    void refusalsAndTheirFocus_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("41 no form") << 41
                                    << "Intervalos inexistentes ou selecione qual a forma de "
                                       "pagamento."
                                    << "Eddata1";
        QTest::newRow("42 no client") << 42
                                      << "Selecione o cliente ou selecione qual a forma de "
                                         "pagamento."
                                      << "Edcodcli";
        QTest::newRow("48 no kind") << 48
                                    << "Intervalos inexistentes, tipo de relatório e qual a "
                                       "forma de pagamento."
                                    << "Eddata1";
    }
    void refusalsAndTheirFocus() {
        QFETCH(int, screen);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        addOrder({1, "08/12/2026"});
        ReportScreen* s = screen == 41   ? static_cast<ReportScreen*>(byPeriod())
                          : screen == 42 ? static_cast<ReportScreen*>(byClient())
                                         : static_cast<ReportScreen*>(totalizer());
        // Today in both dates on activation.
        QCOMPARE(s->findChild<MaskEdit*>("Eddata1")->text(), QString("08/12/2026"));
        QCOMPARE(s->findChild<MaskEdit*>("Eddata2")->text(), QString("08/12/2026"));
        if (screen == 48)
            click(TQuelvarino0048_0::instance()->Edforma->button(0));  // a form, but no kind
        click(s->findChild<QPushButton*>("Btn_Imprimir"));
        QCOMPARE(MessageBox::shownMessages().size(), 1);
        QCOMPARE(lastMessage(), message);
        QCOMPARE(MessageBox::shownMessages().last().icon, QMessageBox::Warning);
        QCOMPARE(MessageBox::shownMessages().last().title, MessageBox::standardTitle());
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }

    // Orders only of the other form, none in the period, none at all: the
    // same message and never a dialog.
    void nothingToPrint_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<bool>("anyOrder");
        QTest::addColumn<QString>("payment");
        QTest::addColumn<QString>("from");
        for (int s : {41, 42, 48}) {
            const QByteArray n = QByteArray::number(s);
            QTest::newRow(n + " no order at all") << s << false << "À VISTA"
                                                  << "08/12/2026";
            QTest::newRow(n + " other form only") << s << true << "FATURADO"
                                                  << "08/12/2026";
            QTest::newRow(n + " outside the period") << s << true << "À VISTA"
                                                     << "09/12/2026";
        }
    }
    void nothingToPrint() {
        QFETCH(int, screen);
        QFETCH(bool, anyOrder);
        QFETCH(QString, payment);
        QFETCH(QString, from);
        if (anyOrder) {
            Order o{1, "08/12/2026"};
            o.payment = payment;
            addOrder(o);
        }
        const char* dialog = nullptr;
        if (screen == 41) {
            auto* s = byPeriod();
            dates(s, from, "31/12/2026");
            click(s->Rbavista);
            click(s->Btn_Imprimir);
            dialog = "Quelvarino0041_1";
        } else if (screen == 42) {
            auto* s = byClient();
            dates(s, from, "31/12/2026");
            type(s->Edcodcli, "7");
            click(s->Rbavista);
            click(s->Btn_Imprimir);
            dialog = "Quelvarino0042_1";
        } else {
            auto* s = totalizer();
            dates(s, from, "31/12/2026");
            click(s->Rbcli);
            click(s->Edforma->button(0));
            click(s->Btn_Imprimir);
            dialog = "Quelvarino0048_1";
        }
        QCOMPARE(lastMessage(), QString("Intervalos inexistentes."));
        QVERIFY(!dialogShown(dialog));
    }

    void clientCodeOnExit_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        QTest::newRow("left-filled") << "12"
                                     << "000012"
                                     << "PADARIA DO ZE"
                                     << "" << 0;
        QTest::newRow("full code") << "000007"
                                   << "000007"
                                   << "FARMACIA CENTRAL"
                                   << "" << 0;
        QTest::newRow("inexistent")
            << "9"
            << ""
            << ""
            << "Código do cliente inexistente." << int(QMessageBox::Question);
        QTest::newRow("past the last")
            << "99999"
            << ""
            << ""
            << "Código do cliente inexistente." << int(QMessageBox::Question);
        QTest::newRow("blocked") << "8"
                                 << ""
                                 << ""
                                 << "Situação do Cliente BLOQUEADO." << int(QMessageBox::Question);
    }
    void clientCodeOnExit() {
        QFETCH(QString, typed);
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(int, icon);
        auto* s = byClient();
        type(s->Edcodcli, typed);
        QCOMPARE(s->Edcodcli->text(), code);
        QCOMPARE(s->Edcliente->text(), name);
        QCOMPARE(lastMessage(), message);
        if (!message.isEmpty()) {
            QCOMPARE(int(MessageBox::shownMessages().last().icon), icon);
            QCOMPARE(QApplication::focusWidget(), s->Edcodcli);
        }
    }

    void clientFromTheSearch() {
        auto* s = byClient();
        click(s->Btn_ConsCli);
        auto* clients = TQuelvarino0011_1::instance();
        QVERIFY(clients->isVisible());
        QCOMPARE(clients->callerName(), QString("fechamento_cliente"));
        QTest::keyClicks(clients->Ed_Desc, "DEV");
        click(clients->Btn_Retornar);
        QCOMPARE(lastMessage(), QString("Situação do Cliente BLOQUEADO."));
        QVERIFY(clients->isVisible());
        QVERIFY(s->Edcodcli->text().isEmpty());
        clients->Ed_Desc->clear();
        QTest::keyClicks(clients->Ed_Desc, "PAD");
        click(clients->Btn_Retornar);
        QCOMPARE(s->Edcodcli->text(), QString("000012"));
        QCOMPARE(s->Edcliente->text(), QString("PADARIA DO ZE"));
    }

    // After a print the criteria go back to today and nothing chosen.
    void resetsAfterTheDialog_data() {
        QTest::addColumn<int>("screen");
        QTest::newRow("41") << 41;
        QTest::newRow("42") << 42;
        QTest::newRow("48") << 48;
    }
    void resetsAfterTheDialog() {
        QFETCH(int, screen);
        addOrder({1, "01/12/2026"});
        ReportScreen* s = nullptr;
        QList<QAbstractButton*> choices;
        if (screen == 41) {
            auto* c = byPeriod();
            c->Ed_Ord->setCurrentIndex(1);
            choices = {c->Rbavista, c->Rboutros};
            click(c->Rbavista);
            s = c;
        } else if (screen == 42) {
            auto* c = byClient();
            type(c->Edcodcli, "7");
            choices = {c->Rbavista, c->Rboutros};
            click(c->Rbavista);
            s = c;
        } else {
            auto* c = totalizer();
            choices = {c->Rbcli, c->Rbmot, c->Edforma->button(0), c->Edforma->button(1),
                       c->Edforma->button(2)};
            click(c->Rbmot);
            click(c->Edforma->button(2));
            s = c;
        }
        dates(s, "01/12/2026", "05/12/2026");
        click(s->findChild<QPushButton*>("Btn_Imprimir"));
        const QByteArray dialog = "Quelvarino00" + QByteArray::number(screen) + "_1";
        printed(dialog, 3, "r");
        QVERIFY(!dialogShown(dialog));
        QCOMPARE(s->findChild<MaskEdit*>("Eddata1")->text(), QString("08/12/2026"));
        QCOMPARE(s->findChild<MaskEdit*>("Eddata2")->text(), QString("08/12/2026"));
        for (QAbstractButton* b : choices)
            QVERIFY2(!b->isChecked(), qPrintable(b->text()));
        if (screen == 42)
            QVERIFY(TQuelvarino0042_0::instance()->Edcodcli->text().isEmpty());
        if (screen == 48)
            QCOMPARE(TQuelvarino0048_0::instance()->Ed_Bar->value(), 0);
    }

    // ---- selections and orderings -----------------------------------------------

    void periodOrderings_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("order");  // Ed_Ord index
        QTest::addColumn<bool>("outros");
        QTest::addColumn<QStringList>("numbers");
        // 1 03/12 à vista, 2 01/12 faturado, 3 02/12 à vista, 4 05/12 à vista
        // (other client), 5 02/12 "OUTROS", 6 30/11 à vista (before the period).
        QTest::newRow("41 by number")
            << 41 << 0 << false << QStringList{"000001", "000003", "000004"};
        QTest::newRow("41 by date")
            << 41 << 1 << false << QStringList{"000003", "000001", "000004"};
        QTest::newRow("41 others") << 41 << 0 << true << QStringList{"000002", "000005"};
        QTest::newRow("42 by date") << 42 << 1 << false << QStringList{"000003", "000001"};
        QTest::newRow("42 others") << 42 << 1 << true << QStringList{"000002", "000005"};
    }
    void periodOrderings() {
        QFETCH(int, screen);
        QFETCH(int, order);
        QFETCH(bool, outros);
        QFETCH(QStringList, numbers);
        const QStringList days = {"03/12/2026", "01/12/2026", "02/12/2026",
                                  "05/12/2026", "02/12/2026", "30/11/2026"};
        const QStringList forms = {"À VISTA", "FATURADO", "À VISTA",
                                   "À VISTA", "OUTROS",   "À VISTA"};
        for (int i = 0; i < 6; ++i) {
            Order o{i + 1, days[i]};
            o.payment = forms[i];
            if (i == 3) {
                o.client = "000012";
                o.clientName = "PADARIA DO ZE";
            }
            addOrder(o);
        }
        QByteArray text;
        if (screen == 41) {
            auto* s = byPeriod();
            dates(s, "01/12/2026", "05/12/2026");
            s->Ed_Ord->setCurrentIndex(order);
            click(outros ? s->Rboutros : s->Rbavista);
            click(s->Btn_Imprimir);
            text = printed("Quelvarino0041_1", 3, "r41");
            QCOMPARE(
                numbersIn(linesOf(text), QRegularExpression("^\\|\\d\\d/\\d\\d/\\d{4}\\|(\\d{6})")),
                numbers);
        } else {
            auto* s = byClient();
            dates(s, "01/12/2026", "05/12/2026");
            type(s->Edcodcli, "7");
            s->Ed_Ord->setCurrentIndex(order);
            click(outros ? s->Rboutros : s->Rbavista);
            click(s->Btn_Imprimir);
            text = printed("Quelvarino0042_1", 3, "r42");
            QCOMPARE(numbersIn(linesOf(text),
                               QRegularExpression("^\\| \\d\\d/\\d\\d/\\d{4} \\|(\\d{6})")),
                     numbers);
        }
        QVERIFY(MessageBox::shownMessages().last().text.contains("sucesso"));
    }

    // The work tables: one detail per order found, one group per code,
    // negative and empty fees stored as "0,00", courier values for couriers.
    void totalizerWorkTables_data() {
        QTest::addColumn<bool>("couriers");
        QTest::addColumn<int>("form");
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("groups");  // codigo:comanda,comanda
        QTest::newRow("clients, total, no order: by date")
            << false << 2 << -1
            << QStringList{"000007:000002,000003,000001,000005", "000012:000004"};
        QTest::newRow("clients, cash, by code")
            << false << 0 << 0 << QStringList{"000007:000003,000001", "000012:000004"};
        QTest::newRow("clients, others hold every other form")
            << false << 1 << 2 << QStringList{"000007:000002,000005"};
        QTest::newRow("couriers, total, by name")
            << true << 2 << 1 << QStringList{"000003:000002,000003,000001,000005", "000004:000004"};
    }
    void totalizerWorkTables() {
        QFETCH(bool, couriers);
        QFETCH(int, form);
        QFETCH(int, order);
        QFETCH(QStringList, groups);
        const QStringList days = {"03/12/2026", "01/12/2026", "02/12/2026", "04/12/2026",
                                  "04/12/2026"};
        const QStringList forms = {"À VISTA", "FATURADO", "À VISTA", "À VISTA", "OUTROS"};
        const QStringList fees = {"-3,00", "", "2,50", "1,00", "0,00"};
        for (int i = 0; i < 5; ++i) {
            Order o{i + 1, days[i]};
            o.payment = forms[i];
            o.fee = fees[i];
            o.fixed = i == 2 ? "40,00" : "0,00";
            if (i == 3) {
                o.client = "000012";
                o.clientName = "PADARIA DO ZE";
                o.courier = "000004";
                o.courierName = "ANA";
            }
            if (form == 2 && i == 4)
                o.date = "05/12/2026";
            addOrder(o);
        }
        auto* s = totalizer();
        dates(s, "01/12/2026", "05/12/2026");
        click(couriers ? s->Rbmot : s->Rbcli);
        click(s->Edforma->button(form));
        s->Ed_Ord->setCurrentIndex(order);
        WorkTables::clear();
        click(s->Btn_Imprimir);
        QVERIFY2(dialogShown("Quelvarino0048_1"), qPrintable(lastMessage()));
        // The screen holds nothing: the orders are copied when the report
        // is printed, and the work tables then hold what was found.
        QCOMPARE(WorkTables::detailCount(), 0);
        printed("Quelvarino0048_1", 3, "totalizador");
        QStringList found;
        for (const WorkGroup& g : WorkTables::read()) {
            QStringList numbers;
            for (const WorkDetail& d : g.rows) {
                numbers << d.comanda;
                QCOMPARE(d.codigo, g.codigo);
                const int i = d.comanda.toInt() - 1;
                // Money is stored as numbers: compare the amounts.
                QCOMPARE(parseMoney(d.taxa), i == 0 || i == 1 ? 0.0 : parseMoney(fees[i]));
                QCOMPARE(parseMoney(d.valor), couriers ? 20.0 : 25.0);
                QCOMPARE(parseMoney(d.totval), couriers ? (i == 2 ? 40.0 : 0.0) : 55.0);
                QCOMPARE(d.cliente, g.cliente);
            }
            found << g.codigo + ":" + numbers.join(",");
        }
        QCOMPARE(found, groups);
        QCOMPARE(s->Ed_Bar->maximum(), WorkTables::detailCount());
        QCOMPARE(s->Ed_Bar->value(), 0);  // back at the start with the criteria
        // A second report starts from empty tables.
        dates(s, "04/12/2026", "04/12/2026");
        click(s->Rbcli);
        click(s->Edforma->button(0));
        click(s->Btn_Imprimir);
        printed("Quelvarino0048_1", 3, "totalizador");
        QCOMPARE(WorkTables::detailCount(), 1);
    }

    // Codes written out of order are still read back group by group.
    void workTablesOutOfOrder() {
        WorkTables::clear();
        QList<WorkDetail> rows;
        for (const char* code : {"000009", "000002", "000009", "000001", "000002"}) {
            WorkDetail d;
            d.codigo = code;
            d.cliente = QString("N") + code;
            d.comanda = QString::number(rows.size() + 1);
            rows << d;
        }
        WorkTables::fill(rows);
        QStringList seen;
        WorkTables::walk([&](const QString& code, const QString&) { seen << "[" + code; },
                         [&](const WorkDetail& d) { seen << d.comanda; }, [&] { seen << "]"; });
        QCOMPARE(seen.join(" "), QString("[000001 4 ] [000002 2 5 ] [000009 1 3 ]"));
        WorkTables::clear();
        QCOMPARE(WorkTables::detailCount(), 0);
    }

    // ---- the printed outputs ----------------------------------------------------------

    // The dot-matrix pages of the closings: 22 rows on the first page, 24 on
    // every later one, headings again from the third page on.
    void closingTextPages_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("linesPerOrder");
        QTest::newRow("41") << 41 << 2;
        QTest::newRow("42") << 42 << 1;
    }
    void closingTextPages() {
        QFETCH(int, screen);
        QFETCH(int, linesPerOrder);
        for (int i = 1; i <= 70; ++i) {
            Order o{i, "02/12/2026"};
            o.total = i == 70 ? "1016,33" : "10,00";
            o.hours = i % 2 ? "01:40" : "02:30";
            addOrder(o);
        }
        QByteArray text;
        if (screen == 41) {
            auto* s = byPeriod();
            dates(s, "01/12/2026", "05/12/2026");
            click(s->Rbavista);
            click(s->Btn_Imprimir);
            text = printed("Quelvarino0041_1", 3, "r41");
        } else {
            auto* s = byClient();
            dates(s, "01/12/2026", "05/12/2026");
            type(s->Edcodcli, "7");
            click(s->Rbavista);
            click(s->Btn_Imprimir);
            text = printed("Quelvarino0042_1", 3, "r42");
        }
        const QStringList lines = linesOf(text);
        // Rows per page, headings per page.
        QList<int> rows{0}, headings{0};
        const QRegularExpression row(screen == 41 ? "^\\|\\d\\d/\\d\\d/\\d{4}\\|\\d{6}"
                                                  : "^\\| \\d\\d/\\d\\d/\\d{4} \\|\\d{6}");
        for (const QString& l : lines) {
            if (l == "\f") {
                rows << 0;
                headings << 0;
            } else if (row.match(l).hasMatch()) {
                ++rows.last();
            } else if (l.startsWith("|    Data    |") || l.startsWith("|   Data   |")) {
                ++headings.last();
            }
        }
        QCOMPARE(rows.mid(0, 3), (QList<int>{22, 24, 24}));
        QCOMPARE(headings.mid(0, 3), (QList<int>{1, 0, 1}));
        QCOMPARE(lines.last(), QString("\f"));
        QVERIFY(lines.filter(QRegularExpression("TOTAL GERAL DO CAIXA   : +1706,33")).size() == 1);
        if (screen == 42) {
            // 35 × 01:40 + 35 × 02:30 = 145:50
            QVERIFY(lines.filter("TOTAL GERAL DE HORAS   :145:50").size() == 1);
        }
        QCOMPARE(rows.size(), lines.count("\f") + 1);
        QCOMPARE(rows.last(), 0);
        // 70 rows fill the third page: the totals go on a fourth.
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows[3], 0);
        const int lastFeeds = lines.lastIndexOf("\f", lines.size() - 2);
        QVERIFY(lines.indexOf(QRegularExpression(".*TOTAL GERAL DO CAIXA.*")) > lastFeeds);
        // The page feeds stand where the rows say: a 41 order takes two lines.
        const int firstFeed = lines.indexOf("\f");
        QVERIFY(row.match(lines[firstFeed - linesPerOrder]).hasMatch());
    }

    // The totalizer's text: groups with their subtotals (courier subtotals
    // add the hourly value and the fixed value), the grand total, page feeds
    // every 60 lines.
    void totalizerText_data() {
        QTest::addColumn<bool>("couriers");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QStringList>("subtotals");
        QTest::addColumn<QString>("total");
        QTest::newRow("clients") << false << " Cliente : 000007 - FARMACIA CENTRAL"
                                 << QStringList{"SUB-TOTAL POR CLIENTE    :   2200,00",
                                                "SUB-TOTAL POR CLIENTE    :     55,00"}
                                 << "TOTAL GERAL DOS SERVICOS :   2255,00";
        QTest::newRow("couriers") << true << " Motoboy : 000003 - JOAO DA MOTO"
                                  << QStringList{"SUB-TOTAL POR MOTOBOY    :    800,00",
                                                 "SUB-TOTAL POR MOTOBOY    :     62,35"}
                                  << "TOTAL GERAL DOS SERVICOS :    862,35";
    }
    void totalizerText() {
        QFETCH(bool, couriers);
        QFETCH(QString, subject);
        QFETCH(QStringList, subtotals);
        QFETCH(QString, total);
        for (int i = 1; i <= 40; ++i)
            addOrder({i, "02/12/2026"});
        Order other{41, "03/12/2026", "000012", "PADARIA DO ZE", "000004", "ANA"};
        other.payment = "FATURADO";
        other.fixed = "42,345";  // rounded as printed before it is added
        addOrder(other);
        auto* s = totalizer();
        dates(s, "01/12/2026", "05/12/2026");
        click(couriers ? s->Rbmot : s->Rbcli);
        click(s->Edforma->button(2));
        s->Ed_Ord->setCurrentIndex(0);
        click(s->Btn_Imprimir);
        const QStringList lines = linesOf(printed("Quelvarino0048_1", 3, "r48"));
        QVERIFY(lines.filter(subject).size() == 1);
        QStringList found;
        for (const QString& l : lines) {
            if (l.contains("SUB-TOTAL POR"))
                found << l.mid(l.indexOf("SUB-TOTAL"))
                             .remove(QRegularExpression("[\\x0e\\x0f\\x12\\x14GH\\x1b]+$"));
        }
        QCOMPARE(found.size(), 2);
        for (int i = 0; i < 2; ++i)
            QVERIFY2(found[i].startsWith(subtotals[i]), qPrintable(found[i]));
        QVERIFY(lines.filter(total).size() == 1);
        // Line-count pages: the title block counts 9, every line one, a feed
        // when 60 is reached; headings are not repeated.
        const int feed = lines.indexOf("\f");
        QVERIFY(feed > 0);
        QCOMPARE(lines.filter("|    Data    | OS Numero  |").size(), 2);  // one per group
        // The period line ends the title block at 9; 51 lines later the
        // counter reaches 60: the 40 rows of the first group take 47 lines,
        // the second group's head 4 more.
        const int period = lines.indexOf(QRegularExpression(".*DE: 01/12/2026 +ATE: 05/12/2026.*"));
        QVERIFY(period > 0);
        QCOMPARE(feed - period - 1, 51);
        QCOMPARE(lines.count("\f"), 2);
    }

    void closingsAsHtml_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("41") << 41
                            << QStringList{"FECHAMENTO DO CAIXA POR PERIODO",
                                           "01/12/2026",
                                           "05/12/2026",
                                           "000001",
                                           ">FARMACIA CENTRA<",
                                           "1016,33",
                                           "1071,33"};
        QTest::newRow("42") << 42 << QStringList{"FECHAMENTO DO CAIXA POR CLIENTE",
                                                 "000007",
                                                 "FARMACIA CENTRAL",
                                                 "000002",
                                                 "4:10",
                                                 "1071,33"};
        QTest::newRow("48") << 48
                            << QStringList{"FARMACIA CENTRAL", "000002", "1071,33",
                                           "&lt;ESPECIAL&gt;"};
    }
    void closingsAsHtml() {
        QFETCH(int, screen);
        QFETCH(QStringList, expected);
        Order a{1, "02/12/2026"};
        a.total = "1016,33";
        a.hours = "01:40";
        Order b{2, "03/12/2026"};
        b.hours = "02:30";
        addOrder(a);
        addOrder(b);
        Order c{3, "03/12/2026", "000012", "<ESPECIAL>"};
        addOrder(c);
        QByteArray html;
        if (screen == 41) {
            auto* s = byPeriod();
            dates(s, "01/12/2026", "05/12/2026");
            click(s->Rbavista);
            click(s->Btn_Imprimir);
            html = printed("Quelvarino0041_1", 2, "h41");
            expected.replace(6, "1126,33");
        } else if (screen == 42) {
            auto* s = byClient();
            dates(s, "01/12/2026", "05/12/2026");
            type(s->Edcodcli, "7");
            click(s->Rbavista);
            click(s->Btn_Imprimir);
            html = printed("Quelvarino0042_1", 2, "h42");
        } else {
            auto* s = totalizer();
            dates(s, "01/12/2026", "05/12/2026");
            click(s->Rbcli);
            click(s->Edforma->button(0));
            click(s->Btn_Imprimir);
            html = printed("Quelvarino0048_1", 2, "h48");
        }
        const QString doc = QString::fromUtf8(html);
        QVERIFY(doc.startsWith("<!DOCTYPE html>") || doc.startsWith("<html"));
        QVERIFY(doc.trimmed().endsWith("</html>"));
        for (const QString& e : expected)
            QVERIFY2(doc.contains(e), qPrintable(e));
        QVERIFY(!doc.contains("<ESPECIAL>"));  // data escaped
    }

    // The whole HTML document of one closing by period, as the HTML layout
    // of the closings is written, line for line; then the lines that differ
    // in the other two.
    void closingHtmlLineByLine() {
        Order o{1, "02/12/2026"};
        o.hours = ":  ";  // an hour that holds only its mask is an empty cell
        addOrder(o);
        auto* s = byPeriod();
        dates(s, "01/12/2026", "05/12/2026");
        click(s->Rbavista);
        click(s->Btn_Imprimir);
        const QStringList got =
            QString::fromLatin1(printed("Quelvarino0041_1", 2, "h41")).split("\r\n");
        QStringList want = {"<html>",
                            "<head><title>Fechamento do Caixa por Periodo</title></head>",
                            "<body>",
                            "MOTOBOY EXPRESS <br>",
                            "RUA DO COMERCIO, 100 -  - SAO PAULO - SP <br>",
                            " Telefone : ()  /  <br>",
                            "<h1 align=\"center\">FECHAMENTO DO CAIXA POR PERIODO</h1>",
                            "<div align=\"center\">Periodo de 01/12/2026 ate 05/12/2026</div><br>",
                            "<table align=\"center\" width=\"1450\" Border=\"1\">",
                            "<Font size=\"0\">",
                            "<tr><td align=\"center\" width=\"50\">Data</td>"};
        const QList<QPair<const char*, int>> headings = {
            {"OS No.", 60},     {"Cliente", 150},  {"Solicitante", 60}, {"Hr.Saida", 50},
            {"Hr.Inicial", 50}, {"Hr.Final", 50},  {"Tot.Horas", 50},   {"Hr.Normal", 80},
            {"Hr.50%", 80},     {"Hr.100%", 80},   {"Vlr.Normal", 80},  {"Vlr.50%", 80},
            {"Vlr.100%", 80},   {"Seguro", 80},    {"Tx.Perim.", 80},   {"%Tx.Perim.", 90},
            {"Vl.porHr.", 80},  {"Vl.Tot.OS.", 80}};
        for (const auto& h : headings)
            want << QString("<td align=\"center\" width=\"%1\">%2</td>").arg(h.second).arg(h.first);
        want.last() += "</tr>";
        want << "<tr>";
        const QList<QPair<QString, QString>> cells = {{"left\" width=\"50", "02/12/2026"},
                                                      {"left\" width=\"60", "000001"},
                                                      {"left\" width=\"300", "FARMACIA CENTRA"},
                                                      {"left\" width=\"60", "JOANA"},
                                                      {"left\" width=\"50", "08:00"},
                                                      {"left\" width=\"50", "08:30"},
                                                      {"left\" width=\"50", "10:10"},
                                                      {"left\" width=\"50", ""},
                                                      {"left\" width=\"80", "01:40"},
                                                      {"left\" width=\"80", "00:00"},
                                                      {"left\" width=\"80", "00:00"},
                                                      {"right\" width=\"80", "50,00"},
                                                      {"right\" width=\"80", "0,00"},
                                                      {"right\" width=\"80", "0,00"},
                                                      {"right\" width=\"80", "0,00"},
                                                      {"right\" width=\"90", "0,00"},
                                                      {"right\" width=\"80", "0,00"},
                                                      {"right\" width=\"80", "25,00"},
                                                      {"right\" width=\"80", "55,00"}};
        for (const auto& c : cells)
            want << QString("<td align=\"%1\"><!-- @ -->%2</td>").arg(c.first, c.second);
        want << "</tr>"
             << ""
             << "</font></table>"
             << " <br>"
             << "<div align=\"left\">TOTAL GERAL DO CAIXA : 55,00</div><br>"
             << " <br>"
             << " <br>"
             << " <br>";
        QCOMPARE(got.mid(0, want.size()), want);
        QCOMPARE(got.mid(want.size() + 1), (QStringList{"<hr size=3></hr>", "</body></html>", ""}));
        QVERIFY(got[want.size()].endsWith("<br>"));  // the supplier line
    }

    void totalizerHtmlBlocks() {
        addOrder({1, "02/12/2026"});
        Order other{2, "03/12/2026", "000012", "PADARIA DO ZE"};
        other.total = "";
        addOrder(other);
        auto* s = totalizer();
        dates(s, "01/12/2026", "05/12/2026");
        click(s->Rbcli);
        click(s->Edforma->button(0));
        click(s->Btn_Imprimir);
        const QStringList got =
            QString::fromLatin1(printed("Quelvarino0048_1", 2, "h48")).split("\r\n");
        const int h1 =
            got.indexOf("<h1 align=\"center\">RELATORIO TOTALIZADOR DE SERVI\u00c7OS</h1>");
        QVERIFY(h1 > 0);
        QCOMPARE(got.mid(h1 + 1, 6),
                 (QStringList{
                     "<hr size=3></hr>",
                     "<div align=\"center\">Periodo de 01/12/2026 ate 05/12/2026</div><br>",
                     "<div align=\"left\">Cliente : 000007 - FARMACIA CENTRAL</div><br>", " <br>",
                     "<table align=\"center\" width=\"860\" Border=\"1\">", "<Font size=\"0\">"}));
        const int sub = got.indexOf("<div align=\"left\">SUB-TOTAL POR CLIENTE : 55,00</div><br>");
        QVERIFY(sub > 0);
        QCOMPARE(got.mid(sub - 1, 5),
                 (QStringList{"</font></table>",
                              "<div align=\"left\">SUB-TOTAL POR CLIENTE : 55,00</div><br>",
                              " <br>", "<hr size=3></hr>",
                              "<div align=\"left\">Cliente : 000012 - PADARIA DO ZE</div><br>"}));
        QVERIFY(got.contains("<div align=\"left\">SUB-TOTAL POR CLIENTE : 0,00</div><br>"));
        QVERIFY(got.contains("<td align=\"right\" width=\"150\"><!-- @ -->0,00</td>"));
        QCOMPARE(got.count("<div align=\"left\">TOTAL GERAL DOS SERVICOS : 55,00</div><br>"), 1);
        QCOMPARE(got.mid(got.size() - 3), (QStringList{"</body>", "</html>", ""}));
    }

    void closingsAsPages_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QStringList>("expected");
        // Eighteen columns in one readable size: the client's name wraps
        // at its words in its column.
        QTest::newRow("41") << 41 << QStringList{"000001",  "000002",  "FARMACIA",
                                                 "CENTRAL", "1016,33", "R$ 1.071,33"};
        QTest::newRow("42") << 42 << QStringList{"000007", "000002", "4:10", "R$ 1.071,33"};
        QTest::newRow("48 couriers") << 48
                                     << QStringList{"Motoboy : 000003 - JOAO DA MOTO", "000001",
                                                    "000002", "SUB-TOTAL POR MOTOBOY : R$ 90,00"};
    }
    void closingsAsPages() {
        QFETCH(int, screen);
        QFETCH(QStringList, expected);
        Order a{1, "02/12/2026"};
        a.total = "1016,33";
        a.courierValue = "40,00";
        Order b{2, "03/12/2026"};
        b.hours = "02:30";
        b.courierValue = "30,00";
        b.fixed = "10,00";
        addOrder(a);
        addOrder(b);
        QString text;
        if (screen == 41) {
            auto* s = byPeriod();
            dates(s, "01/12/2026", "05/12/2026");
            click(s->Rbavista);
            click(s->Btn_Imprimir);
            text = QString::fromUtf8(printed("Quelvarino0041_1", 0, ""));
        } else if (screen == 42) {
            auto* s = byClient();
            dates(s, "01/12/2026", "05/12/2026");
            type(s->Edcodcli, "7");
            click(s->Rbavista);
            click(s->Btn_Imprimir);
            text = QString::fromUtf8(printed("Quelvarino0042_1", 0, ""));
        } else {
            auto* s = totalizer();
            dates(s, "01/12/2026", "05/12/2026");
            click(s->Rbmot);
            click(s->Edforma->button(2));
            click(s->Btn_Imprimir);
            text = QString::fromUtf8(printed("Quelvarino0048_1", 0, ""));
        }
        QVERIFY2(!text.isEmpty(), "no page report");
        for (const QString& e : expected)
            QVERIFY2(text.contains(e), qPrintable(e + "\n" + text));
    }
};

QUELVARINO_GUI_TEST_MAIN(TestCashClosings)
#include "tst_cashclosings.moc"
