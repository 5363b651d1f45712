// Store benchmark: builds a data folder with many clients, couriers and
// orders, then times the table objects against plain SQL on the same file
// (sqlite3's own interface), and with --server the same measurements on a
// private PostgreSQL server holding the same rows (plain SQL there is
// libpq's own interface).
//
//   store_bench [--orders N] [--folder PATH] [--keep] [--reuse] [--server]
//
// Prints the median of each measurement, the plain-SQL median, their ratio
// and the peak memory of the process. The server's files are kept in
// PATH/servidor with --keep and used again with --reuse.
#include "core/errors.h"
#include "data/database.h"
#include "data/datafolder.h"
#include "data/query.h"
#include "data/schema.h"
#include "data/table.h"

#include "benchfolder.h"
#include "pgserver.h"

#include <libpq-fe.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using namespace quelvarino;
using namespace bench;

namespace {

// Plain SQL on one store: a statement with text parameters, every column
// of up to `rows` rows read as text. Returns the rows read.
struct Plain {
    virtual ~Plain() = default;
    virtual int run(const char* sql, const QList<QByteArray>& params, int rows = 1 << 30) = 0;
    virtual qint64 number(const char* sql) = 0;
};

struct PlainSqlite : Plain {
    sqlite3* db = nullptr;
    explicit PlainSqlite(const QString& file) {
        check(sqlite3_open(file.toUtf8().constData(), &db), db, "open");
        // The program's own durability: SYNCHRONOUS=FULL in its place
        // measures what the program paid before EXTRA.
        const QByteArray pragmas = "PRAGMA journal_mode=DELETE; PRAGMA synchronous=" +
                                   qEnvironmentVariable("PLAIN_SYNCHRONOUS", "EXTRA").toLatin1();
        sqlite3_exec(db, pragmas.constData(), nullptr, nullptr, nullptr);
        sqlite3_busy_timeout(db, 5000);
    }
    ~PlainSqlite() override { sqlite3_close(db); }

    int run(const char* sql, const QList<QByteArray>& params, int rows) override {
        sqlite3_stmt* st = nullptr;
        check(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), db, sql);
        for (int i = 0; i < params.size(); ++i)
            sqlite3_bind_text(st, i + 1, params[i].constData(), -1, SQLITE_TRANSIENT);
        int n = 0;
        size_t bytes = 0;
        while (n < rows && sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                bytes += sqlite3_column_bytes(st, c) + (sqlite3_column_text(st, c) ? 1 : 0);
            ++n;
        }
        sqlite3_finalize(st);
        (void)bytes;
        return n;
    }
    qint64 number(const char* sql) override {
        sqlite3_stmt* st = nullptr;
        check(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), db, sql);
        qint64 out = 0;
        if (sqlite3_step(st) == SQLITE_ROW)
            out = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
        return out;
    }
};

struct PlainServer : Plain {
    PGconn* conn = nullptr;
    explicit PlainServer(const QString& connection) {
        conn = PQconnectdb(connection.toUtf8().constData());
        if (PQstatus(conn) != CONNECTION_OK) {
            std::fprintf(stderr, "server: %s\n", PQerrorMessage(conn));
            std::exit(1);
        }
    }
    ~PlainServer() override { PQfinish(conn); }

    PGresult* exec(const char* sql, const QList<QByteArray>& params) {
        std::vector<const char*> values;
        for (const QByteArray& p : params)
            values.push_back(p.constData());
        PGresult* r = PQexecParams(conn, sql, int(values.size()), nullptr, values.data(), nullptr,
                                   nullptr, 0);
        if (PQresultStatus(r) != PGRES_TUPLES_OK && PQresultStatus(r) != PGRES_COMMAND_OK) {
            std::fprintf(stderr, "%s: %s\n", sql, PQerrorMessage(conn));
            std::exit(1);
        }
        return r;
    }
    int run(const char* sql, const QList<QByteArray>& params, int rows) override {
        PGresult* r = exec(sql, params);
        const int n = std::min(rows, PQntuples(r));
        size_t bytes = 0;
        for (int i = 0; i < n; ++i)
            for (int c = 0; c < PQnfields(r); ++c)
                bytes += PQgetlength(r, i, c) + (PQgetisnull(r, i, c) ? 0 : 1) +
                         (PQgetvalue(r, i, c)[0] != 0);
        PQclear(r);
        (void)bytes;
        return n;
    }
    qint64 number(const char* sql) override {
        PGresult* r = exec(sql, {});
        const qint64 out = PQntuples(r) > 0 ? QByteArray(PQgetvalue(r, 0, 0)).toLongLong() : 0;
        PQclear(r);
        return out;
    }
};

// The plain statements of one store, on the same indexes the table objects
// use (text in byte order, empty values first, then the row id).
struct Statements {
    const char* highest;
    const char* insert;
    const char* nearestComanda;
    const char* nearestCliente;
    const char* walk;  // up to 10,000 rows
    const char* count;
    const char* month;
};

const Statements kSqlite{
    "SELECT MAX(CAST(COMANDA AS INTEGER)) FROM tbordem",
    "INSERT INTO tbordem (COMANDA, CODCLI, CLIENTE, DATA, TOTVAL, TOTHORN) "
    "VALUES (?, '000001', 'X', '2026-12-08', 120, '004:00')",
    "SELECT rowid, * FROM tbordem WHERE COMANDA >= ? ORDER BY COMANDA, rowid LIMIT 1",
    "SELECT rowid, * FROM tbordem WHERE CLIENTE >= ? ORDER BY CLIENTE, rowid LIMIT 1",
    "SELECT rowid, * FROM tbordem WHERE CLIENTE >= ? ORDER BY CLIENTE, rowid",
    "SELECT COUNT(*) FROM tbordem WHERE CLIENTE < ?",
    "SELECT * FROM tbordem WHERE DATA >= ? AND DATA <= ? ORDER BY DATA"};

const Statements kServer{
    "SELECT MAX(CAST(comanda AS BIGINT)) FROM tbordem",
    "INSERT INTO tbordem (comanda, codcli, cliente, data, totval, tothorn) "
    "VALUES ($1, '000001', 'X', '2026-12-08', 120, '004:00')",
    "SELECT * FROM tbordem WHERE comanda >= $1 ORDER BY comanda NULLS FIRST, rowid LIMIT 1",
    "SELECT * FROM tbordem WHERE cliente >= $1 ORDER BY cliente NULLS FIRST, rowid LIMIT 1",
    "SELECT * FROM tbordem WHERE cliente >= $1 ORDER BY cliente NULLS FIRST, rowid LIMIT 10000",
    "SELECT COUNT(*) FROM tbordem WHERE cliente < $1",
    "SELECT * FROM tbordem WHERE data >= $1 AND data <= $2 ORDER BY data NULLS FIRST"};

// One field of a row in COPY's text form.
void copyValue(sqlite3_stmt* st, int c, QByteArray& line) {
    switch (sqlite3_column_type(st, c)) {
        case SQLITE_NULL:
            line += "\\N";
            return;
        case SQLITE_BLOB: {
            const QByteArray bytes(static_cast<const char*>(sqlite3_column_blob(st, c)),
                                   sqlite3_column_bytes(st, c));
            line += "\\\\x" + bytes.toHex();
            return;
        }
        default:
            break;
    }
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
    for (const char* p = text; *p; ++p) {
        switch (*p) {
            case '\\':
                line += "\\\\";
                break;
            case '\t':
                line += "\\t";
                break;
            case '\n':
                line += "\\n";
                break;
            case '\r':
                line += "\\r";
                break;
            default:
                line += *p;
        }
    }
}

// Every row of the generated file into the server's tables (made by the
// program on the empty database), then the counters past them.
void copyToServer(const QString& file, PGconn* conn) {
    const Backend& backend = Database::main()->backend();  // makes the tables
    sqlite3* db = nullptr;
    check(sqlite3_open(file.toUtf8().constData(), &db), db, "open");
    for (const TableDef& t : schema::mainTables()) {
        QStringList columns;
        for (const FieldDef& f : t.fields)
            columns.append(f.name);
        sqlite3_stmt* st = nullptr;
        check(sqlite3_prepare_v2(db,
                                 QString("SELECT %1 FROM %2 ORDER BY rowid")
                                     .arg(columns.join(", "), t.name)
                                     .toUtf8()
                                     .constData(),
                                 -1, &st, nullptr),
              db, "read for the server");
        const QByteArray copy =
            QString("COPY %1 (%2) FROM STDIN").arg(t.name, columns.join(", ").toLower()).toUtf8();
        PGresult* r = PQexec(conn, copy.constData());
        if (PQresultStatus(r) != PGRES_COPY_IN) {
            std::fprintf(stderr, "%s: %s\n", copy.constData(), PQerrorMessage(conn));
            std::exit(1);
        }
        PQclear(r);
        QByteArray line;
        while (sqlite3_step(st) == SQLITE_ROW) {
            line.clear();
            for (int c = 0; c < columns.size(); ++c) {
                if (c)
                    line += '\t';
                copyValue(st, c, line);
            }
            line += '\n';
            if (PQputCopyData(conn, line.constData(), int(line.size())) != 1) {
                std::fprintf(stderr, "copy: %s\n", PQerrorMessage(conn));
                std::exit(1);
            }
        }
        sqlite3_finalize(st);
        if (PQputCopyEnd(conn, nullptr) != 1) {
            std::fprintf(stderr, "copy end: %s\n", PQerrorMessage(conn));
            std::exit(1);
        }
        r = PQgetResult(conn);
        if (PQresultStatus(r) != PGRES_COMMAND_OK) {
            std::fprintf(stderr, "copy into %s: %s\n", qPrintable(t.name), PQerrorMessage(conn));
            std::exit(1);
        }
        PQclear(r);
        while ((r = PQgetResult(conn)))
            PQclear(r);
        for (const QString& statement : backend.counterStatements(t))
            PQclear(PQexec(conn, statement.toUtf8().constData()));
    }
    sqlite3_close(db);
    PQclear(PQexec(conn, "VACUUM ANALYZE"));
}

void report(const char* what, const std::vector<double>& ours, const std::vector<double>& theirs) {
    const double a = median(ours), b = median(theirs);
    std::printf("%-44s %12.4f %12.4f %7.2f\n", what, a, b, b > 0 ? a / b : 0);
}

// Every measurement on the store the program points at. Before each timed
// pair the same rows are read once untimed, so both sides read pages the
// store and the system already hold (otherwise the first of the two pays
// for reading them from the disk and the second does not).
bool measure(const Options& o, Plain& plain, const Statements& sql) {
    const int orders = o.orders;
    const int clients = o.clients();
    QRandomGenerator rng(7);
    std::printf("%-44s %12s %12s %7s\n", "measurement", "table (ms)", "plain (ms)", "ratio");

    // One durable post of an order, under numbers past the highest one
    // (a reused folder keeps those of earlier runs).
    {
        const qint64 top = std::max<qint64>(orders, plain.number(sql.highest));
        Table t("tbordem");
        t.open();
        std::vector<double> ours, theirs;
        for (int i = 0; i < 15; ++i) {
            ours.push_back(timeMs([&] {
                t.insert();
                t.fieldByName("COMANDA").setAsString(code(top + 1 + i, 10));
                t.fieldByName("CODCLI").setAsString("000001");
                t.fieldByName("CLIENTE").setAsString(clientName(1));
                t.fieldByName("DATA").setAsString("08/12/2026");
                t.fieldByName("TOTVAL").setAsString("120,00");
                t.fieldByName("TOTHORN").setAsString("004:00");
                t.post();
            }));
            const QByteArray c = code(top + 100 + i, 10).toUtf8();
            theirs.push_back(timeMs([&] { plain.run(sql.insert, {c}); }));
        }
        report("one durable post of an order", ours, theirs);
    }

    // Find nearest by COMANDA and by a CLIENTE prefix.
    {
        Table t("tbordem");
        t.open();
        std::vector<double> ours, theirs;
        for (int i = 0; i < 300; ++i) {
            const QString key = code(1 + rng.bounded(orders), 10);
            plain.run(sql.nearestComanda, {key.toUtf8()});  // warm: both read cached pages
            ours.push_back(timeMs([&] {
                t.findNearest(key);
                (void)t.fieldByName("CLIENTE").asString();
            }));
            const QByteArray k = key.toUtf8();
            theirs.push_back(timeMs([&] { plain.run(sql.nearestComanda, {k}); }));
        }
        report("find nearest by COMANDA", ours, theirs);

        t.close();
        t.setIndexName("CLIENTE");
        t.open();
        ours.clear();
        theirs.clear();
        for (int i = 0; i < 300; ++i) {
            const QString prefix = clientName(1 + rng.bounded(clients)).left(12);
            plain.run(sql.nearestCliente, {prefix.toUtf8()});
            ours.push_back(timeMs([&] {
                t.findNearest(prefix);
                (void)t.fieldByName("CLIENTE").asString();
            }));
            const QByteArray k = prefix.toUtf8();
            theirs.push_back(timeMs([&] { plain.run(sql.nearestCliente, {k}); }));
        }
        report("find nearest by CLIENTE prefix", ours, theirs);

        // Walking 10,000 records in index order.
        ours.clear();
        theirs.clear();
        for (int i = 0; i < 9; ++i) {
            const QString prefix = clientName(1 + rng.bounded(clients / 2));
            plain.run(sql.walk, {prefix.toUtf8()}, 10000);
            ours.push_back(timeMs([&] {
                t.findNearest(prefix);
                for (int n = 0; n < 10000 && !t.eof(); ++n) {
                    (void)t.fieldByName("COMANDA").asString();
                    t.next();
                }
            }));
            const QByteArray k = prefix.toUtf8();
            theirs.push_back(timeMs([&] { plain.run(sql.walk, {k}, 10000); }));
        }
        report("walk 10,000 records by CLIENTE", ours, theirs);

        // Row number of a key in its index order.
        ours.clear();
        theirs.clear();
        for (int i = 0; i < 31; ++i) {
            const QString prefix = clientName(1 + rng.bounded(clients));
            t.findNearest(prefix);
            const QByteArray name = t.fieldByName("CLIENTE").asString().toUtf8();
            ours.push_back(timeMs([&] { (void)t.recordIndex(); }));
            theirs.push_back(timeMs([&] { plain.run(sql.count, {name}); }));
        }
        report("row number of a key (CLIENTE order)", ours, theirs);
    }

    // A month's orders selected by date.
    {
        std::vector<double> ours, theirs;
        for (int i = 0; i < 9; ++i) {
            const QDate from = QDate(2016, 1, 1).addMonths(rng.bounded(110));
            const QDate to = from.addMonths(1).addDays(-1);
            int n1 = 0, n2 = 0;
            const QByteArray a = from.toString(Qt::ISODate).toUtf8(),
                             b = to.toString(Qt::ISODate).toUtf8();
            plain.run(sql.month, {a, b});
            ours.push_back(timeMs([&] {
                Query q;
                q.add("Select * from tbordem");
                q.add("Where DATA >= :inicio and DATA <= :fim");
                q.add("Order By DATA");
                q.bindDate(":inicio", from);
                q.bindDate(":fim", to);
                q.open();
                const int columns = q.fieldNames().size();
                for (q.first(); !q.eof(); q.next()) {
                    // every field of the row as text, as the plain loop reads it
                    for (int c = 0; c < columns; ++c)
                        (void)q.fieldText(c);
                    ++n1;
                }
            }));
            theirs.push_back(timeMs([&] { n2 = plain.run(sql.month, {a, b}); }));
            if (n1 != n2) {
                std::fprintf(stderr, "month query: %d rows against %d\n", n1, n2);
                return false;
            }
        }
        report("a month's orders by date", ours, theirs);
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    Options o = parseOptions(app.arguments());
    const bool server = app.arguments().contains("--server");

    try {
        prepareFolder(o);
        {
            std::printf("embedded store (SQLite)\n");
            PlainSqlite plain(DataFolder::mainDatabaseFile());
            if (!measure(o, plain, kSqlite))
                return 1;
            std::printf("\npeak memory: %ld MB\n", peakMemoryMb());
        }
        if (server) {
            // The same rows on a private server on this machine (a Unix
            // socket: no network in the figures).
            const QString folder = o.folder + "/servidor";
            const bool reuse = o.reuse && QFile::exists(folder + "/data/PG_VERSION");
            if (!reuse)
                QDir(folder).removeRecursively();
            PgServer pg(folder);
            if (!pg.start()) {
                std::fprintf(stderr, "server: %s\n", qPrintable(pg.error()));
                return 1;
            }
            if (!reuse && pg.createDatabase("quelvarino").isEmpty()) {
                std::fprintf(stderr, "server: %s\n", qPrintable(pg.error()));
                return 1;
            }
            const QString connection = pg.connection("quelvarino");
            Database::resetMain();
            DataFolder::setServer(o.folder, connection);
            PlainServer plain(connection);
            if (!reuse) {
                std::printf("\ncopying the rows to the server\n");
                const double ms =
                    timeMs([&] { copyToServer(DataFolder::mainDatabaseFile(), plain.conn); });
                std::printf("copied in %.1f s\n", ms / 1000);
            }
            std::printf("\nPostgreSQL server (%s)\n",
                        PQparameterStatus(plain.conn, "server_version"));
            if (!measure(o, plain, kServer))
                return 1;
            std::printf("\npeak memory of this process: %ld MB\n", peakMemoryMb());
            Database::resetMain();
        }
        Database::resetMain();
        removeFolder(o);
    } catch (const Error& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}
