#include "app/workfolders.h"

#include <QDir>
#include <QFile>

namespace quelvarino {
namespace {

// Files of the work tables in a folder. Lock and journal files belong to a
// database in use, not to the table, and are never copied.
QStringList workTableFiles(const QString& folder) {
    QStringList out;
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("tbrelatorio*.*")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        if (!name.endsWith(QLatin1String("-journal")) && !name.endsWith(QLatin1String(".lck")))
            out.append(name);
    }
    return out;
}

void copyAll(const QString& from, const QString& to, QStringList* failures) {
    for (const QString& name : workTableFiles(from)) {
        const QString source = from + '/' + name;
        const QString destination = to + '/' + name;
        if (!QFile::copy(source, destination))  // never overwrites
            failures->append(QStringLiteral("Erro ao copiar ") + source + QStringLiteral(" para ") +
                             destination);
    }
}

}  // namespace

QStringList prepareWorkFolders(const QString& dataFolder) {
    QStringList failures;
    const QString reports = dataFolder + QStringLiteral("/Relatorios");
    if (QDir(reports).entryList(QDir::Files).isEmpty())
        QDir().mkpath(reports);

    const QString work = dataFolder + QStringLiteral("/Backup/Relatorio");
    const QString pristine = work + QStringLiteral("/Tbv");
    if (!QDir(pristine).entryList({QStringLiteral("tb*.*")}, QDir::Files).isEmpty()) {
        for (int n = 1; n <= 2; ++n) {
            const QString stem = work + QStringLiteral("/tbrelatorio8_%1").arg(n);
            // The old Paradox files and our own; a journal left by a crash
            // must go too, or it would be replayed into the fresh copy.
            for (const char* ext : {".db", ".px", ".x02", ".y02", ".db-journal", ".db.lck"})
                QFile::remove(stem + QLatin1String(ext));
        }
        copyAll(pristine, work, &failures);
    } else {
        QDir().mkpath(dataFolder + QStringLiteral("/Backup"));
        QDir().mkpath(work);
        QDir().mkpath(pristine);
        copyAll(dataFolder, pristine, &failures);
        copyAll(dataFolder, work, &failures);
    }
    return failures;
}

}  // namespace quelvarino
