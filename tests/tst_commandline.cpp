#include "app/mainwindow.h"
#include "app/program.h"
#include "core/money.h"
#include "data/aliasregistry.h"
#include "data/table.h"
#include "data/worktables.h"
#include "orders/serviceorder.h"
#include "registers/receipts.h"
#include "reports/reportcatalog.h"
#include "reports/xlsxwriter.h"
#include "reportscreens/cashclosing.h"
#include "reportscreens/courierreports.h"
#include "reportscreens/printdialog.h"
#include "testsupport.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/testseams.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <functional>
#include <memory>

using namespace quelvarino;
using namespace operatorDoes;

namespace {

// The text of a PDF, the moment of the print set aside.
QString pdfTextOf(const QString& pdf) {
    // The page footer carries the moment of the print ("Impresso em
    // 10/12/2026 às 18:55:19"), whose width moves the words around it in
    // the laid-out text: spaces are collapsed.
    QStringList lines = pdfText(pdf).split('\n');
    for (QString& l : lines)
        l = l.replace(QRegularExpression("\\d\\d/\\d\\d/\\d{4} às \\d\\d:\\d\\d:\\d\\d"), "<agora>")
                .simplified();
    return lines.join('\n');
}

struct Run {
    int exitCode = -1;
    QString out, err;
};

Run program(const QStringList& args) {
    QProcess p;
    p.start(qEnvironmentVariable("QUELVARINO"), args);
    Run r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        r.err = "did not end: " + p.errorString();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// One report asked for on the command line and through its screen.
struct Case {
    const char* name;
    const char* id;
    QStringList args;
    // Fills the screen or dialog as the operator does and opens the print
    // dialog.
    std::function<void()> onScreen;
};

const char* const kFrom = "01/11/2026";
const char* const kTo = "30/11/2026";

}  // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;

    QString pdf() const { return home->path() + "/preview.pdf"; }

    static void order(int n,
                      const QString& date,
                      const QString& client,
                      const QString& courier,
                      const QString& payment,
                      const QString& hours,
                      const QString& total,
                      const QString& fixed = "0,00") {
        store("tbordem", {{"COMANDA", QString("%1").arg(n, 10, 10, QChar('0'))},
                          {"DATA", date},
                          {"CODCLI", client},
                          {"CLIENTE", client == "000007" ? "FARMACIA CENTRAL" : "PADARIA DO ZE"},
                          {"CODMOT", courier},
                          {"MOTOBOY", courier == "000003" ? "JOAO DA MOTO" : "FIXO DE SOUZA"},
                          {"PAGAMENTO", payment},
                          {"SOLICITANTE", "JOANA"},
                          {"HORA1", "08:00"},
                          {"HORA2", "08:30"},
                          {"HORA3", "10:10"},
                          {"HORA4", hours},
                          {"VALOR", "25,00"},
                          {"TOTHORN", hours},
                          {"TOTHOR50", "00:00"},
                          {"TOTHOR100", "00:00"},
                          {"VALORN", total},
                          {"VALOR50", "0,00"},
                          {"VALOR100", "0,00"},
                          {"TOTVAL", total},
                          {"TOTTAXA", "5,00"},
                          {"TOTTAXAM", "5,00"},
                          {"TOTVALMOT", "20,00"},
                          {"VALMOT", fixed}});
    }

    void seed() {
        storeCompany();
        store("tbclientes", {{"CODCLI", "000007"},
                             {"RAZAOSOCIAL", "FARMACIA CENTRAL"},
                             {"SITUACAO", "ATIVO"},
                             {"DATA", "02/10/2026"}});
        store("tbclientes",
              {{"CODCLI", "000008"}, {"RAZAOSOCIAL", "DEVEDORA LTDA"}, {"SITUACAO", "BLOQUEADO"}});
        store("tbclientes",
              {{"CODCLI", "000012"}, {"RAZAOSOCIAL", "PADARIA DO ZE"}, {"SITUACAO", "ATIVO"}});
        store("tbmotociclista", {{"COD", "000003"},
                                 {"NOME", "JOAO DA MOTO"},
                                 {"DATA", "20/10/2026"},
                                 {"VALOR", "12,5"},
                                 {"SITUACAO", "ATIVO"}});
        store("tbmotociclista", {{"COD", "000005"},
                                 {"NOME", "FIXO DE SOUZA"},
                                 {"VALOR", "0"},
                                 {"SALARIO", "1000"},
                                 {"SITUACAO", "ATIVO"}});
        store("tbdespesa", {{"COD", "000001"}, {"DESPESA", "GASOLINA"}, {"DATA", "05/11/2026"}});
        for (int i = 1; i <= 3; ++i)
            store("tbentrdesp", {{"NUMDESP", QString("%1").arg(i, 10, 10, QChar('0'))},
                                 {"CODMOT", i == 3 ? "000005" : "000003"},
                                 {"MOTOBOY", "JOAO DA MOTO"},
                                 {"CODDESP", "000001"},
                                 {"DESPESA", "GASOLINA"},
                                 {"VALOR", i == 1 ? "30,5" : "1016,33"},
                                 {"DATA", QString("%1/11/2026").arg(i * 4, 2, 10, QChar('0'))}});
        order(1, "03/11/2026", "000007", "000003", "À VISTA", "01:40", "999,99");
        order(2, "03/11/2026", "000012", "000003", "FATURADO", "23:50", "1016,33");
        order(6, "04/11/2026", "000012", "000003", "FATURADO", "23:10", "10,00");
        order(7, "05/11/2026", "000012", "000003", "OUTROS", "22:50", "10,00");
        order(3, "15/11/2026", "000007", "000005", "À VISTA", "25:40", "0,10", "80,00");
        order(4, "30/11/2026", "000007", "000003", "OUTROS", "  :  ", "12,5");
        order(5, "01/12/2026", "000007", "000003", "À VISTA", "02:00", "50,00");  // after
        store("tbrecibo", {{"RECIBO", "0000000001"},
                           {"COD", "000007"},
                           {"CLIENTE", "FARMACIA CENTRAL"},
                           {"VALOR", "1234,5"},
                           {"EXTENSO", "UM MIL DUZENTOS E TRINTA E QUATRO REAIS"},
                           {"REFERENTE", "ENTREGAS DE NOVEMBRO"},
                           {"LOCAL", "SAO PAULO"},
                           {"DATA", "30/11/2026"}});
    }

    template <typename S>
    static S* shown(S* screen) {
        activate(screen);
        return screen;
    }
    static void dates(ReportScreen* s) {
        s->Eddata1->setText(kFrom);
        s->Eddata2->setText(kTo);
    }
    static void courier(CourierReportScreen* s, const char* code) {
        dates(s);
        s->Edcodmot->setText(code);
        s->EdcodmotExit();
        click(s->Btn_Imprimir);
    }
    static void listing(const char* dialog, int mode) {
        auto* d = shown(Screens::get<PrintDialog>(dialog));
        click(QList<QRadioButton*>{d->Ed1, d->Ed2, d->Ed3}[mode]);
        if (mode == 1) {
            d->Eddata1->setText("01/10/2026");
            d->Eddata2->setText(kTo);
        } else if (mode == 2) {
            d->Edcod1->setText("000001");
            d->Edcod2->setText("000009");
        }
    }
    static void document(bool order) {
        Table t(order ? "tbordem" : "tbrecibo");
        t.open();
        QVERIFY(order ? t.findExact("COMANDA", "0000000002") : t.findExact("RECIBO", "0000000001"));
        if (order) {
            auto* s = shown(TQuelvarino0021_0::instance());
            s->loadOrder(t);
            click(s->Btn_Imprimir);
        } else {
            auto* s = shown(TQuelvarino0022_0::instance());
            s->loadFields(t);
            click(s->Btn_Alterar);  // a receipt is printed from edit state
            click(s->Btn_Imprimir);
        }
    }

    static QList<Case> cases() {
        const QStringList period = {"--de", kFrom, "--ate", kTo};
        return {
            {"client listing",
             "11_0",
             {"--relatorio", "clientes"},
             [] { listing("Quelvarino0011_2", 0); }},
            {"courier listing by period",
             "12_0",
             {"--relatorio", "0012_0", "--de", "01/10/2026", "--ate", kTo},
             [] { listing("Quelvarino0012_2", 1); }},
            {"expense types by codes",
             "13_0",
             {"--relatorio", "despesas", "--codigo-de", "000001", "--codigo-ate", "000009"},
             [] { listing("Quelvarino0013_2", 2); }},
            {"cash closing", "41_0",
             QStringList{"--relatorio", "fechamento-caixa", "--pagamento", "avista"} + period,
             [] {
                 auto* s = shown(TQuelvarino0041_0::instance());
                 dates(s);
                 click(s->Rbavista);
                 click(s->Btn_Imprimir);
             }},
            {"cash closing of a client", "42_0",
             QStringList{"--relatorio", "0042_0", "--cliente", "7", "--pagamento", "outros",
                         "--ordem", "1"} +
                 period,
             [] {
                 auto* s = shown(TQuelvarino0042_0::instance());
                 dates(s);
                 s->Edcodcli->setText("7");
                 s->EdcodcliExit();
                 click(s->Rboutros);
                 s->Ed_Ord->setCurrentIndex(0);
                 click(s->Btn_Imprimir);
             }},
            {"courier closing", "43_0",
             QStringList{"--relatorio", "fechamento-motoboy", "--motoboy", "3"} + period,
             [] { courier(shown(TQuelvarino0043_0::instance()), "3"); }},
            {"courier expenses", "44_0",
             QStringList{"--relatorio", "despesas-motoboy", "--motoboy", "000003"} + period,
             [] { courier(shown(TQuelvarino0044_0::instance()), "000003"); }},
            {"courier hours", "45_0",
             QStringList{"--relatorio", "horas-motoboy", "--motoboy", "3"} + period,
             [] { courier(shown(TQuelvarino0045_0::instance()), "3"); }},
            {"order listing", "46_0", QStringList{"--relatorio", "ordens-servico"} + period,
             [] {
                 auto* s = shown(TQuelvarino0046_0::instance());
                 dates(s);
                 click(s->Btn_Imprimir);
             }},
            {"salaried payment", "47_0",
             QStringList{"--relatorio", "pagamento-autonomo", "--motoboy", "5"} + period,
             [] { courier(shown(TQuelvarino0047_0::instance()), "5"); }},
            {"totalizer by client", "48_0",
             QStringList{"--relatorio", "totalizador", "--agrupar", "cliente", "--pagamento",
                         "total"} +
                 period,
             [] {
                 auto* s = shown(TQuelvarino0048_0::instance());
                 dates(s);
                 click(s->Rbcli);
                 s->Edforma->button(2)->click();
                 click(s->Btn_Imprimir);
             }},
            {"totalizer by courier", "48_0",
             QStringList{"--relatorio", "48_0", "--agrupar", "motoboy", "--pagamento", "total"} +
                 period,
             [] {
                 auto* s = shown(TQuelvarino0048_0::instance());
                 dates(s);
                 click(s->Rbmot);
                 s->Edforma->button(2)->click();
                 click(s->Btn_Imprimir);
             }},
            {"service order", "21_0", {"--documento", "ordem", "2"}, [] { document(true); }},
            {"receipt",
             "22_0",
             {"--documento", "recibo", "0000000001", "--vias", "2"},
             [] { document(false); }},
        };
    }

    // The report printed through its screen and dialog into `output`; the
    // file's path.
    QString printedOnScreen(const Case& c, Output output) {
        c.onScreen();
        const ReportDefinition* entry = ReportCatalog::find(c.id);
        auto* d = Screens::get<PrintDialog>(entry->dialog);
        if (!d || !d->isVisible()) {
            qWarning("no dialog: %s", qPrintable(lastMessage()));
            return {};
        }
        if (d->Ed1Copy)
            click(c.args.contains("--vias") ? d->Ed2Copy : d->Ed1Copy);
        d->setEdtip(ReportCatalog::itemOf(*entry, output));
        const QString stem = home->path() + "/tela";
        if (output != Output::Page)
            d->Edcam->setText(stem);
        click(d->Btn_Imprimir);
        if (d->isVisible())
            click(d->Btn_Retornar);
        switch (output) {
            case Output::Page:
                return pdf();
            case Output::Html:
                return stem + ".html";
            case Output::TextFile:
                return stem + ".txt";
            default:
                return stem + ".xlsx";
        }
    }

    // What a reader compares: the text of a PDF, the cells of a workbook,
    // the bytes of the rest.
    QByteArray contentsOf(const QString& path) {
        if (path.endsWith(".pdf"))
            return pdfTextOf(path).toUtf8();
        if (path.endsWith(".xlsx"))
            return QJsonDocument(sheetsOf(path)).toJson();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return f.readAll();
    }

    static QString extensionOf(Output o) {
        switch (o) {
            case Output::Page:
                return ".pdf";
            case Output::Html:
                return ".html";
            case Output::TextFile:
                return ".txt";
            default:
                return ".xlsx";
        }
    }

private slots:
    void init() {
        home = std::make_unique<TempHome>();
        QVERIFY(shareStoreWithPrograms());
        MessageBox::clearShownMessages();
        PrintPreview::setTestMode(true, pdf());
        QVERIFY(startProgram(*qApp));
        seed();
    }
    void cleanup() {
        stopProgram();
        home.reset();
    }

    // Every report and document through the command line into each of its
    // file outputs is what the screens print for the same choices.
    void sameAsTheScreens_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("output");
        const QList<Case> all = cases();
        for (int i = 0; i < all.size(); ++i) {
            const ReportDefinition* e = ReportCatalog::find(all[i].id);
            for (Output o : {Output::Page, Output::Html, Output::TextFile, Output::Sheet}) {
                if (e->outputs.contains(o))
                    QTest::newRow(qPrintable(all[i].name + extensionOf(o))) << i << int(o);
            }
        }
    }
    void sameAsTheScreens() {
        QFETCH(int, index);
        QFETCH(int, output);
        const Case c = cases()[index];
        const Output o = Output(output);
        const QString file = home->path() + "/linha" + extensionOf(o);
        const Run run = program(c.args + QStringList{"--saida", file});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QString onScreen = printedOnScreen(c, o);
        QVERIFY2(!onScreen.isEmpty(), c.name);
        const QByteArray expected = contentsOf(onScreen);
        QVERIFY2(expected.size() > 100, qPrintable(onScreen));
        if (o == Output::Page && !QString(c.id).startsWith('2'))
            QVERIFY(expected.contains("<agora>"));  // the moment set aside
        QCOMPARE(contentsOf(file), expected);
    }

    // Every report as a workbook: typed cells, totals that sum their columns
    // to the printed figures, headings frozen, widths fitted.
    void spreadsheetOfEveryReport_data() {
        QTest::addColumn<int>("index");
        const QList<Case> all = cases();
        for (int i = 0; i < all.size(); ++i)
            QTest::newRow(all[i].name) << i;
    }
    void spreadsheetOfEveryReport() {
        QFETCH(int, index);
        const Case c = cases()[index];
        const QString xlsx = home->path() + "/r.xlsx";
        QCOMPARE(program(c.args + QStringList{"--saida", xlsx}).exitCode, 0);
        // The figures the printed report shows: the text output, or the
        // page for the totalizer, whose subtotals carry the perimeter fee.
        const bool page = QString(c.id) == "48_0";
        const QString printedFile = home->path() + (page ? "/r.pdf" : "/r.txt");
        QCOMPARE(program(c.args + QStringList{"--saida", printedFile}).exitCode, 0);
        QString text;
        if (page) {
            text = pdfTextOf(printedFile);
        } else {
            QFile textFile(printedFile);
            QVERIFY(textFile.open(QIODevice::ReadOnly));
            text = QString::fromLatin1(textFile.readAll());
        }
        const QJsonArray sheets = sheetsOf(xlsx);
        QCOMPARE(sheets.size(), 1);
        const QJsonObject sheet = sheets[0].toObject();
        const ReportDefinition* e = ReportCatalog::find(c.id);
        QCOMPARE(sheet["name"].toString(), XlsxWriter::sheetName(e->pageTitle));
        QVERIFY(!sheet["widths"].toObject().isEmpty());
        // Printed as wide as the paper; shared like the other outputs.
        QVERIFY(sheet["fitToPage"].toBool());
        QCOMPARE(sheet["fitToWidth"].toInt(), 1);
        QCOMPARE(QFileInfo(xlsx).permissions() & (QFile::ReadGroup | QFile::WriteGroup),
                 QFile::ReadGroup | QFile::WriteGroup);
        // A sheet's name is cut between words, never inside one.
        const QString title = e->pageTitle.simplified();
        if (sheet["name"].toString().size() < title.size())
            QVERIFY2(title.at(sheet["name"].toString().size()) == ' ',
                     qPrintable(sheet["name"].toString()));
        int formulas = 0, money = 0, dates = 0, durations = 0;
        for (const QJsonValue& v : sheet["cells"].toArray()) {
            const QJsonObject cell = v.toObject();
            const QString format = cell["format"].toString();
            if (cell.contains("formula")) {
                ++formulas;
                QVERIFY2(cell["formula"].toString().startsWith("=SUM("),
                         qPrintable(cell["formula"].toString()));
                // The formula gives the value shown before recalculation.
                QVERIFY2(qAbs(cell["computed"].toDouble() - cell["value"].toDouble()) < 1e-6,
                         qPrintable(cell["ref"].toString() + " " + cell["formula"].toString()));
                if (format == "#,##0.00") {
                    // ... and that is the figure the text output prints.
                    const QString printed = formatMoney(cell["value"].toDouble());
                    QVERIFY2(text.contains(printed) ||
                                 text.contains(formatValue(Format::MoneyThousands, printed)),
                             qPrintable(printed));
                }
            }
            if (format == "#,##0.00") {
                ++money;
                QCOMPARE(cell["type"].toString(), cell.contains("formula") ? "f" : "n");
            } else if (format == "dd/mm/yyyy") {
                ++dates;
                QCOMPARE(cell["type"].toString(), QString("d"));
            } else if (format == "[h]:mm") {
                ++durations;
            }
            // Hours stored as 0 are no time, not the text "0".
            if (cell["type"].toString() == "s")
                QVERIFY2(cell["value"].toString() != "0", qPrintable(cell["ref"].toString()));
            // Codes keep their zeros: text, never numbers.
            if (cell["value"].toString().startsWith("0000"))
                QCOMPARE(cell["type"].toString(), QString("s"));
        }
        const QString id = c.id;
        if (id == "48_0") {
            // A heading row per client or courier, and its subtotal.
            QStringList bold;
            for (const QJsonValue& v : sheet["cells"].toArray()) {
                if (v.toObject()["bold"].toBool())
                    bold << v.toObject()["value"].toString();
            }
            const bool couriers = c.args.contains("motoboy");
            QVERIFY2(bold.contains(couriers ? "Motoboy : 000003 - JOAO DA MOTO"
                                            : "Cliente : 000007 - FARMACIA CENTRAL"),
                     qPrintable(bold.join('|')));
            QCOMPARE(
                bold.filter(couriers ? "SUB-TOTAL POR MOTOBOY" : "SUB-TOTAL POR CLIENTE").size(),
                2);
            QVERIFY(bold.contains("TOTAL GERAL DOS SERVIÇOS:"));
        }
        const bool rows = id != "43_0";
        if (rows && !id.startsWith("2"))
            QVERIFY2(!sheet["freeze"].toString().isEmpty(), "headings frozen");
        if (id == "41_0" || id == "42_0" || id == "44_0" || id == "46_0" || id == "47_0" ||
            id == "48_0")
            QVERIFY2(formulas > 0, "totals as formulas");
        if (id != "13_0" && id != "11_0")
            QVERIFY(money + durations > 0);
        if (id != "43_0")
            QVERIFY(dates > 0 || id == "11_0" || id == "12_0");
    }

    // A document's sheet has the page's captions in the page's order, each
    // followed by its value as a cell of its kind.
    void documentSheetFollowsThePage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("typed");  // caption: format of its first value
        QTest::newRow("service order")
            << QStringList{"--documento", "ordem", "2"}
            << QStringList{"Data :=dd/mm/yyyy", "Hora Inicial :=[h]:mm", "Total de Horas :=[h]:mm"};
        QTest::newRow("receipt") << QStringList{"--documento", "recibo", "0000000001"}
                                 << QStringList{"A quantia de R$=#,##0.00", "Data :=dd/mm/yyyy"};
    }
    void documentSheetFollowsThePage() {
        QFETCH(QStringList, args);
        QFETCH(QStringList, typed);
        const QString pdf = home->path() + "/d.pdf", xlsx = home->path() + "/d.xlsx";
        QCOMPARE(program(args + QStringList{"--saida", pdf}).exitCode, 0);
        QCOMPARE(program(args + QStringList{"--saida", xlsx}).exitCode, 0);
        const QString page = pdfTextOf(pdf).simplified();
        const QJsonArray cells = sheetsOf(xlsx)[0].toObject()["cells"].toArray();
        QMap<int, QString> captions;  // row: caption
        QMap<QString, QString> formats;
        for (const QJsonValue& v : cells) {
            const QJsonObject c = v.toObject();
            const QString value = c["value"].toString();
            // Below the company lines and the title, the captions.
            if (c["ref"].toString().startsWith("A") && c["bold"].toBool() &&
                (value.endsWith(':') || value.endsWith("R$")))
                captions.insert(c["row"].toInt(), value);
        }
        for (const QJsonValue& v : cells) {
            const QJsonObject c = v.toObject();
            if (c["ref"].toString().startsWith("B") && captions.contains(c["row"].toInt()))
                formats.insert(captions[c["row"].toInt()], c["format"].toString());
        }
        QVERIFY(captions.size() >= 10);
        qsizetype at = 0;
        for (const QString& caption : captions) {
            const qsizetype found = page.indexOf(caption, at);
            QVERIFY2(found >= 0,
                     qPrintable(caption + " after " + QString::number(at) + "\n" + page));
            at = found + caption.size();
        }
        for (const QString& t : typed)
            QCOMPARE(formats.value(t.section('=', 0, 0)), t.section('=', 1));
    }

    // The hours of the cash closing by client add as durations: 145:50 in
    // whole, not a day and a remainder.
    void hoursAddAsDurations() {
        const QString xlsx = home->path() + "/h.xlsx";
        const Run run = program({"--relatorio", "42_0", "--cliente", "000012", "--pagamento",
                                 "outros", "--de", kFrom, "--ate", kTo, "--saida", xlsx});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QJsonArray sheets = sheetsOf(xlsx);
        QCOMPARE(sheets.size(), 1);
        bool found = false;
        for (const QJsonValue& v : sheets[0].toObject()["cells"].toArray()) {
            const QJsonObject cell = v.toObject();
            if (cell.contains("formula") && cell["format"].toString() == "[h]:mm") {
                QCOMPARE(cell["value"].toDouble(), 69.0 * 60 + 50);
                found = true;
            }
        }
        QVERIFY(found);
    }

    // What the screens refuse, the command line refuses with the same words
    // and exit code 1; wrong arguments end with 2 and change nothing.
    void refusals_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QStringList out = {"--saida", "/tmp/nao-deve-existir.pdf"};
        QTest::newRow("empty period")
            << QStringList{"--relatorio", "41_0",       "--pagamento", "avista",
                           "--de",        "01/01/2020", "--ate",       "31/01/2020"} +
                   out
            << 1 << "Intervalos inexistentes.";
        QTest::newRow("blocked client")
            << QStringList{"--relatorio", "42_0", "--cliente", "8", "--pagamento", "avista"} + out
            << 1 << "BLOQUEADO";
        QTest::newRow("inexistent client")
            << QStringList{"--relatorio", "42_0", "--cliente", "99", "--pagamento", "avista"} + out
            << 1 << "inexistente";
        QTest::newRow("no payment form")
            << QStringList{"--relatorio", "41_0", "--de", kFrom, "--ate", kTo} + out << 1
            << "selecione qual a forma de pagamento.";
        QTest::newRow("inexistent order") << QStringList{"--documento", "ordem", "777"} + out << 1
                                          << "Ordem de serviço inexistente.";
        QTest::newRow("unknown report")
            << QStringList{"--relatorio", "99_0"} + out << 2 << "Relatório desconhecido";
        QTest::newRow("unknown extension")
            << QStringList{"--relatorio", "46_0", "--saida", "/tmp/x.doc"} << 2 << ".xlsx";
        QTest::newRow("no output") << QStringList{"--relatorio", "46_0"} << 2 << "--saida";
        QTest::newRow("bad date") << QStringList{"--relatorio", "46_0",  "--de",
                                                 "31/02/2026",  "--ate", kTo} +
                                         out
                                  << 2 << "Data inválida: 31/02/2026";
        QTest::newRow("one date only")
            << QStringList{"--relatorio", "46_0", "--de", kFrom} + out << 2 << "--ate";
        QTest::newRow("missing value") << QStringList{"--relatorio"} << 2 << "Falta o valor";
        QTest::newRow("unknown option")
            << QStringList{"--relatorio", "46_0", "--formato", "x"} + out << 2
            << "Opção desconhecida: --formato";
        // An option that is no report's is refused, never taken for a start
        // of the window (which under a script would never end).
        QTest::newRow("unknown option without a report")
            << QStringList{"--faturar"} << 2 << "Opção desconhecida: --faturar";
        QTest::newRow("unknown order choice")
            << QStringList{"--relatorio", "41_0", "--pagamento", "avista", "--ordem", "cor"} + out
            << 2 << "As opções são";
        QTest::newRow("listing html")
            << QStringList{"--relatorio", "11_0", "--saida", "/tmp/nao-deve-existir.html"} << 2
            << "não sai em html";
        QTest::newRow("printer missing")
            << QStringList{"--relatorio", "46_0", "--de",         kFrom,
                           "--ate",       kTo,    "--impressora", "NAOEXISTE"}
            << 1 << "Não há impressora \"NAOEXISTE\"";
        QTest::newRow("folder missing")
            << QStringList{"--relatorio", "46_0", "--de",    kFrom,
                           "--ate",       kTo,    "--saida", "/nao/existe/r.xlsx"}
            << 1 << "Não foi possível gravar o arquivo";
    }
    void refusals() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const int orders = rowsIn("tbordem");
        const Run run = program(args);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(!QFile::exists("/tmp/nao-deve-existir.pdf"));
        QVERIFY(!QFile::exists("/tmp/nao-deve-existir.html"));
        QCOMPARE(rowsIn("tbordem"), orders);
    }

    // An output that cannot be written is said in the program's words, in
    // a few lines, and leaves nothing behind: not a part file, not a word
    // of Qt's.
    void outputsThatCannotBeWritten_data() {
        QTest::addColumn<QString>("target");  // under the test's home
        QTest::addColumn<QString>("prepare");
        for (const char* ext : {"pdf", "html", "txt", "xlsx"}) {
            QTest::newRow(qPrintable(QString("a folder named pasta.%1").arg(ext)))
                << QString("pasta.%1").arg(ext) << "folder";
            QTest::newRow(qPrintable(QString("missing folder, %1").arg(ext)))
                << QString("nao/existe/r.%1").arg(ext) << "";
            // A folder no one may write into, root included.
            QTest::newRow(qPrintable(QString("folder that takes no files, %1").arg(ext)))
                << QString("/proc/r.%1").arg(ext) << "";
        }
    }
    void outputsThatCannotBeWritten() {
        QFETCH(QString, target);
        QFETCH(QString, prepare);
        const QString path = target.startsWith('/') ? target : home->path() + "/" + target;
        if (prepare == "folder")
            QVERIFY(QDir().mkpath(path));
        const Run run = program({"--relatorio", "41_0", "--pagamento", "avista", "--de", kFrom,
                                 "--ate", kTo, "--saida", path});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("Não foi possível gravar"), qPrintable(run.err));
        QVERIFY2(run.err.count('\n') <= 6, qPrintable(run.err.left(2000)));
        QVERIFY2(!run.err.contains("QPainter"), qPrintable(run.err.left(2000)));
        if (prepare == "folder") {
            QVERIFY(QFileInfo(path).isDir());
            QVERIFY(QDir(path).isEmpty());
        }
        const QDir dir(QFileInfo(path).absolutePath());
        if (dir.exists() && !path.startsWith("/proc"))
            QVERIFY2(dir.entryList(QDir::Files | QDir::Hidden).filter("parcial").isEmpty() &&
                         dir.entryList(QDir::Files | QDir::Hidden).filter(".r.").isEmpty(),
                     qPrintable(dir.entryList(QDir::Files | QDir::Hidden).join(' ')));
    }

    // cron mails whatever a run prints: a report written says nothing, even
    // where Qt would note its runtime folder or its screens.
    void quietForCron() {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("XDG_RUNTIME_DIR");
        env.remove("QT_QPA_PLATFORM");
        env.remove("DISPLAY");
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("QUELVARINO"),
                {"--relatorio", "41_0", "--pagamento", "avista", "--de", kFrom, "--ate", kTo,
                 "--saida", home->path() + "/quieto.pdf"});
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()), QString());
        QVERIFY(QFileInfo(home->path() + "/quieto.pdf").size() > 0);
    }

    // Whatever an operator typed stays the text it is: markup, a formula
    // sign, quotes, control characters and accents, never a formula or a
    // broken workbook.
    void hostileTextStaysText_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("markup") << "A <b>&amp; \"B\" 'C'</b>";
        QTest::newRow("formula sign") << "=SUM(A1:A9)+HYPERLINK(\"http://x\")";
        QTest::newRow("control characters") << QString("TAB\tNL\nBELL") + QChar(7) + "FIM";
        QTest::newRow("accents and symbols") << "AÇÃO & CIA — Nº 1 ½ €";
        QTest::newRow("long") << QString(5000, QChar('X'));
    }
    void hostileTextStaysText() {
        QFETCH(QString, name);
        store("tbclientes", {{"CODCLI", "000050"}, {"RAZAOSOCIAL", name}, {"SITUACAO", "ATIVO"}});
        const QString xlsx = home->path() + "/hostil.xlsx";
        const Run run = program({"--relatorio", "clientes", "--codigo-de", "000050", "--codigo-ate",
                                 "000050", "--saida", xlsx});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QJsonArray sheets = sheetsOf(xlsx);
        QCOMPARE(sheets.size(), 1);
        // A control character is kept as the workbook format writes one
        // ("_x0007_", which Calc and Excel read back as the character); the
        // reader of the test shows the written form.
        QString written;
        for (const QChar c : name)
            written += c.unicode() < 32 && c != '\t' && c != '\n'
                           ? QString("_x%1_").arg(c.unicode(), 4, 16, QChar('0')).toUpper()
                           : QString(c);
        written.replace("_X", "_x");
        bool found = false;
        for (const QJsonValue& v : sheets[0].toObject()["cells"].toArray()) {
            const QJsonObject cell = v.toObject();
            QVERIFY(!cell.contains("formula"));
            if (cell["value"].toString() == written) {
                QCOMPARE(cell["type"].toString(), QString("s"));
                found = true;
            }
        }
        QVERIFY2(found, qPrintable(name.left(40)));
    }

    // On a computer whose data folder was never used, a run says so and
    // leaves no folder or database behind.
    void noDatabaseNoReport() {
        QTemporaryDir elsewhere;
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", elsewhere.path());
        env.insert("XDG_CONFIG_HOME", elsewhere.path() + "/config");
        env.remove("QUELVARINO_TEST_SERVER");
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("QUELVARINO"),
                {"--relatorio", "46_0", "--saida", elsewhere.path() + "/r.pdf"});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains("Não há banco de dados"));
        QVERIFY(!QFile::exists(elsewhere.path() + "/Quelvarino"));
        QVERIFY(!QFile::exists(elsewhere.path() + "/r.pdf"));
    }

    void helpListsEveryReport() {
        const Run run = program({"--help"});
        QCOMPARE(run.exitCode, 0);
        for (const Case& c : cases())
            QVERIFY2(run.out.contains(QString("00") + c.id), c.id);
        QVERIFY(run.out.contains("fechamento-caixa"));
        QVERIFY(run.out.contains(".xlsx"));
    }

    // Two runs of the grouped report at once, each in its own work tables:
    // two whole, correct files, the same as one run alone.
    void twoRunsAtOnce() {
        const QStringList args = {"--relatorio", "48_0", "--agrupar", "cliente", "--pagamento",
                                  "total",       "--de", kFrom,       "--ate",   kTo};
        // An operator's totalizer waits in the shared work tables.
        WorkDetail operatorsRow;
        operatorsRow.codigo = "000099";
        operatorsRow.comanda = "0000000099";
        WorkTables::fill({operatorsRow});
        const QString alone = home->path() + "/so.txt";
        QCOMPARE(program(args + QStringList{"--saida", alone}).exitCode, 0);
        QList<std::shared_ptr<QProcess>> runs;
        for (int i = 0; i < 4; ++i) {
            auto p = std::make_shared<QProcess>();
            p->start(qEnvironmentVariable("QUELVARINO"),
                     args + QStringList{"--saida", home->path() + QString("/junto%1.txt").arg(i)});
            runs.append(p);
        }
        for (auto& p : runs) {
            QVERIFY(p->waitForFinished(120000));
            QCOMPARE(p->exitCode(), 0);
        }
        QFile a(alone);
        QVERIFY(a.open(QIODevice::ReadOnly));
        const QByteArray expected = a.readAll();
        QVERIFY(expected.contains("FARMACIA CENTRAL"));
        for (int i = 0; i < 4; ++i) {
            QFile f(home->path() + QString("/junto%1.txt").arg(i));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), expected);
        }
        // The operator's rows are as they were.
        const QList<WorkGroup> shared = WorkTables::read();
        QCOMPARE(shared.size(), 1);
        QCOMPARE(shared[0].rows.size(), 1);
        QCOMPARE(shared[0].rows[0].comanda, QString("0000000099"));
    }
};

QUELVARINO_GUI_TEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
