#include "data/datafolder.h"

#include "core/errors.h"
#include "data/aliasregistry.h"
#include "data/database.h"
#include "data/mountlocks.h"
#include "data/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <optional>

namespace quelvarino {
namespace {

struct Resolved {
    QString folder;
    bool isDefault = false;
    QString server;  // libpq connection text of a PostgreSQL alias
};

std::optional<Resolved>& resolved() {
    static std::optional<Resolved> r;
    return r;
}

Resolved resolve() {
    const std::optional<AliasEntry> alias = AliasRegistry::find(QStringLiteral("Quelvarino"));
    if (!alias)
        return {QDir::homePath() + QStringLiteral("/Quelvarino"), true, QString()};
    static const QStringList embedded = {"PARADOX", "STANDARD", "DBASE", "FOXPRO", "ASCIIDRV"};
    static const QStringList server = {"POSTGRESQL", "POSTGRES", "PGSQL"};
    if (server.contains(alias->type.trimmed().toUpper())) {
        // The tables are on the server; the report work tables, the saved
        // reports and the pictures stay in the workstation's own folder.
        const QString connection = alias->param(QStringLiteral("DATABASE NAME"));
        if (connection.trimmed().isEmpty())
            throw StoreError(QStringLiteral("O alias Quelvarino usa o driver %1 sem dizer qual "
                                            "servidor (registro: %2). Registre-o com: Ostrima "
                                            "Quelvarino \"host=… port=… dbname=… user=…\" "
                                            "POSTGRESQL")
                                 .arg(alias->type, AliasRegistry::filePath()));
        return {QDir::homePath() + QStringLiteral("/Quelvarino"), true, connection.trimmed()};
    }
    if (!embedded.contains(alias->type.trimmed().toUpper())) {
        throw StoreError(QStringLiteral("O alias Quelvarino usa o driver %1, que ainda não é "
                                        "suportado por este programa (registro: %2).")
                             .arg(alias->type, AliasRegistry::filePath()));
    }
    QString folder = alias->param(QStringLiteral("PATH"));
    if (folder.trimmed().isEmpty())
        folder = QDir::homePath() + QStringLiteral("/Quelvarino");
    return {QDir::cleanPath(folder), false, QString()};
}

const Resolved& current() {
    if (!resolved())
        resolved() = resolve();
    return *resolved();
}

}  // namespace

namespace {

struct MountTables {
    QString fstab = QStringLiteral("/etc/fstab");
    QString mounts = QStringLiteral("/proc/self/mounts");
};

MountTables& mountTables() {
    static MountTables t;
    return t;
}

struct MountEntry {
    QString point;
    QString type;
    QString options;
};

// Entries of an fstab-like file: device, mount point, type, ... ("\040"
// stands for a space in a mount point).
QList<MountEntry> readMountTable(const QString& file) {
    QList<MountEntry> out;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return out;
    // The kernel's tables say their size is 0: read until the end, not up
    // to the size.
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList parts = line.split(QRegularExpression(QStringLiteral("\\s+")));
        if (parts.size() < 3)
            continue;
        QString point = parts[1];
        point.replace(QLatin1String("\\040"), QLatin1String(" "));
        out.append({QDir::cleanPath(point), parts[2], parts.value(3)});
    }
    return out;
}

bool isNetworkType(const QString& type) {
    static const QStringList network = {"nfs",   "nfs4",       "cifs",  "smb3", "smbfs",
                                        "sshfs", "fuse.sshfs", "davfs", "ncpfs"};
    return network.contains(type);
}

bool covers(const QString& point, const QString& path) {
    return point != QLatin1String("/") &&
           (path == point || path.startsWith(point + QLatin1Char('/')));
}

}  // namespace

bool DataFolder::isDefault() {
    return current().isDefault;
}

void DataFolder::setMountTables(const QString& fstab, const QString& mounts) {
    mountTables() = {fstab, mounts};
}

namespace {

// The mount that holds the path: the deepest mount point above it (the
// last one mounted there, when several are).
MountEntry mountHolding(const QString& path) {
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    MountEntry deepest;
    for (const MountEntry& m : readMountTable(mountTables().mounts)) {
        const bool holds = m.point == QLatin1String("/") || covers(m.point, clean);
        if (holds && m.point.size() >= deepest.point.size())
            deepest = m;
    }
    return deepest;
}

}  // namespace

bool DataFolder::isOnNetworkShare(const QString& path) {
    return isNetworkType(mountHolding(path).type);
}

LockVerdict DataFolder::lockVerdictFor(const QString& path) {
    const MountEntry m = mountHolding(path);
    return lockVerdict(m.type, m.options);
}

QString DataFolder::lockWarning() {
    const Resolved& r = current();
    if (!r.server.isEmpty())
        return QString();
    const LockVerdict v = lockVerdictFor(r.folder);
    if (v.reach != LockReach::Unknown)
        return QString();
    return QStringLiteral(
               "A pasta de dados %1 fica em %2.\n\nSe outra estação usar esta pasta ao mesmo "
               "tempo, ordens podem ser perdidas ou misturadas. Use a pasta numa estação só, "
               "ou compartilhe-a por NFS (com o serviço de bloqueios) ou SMB/CIFS, ou use um "
               "servidor PostgreSQL.")
        .arg(QDir::toNativeSeparators(r.folder), v.reason);
}

QString DataFolder::unmountedShareFor(const QString& path) {
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QStringList mounted;
    for (const MountEntry& m : readMountTable(mountTables().mounts))
        mounted.append(m.point);
    QString share;
    for (const MountEntry& m : readMountTable(mountTables().fstab)) {
        if (isNetworkType(m.type) && covers(m.point, clean) && !mounted.contains(m.point) &&
            m.point.size() > share.size())
            share = m.point;
    }
    return share;
}

QString DataFolder::path() {
    return current().folder;
}

void DataFolder::setPath(const QString& folder) {
    resolved() = Resolved{QDir::cleanPath(folder), false, QString()};
}

void DataFolder::setServer(const QString& folder, const QString& connection) {
    resolved() = Resolved{QDir::cleanPath(folder), false, connection};
}

QString DataFolder::serverDatabase() {
    return current().server;
}

void DataFolder::reset() {
    resolved().reset();
}

QString DataFolder::mainDatabaseFile() {
    return path() + QStringLiteral("/quelvarino.db");
}

QString DataFolder::workTableTemplate(int n) {
    return path() + QStringLiteral("/tbrelatorio8_%1.db").arg(n);
}

namespace {
QString& privateWorkTables() {
    static QString folder;
    return folder;
}
}  // namespace

QString DataFolder::workTableFolder() {
    if (!privateWorkTables().isEmpty())
        return privateWorkTables();
    return path() + QStringLiteral("/Backup/Relatorio");
}

void DataFolder::setPrivateWorkTables(const QString& folder) {
    privateWorkTables() = folder;
}

bool DataFolder::workTablesArePrivate() {
    return !privateWorkTables().isEmpty();
}

QString DataFolder::pristineFolder() {
    return path() + QStringLiteral("/Backup/Relatorio/Tbv");
}

QString DataFolder::reportsFolder() {
    return path() + QStringLiteral("/Relatorios");
}

namespace {

QString whatToDoForLocks() {
    return QStringLiteral(
        "Com duas estações gravando ao mesmo tempo numa pasta assim, ordens recebem o mesmo "
        "número, somem ou ficam com os dados de outra, e o banco de dados se danifica; por "
        "isso o sistema não abre o banco de dados nela.\n\nO que fazer: compartilhe a pasta "
        "por NFS com o serviço de bloqueios (sem nolock nem local_lock) ou por SMB/CIFS sem a "
        "opção nobrl, ou guarde os dados num servidor PostgreSQL (veja o manual); depois abra "
        "o programa novamente.");
}

}  // namespace

// The embedded store is safe for several workstations only where a lock
// taken on one computer is seen by the others.
void DataFolder::requireLocksBetweenWorkstations(const QString& folder, bool probe) {
    const LockVerdict v = lockVerdictFor(folder);
    if (v.reach == LockReach::NotCarried)
        throw StoreError(QStringLiteral("A pasta de dados %1 fica em %2: os bloqueios feitos "
                                        "numa estação não chegam às outras.\n\n%3")
                             .arg(QDir::toNativeSeparators(folder), v.reason, whatToDoForLocks()));
    if (!probe)
        return;
    QString reason;
    if (!locksWorkOn(folder + QStringLiteral("/quelvarino.db.lck"), &reason))
        throw StoreError(QStringLiteral("A pasta de dados %1 não aceita bloqueios de arquivo "
                                        "(%2).\n\n%3")
                             .arg(QDir::toNativeSeparators(folder), reason, whatToDoForLocks()));
}

void DataFolder::prepare() {
    const Resolved& r = current();
    const QFileInfo folder(r.folder);
    // A share that is not mounted shows its empty mount point: a database
    // made there would take the orders meant for the server.
    const QString share = unmountedShareFor(r.folder);
    if (!share.isEmpty())
        throw StoreError(QStringLiteral("A pasta de dados %1 fica no compartilhamento de rede %2, "
                                        "que não está montado neste computador.")
                             .arg(r.folder, share));
    if (!folder.exists()) {
        if (!r.isDefault || !QDir().mkpath(r.folder))
            throw StoreError(QStringLiteral("A pasta de dados %1 não existe.").arg(r.folder));
    } else if (!folder.isDir()) {
        throw StoreError(QStringLiteral("%1 não é uma pasta.").arg(r.folder));
    }
    if (!QFileInfo(r.folder).isWritable())
        throw StoreError(QStringLiteral("A pasta de dados %1 não permite gravação.").arg(r.folder));
    if (r.server.isEmpty())
        requireLocksBetweenWorkstations(r.folder);

    Database::main();
    const TableDef* templates[2] = {&schema::workTable1(), &schema::workTable2()};
    for (int n = 1; n <= 2; ++n) {
        const QString file = workTableTemplate(n);
        if (!QFileInfo::exists(file))
            Database::open(file, {*templates[n - 1]}, true);
    }
}

}  // namespace quelvarino
