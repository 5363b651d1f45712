#include "app/mainwindow.h"
#include "app/program.h"
#include "core/clock.h"
#include "data/query.h"
#include "data/table.h"
#include "orders/serviceorder.h"
#include "registers/clients.h"
#include "reports/reportcatalog.h"
#include "reports/textlayouts.h"
#include "reportscreens/printdialog.h"
#include "settings/company.h"
#include "testsupport.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/testseams.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QToolButton>
#include <memory>

using namespace quelvarino;
using namespace operatorDoes;

class TestPrinting : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;

    static QByteArray readFile(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // An order recorded through the screen, left on it in browse state.
    TQuelvarino0021_0* recordedOrder() {
        Quelvarino000_0->menuAction("OrdemdeServio1")->trigger();
        auto* os = Screens::get<TQuelvarino0021_0>("Quelvarino0021_0");
        activate(os);
        click(os->Btn_Novo);
        type(os->Edcodcli, "7");
        type(os->Edsolicit, "MARIA");
        type(os->Edhora2, "0800");
        type(os->Edhora3, "1000");
        type(os->Edcodmot, "3");
        click(os->Btn_Gravar);
        return os;
    }
    PrintDialog* dialog(const char* name) { return Screens::get<PrintDialog>(name); }

private slots:
    void init() {
        QVERIFY(startProgramTest(home, QDateTime(QDate(2026, 12, 8), QTime(10, 0))));
        storeCompany();
        store("tbclientes", {{"CODCLI", "000007"},
                             {"RAZAOSOCIAL", "FARMACIA CENTRAL"},
                             {"NOMEFAN", "ZULU"},
                             {"VALOR", "30"},
                             {"SITUACAO", "ATIVO"},
                             {"DATA", "01/12/2026"}});
        store("tbclientes", {{"CODCLI", "000008"},
                             {"RAZAOSOCIAL", "BAZAR DO ZE"},
                             {"NOMEFAN", "ALFA"},
                             {"SITUACAO", "ATIVO"},
                             {"DATA", "05/11/2026"}});
        store("tbmotociclista", {{"COD", "000003"},
                                 {"NOME", "JOAO DA MOTO"},
                                 {"VALOR", "12"},
                                 {"TELEFONE1", "9999-0000"},
                                 {"SITUACAO", "ATIVO"}});
    }
    void cleanup() { endProgramTest(home); }

    // Nothing chosen (no output, or no number of copies): told, and
    // neither a file nor a word of success.
    void nothingChosenWritesNothing_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("copies");
        QTest::newRow("no output chosen") << -1 << true;
        QTest::newRow("no copies chosen") << 3 << false;
        QTest::newRow("nothing at all") << -1 << false;
    }
    void nothingChosenWritesNothing() {
        QFETCH(int, item);
        QFETCH(bool, copies);
        auto* os = recordedOrder();
        click(os->Btn_Imprimir);
        PrintDialog* d = dialog("Quelvarino0021_5");
        QVERIFY(d->findChild<QLabel*>("LabelVias"));
        if (item >= 0)
            d->setEdtip(item);
        if (copies)
            click(d->Ed1Copy);
        MessageBox::clearShownMessages();
        click(d->Btn_Imprimir);
        QCOMPARE(lastMessage(), QString("Informe qual o tipo de impressão que deseja imprimir."));
        for (const auto& m : MessageBox::shownMessages())
            QVERIFY(!m.text.contains("sucesso"));
        QVERIFY(QDir(home->dataFolder() + "/Relatorios").entryList(QDir::Files).isEmpty());
        QVERIFY(d->isVisible());
    }

    void orderPrintsIntoATextFile_data() {
        QTest::addColumn<bool>("twoCopies");
        QTest::newRow("one copy") << false;
        QTest::newRow("two copies") << true;
    }
    void orderPrintsIntoATextFile() {
        QFETCH(bool, twoCopies);
        auto* os = recordedOrder();
        QVERIFY(os->Btn_Imprimir->isEnabled());
        click(os->Btn_Imprimir);
        PrintDialog* d = dialog("Quelvarino0021_5");
        QVERIFY(d->isVisible());
        const QString expectedPath = home->dataFolder() + "/Relatorios/OS0000000001";
        QCOMPARE(d->Edcam->text(), expectedPath);
        QVERIFY(!d->Edcam->isEnabled());
        QVERIFY(d->Edcam->font().bold());
        d->setEdtip(3);
        QVERIFY(d->Edcam->isEnabled());
        QVERIFY(d->Btn_Caminho->isEnabled());
        click(twoCopies ? d->Ed2Copy : d->Ed1Copy);
        click(d->Btn_Imprimir);
        QCOMPARE(lastMessage(), QString("Arquivo gerado com sucesso."));
        QCOMPARE(MessageBox::shownMessages().last().title, QString("A T E N Ç Ã O"));
        QCOMPARE(MessageBox::shownMessages().last().icon, QMessageBox::Question);
        const QByteArray file = readFile(expectedPath + ".txt");
        QVERIFY(file.startsWith("\x1bM\r\n"));
        QVERIFY(file.contains("Ordem de Servico No. : 0000000001"));
        QVERIFY(file.contains("Cliente: 000007 - FARMACIA CENTRAL"));
        QVERIFY(file.contains(" - Telefone : 9999-0000"));  // looked up from the courier
        QVERIFY(file.contains("MOTOBOY EXPRESS"));          // the company header
        QCOMPARE(file.count("\x1bM"), twoCopies ? 2 : 1);
        QCOMPARE(file.count("\x0c\r\n"), 1);
        // The document dialog closes and the order screen comes back.
        QVERIFY(!d->isVisible());
        QVERIFY(os->isVisible());
    }

    void dialogMessages() {
        auto* os = recordedOrder();
        click(os->Btn_Imprimir);
        PrintDialog* d = dialog("Quelvarino0021_5");
        click(d->Btn_Imprimir);
        QCOMPARE(lastMessage(), QString("Informe qual o tipo de impressão que deseja imprimir."));
        d->setEdtip(3);
        click(d->Btn_Imprimir);  // no copies chosen
        QCOMPARE(lastMessage(), QString("Informe qual o tipo de impressão que deseja imprimir."));
        click(d->Ed1Copy);
        click(d->Ed2Copy);
        QVERIFY(!d->Ed1Copy->isChecked());  // checking one clears the other
        d->Edcam->clear();
        click(d->Btn_Imprimir);
        QCOMPARE(lastMessage(),
                 QString("Informe o caminho aonde deve ser gravado e o nome do arquivo."));
        QVERIFY(d->isVisible());
        for (const auto& m : MessageBox::shownMessages()) {
            QCOMPARE(m.title, QString(" A T E N Ç Ã O ! ! !"));
            QCOMPARE(m.icon, QMessageBox::Warning);
        }
        click(d->Btn_Limpar);
        QCOMPARE(d->Edtip(), -1);
        QVERIFY(!d->Ed2Copy->isChecked());
        QVERIFY(!d->Edcam->isEnabled());
        QCOMPARE(d->Edcam->text(), home->dataFolder() + "/Relatorios/OS0000000001");
    }

    void folderPicker() {
        auto* os = recordedOrder();
        click(os->Btn_Imprimir);
        PrintDialog* d = dialog("Quelvarino0021_5");
        d->setEdtip(3);
        const QString folder = home->dataFolder() + "/Relatorios";
        d->Edcam->setText(folder);
        FolderPicker::setNextFolder(home->path());
        click(d->Btn_Caminho);
        QCOMPARE(FolderPicker::lastTitle(), QString("Selecione a Pasta - [Banco de Dados]"));
        QCOMPARE(FolderPicker::lastInitialFolder(),
                 folder);  // an existing folder starts the picker
        QCOMPARE(d->Edcam->text(), home->path());
        QCOMPARE(d->Edcam->selectedText(), home->path());
        FolderPicker::setNextFolder(QString());  // cancelled: the text stays
        d->Edcam->setText(home->path() + "/nao-existe");
        click(d->Btn_Caminho);
        // A file path starts the picker in its folder.
        QCOMPARE(FolderPicker::lastInitialFolder(), home->path());
        QCOMPARE(d->Edcam->text(), home->path() + "/nao-existe");
        // Neither the path nor its folder exist: the reports folder, never
        // the folder the program was started from.
        d->Edcam->setText("pasta/que/nao/existe/OS0000000001");
        click(d->Btn_Caminho);
        QCOMPARE(FolderPicker::lastInitialFolder(), folder);
    }

    void orderWithoutNumberIsNotPrinted() {
        auto* os = recordedOrder();
        os->Edcomanda->clear();
        click(os->Btn_Imprimir);
        QCOMPARE(lastMessage(), QString("Ordem de serviço inexistente."));
        QVERIFY(!dialog("Quelvarino0021_5")->isVisible());
    }

    void clientListing_data() {
        QTest::addColumn<int>("mode");          // 0 complete, 1 period, 2 codes
        QTest::addColumn<QStringList>("args");  // from / to
        QTest::addColumn<QString>("order");
        QTest::addColumn<QStringList>("codes");  // printed, in order
        QTest::newRow("complete by code")
            << 0 << QStringList{} << "" << QStringList{"000007", "000008"};
        QTest::newRow("complete by trade name")
            << 0 << QStringList{} << "Nome Fantasia" << QStringList{"000008", "000007"};
        QTest::newRow("changed in november")
            << 1 << QStringList{"01/11/2026", "30/11/2026"} << "" << QStringList{"000008"};
        QTest::newRow("code range")
            << 2 << QStringList{"000007", "000007"} << "" << QStringList{"000007"};
    }
    void clientListing() {
        QFETCH(int, mode);
        QFETCH(QStringList, args);
        QFETCH(QString, order);
        QFETCH(QStringList, codes);
        Quelvarino000_0->menuAction("Clientes1")->trigger();
        auto* clients = Screens::get<TQuelvarino0011_0>("Quelvarino0011_0");
        click(clients->Btn_Imprimir);
        PrintDialog* d = dialog("Quelvarino0011_2");
        QVERIFY(d->isVisible());
        QCOMPARE(d->Edcam->text(), home->dataFolder() + "/Relatorios/cadcli");
        d->setEdtip(2);  // three items: the file is item 2
        click(d->Btn_Imprimir);
        QCOMPARE(lastMessage(), QString("Informe qual o tipo de relatório que deseja imprimir."));
        click(QList<QRadioButton*>{d->Ed1, d->Ed2, d->Ed3}[mode]);
        QCOMPARE(d->Eddata1->text(), QString("08/12/2026"));
        QCOMPARE(d->Eddata1->isEnabled(), mode == 1);
        QCOMPARE(d->Edcod1->isEnabled(), mode == 2);
        if (mode == 1) {
            d->Eddata1->setText(args[0]);
            d->Eddata2->setText(args[1]);
        } else if (mode == 2) {
            d->Edcod1->setText(args[0]);
            d->Edcod2->setText(args[1]);
        }
        if (!order.isEmpty())
            d->Ed_Ord->setCurrentText(order);
        click(d->Btn_Imprimir);
        QCOMPARE(lastMessage(), QString("Arquivo gerado com sucesso."));
        const QByteArray file = readFile(home->dataFolder() + "/Relatorios/cadcli.txt");
        QList<int> at;
        for (const QString& code : codes)
            at.append(file.indexOf(("Cliente : " + code).toLatin1()));
        for (int i = 0; i < at.size(); ++i)
            QVERIFY2(at[i] > 0 && (i == 0 || at[i] > at[i - 1]), qPrintable(codes.join(",")));
        QCOMPARE(file.count("Cliente : 0000"), codes.size());
        QVERIFY(d->isVisible());  // listings stay open for another form
    }

    void listingWithoutRows() {
        Quelvarino000_0->menuAction("Clientes1")->trigger();
        click(Screens::get<TQuelvarino0011_0>("Quelvarino0011_0")->Btn_Imprimir);
        PrintDialog* d = dialog("Quelvarino0011_2");
        d->setEdtip(2);
        click(d->Ed3);
        d->Edcod1->setText("000010");
        d->Edcod2->setText("000002");
        click(d->Btn_Imprimir);
        QCOMPARE(lastMessage(), QString("Intervalos inexistentes."));
        QCOMPARE(d->Edcod1->text(), QString());
        QVERIFY(!QFile::exists(home->dataFolder() + "/Relatorios/cadcli.txt"));
        click(d->Ed2);
        d->Eddata1->clear();
        click(d->Btn_Imprimir);
        QCOMPARE(lastMessage(), QString("Intervalos inexistentes."));
        QCOMPARE(d->Eddata1->text(), QString("08/12/2026"));
    }

    void printerQueueMissing() {
        // A CUPS server that has no "LPT1" queue: the operator is told, in
        // the standard form, that the administrator must set it up, and
        // nothing is printed.
        qputenv("CUPS_SERVER", (home->path() + "/nenhum-servidor.sock").toUtf8());
        auto* os = recordedOrder();
        click(os->Btn_Imprimir);
        PrintDialog* d = dialog("Quelvarino0021_5");
        d->setEdtip(1);
        click(d->Ed1Copy);
        click(d->Btn_Imprimir);
        QVERIFY(lastMessage().contains("\"LPT1\""));
        QVERIFY(lastMessage().contains("administrador do sistema"));
        QVERIFY(!lastMessage().contains("lpadmin"));  // a command belongs in the README
        QCOMPARE(MessageBox::shownMessages().last().icon, QMessageBox::Warning);
        QCOMPARE(MessageBox::shownMessages().last().title, MessageBox::standardTitle());
        qunsetenv("CUPS_SERVER");
    }

    void companyDataKeepsOneRecord() {
        Quelvarino000_0->menuAction("DadosdaEmpres1")->trigger();
        auto* emp = Screens::get<TQuelvarino00Emp_0>("Quelvarino00Emp_0");
        activate(emp);
        QCOMPARE(emp->Ed_Razsoc->text(), QString("MOTOBOY EXPRESS LTDA"));  // loaded on showing
        QVERIFY(!emp->Btn_Novo->isEnabled());
        QVERIFY(emp->Btn_Alterar->isEnabled());
        QVERIFY(!emp->Btn_Consultar->isEnabled());
        QVERIFY(!emp->Btn_Imprimir->isEnabled());
        click(emp->Btn_Alterar);
        emp->Ed_Razsoc->selectAll();
        type(emp->Ed_Razsoc, "nova razao");
        type(emp->Ed_Site, "WWW.EXEMPLO.COM.BR");
        QCOMPARE(emp->Ed_Site->text(), QString("www.exemplo.com.br"));
        click(emp->Rb_Cnpj);
        type(emp->Ed_Cnpj, "11222333000182");  // wrong check digit: warned, kept
        QCOMPARE(lastMessage(), QString("Número do CNPJ invalido."));
        QVERIFY(!emp->Ed_Cnpj->hasFocus());
        emp->Ed_End[1]->setText("OUTRA RUA");
        emp->Ed_End[0]->setText("RUA NOVA, 5");
        emp->Ed_Contato[0]->setFocus();
        QTest::keyClicks(emp->Ed_Contato[0], "ana");
        QTest::keyClick(emp->Ed_Contato[0], Qt::Key_Return);
        QCOMPARE(emp->Ed_End[1]->text(), QString("RUA NOVA, 5"));
        QCOMPARE(emp->Ed_Contato[1]->text(), QString("ANA"));
        click(emp->Btn_Gravar);

        Table t("tbempresa");
        t.open();
        QCOMPARE(t.recordCount(), 1);
        QCOMPARE(t.fieldByName("RAZAOSOCIAL").asString(), QString("NOVA RAZAO"));
        QCOMPARE(t.fieldByName("CNPJ").asString(), QString("11.222.333/0001-82"));
        QCOMPARE(t.fieldByName("SITE").asString(), QString("www.exemplo.com.br"));
        QCOMPARE(t.fieldByName("SOFTWARE").asString(), QString("Quelvarino Basic"));
        QCOMPARE(t.fieldByName("DATA").asString(), QString("08/12/2026"));
        QCOMPARE(t.fieldByName("CONTATO2").asString(), QString("ANA"));
        t.close();

        // Excluir empties the record and keeps it; Novo and Gravar fill it again.
        MessageBox::setNextAnswer(QMessageBox::Yes);
        click(emp->Btn_Excluir);
        QCOMPARE(lastMessage(), QString("Deseja excluir os dados da empresa?"));
        t.open();
        QCOMPARE(t.recordCount(), 1);
        QCOMPARE(t.fieldByName("RAZAOSOCIAL").asString(), QString());
        QCOMPARE(t.fieldByName("SOFTWARE").asString(), QString("Quelvarino Basic"));
        t.close();
        QVERIFY(emp->Btn_Novo->isEnabled());
        click(emp->Btn_Novo);
        type(emp->Ed_Razsoc, "TERCEIRA");
        click(emp->Btn_Gravar);
        t.open();
        QCOMPARE(t.recordCount(), 1);
        QCOMPARE(t.fieldByName("RAZAOSOCIAL").asString(), QString("TERCEIRA"));
        QCOMPARE(t.fieldByName("CODEMP").asString(), QString("1"));
    }

    void companyValidation() {
        Quelvarino000_0->menuAction("DadosdaEmpres1")->trigger();
        auto* emp = Screens::get<TQuelvarino00Emp_0>("Quelvarino00Emp_0");
        activate(emp);
        click(emp->Btn_Alterar);
        for (QLineEdit* e : emp->findChildren<QLineEdit*>())
            if (e->isEnabled())
                e->clear();
        click(emp->Btn_Gravar);
        QCOMPARE(lastMessage(),
                 QString("Impossível gravar este registro, pois todos os campos estão em branco"));
        emp->Ed_Banco->setText("ITAU");
        click(emp->Btn_Gravar);
        QCOMPARE(lastMessage(), QString("Razão social da empresa deve ser preenchido."));
        click(emp->Btn_Cancel);
        QCOMPARE(emp->Ed_Razsoc->text(), QString("MOTOBOY EXPRESS LTDA"));
    }

    void orderPrintsOnTheLpt1Queue() {
        const QString cupsd = QStandardPaths::findExecutable("cupsd", {"/usr/sbin", "/sbin"});
        const QString lpadmin =
            QStandardPaths::findExecutable("lpadmin", {"/usr/sbin", "/usr/bin"});
        if (cupsd.isEmpty() || lpadmin.isEmpty())
            QSKIP("CUPS is not installed (scripts/setup.sh installs it)");
        if (geteuid() != 0)
            QSKIP("the private cupsd of this test runs as root, with its jobs as user lp");

        // A printer in place of the network dot-matrix one: a loopback port.
        QTcpServer printer;
        QVERIFY(printer.listen(QHostAddress::LocalHost));
        QByteArray received;
        bool closed = false;
        connect(&printer, &QTcpServer::newConnection, this, [&] {
            QTcpSocket* s = printer.nextPendingConnection();
            connect(s, &QTcpSocket::readyRead, this, [&, s] { received += s->readAll(); });
            connect(s, &QTcpSocket::disconnected, this, [&, s] {
                received += s->readAll();
                closed = true;
            });
        });

        // A private cupsd: own configuration folder, a local socket.
        const QString dir = home->path() + "/cups";
        for (const char* sub : {"", "/spool", "/cache", "/state", "/logs", "/tmp"})
            QDir().mkpath(dir + sub);
        for (const char* sub : {"", "/spool", "/cache", "/state"})
            QFile::setPermissions(dir + sub, QFileDevice::Permissions(0x7755));
        QFile::setPermissions(home->path(), QFileDevice::Permissions(0x7755));
        QFile::setPermissions(dir + "/tmp", QFileDevice::Permissions(0x7777));
        const QString socket = dir + "/cups.sock";
        {
            QFile conf(dir + "/cupsd.conf");
            QVERIFY(conf.open(QIODevice::WriteOnly));
            conf.write(
                QString("Listen %1\nLogLevel warn\nBrowsing Off\nDefaultPolicy default\n"
                        "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                        "<Policy default>\n  <Limit All>\n    Order deny,allow\n    Allow all\n"
                        "  </Limit>\n</Policy>\n")
                    .arg(socket)
                    .toUtf8());
            QFile files(dir + "/cups-files.conf");
            QVERIFY(files.open(QIODevice::WriteOnly));
            files.write(QString("User lp\nGroup lp\nSystemGroup root\nServerRoot %1\n"
                                "ErrorLog %1/logs/error_log\nAccessLog %1/logs/access_log\n"
                                "PageLog %1/logs/page_log\nRequestRoot %1/spool\nTempDir %1/tmp\n"
                                "CacheDir %1/cache\nStateDir %1/state\nServerBin /usr/lib/cups\n"
                                "DataDir /usr/share/cups\n")
                            .arg(dir)
                            .toUtf8());
        }
        QProcess server;
        server.start(cupsd, {"-f", "-c", dir + "/cupsd.conf", "-s", dir + "/cups-files.conf"});
        QVERIFY(server.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 10000);
        QProcess admin;
        admin.start(lpadmin, {"-h", socket, "-p", "LPT1", "-E", "-v",
                              QString("socket://127.0.0.1:%1").arg(printer.serverPort())});
        QVERIFY(admin.waitForFinished(20000));
        QVERIFY2(admin.exitCode() == 0, admin.readAllStandardError().constData());
        qputenv("CUPS_SERVER", socket.toUtf8());

        auto* os = recordedOrder();
        const QString number = os->Edcomanda->text();
        click(os->Btn_Imprimir);
        PrintDialog* d = dialog("Quelvarino0021_5");
        d->setEdtip(1);
        click(d->Ed2Copy);
        PrintRequest request;
        request.output = Output::DotMatrix;
        request.criteria = os->printCriteria();
        request.criteria.twoCopies = true;
        const QByteArray expected = ReportCatalog::textBytes(*ReportCatalog::find("21_0"), request);
        click(d->Btn_Imprimir);
        QVERIFY2(MessageBox::shownMessages().isEmpty(), qPrintable(lastMessage()));
        QTRY_VERIFY_WITH_TIMEOUT(closed, 30000);
        QCOMPARE(received, expected);  // the bytes arrive unchanged, control codes included
        QCOMPARE(received.count("\x1bM"), 2);

        // The same order from the command line, on the same queue.
        QVERIFY(shareStoreWithPrograms());
        received.clear();
        closed = false;
        QProcess command;
        command.start(qEnvironmentVariable("QUELVARINO"),
                      {"--documento", "ordem", number, "--vias", "2", "--impressora", "LPT1"});
        QVERIFY(command.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(command.state() == QProcess::NotRunning, 60000);
        QVERIFY2(command.exitCode() == 0, command.readAllStandardError().constData());
        QTRY_VERIFY_WITH_TIMEOUT(closed, 30000);
        QCOMPARE(received, expected);

        // A report from the command line on a page printer of the system.
        admin.start(lpadmin, {"-h", socket, "-p", "LASER", "-E", "-v",
                              QString("socket://127.0.0.1:%1").arg(printer.serverPort())});
        QVERIFY(admin.waitForFinished(20000));
        QVERIFY2(admin.exitCode() == 0, admin.readAllStandardError().constData());
        received.clear();
        closed = false;
        command.start(qEnvironmentVariable("QUELVARINO"),
                      {"--relatorio", "ordens-servico", "--de", "08/12/2026", "--ate", "08/12/2026",
                       "--impressora", "LASER"});
        QVERIFY(command.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(command.state() == QProcess::NotRunning, 60000);
        QVERIFY2(command.exitCode() == 0, command.readAllStandardError().constData());
        QTRY_VERIFY_WITH_TIMEOUT(closed, 30000);
        QVERIFY2(received.startsWith("%PDF"), received.left(40).constData());

        qunsetenv("CUPS_SERVER");
        server.terminate();
        server.waitForFinished(10000);
    }
};

QUELVARINO_GUI_TEST_MAIN(TestPrinting)
#include "tst_printing.moc"
