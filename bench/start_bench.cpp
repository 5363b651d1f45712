// Start of QuelvarinoBasic to its main window shown and taking input, as
// separate processes (cold: every library loaded again), against an empty
// Qt program that opens the same database and shows an empty window. The
// program runs offscreen with no installation file, offline (probes to
// addresses that do not answer) and online (the news servers of the tests
// on loopback), so the three starts can be compared.
#include "benchfolder.h"
#include "data/aliasregistry.h"
#include "data/database.h"
#include "data/datafolder.h"
#include "data/schema.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

using namespace quelvarino;

namespace {

// The empty program: the same database opened, one window shown.
int plainChild(const QString& file) {
    QApplication app(
        *new int(1), new char* [1] { const_cast<char*>("plain") });
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "plain");
        db.setDatabaseName(file);
        if (!db.open())
            return 1;
        QSqlQuery q(db);
        q.exec("SELECT COMANDA FROM tbordem ORDER BY COMANDA DESC LIMIT 1");
        q.next();
        QMainWindow w;
        w.resize(801, 601);
        w.show();
        QTimer::singleShot(0, &app, [&app] {
            std::printf("Janela principal aberta.\n");
            std::fflush(stdout);
            app.quit();
        });
        app.exec();
    }
    QSqlDatabase::removeDatabase("plain");
    return 0;
}

// Time from the process start to the line that says the window is open.
double timeToWindow(const QString& program,
                    const QStringList& args,
                    const QProcessEnvironment& env) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    QByteArray seen;
    double at = -1;
    while (p.waitForReadyRead(30000)) {
        seen += p.readAllStandardOutput();
        if (seen.contains("Janela principal aberta.")) {
            at = t.nsecsElapsed() / 1e6;
            break;
        }
    }
    p.waitForFinished(60000);
    return at;
}

void writeNewsConfig(const QString& home, const QString& body) {
    QDir().mkpath(home + "/.config/Quelvarino");
    QFile f(home + "/.config/Quelvarino/noticias.conf");
    f.open(QIODevice::WriteOnly);
    f.write(body.toUtf8());
    f.close();
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && QByteArray(argv[1]) == "--plain-child")
        return plainChild(QString::fromLocal8Bit(argv[2]));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    bench::Options options = bench::parseOptions(app.arguments(), 7);
    bench::prepareFolder(options);
    const QString folder = options.folder;
    const int runs = options.runs;
    const QString database = folder + "/quelvarino.db";

    QTemporaryDir home;
    QDir().mkpath(home.path() + "/runtime");
    QFile::setPermissions(home.path() + "/runtime",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.path() + "/.config");
    env.insert("XDG_RUNTIME_DIR", home.path() + "/runtime");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("LC_ALL", "pt_BR.UTF-8");
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
    AliasRegistry::add(
        "Quelvarino",
        {"PARADOX", QStringLiteral("PATH:\"%1\";DEFAULT DRIVER:\"PARADOX\"").arg(folder)});

    const QString program = QStringLiteral(QUELVARINO_PROGRAM);
    // The first start of the day takes the day's backup beside the window;
    // it is taken here once, so every measured start is an ordinary one.
    timeToWindow(program, {"--verificar-inicio"}, env);

    auto measure = [&](const char* label, const QString& prog, const QStringList& a) {
        std::vector<double> v;
        for (int i = 0; i < runs; ++i)
            v.push_back(timeToWindow(prog, a, env));
        const double m = bench::median(v);
        std::printf("%-52s %8.1f ms\n", label, m);
        return m;
    };
    std::printf("median of %d starts each, data folder %s\n\n", runs, qPrintable(folder));
    const double plain = measure("empty Qt program opening the same database",
                                 app.applicationFilePath(), {"--plain-child", database});
    const double none =
        measure("QuelvarinoBasic, no news installation file", program, {"--verificar-inicio"});
    // Offline: the probes go to a closed local port and to an address that
    // is never routed; nothing answers.
    writeNewsConfig(home.path(),
                    "[ftp]\nservidor=10.255.255.1\nusuario=x\nsenha=y\n"
                    "[web]\nteste1=http://127.0.0.1:9/\nteste2=http://10.255.255.1/\n"
                    "teste3=http://127.0.0.1:9/\neco_ip=http://10.255.255.1/\n");
    const double offline =
        measure("QuelvarinoBasic, offline (news configured)", program, {"--verificar-inicio"});
    double online = -1;
    QTemporaryDir served;
    QProcess servers;
    QDir().mkpath(served.path() + "/httpdocs");
    for (const char* name :
         {"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg", "6.jpg", "noticias.txt"}) {
        QFile f(served.path() + "/httpdocs/" + QString::fromLatin1(name));
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(4096, 'x'));
    }
    servers.setStandardErrorFile(QProcess::nullDevice());
    servers.start("/usr/bin/python3",
                  {QStringLiteral(NEWS_SERVERS), served.path(), "noticia", "segredo123456"});
    if (servers.waitForReadyRead(10000)) {
        const QStringList ports = QString::fromUtf8(servers.readLine()).split(' ');
        if (ports.size() == 4) {
            writeNewsConfig(
                home.path(),
                QStringLiteral("[ftp]\nservidor=127.0.0.1\nporta=%1\nusuario=noticia\n"
                               "senha=segredo123456\npasta=httpdocs\n[web]\n"
                               "teste1=http://127.0.0.1:%2/\neco_ip=http://127.0.0.1:%2/\n")
                    .arg(ports[1], ports[3].trimmed()));
            online = measure("QuelvarinoBasic, online (news servers on loopback)", program,
                             {"--verificar-inicio"});
        }
        servers.closeWriteChannel();
        servers.waitForFinished(5000);
    } else {
        std::printf("(online start not measured: the news servers need python3-pyftpdlib)\n");
    }
    std::printf("\nratio to the empty program: no file %.2f, offline %.2f", none / plain,
                offline / plain);
    if (online > 0)
        std::printf(", online %.2f", online / plain);
    std::printf("\n");
    bench::removeFolder(options);
    return 0;
}
