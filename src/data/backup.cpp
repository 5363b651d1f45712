#include "data/backup.h"

#include "core/errors.h"
#include "data/durablefiles.h"
#include "data/mountlocks.h"
#include "data/schema.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

namespace quelvarino {
namespace {

std::atomic<bool> stopAsked{false};
// The connection of the check running now: an integrity check is one step
// of the engine, ended only by an interrupt of its connection.
std::mutex checkingMutex;
sqlite3* checking = nullptr;

// Ends a long check or copy between two of its steps once the program asks.
int stopWhenAsked(void*) {
    return stopAsked.load() ? 1 : 0;
}

QString sqliteText(sqlite3* db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("sem memória");
}

// Copies `from` into the new file `to` with the online backup: a reading
// snapshot of the source, waiting for a writer that holds it.
void onlineCopy(const QString& from, const QString& to) {
    sqlite3* source = nullptr;
    sqlite3* target = nullptr;
    auto closeBoth = [&] {
        sqlite3_close(source);
        sqlite3_close(target);
    };
    if (sqlite3_open_v2(QFile::encodeName(from).constData(), &source, SQLITE_OPEN_READONLY,
                        nullptr) != SQLITE_OK ||
        sqlite3_open_v2(QFile::encodeName(to).constData(), &target,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const QString why = sqliteText(target ? target : source);
        closeBoth();
        throw StoreError(why);
    }
    sqlite3_busy_timeout(source, 10000);
    sqlite3_busy_timeout(target, 10000);
    sqlite3_backup* b = sqlite3_backup_init(target, "main", source, "main");
    if (!b) {
        const QString why = sqliteText(target);
        closeBoth();
        throw StoreError(why);
    }
    int rc = SQLITE_OK;
    do {
        if (stopAsked) {
            sqlite3_backup_finish(b);
            closeBoth();
            throw BackupStopped();
        }
        rc = sqlite3_backup_step(b, 256);
        if (Backups::copyStepHook())
            Backups::copyStepHook()();
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            sqlite3_sleep(50);
    } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
    sqlite3_backup_finish(b);
    const int finish = sqlite3_errcode(target);
    const QString why = sqliteText(target);
    closeBoth();
    if (rc != SQLITE_DONE || finish != SQLITE_OK)
        throw StoreError(why);
}

// A lock of this open file (not of the process) on the file's first byte,
// taken at once or refused.
bool lockFirstByte(int fd, short type = F_WRLCK) {
    return lockByte(fd, 0, type == F_RDLCK);
}

int lockFd(const QString& database, short type, bool* refused) {
    const QByteArray path = QFile::encodeName(database + QStringLiteral(".uso"));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return -1;
    if (!lockFirstByte(fd, type)) {
        if (refused)
            *refused = errno == EAGAIN || errno == EACCES;
        ::close(fd);
        return -1;
    }
    return fd;
}

// A partial copy is held (a write lock on its first byte, apart from the
// engine's own lock bytes) by the program writing it, on any workstation:
// one nobody holds, and not just made, was left by a program that ended.
constexpr qint64 kPartAgeMs = 60 * 1000;

void removeStaleParts(const QString& folder) {
    const QFileInfoList parts =
        QDir(folder).entryInfoList({QStringLiteral("quelvarino-*.db.parte*")}, QDir::Files);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const QFileInfo& part : parts) {
        if (part.fileName().endsWith(QLatin1String("-journal")) ||
            part.lastModified().msecsTo(now) < kPartAgeMs)
            continue;
        const QByteArray path = QFile::encodeName(part.filePath());
        const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (lockFirstByte(fd)) {
            ::unlink(path.constData());
            ::unlink((path + "-journal").constData());
        }
        ::close(fd);
    }
}

// A copy of `from` at `to`, on the disk when this returns.
bool copyDurably(const QString& from, const QString& to) {
    QFile::remove(to);
    return QFile::copy(from, to) && syncFile(to);
}

}  // namespace

std::function<void()>& Backups::copyStepHook() {
    static std::function<void()> hook;
    return hook;
}

void Backups::requestStop(bool stop) {
    std::lock_guard<std::mutex> lock(checkingMutex);
    stopAsked = stop;
    if (stop && checking)
        sqlite3_interrupt(checking);
}

QString Backups::fileName(const QDate& day) {
    return QStringLiteral("quelvarino-%1.db").arg(day.toString(QStringLiteral("yyyy-MM-dd")));
}

QDate Backups::dayOf(const QString& name) {
    static const QRegularExpression pattern(
        QStringLiteral("^quelvarino-(\\d{4}-\\d{2}-\\d{2})\\.db$"));
    const auto m = pattern.match(name);
    return m.hasMatch() ? QDate::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd")) : QDate();
}

QStringList Backups::kept(const QStringList& names, const QDate& today) {
    QMap<QDate, QString> byDay;
    for (const QString& n : names) {
        const QDate d = dayOf(n);
        if (d.isValid() && d <= today)
            byDay.insert(d, n);
    }
    QStringList keep;
    const QList<QDate> days = byDay.keys();  // oldest first
    for (qsizetype i = qMax<qsizetype>(0, days.size() - 7); i < days.size(); ++i)
        keep.append(byDay.value(days[i]));
    const QDate firstMonth = QDate(today.year(), today.month(), 1).addMonths(-11);
    QMap<QPair<int, int>, QDate> firstOfMonth;
    for (const QDate& d : days) {
        if (d < firstMonth)
            continue;
        const QPair<int, int> month(d.year(), d.month());
        if (!firstOfMonth.contains(month))
            firstOfMonth.insert(month, d);
    }
    for (const QDate& d : firstOfMonth)
        keep.append(byDay.value(d));
    keep.removeDuplicates();
    keep.sort();
    return keep;
}

void Backups::rotate(const QString& folder, const QDate& today) {
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("quelvarino-*.db")}, QDir::Files);
    const QStringList keep = kept(names, today);
    for (const QString& n : names) {
        if (dayOf(n).isValid() && dayOf(n) <= today && !keep.contains(n))
            QFile::remove(folder + QLatin1Char('/') + n);
    }
}

QString Backups::takeDaily(const QString& database, const QString& folder, const QDate& today) {
    const QString target = folder + QLatin1Char('/') + fileName(today);
    if (QFileInfo::exists(target))
        return QString();
    if (!QDir().mkpath(folder))
        throw StoreError(
            QStringLiteral("Não foi possível criar a pasta das cópias de segurança %1.")
                .arg(QDir::toNativeSeparators(folder)));
    removeStaleParts(folder);
    const QString part =
        target + QStringLiteral(".parte%1").arg(QCoreApplication::applicationPid());
    QFile::remove(part);
    const int held =
        ::open(QFile::encodeName(part).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0660);
    if (held >= 0)
        lockFirstByte(held);
    auto dropPart = [&] {
        QFile::remove(part);
        QFile::remove(part + QStringLiteral("-journal"));
        if (held >= 0)
            ::close(held);
    };
    try {
        if (held < 0)
            throw StoreError(QString::fromLocal8Bit(std::strerror(errno)));
        onlineCopy(database, part);
        QString reason;
        if (!check(part, &reason)) {
            // The copy is as the database is: a copy that fails the full
            // check of indexes and data comes from a damaged database
            // (the start's quick check leaves the indexes out), unless
            // the database itself passes it.
            QString findings;
            if (!check(database, &findings))
                throw DatabaseDamaged(damageMessage(database, folder, findings));
            throw StoreError(reason.left(200));
        }
    } catch (const BackupStopped&) {
        dropPart();
        throw;
    } catch (const DatabaseDamaged&) {
        dropPart();
        throw;
    } catch (const StoreError& e) {
        dropPart();
        throw StoreError(QStringLiteral("Não foi possível fazer a cópia de segurança do dia em %1 "
                                        "(%2).\n\nVerifique o espaço em disco e a permissão de "
                                        "gravação na pasta Backup; o sistema continua normalmente.")
                             .arg(QDir::toNativeSeparators(target), e.text()));
    }
    // Another workstation may have taken today's copy meanwhile: keep its.
    if (::link(QFile::encodeName(part).constData(), QFile::encodeName(target).constData()) != 0 &&
        errno != EEXIST && !QFileInfo::exists(target))
        QFile::rename(part, target);
    QFile::remove(part);
    ::close(held);
    syncFolder(folder);
    rotate(folder, today);
    return target;
}

QString Backups::damageMessage(const QString& database,
                               const QString& folder,
                               const QString& findings) {
    QString report;
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/verificacao-%1.txt")
                            .arg(QDateTime::currentDateTime().toString(
                                QStringLiteral("yyyy-MM-dd-hhmmss"))));
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        file.write(QStringLiteral("Verificação do banco de dados %1\n\n%2\n")
                       .arg(database, findings)
                       .toUtf8());
        file.close();
        report = QStringLiteral(" O que a verificação encontrou está em %1, para o técnico.")
                     .arg(QDir::toNativeSeparators(file.fileName()));
    }
    return QStringLiteral(
               "O banco de dados %1 está danificado.\n\nFeche o sistema em todas as "
               "estações e restaure a última cópia de segurança da pasta %2 "
               "(QuelvarinoBasic --restaurar <cópia>). A cópia de hoje não foi feita e "
               "as dos dias anteriores foram mantidas.%3")
        .arg(QDir::toNativeSeparators(database), QDir::toNativeSeparators(folder), report);
}

bool Backups::check(const QString& file, QString* reason, bool quick) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        if (reason)
            *reason = sqliteText(db);
        sqlite3_close(db);
        return false;
    }
    sqlite3_stmt* st = nullptr;
    QString result;
    sqlite3_busy_timeout(db, 10000);
    sqlite3_progress_handler(db, 10000, &stopWhenAsked, nullptr);
    {
        std::lock_guard<std::mutex> lock(checkingMutex);
        checking = db;
        if (stopAsked)
            sqlite3_interrupt(db);
    }
    if (sqlite3_prepare_v2(db, quick ? "PRAGMA quick_check" : "PRAGMA integrity_check", -1, &st,
                           nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW)
            result += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) +
                      QLatin1Char(' ');
    } else {
        result = sqliteText(db);
    }
    const bool stopped = stopAsked && (sqlite3_errcode(db) == SQLITE_INTERRUPT ||
                                       result.contains(QLatin1String("interrupt")));
    {
        std::lock_guard<std::mutex> lock(checkingMutex);
        checking = nullptr;
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    if (stopped)
        throw BackupStopped();
    result = result.trimmed();
    if (result == QLatin1String("ok"))
        return true;
    if (reason)
        *reason = result.isEmpty() ? QStringLiteral("arquivo ilegível") : result;
    return false;
}

namespace {

// What of the program's tables and fields the file lacks (empty: it has
// them all), read from the file's own catalogue.
QString missingFromSchema(const QString& file) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return QStringLiteral("o arquivo não pode ser aberto");
    }
    QString missing;
    for (const TableDef& table : schema::mainTables()) {
        QSet<QString> columns;
        sqlite3_stmt* st = nullptr;
        const QByteArray sql =
            "SELECT name FROM pragma_table_info(" + QByteArray("'") + table.name.toUtf8() + "')";
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) == SQLITE_OK) {
            while (sqlite3_step(st) == SQLITE_ROW)
                columns.insert(
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)))
                        .toUpper());
        }
        sqlite3_finalize(st);
        if (columns.isEmpty()) {
            missing = QStringLiteral("não tem a tabela %1").arg(table.name);
            break;
        }
        for (const FieldDef& f : table.fields) {
            // A copy made before an upgrade lacks its fields until the
            // first start after the restore adds them.
            if (!columns.contains(f.name.toUpper()) &&
                !schema::addedByUpgrade(table.name, f.name)) {
                missing = QStringLiteral("a tabela %1 não tem o campo %2").arg(table.name, f.name);
                break;
            }
        }
        if (!missing.isEmpty())
            break;
    }
    if (missing.isEmpty()) {
        // A copy of a newer version than this program knows would be put in
        // place and then refused at the next start.
        sqlite3_stmt* st = nullptr;
        const QByteArray sql = "SELECT MAX(VERSAO) FROM " + schema::versionTable().toUtf8();
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW && sqlite3_column_int(st, 0) > schema::currentVersion())
            missing = QStringLiteral("é de uma versão mais nova do sistema (versão %1 dos dados)")
                          .arg(sqlite3_column_int(st, 0));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return missing;
}

}  // namespace

void Backups::restore(const QString& backup, const QString& database) {
    QString reason;
    if (!QFileInfo::exists(backup))
        throw StoreError(QStringLiteral("A cópia %1 não existe.").arg(backup));
    if (!check(backup, &reason))
        throw StoreError(QStringLiteral("A cópia %1 está danificada ou não é um banco de dados "
                                        "(%2); escolha outra. O banco de dados não foi alterado.")
                             .arg(backup, reason.left(200)));
    // Only a copy of this program's database takes its place: a report
    // work table or another program's file would leave a database the
    // next start refuses.
    const QString missing = missingFromSchema(backup);
    if (!missing.isEmpty())
        throw StoreError(QStringLiteral("O arquivo %1 não é uma cópia do banco de dados do sistema "
                                        "(%2). Escolha uma cópia quelvarino-aaaa-mm-dd.db da "
                                        "pasta Backup; o banco de dados não foi alterado.")
                             .arg(backup, missing));
    bool refused = false;
    const int fd = lockFd(database, F_WRLCK, &refused);
    if (fd < 0)
        throw StoreError(
            refused
                ? QStringLiteral("O banco de dados %1 está aberto em outra estação ou programa. "
                                 "Feche o sistema em todas as estações e tente de novo.")
                      .arg(database)
                : QStringLiteral("Não foi possível verificar se o banco de dados %1 está em "
                                 "uso.")
                      .arg(database));
    // Alone on the database: the copy goes in under a name of its own and
    // is renamed over it; the replaced file is kept beside it.
    const QString part = database + QStringLiteral(".restaurando");
    const QString before = database + QStringLiteral(".antes-da-restauracao");
    const QString databaseFolder = QFileInfo(database).absolutePath();
    bool ok = copyDurably(backup, part);
    if (ok && QFileInfo::exists(database))
        ok = copyDurably(database, before);
    // the copies on disk before the database is replaced, the rename on
    // disk before it is told done
    ok = ok && syncFolder(databaseFolder);
    ok = ok && ::rename(QFile::encodeName(part).constData(),
                        QFile::encodeName(database).constData()) == 0;
    ok = ok && syncFolder(databaseFolder);
    QFile::remove(part);
    QFile::remove(database + QStringLiteral("-journal"));
    ::close(fd);
    if (!ok)
        throw StoreError(QStringLiteral("Não foi possível restaurar %1 a partir de %2; o banco de "
                                        "dados não foi alterado.")
                             .arg(database, backup));
}

DatabaseInUse::DatabaseInUse(const QString& database) : fd_(lockFd(database, F_RDLCK, nullptr)) {}

DatabaseInUse::~DatabaseInUse() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool DatabaseInUse::heldByAnyone(const QString& database) {
    bool refused = false;
    const int fd = lockFd(database, F_WRLCK, &refused);
    if (fd >= 0)
        ::close(fd);
    return refused;
}

}  // namespace quelvarino
