#include "app/mainwindow.h"
#include "app/program.h"
#include "core/amountinwords.h"
#include "core/clock.h"
#include "core/pix.h"
#include "data/table.h"
#include "registers/clients.h"
#include "registers/receipts.h"
#include "reports/htmlwriter.h"
#include "reportscreens/printdialog.h"
#include "testsupport.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/pixcodelabel.h"
#include "widgets/testseams.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <memory>

using namespace quelvarino;
using namespace operatorDoes;

// Receipts: the amount in words and the receipt through the real screen
// and its dialog.
class TestReceipts : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    TQuelvarino0022_0* screen = nullptr;

    static QMap<QString, QString> receipt(const QString& number) {
        return storedRecord("tbrecibo", number);
    }
    void fillReceipt() {
        activate(screen);
        click(screen->Btn_Novo);
        type(screen->Edcodcli, "7");
        type(screen->Edvalor, "1234,56");
        type(screen->Edref, "entregas de novembro");
        type(screen->Edlocal, "santos");
    }
    // The first page of a PDF as a PNG at 300 dpi.
    QString pageImage(const QString& pdf) {
        const QString stem = home->path() + "/page";
        QProcess p;
        p.start("pdftoppm", {"-r", "300", "-png", "-singlefile", pdf, stem});
        p.waitForFinished(60000);
        return stem + ".png";
    }
    // Every QR code zbarimg reads in an image, as text.
    static QStringList decodeQr(const QString& image) {
        QProcess p;
        p.start("zbarimg", {"-q", "--raw", "-Sdisable", "-Sqrcode.enable", image});
        p.waitForFinished(60000);
        QStringList out = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
        out.removeAll(QString());
        return out;
    }
    QStringList linesOf(const QByteArray& bytes) {
        QStringList out = QString::fromLatin1(bytes).split("\r\n");
        if (!out.isEmpty() && out.last().isEmpty())
            out.removeLast();
        return out;
    }
    PrintDialog* printWith(int item, bool twoCopies) {
        click(screen->Btn_Imprimir);
        auto* d = Screens::get<PrintDialog>("Quelvarino0022_4");
        [&] { QVERIFY(d && d->isVisible()); }();
        d->setEdtip(item);
        click(twoCopies ? d->Ed2Copy : d->Ed1Copy);
        click(d->Btn_Imprimir);
        return d;
    }

private slots:
    void init() {
        home = std::make_unique<TempHome>();
        MessageBox::clearShownMessages();
        Clock::setNow(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
        PrintPreview::setTestMode(true, home->path() + "/preview.pdf");
        QVERIFY(startProgram(*qApp));
        storeCompany();
        store("tbclientes", {{"CODCLI", "000007"},
                             {"RAZAOSOCIAL", "FARMACIA CENTRAL"},
                             {"CNPJ", "11.222.333/0001-81"},
                             {"INSCREST", "ISENTO"},
                             {"ENDERECO1", "RUA A, 1"},
                             {"BAIRRO1", "CENTRO"},
                             {"CIDADE1", "SANTOS"},
                             {"UF1", "SP"},
                             {"TELEFONE1_1", "3222-0000"},
                             {"SITUACAO", "ATIVO"}});
        store("tbclientes",
              {{"CODCLI", "000008"}, {"RAZAOSOCIAL", "DEVEDORA LTDA"}, {"SITUACAO", "BLOQUEADO"}});
        Quelvarino000_0->menuAction("Recibodocliente1")->trigger();
        screen = TQuelvarino0022_0::instance();
        QVERIFY(screen && screen->isVisible());
        activate(screen);
    }
    void cleanup() { endProgramTest(home); }

    // ---- the amount in words -------------------------------------------------------

    void amountInWords_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("words");
        // The examples of the receipts, byte for byte.
        QTest::newRow("0,50") << "0,50"
                              << " Cinquenta Centavos.";
        QTest::newRow("1,00") << "1,00"
                              << " Um Reais ";
        QTest::newRow("21,00") << "21,00"
                               << " Vinte e Um Reais ";
        QTest::newRow("100,00") << "100,00"
                                << "Cem  Reais ";
        QTest::newRow("115,00") << "115,00"
                                << "Cento e Quinze Reais ";
        QTest::newRow("1000,00") << "1000,00"
                                 << " Hum Mil   Reais ";
        QTest::newRow("1234,56") << "1234,56"
                                 << " Hum Mil Duzentos e Trinta e Quatro Reais Cinquenta e Seis "
                                    "Centavos.";
        QTest::newRow("2050,00") << "2050,00"
                                 << " Dois Mil  e Cinquenta Reais ";
        QTest::newRow("115000,00") << "115000,00"
                                   << "Cento e Quinze Mil   Reais ";
        QTest::newRow("0,00") << "0,00"
                              << " ";
        // Across the boundaries of each group.
        QTest::newRow("9,99") << "9,99"
                              << " Nove Reais Noventa e Nove Centavos.";
        QTest::newRow("10,00") << "10,00"
                               << " Dez Reais ";
        QTest::newRow("19,00") << "19,00"
                               << " Dezenove Reais ";
        QTest::newRow("20,00") << "20,00"
                               << " Vinte Reais ";
        QTest::newRow("99,99") << "99,99"
                               << " Noventa e Nove Reais Noventa e Nove Centavos.";
        QTest::newRow("101,00") << "101,00"
                                << "Cento e Um Reais ";
        QTest::newRow("999,99") << "999,99"
                                << "Novecentos e Noventa e Nove Reais Noventa e Nove Centavos.";
        QTest::newRow("1001,00") << "1001,00"
                                 << " Hum Mil  e Um Reais ";
        QTest::newRow("10000,00") << "10000,00"
                                  << "Dez Mil   Reais ";
        QTest::newRow("100000,00") << "100000,00"
                                   << "Cem  Mil   Reais ";
        QTest::newRow("999999,99") << "999999,99"
                                   << "Novecentos e Noventa e Nove Mil Novecentos e Noventa e "
                                      "Nove Reais Noventa e Nove Centavos.";
        QTest::newRow("3000,03") << "3000,03"
                                 << " Tres Mil   Reais Três Centavos.";
        // The millions, in the same style.
        QTest::newRow("1000000,00") << "1000000,00"
                                    << " Hum Milhão   de Reais ";
        QTest::newRow("2000000,00") << "2000000,00"
                                    << " Dois Milhões   de Reais ";
        QTest::newRow("1000001,00") << "1000001,00"
                                    << " Hum Milhão  e Um Reais ";
        QTest::newRow("1500000,00") << "1500000,00"
                                    << " Hum Milhão Quinhentos  Mil   Reais ";
        QTest::newRow("999999999,99")
            << "999999999,99"
            << "Novecentos e Noventa e Nove Milhões Novecentos e Noventa e Nove Mil Novecentos e "
               "Noventa e Nove Reais Noventa e Nove Centavos.";
        QTest::newRow("more than twelve characters") << "1000000000,00"
                                                     << "";
    }
    void amountInWords() {
        QFETCH(QString, value);
        QFETCH(QString, words);
        QCOMPARE(quelvarino::amountInWords(value), words);
    }

    // ---- the screen ----------------------------------------------------------------

    void aReceiptIssuedAndStored() {
        QCOMPARE(screen->Edrecibo->text(), QString("0000000001"));  // proposed when cleared
        QCOMPARE(screen->Lbdata->text(), QString("08/12/2026"));
        QVERIFY(!screen->Btn_Imprimir->isEnabled());
        fillReceipt();
        QCOMPARE(screen->Edcliente->text(), QString("FARMACIA CENTRAL"));
        QCOMPARE(screen->Edcnpj->text(), QString("11.222.333/0001-81"));
        QCOMPARE(screen->Edinscest->text(), QString("ISENTO"));
        QCOMPARE(screen->Edextenso->text(),
                 QString(" Hum Mil Duzentos e Trinta e Quatro Reais Cinquenta e Seis Centavos."));
        QVERIFY(screen->Btn_Imprimir->isEnabled());  // printed from edit state
        QVERIFY(!screen->Edextenso->isEnabled());
        screen->Edvalor->clear();
        type(screen->Edvalor, "1234,5");
        QCOMPARE(screen->Edvalor->text(), QString("1234,50"));
        QVERIFY(screen->Edextenso->text().endsWith("Reais Cinquenta Centavos."));
        screen->Eddata->setText("30/11/2026");
        click(screen->Btn_Gravar);
        const auto r = receipt("0000000001");
        QCOMPARE(r["COD"], QString("000007"));
        QCOMPARE(r["VALOR"], QString("1234,5"));
        QCOMPARE(r["EXTENSO"],
                 QString(" Hum Mil Duzentos e Trinta e Quatro Reais Cinquenta Centavos."));
        QCOMPARE(r["REFERENTE"], QString("ENTREGAS DE NOVEMBRO"));
        QCOMPARE(r["DATA"], QString("30/11/2026"));  // the screen's date, not today
        QCOMPARE(screen->Edrecibo->text(), QString("0000000002"));
    }

    // Loading a receipt shows its words as stored; changing the value
    // writes them again.
    void loadingKeepsTheWordsChangingTheValueComputesThem() {
        store("tbrecibo", {{"RECIBO", "0000000005"},
                           {"COD", "000007"},
                           {"CLIENTE", "FARMACIA CENTRAL"},
                           {"VALOR", "50"},
                           {"EXTENSO", "CINQUENTA REAIS"},
                           {"DATA", "01/12/2026"}});
        click(screen->Btn_Consultar);
        auto* search = TQuelvarino0022_1::instance();
        QVERIFY(search->findChild<QRadioButton*>("Rbrecibo")->isChecked());
        QTest::keyClicks(search->Ed_Desc, "0000000005");
        click(search->Btn_Retornar);
        QCOMPARE(screen->Edrecibo->text(), QString("0000000005"));
        QCOMPARE(screen->Edvalor->text(), QString("50,00"));
        QCOMPARE(screen->Edextenso->text(), QString("CINQUENTA REAIS"));
        QVERIFY(!screen->inEditState());
        click(screen->Btn_Alterar);
        QCOMPARE(screen->Edextenso->text(), QString("CINQUENTA REAIS"));
        screen->Edvalor->clear();
        type(screen->Edvalor, "60");
        QCOMPARE(screen->Edextenso->text(), QString(" Sessenta Reais "));
        screen->Edvalor->clear();
        type(screen->Edvalor, "");  // emptied: the words stay
        QCOMPARE(screen->Edvalor->text(), QString("0,00"));
        QCOMPARE(screen->Edextenso->text(), QString(" Sessenta Reais "));
    }

    // What is computed or typed is never cut: ten typed characters, and
    // words longer than the field's 80 characters.
    void valuesAndWordsAreNeverCut() {
        activate(screen);
        click(screen->Btn_Novo);
        type(screen->Edcodcli, "7");
        type(screen->Edvalor, "777777,77");
        QVERIFY(screen->Edextenso->text().size() > 80);
        const QString words = screen->Edextenso->text();
        click(screen->Btn_Gravar);
        QCOMPARE(receipt("0000000001")["EXTENSO"], words);
        click(screen->Btn_Novo);
        type(screen->Edcodcli, "7");
        screen->Edvalor->clear();
        type(screen->Edvalor, "12345678901");  // typing stops at ten characters
        QCOMPARE(screen->Edvalor->text(), QString("1234567890,00"));
        QCOMPARE(screen->Edextenso->text(), QString());  // more than twelve: no words
        click(screen->Btn_Gravar);
        QCOMPARE(receipt("0000000002")["VALOR"], QString("1234567890"));
    }

    void blockedClientRefusedBothWays() {
        activate(screen);
        click(screen->Btn_Novo);
        type(screen->Edcodcli, "8");
        QCOMPARE(lastMessage(), QString("Situação do Cliente BLOQUEADO."));
        QCOMPARE(screen->Edcodcli->text(), QString());
        type(screen->Edcodcli, "99");
        QCOMPARE(lastMessage(), QString("Código do cliente inexistente."));
        click(screen->Btn_ConsCli);
        auto* clients = TQuelvarino0011_1::instance();
        QCOMPARE(clients->callerName(), QString("recibo"));
        QTest::keyClicks(clients->Ed_Desc, "DEV");
        click(clients->Btn_Retornar);
        QCOMPARE(lastMessage(), QString("Situação do Cliente BLOQUEADO."));
        QVERIFY(clients->isVisible());
        clients->Ed_Desc->clear();
        QTest::keyClicks(clients->Ed_Desc, "FARM");
        click(clients->Btn_Retornar);
        QCOMPARE(screen->Edcodcli->text(), QString("000007"));
        QCOMPARE(screen->Edinscest->text(), QString("ISENTO"));
    }

    void validationAndExcluirOfTheProposedNumber() {
        activate(screen);
        click(screen->Btn_Novo);
        type(screen->Edlocal, "santos");
        click(screen->Btn_Gravar);
        QCOMPARE(lastMessage(), QString("Número da comanda e cliente deve ser preenchido."));
        click(screen->Btn_Cancel);
        store("tbrecibo", {{"RECIBO", "0000000001"}, {"COD", "000007"}, {"VALOR", "5"}});
        click(screen->Btn_Limpar);
        QCOMPARE(screen->Edrecibo->text(), QString("0000000002"));  // no receipt has it yet
        MessageBox::setNextAnswer(QMessageBox::Yes);
        click(screen->Btn_Excluir);
        QVERIFY(lastMessage().contains("não foi encontrado"));
        QCOMPARE(receipt("0000000001")["VALOR"], QString("5"));  // never another receipt
        QVERIFY(!screen->Btn_Imprimir->isEnabled());  // browse: nothing to print from here
        click(screen->Btn_Novo);
        screen->Edrecibo->clear();
        click(screen->Btn_Imprimir);
        QCOMPARE(lastMessage(), QString("Recibo inexistente."));
    }

    void twoWorkstationsWithOneProposedNumber() {
        fillReceipt();
        QProcess other;
        other.start(
            qEnvironmentVariable("STORE_HELPER"),
            {home->dataFolder(), "insert", "RECIBO=0000000001,COD=000099,VALOR=3", "tbrecibo"});
        QVERIFY(other.waitForFinished(20000));
        click(screen->Btn_Gravar);
        QCOMPARE(receipt("0000000001")["COD"], QString("000099"));  // untouched
        QCOMPARE(receipt("0000000002")["COD"], QString("000007"));
        QVERIFY(lastMessage().contains("0000000002"));
    }

    // ---- the printouts -------------------------------------------------------------

    void receiptAsText_data() {
        QTest::addColumn<bool>("twoCopies");
        QTest::newRow("one copy") << false;
        QTest::newRow("two copies") << true;
    }
    void receiptAsText() {
        QFETCH(bool, twoCopies);
        fillReceipt();
        PrintDialog* d = printWith(3, twoCopies);
        QCOMPARE(lastMessage(), QString("Arquivo gerado com sucesso."));
        QVERIFY(!d->isVisible());
        QFile file(home->dataFolder() + "/Relatorios/Recibo0000000001.txt");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList got = linesOf(file.readAll());
        const QString SI = "\x0f";
        auto emph = [&SI](const QString& t) { return SI + "\x1bG\x0e" + t + "\x14\x1bH"; };
        const QStringList copy = {
            "\x1bM",
            emph("MOTOBOY EXPRESS"),
            SI + "Endereco: RUA DO COMERCIO, 100" + QString(30, ' ') + " - Bairro: " +
                QString(30, ' ') + " - Cidade: SAO PAULO" + QString(21, ' ') + " - Estado: SP",
            SI + "CEP: " + QString(9, ' ') + " - Telefone: (  ) " + QString(10, ' ') + " / ",
            SI + "Site: " + QString(40, ' ') + " - e-mail: ",
            SI,
            emph(QString(34, ' ') + "R E C I B O"),
            SI + QString(159, '-'),
            SI + QString(136, ' ') + "Recibo No. : 0000000001",
            SI,
            SI + "Recebemos de : FARMACIA CENTRAL",
            SI,
            SI + "Endereco: RUA A, 1" + QString(42, ' ') + " - Bairro: CENTRO" + QString(24, ' ') +
                " - Cidade: SANTOS" + QString(24, ' ') + " - Estado: SP",
            SI + "CNPJ / CPF : 11.222.333/0001-81    Inscricao Estadual / RG : ISENTO     "
                 "Telefone : 3222-0000",
            SI,
            SI + "A quantia de R$ 1234,56 -  Hum Mil Duzentos e Trinta e Quatro Reais Cinquenta "
                 "e Seis Centavos.",
            SI,
            SI + "Referente a : ENTREGAS DE NOVEMBRO",
            SI,
            SI + "Local : SANTOS" + QString(54, ' ') + " - Data : 08/12/2026",
            SI,
            SI + QString(105, ' ') + QString(54, '_'),
            emph(QString(56, ' ') + "ASSINATURA E CARIMBO")};
        QStringList expected = copy;
        if (twoCopies)
            expected += QStringList{"", "", "", ""} + copy;
        expected += "\x0c";
        QCOMPARE(got.size(), expected.size());
        for (int i = 0; i < got.size(); ++i)
            QVERIFY2(got[i] == expected[i],
                     qPrintable(QString("line %1: [%2] != [%3]").arg(i).arg(got[i], expected[i])));
    }

    void receiptAsPageReport_data() {
        QTest::addColumn<bool>("twoCopies");
        QTest::addColumn<QString>("size");
        QTest::newRow("one copy on its own sheet")
            << false << "612 x 397 pts";  // 215.9 mm by 140 mm, in whole points
        QTest::newRow("two copies on a Letter sheet") << true << "612 x 792 pts";
    }
    void receiptAsPageReport() {
        QFETCH(bool, twoCopies);
        QFETCH(QString, size);
        fillReceipt();
        printWith(0, twoCopies);
        QProcess info;
        info.start("pdfinfo", {home->path() + "/preview.pdf"});
        QVERIFY(info.waitForFinished(20000));
        const QString out = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(out.contains(size), qPrintable(out));
        QVERIFY(out.contains(QRegularExpression("Pages:\\s+1\\n")));
        QProcess text;
        text.start("pdftotext", {"-layout", home->path() + "/preview.pdf", "-"});
        QVERIFY(text.waitForFinished(20000));
        const QString page = QString::fromUtf8(text.readAllStandardOutput());
        for (const QString& e :
             QStringList{"RECIBO", "Recibo Nº. : 0000000001", "Recebemos de : FARMACIA CENTRAL",
                         "Endereço : RUA A, 1", "A quantia de R$ 1234,56 -", "Local : SANTOS",
                         "ASSINATURA DO RESPONSÁVEL"})
            QVERIFY2(page.count(e) == (twoCopies ? 2 : 1), qPrintable(e + "\n" + page));
    }

    // The receipt's PIX code: decoded back from the page (as an image of the
    // PDF) and from the HTML's embedded image, and whole in the text file,
    // equal to the payload for the company's key, the value and the number.
    void receiptCarriesItsPixCode_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("twoCopies");
        QTest::newRow("page, one copy") << 0 << false;
        QTest::newRow("page, two copies") << 0 << true;
        QTest::newRow("html") << 2 << false;
        QTest::newRow("text") << 3 << false;
    }
    void receiptCarriesItsPixCode() {
        QFETCH(int, item);
        QFETCH(bool, twoCopies);
        setCompanyPix("CNPJ", "11222333000181", "MOTOBOY EXPRESS LTDA", "SÃO PAULO", true);
        const QString expected = pix::payload(
            {"11222333000181", "MOTOBOY EXPRESS LTDA", "SAO PAULO", "RC0000000001", 123456});
        // The company screen was left for the receipts: they read the new data.
        activate(Quelvarino000_0);
        fillReceipt();
        // On the screen too, beside the value, for the client at the counter.
        QVERIFY(screen->Lbpix->isVisible());
        QCOMPARE(screen->Lbpix->payload(), expected);
        QVERIFY(!screen->Lbpix->pixmap().isNull());
        QCOMPARE(screen->Lbpix->caption(), QString("Pague com PIX \u2013 R$ 1234,56"));
        printWith(item, twoCopies);
        QStringList decoded;
        if (item == 0) {
            decoded = decodeQr(pageImage(home->path() + "/preview.pdf"));
            QCOMPARE(decoded.size(), twoCopies ? 2 : 1);
            const QString text = pdfText(home->path() + "/preview.pdf");
            QVERIFY2(text.count("Pague com PIX \u2013 R$ 1234,56") == (twoCopies ? 2 : 1),
                     qPrintable(text));
        } else if (item == 2) {
            QFile file(home->dataFolder() + "/Relatorios/Recibo0000000001.html");
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString html = QString::fromLatin1(file.readAll());
            const QRegularExpressionMatch m =
                QRegularExpression("src=\"data:image/png;base64,([A-Za-z0-9+/=]+)\"").match(html);
            QVERIFY(m.hasMatch());
            const QString png = home->path() + "/pix.png";
            QFile out(png);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(QByteArray::fromBase64(m.captured(1).toLatin1()));
            out.close();
            decoded = decodeQr(png);
            QVERIFY(html.contains("Pix Copia e Cola : <tt>" + expected + "</tt>"));
            QVERIFY(html.contains("<b>Pague com PIX &#8211; R$ 1234,56</b>"));
        } else {
            QFile file(home->dataFolder() + "/Relatorios/Recibo0000000001.txt");
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QStringList lines = linesOf(file.readAll());
            const int at = lines.indexOf("\x0fPague com PIX - R$ 1234,56 - Pix Copia e Cola :");
            QVERIFY(at > 0);
            QString joined;
            for (int i = at + 1; i < lines.size() && lines[i].startsWith('\x0f'); ++i)
                joined += lines[i].mid(1);
            decoded = {joined};
        }
        for (const QString& d : decoded)
            QCOMPARE(d, expected);

        // Printing asked off: the same receipt carries no code.
        setCompanyPix("CNPJ", "11222333000181", "MOTOBOY EXPRESS LTDA", "SÃO PAULO", false);
        printWith(3, false);
        QFile file(home->dataFolder() + "/Relatorios/Recibo0000000001.txt");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains("Pix Copia e Cola"));
    }

    void receiptAsHtml() {
        fillReceipt();
        printWith(2, false);
        QFile file(home->dataFolder() + "/Relatorios/Recibo0000000001.html");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList got = linesOf(file.readAll());
        const QString n = " <br>";
        const QStringList expected = {
            "<html>",
            "<head><title>Recibo</title></head>",
            "<body>",
            "MOTOBOY EXPRESS <br>",
            "RUA DO COMERCIO, 100 -  - SAO PAULO - SP <br>",
            " Telefone : ()  /  <br>",
            "<h1 align=\"center\">RECIBO</h1>",
            "<hr size=3></hr>",
            "<div align=\"right\">Recibo No.: 0000000001</div><br>",
            "Recebemos de FARMACIA CENTRAL" + n,
            n,
            "Endereço : RUA A, 1 - Bairro : CENTRO - Cidade : SANTOS - UF : SP" + n,
            n,
            "Telefone : 3222-0000 - C.N.P.J. / C.P.F. : 11.222.333/0001-81 - Inscrição Estadual "
            "/ R.G. : ISENTO" +
                n,
            n,
            "A quantia de 1234,56 -  Hum Mil Duzentos e Trinta e Quatro Reais Cinquenta e Seis "
            "Centavos." +
                n,
            n,
            "Referente à ENTREGAS DE NOVEMBRO" + n,
            n,
            "Local SANTOS" + n,
            n,
            "<div align=\"right\">Data : 08/12/2026</div><br>",
            "<hr Width=40% Align=Right Noshade>",
            "<div align=\"right\">ASSINATURA E CARIMBO DO CLIENTE</div><br>",
            "<div align=\"right\">1o. via do cliente / 2o. via fornecedor</div><br>",
            " <br>",
            HtmlWriter::footerLine(),
            "<hr size=3></hr>",
            "</body>",
            "</html>"};
        QCOMPARE(got.size(), expected.size());
        for (int i = 0; i < got.size(); ++i)
            QVERIFY2(got[i] == expected[i],
                     qPrintable(QString("line %1: [%2] != [%3]").arg(i).arg(got[i], expected[i])));
    }
};

QUELVARINO_GUI_TEST_MAIN(TestReceipts)
#include "tst_receipts.moc"
