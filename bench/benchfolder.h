// The command line and the data folder the benchmarks share:
//   [--orders N] [--folder PATH] [--keep] [--reuse] [--runs N] [--only WHAT]
#pragma once

#include "benchdata.h"
#include "data/database.h"
#include "data/datafolder.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace bench {

struct Options {
    int orders = 1000000;
    int runs = 0;  // the benchmark's own default when not given
    QString folder = QDir::currentPath() + "/bench-data";
    bool keep = false;
    bool reuse = false;  // a folder kept by an earlier run, not generated again
    QString only;        // one measurement alone (for profiling)
    int clients() const { return std::max(10, orders / 200); }
    int couriers() const { return std::max(5, orders / 2000); }
};

inline Options parseOptions(const QStringList& args, int defaultRuns = 0) {
    Options o;
    o.runs = defaultRuns;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--orders" && i + 1 < args.size())
            o.orders = args[++i].toInt();
        else if (args[i] == "--folder" && i + 1 < args.size())
            o.folder = args[++i];
        else if (args[i] == "--runs" && i + 1 < args.size())
            o.runs = std::max(1, args[++i].toInt());
        else if (args[i] == "--keep")
            o.keep = true;
        else if (args[i] == "--reuse")
            o.reuse = true;
        else if (args[i] == "--only" && i + 1 < args.size())
            o.only = args[++i];
    }
    return o;
}

// The data folder of the options, generated unless a kept one is reused;
// the program's store then points at it.
inline void prepareFolder(Options& o) {
    o.reuse = o.reuse && QFile::exists(o.folder + "/quelvarino.db");
    if (!o.reuse) {
        QDir(o.folder).removeRecursively();
        QDir().mkpath(o.folder);
    }
    quelvarino::DataFolder::setPath(o.folder);
    quelvarino::DataFolder::prepare();
    quelvarino::Database::resetMain();
    if (!o.reuse) {
        std::printf("generating %d orders, %d clients, %d couriers in %s\n", o.orders, o.clients(),
                    o.couriers(), qPrintable(o.folder));
        const double ms = timeMs([&] {
            generate(quelvarino::DataFolder::mainDatabaseFile(), o.clients(), o.couriers(),
                     o.orders);
        });
        std::printf("generated in %.1f s\n\n", ms / 1000);
    }
}

// The generated folder goes unless it was asked for or reused.
inline void removeFolder(const Options& o) {
    if (!o.keep && !o.reuse)
        QDir(o.folder).removeRecursively();
}

}  // namespace bench
