#include "app/mainwindow.h"
#include "app/program.h"
#include "core/clock.h"
#include "core/errors.h"
#include "core/pix.h"
#include "orders/serviceorder.h"
#include "registers/clients.h"
#include "registers/couriers.h"
#include "registers/expensetypes.h"
#include "reports/cash/cashreports.h"
#include "reports/couriers/courierreports.h"
#include "reports/htmlwriter.h"
#include "reports/pagewriter.h"
#include "reports/reportcatalog.h"
#include "reports/reportlayout.h"
#include "reportscreens/printdialog.h"
#include "testsupport.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/pixcodelabel.h"
#include "widgets/testseams.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <memory>

using namespace quelvarino;
using namespace operatorDoes;

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString pdfInfo(const QString& pdf, const QString& key) {
    for (const QString& line : run("pdfinfo", {pdf}).split('\n')) {
        if (line.startsWith(key + ":"))
            return line.mid(key.size() + 1).trimmed();
    }
    return QString();
}

QStringList linesOf(const QByteArray& bytes) {
    QStringList out = QString::fromLatin1(bytes).split("\r\n");
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

}  // namespace

// The report layer through the real dialogs: the catalog's routes, the page
// reports as PDF, the HTML documents, the files.
class TestReports : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;

    PrintDialog* dialog(const char* name) { return Screens::get<PrintDialog>(name); }
    QString pdf() const { return home->path() + "/preview.pdf"; }

    TQuelvarino0021_0* recordedOrder(const QString& requester = "MARIA",
                                     const QString& payment = QString()) {
        Quelvarino000_0->menuAction("OrdemdeServio1")->trigger();
        auto* os = Screens::get<TQuelvarino0021_0>("Quelvarino0021_0");
        activate(os);
        click(os->Btn_Novo);
        type(os->Edcodcli, "7");
        type(os->Edsolicit, requester);
        type(os->Edhora1, "0800");
        type(os->Edhora2, "0830");
        type(os->Edhora3, "1000");
        type(os->Edcodmot, "3");
        if (!payment.isEmpty())
            setComboText(os->Cbpag, payment);
        click(os->Btn_Gravar);
        return os;
    }

    // A listing printed completely, as a page report.
    QString pageListing(const char* menu, const char* requester, const char* dlg) {
        Quelvarino000_0->menuAction(menu)->trigger();
        auto* screen = Screens::find(requester);
        click(screen->findChild<QPushButton*>("Btn_Imprimir"));
        PrintDialog* d = dialog(dlg);
        d->setEdtip(0);
        click(d->Ed1);
        click(d->Btn_Imprimir);
        [&] { QVERIFY2(MessageBox::shownMessages().isEmpty(), qPrintable(lastMessage())); }();
        [&] { QVERIFY(d->isVisible()); }();  // listings stay open
        return pdfText(pdf());
    }

private slots:
    void init() {
        home = std::make_unique<TempHome>();
        MessageBox::clearShownMessages();
        Clock::setNow(QDateTime(QDate(2026, 12, 8), QTime(14, 30, 5)));
        PrintPreview::setTestMode(true, home->path() + "/preview.pdf");
        QVERIFY(startProgram(*qApp));
        store("tbempresa", {{"RAZAOSOCIAL", "MOTOBOY EXPRESS LTDA"},
                            {"NOMEFAN", "MOTOBOY EXPRESS"},
                            {"ENDERECO1", "RUA DO COMERCIO, 100"},
                            {"BAIRRO1", "CENTRO"},
                            {"CIDADE1", "SAO PAULO"},
                            {"UF1", "SP"},
                            {"CEP1", "01010-000"},
                            {"DDD1", "11"},
                            {"TELEFONE1_1", "3333-4444"},
                            {"TELEFONE1_2", "98765-4321"},
                            {"SITE", "www.motoboy.com.br"},
                            {"EMAIL", "contato@motoboy.com.br"}});
        store("tbclientes", {{"CODCLI", "000007"},
                             {"RAZAOSOCIAL", "FARMACIA CENTRAL"},
                             {"CNPJ", "11.222.333/0001-81"},
                             {"ENDERECO1", "RUA A, 1"},
                             {"BAIRRO1", "CENTRO"},
                             {"CIDADE1", "SANTOS"},
                             {"UF1", "SP"},
                             {"CEP1", "11010-000"},
                             {"DDD1", "013"},
                             {"TELEFONE1_1", "3222-0000"},
                             {"VALOR", "30"},
                             {"SITUACAO", "ATIVO"},
                             {"DATA", "01/12/2026"}});
        store("tbmotociclista", {{"COD", "000003"},
                                 {"NOME", "JOAO DA MOTO"},
                                 {"CPF", "111.444.777-35"},
                                 {"VALOR", "12"},
                                 {"SALARIO", "1500"},
                                 {"MARCA", "HONDA"},
                                 {"MODELO", "CG 150"},
                                 {"ANO", "2019/2020"},
                                 {"PLACA", "ABC1D23"},
                                 {"TELEFONE1", "98765-4321"},
                                 {"SITUACAO", "ATIVO"},
                                 {"DATA", "02/12/2026"}});
        store("tbdespesa", {{"COD", "000001"}, {"DESPESA", "MANUTENÇÃO"}, {"DATA", "03/12/2026"}});
    }
    void cleanup() { endProgramTest(home); }

    // ---- the catalog ---------------------------------------------------------------

    // Every layout of every report names only the fields and totals its
    // data provides: a name nobody provides would print as a blank.
    void layoutsNameWhatTheDataProvides_data() {
        QTest::addColumn<QString>("id");
        for (const ReportDefinition& e : ReportCatalog::entries())
            QTest::newRow(qPrintable(e.id)) << e.id;
    }
    void layoutsNameWhatTheDataProvides() {
        QFETCH(QString, id);
        const ReportDefinition* e = ReportCatalog::find(id);
        // The documents draw their own fixed forms; every report lists
        // the layouts it is written from.
        QVERIFY(e->kind == ReportKind::Document || !e->pageLayouts.isEmpty());
        QVERIFY(e->kind == ReportKind::Document || !e->fields.isEmpty() || !e->totals.isEmpty());
        QCOMPARE(e->unprovidedNames(), QStringList());
    }
    // The check finds a name nobody provides, and printing one throws
    // instead of leaving a blank.
    void anUnprovidedNameIsAnError() {
        ReportDefinition e = *ReportCatalog::find("46_0");
        static PageLayout wrong = *e.pageLayouts.first();
        wrong.columns.append(PageCell{"Nada", "CAMPONENHUM"});
        wrong.summary.append(PageSummary{"Nada", "{=HORAS} e {=TOTALNENHUM}"});
        e.pageLayouts = {&wrong};
        QCOMPARE(e.unprovidedNames(), QStringList({"CAMPONENHUM", "=TOTALNENHUM"}));

        ReportData d;
        d.id = "46_0";
        d.totals.insert("HORAS", "1:00");
        ReportRow row;
        row.set("DATA", "01/12/2026");
        QCOMPARE(valueOf(d, row, "DATA"), QString("01/12/2026"));
        QCOMPARE(valueOf(d, row, "=HORAS"), QString("1:00"));
        QVERIFY_THROWS_EXCEPTION(NoticeError, valueOf(d, row, "CAMPONENHUM"));
        QVERIFY_THROWS_EXCEPTION(NoticeError, valueOf(d, row, "=TOTALNENHUM"));
        QVERIFY_THROWS_EXCEPTION(NoticeError, valueOf(d, row, "{DATA} {=TOTALNENHUM}"));
        // A page of it is refused whole.
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir::temp().filePath("nada.pdf"));
        d.rows = {row};
        QVERIFY_THROWS_EXCEPTION(NoticeError, PageWriter::render(d, wrong, &printer));
    }

    void everyIdRoutesToItsWriters_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("requester");
        // P page, M dot matrix, H html, T text file, X spreadsheet
        QTest::addColumn<QString>("outputs");
        QTest::addColumn<QString>("closing");  // outputs after which the dialog closes
        QTest::addColumn<QString>("stem");
        QTest::newRow("11_0") << "11_0"
                              << "Quelvarino0011_2"
                              << "Quelvarino0011_0"
                              << "PMTX"
                              << ""
                              << "cadcli";
        QTest::newRow("12_0") << "12_0"
                              << "Quelvarino0012_2"
                              << "Quelvarino0012_0"
                              << "PMTX"
                              << ""
                              << "cadmot";
        QTest::newRow("13_0") << "13_0"
                              << "Quelvarino0013_2"
                              << "Quelvarino0013_0"
                              << "PMTX"
                              << ""
                              << "caddesp";
        QTest::newRow("21_0") << "21_0"
                              << "Quelvarino0021_5"
                              << "Quelvarino0021_0"
                              << "PMHTX"
                              << "PMHTX"
                              << "OS";
        QTest::newRow("22_0") << "22_0"
                              << "Quelvarino0022_4"
                              << "Quelvarino0022_0"
                              << "PMHTX"
                              << "PMHTX"
                              << "Recibo";
        QTest::newRow("41_0") << "41_0"
                              << "Quelvarino0041_1"
                              << "Quelvarino0041_0"
                              << "PMHTX"
                              << "PMHTX"
                              << "Rel01";
        for (int n = 2; n <= 8; ++n) {
            const QByteArray id = QString("4%1_0").arg(n).toLatin1();
            QTest::newRow(id.constData()) << QString(id) << QString("Quelvarino004%1_1").arg(n)
                                          << QString("Quelvarino004%1_0").arg(n) << "PMHTX"
                                          << "PH" << QString("Rel0%1").arg(n);
        }
    }
    void everyIdRoutesToItsWriters() {
        QFETCH(QString, id);
        QFETCH(QString, dialog);
        QFETCH(QString, requester);
        QFETCH(QString, outputs);
        QFETCH(QString, closing);
        QFETCH(QString, stem);
        const ReportDefinition* e = ReportCatalog::find(id);
        QVERIFY(e);
        QCOMPARE(e->dialog, dialog);
        QCOMPARE(e->requester, requester);
        QCOMPARE(e->fileStem, stem);
        const QMap<QChar, Output> letters = {{'P', Output::Page},
                                             {'M', Output::DotMatrix},
                                             {'H', Output::Html},
                                             {'T', Output::TextFile},
                                             {'X', Output::Sheet}};
        QCOMPARE(e->outputs.size(), outputs.size());
        // Every output a dialog offers has its writer: none is a dead item.
        QVERIFY(e->collect);
        QVERIFY(!e->pageTitle.isEmpty());
        QCOMPARE(bool(e->page) && bool(e->pageSetUp), outputs.contains('P'));
        QCOMPARE(bool(e->text), outputs.contains('M') || outputs.contains('T'));
        QCOMPARE(bool(e->html), outputs.contains('H'));
        QCOMPARE(bool(e->sheet), outputs.contains('X'));
        for (int item = 0; item < outputs.size(); ++item)
            QCOMPARE(ReportCatalog::outputOfItem(*e, item), letters[outputs[item]]);
        for (auto it = letters.begin(); it != letters.end(); ++it) {
            if (outputs.contains(it.key()))
                QCOMPARE(ReportCatalog::closesAfter(*e, it.value()), closing.contains(it.key()));
        }
        QCOMPARE(ReportCatalog::resetsAfterEveryPrint(*e), id == "41_0");
        QCOMPARE(ReportCatalog::pathEditable(*e, Output::TextFile), true);
        QCOMPARE(ReportCatalog::pathEditable(*e, Output::Sheet), true);
        QCOMPARE(ReportCatalog::pathEditable(*e, Output::Page), false);
        QCOMPARE(ReportCatalog::pathEditable(*e, Output::DotMatrix), false);
        // The courier closing writes its HTML under the default path.
        if (outputs.contains('H'))
            QCOMPARE(ReportCatalog::pathEditable(*e, Output::Html), id != "43_0");
        QVERIFY(!ReportCatalog::find("99_0"));
    }

    void dialogItemsComeFromTheCatalog() {
        Quelvarino000_0->menuAction("Clientes1")->trigger();
        PrintDialog* listing = dialog("Quelvarino0011_2");
        QStringList captions;
        for (int i = 0; i < 4; ++i)
            captions << listing->findChild<QRadioButton*>(QString("Edtip_%1").arg(i))->text();
        QCOMPARE(captions, QStringList({"Jato de Tinta ou Laser", "Matricial", "Criar um Arquivo",
                                        "Planilha (.xlsx)"}));
        QVERIFY(!listing->findChild<QRadioButton*>("Edtip_4"));
        QCOMPARE(listing->fileItem(), 2);
        PrintDialog* order = dialog("Quelvarino0021_5");
        QCOMPARE(order->findChild<QRadioButton*>("Edtip_2")->text(),
                 QString("Criar um Arquivo em HTML"));
        QCOMPARE(order->fileItem(), 3);
        // The spreadsheet after the four outputs the dialogs always had.
        QCOMPARE(order->findChild<QRadioButton*>("Edtip_4")->text(), QString("Planilha (.xlsx)"));
        order->setEdtip(4);
        QVERIFY(order->Edcam->isEnabled());
        // HTML opens the path in the document dialogs.
        order->setEdtip(2);
        QVERIFY(order->Edcam->isEnabled());
        order->setEdtip(0);
        QVERIFY(!order->Edcam->isEnabled());
    }

    // ---- page reports ---------------------------------------------------------------

    void listingsAsPageReports_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("requester");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("clients") << "Clientes1"
                                 << "Quelvarino0011_0"
                                 << "Quelvarino0011_2"
                                 << QStringList{"Lista de Clientes",
                                                "Código:",
                                                "000007",
                                                "Razão social:",
                                                "FARMACIA CENTRAL",
                                                "C.N.P.J.:",
                                                "11.222.333/0001-81",
                                                "Endereço administrativo:",
                                                "RUA A, 1",
                                                "Telefone:",
                                                "013-3222-0000",
                                                "Endereço faturamento:",
                                                "Situação:",
                                                "ATIVO",
                                                "Data da última alteração:",
                                                "01/12/2026"};
        QTest::newRow("couriers") << "Motociclista1"
                                  << "Quelvarino0012_0"
                                  << "Quelvarino0012_2"
                                  << QStringList{"Lista de Motociclista",
                                                 "Nome :",
                                                 "JOAO DA MOTO",
                                                 "CPF :",
                                                 "111.444.777-35",
                                                 "Placa :",
                                                 "ABC1D23",
                                                 "Salário:",
                                                 "1500,00",
                                                 "Valor hora:",
                                                 "12,00",
                                                 "Categoria da CNH :"};
        QTest::newRow("expense types")
            << "Despesas1"
            << "Quelvarino0013_0"
            << "Quelvarino0013_2"
            << QStringList{"Lista de Despesas", "Código :",  "Despesa :", "Data :", "000001",
                           "MANUTENÇÃO",        "03/12/2026"};
    }
    void listingsAsPageReports() {
        QFETCH(QString, menu);
        QFETCH(QString, requester);
        QFETCH(QString, dialog);
        QFETCH(QStringList, expected);
        const QString text =
            pageListing(qPrintable(menu), qPrintable(requester), qPrintable(dialog));
        QVERIFY(pdfInfo(pdf(), "Page size").contains("612 x 792 pts (letter)"));
        for (const QString& company :
             QStringList{"MOTOBOY EXPRESS", "RUA DO COMERCIO, 100", "CENTRO - SAO PAULO - SP",
                         "01010-000 - Telefone : (11) - 3333-4444 / 98765-4321",
                         "Site : www.motoboy.com.br - e-mail : contato@motoboy.com.br"})
            QVERIFY2(text.contains(company), qPrintable(company));
        for (const QString& e : expected)
            QVERIFY2(text.contains(e), qPrintable(e + "\n" + text));
        QVERIFY(text.contains("Impresso em 08/12/2026 às 14:30:05"));
        QVERIFY(text.contains("Página nº: 1"));
        QVERIFY(!text.contains("Página nº: 2"));
        QCOMPARE(PrintPreview::lastTitle(), "Visualização - " + expected.first());
    }

    // Two hundred clients: none lost, none split, every page filled alike.
    void longListingFillsItsPages() {
        for (int i = 100; i < 300; ++i)
            store("tbclientes", {{"CODCLI", QString("%1").arg(i, 6, 10, QChar('0'))},
                                 {"RAZAOSOCIAL", QString("CLIENTE NUMERO %1").arg(i)},
                                 {"SITUACAO", "ATIVO"}});
        pageListing("Clientes1", "Quelvarino0011_0", "Quelvarino0011_2");
        const int pages = pdfInfo(pdf(), "Pages").toInt();
        QVector<int> perPage;
        for (int page = 1; page <= pages; ++page) {
            const QString text = run("pdftotext", {"-f", QString::number(page), "-l",
                                                   QString::number(page), "-layout", pdf(), "-"});
            QVERIFY(text.contains(QString("Página nº: %1").arg(page)));
            perPage.append(text.count("Código:"));
            QCOMPARE(text.count("Código:"), text.count("Data da última alteração:"));
        }
        int all = 0;
        for (int n : perPage)
            all += n;
        QCOMPARE(all, 201);
        QVERIFY(perPage[0] >= 4);
        for (int page = 1; page < pages - 1; ++page)
            QCOMPARE(perPage[page], perPage[1]);  // the title band is on the first page only
        QCOMPARE(pages, 1 + (201 - perPage[0] + perPage[1] - 1) / perPage[1]);
    }

    void logoWhenThereIsOne() {
        pageListing("Despesas1", "Quelvarino0013_0", "Quelvarino0013_2");
        QCOMPARE(run("pdfimages", {"-list", pdf()}).count("image"), 0);  // no logo, no error
        QImage logo(200, 100, QImage::Format_RGB32);
        logo.fill(Qt::darkBlue);
        QVERIFY(logo.save(home->dataFolder() + "/logo.bmp"));
        pageListing("Despesas1", "Quelvarino0013_0", "Quelvarino0013_2");
        QVERIFY(run("pdfimages", {"-list", pdf()}).count("image") >= 1);
    }

    void serviceOrderAsPageReport_data() {
        QTest::addColumn<bool>("twoCopies");
        QTest::newRow("one copy") << false;
        QTest::newRow("two copies on one sheet") << true;
    }
    void serviceOrderAsPageReport() {
        QFETCH(bool, twoCopies);
        auto* os = recordedOrder();
        os->Edobs->setPlainText("ENTREGAR NA PORTARIA");
        click(os->Btn_Imprimir);
        PrintDialog* d = dialog("Quelvarino0021_5");
        d->setEdtip(0);
        click(twoCopies ? d->Ed2Copy : d->Ed1Copy);
        click(d->Btn_Imprimir);
        QVERIFY2(MessageBox::shownMessages().isEmpty(), qPrintable(lastMessage()));
        QVERIFY(pdfInfo(pdf(), "Page size").contains("595 x 842 pts (A4)"));
        QCOMPARE(pdfInfo(pdf(), "Pages"), QString("1"));
        const QString text = pdfText(pdf());
        for (const QString& e : QStringList{
                 "ORDEM DE SERVIÇO", "Ordem de Serviço Nº. : 0000000001",
                 "Cliente : 000007 - FARMACIA CENTRAL", "Data : 08/12/2026", "Endereço : RUA A, 1",
                 "Solicitante : MARIA", "Hora Saída : 08:00", "Hora Inicial : 08:30",
                 "Hora Final : 10:00", "Total de Horas : 02:00", "Motoboy : 000003 - JOAO DA MOTO",
                 "Telefone do Motoboy : 98765-4321", "Marca : HONDA", "Placa : ABC1D23",
                 "ENTREGAR NA PORTARIA", "NÃO TRANSPORTAMOS VALORES EM ESPÉCIE",
                 "ASSINATURA E CARIMBO", "MOTOBOY EXPRESS"})
            QVERIFY2(text.count(e) == (twoCopies ? 2 : 1), qPrintable(e + "\n" + text));
        if (twoCopies) {
            QVERIFY(text.contains("1ª via cliente"));
            QVERIFY(text.contains("2ª via fornecedor"));
        } else {
            QVERIFY(text.contains("1º via cliente / 2º via fornecedor"));
        }
        QVERIFY(!d->isVisible());  // the document dialog closes after a print
        QVERIFY(os->isVisible());
    }

    // The order's PIX code for its stored total, decoded back from the page
    // and from the HTML; none for an order billed later.
    void serviceOrderCarriesItsPixCode_data() {
        QTest::addColumn<QString>("payment");
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("carried");
        QTest::newRow("cash, page") << "À VISTA" << 0 << true;
        QTest::newRow("cash, html") << "À VISTA" << 2 << true;
        QTest::newRow("billed, page") << "FATURADO" << 0 << false;
        QTest::newRow("billed, html") << "FATURADO" << 2 << false;
    }
    void serviceOrderCarriesItsPixCode() {
        QFETCH(QString, payment);
        QFETCH(int, item);
        QFETCH(bool, carried);
        setCompanyPix("Chave aleatória", "123e4567-e12b-12d1-a456-426655440000", "MOTOBOY EXPRESS",
                      "SAO PAULO", true);
        auto* os = recordedOrder("MARIA", payment);
        QCOMPARE(os->Edtotval->text(), QString("60,00"));
        const QString expected =
            carried ? pix::payload({"123e4567-e12b-12d1-a456-426655440000", "MOTOBOY EXPRESS",
                                    "SAO PAULO", "OS0000000001", 6000})
                    : QString();
        // On the screen too, beside the notes.
        QVERIFY(os->Lbpix->isVisible());
        QCOMPARE(os->Lbpix->payload(), expected);
        click(os->Btn_Imprimir);
        PrintDialog* d = dialog("Quelvarino0021_5");
        d->setEdtip(item);
        click(d->Ed1Copy);
        click(d->Btn_Imprimir);
        QString image = home->path() + "/order.png";
        if (item == 0) {
            QProcess p;
            p.start("pdftoppm",
                    {"-r", "300", "-png", "-singlefile", pdf(), home->path() + "/order"});
            QVERIFY(p.waitForFinished(60000));
        } else {
            QFile file(home->dataFolder() + "/Relatorios/OS0000000001.html");
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString html = QString::fromLatin1(file.readAll());
            const QRegularExpressionMatch m =
                QRegularExpression("base64,([A-Za-z0-9+/=]+)\"").match(html);
            QCOMPARE(m.hasMatch(), carried);
            if (!carried)
                return;
            QFile out(image);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(QByteArray::fromBase64(m.captured(1).toLatin1()));
        }
        QProcess zbar;
        zbar.start("zbarimg", {"-q", "--raw", image});
        QVERIFY(zbar.waitForFinished(60000));
        const QString decoded = QString::fromUtf8(zbar.readAllStandardOutput()).trimmed();
        QCOMPARE(decoded, carried
                              ? pix::payload({"123e4567-e12b-12d1-a456-426655440000",
                                              "MOTOBOY EXPRESS", "SAO PAULO", "OS0000000001", 6000})
                              : QString());
    }

    // ---- HTML ---------------------------------------------------------------------------

    void serviceOrderAsHtml_data() {
        QTest::addColumn<bool>("twoCopies");
        QTest::newRow("one copy") << false;
        QTest::newRow("two copies") << true;
    }
    void serviceOrderAsHtml() {
        QFETCH(bool, twoCopies);
        auto* os = recordedOrder();
        os->Edobs->setPlainText("ENTREGAR NA PORTARIA");
        click(os->Btn_Imprimir);
        PrintDialog* d = dialog("Quelvarino0021_5");
        d->setEdtip(2);
        click(twoCopies ? d->Ed2Copy : d->Ed1Copy);
        click(d->Btn_Imprimir);
        QCOMPARE(lastMessage(), QString("Arquivo gerado com sucesso."));
        QCOMPARE(MessageBox::shownMessages().last().title, QString("A T E N Ç Ã O"));
        QCOMPARE(MessageBox::shownMessages().last().icon, QMessageBox::Question);
        QVERIFY(!d->isVisible());
        QFile file(home->dataFolder() + "/Relatorios/OS0000000001.html");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.contains("ORDEM DE SERVI\xc7O"));  // single-byte, no charset declared
        QVERIFY(!bytes.contains("charset"));
        const QString n10 = QString("&nbsp").repeated(10);
        const QStringList header = {
            "MOTOBOY EXPRESS <br>", "RUA DO COMERCIO, 100 - CENTRO - SAO PAULO - SP <br>",
            "01010-000 Telefone : (11) 3333-4444 / 98765-4321 Site : www.motoboy.com.br - e-mail : "
            "contato@motoboy.com.br <br>",
            "<h1 align=\"center\">ORDEM DE SERVIÇO</h1>", "<hr size=3></hr>"};
        const QStringList body = {
            "<div align=\"right\">Ordem de Serviço No.: 0000000001</div><br>",
            "Cliente : 000007 - FARMACIA CENTRAL <br>",
            "Endereço : RUA A, 1 - Bairro : CENTRO - Cidade : SANTOS - UF : SP - CEP : "
            "11010-000<br>",
            "Solicitante : MARIA<br>",
            "Hora Saida : 08:00" + n10 + " - Hora Inicial : 08:30" + n10 + " - Hora Final : 10:00" +
                n10 + " - Total de Horas : 02:00<br>",
            "Motoboy : 000003 - JOAO DA MOTO - Telefone : 98765-4321<br>",
            "Marca : HONDA - Modelo : CG 150 - Ano : 2019/2020 - Placa : ABC1D23<br>",
            "<div align=\"right\">Data : 08/12/2026</div><br>",
            "<h4 align=\"left\">OBSERVACOES</h4>",
            "<blockquote>ENTREGAR NA PORTARIA</blockquote>",
            "<h3 align=\"left\">NAO TRANSPORTAMOS VALORES EM ESPECIE</h3>",
            "<hr Width=40% Align=Right Noshade>",
            "<div align=\"right\">ASSINATURA E CARIMBO DO CLIENTE</div><br>",
            "<blockquote>NOTA: Com base nesta Ordem de Serviço sera emitida a Nota Fiscal de "
            "acordo "
            "com o Decreto Nº 6879 de 24/04/67. O tempo de prestação do serviço sera contado desde "
            "o inicio do veículo no cliente, até o termino do serviço. A fração minima do tempo de "
            "serviço é de 2(duas) horas. Após às 18:00hs, acrescimo de 50% e após às 22:00hs "
            "acrescimo de 100% sobre o valor normal contratado.</blockquote>",
            "<blockquote>A locatoria não tem responsabilidade quanto a quebra, avaria das "
            "mercadorias ou documentos transportados, caso o cliente não tenha "
            "seguro.</blockquote>"};
        const QStringList closing = {" <br>", HtmlWriter::footerLine(), "<hr size=3></hr>",
                                     "</body>", "</html>"};
        QStringList expected = {"<html>", "<head><title>Ordem de Serviço</title></head>", "<body>"};
        expected += header;
        expected += body;
        if (twoCopies) {
            expected += {"<div align=\"right\">1o. via do cliente</div><br>", " <br>", " <br>",
                         HtmlWriter::footerLine(), "<hr size=3></hr>"};
            expected += header;
            expected += body;
            expected += "<div align=\"right\">2o. via do fornecedor</div><br>";
        } else {
            expected += "<div align=\"right\">1o. via do cliente / 2o. via fornecedor</div><br>";
        }
        expected += closing;
        const QStringList got = linesOf(bytes);
        QCOMPARE(got.size(), expected.size());
        for (int i = 0; i < got.size(); ++i)
            QVERIFY2(got[i] == expected[i],
                     qPrintable(QString("line %1: %2\n != %3").arg(i).arg(got[i], expected[i])));
    }

    // A hostile name is shown, never run; a second print replaces the file.
    void htmlEscapesDataAndReplacesTheFile() {
        store("tbclientes", {{"CODCLI", "000009"},
                             {"RAZAOSOCIAL", "<script>alert(1)</script> A & B"},
                             {"SITUACAO", "ATIVO"}});
        Quelvarino000_0->menuAction("OrdemdeServio1")->trigger();
        auto* os = Screens::get<TQuelvarino0021_0>("Quelvarino0021_0");
        activate(os);
        click(os->Btn_Novo);
        type(os->Edcodcli, "9");
        type(os->Edcodmot, "3");
        os->Edobs->setPlainText("LINHA 1 <b>\nLINHA 2");
        click(os->Btn_Gravar);
        const QString path = home->dataFolder() + "/Relatorios/OS0000000001.html";
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));  // a longer file that was there
        old.close();
        click(os->Btn_Imprimir);
        PrintDialog* d = dialog("Quelvarino0021_5");
        d->setEdtip(2);
        click(d->Ed1Copy);
        click(d->Btn_Imprimir);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(!bytes.contains('x' + QByteArray(10, 'x')));
        QVERIFY(bytes.startsWith("<html>"));
        QVERIFY(bytes.contains(
            "Cliente : 000009 - &lt;script&gt;alert(1)&lt;/script&gt; A &amp; B <br>"));
        QVERIFY(!bytes.contains("<script>"));
        QVERIFY(bytes.contains("<blockquote>LINHA 1 &lt;b&gt;<br>LINHA 2</blockquote>"));
    }

    // Any table layout: heading row, one line per cell, an empty selection
    // as one empty row, money "##0.00".
    void htmlTablesOfAnyLayout() {
        HtmlLayout l;
        l.title = "Listagem das OS Emitidas";
        l.heading = "LISTAGEM DAS OS EMITIDAS";
        l.before = {"<div align=\"center\">Periodo de {=DE} ate {=ATE}</div><br>"};
        l.tableWidth = 710;
        HtmlColumn data{"Data", 50, "DATA", 50, Align::Left, Format::Text, 0};
        HtmlColumn client{"Cliente", 500, "CLIENTE", 500, Align::Left, Format::Text, 15};
        HtmlColumn total{"Valor", 100, "TOTVAL", 80, Align::Right, Format::Money, 0};
        l.columns = {data, client, total};
        l.after = {"<div align=\"left\">Total : {=TOTAL}</div><br>"};
        ReportData d;
        d.totals = {{"DE", "01/12/2026"}, {"ATE", "<31/12/2026>"}, {"TOTAL", "10,00"}};
        QStringList got = linesOf(HtmlWriter::render(d, l));
        const QStringList head = {"<table align=\"center\" width=\"710\" Border=\"1\">",
                                  "<Font size=\"0\">",
                                  "<tr><td align=\"center\" width=\"50\">Data</td>",
                                  "<td align=\"center\" width=\"500\">Cliente</td>",
                                  "<td align=\"center\" width=\"100\">Valor</td></tr>"};
        const int at = got.indexOf(head.first());
        QVERIFY(at > 0);
        QCOMPARE(got.mid(at, 5), head);
        QCOMPARE(got.mid(at + 5, 7),
                 QStringList({"<tr>", "<td align=\"left\" width=\"50\"><!-- @ --></td>",
                              "<td align=\"left\" width=\"500\"><!-- @ --></td>",
                              "<td align=\"right\" width=\"80\"><!-- @ -->0,00</td>", "</tr>", "",
                              "</font></table>"}));
        QVERIFY(got.contains(
            "<div align=\"center\">Periodo de 01/12/2026 ate &lt;31/12/2026&gt;</div><br>"));
        QVERIFY(got.contains("<div align=\"left\">Total : 10,00</div><br>"));
        ReportRow row;
        row.set("DATA", "05/12/2026");
        row.set("CLIENTE", "FARMACIA CENTRAL DE SANTOS");
        row.set("TOTVAL", "1016,333");
        d.rows = {row};
        got = linesOf(HtmlWriter::render(d, l));
        QVERIFY(got.contains("<td align=\"left\" width=\"500\"><!-- @ -->FARMACIA CENTRA</td>"));
        QVERIFY(got.contains("<td align=\"right\" width=\"80\"><!-- @ -->1016,33</td>"));
    }

    // ---- files ----------------------------------------------------------------------------

    void aFileThatCannotBeWrittenIsSaidSo_data() {
        QTest::addColumn<QString>("path");  // under the test's home
        QTest::addColumn<int>("item");
        QTest::newRow("text into a missing folder") << "/nao/existe/OS1" << 3;
        QTest::newRow("html into a missing folder") << "/nao/existe/OS1" << 2;
        QTest::newRow("a folder where the file would go") << "/pasta" << 3;
    }
    void aFileThatCannotBeWrittenIsSaidSo() {
        QFETCH(QString, path);
        QFETCH(int, item);
        QDir().mkpath(home->path() + "/pasta.txt");
        auto* os = recordedOrder();
        click(os->Btn_Imprimir);
        PrintDialog* d = dialog("Quelvarino0021_5");
        d->setEdtip(item);
        click(d->Ed1Copy);
        d->Edcam->setText(home->path() + path);
        click(d->Btn_Imprimir);
        const auto m = MessageBox::shownMessages().last();
        QCOMPARE(m.title, MessageBox::standardTitle());
        QCOMPARE(m.icon, QMessageBox::Warning);
        QVERIFY2(m.text.contains(home->path() + path), qPrintable(m.text));
        QVERIFY(m.text.contains("nada foi gravado"));
        QVERIFY(d->isVisible());  // the operator can choose another path
        QVERIFY(QFileInfo(home->path() + "/pasta.txt").isDir());
        QCOMPARE(QDir(home->path()).entryList({"*.new", "pasta.txt.*", "*.tmp"}, QDir::Files),
                 QStringList());
    }

    // "Salvar PDF" of the preview: the same pages, and a complete file
    // replaces an existing one.
    void previewPagesSavedAsPdf() {
        const QString file = home->path() + "/salvo.pdf";
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("antigo");
        old.close();
        const ReportDefinition* e = ReportCatalog::find("13_0");
        ReportData data;
        ReportRow row;
        row.set("COD", "000042");
        row.set("DESPESA", "PEDAGIO");
        row.set("DATA", "08/12/2026");
        data.rows = {row};
        QVERIFY(PrintPreview::savePdf(
            file, [&](QPrinter* p) { e->pageSetUp(p, data); },
            [&](QPrinter* p) { e->page(data, p); }));
        QVERIFY(pdfText(file).contains("PEDAGIO"));
        QVERIFY(!QFile::exists(file + ".parcial"));
        // A folder that does not exist: false, nothing left behind.
        QVERIFY(!PrintPreview::savePdf(
            home->path() + "/nao/existe.pdf", [&](QPrinter* p) { e->pageSetUp(p, data); },
            [&](QPrinter* p) { e->page(data, p); }));
    }

    // Every column and heading of every page report in one readable size
    // (at least 7 points), with the widest values each column can get
    // (ten-digit numbers, long names, large amounts), and every value
    // whole in the PDF.
    void pageColumnsAreReadable_data() {
        QTest::addColumn<QString>("layout");
        for (const char* name :
             {"41_0", "42_0", "48_0 clients", "48_0 couriers", "44_0", "45_0", "46_0", "47_0"})
            QTest::newRow(name) << name;
    }
    void pageColumnsAreReadable() {
        QFETCH(QString, layout);
        const QMap<QString, const PageLayout*> layouts = {
            {"41_0", &cashByPeriodPage()},           {"42_0", &cashByClientPage()},
            {"48_0 clients", &totalizerPage(false)}, {"48_0 couriers", &totalizerPage(true)},
            {"43_0", &courierClosingPage()},         {"44_0", &courierExpensesPage()},
            {"45_0", &courierHoursPage()},           {"46_0", &orderListingPage()},
            {"47_0", &salariedPaymentPage()}};
        const PageLayout& page = *layouts.value(layout);
        QVERIFY(!page.columns.isEmpty());
        ReportData data;
        QStringList widest;
        for (int n = 0; n < 3; ++n) {
            ReportRow row;
            for (const PageCell& col : page.columns) {
                if (col.source.isEmpty() || col.source.contains('{'))
                    continue;
                const QString key = col.source.startsWith('=') ? col.source.mid(1) : col.source;
                QString value;
                // the widest each column holds in an office's data
                switch (col.format) {
                    case Format::Text:
                        value = key.contains("DATA")     ? "31/12/2026"
                                : key.startsWith("HORA") ? "23:59"
                                : key == "COMANDA" || key == "RECIBO" || key.startsWith("NUM") ||
                                        key.startsWith("COD")
                                    ? "0000000123"
                                    : "DISTRIBUIDORA DE MEDICAMENTOS SAO JOSE";
                        break;
                    case Format::Hours:
                        value = "145:50";
                        break;
                    case Format::Integer:
                        value = "100";
                        break;
                    default:
                        value = "99999,99";
                }
                row.set(key, value);
                if (n == 0 && col.format != Format::Text)
                    widest.append(formatValue(col.format, value));
                else if (n == 0 && !value.contains(' '))
                    widest.append(value);
            }
            data.rows.append(row);
        }
        // The totals under the columns, as the reports provide them.
        for (const PageSummary& sum : page.summary) {
            for (const QString& name : namesUsed(PageLayout{.summary = {sum}})) {
                if (name.startsWith('='))
                    data.totals.insert(name.mid(1), "1,00");
            }
        }
        const QString file = home->path() + "/colunas.pdf";
        PageWriter::resetSmallestTextPoints();
        QVERIFY(PrintPreview::savePdf(
            file, [&](QPrinter* p) { PageWriter::setUp(p, page); },
            [&](QPrinter* p) { PageWriter::render(data, page, p); }));
        QVERIFY2(PageWriter::smallestTextPoints() >= 7.0,
                 qPrintable(QString::number(PageWriter::smallestTextPoints())));
        QVERIFY2(PageWriter::widestRowOfColumns() <= PageWriter::printableWidth() + 0.5,
                 qPrintable(QString::number(PageWriter::widestRowOfColumns())));
        const QString text = pdfText(file);
        if (qEnvironmentVariableIsSet("QUELVARINO_KEEP_PDF"))
            QFile::copy(file, qEnvironmentVariable("QUELVARINO_KEEP_PDF") + "/" + layout + ".pdf");
        for (const QString& value : widest)
            QVERIFY2(text.contains(value), qPrintable(value));
    }

    void relativePathsAreInTheReportsFolder() {
        QCOMPARE(ReportCatalog::filePath("Rel01", ".txt"),
                 home->dataFolder() + "/Relatorios/Rel01.txt");
        QCOMPARE(ReportCatalog::filePath("/tmp/x/Rel01", ".html"), QString("/tmp/x/Rel01.html"));
    }
};

QUELVARINO_GUI_TEST_MAIN(TestReports)
#include "tst_reports.moc"
