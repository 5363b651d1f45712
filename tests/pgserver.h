#pragma once

// A private PostgreSQL server for a test program or a benchmark: made with
// initdb in a temporary folder (or a given one, kept and used again),
// listening only on a Unix socket there, started once and stopped when the
// program ends. As root the server runs as the postgres user (the server
// refuses to run as root).
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>

class PgServer {
public:
    PgServer() : path_(temporary_.path()) {}
    explicit PgServer(const QString& folder) : path_(QDir(folder).absolutePath()) {}

    bool start() {
        if (path_.isEmpty() || !QDir().mkpath(path_))
            return fail("no folder for the server");
        QStringList versions =
            QDir("/usr/lib/postgresql").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        std::sort(versions.begin(), versions.end(),
                  [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); });
        if (versions.isEmpty())
            return fail("PostgreSQL is not installed (/usr/lib/postgresql)");
        bin_ = "/usr/lib/postgresql/" + versions.last() + "/bin/";
        QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                         QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                         QFileDevice::WriteOther | QFileDevice::ExeOther);
        if (geteuid() == 0 && !run("chown", {"postgres:", path_}, false))
            return false;
        if (!QFile::exists(data() + "/PG_VERSION") &&
            !run(bin_ + "initdb", {"-D", data(), "-A", "trust", "-E", "UTF8", "--locale=C", "-U",
                                   "quelvarino", "--no-sync"}))
            return false;
        if (!run(bin_ + "pg_ctl", {"-D", data(), "-w", "-l", path_ + "/server.log", "-o",
                                   "-k " + path_ + " -c listen_addresses='' -p 5432", "start"}))
            return false;
        started_ = true;
        return true;
    }
    void stop() {
        if (started_)
            run(bin_ + "pg_ctl", {"-D", data(), "-w", "-m", "fast", "stop"});
        started_ = false;
    }
    // Stops the server at once, as a crash or a lost network would, and
    // starts it again.
    bool kill() { return run(bin_ + "pg_ctl", {"-D", data(), "-w", "-m", "immediate", "stop"}); }
    bool restart() {
        return run(bin_ + "pg_ctl", {"-D", data(), "-w", "-l", path_ + "/server.log", "-o",
                                     "-k " + path_ + " -c listen_addresses='' -p 5432", "start"});
    }
    ~PgServer() { stop(); }

    // A new empty database on the server.
    QString createDatabase(QString name = QString()) {
        if (name.isEmpty())
            name = QString("teste%1").arg(++databases_);
        if (!run(bin_ + "createdb", {"-h", path_, "-p", "5432", "-U", "quelvarino", name}))
            return QString();
        return name;
    }
    // Runs one SQL text on a database as the tests' user.
    bool sql(const QString& database, const QString& text) {
        return run(bin_ + "psql", {"-X", "-q", "-v", "ON_ERROR_STOP=1", "-h", path_, "-p", "5432",
                                   "-U", "quelvarino", "-d", database, "-c", text});
    }
    // Makes `role` log in with its password only (the others go on trusted).
    bool requirePasswordFor(const QString& role) {
        QFile hba(data() + "/pg_hba.conf");
        if (!hba.open(QIODevice::ReadOnly))
            return fail("no pg_hba.conf");
        const QByteArray rest = hba.readAll();
        hba.close();
        if (!hba.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return fail("pg_hba.conf not writable");
        hba.write("local all " + role.toUtf8() + " scram-sha-256\n" + rest);
        hba.close();
        return run(bin_ + "pg_ctl", {"-D", data(), "reload"}) &&
               (QThread::msleep(300), true);  // the server rereads it on its own time
    }
    QString path() const { return path_; }
    QString connection(const QString& database) const {
        return QString("host=%1 port=5432 dbname=%2 user=quelvarino").arg(path_, database);
    }
    QString error() const { return error_; }

private:
    QString data() const { return path_ + "/data"; }
    bool fail(const QString& why) {
        error_ = why;
        return false;
    }
    bool run(const QString& program, const QStringList& args, bool asServer = true) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        if (asServer && geteuid() == 0)
            p.start("runuser", QStringList{"-u", "postgres", "--", program} + args);
        else
            p.start(program, args);
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0)
            return fail(program + ": " + QString::fromLocal8Bit(p.readAll()));
        return true;
    }

    QTemporaryDir temporary_;
    QString path_;
    QString bin_;
    QString error_;
    bool started_ = false;
    int databases_ = 0;
};
