// Store benchmark: builds a data folder with many clients, couriers and
// orders, then times the table objects against plain SQL on the same file.
//
//   store_bench [--orders N] [--folder PATH] [--keep] [--reuse]
//
// Prints the median of each measurement, the plain-SQL median, their ratio
// and the peak memory of the process.
#include "core/errors.h"
#include "data/database.h"
#include "data/datafolder.h"
#include "data/query.h"
#include "data/schema.h"
#include "data/table.h"

#include "benchfolder.h"

#include <sqlite3.h>
#include <sys/resource.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace quelvarino;
using namespace bench;

namespace {

struct Plain {
    sqlite3* db = nullptr;
    explicit Plain(const QString& file) {
        check(sqlite3_open(file.toUtf8().constData(), &db), db, "open");
        sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL", nullptr, nullptr,
                     nullptr);
        sqlite3_busy_timeout(db, 5000);
    }
    ~Plain() { sqlite3_close(db); }

    // Runs a statement with text parameters, reading every column of up to
    // `rows` rows as text. Returns the rows read.
    int run(const char* sql, const QList<QByteArray>& params, int rows = 1 << 30) {
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
};

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    Options o = parseOptions(app.arguments());
    const int orders = o.orders;
    const int clients = o.clients();

    try {
        prepareFolder(o);
        const QString file = DataFolder::mainDatabaseFile();
        Plain plain(file);
        QRandomGenerator rng(7);
        std::printf("%-44s %12s %12s %7s\n", "measurement", "table (ms)", "plain (ms)", "ratio");
        auto report = [](const char* what, const std::vector<double>& ours,
                         const std::vector<double>& theirs) {
            const double a = median(ours), b = median(theirs);
            std::printf("%-44s %12.4f %12.4f %7.2f\n", what, a, b, b > 0 ? a / b : 0);
        };

        // One durable post of an order, under numbers past the highest one
        // (a reused folder keeps those of earlier runs).
        {
            qint64 top = orders;
            {
                sqlite3_stmt* st = nullptr;
                check(sqlite3_prepare_v2(plain.db,
                                         "SELECT MAX(CAST(COMANDA AS INTEGER)) FROM tbordem", -1,
                                         &st, nullptr),
                      plain.db, "max");
                if (sqlite3_step(st) == SQLITE_ROW)
                    top = std::max<qint64>(top, sqlite3_column_int64(st, 0));
                sqlite3_finalize(st);
            }
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
                theirs.push_back(timeMs([&] {
                    plain.run(
                        "INSERT INTO tbordem (COMANDA, CODCLI, CLIENTE, DATA, TOTVAL, TOTHORN) "
                        "VALUES (?, '000001', 'X', '2026-12-08', 120, '004:00')",
                        {c});
                }));
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
                ours.push_back(timeMs([&] {
                    t.findNearest(key);
                    (void)t.fieldByName("CLIENTE").asString();
                }));
                const QByteArray k = key.toUtf8();
                theirs.push_back(timeMs([&] {
                    plain.run(
                        "SELECT rowid, * FROM tbordem WHERE COMANDA >= ? "
                        "ORDER BY COMANDA, rowid LIMIT 1",
                        {k});
                }));
            }
            report("find nearest by COMANDA", ours, theirs);

            t.close();
            t.setIndexName("CLIENTE");
            t.open();
            ours.clear();
            theirs.clear();
            for (int i = 0; i < 300; ++i) {
                const QString prefix = clientName(1 + rng.bounded(clients)).left(12);
                ours.push_back(timeMs([&] {
                    t.findNearest(prefix);
                    (void)t.fieldByName("CLIENTE").asString();
                }));
                const QByteArray k = prefix.toUtf8();
                theirs.push_back(timeMs([&] {
                    plain.run(
                        "SELECT rowid, * FROM tbordem WHERE CLIENTE >= ? "
                        "ORDER BY CLIENTE, rowid LIMIT 1",
                        {k});
                }));
            }
            report("find nearest by CLIENTE prefix", ours, theirs);

            // Walking 10,000 records in index order.
            ours.clear();
            theirs.clear();
            for (int i = 0; i < 9; ++i) {
                const QString prefix = clientName(1 + rng.bounded(clients / 2));
                ours.push_back(timeMs([&] {
                    t.findNearest(prefix);
                    for (int n = 0; n < 10000 && !t.eof(); ++n) {
                        (void)t.fieldByName("COMANDA").asString();
                        t.next();
                    }
                }));
                const QByteArray k = prefix.toUtf8();
                theirs.push_back(timeMs([&] {
                    plain.run(
                        "SELECT rowid, * FROM tbordem WHERE CLIENTE >= ? "
                        "ORDER BY CLIENTE, rowid",
                        {k}, 10000);
                }));
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
                theirs.push_back(timeMs(
                    [&] { plain.run("SELECT COUNT(*) FROM tbordem WHERE CLIENTE < ?", {name}); }));
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
                const QByteArray a = from.toString(Qt::ISODate).toUtf8(),
                                 b = to.toString(Qt::ISODate).toUtf8();
                theirs.push_back(timeMs([&] {
                    n2 = plain.run(
                        "SELECT * FROM tbordem WHERE DATA >= ? AND DATA <= ? ORDER BY DATA",
                        {a, b});
                }));
                if (n1 != n2) {
                    std::fprintf(stderr, "month query: %d rows against %d\n", n1, n2);
                    return 1;
                }
            }
            report("a month's orders by date", ours, theirs);
        }

        std::printf("\npeak memory: %ld MB\n", peakMemoryMb());
        Database::resetMain();
        removeFolder(o);
    } catch (const Error& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}
