#include "data/datafolder.h"

#include "core/errors.h"
#include "data/aliasregistry.h"
#include "data/database.h"
#include "data/schema.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <optional>

namespace quelvarino {
namespace {

struct Resolved {
    QString folder;
    bool isDefault = false;
};

std::optional<Resolved>& resolved() {
    static std::optional<Resolved> r;
    return r;
}

Resolved resolve() {
    const std::optional<AliasEntry> alias = AliasRegistry::find(QStringLiteral("Quelvarino"));
    if (!alias)
        return {QDir::homePath() + QStringLiteral("/Quelvarino"), true};
    static const QStringList embedded = {"PARADOX", "STANDARD", "DBASE", "FOXPRO", "ASCIIDRV"};
    if (!embedded.contains(alias->type.trimmed().toUpper())) {
        throw StoreError(QStringLiteral("O alias Quelvarino usa o driver %1, que ainda não é "
                                        "suportado por este programa (registro: %2).")
                             .arg(alias->type, AliasRegistry::filePath()));
    }
    QString folder = alias->param(QStringLiteral("PATH"));
    if (folder.trimmed().isEmpty())
        folder = QDir::homePath() + QStringLiteral("/Quelvarino");
    return {QDir::cleanPath(folder), false};
}

const Resolved& current() {
    if (!resolved())
        resolved() = resolve();
    return *resolved();
}

}  // namespace

QString DataFolder::path() {
    return current().folder;
}

void DataFolder::setPath(const QString& folder) {
    resolved() = Resolved{QDir::cleanPath(folder), false};
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

QString DataFolder::workTableFolder() {
    return path() + QStringLiteral("/Backup/Relatorio");
}

QString DataFolder::pristineFolder() {
    return path() + QStringLiteral("/Backup/Relatorio/Tbv");
}

QString DataFolder::reportsFolder() {
    return path() + QStringLiteral("/Relatorios");
}

void DataFolder::prepare() {
    const Resolved& r = current();
    const QFileInfo folder(r.folder);
    if (!folder.exists()) {
        if (!r.isDefault || !QDir().mkpath(r.folder))
            throw StoreError(QStringLiteral("A pasta de dados %1 não existe.").arg(r.folder));
    } else if (!folder.isDir()) {
        throw StoreError(QStringLiteral("%1 não é uma pasta.").arg(r.folder));
    }
    if (!QFileInfo(r.folder).isWritable())
        throw StoreError(QStringLiteral("A pasta de dados %1 não permite gravação.").arg(r.folder));

    Database::main();
    const TableDef* templates[2] = {&schema::workTable1(), &schema::workTable2()};
    for (int n = 1; n <= 2; ++n) {
        const QString file = workTableTemplate(n);
        if (!QFileInfo::exists(file))
            Database::open(file, {*templates[n - 1]}, true);
    }
}

}  // namespace quelvarino
