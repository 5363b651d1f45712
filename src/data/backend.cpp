#include "data/backend.h"

#include <QDir>

#include "core/errors.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace quelvarino {
namespace {

class QtCursor : public Cursor {
public:
    QtCursor(const Backend& backend,
             const QSqlDatabase& db,
             const QString& sql,
             const BoundValues& values,
             bool forwardOnly)
        : q_(db) {
        q_.setForwardOnly(forwardOnly);
        if (!db.isOpen())
            fail(backend, db, QStringLiteral("no connection to the server (database not open)"));
        if (!q_.prepare(sql))
            fail(backend, db, q_.lastError().text());
        for (const auto& b : values)
            q_.bindValue(b.first, b.second);
        if (!q_.exec())
            fail(backend, db, q_.lastError().text());
        record_ = q_.record();
    }
    ~QtCursor() override { q_.finish(); }
    bool next() override { return q_.next(); }
    int columnCount() const override { return record_.count(); }
    QString columnName(int column) const override { return record_.fieldName(column); }
    QVariant value(int column) const override { return q_.value(column); }

private:
    [[noreturn]] static void fail(const Backend& backend,
                                  const QSqlDatabase& db,
                                  const QString& text) {
        const QString message =
            backend.describeFailure(QStringLiteral("Erro na consulta"), db.databaseName(), text);
        if (backend.isConnectionFailure(text))
            throw ConnectionLostError(message);
        throw StoreError(message);
    }
    QSqlQuery q_;
    QSqlRecord record_;
};

class QtStatement : public Statement {
public:
    QtStatement(const QSqlDatabase& db, const QString& sql) : q_(db) {
        if (!q_.prepare(sql))
            throw StoreError(QStringLiteral("Erro ao gravar: %1").arg(q_.lastError().text()));
    }
    void bind(int position, const QVariant& stored) override { q_.bindValue(position, stored); }
    void execute() override {
        if (!q_.exec())
            throw StoreError(QStringLiteral("Erro ao gravar: %1").arg(q_.lastError().text()));
    }

private:
    QSqlQuery q_;
};

}  // namespace

std::unique_ptr<Cursor> Backend::bufferedCursor(const QSqlDatabase& db,
                                                const QString& sql,
                                                const BoundValues& values) const {
    return std::make_unique<QtCursor>(*this, db, sql, values, false);
}

std::unique_ptr<Statement> Backend::prepare(const QSqlDatabase& db, const QString& sql) const {
    return std::make_unique<QtStatement>(db, sql);
}

std::unique_ptr<Cursor> Backend::openCursor(const QSqlDatabase& db,
                                            const QString& sql,
                                            const BoundValues& values) const {
    return std::make_unique<QtCursor>(*this, db, sql, values, true);
}

QString describeStoreFailure(const QString& action,
                             const QString& databaseFile,
                             const QString& engineText) {
    const QString e = engineText.toLower();
    const QString file = QDir::toNativeSeparators(databaseFile);
    const QString backup = QStringLiteral(
        "Feche o sistema em todas as estações e restaure a última cópia de "
        "segurança da pasta Backup (QuelvarinoBasic --restaurar <cópia>).");
    QString what;
    if (e.contains(QLatin1String("malformed")) || e.contains(QLatin1String("corrupt")) ||
        e.contains(QLatin1String("not a database")))
        what = QStringLiteral("O banco de dados %1 está danificado. ").arg(file) + backup;
    else if (e.contains(QLatin1String("readonly")) || e.contains(QLatin1String("read-only")) ||
             e.contains(QLatin1String("read only")))
        what = QStringLiteral(
                   "O banco de dados %1 não pode ser gravado (somente leitura). "
                   "Verifique a permissão de gravação do arquivo e da pasta.")
                   .arg(file);
    else if (e.contains(QLatin1String("full")))
        what = QStringLiteral(
                   "Não há espaço em disco para gravar no banco de dados %1. Libere "
                   "espaço e tente de novo.")
                   .arg(file);
    else if (e.contains(QLatin1String("locked")) || e.contains(QLatin1String("busy")))
        what = QStringLiteral(
                   "O banco de dados %1 está ocupado por outra estação. Tente de novo "
                   "em instantes.")
                   .arg(file);
    else if (e.contains(QLatin1String("i/o")) || e.contains(QLatin1String("disk")))
        what = QStringLiteral(
                   "O disco falhou ao ler ou gravar o banco de dados %1 (disco cheio, "
                   "pasta compartilhada desconectada ou defeito). Verifique o disco e "
                   "a rede; se o problema continuar, ")
                   .arg(file) +
               backup.left(1).toLower() + backup.mid(1);
    else
        what = QStringLiteral("Falha no banco de dados %1. Se o problema continuar, ").arg(file) +
               backup.left(1).toLower() + backup.mid(1);
    return action + QStringLiteral(": ") + what;
}

}  // namespace quelvarino
