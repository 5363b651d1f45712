#include "data/sqlitebackend.h"

#include "core/errors.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
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

int bindValue(sqlite3_stmt* st, int at, const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            return sqlite3_bind_double(st, at, v.toDouble());
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Bool:
            return sqlite3_bind_int64(st, at, v.toLongLong());
        case QMetaType::QByteArray: {
            const QByteArray b = v.toByteArray();
            return sqlite3_bind_blob(st, at, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        }
        default: {
            if (v.isNull())
                return sqlite3_bind_null(st, at);
            const QByteArray t = v.toString().toUtf8();
            return sqlite3_bind_text(st, at, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        }
    }
}

class SqliteStatement : public Statement {
public:
    SqliteStatement(sqlite3* db, const QString& sql) : db_(db) {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &st_, nullptr) !=
            SQLITE_OK) {
            const QString message = QString::fromUtf8(sqlite3_errmsg(db_));
            sqlite3_finalize(st_);
            throw StoreError(
                describeStoreFailure(QStringLiteral("Erro ao gravar"),
                                     QString::fromUtf8(sqlite3_db_filename(db_, "main")), message));
        }
    }
    ~SqliteStatement() override { sqlite3_finalize(st_); }
    void bind(int position, const QVariant& stored) override {
        if (bindValue(st_, position + 1, stored) != SQLITE_OK)
            fail();
    }
    void execute() override {
        const int rc = sqlite3_step(st_);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW)
            fail();
        sqlite3_reset(st_);
    }

private:
    void fail() {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_reset(st_);
        throw StoreError(describeStoreFailure(QStringLiteral("Erro ao gravar"),
                                              QString::fromUtf8(sqlite3_db_filename(db_, "main")),
                                              message));
    }

    sqlite3* db_;
    sqlite3_stmt* st_ = nullptr;
};

class SqliteCursor : public Cursor {
public:
    SqliteCursor(sqlite3* db, const QString& sql, const BoundValues& values) : db_(db) {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &st_, nullptr) != SQLITE_OK)
            fail();
        for (const auto& [name, v] : values) {
            const int at = sqlite3_bind_parameter_index(st_, name.toUtf8().constData());
            if (at == 0)
                continue;  // a value the statement does not use
            if (bindValue(st_, at, v) != SQLITE_OK)
                fail();
        }
        columns_ = sqlite3_column_count(st_);
    }
    ~SqliteCursor() override { sqlite3_finalize(st_); }

    bool next() override {
        const int rc = sqlite3_step(st_);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        fail();
        return false;
    }
    int columnCount() const override { return columns_; }
    QString columnName(int column) const override {
        return QString::fromUtf8(sqlite3_column_name(st_, column));
    }
    QVariant value(int column) const override {
        switch (sqlite3_column_type(st_, column)) {
            case SQLITE_INTEGER:
                return QVariant(qlonglong(sqlite3_column_int64(st_, column)));
            case SQLITE_FLOAT:
                return QVariant(sqlite3_column_double(st_, column));
            case SQLITE_TEXT: {
                const char* t = reinterpret_cast<const char*>(sqlite3_column_text(st_, column));
                return QVariant(QString::fromUtf8(t, sqlite3_column_bytes(st_, column)));
            }
            case SQLITE_BLOB: {
                const char* b = static_cast<const char*>(sqlite3_column_blob(st_, column));
                return QVariant(QByteArray(b, sqlite3_column_bytes(st_, column)));
            }
            default:
                return QVariant();
        }
    }

private:
    [[noreturn]] void fail() {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_finalize(st_);
        st_ = nullptr;
        throw StoreError(describeStoreFailure(QStringLiteral("Erro na consulta"),
                                              QString::fromUtf8(sqlite3_db_filename(db_, "main")),
                                              message));
    }

    sqlite3* db_;
    sqlite3_stmt* st_ = nullptr;
    int columns_ = 0;
};

sqlite3* handleOf(const QSqlDatabase& db) {
    if (!db.driver())
        return nullptr;
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(v.constData());
}

}  // namespace

std::unique_ptr<Cursor> SqliteBackend::openCursor(const QSqlDatabase& db,
                                                  const QString& sql,
                                                  const BoundValues& values) const {
    if (sqlite3* handle = handleOf(db))
        return std::make_unique<SqliteCursor>(handle, sql, values);
    return Backend::openCursor(db, sql, values);
}

std::unique_ptr<Statement> SqliteBackend::prepare(const QSqlDatabase& db,
                                                  const QString& sql) const {
    if (sqlite3* handle = handleOf(db))
        return std::make_unique<SqliteStatement>(handle, sql);
    return Backend::prepare(db, sql);
}

SqliteBackend::SqliteBackend(const QString& databaseFile) : lockFile_(databaseFile + ".lck") {}

QString SqliteBackend::connectOptions() const {
    return QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
}

void SqliteBackend::prepareConnection(QSqlDatabase& db) const {
    // The engine opens a file it may not write as read only without a word,
    // and the first post would fail: refuse it here, at the start. The
    // folder must take the rollback journal beside the file as well.
    const QString file = db.databaseName();
    sqlite3* handle = handleOf(db);
    const bool fileReadOnly = handle && sqlite3_db_readonly(handle, "main") == 1;
    const QString folder = QFileInfo(file).absolutePath();
    const bool folderReadOnly = ::access(QFile::encodeName(folder).constData(), W_OK) != 0;
    if (fileReadOnly || folderReadOnly)
        throw StoreError(QStringLiteral("%1: attempt to write a readonly database").arg(file));
    QSqlQuery q(db);
    // EXTRA, not FULL: FULL deletes the journal without syncing the folder,
    // so after a power cut the disk may still hold a journal that looks
    // hot, and the next open rolls the last acknowledged post back. EXTRA
    // syncs the folder once the journal is gone.
    for (const char* pragma :
         {"PRAGMA journal_mode=DELETE", "PRAGMA synchronous=EXTRA", "PRAGMA foreign_keys=OFF"}) {
        if (!q.exec(QString::fromLatin1(pragma)))
            throw StoreError(QStringLiteral("%1: %2").arg(db.databaseName(), q.lastError().text()));
    }
}

QString SqliteBackend::addColumnStatement(const QString& table, const FieldDef& field) const {
    return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
        .arg(quote(table), quote(field.name), sqlType(field.type));
}

QStringList SqliteBackend::schemaChangeStart() const {
    // The write lock at once: a second workstation upgrading at the same
    // moment waits here, then finds the work done.
    return {QStringLiteral("BEGIN IMMEDIATE")};
}

QString SqliteBackend::tableExistsStatement(const QString& table) const {
    return QStringLiteral(
               "SELECT count(*) > 0 FROM sqlite_master WHERE type = 'table' AND "
               "lower(name) = lower('%1')")
        .arg(QString(table).replace(QLatin1Char('\''), QStringLiteral("''")));
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
