#include "core/errors.h"
#include "data/database.h"
#include "data/datafolder.h"
#include "data/query.h"
#include "data/schema.h"
#include "data/table.h"
#include "pgserver.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <memory>

using namespace quelvarino;
using namespace operatorDoes;

// The store on a PostgreSQL server: the same table objects, queries and
// locks as on the embedded store, against a private server.
class TestStorePg : public QObject {
    Q_OBJECT

    PgServer server;
    std::unique_ptr<TempHome> home;
    QString connection;

    void useServer() {
        Database::resetMain();
        QDir().mkpath(home->dataFolder());
        DataFolder::setServer(home->dataFolder(), connection);
        try {
            DataFolder::prepare();
        } catch (const Error& e) {
            QFAIL(qPrintable(e.text()));
        }
    }
    void useEmbedded() {
        Database::resetMain();
        DataFolder::setPath(home->path() + "/embutido");
        QDir().mkpath(home->path() + "/embutido");
        DataFolder::prepare();
    }
    QString helper(const QStringList& args, QProcess* keep = nullptr) {
        QProcess local;
        QProcess& p = keep ? *keep : local;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QUELVARINO_TEST_SERVER", connection);
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("STORE_HELPER"), QStringList{home->dataFolder()} + args);
        if (keep) {
            if (!p.waitForReadyRead(20000))
                return "TIMEOUT";
            return QString::fromUtf8(p.readLine()).trimmed();
        }
        if (!p.waitForFinished(20000))
            return "TIMEOUT";
        if (p.exitStatus() != QProcess::NormalExit)
            return "CRASHED";
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
    // A session of another program on the test database (an SQL tool).
    QSqlDatabase otherSession(const QString& name) const {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", name);
        db.setHostName(server.path());
        db.setPort(5432);
        db.setDatabaseName(connection.section("dbname=", 1).section(' ', 0, 0));
        db.setUserName("quelvarino");
        return db;
    }
    static void client(const QString& code,
                       const QString& name,
                       const QString& date,
                       const QString& value) {
        store("tbclientes",
              {{"CODCLI", code}, {"RAZAOSOCIAL", name}, {"DATA", date}, {"VALOR", value}});
    }
    // Every record in the order of `index`, walked forward and backward,
    // and where a find nearest lands for each key.
    static QStringList walks(const QString& index, const QStringList& nearest) {
        Table t("tbclientes");
        t.setIndexName(index);
        t.open();
        QStringList out;
        for (t.first(); !t.eof(); t.next())
            out.append(t.fieldByName("CODCLI").asString());
        out.append("|");
        for (t.last(); !t.bof(); t.prior())
            out.append(t.fieldByName("CODCLI").asString());
        out.append("|");
        for (const QString& key : nearest) {
            t.findNearest(key);
            out.append(t.eof() ? "EOF" : t.fieldByName("CODCLI").asString());
        }
        return out;
    }

private slots:
    void initTestCase() { QVERIFY2(server.start(), qPrintable(server.error())); }
    void cleanupTestCase() { server.stop(); }
    void init() {
        home = std::make_unique<TempHome>();
        const QString db = server.createDatabase();
        QVERIFY2(!db.isEmpty(), qPrintable(server.error()));
        connection = server.connection(db);
        useServer();
    }
    void cleanup() {
        Table::beforePostHook() = nullptr;
        Table::lostAnswerHook() = nullptr;
        Database::resetMain();
        home.reset();
    }

    void tablesMadeOnAnEmptyDatabase() {
        QVERIFY(Database::main()->isServer());
        QSqlQuery q(Database::main()->connection());
        QVERIFY(
            q.exec("SELECT table_name FROM information_schema.tables WHERE table_schema = "
                   "'public' ORDER BY table_name"));
        QStringList tables;
        while (q.next())
            tables.append(q.value(0).toString());
        QStringList expected;
        for (const TableDef& t : schema::mainTables())
            expected.append(t.name);
        expected.append(schema::versionTable());  // with this program's version in it
        expected.sort();
        QCOMPARE(tables, expected);
        QVERIFY(q.exec("SELECT indexname FROM pg_indexes WHERE tablename = 'tbordem'"));
        QStringList indexes;
        while (q.next())
            indexes.append(q.value(0).toString());
        for (const char* name :
             {"tbordem_pk", "tbordem_cliente", "tbordem_pagamento", "tbordem_data"})
            QVERIFY2(indexes.contains(name), qPrintable(indexes.join(",")));
        // Text in byte order, as on the embedded store.
        QVERIFY(
            q.exec("SELECT collation_name FROM information_schema.columns WHERE table_name = "
                   "'tbclientes' AND column_name = 'razaosocial'"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QString("C"));
        // Opened again: nothing made twice.
        client("000001", "ANA", "01/02/2020", "10");
        Database::resetMain();
        QCOMPARE(rowsIn("tbclientes"), 1);
    }

    void valuesComeBackAsWritten_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("read");
        QTest::newRow("accents") << "RAZAOSOCIAL"
                                 << "AÇOUGUE SÃO JOÃO"
                                 << "AÇOUGUE SÃO JOÃO";
        QTest::newRow("quotes and SQL") << "RAZAOSOCIAL"
                                        << "O'REILLY \"X\"; DROP TABLE tbclientes; --"
                                        << "O'REILLY \"X\"; DROP TABLE tbclientes; --";
        QTest::newRow("date") << "DATA"
                              << "31/01/2005"
                              << "31/01/2005";
        QTest::newRow("empty date") << "DATA"
                                    << "  /  /    "
                                    << "";
        QTest::newRow("cents") << "VALOR"
                               << "12,50"
                               << "12,5";
        QTest::newRow("largest money") << "VALOR"
                                       << "9999999999999,99"
                                       << "9999999999999,99";
        QTest::newRow("empty money") << "VALOR"
                                     << ""
                                     << "";
    }
    void valuesComeBackAsWritten() {
        QFETCH(QString, field);
        QFETCH(QString, written);
        QFETCH(QString, read);
        store("tbclientes", {{"CODCLI", "000001"}, {field, written}});
        Table t("tbclientes");
        t.open();
        QVERIFY(t.findKey("000001"));
        QCOMPARE(t.fieldByName(field).asString(), read);
        // and through a query of the screens, with its names in upper case
        Query q;
        q.add("Select * from tbclientes Where CODCLI = :codigo");
        q.bindText(":codigo", "000001");
        q.open();
        QVERIFY(!q.eof());
        QCOMPARE(q.fieldText(field), read);
        QCOMPARE(rowsIn("tbclientes"), 1);
    }

    void passwordBytesEveryValue() {
        QByteArray bytes;
        for (int c = 0; c < 256; ++c)
            bytes += char(c);
        Table t("tbsenha");
        t.open();
        t.insert();
        t.fieldByName("SENHA").setAsString(QString::fromLatin1(bytes));
        t.post();
        Table again("tbsenha");
        again.open();
        again.first();
        QCOMPARE(again.fieldByName("SENHA").asString().toLatin1(), bytes);
    }

    // Equal keys, empty dates and names that differ only in case and
    // accents walk in the same order as on the embedded store.
    void walksMatchTheEmbeddedStore() {
        try {
            walksMatch();
        } catch (const Error& e) {
            QFAIL(qPrintable(e.text()));
        }
    }

private:
    void walksMatch() {
        auto fill = [] {
            const QStringList names = {"BETA", "alfa", "ALFA", "ÁGUA", "BETA",
                                       "",     "Zé",   "ZE",   "BETA"};
            for (int i = 0; i < names.size(); ++i)
                client(QString("%1").arg(i + 1, 6, 10, QChar('0')), names[i],
                       i % 3 == 0 ? QString() : QString("0%1/01/2020").arg(1 + i % 4),
                       i % 2 ? QString() : QString::number(i * 10));
        };
        const QMap<QString, QStringList> nearest = {
            {"RAZAOSOCIAL", {"", "A", "ALFA", "B", "BETA", "BETAX", "Z", "zz"}},
            {"DATA", {"", "01/01/2020", "02/01/2020", "04/01/2020", "31/12/2030"}},
            {"CODCLI", {"", "000003", "999999"}}};
        auto all = [&nearest] {
            QStringList out;
            for (auto it = nearest.begin(); it != nearest.end(); ++it)
                out += walks(it.key(), it.value());
            return out;
        };
        fill();
        const QStringList onServer = all();
        useEmbedded();
        fill();
        QCOMPARE(onServer, all());
    }

private slots:
    void recordLocks() {
        client("000001", "ANA", "01/02/2020", "10");
        QCOMPARE(helper({"read", "000001"}), QString("ANA"));
        Table first("tbclientes"), second("tbclientes");
        first.open();
        second.open();
        QVERIFY(first.findKey("000001") && second.findKey("000001"));
        first.edit();
        QVERIFY_THROWS_EXCEPTION(RecordLockedError, second.edit());
        QCOMPARE(helper({"edit", "000001"}), QString("REFUSED"));
        first.cancel();
        QCOMPARE(helper({"edit", "000001"}), QString("EDITING"));
        second.edit();
        second.fieldByName("RAZAOSOCIAL").setAsString("ANA MARIA");
        second.post();
        QCOMPARE(helper({"read", "000001"}), QString("ANA MARIA"));

        // A workstation that dies holding a record leaves it free.
        QProcess holder;
        QCOMPARE(helper({"lock", "000001"}, &holder), QString("LOCKED"));
        QVERIFY_THROWS_EXCEPTION(RecordLockedError, first.edit());
        holder.kill();
        holder.waitForFinished();
        QVERIFY(operatorDoes::editOnceFree(first));
        first.cancel();
    }

    // Two workstations record the same proposed order number: the second
    // is told, nothing is overwritten.
    void sameNumberFromTwoWorkstations() {
        QCOMPARE(helper({"insert", "COMANDA=0000000007,CLIENTE=PRIMEIRA", "tbordem"}),
                 QString("INSERTED"));
        Table orders("tbordem");
        orders.open();
        orders.insert();
        orders.fieldByName("COMANDA").setAsString("0000000007");
        orders.fieldByName("CLIENTE").setAsString("SEGUNDA");
        QVERIFY_THROWS_EXCEPTION(KeyExistsError, orders.post());
        orders.cancel();
        QCOMPARE(rowsIn("tbordem"), 1);
        Table check("tbordem");
        check.open();
        QVERIFY(check.findKey("0000000007"));
        QCOMPARE(check.fieldByName("CLIENTE").asString(), QString("PRIMEIRA"));
        // The counter of expense lines is the store's, apart from the row id.
        Table lines("tbentrdesp");
        lines.open();
        for (int i = 0; i < 3; ++i) {
            lines.insert();
            lines.fieldByName("NUMDESP").setAsString("0000000001");
            lines.post();
            QCOMPARE(lines.fieldByName("CONT").asString(), QString::number(i + 1));
        }
    }

    // The server goes away in the middle of a session: a clear message,
    // nothing half-written, and the next operation connects again.
    void serverGoneInTheMiddle() {
        client("000001", "ANA", "01/02/2020", "10");
        Table t("tbclientes");
        t.open();
        QVERIFY(server.kill());
        t.insert();
        t.fieldByName("CODCLI").setAsString("000002");
        t.fieldByName("RAZAOSOCIAL").setAsString("NUNCA GRAVADO");
        try {
            t.post();
            QFAIL("a post to a stopped server was reported as done");
        } catch (const StoreError& e) {
            QVERIFY2(e.text().contains("não há conexão com o servidor"), qPrintable(e.text()));
        }
        t.cancel();
        QVERIFY2(server.restart(), qPrintable(server.error()));
        Table again("tbclientes");
        again.open();
        QVERIFY(again.findKey("000001"));
        QVERIFY(!again.findKey("000002"));
        client("000003", "DEPOIS", "01/02/2020", "10");
        QCOMPARE(rowsIn("tbclientes"), 2);
    }

    // The server stopped at once and back 3 s later while another
    // workstation posts one client after another: its posts resume as soon
    // as the server is back, without restarting it, and every client it
    // was told was stored is there once, none told failed is there.
    void serverRestartsWhileAWorkstationPosts() {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QUELVARINO_TEST_SERVER", connection);
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("STORE_HELPER"), {home->dataFolder(), "retryloop", "1:300"});
        QStringList lines;
        auto readLines = [&] {
            while (p.canReadLine())
                lines.append(QString::fromUtf8(p.readLine()).trimmed());
        };
        QTRY_VERIFY_WITH_TIMEOUT((readLines(), lines.filter("POSTED").size() >= 30), 20000);
        QVERIFY(server.kill());
        // The stop meets the loop in the middle of its posts.
        QVERIFY(p.state() == QProcess::Running);
        QTest::qWait(3000);
        QVERIFY2(server.restart(), qPrintable(server.error()));
        QVERIFY2(p.waitForFinished(60000), "the workstation never came back");
        readLines();
        QCOMPARE(lines.last(), QString("DONE"));
        QVERIFY2(lines.filter("DUPLICATE").isEmpty(),
                 qPrintable(lines.filter("DUPLICATE").join('|')));
        // A post under way when the server stopped waits for it to come
        // back; what is said meanwhile speaks of the server.
        for (const QString& failed : lines.filter("FAILED"))
            QVERIFY2(failed.contains("servidor"), qPrintable(failed));
        QCOMPARE(lines.filter("POSTED").size(), 300);
        Table t("tbclientes");
        t.open();
        int n = 0;
        for (t.first(); !t.eof(); t.next()) {
            ++n;
            QCOMPARE(t.fieldByName("RAZAOSOCIAL").asString(),
                     QString("CLIENTE %1").arg(t.fieldByName("CODCLI").asString().toInt()));
        }
        QCOMPARE(n, 300);
    }

    // The connection breaks around a post at the worst moments. Broken
    // before the statement left: made again on a new connection, stored
    // once. Broken there with the server gone: nothing stored, said so, and
    // the next Gravar stores it. The answer lost after the server
    // committed: the post is confirmed, once. The server gone too, so
    // nothing can be checked: said so, and the next Gravar once it is back
    // looks before it writes, never storing it twice.
    void connectionBreaksAroundAPost_data() {
        QTest::addColumn<QString>("when");
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("edit");
        for (const char* when : {"before", "afterCommit", "afterCommitServerDown"}) {
            QTest::addRow("%s, new client", when) << when << "tbclientes" << false;
            QTest::addRow("%s, changed client", when) << when << "tbclientes" << true;
            QTest::addRow("%s, new expense entry", when) << when << "tbentrdesp" << false;
        }
        QTest::addRow("beforeServerDown, changed client") << "beforeServerDown"
                                                          << "tbclientes" << true;
        QTest::addRow("beforeServerDown, new expense entry") << "beforeServerDown"
                                                             << "tbentrdesp" << false;
    }
    void connectionBreaksAroundAPost() {
        QFETCH(QString, when);
        QFETCH(QString, table);
        QFETCH(bool, edit);
        const bool clients = table == "tbclientes";
        if (edit)
            client("000001", "ANTES", "01/02/2020", "10");
        Table t(table);
        t.open();
        const QString nameField = clients ? "RAZAOSOCIAL" : "NUMDESP";
        if (edit) {
            QVERIFY(t.findKey("000001"));
            t.edit();
        } else {
            t.insert();
            if (clients)
                t.fieldByName("CODCLI").setAsString("000001");
            else
                t.fieldByName("CODMOT").setAsString("0001");
        }
        t.fieldByName(nameField).setAsString("DEPOIS");
        // Another session ends this one's, as a restart of the server does.
        auto cut = [this] {
            QVERIFY(server.sql(connection.section("dbname=", 1).section(' ', 0, 0),
                               "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                               "pid <> pg_backend_pid() AND datname = current_database()"));
        };
        bool confirmed = false;
        const bool serverDown = when.endsWith("ServerDown");
        if (when.startsWith("before")) {
            Table::beforePostHook() = [&](const QString&) {
                cut();
                if (serverDown)
                    server.kill();
            };
        } else {
            Table::lostAnswerHook() = [&](const QString&) {
                cut();
                if (when == "afterCommitServerDown")
                    server.kill();
                return true;
            };
        }
        try {
            t.post();
            confirmed = true;
        } catch (const StoreError& e) {
            if (when.startsWith("before"))
                QVERIFY2(e.text().contains("nada foi gravado"), qPrintable(e.text()));
            else
                QVERIFY2(e.text().contains("não foi possível saber"), qPrintable(e.text()));
        }
        Table::beforePostHook() = nullptr;
        Table::lostAnswerHook() = nullptr;
        QCOMPARE(confirmed, !serverDown);
        if (serverDown)
            QVERIFY2(server.restart(), qPrintable(server.error()));
        if (!confirmed) {
            QVERIFY(t.state() != Table::State::Browse);  // the operator's values are kept
            t.post();                                    // Gravar again
        }
        QCOMPARE(t.fieldByName(nameField).asString(), QString("DEPOIS"));
        QCOMPARE(rowsIn(table), 1);
        Table check(table);
        check.open();
        check.first();
        QCOMPARE(check.fieldByName(nameField).asString(), QString("DEPOIS"));
    }

    // A row that another session changes in an open SQL transaction (an
    // SQL tool left open): an edit is refused at once as in use, not held
    // until the lock timeout; once the transaction ends the edit goes on.
    void rowChangedInAnOpenTransaction() {
        client("000001", "ANTES", "01/02/2020", "10");
        QSqlDatabase other = otherSession("other");
        QVERIFY2(other.open(), qPrintable(other.lastError().text()));
        QVERIFY(other.transaction());
        {
            QSqlQuery q(other);
            QVERIFY2(q.exec("UPDATE tbclientes SET nomefan = 'OUTRA' WHERE codcli = '000001'"),
                     qPrintable(q.lastError().text()));
        }
        Table t("tbclientes");
        t.open();
        QVERIFY(t.findKey("000001"));
        QElapsedTimer clock;
        clock.start();
        try {
            t.edit();
            QFAIL("edit taken on a row another session is changing");
        } catch (const RecordLockedError& e) {
            QVERIFY2(e.text().contains("outra sessão"), qPrintable(e.text()));
        }
        // the lock timeout is 5 s
        QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(t.state() == Table::State::Browse);
        QVERIFY(other.commit());
        other.close();
        QSqlDatabase::removeDatabase("other");
        t.edit();  // the program's own lock was let go with the refusal
        t.fieldByName("RAZAOSOCIAL").setAsString("DEPOIS");
        t.post();
        Table check("tbclientes");
        check.open();
        QVERIFY(check.findKey("000001"));
        QCOMPARE(check.fieldByName("RAZAOSOCIAL").asString(), QString("DEPOIS"));
        QCOMPARE(check.fieldByName("NOMEFAN").asString(), QString("OUTRA"));
    }

    // What the server refuses at the connection: each its own message.
    void refusedConnections_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("connect");  // the connection text's user part
        QTest::addColumn<QString>("said");
        QTest::newRow("wrong password") << "CREATE ROLE comsenha LOGIN PASSWORD 'certa'"
                                        << "user=comsenha password=errada"
                                        << "senha";
        QTest::newRow("connections exhausted") << "CREATE ROLE lotado LOGIN CONNECTION LIMIT 0"
                                               << "user=lotado"
                                               << "conexões";
        QTest::newRow("no such database") << ""
                                          << "user=quelvarino dbname=naoexiste"
                                          << "não existe";
    }
    void refusedConnections() {
        QFETCH(QString, setup);
        QFETCH(QString, connect);
        QFETCH(QString, said);
        const QString database = connection.section("dbname=", 1).section(' ', 0, 0);
        if (!setup.isEmpty()) {
            server.sql(database, "DROP ROLE IF EXISTS comsenha");
            server.sql(database, "DROP ROLE IF EXISTS lotado");
            QVERIFY2(server.sql(database, setup), qPrintable(server.error()));
            QVERIFY2(server.requirePasswordFor("comsenha"), qPrintable(server.error()));
        }
        QString text = connection;
        text.replace("user=quelvarino", connect);
        Database::resetMain();
        DataFolder::setServer(home->dataFolder(), text);
        try {
            Database::main();
            QFAIL("connected");
        } catch (const StoreError& e) {
            QVERIFY2(e.text().contains(said), qPrintable(e.text()));
            QVERIFY2(!e.text().contains("verifique a rede", Qt::CaseInsensitive),
                     qPrintable(e.text()));
            QVERIFY2(!e.text().contains("errada"), "the password is shown");
        }
    }

    // Another session holds a table in an open transaction: the start
    // reads the catalogue for the indexes instead of waiting on the table.
    void startWhileAnotherSessionHoldsATable() {
        Database::main();
        Database::resetMain();
        {
            QSqlDatabase holder = otherSession("holder");
            QVERIFY2(holder.open(), qPrintable(holder.lastError().text()));
            QVERIFY(holder.transaction());
            QSqlQuery q(holder);
            QVERIFY2(q.exec("LOCK TABLE tbordem IN ROW EXCLUSIVE MODE"),
                     qPrintable(q.lastError().text()));
            QVERIFY2(q.exec("LOCK TABLE tbclientes IN ROW EXCLUSIVE MODE"),
                     qPrintable(q.lastError().text()));
        }
        QElapsedTimer clock;
        clock.start();
        Database::main();
        // Each index statement would wait out the lock timeout (5 s).
        QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));
        QSqlDatabase::database("holder", false).rollback();
        QSqlDatabase::database("holder", false).close();
        QSqlDatabase::removeDatabase("holder");
    }
};

QTEST_GUILESS_MAIN(TestStorePg)
#include "tst_store_pg.moc"
