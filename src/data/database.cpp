#include "data/database.h"

#include "core/errors.h"
#include "data/backup.h"
#include "data/datafolder.h"
#include "data/durablefiles.h"
#include "data/mountlocks.h"
#include "data/postgresbackend.h"
#include "data/sqlitebackend.h"

#include <fcntl.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <atomic>
#include <cerrno>

namespace quelvarino {
namespace {

// The version table of a new main database, with this program's version.
QStringList versionStatements(const Backend& backend) {
    const QString table = backend.quote(schema::versionTable());
    const QString field = backend.quote(QStringLiteral("VERSAO"));
    return {QStringLiteral("CREATE TABLE %1 (%2 INTEGER NOT NULL)").arg(table, field),
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(table, field)
                .arg(schema::currentVersion())};
}

}  // namespace

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

namespace {

// New databases of starts cut short (a power cut, a kill) beside `file`:
// each is locked while its builder lives, so one that can be locked is
// left over and goes, with its journal and lock file.
void removeAbandonedBuilds(const QString& file) {
    const QFileInfo info(file);
    const QDir folder = info.absoluteDir();
    const QStringList names =
        folder.entryList({info.fileName() + QStringLiteral(".novo.*")}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        if (name.endsWith(QLatin1String("-journal")) || name.endsWith(QLatin1String(".lck")))
            continue;
        const QString path = folder.filePath(name);
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (lockByte(fd, 0)) {
            QFile::remove(path);
            QFile::remove(path + QStringLiteral("-journal"));
            QFile::remove(path + QStringLiteral(".lck"));
        }
        ::close(fd);
    }
    // Journals and lock files whose database is gone.
    for (const QString& name : folder.entryList({info.fileName() + QStringLiteral(".novo.*")},
                                                QDir::Files | QDir::Hidden)) {
        QString stem = name;
        if (stem.endsWith(QLatin1String("-journal")))
            stem.chop(8);
        else if (stem.endsWith(QLatin1String(".lck")))
            stem.chop(4);
        else
            continue;
        if (!folder.exists(stem))
            QFile::remove(folder.filePath(name));
    }
}

}  // namespace

std::shared_ptr<Database> Database::open(const QString& file,
                                         const QList<TableDef>& tables,
                                         bool createIfMissing) {
    const QFileInfo info(file);
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir())
        throw StoreError(QStringLiteral("A pasta de dados %1 não existe.").arg(folder));

    // A start cut short (a power cut, a kill) may have left its new
    // database beside this one, before or after putting it in place.
    removeAbandonedBuilds(file);
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
        // Held while it is built: a start that finds the file unlocked knows
        // its builder is gone (on any computer) and removes it.
        const int held = ::open(QFile::encodeName(building).constData(),
                                O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (held >= 0)
            lockByte(held, 0);
        auto discard = [&building] {
            QFile::remove(building);
            QFile::remove(building + ".lck");
            QFile::remove(building + "-journal");
        };
        // Closed only once SQLite has closed the file: closing any
        // descriptor of a file drops the process's SQLite locks on it.
        struct Held {
            int fd;
            ~Held() {
                if (fd >= 0)
                    ::close(fd);
            }
        } keep{held};
        try {
            std::shared_ptr<Database> fresh(new Database(building, tables));
            fresh->connect();
            QSqlDatabase db = fresh->connection();
            QSqlQuery q(db);
            if (!db.transaction())
                throw StoreError(QStringLiteral("Não foi possível criar o banco de dados %1: %2")
                                     .arg(file, db.lastError().text()));
            QStringList statements;
            for (const TableDef& t : tables)
                statements += fresh->backend().schemaStatements(t);
            if (schema::isMainSchema(tables))
                statements += versionStatements(fresh->backend());
            {
                for (const QString& statement : statements) {
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
        // The new name on the disk before the first post is acknowledged.
        syncFolder(folder);
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
    // again on the next operation.
    if (server_ && backend_->isConnectionFailure(engineText))
        lost_ = true;
    return message;
}

void Database::fail(const QString& action, const QString& engineText) const {
    const QString message = failureMessage(action, engineText);
    if (server_ && backend_->isConnectionFailure(engineText))
        throw ConnectionLostError(message);
    throw StoreError(message);
}

QString Database::unconfirmedMessage(const QString& action) const {
    return QStringLiteral(
               "%1: a conexão com o servidor de banco de dados (%2) caiu antes da resposta, e "
               "não foi possível saber se o registro foi gravado.\n\nQuando o servidor voltar, "
               "clique em Gravar de novo: o sistema confere o que ficou gravado e nunca grava "
               "o mesmo registro duas vezes.")
        .arg(action, file_);
}

bool Database::reopen() const {
    prepared_.clear();  // they died with the old connection
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    db.close();
    if (!db.open()) {
        lost_ = true;  // tried again on the next use
        return false;
    }
    try {
        backend_->prepareConnection(db);
    } catch (const StoreError&) {
        db.close();
        lost_ = true;
        return false;
    }
    lost_ = false;
    backend_->connectionRestarted();
    return true;
}

bool Database::reconnect(int waitMs) const {
    if (!server_)
        return false;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (reopen())
            return true;
        if (clock.elapsed() >= waitMs)
            return false;
        QThread::msleep(250);
    }
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
    QStringList statements;
    for (const TableDef& t : tables_)
        statements += backend_->schemaStatements(t);
    if (schema::isMainSchema(tables_))
        statements += versionStatements(*backend_);
    for (const QString& statement : statements) {
        if (!q.exec(statement)) {
            const QString text = q.lastError().text();
            q.finish();
            db.rollback();
            throw StoreError(
                failureMessage(QStringLiteral("Não foi possível criar as tabelas"), text));
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
    upgradeSchema();
    // Indexes only make reading faster: a store that cannot take one (read
    // only, busy) is used as it is. Only the missing ones are made: making
    // one waits on any other session's open transaction on its table, even
    // when it is there already.
    QSqlQuery q(connection());
    QStringList existing;
    const QString catalogue = backend().indexCatalogueStatement();
    if (!catalogue.isEmpty() && q.exec(catalogue)) {
        while (q.next())
            existing.append(q.value(0).toString());
    }
    q.finish();
    for (const TableDef& t : tables_) {
        const QStringList statements = backend().indexStatements(t);
        for (int i = 0; i < t.indexes.size() && i < statements.size(); ++i) {
            if (!existing.contains((t.name + "_" + t.indexes[i].name).toLower()))
                q.exec(statements[i]);
        }
    }
}

int Database::storedVersion(QSqlQuery& q) const {
    const QString action = QStringLiteral("Não foi possível ler a versão do banco de dados");
    if (!q.exec(backend_->tableExistsStatement(schema::versionTable())) || !q.next())
        throw StoreError(failureMessage(action, q.lastError().text()));
    const bool there = q.value(0).toBool();
    q.finish();
    if (!there)
        return 1;  // the first program kept no version
    if (!q.exec(QStringLiteral("SELECT MAX(%1) FROM %2")
                    .arg(backend_->quote(QStringLiteral("VERSAO")),
                         backend_->quote(schema::versionTable()))) ||
        !q.next())
        throw StoreError(failureMessage(action, q.lastError().text()));
    const QVariant v = q.value(0);
    q.finish();
    return v.isNull() ? 1 : v.toInt();
}

void Database::refuseNewer(int version) const {
    throw StoreError(
        QStringLiteral("O banco de dados %1 é de uma versão mais nova do sistema (versão %2 dos "
                       "dados; este programa conhece até a versão %3) e não foi aberto.\n\n"
                       "Instale nesta estação a versão do sistema que as outras estações usam.")
            .arg(file_)
            .arg(version)
            .arg(schema::currentVersion()));
}

void Database::upgradeSchema() {
    if (!schema::isMainSchema(tables_))
        return;
    QSqlDatabase db = connection();
    QSqlQuery q(db);
    const int current = schema::currentVersion();
    int version = storedVersion(q);
    if (version == current)
        return;
    if (version > current)
        refuseNewer(version);
    const QString action =
        QStringLiteral("Não foi possível atualizar o banco de dados para esta versão do sistema");
    auto failed = [&](const QString& text) {
        q.finish();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        throw StoreError(failureMessage(action, text));
    };
    for (const QString& statement : backend_->schemaChangeStart()) {
        if (!q.exec(statement))
            failed(q.lastError().text());
    }
    q.finish();
    // Again under the lock: another workstation may have upgraded meanwhile.
    try {
        version = storedVersion(q);
    } catch (const StoreError& e) {
        failed(e.text());
    }
    if (version > current) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        refuseNewer(version);
    }
    QStringList statements;
    for (const schema::UpgradeStep& step : schema::upgradeSteps()) {
        if (step.version <= version)
            continue;
        const QSqlRecord there = db.record(step.table);
        for (const FieldDef& f : step.fields) {
            if (there.indexOf(f.name) < 0)
                statements.append(backend_->addColumnStatement(step.table, f));
        }
    }
    if (version == 1)
        statements += versionStatements(*backend_);
    else if (version < current)
        statements.append(QStringLiteral("UPDATE %1 SET %2 = %3")
                              .arg(backend_->quote(schema::versionTable()),
                                   backend_->quote(QStringLiteral("VERSAO")))
                              .arg(current));
    statements.append(QStringLiteral("COMMIT"));
    for (const QString& statement : statements) {
        if (!q.exec(statement))
            failed(q.lastError().text());
        q.finish();
    }
}

std::shared_ptr<QSqlQuery> Database::prepared(const QString& sql, QString* error) const {
    QSqlDatabase db = connection();
    auto found = prepared_.constFind(sql);
    if (found != prepared_.constEnd())
        return *found;
    if (!db.isOpen()) {
        *error = QStringLiteral("no connection to the server (database not open)");
        if (server_)
            lost_ = true;
        return nullptr;
    }
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
    // A server connection that broke is made again on every use until the
    // server answers: an operation after the server came back just works.
    // Tried at most once a second while the server is away, so a screen's
    // few reads do not each wait for an answer that will not come.
    if (server_ && (lost_ || !QSqlDatabase::database(connectionName_, false).isOpen())) {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        if (now - lastReopen_ >= 1000) {
            lastReopen_ = now;
            reopen();
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
            // Whatever path opens the store (the start, the command line, a
            // helper): never on a share whose locks stay on each computer.
            const QString folder = QFileInfo(DataFolder::mainDatabaseFile()).absolutePath();
            if (QFileInfo(folder).isDir())  // a missing one is said by open()
                DataFolder::requireLocksBetweenWorkstations(folder, false);
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
