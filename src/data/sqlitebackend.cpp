#include "data/sqlitebackend.h"

#include "core/errors.h"

#include <fcntl.h>
#include <unistd.h>
#include <QSqlError>
#include <QSqlQuery>
#include <cerrno>
#include <cstring>

namespace quelvarino {
namespace {

// Byte offset standing for one record in the lock file (64-bit FNV-1a, kept
// below 2^62 so it is a valid positive file offset).
off_t lockOffset(const QString& table, qint64 rowId) {
    const QByteArray key = table.toLower().toUtf8() + ':' + QByteArray::number(rowId);
    quint64 hash = 1469598103934665603ULL;
    for (const char c : key) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return static_cast<off_t>((hash & ((1ULL << 62) - 1)) | 1);
}

class FileRecordLock : public RecordLock {
public:
    FileRecordLock(int fd) : fd_(fd) {}
    ~FileRecordLock() override { ::close(fd_); }  // closing drops the lock

private:
    int fd_;
};

QString sqlType(FieldType type) {
    switch (type) {
        case FieldType::Text:  // never NULL, so keys on text walk without NULL cases
            return QStringLiteral("TEXT DEFAULT ''");
        case FieldType::Date:  // ISO text, so it orders and compares as a date
            return QStringLiteral("TEXT");
        case FieldType::Money:
        case FieldType::Number:
            return QStringLiteral("REAL");
        case FieldType::AutoInc:
            return QStringLiteral("INTEGER");
        case FieldType::Bytes:  // every byte value, NUL included, comes back as written
            return QStringLiteral("BLOB");
    }
    return QStringLiteral("TEXT");
}

}  // namespace

SqliteBackend::SqliteBackend(const QString& databaseFile) : lockFile_(databaseFile + ".lck") {}

QString SqliteBackend::connectOptions() const {
    return QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
}

void SqliteBackend::prepareConnection(QSqlDatabase& db) const {
    QSqlQuery q(db);
    for (const char* pragma :
         {"PRAGMA journal_mode=DELETE", "PRAGMA synchronous=FULL", "PRAGMA foreign_keys=OFF"}) {
        if (!q.exec(QString::fromLatin1(pragma)))
            throw StoreError(QStringLiteral("%1: %2").arg(db.databaseName(), q.lastError().text()));
    }
}

QStringList SqliteBackend::schemaStatements(const TableDef& table) const {
    QStringList columns;
    for (const FieldDef& f : table.fields) {
        QString column = quote(f.name) + ' ' + sqlType(f.type);
        if (f.type == FieldType::AutoInc)
            column += QStringLiteral(" PRIMARY KEY AUTOINCREMENT");
        columns.append(column);
    }
    QStringList out;
    out.append(QStringLiteral("CREATE TABLE %1 (%2)").arg(quote(table.name), columns.join(", ")));
    const bool autoIncKey =
        table.primaryKey.size() == 1 &&
        table.fields[table.fieldIndex(table.primaryKey[0])].type == FieldType::AutoInc;
    if (!table.primaryKey.isEmpty() && !autoIncKey) {
        QStringList cols;
        for (const QString& f : table.primaryKey)
            cols.append(quote(f));
        out.append(QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3)")
                       .arg(quote(table.name + "_pk"), quote(table.name), cols.join(", ")));
    }
    for (const IndexDef& index : table.indexes) {
        QStringList cols;
        for (const QString& f : index.fields)
            cols.append(quote(f));
        out.append(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                       .arg(index.unique ? "UNIQUE " : "", quote(table.name + "_" + index.name),
                            quote(table.name), cols.join(", ")));
    }
    return out;
}

std::unique_ptr<RecordLock> SqliteBackend::lockRecord(const QString& table, qint64 rowId) const {
    const QByteArray path = lockFile_.toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        throw StoreError(QStringLiteral("Não foi possível abrir o arquivo de bloqueio %1: %2")
                             .arg(lockFile_, QString::fromLocal8Bit(std::strerror(errno))));
    }
    struct flock request;
    std::memset(&request, 0, sizeof request);
    request.l_type = F_WRLCK;
    request.l_whence = SEEK_SET;
    request.l_start = lockOffset(table, rowId);
    request.l_len = 1;
    if (::fcntl(fd, F_OFD_SETLK, &request) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EAGAIN || error == EACCES)
            throw RecordLockedError(
                QStringLiteral("Registro bloqueado por outro usuário. Tabela: %1").arg(table));
        throw StoreError(QStringLiteral("Não foi possível bloquear o registro em %1: %2")
                             .arg(lockFile_, QString::fromLocal8Bit(std::strerror(error))));
    }
    return std::make_unique<FileRecordLock>(fd);
}

}  // namespace quelvarino
