#include "core/errors.h"
#include "data/aliasregistry.h"
#include "data/datafolder.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <memory>

using namespace quelvarino;

// Runs the real Ostrima, as an installer would.
class TestOstrima : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;

    struct Run {
        int exitCode;
        QByteArray output;
    };
    Run ostrima(const QStringList& args) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(qEnvironmentVariable("OSTRIMA"), args);
        p.waitForFinished(20000);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAll()};
    }
    QByteArray registryText() {
        QFile f(AliasRegistry::filePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void init() { home = std::make_unique<TempHome>(); }
    void cleanup() { home.reset(); }

    void registrations_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("alias");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("params");  // %H is the home folder
        QTest::newRow("no arguments")
            << QStringList{} << "Quelvarino"
            << "PARADOX"
            << "PATH:\"%H/Quelvarino\";DEFAULT DRIVER:\"PARADOX\";ENABLE BCD:\"FALSE\"";
        QTest::newRow("empty path")
            << QStringList{"Quelvarino", ""} << "Quelvarino"
            << "PARADOX"
            << "PATH:\"%H/Quelvarino\";DEFAULT DRIVER:\"PARADOX\";ENABLE BCD:\"FALSE\"";
        QTest::newRow("standard any case")
            << QStringList{"Quelvarino", "/nao-existe-quelvarino/srv/dados", "standard"}
            << "Quelvarino"
            << "PARADOX"
            << "PATH:\"/nao-existe-quelvarino/srv/dados\";DEFAULT DRIVER:\"standard\";ENABLE "
               "BCD:\"FALSE\"";
        QTest::newRow("dbase")
            << QStringList{"Outro", "/nao-existe-quelvarino/d", "DBASE"} << "Outro"
            << "DBASE"
            << "PATH:\"/nao-existe-quelvarino/d\";DEFAULT DRIVER:\"DBASE\";ENABLE BCD:\"FALSE\"";
        QTest::newRow("interbase")
            << QStringList{"Quelvarino", "servidor:/db/q.gdb", "INTRBASE"} << "Quelvarino"
            << "INTRBASE"
            << "SERVER NAME:\"servidor:/db/q.gdb\"";
        QTest::newRow("other driver")
            << QStringList{"Quelvarino", "quelvarino", "POSTGRESQL"} << "Quelvarino"
            << "POSTGRESQL"
            << "DATABASE NAME:\"quelvarino\"";
        QTest::newRow("fourth argument ignored")
            << QStringList{"Q2", "/nao-existe-quelvarino/x", "PARADOX", "lixo"} << "Q2"
            << "PARADOX"
            << "PATH:\"/nao-existe-quelvarino/x\";DEFAULT DRIVER:\"PARADOX\";ENABLE BCD:\"FALSE\"";
    }
    void registrations() {
        QFETCH(QStringList, args);
        QFETCH(QString, alias);
        QFETCH(QString, type);
        QFETCH(QString, params);
        const Run run = ostrima(args);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.output, QByteArray());
        const auto entry = AliasRegistry::find(alias);
        QVERIFY(entry.has_value());
        QCOMPARE(entry->type, type);
        QCOMPARE(entry->params, QString(params).replace("%H", home->path()));
        // Readable by a person: the section and the keys stand in the file.
        const QByteArray text = registryText();
        QVERIFY(text.contains("[" + alias.toUtf8() + "]"));
        QVERIFY(text.contains("TYPE=" + type.toUtf8()));
    }

    void secondRegistrationKeepsTheFirstAndDashReplacesIt() {
        QCOMPARE(ostrima({"Quelvarino", "/nao-existe-quelvarino/srv/um"}).exitCode, 0);
        QCOMPARE(ostrima({"Quelvarino", "/nao-existe-quelvarino/srv/dois"}).exitCode, 0);
        QCOMPARE(AliasRegistry::find("Quelvarino")->param("PATH"),
                 QString("/nao-existe-quelvarino/srv/um"));
        QCOMPARE(ostrima({"-Quelvarino", "/nao-existe-quelvarino/srv/dados"}).exitCode, 0);
        QCOMPARE(AliasRegistry::find("Quelvarino")->param("PATH"),
                 QString("/nao-existe-quelvarino/srv/dados"));
        QCOMPARE(registryText().count("[Quelvarino]"), 1);
        // Deleting an alias that is not there is no error either.
        QCOMPARE(ostrima({"-Novo", "/nao-existe-quelvarino/srv/novo"}).exitCode, 0);
        QCOMPARE(AliasRegistry::find("Novo")->param("PATH"),
                 QString("/nao-existe-quelvarino/srv/novo"));
        QCOMPARE(AliasRegistry::find("Quelvarino")->param("PATH"),
                 QString("/nao-existe-quelvarino/srv/dados"));
    }

    // Following the README on a new machine: Ostrima's folder is made at
    // once and the program then starts on it without a question.
    void registeredFolderIsMadeWhenLocal() {
        QVERIFY(!QDir(home->path() + "/Quelvarino").exists());
        QCOMPARE(ostrima({}).exitCode, 0);
        QVERIFY(QDir(home->path() + "/Quelvarino").exists());
        const QString other = home->path() + "/dados";
        QCOMPARE(ostrima({"-Quelvarino", other}).exitCode, 0);
        QVERIFY(QDir(other).exists());
        DataFolder::reset();
        DataFolder::prepare();
        QVERIFY(QFile::exists(other + "/quelvarino.db"));
        // Not inside a folder that is not there, and not for server drivers.
        QCOMPARE(ostrima({"-Quelvarino", home->path() + "/a/b/c"}).exitCode, 0);
        QVERIFY(!QDir(home->path() + "/a").exists());
        QCOMPARE(ostrima({"-Outro", home->path() + "/pg", "POSTGRESQL"}).exitCode, 0);
        QVERIFY(!QDir(home->path() + "/pg").exists());
        // An alias that was kept does not make the folder of the refused one.
        QCOMPARE(ostrima({"Quelvarino", home->path() + "/recusado"}).exitCode, 0);
        QVERIFY(!QDir(home->path() + "/recusado").exists());
    }

    void unwritableRegistryFolderStaysSilent() {
        // The configuration folder is a file: nothing can be written there.
        QFile blocker(home->path() + "/config");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.write("not a folder");
        blocker.close();
        const Run run = ostrima({});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.output, QByteArray());
        QVERIFY(blocker.open(QIODevice::ReadOnly));
        QCOMPARE(blocker.readAll(), QByteArray("not a folder"));
    }

    void programUsesTheRegisteredFolder() {
        const QString folder = home->path() + "/dados";
        QDir().mkpath(folder);
        QCOMPARE(ostrima({"-Quelvarino", folder}).exitCode, 0);
        DataFolder::reset();
        QCOMPARE(DataFolder::path(), folder);
        DataFolder::prepare();
        QVERIFY(QFile::exists(folder + "/quelvarino.db"));
        QVERIFY(!QDir(home->path() + "/Quelvarino").exists());
    }

    void noAliasMeansHomeFolderAndOtherServerDriversAreRefused() {
        DataFolder::reset();
        QCOMPARE(DataFolder::path(), home->path() + "/Quelvarino");
        QCOMPARE(DataFolder::serverDatabase(), QString());
        for (const char* driver : {"INTRBASE", "ORACLE"}) {
            QCOMPARE(ostrima({"-Quelvarino", "quelvarino", driver}).exitCode, 0);
            DataFolder::reset();
            try {
                DataFolder::path();
                QFAIL("a server driver the program has no store for was accepted");
            } catch (const StoreError& e) {
                QVERIFY(e.text().contains(driver));
            }
        }
    }

    // A registry that exists but cannot be read is said, never taken for an
    // empty one (that would open the home folder's data in place of the
    // registered); Ostrima leaves it as it stands.
    void unreadableRegistryIsSaid_data() {
        QTest::addColumn<bool>("folder");  // a folder in the registry's place
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("não é UTF-8")
            << false << QByteArray("[Quelvarino]\nTYPE=PARADOX\nPATH:\"/srv/Jo\xe3o\"\n")
            << "o texto não está em UTF-8";
        QTest::newRow("uma pasta no lugar do arquivo") << true << QByteArray() << "";
    }
    void unreadableRegistryIsSaid() {
        QFETCH(bool, folder);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString path = AliasRegistry::filePath();
        QVERIFY(QDir().mkpath(folder ? path : QFileInfo(path).absolutePath()));
        if (!folder) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        DataFolder::reset();
        try {
            DataFolder::path();
            QFAIL("an unreadable registry was taken for an empty one");
        } catch (const StoreError& e) {
            QVERIFY2(e.text().startsWith("O registro dos aliases " + path + " não pôde ser lido"),
                     qPrintable(e.text()));
            QVERIFY2(e.text().contains(reason), qPrintable(e.text()));
        }
        QVERIFY(!QDir(home->path() + "/Quelvarino").exists());
        QCOMPARE(ostrima({"Outro", home->path() + "/outro"}).exitCode, 0);
        QCOMPARE(ostrima({"-Quelvarino", home->path() + "/outro"}).exitCode, 0);
        if (!folder)
            QCOMPARE(registryText(), bytes);
        QVERIFY(QFileInfo(path).isDir() == folder);
    }

    // Parameter texts as Ostrima writes them read back item by item, values
    // holding semicolons and colons included; damaged ones (characters
    // inserted, dropped or changed anywhere) are read without hanging and
    // give no item without a name.
    void paramsReadBackAsWritten() {
        QRandomGenerator random(20261211);
        const QString nameChars = "ABCDEFGHIJ ";
        const QString valueChars = "abc/\\:;. -_0123456789\u00e3\u00e7";
        auto pick = [&random](const QString& from, int most) {
            QString out;
            const int n = int(random.bounded(most + 1));
            for (int i = 0; i < n; ++i)
                out += from[int(random.bounded(int(from.size())))];
            return out;
        };
        for (int round = 0; round < 3000; ++round) {
            QMap<QString, QString> items;
            const int count = 1 + int(random.bounded(4));
            for (int i = 0; i < count; ++i) {
                const QString name = pick(nameChars, 10).trimmed();
                if (!name.isEmpty())
                    items.insert(name, pick(valueChars, 20));
            }
            QStringList written;
            for (auto it = items.begin(); it != items.end(); ++it)
                written << it.key() + ":\"" + it.value() + "\"";
            const QString text = written.join(';');
            QCOMPARE(AliasRegistry::parseParams(text), items);

            QString damaged = text;
            for (int m = 0; m < 3; ++m) {
                const int at = damaged.isEmpty() ? 0 : int(random.bounded(int(damaged.size())));
                const QChar c = QString("\";: A")[int(random.bounded(5))];
                switch (random.bounded(3)) {
                    case 0:
                        damaged.insert(at, c);
                        break;
                    case 1:
                        damaged.remove(at, 1);
                        break;
                    default:
                        if (!damaged.isEmpty())
                            damaged[at] = c;
                }
            }
            const QMap<QString, QString> read = AliasRegistry::parseParams(damaged);
            for (auto it = read.begin(); it != read.end(); ++it)
                QVERIFY2(!it.key().isEmpty(), qPrintable(damaged));
        }
    }

    // A PostgreSQL alias names the server; the workstation's own files stay
    // in its home folder.
    void postgresqlAliasNamesTheServer() {
        const QString server = "host=/tmp port=5433 dbname=quelvarino user=ana";
        QCOMPARE(ostrima({"Quelvarino", server, "postgresql"}).exitCode, 0);
        DataFolder::reset();
        QCOMPARE(DataFolder::serverDatabase(), server);
        QCOMPARE(DataFolder::path(), home->path() + "/Quelvarino");
        QVERIFY(DataFolder::isDefault());
    }
};

QTEST_GUILESS_MAIN(TestOstrima)
#include "tst_ostrima.moc"
