#include "data/database.h"

#include "core/errors.h"
#include "data/backup.h"
#include "data/datafolder.h"
#include "data/postgresbackend.h"
#include "data/sqlitebackend.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>
#include <cerrno>

namespace quelvarino {
namespace {

std::shared_ptr<Database>& mainDatabase() {
    static std::shared_ptr<Database> db;
    return db;
}

QString nextConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("quelvarino_%1").arg(++counter);
}

}  // namespace

Database::Database(QString file, QList<TableDef> tables, QString server)
    : file_(std::move(file)),
      server_(!server.isEmpty()),
      connectionName_(nextConnectionName()),
      tables_(std::move(tables)) {
    if (server_) {
        auto pg = std::make_unique<PostgresBackend>(server, connectionName_);
        file_ = pg->displayName();
        backend_ = std::move(pg);
    } else {
        backend_ = std::make_unique<SqliteBackend>(file_);
    }
}

std::shared_ptr<Database> Database::openServer(const QString& connection,
                                               const QList<TableDef>& tables) {
    std::shared_ptr<Database> database(new Database(QString(), tables, connection));
    database->connect();
    database->checkTables();
    return database;
}

Database::~Database() {
    prepared_.clear();  // before the connection they belong to
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

std::shared_ptr<Database> Database::open(const QString& file,
                                         const QList<TableDef>& tables,
                                         bool createIfMissing) {
    const QFileInfo info(file);
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir())
        throw StoreError(QStringLiteral("A pasta de dados %1 não existe.").arg(folder));

    if (!info.exists()) {
        if (!createIfMissing)
            throw StoreError(QStringLiteral("O banco de dados %1 não existe.").arg(file));
        // Build the new database under a temporary name and move it into
        // place only when complete, so a failed start never leaves half a
        // database that the next start would take for a good one.
        // The name is this process's own: two workstations starting at once
        // on a new shared folder never build in (or delete) the same file.
        const QString building =
            QStringLiteral("%1.novo.%2.%3")
                .arg(file)
                .arg(QCoreApplication::applicationPid())
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        auto discard = [&building] {
            QFile::remove(building);
            QFile::remove(building + ".lck");
            QFile::remove(building + "-journal");
        };
        try {
            std::shared_ptr<Database> fresh(new Database(building, tables));
            fresh->connect();
            QSqlDatabase db = fresh->connection();
            QSqlQuery q(db);
            if (!db.transaction())
                throw StoreError(QStringLiteral("Não foi possível criar o banco de dados %1: %2")
                                     .arg(file, db.lastError().text()));
            for (const TableDef& t : tables) {
                for (const QString& statement : fresh->backend().schemaStatements(t)) {
                    if (!q.exec(statement)) {
                        const QString error = q.lastError().text();
                        db.rollback();
                        throw StoreError(
                            QStringLiteral("Não foi possível criar o banco de dados %1: %2")
                                .arg(file, error));
                    }
                }
            }
            if (!db.commit())
                throw StoreError(QStringLiteral("Não foi possível criar o banco de dados %1: %2")
                                     .arg(file, db.lastError().text()));
        } catch (...) {
            discard();
            throw;
        }
        QFile::remove(building + ".lck");
        // Put in place only where no database is yet: a hard link fails when
        // the name exists (the other workstation won; its database is opened).
        const bool placed =
            ::link(QFile::encodeName(building).constData(), QFile::encodeName(file).constData()) ==
                0 ||
            (errno != EEXIST && !QFileInfo::exists(file) && QFile::rename(building, file));
        discard();
        if (!placed && !QFileInfo::exists(file))
            throw StoreError(
                QStringLiteral("Não foi possível criar o banco de dados %1.").arg(file));
    }

    std::shared_ptr<Database> database(new Database(file, tables));
    database->connect();
    database->checkTables();
    return database;
}

QString Database::failureMessage(const QString& action, const QString& engineText) const {
    const QString message = backend_->describeFailure(action, file_, engineText);
    // A server that went away (restarted, network lost) is connected to
    // again on the next operation; what failed was not committed.
    if (server_ && backend_->isConnectionFailure(engineText))
        lost_ = true;
    return message;
}

void Database::connect() {
    QSqlDatabase db = QSqlDatabase::addDatabase(backend_->qtDriver(), connectionName_);
    if (server_) {
        const auto& pg = static_cast<const PostgresBackend&>(*backend_);
        if (!pg.host().isEmpty())
            db.setHostName(pg.host());
        if (pg.port() > 0)
            db.setPort(pg.port());
        db.setDatabaseName(pg.databaseName());
        db.setUserName(pg.userName());
        db.setPassword(pg.password());
    } else {
        db.setDatabaseName(file_);
    }
    db.setConnectOptions(backend_->connectOptions());
    if (!db.open()) {
        throw StoreError(failureMessage(QStringLiteral("Não foi possível abrir o banco de dados"),
                                        db.lastError().text()));
    }
    try {
        backend_->prepareConnection(db);
    } catch (const StoreError& e) {
        throw StoreError(
            failureMessage(QStringLiteral("Não foi possível abrir o banco de dados"), e.text()));
    }
}

bool Database::createServerTables() {
    QSqlDatabase db = connection();
    if (!db.transaction())
        throw StoreError(failureMessage(QStringLiteral("Não foi possível criar as tabelas"),
                                        db.lastError().text()));
    QSqlQuery q(db);
    // Two workstations starting at once on a new database: one makes the
    // tables while the other waits here, then finds them made.
    const auto& pg = static_cast<const PostgresBackend&>(*backend_);
    if (!q.exec(pg.schemaLockStatement()) || !q.exec(pg.tableExistsStatement(tables_[0].name)) ||
        !q.next()) {
        const QString text = q.lastError().text();
        q.finish();
        db.rollback();
        throw StoreError(failureMessage(QStringLiteral("Não foi possível criar as tabelas"), text));
    }
    if (q.value(0).toBool()) {
        q.finish();
        db.rollback();
        return false;
    }
    for (const TableDef& t : tables_) {
        for (const QString& statement : backend_->schemaStatements(t)) {
            if (!q.exec(statement)) {
                const QString text = q.lastError().text();
                q.finish();
                db.rollback();
                throw StoreError(
                    failureMessage(QStringLiteral("Não foi possível criar as tabelas"), text));
            }
        }
    }
    q.finish();
    if (!db.commit()) {
        const QString text = db.lastError().text();
        db.rollback();
        throw StoreError(failureMessage(QStringLiteral("Não foi possível criar as tabelas"), text));
    }
    return true;
}

void Database::checkTables() {
    auto tablesThere = [this] {
        QStringList names;
        for (const QString& name : connection().tables())
            names.append(name.toLower());
        return names;
    };
    QStringList present = tablesThere();
    if (server_) {
        // An empty server database gets every table at once; a database
        // with only some of them is not one of ours.
        bool any = false;
        for (const TableDef& t : tables_)
            any = any || present.contains(t.name.toLower());
        if (!any) {
            if (createServerTables())
                return;
            present = tablesThere();  // made by another workstation meanwhile
        }
    }
    for (const TableDef& t : tables_) {
        if (!present.contains(t.name.toLower()))
            throw StoreError(QStringLiteral("O banco de dados %1 está danificado ou não é um banco "
                                            "de dados do sistema: falta a tabela %2.")
                                 .arg(file_, t.name));
    }
    // Indexes only make reading faster: a store that cannot take one (read
    // only, busy) is used as it is.
    QSqlQuery q(connection());
    for (const TableDef& t : tables_) {
        for (const QString& statement : backend().indexStatements(t))
            q.exec(statement);
    }
}

std::shared_ptr<QSqlQuery> Database::prepared(const QString& sql, QString* error) const {
    QSqlDatabase db = connection();
    auto found = prepared_.constFind(sql);
    if (found != prepared_.constEnd())
        return *found;
    auto q = std::make_shared<QSqlQuery>(db);
    // The server's driver reads a forward-only result one row per message
    // exchange; the table objects' windows are small and read whole at once.
    q->setForwardOnly(!server_);
    if (!q->prepare(sql)) {
        *error = q->lastError().text();
        return nullptr;
    }
    // Texts with numbers of their own (windows at an offset) are many: the
    // kept statements are started afresh now and then.
    constexpr int kKept = 256;
    if (prepared_.size() >= kKept)
        prepared_.clear();
    prepared_.insert(sql, q);
    return q;
}

QSqlDatabase Database::connection() const {
    if (lost_) {
        lost_ = false;
        prepared_.clear();  // they died with the old connection
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        db.close();
        if (db.open()) {
            try {
                backend_->prepareConnection(db);
            } catch (const StoreError&) {
                db.close();
            }
        }
    }
    return QSqlDatabase::database(connectionName_, false);
}

const TableDef* Database::table(const QString& anyCase) const {
    for (const TableDef& t : tables_) {
        if (t.name.compare(anyCase, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

std::shared_ptr<Database> Database::main() {
    std::shared_ptr<Database>& db = mainDatabase();
    if (!db) {
        const QString server = DataFolder::serverDatabase();
        if (!server.isEmpty()) {
            db = openServer(server, schema::mainTables());
        } else {
            db =
                open(DataFolder::mainDatabaseFile(), schema::mainTables(), DataFolder::mayCreate());
            db->inUse_ = std::make_unique<DatabaseInUse>(db->file_);
        }
        // Released while the application object still stands, whichever
        // way the program ends: after it, Qt's SQL layer is gone.
        static bool registered = false;
        if (!registered && QCoreApplication::instance()) {
            qAddPostRoutine(&Database::resetMain);
            registered = true;
        }
    }
    return db;
}

void Database::resetMain() {
    mainDatabase().reset();
}

}  // namespace quelvarino
