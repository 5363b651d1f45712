#include "data/backend.h"

#include "core/errors.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace quelvarino {
namespace {

class QtCursor : public Cursor {
public:
    QtCursor(const QSqlDatabase& db, const QString& sql, const BoundValues& values) : q_(db) {
        q_.setForwardOnly(true);
        if (!q_.prepare(sql))
            throw StoreError(QStringLiteral("Erro na consulta: %1").arg(q_.lastError().text()));
        for (const auto& b : values)
            q_.bindValue(b.first, b.second);
        if (!q_.exec())
            throw StoreError(QStringLiteral("Erro na consulta: %1").arg(q_.lastError().text()));
        record_ = q_.record();
    }
    ~QtCursor() override { q_.finish(); }
    bool next() override { return q_.next(); }
    int columnCount() const override { return record_.count(); }
    QString columnName(int column) const override { return record_.fieldName(column); }
    QVariant value(int column) const override { return q_.value(column); }

private:
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

std::unique_ptr<Statement> Backend::prepare(const QSqlDatabase& db, const QString& sql) const {
    return std::make_unique<QtStatement>(db, sql);
}

std::unique_ptr<Cursor> Backend::openCursor(const QSqlDatabase& db,
                                            const QString& sql,
                                            const BoundValues& values) const {
    return std::make_unique<QtCursor>(db, sql, values);
}

}  // namespace quelvarino
