#include "app/instanceguard.h"
#include "app/mainwindow.h"
#include "app/program.h"
#include "core/clock.h"
#include "core/errors.h"
#include "data/backup.h"
#include "data/datafolder.h"
#include "data/datamodule.h"
#include "data/mountlocks.h"
#include "data/table.h"
#include "testsupport.h"
#include "widgets/application.h"
#include "widgets/messagebox.h"
#include "widgets/screen.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QTimer>
#include <csignal>
#include <memory>

using namespace quelvarino;

class TestStartup : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;

    bool start() {
        return startProgram(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    }
    QList<MessageBox::Shown> messagesWithText(const QString& text) {
        QList<MessageBox::Shown> out;
        for (const auto& m : MessageBox::shownMessages())
            if (m.text == text)
                out.append(m);
        return out;
    }
    // A start to its end, with its checks beside it: what it said.
    QList<MessageBox::Shown> startAgain() {
        MessageBox::clearShownMessages();
        const bool started = start();
        [&] { QVERIFY(started && Quelvarino000_0->isVisible()); }();
        waitForStartChecks();
        stopProgram();
        return MessageBox::shownMessages();
    }
    QString workTable(int n) const {
        return home->dataFolder() + QStringLiteral("/Backup/Relatorio/tbrelatorio8_%1.db").arg(n);
    }

private slots:
    void init() {
        home = std::make_unique<TempHome>();
        MessageBox::clearShownMessages();
        TQuelvarino000_0::setShortDateFormatForTest(QString());
        Clock::setNow(QDateTime(QDate(2026, 12, 8), QTime(14, 30, 5)));
    }
    void cleanup() { endProgramTest(home); }

    void startsToAWorkingMainWindow() {
        QVERIFY(start());
        TQuelvarino000_0* w = Quelvarino000_0;
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->objectName(), QString("Quelvarino000_0"));
        QCOMPARE(w->windowTitle(),
                 QString("Quelvarino Basic - Sistema para Controle de Empresa de MotoBoy"));
        // No display name: Qt would append it to every window title.
        QCOMPARE(qApp->applicationDisplayName(), qApp->applicationName());
        QCOMPARE(QGuiApplication::desktopFileName(), QString("br.com.quelvarino.QuelvarinoBasic"));
        QVERIFY(!(w->windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(w->statusPanel(2)->text(), QString("08/12/2026"));
        QCOMPARE(w->findChild<QLineEdit*>("Ed_Dat")->text(), QString("08/12/2026"));
        QCOMPARE(w->statusPanel(3)->text(), QString("14:30:05"));
        QCOMPARE(w->statusPanel(4)->text(), QString("Versão Basic 1.0 NET"));
        Clock::setNow(QDateTime(QDate(2026, 12, 8), QTime(14, 31, 0)));
        QTRY_COMPARE(w->statusPanel(3)->text(), QString("14:31:00"));  // the clock runs
        QVERIFY(DataModule1);
        QVERIFY(messagesWithText("O sistema já foi inicializado!").isEmpty());
    }

    void everyMenuEntryOpensItsScreen_data() {
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("instance");
        QTest::addColumn<bool>("built");
        QTest::newRow("clients") << "Clientes1"
                                 << "Cadastro de Clientes"
                                 << "Quelvarino0011_0" << true;
        QTest::newRow("couriers") << "Motociclista1"
                                  << "Cadastro de Motociclistas"
                                  << "Quelvarino0012_0" << true;
        QTest::newRow("expenses") << "Despesas1"
                                  << "Cadastro de Despesas"
                                  << "Quelvarino0013_0" << true;
        QTest::newRow("parameters") << "ParametrosIniciais1"
                                    << "Parametros Iniciais"
                                    << "Quelvarino0014_0" << true;
        QTest::newRow("order") << "OrdemdeServio1"
                               << "Emissão da Ordem de Serviço (OS)"
                               << "Quelvarino0021_0" << true;
        QTest::newRow("receipt") << "Recibodocliente1"
                                 << "Emissão de Recibo  dos Clientes"
                                 << "Quelvarino0022_0" << true;
        QTest::newRow("expense entry") << "DespesasdoMotoboy1"
                                       << "Entrada das Despesas do Motoboy"
                                       << "Quelvarino0031_0" << true;
        QTest::newRow("cash by period") << "FechamentodoCaixaporperodo1"
                                        << "Fechamento do  Caixa"
                                        << "Quelvarino0041_0" << true;
        QTest::newRow("cash by client") << "FechamentodoCaixaporCliente1"
                                        << "Fechamento do Caixa  por Cliente"
                                        << "Quelvarino0042_0" << true;
        QTest::newRow("courier closing") << "FechamentodoMotoboy1"
                                         << "Fechamento do motoboy"
                                         << "Quelvarino0043_0" << true;
        QTest::newRow("courier expenses") << "DespesasdoMotoboy2"
                                          << "Despesas do Motoboy"
                                          << "Quelvarino0044_0" << true;
        QTest::newRow("courier hours") << "ListagemdasHorasdoMotoboy1"
                                       << "Listagem das Horas do Motoboy"
                                       << "Quelvarino0045_0" << true;
        QTest::newRow("orders issued") << "ListagemdasOSEmitidas1"
                                       << "Listagem das OS Emitidas"
                                       << "Quelvarino0046_0" << true;
        QTest::newRow("salaried courier") << "ListagemdasDespesasdoMotoboycomSalrio1"
                                          << "Pagamento do Motoboy Autônomo"
                                          << "Quelvarino0047_0" << true;
        QTest::newRow("totalizer") << "RelatrioTotalizadordeServios1"
                                   << "Relatório Totalizador de Serviços por Período"
                                   << "Quelvarino0048_0" << true;
        QTest::newRow("company") << "DadosdaEmpres1"
                                 << "Dados da Empresa"
                                 << "Quelvarino00Emp_0" << true;
        QTest::newRow("modules") << "DescriodosMdulosdoSistema1"
                                 << "Descrição dos Módulos do Sistema Quelvarino"
                                 << "Quelvarino00Sbr_0" << true;
    }
    void everyMenuEntryOpensItsScreen() {
        QFETCH(QString, component);
        QFETCH(QString, caption);
        QFETCH(QString, instance);
        QFETCH(bool, built);
        QVERIFY(start());
        QAction* action = Quelvarino000_0->menuAction(component);
        QVERIFY2(action, qPrintable(component));
        QVERIFY(action->isEnabled());
        QVERIFY(!action->statusTip().isEmpty());
        QWidget* screen = Screens::find(instance);
        QVERIFY(screen);
        QVERIFY(!screen->isVisible());
        QCOMPARE(screen->windowTitle(), caption);
        action->trigger();
        if (!built) {
            // Not an empty window that only the window manager can close.
            QVERIFY(!screen->isVisible());
            QCOMPARE(MessageBox::shownMessages().size(), 1);
            QCOMPARE(MessageBox::shownMessages().last().title, MessageBox::standardTitle());
            QVERIFY(MessageBox::shownMessages().last().text.contains("ainda não está disponível"));
            QVERIFY(MessageBox::shownMessages().last().text.contains(caption.simplified()));
            return;
        }
        QVERIFY(screen->isVisible());
        QVERIFY(screen->isWindow());
        QVERIFY(!screen->isModal());
    }

    void menuHints() {
        QVERIFY(start());
        QCOMPARE(Quelvarino000_0->menuAction("Clientes1")->statusTip(),
                 QString("Cadastro de clientes"));
        QCOMPARE(Quelvarino000_0->menuAction("ParametrosIniciais1")->statusTip(),
                 QString("Parametros iniciais"));
        QCOMPARE(Quelvarino000_0->menuAction("DespesasdoMotoboy2")->statusTip(),
                 QString("Relatório das despesas do motoboy"));
        QCOMPARE(Quelvarino000_0->menuAction("AbandonaroSistema1")->statusTip(),
                 QString("Abandonar o sistema"));
    }

    void leavingTheSystemEndsTheProgram() {
        QVERIFY(start());
        QSignalSpy closed(Quelvarino000_0, &TQuelvarino000_0::closed);
        Quelvarino000_0->menuAction("AbandonaroSistema1")->trigger();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!Quelvarino000_0->isVisible());
    }

    void dateFormatGuard_data() {
        QTest::addColumn<QString>("locale");  // empty: fixed format below
        QTest::addColumn<QString>("format");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<bool>("starts");
        QTest::newRow("brazilian") << "pt_BR.UTF-8"
                                   << "" << QDate(2026, 12, 8) << true;
        QTest::newRow("us short year") << "en_US.UTF-8"
                                       << "" << QDate(2011, 11, 11) << false;
        QTest::newRow("no leading zeros, differs") << "en_ZW.UTF-8"
                                                   << "" << QDate(2024, 3, 5) << false;
        QTest::newRow("no leading zeros, 11/11/2011") << "en_ZW.UTF-8"
                                                      << "" << QDate(2011, 11, 11) << true;
        QTest::newRow("month first, differs") << ""
                                              << "MM/dd/yyyy" << QDate(2024, 1, 31) << false;
        QTest::newRow("month first, 11/11/2011") << ""
                                                 << "MM/dd/yyyy" << QDate(2011, 11, 11) << true;
        QTest::newRow("C locale") << "C"
                                  << "" << QDate(2026, 12, 8) << false;
    }
    void dateFormatGuard() {
        QFETCH(QString, locale);
        QFETCH(QString, format);
        QFETCH(QDate, today);
        QFETCH(bool, starts);
        if (!locale.isEmpty())
            qputenv("LC_ALL", locale.toUtf8());
        TQuelvarino000_0::setShortDateFormatForTest(format);
        Clock::setNow(QDateTime(today, QTime(9, 0)));
        QCOMPARE(start(), starts);
        const QString text =
            "A formatação da data exigida pelo sistema está incompativel com a configurada no seu "
            "sistema operacional. Formato exigido da data \"dd/mm/aaaa\".";
        const auto shown = messagesWithText(text);
        if (starts) {
            QVERIFY(shown.isEmpty());
            QVERIFY(Quelvarino000_0->menuAction("Clientes1")->isEnabled());
        } else {
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown[0].title, QString("ATENÇÃO !!!"));
            QCOMPARE(shown[0].icon, QMessageBox::Warning);
            QCOMPARE(shown[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            QVERIFY(!Quelvarino000_0);
        }
    }

    void menusDisabledUntilTheGuardPasses() {
        QDir().mkpath(home->dataFolder());
        DataFolder::setPath(home->dataFolder());
        DataFolder::prepare();
        TQuelvarino000_0 w;
        for (const char* name :
             {"Clientes1", "OrdemdeServio1", "DespesasdoMotoboy1", "ListagemdasOSEmitidas1"}) {
            QVERIFY(w.menuAction(name));
        }
        const QList<QMenu*> menus = w.findChildren<QMenu*>();
        int disabled = 0;
        for (QMenu* m : menus)
            disabled += m->menuAction()->isEnabled() ? 0 : 1;
        QCOMPARE(disabled, 4);  // Cadastro, Emissão, Despesas, Relatórios; Sair stays on
        w.FormActivate();
        for (QMenu* m : menus)
            QVERIFY(m->menuAction()->isEnabled());
    }

    void secondCopyInTheSameSessionIsRefused() {
        QVERIFY(start());
        QWidget* first = Quelvarino000_0;
        QVERIFY(!start());
        const auto shown = messagesWithText("O sistema já foi inicializado!");
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, QMessageBox::Information);
        QCOMPARE(Quelvarino000_0, first);  // the running copy is not disturbed
        QVERIFY(first->isVisible());
    }

    void killedCopyDoesNotBlockTheNextStart() {
        QProcess other;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        other.setProcessEnvironment(env);
        other.start(qEnvironmentVariable("QUELVARINO"));
        QVERIFY(other.waitForStarted());
        // Wait until the other copy holds the guard.
        bool held = false;
        for (int i = 0; i < 200 && !held; ++i) {
            if (InstanceGuard::acquire()) {
                InstanceGuard::release();
                QTest::qWait(50);
            } else {
                held = true;
            }
        }
        QVERIFY(held);
        QVERIFY(!start());
        QCOMPARE(messagesWithText("O sistema já foi inicializado!").size(), 1);
        ::kill(static_cast<pid_t>(other.processId()), SIGKILL);
        QVERIFY(other.waitForFinished());
        QVERIFY(start());
    }

    void secondProgramExitsAtOnce() {
        QVERIFY(start());
        QProcess other;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        other.setProcessEnvironment(env);
        other.start(qEnvironmentVariable("QUELVARINO"));
        QVERIFY(other.waitForFinished(20000));
        QCOMPARE(other.exitCode(), 0);
    }

    void firstAndLaterStartsPrepareTheWorkTables() {
        QVERIFY(start());
        for (const char* folder :
             {"/Relatorios", "/Backup", "/Backup/Relatorio", "/Backup/Relatorio/Tbv"})
            QVERIFY2(QDir(home->dataFolder() + folder).exists(), folder);
        for (int n = 1; n <= 2; ++n) {
            QVERIFY(QFile::exists(workTable(n)));
            QVERIFY(QFile::exists(home->dataFolder() +
                                  QString("/Backup/Relatorio/Tbv/tbrelatorio8_%1.db").arg(n)));
        }
        // A report fills the work table and the program ends.
        {
            Table t("tbrelatorio8_1", workTable(1), schema::workTable1());
            t.open();
            t.insert();
            t.fieldByName("Codigo").setAsString("000001");
            t.fieldByName("Cliente").setAsString("SOBRA DO ULTIMO RELATORIO");
            t.post();
            QCOMPARE(t.recordCount(), 1);
        }
        stopProgram();
        QVERIFY(start());
        Table t("tbrelatorio8_1", workTable(1), schema::workTable1());
        t.open();
        QCOMPARE(t.recordCount(), 0);
        QVERIFY(MessageBox::shownMessages().isEmpty());
    }

    // A start killed between the two pristine copies, or a damaged copy:
    // the next start makes them again from the templates.
    void missingOrDamagedPristineCopiesAreMadeAgain_data() {
        QTest::addColumn<QString>("damage");
        QTest::newRow("header gone") << "header";
        // A copy torn by a power cut: its size and header are right, its
        // pages are not.
        QTest::newRow("torn pages") << "pages";
    }
    void missingOrDamagedPristineCopiesAreMadeAgain() {
        QFETCH(QString, damage);
        QVERIFY(start());
        stopProgram();
        const QString tbv = home->dataFolder() + "/Backup/Relatorio/Tbv/";
        QVERIFY(QFile::remove(tbv + "tbrelatorio8_2.db"));
        {
            QFile damaged(tbv + "tbrelatorio8_1.db");
            QVERIFY(damaged.open(QIODevice::ReadWrite));
            if (damage == "header") {
                damaged.write("not a database at all");  // same size, header gone
            } else {
                const qint64 size = damaged.size();
                QVERIFY(damaged.seek(100));
                damaged.write(QByteArray(int(size - 100), char(0xA5)));
            }
        }
        QVERIFY(start());
        for (int n = 1; n <= 2; ++n) {
            const QString name = QString("tbrelatorio8_%1.db").arg(n);
            QFile copy(tbv + name), original(home->dataFolder() + "/" + name);
            QVERIFY(copy.open(QIODevice::ReadOnly) && original.open(QIODevice::ReadOnly));
            QCOMPARE(copy.readAll(), original.readAll());
            // The working copy was made from the repaired one.
            Table t(QString("tbrelatorio8_%1").arg(n), workTable(n),
                    n == 1 ? schema::workTable1() : schema::workTable2());
            t.open();
            QCOMPARE(t.recordCount(), 0);
        }
        QVERIFY(QDir(tbv).entryList({"*.parte*"}, QDir::Files).isEmpty());
        QVERIFY(MessageBox::shownMessages().isEmpty());
    }

    // New databases of starts cut short are removed at the next start, not
    // those another workstation is building at the moment.
    void leftOversOfCutStartsGo() {
        if (testsOnServer())
            QSKIP("the embedded store's files");
        QVERIFY(start());
        stopProgram();
        const QString stem = home->dataFolder() + "/quelvarino.db.novo.";
        for (const QString& name : {stem + "4242.deadbeef", stem + "4242.deadbeef-journal",
                                    stem + "4242.deadbeef.lck", stem + "77.cafe"}) {
            QFile f(name);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("half a database");
        }
        // The one being built is held by its builder.
        const int building =
            ::open(QFile::encodeName(stem + "77.cafe").constData(), O_RDWR | O_CLOEXEC);
        QVERIFY(building >= 0 && lockByte(building, 0));
        QVERIFY(start());
        const QStringList left =
            QDir(home->dataFolder()).entryList({"quelvarino.db.novo.*"}, QDir::Files);
        ::close(building);
        QCOMPARE(left, QStringList{"quelvarino.db.novo.77.cafe"});
    }

    // The first start of the day copies the database into Backup; a copy
    // that fails is said once and the program goes on.
    void dailyBackupAtStart() {
        const QString copy = home->dataFolder() + "/Backup/" + Backups::fileName(Clock::today());
        QVERIFY(start());
        QVERIFY(Quelvarino000_0->isVisible());
        waitForStartChecks();
        stopProgram();
        if (testsOnServer()) {
            // The server's backups are its own (pg_dump): no file copy,
            // and nothing to say about one.
            QVERIFY(!QFile::exists(copy));
            QVERIFY(MessageBox::shownMessages().isEmpty());
            return;
        }
        QVERIFY(QFile::exists(copy));
        QString reason;
        QVERIFY2(Backups::check(copy, &reason), qPrintable(reason));
        QVERIFY(QFile::remove(copy));
        // Something in the way of the copy's file: the copy fails.
        QVERIFY(QDir().mkpath(copy + QString(".parte%1").arg(QCoreApplication::applicationPid())));
        MessageBox::clearShownMessages();
        QVERIFY(start());
        waitForStartChecks();
        stopProgram();
        QVERIFY(!QFile::exists(copy));
        const auto shown = MessageBox::shownMessages();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.startsWith("Não foi possível fazer a cópia de segurança do dia"),
                 qPrintable(shown[0].text));
    }

    // A server that does not answer: one message naming it (never its
    // password), no window, and the next start tries again.
    void unreachableServerIsSaidAtStart() {
        if (!testsOnServer())
            QSKIP("the server store's");
        DataFolder::setServer(
            home->dataFolder(),
            QString("host=%1/nenhum port=5999 dbname=quel user=escritorio password=segredo")
                .arg(home->path()));
        QVERIFY(!start());
        QVERIFY(!Quelvarino000_0);
        const auto shown = MessageBox::shownMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, QMessageBox::Critical);
        QVERIFY2(shown[0].text.contains("não há conexão com o servidor de banco de dados") &&
                     shown[0].text.contains("dbname=quel") && !shown[0].text.contains("segredo"),
                 qPrintable(shown[0].text));
        QVERIFY(InstanceGuard::acquire());  // nothing of the refused start left holding
        InstanceGuard::release();
    }

    // A damaged page is found at start, beside it: the operator is told
    // what to do, and no copy of the damaged file replaces the good ones.
    void damagedDatabaseIsSaidAtStart() {
        if (testsOnServer())
            QSKIP("a damaged file is the embedded store's");
        QVERIFY(start());
        {  // enough records for pages beyond the schema
            Table t("tbclientes");
            t.open();
            for (int i = 1; i <= 300; ++i) {
                t.insert();
                t.fieldByName("CODCLI").setAsString(QString::number(i).rightJustified(6, '0'));
                t.fieldByName("RAZAOSOCIAL").setAsString(QString("CLIENTE %1").arg(i).repeated(5));
                t.post();
            }
        }
        waitForStartChecks();
        stopProgram();
        const QString copy = home->dataFolder() + "/Backup/" + Backups::fileName(Clock::today());
        QVERIFY(QFile::remove(copy));
        {
            QFile db(home->dataFolder() + "/quelvarino.db");
            QVERIFY(db.open(QIODevice::ReadWrite));
            const qint64 pages = db.size() / 4096;
            QVERIFY(pages > 8);
            db.seek((pages - 2) * 4096);
            db.write(QByteArray(4096, '\x5a'));
        }
        const auto shown = startAgain();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains("está danificado") &&
                     shown[0].text.contains("restaure a última cópia de segurança"),
                 qPrintable(shown[0].text));
        QVERIFY(!QFile::exists(copy));
    }

    // Indexes that no longer match their table pass the start's quick
    // check; the day's copy checks them all and says, in a few lines, that
    // the database is damaged and what to do, with the findings in a file.
    void damagedIndexIsFoundByTheDailyCopy() {
        if (testsOnServer())
            QSKIP("a damaged file is the embedded store's");
        QVERIFY(start());
        {
            Table t("tbclientes");
            t.open();
            for (int i = 1; i <= 200; ++i) {
                t.insert();
                t.fieldByName("CODCLI").setAsString(QString::number(i).rightJustified(6, '0'));
                t.fieldByName("RAZAOSOCIAL").setAsString(QString("CLIENTE %1").arg(i));
                t.fieldByName("NOMEFAN").setAsString(QString("FANTASIA %1").arg(1000 - i));
                t.post();
            }
        }
        waitForStartChecks();
        stopProgram();
        const QString backups = home->dataFolder() + "/Backup";
        const QString copy = backups + "/" + Backups::fileName(Clock::today());
        QVERIFY(QFile::remove(copy));
        {  // the index of names now said to be of another field
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open(QFile::encodeName(home->dataFolder() + "/quelvarino.db"), &db),
                     SQLITE_OK);
            char* error = nullptr;
            const int rc = sqlite3_exec(
                db,
                "PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = replace(sql, "
                "'(\"RAZAOSOCIAL\")', '(\"NOMEFAN\")') WHERE type = 'index' AND name = "
                "'tbclientes_RAZAOSOCIAL';",
                nullptr, nullptr, &error);
            QVERIFY2(rc == SQLITE_OK, error);
            QVERIFY(sqlite3_changes(db) > 0);
            sqlite3_close(db);
        }
        QString reason;
        QVERIFY2(Backups::check(home->dataFolder() + "/quelvarino.db", &reason, true),
                 qPrintable(reason));
        const auto shown = startAgain();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains("está danificado") &&
                     shown[0].text.contains("restaure a última cópia de segurança") &&
                     !shown[0].text.contains("index") && !shown[0].text.contains("row ") &&
                     shown[0].text.size() < 600,
                 qPrintable(shown[0].text));
        QVERIFY(!QFile::exists(copy));
        const QStringList reports = QDir(backups).entryList({"verificacao-*.txt"}, QDir::Files);
        QCOMPARE(reports.size(), 1);
        QVERIFY(shown[0].text.contains(reports[0]));
        QFile report(backups + "/" + reports[0]);
        QVERIFY(report.open(QIODevice::ReadOnly));
        QVERIFY(report.readAll().contains("index"));
        QVERIFY(QDir(backups).entryList({"*.parte*"}, QDir::Files).isEmpty());
    }

    // No graphical session: the check of the start runs without a screen;
    // the program itself says in Portuguese what it needs, never Qt's abort.
    void withoutADisplay_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");
        QTest::newRow("check of the start")
            << QStringList{"--verificar-inicio"} << 0 << "Janela principal aberta.";
        QTest::newRow("the program") << QStringList{} << 1 << "precisa de uma sessão gráfica";
    }
    void withoutADisplay() {
        if (testsOnServer())
            QSKIP("the same on both stores");
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("QUELVARINO"), arguments);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        const QString out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        QVERIFY2(p.exitCode() == exitCode, qPrintable(out));
        QVERIFY2(out.contains(said), qPrintable(out));
    }

    // Whatever the umask of the session: the alias file its owner's
    // alone, the data folder, database, lock files and backups its owner's
    // and group's, never every user's.
    void newFilesArePrivate() {
        if (testsOnServer())
            QSKIP("the embedded store's files");
        const mode_t before = ::umask(022);
        auto modeOf = [](const QString& path) {
            struct stat st;
            return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777)
                                                                         : -1;
        };
        QProcess p;
        p.start(qEnvironmentVariable("OSTRIMA"), {});
        QVERIFY(p.waitForFinished(20000));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("QUELVARINO"), {"--verificar-inicio"});
        QVERIFY(p.waitForFinished(60000));
        ::umask(before);
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        const QString folder = home->dataFolder();
        const QString alias = home->path() + "/config/Quelvarino/aliases.ini";
        QCOMPARE(modeOf(alias), 0600);
        QCOMPARE(modeOf(QFileInfo(alias).absolutePath()), 0700);
        // the day's copy, made here in a session that lets every user read
        ::umask(022);
        Backups::requestStop(false);  // a program closed in an earlier test asked it
        const QString copy =
            Backups::takeDaily(folder + "/quelvarino.db", folder + "/Backup", QDate(2026, 12, 9));
        ::umask(before);
        QStringList files = {folder, folder + "/quelvarino.db", folder + "/Backup", copy};
        for (const QString& name :
             QDir(folder).entryList({"*.uso", "*.lck", "tbrelatorio*"}, QDir::Files))
            files.append(folder + "/" + name);
        QVERIFY(files.size() > 5);
        for (const QString& f : files) {
            const int mode = modeOf(f);
            QVERIFY2(mode >= 0 && (mode & 007) == 0,
                     qPrintable(QString("%1: %2").arg(f).arg(mode, 3, 8)));
        }
    }

    // An alias file holding the server's password that every user can
    // read, left by an older program: made its owner's, and said once.
    void aliasFileWithAPasswordReadableByOthers() {
        if (testsOnServer())
            QSKIP("the alias is the test server's");
        auto told = [] {
            int n = 0;
            for (const auto& m : MessageBox::shownMessages())
                n += m.text.contains("Agora só o seu usuário pode lê-lo") ? 1 : 0;
            return n;
        };
        const QString alias = home->path() + "/config/Quelvarino/aliases.ini";
        QVERIFY(QDir().mkpath(QFileInfo(alias).absolutePath()));
        {
            QFile f(alias);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[Quelvarino]\nTYPE=PARADOX\nPARAMS=PATH:\"" +
                    QFile::encodeName(home->dataFolder()) +
                    "\";DEFAULT DRIVER:\"PARADOX\";COMENTARIO:\"password=velha\"\n");
        }
        QVERIFY(QFile::setPermissions(alias, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ReadGroup | QFileDevice::ReadOther));
        QVERIFY(QDir().mkpath(home->dataFolder()));
        QVERIFY(start());
        QCOMPARE(told(), 1);
        QCOMPARE(QFile::permissions(alias) & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
                 QFileDevice::Permissions());
        stopProgram();
        MessageBox::clearShownMessages();
        QVERIFY(start());  // once
        QCOMPARE(told(), 0);
    }

    void failedCopyIsReportedAndStartGoesOn() {
        // A working copy already there on a first start: copying over it is refused.
        QDir().mkpath(home->dataFolder());
        DataFolder::setPath(home->dataFolder());
        DataFolder::prepare();
        QDir().mkpath(home->dataFolder() + "/Backup/Relatorio");
        QFile stray(workTable(1));
        QVERIFY(stray.open(QIODevice::WriteOnly));
        stray.write("x");
        stray.close();
        DataFolder::reset();
        QVERIFY(start());
        const QString expected =
            "Erro ao copiar " + home->dataFolder() + "/tbrelatorio8_1.db para " + workTable(1);
        QCOMPARE(messagesWithText(expected).size(), 1);
        QVERIFY(QFile::exists(workTable(2)));
        QVERIFY(Quelvarino000_0->isVisible());
    }

    void uncaughtErrorsShowOneBoxAndTheProgramGoesOn() {
        QVERIFY(start());
        bool after = false;
        QTimer::singleShot(0, Quelvarino000_0,
                           [] { throw StoreError("Tabela tbclientes não existe."); });
        QTimer::singleShot(5, Quelvarino000_0, [&after] { after = true; });
        QTRY_VERIFY(after);
        const auto shown = messagesWithText("Tabela tbclientes não existe.");
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, QMessageBox::Critical);
        guarded([] { throw ConversionError("'1,2,3' não é um valor numérico válido."); });
        QCOMPARE(messagesWithText("'1,2,3' não é um valor numérico válido.").size(), 1);
    }

    void registerFolder(const QString& folder) {
        QDir().mkpath(home->path() + "/config/Quelvarino");
        QFile ini(home->path() + "/config/Quelvarino/aliases.ini");
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(QString("[Quelvarino]\nTYPE=PARADOX\nPARAMS=PATH:\"%1\";DEFAULT "
                          "DRIVER:\"PARADOX\";ENABLE BCD:\"FALSE\"\n")
                      .arg(folder)
                      .toUtf8());
        ini.close();
        DataFolder::reset();
    }

    // A registry of aliases that cannot be read stops the start with its
    // name; the home folder's data are never opened in place of the
    // registered ones.
    void unreadableRegistryStopsTheStart() {
        const QString path = home->path() + "/config/Quelvarino/aliases.ini";
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile ini(path);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Quelvarino]\nTYPE=PARADOX\nPARAMS=PATH:\"/srv/Jo\xe3o\"\n");
        ini.close();
        DataFolder::reset();
        QVERIFY(!start());
        QCOMPARE(MessageBox::shownMessages().size(), 1);
        const QString text = MessageBox::shownMessages().first().text;
        QVERIFY2(text.contains(path) && text.contains("não está em UTF-8"), qPrintable(text));
        QVERIFY(!QFile::exists(home->path() + "/Quelvarino/quelvarino.db"));
    }

    // A registered folder that is not there: the operator is told which one
    // and what to do; one whose parent exists may be made at once; one on a
    // network share that is not mounted is never made on the local disk.
    void missingRegisteredFolder_data() {
        QTest::addColumn<QString>("relative");  // under the test's home
        QTest::addColumn<QString>("fstab");     // network entry, relative to home
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<int>("icon");
        QTest::newRow("parent exists, create it")
            << "Dados"
            << "" << int(QMessageBox::Yes) << true << int(QMessageBox::Question);
        QTest::newRow("parent exists, do not create")
            << "Dados"
            << "" << int(QMessageBox::No) << false << int(QMessageBox::Question);
        QTest::newRow("parent missing too")
            << "servidor/Dados"
            << "" << int(QMessageBox::Yes) << false << int(QMessageBox::Warning);
        QTest::newRow("share not mounted")
            << "rede/Quelvarino"
            << "rede" << int(QMessageBox::Yes) << false << int(QMessageBox::Warning);
        QTest::newRow("empty mount point of a share")
            << "rede"
            << "rede" << int(QMessageBox::Yes) << false << int(QMessageBox::Warning);
    }
    void missingRegisteredFolder() {
        QFETCH(QString, relative);
        QFETCH(QString, fstab);
        QFETCH(int, answer);
        QFETCH(bool, starts);
        QFETCH(int, icon);
        const QString folder = home->path() + "/" + relative;
        QFile table(home->path() + "/fstab");
        QVERIFY(table.open(QIODevice::WriteOnly));
        if (!fstab.isEmpty()) {
            QDir().mkpath(home->path() + "/" + fstab);  // the empty mount point
            table.write(QString("//servidor/dados %1/%2 cifs credentials=/etc/cred 0 0\n")
                            .arg(home->path(), fstab)
                            .toUtf8());
        }
        table.close();
        DataFolder::setMountTables(home->path() + "/fstab", "/proc/self/mounts");
        registerFolder(folder);
        MessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
        const bool started = start();
        DataFolder::setMountTables("/etc/fstab", "/proc/self/mounts");
        QCOMPARE(started, starts);
        QCOMPARE(MessageBox::shownMessages().size(), 1);
        const auto m = MessageBox::shownMessages().first();
        QCOMPARE(m.title, MessageBox::standardTitle());
        QCOMPARE(int(m.icon), icon);
        QVERIFY2(m.text.contains(folder), qPrintable(m.text));
        QVERIFY(m.text.contains("Ostrima") || m.text.contains("montado"));
        QCOMPARE(QFile::exists(folder + "/quelvarino.db"), starts);
        if (!fstab.isEmpty())
            QVERIFY(m.text.contains("não está montado"));
        if (!starts && fstab.isEmpty())
            QVERIFY(!QDir(folder).exists());
    }
};

QUELVARINO_GUI_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
