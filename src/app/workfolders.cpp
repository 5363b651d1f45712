#include "app/workfolders.h"

#include "data/backup.h"
#include "data/durablefiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quelvarino {
namespace {

// Files of the work tables in a folder (no partial copies). Lock and journal files belong to a
// database in use, not to the table, and are never copied.
QStringList workTableFiles(const QString& folder) {
    QStringList out;
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("tbrelatorio*.*")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        if (!name.endsWith(QLatin1String("-journal")) && !name.endsWith(QLatin1String(".lck")) &&
            !name.contains(QLatin1String(".parte")))
            out.append(name);
    }
    return out;
}

// The working copies, on the disk before the reports use them.
void copyAll(const QString& from, const QString& to, QStringList* failures) {
    for (const QString& name : workTableFiles(from)) {
        const QString source = from + '/' + name;
        const QString destination = to + '/' + name;
        if (!QFile::copy(source, destination) || !syncFile(destination))  // never overwrites
            failures->append(QStringLiteral("Erro ao copiar ") + source + QStringLiteral(" para ") +
                             destination);
    }
    syncFolder(to);
}

// A copy that can serve: there, as long as its template, and for our own
// tables an SQLite file whose pages pass the quick check: a copy torn by a
// power cut may have the right size and a good header over damaged pages.
bool usable(const QString& copy, const QString& original) {
    const QFileInfo c(copy), o(original);
    if (!c.isFile() || c.size() != o.size() || c.size() == 0)
        return false;
    if (!copy.endsWith(QLatin1String(".db")))
        return true;
    QFile f(copy);
    if (!f.open(QIODevice::ReadOnly) || f.read(16) != QByteArray("SQLite format 3\0", 16))
        return false;
    return Backups::check(copy, nullptr, true);
}

// The pristine copies: each one missing or unreadable (a start killed
// between two copies, a damaged file) made again from its template, under
// a name of its own and renamed into place, so a copy is whole or absent.
void repairPristine(const QString& dataFolder, const QString& pristine, QStringList* failures) {
    for (const QString& name : workTableFiles(dataFolder)) {
        const QString source = dataFolder + '/' + name;
        const QString copy = pristine + '/' + name;
        if (usable(copy, source))
            continue;
        QFile::remove(copy);
        const QString part =
            copy + QStringLiteral(".parte%1").arg(QCoreApplication::applicationPid());
        QFile::remove(part);
        if (!QFile::copy(source, part) || !durablyReplace(part, copy)) {
            QFile::remove(part);
            if (!usable(copy, source))  // another workstation may have just made it
                failures->append(QStringLiteral("Erro ao copiar ") + source +
                                 QStringLiteral(" para ") + copy);
        }
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
    const bool laterStart =
        !QDir(pristine).entryList({QStringLiteral("tb*.*")}, QDir::Files).isEmpty();
    QDir().mkpath(work);
    QDir().mkpath(pristine);
    repairPristine(dataFolder, pristine, &failures);
    if (laterStart) {
        for (int n = 1; n <= 2; ++n) {
            const QString stem = work + QStringLiteral("/tbrelatorio8_%1").arg(n);
            // The old Paradox files and our own; a journal left by a crash
            // must go too, or it would be replayed into the fresh copy.
            for (const char* ext : {".db", ".px", ".x02", ".y02", ".db-journal", ".db.lck"})
                QFile::remove(stem + QLatin1String(ext));
        }
        copyAll(pristine, work, &failures);
    } else {
        copyAll(dataFolder, work, &failures);
    }
    return failures;
}

}  // namespace quelvarino
