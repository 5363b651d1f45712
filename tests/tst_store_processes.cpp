#include "core/errors.h"
#include "data/backup.h"
#include "data/datafolder.h"
#include "data/schema.h"
#include "data/table.h"
#include "testsupport.h"

#include <sqlite3.h>
#include <unistd.h>
#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QSqlQuery>
#include <csignal>
#include <memory>

using namespace quelvarino;

// Two workstations on one data folder: this test is one, store_helper the other.
class TestStoreProcesses : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;

    static QString helper() { return qEnvironmentVariable("STORE_HELPER"); }

    QString runHelper(const QStringList& args) {
        QProcess p;
        p.start(helper(), QStringList{home->dataFolder()} + args);
        if (!p.waitForFinished(20000))
            return "TIMEOUT";
        // A helper that printed the right thing and then crashed at exit
        // is a failure too.
        if (p.exitStatus() != QProcess::NormalExit)
            return "CRASHED";
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }

    // File copies, restores and file permissions are the embedded store's;
    // a server is backed up with pg_dump and guards its own files.
#define embeddedStoreOnly()                                             \
    do {                                                                \
        if (testsOnServer())                                            \
            QSKIP("the embedded store's file: the server has its own"); \
    } while (false)

    static bool waitForLine(QProcess& p, const QString& line) {
        QByteArray seen;
        while (p.waitForReadyRead(20000)) {
            seen += p.readAllStandardOutput();
            if (seen.contains(line.toUtf8()))
                return true;
        }
        return false;
    }

private slots:
    void init() {
        home = std::make_unique<TempHome>();
        DataFolder::prepare();
        Table t("tbclientes");
        t.open();
        t.insert();
        t.fieldByName("CODCLI").setAsString("000001");
        t.fieldByName("RAZAOSOCIAL").setAsString("PRIMEIRO");
        t.post();
    }
    void cleanup() {
        home.reset();
    }

    void postIsSeenByAnotherProcessAtOnce() {
        QCOMPARE(runHelper({"read", "000001"}), QString("PRIMEIRO"));
        Table t("tbclientes");
        t.open();
        t.insert();
        t.fieldByName("CODCLI").setAsString("000002");
        t.fieldByName("RAZAOSOCIAL").setAsString("SEGUNDO");
        t.post();
        QCOMPARE(runHelper({"read", "000002"}), QString("SEGUNDO"));
    }

    void editRefusedWhileAnotherProcessHoldsTheRecord() {
        QProcess holder;
        holder.start(helper(), {home->dataFolder(), "lock", "000001"});
        QVERIFY(waitForLine(holder, "LOCKED"));

        Table t("tbclientes");
        t.open();
        QVERIFY(t.findKey("000001"));
        QVERIFY_THROWS_EXCEPTION(RecordLockedError, t.edit());
        QCOMPARE(t.state(), Table::State::Browse);

        // Another record is free.
        t.insert();
        t.fieldByName("CODCLI").setAsString("000002");
        t.post();
        t.edit();
        t.cancel();

        holder.write("post ALTERADO\n");
        QVERIFY(waitForLine(holder, "POSTED"));
        QVERIFY(t.findKey("000001"));
        t.edit();  // released by the other's post
        QCOMPARE(t.fieldByName("RAZAOSOCIAL").asString(), QString("ALTERADO"));
        QCOMPARE(runHelper({"edit", "000001"}), QString("REFUSED"));
        t.cancel();
        QCOMPARE(runHelper({"edit", "000001"}), QString("EDITING"));
        holder.write("quit\n");
        QVERIFY(holder.waitForFinished(20000));
        QCOMPARE(holder.exitStatus(), QProcess::NormalExit);
        QCOMPARE(holder.exitCode(), 0);
    }

    // A backup taken while another workstation posts holds every record
    // acknowledged before it began, and passes the integrity check.
    void backupWhileAnotherProcessPosts() {
        embeddedStoreOnly();
        QProcess poster;
        poster.start(helper(), {home->dataFolder(), "postloop", "100"});
        QVERIFY(waitForLine(poster, "POSTED 130"));
        QByteArray seen = poster.readAllStandardOutput();
        const int acknowledged =
            int(QString::fromLatin1(seen).split('\n').filter("POSTED").size()) + 31;
        const QString copy = Backups::takeDaily(DataFolder::mainDatabaseFile(),
                                                home->dataFolder() + "/Backup", QDate(2026, 12, 9));
        QVERIFY(waitForLine(poster, "POSTED"));  // it went on posting meanwhile
        ::kill(static_cast<pid_t>(poster.processId()), SIGKILL);
        QVERIFY(poster.waitForFinished(20000));
        QCOMPARE(copy, home->dataFolder() + "/Backup/quelvarino-2026-12-09.db");
        QString reason;
        QVERIFY2(Backups::check(copy, &reason), qPrintable(reason));
        Database::resetMain();
        auto backup = Database::open(copy, schema::mainTables(), false);
        QSqlQuery q(backup->connection());
        QVERIFY(q.exec("select count(*) from tbclientes where CODCLI >= '000100'"));
        QVERIFY(q.next());
        QVERIFY2(q.value(0).toInt() >= acknowledged,
                 qPrintable(QString("%1 < %2").arg(q.value(0).toInt()).arg(acknowledged)));
        // A second start the same day takes no second copy.
        QCOMPARE(Backups::takeDaily(DataFolder::mainDatabaseFile(), home->dataFolder() + "/Backup",
                                    QDate(2026, 12, 9)),
                 QString());
    }

    // A program that closes gives up its check and copy at once: neither
    // is told as damage or failure, nothing half-written stays, and the
    // next start takes the copy.
    void backupGivenUpWhenTheProgramCloses() {
        embeddedStoreOnly();
        Table t("tbclientes");
        t.open();
        for (int n = 2; n < 400; ++n) {
            t.insert();
            t.fieldByName("CODCLI").setAsString(QString::number(n).rightJustified(6, '0'));
            t.fieldByName("RAZAOSOCIAL").setAsString(QString("CLIENTE %1").arg(n));
            t.post();
        }
        const QString folder = home->dataFolder() + "/Backup";
        const QDate day(2026, 12, 9);
        Backups::requestStop();
        QString reason;
        QVERIFY_THROWS_EXCEPTION(BackupStopped,
                                 Backups::check(DataFolder::mainDatabaseFile(), &reason, true));
        QVERIFY_THROWS_EXCEPTION(BackupStopped,
                                 Backups::takeDaily(DataFolder::mainDatabaseFile(), folder, day));
        QVERIFY(QDir(folder).entryList(QDir::Files).isEmpty());
        Backups::requestStop(false);
        QVERIFY(Backups::check(DataFolder::mainDatabaseFile(), &reason, true));
        QVERIFY(!Backups::takeDaily(DataFolder::mainDatabaseFile(), folder, day).isEmpty());
    }

    // Programs ended in the middle of the day's copy leave their partial
    // copies behind: the next copy deletes them, never one that a running
    // program (on any workstation) is still writing.
    void partialCopiesOfEndedProgramsAreDeleted() {
        embeddedStoreOnly();
        {
            Table t("tbclientes");
            t.open();
            for (int n = 2; n < 300; ++n) {
                t.insert();
                t.fieldByName("CODCLI").setAsString(QString::number(n).rightJustified(6, '0'));
                t.fieldByName("RAZAOSOCIAL").setAsString(QString("CLIENTE %1").arg(n).repeated(6));
                t.post();
            }
        }
        const QString folder = home->dataFolder() + "/Backup";
        QProcess killed, running;
        for (QProcess* p : {&killed, &running}) {
            p->start(helper(), {home->dataFolder(), "backup", "2026-12-09"});
            QVERIFY(waitForLine(*p, "COPYING"));
        }
        const QString stale =
            folder + QString("/quelvarino-2026-12-09.db.parte%1").arg(killed.processId());
        const QString held =
            folder + QString("/quelvarino-2026-12-09.db.parte%1").arg(running.processId());
        ::kill(static_cast<pid_t>(killed.processId()), SIGKILL);
        QVERIFY(killed.waitForFinished(20000));
        QVERIFY(QFile::exists(stale) && QFile::exists(held));
        // both untouched for a while, as after a day
        for (const QString& f : {stale, held}) {
            QFile file(f);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                     QFileDevice::FileModificationTime));
        }
        const QString copy =
            Backups::takeDaily(DataFolder::mainDatabaseFile(), folder, QDate(2026, 12, 10));
        QVERIFY(QFile::exists(copy));
        QVERIFY2(!QFile::exists(stale), "the partial copy of the killed program stays");
        QVERIFY2(QFile::exists(held), "the copy another program is writing was deleted");
        ::kill(static_cast<pid_t>(running.processId()), SIGKILL);
        QVERIFY(running.waitForFinished(20000));
    }

    // Day after day for a year: the last seven copies and the first of
    // each of the last twelve months stay.
    void backupsRotateOverAYear() {
        embeddedStoreOnly();
        const QString folder = home->dataFolder() + "/Backup";
        for (QDate d(2025, 12, 20); d <= QDate(2026, 12, 31); d = d.addDays(1))
            Backups::takeDaily(DataFolder::mainDatabaseFile(), folder, d);
        QStringList expected;
        for (int m = 1; m <= 12; ++m)
            expected << Backups::fileName(QDate(2026, m, 1));
        for (int day = 25; day <= 31; ++day)
            expected << Backups::fileName(QDate(2026, 12, day));
        QStringList got = QDir(folder).entryList({"quelvarino-*.db"}, QDir::Files, QDir::Name);
        QCOMPARE(got, expected);
        QVERIFY(QDir(folder).entryList({"*.parte*"}, QDir::Files).isEmpty());
    }

    void restoreOnlyWhenNobodyHasTheDatabase() {
        embeddedStoreOnly();
        const QString copy = Backups::takeDaily(DataFolder::mainDatabaseFile(),
                                                home->dataFolder() + "/Backup", QDate(2026, 12, 9));
        {
            Table t("tbclientes");
            t.open();
            t.insert();
            t.fieldByName("CODCLI").setAsString("000002");
            t.fieldByName("RAZAOSOCIAL").setAsString("DEPOIS DA COPIA");
            t.post();
        }
        Database::resetMain();
        QProcess holder;
        holder.start(helper(), {home->dataFolder(), "lock", "000001"});
        QVERIFY(waitForLine(holder, "LOCKED"));
        try {
            Backups::restore(copy, DataFolder::mainDatabaseFile());
            QFAIL("restored while another program had the database open");
        } catch (const StoreError& e) {
            QVERIFY2(e.text().contains("aberto em outra esta"), qPrintable(e.text()));
        }
        QCOMPARE(runHelper({"read", "000002"}), QString("DEPOIS DA COPIA"));
        holder.write("quit\n");
        QVERIFY(holder.waitForFinished(20000));
        // A damaged copy is refused too.
        const QString damaged = home->path() + "/damaged.db";
        QFile::copy(copy, damaged);
        {
            QFile f(damaged);
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.seek(100);  // the first page: the table of tables
            f.write(QByteArray(3000, '\x55'));
        }
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 Backups::restore(damaged, DataFolder::mainDatabaseFile()));
        Backups::restore(copy, DataFolder::mainDatabaseFile());
        QCOMPARE(runHelper({"read", "000002"}), QString("MISSING"));
        QCOMPARE(runHelper({"read", "000001"}), QString("PRIMEIRO"));
        QVERIFY(QFile::exists(DataFolder::mainDatabaseFile() + ".antes-da-restauracao"));
    }

    // A copy made before an upgrade (no version table, no PIX fields) is put
    // in place, and the next start brings it up to this version.
    void restoreOfACopyFromBeforeAnUpgrade() {
        embeddedStoreOnly();
        const QString copy = Backups::takeDaily(DataFolder::mainDatabaseFile(),
                                                home->dataFolder() + "/Backup", QDate(2026, 12, 9));
        {
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open(QFile::encodeName(copy), &db), SQLITE_OK);
            char* error = nullptr;
            const QByteArray sql =
                "DROP TABLE tbesquema; ALTER TABLE tbempresa DROP COLUMN PIXTIPO; "
                "ALTER TABLE tbempresa DROP COLUMN PIXCHAVE; ALTER TABLE tbempresa DROP COLUMN "
                "PIXNOME; ALTER TABLE tbempresa DROP COLUMN PIXCIDADE; ALTER TABLE tbempresa DROP "
                "COLUMN PIXIMPRIME";
            QVERIFY2(sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error) == SQLITE_OK,
                     error);
            sqlite3_close(db);
        }
        Database::resetMain();
        Backups::restore(copy, DataFolder::mainDatabaseFile());
        QCOMPARE(runHelper({"read", "000001"}), QString("PRIMEIRO"));
        QSqlQuery q(Database::main()->connection());
        QVERIFY(
            q.exec("SELECT VERSAO, (SELECT count(*) FROM pragma_table_info('tbempresa') "
                   "WHERE name = 'PIXCHAVE') FROM tbesquema"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), schema::currentVersion());
        QCOMPARE(q.value(1).toInt(), 1);
    }

    // Only a copy of this program's database is put in its place: sound
    // SQLite files of other kinds are refused, naming the file, and the
    // database stays as it is.
    void restoreRefusesWhatIsNotACopy_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a report work table") << "worktable";
        QTest::newRow("another program's database") << "other";
        QTest::newRow("a copy without a field") << "nofield";
        QTest::newRow("a copy without a table") << "notable";
        QTest::newRow("an empty file") << "empty";
        QTest::newRow("a copy of a newer version") << "newer";
    }
    void restoreRefusesWhatIsNotACopy() {
        embeddedStoreOnly();
        QFETCH(QString, kind);
        const QString copy = Backups::takeDaily(DataFolder::mainDatabaseFile(),
                                                home->dataFolder() + "/Backup", QDate(2026, 12, 9));
        QString file = home->path() + "/escolhido.db";
        auto exec = [&](const char* sql) {
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open(QFile::encodeName(file), &db), SQLITE_OK);
            char* error = nullptr;
            QVERIFY2(sqlite3_exec(db, sql, nullptr, nullptr, &error) == SQLITE_OK, error);
            sqlite3_close(db);
        };
        if (kind == "worktable") {
            file = home->dataFolder() + "/tbrelatorio8_1.db";
            QVERIFY(QFile::exists(file));
        } else if (kind == "other") {
            exec("CREATE TABLE clientes (nome TEXT); INSERT INTO clientes VALUES ('X')");
        } else if (kind == "empty") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QFile::copy(copy, file));
            if (kind == "nofield")
                exec("DROP INDEX tbclientes_CONTAC; ALTER TABLE tbclientes DROP COLUMN CONTAC");
            else if (kind == "newer")
                exec("UPDATE tbesquema SET VERSAO = 99");
            else
                exec("DROP TABLE tbmotociclista");
        }
        const QByteArray before = [] {
            QFile f(DataFolder::mainDatabaseFile());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        Database::resetMain();
        try {
            Backups::restore(file, DataFolder::mainDatabaseFile());
            QFAIL("restored");
        } catch (const StoreError& e) {
            QVERIFY2(e.text().contains(file) && e.text().contains("não foi alterado"),
                     qPrintable(e.text()));
        }
        QFile after(DataFolder::mainDatabaseFile());
        QVERIFY(after.open(QIODevice::ReadOnly));
        QVERIFY(after.readAll() == before);
        QCOMPARE(runHelper({"read", "000001"}), QString("PRIMEIRO"));
    }

    // Two workstations starting together on a new shared folder: both
    // start, on the one database one of them built.
    void twoFirstStartsAtOnce() {
        // On a server, each round a new, empty database: one of them makes
        // the tables, the other waits for them and uses them.
        const bool server = testsOnServer();
        for (int round = 0; round < (server ? 20 : 50); ++round) {
            const QString folder = home->path() + QStringLiteral("/novo%1").arg(round);
            QVERIFY(QDir().mkpath(folder));
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            if (server)
                env.insert("QUELVARINO_TEST_SERVER", newServerDatabase());
            QProcess a, b;
            for (QProcess* p : {&a, &b}) {
                p->setProcessEnvironment(env);
                p->start(helper(), {folder, "read", "000001"});
            }
            for (QProcess* p : {&a, &b}) {
                QVERIFY(p->waitForFinished(20000));
                QCOMPARE(p->exitStatus(), QProcess::NormalExit);
                QCOMPARE(QString::fromUtf8(p->readAllStandardOutput()).trimmed(),
                         QString("MISSING"));
            }
            if (server)
                continue;
            // Nothing of the building is left beside the database.
            const QStringList left = QDir(folder).entryList(QDir::Files);
            QVERIFY2(left.filter(".novo").isEmpty(), qPrintable(left.join(" ")));
            QVERIFY(left.contains("quelvarino.db"));
        }
    }

    // A database the workstation may not write is refused when it is opened,
    // with a message naming it, instead of failing at the first post. The
    // other workstation runs as an ordinary user: permission bits do not
    // hold back the superuser.
    void databaseThatCannotBeWrittenIsRefused_data() {
        QTest::addColumn<bool>("fileWritable");
        QTest::addColumn<bool>("folderWritable");
        QTest::addColumn<bool>("refused");
        QTest::newRow("gravável") << true << true << false;
        QTest::newRow("arquivo somente leitura") << false << true << true;
        QTest::newRow("pasta somente leitura") << true << false << true;
    }
    void databaseThatCannotBeWrittenIsRefused() {
        embeddedStoreOnly();
        QFETCH(bool, fileWritable);
        QFETCH(bool, folderWritable);
        QFETCH(bool, refused);
        const QString file = DataFolder::mainDatabaseFile();
        const QString folder = QFileInfo(file).absolutePath();
        QVERIFY(QFile::exists(file));
        const auto all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                         QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
        const auto exe = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
        const auto readable =
            QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        QVERIFY(QFile::setPermissions(home->path(), readable | exe | QFileDevice::WriteOwner));
        QVERIFY(QFile::setPermissions(file, fileWritable ? all : readable));
        QVERIFY(QFile::setPermissions(folder, (folderWritable ? all : readable) | exe));
        QProcess p;
        QStringList args{helper(), folder, "read", "000001"};
        QString program = args.takeFirst();
        if (::geteuid() == 0) {
            args = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", program} + args;
            program = QStringLiteral("setpriv");
        }
        p.start(program, args);
        QVERIFY(p.waitForFinished(20000));
        const QString said = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        QFile::setPermissions(folder, all | exe);
        QFile::setPermissions(file, all);
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        if (!refused) {
            QCOMPARE(said, QString("PRIMEIRO"));
            return;
        }
        QVERIFY2(said.startsWith("ERROR "), qPrintable(said));
        QVERIFY2(said.contains("não pode ser gravado"), qPrintable(said));
        QVERIFY2(said.contains(QDir::toNativeSeparators(file)), qPrintable(said));
        QVERIFY2(!said.contains("readonly"), qPrintable(said));
    }

    void killedHolderLeavesNoLock() {
        QProcess holder;
        holder.start(helper(), {home->dataFolder(), "lock", "000001"});
        QVERIFY(waitForLine(holder, "LOCKED"));
        QCOMPARE(runHelper({"edit", "000001"}), QString("REFUSED"));
        ::kill(static_cast<pid_t>(holder.processId()), SIGKILL);
        QVERIFY(holder.waitForFinished(20000));

        Table t("tbclientes");
        t.open();
        QVERIFY(t.findKey("000001"));
        if (testsOnServer())
            QVERIFY(operatorDoes::editOnceFree(t));
        else
            t.edit();  // the embedded store frees it at once
        t.fieldByName("RAZAOSOCIAL").setAsString("DEPOIS");
        t.post();
        QCOMPARE(runHelper({"read", "000001"}), QString("DEPOIS"));
    }
};

QTEST_GUILESS_MAIN(TestStoreProcesses)
#include "tst_store_processes.moc"
