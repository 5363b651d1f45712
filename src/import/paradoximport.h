#pragma once

#include "data/schema.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

namespace quelvarino {

// What became of one table of an old data folder.
struct ImportReport {
    QString table;
    bool imported = false;  // false: the table was skipped, nothing of it stored
    QString failure;        // why it was skipped (Portuguese)
    int read = 0;
    int stored = 0;    // new rows and replaced rows
    int replaced = 0;  // of `stored`, rows that replaced a row already in the store
    int skipped = 0;
    // Skipped rows by reason (Portuguese), each with up to five examples.
    QMap<QString, int> reasons;
    QMap<QString, QStringList> examples;
    QStringList notes;  // unknown fields, fields the old file lacks

    void skip(const QString& reason, const QString& example);
};

// Loads the Paradox tables of an old data folder into the main database
// of the data folder (Database::main()), one transaction per table: a
// table that cannot be read to its end leaves nothing of itself behind.
// Codes and numbers are keys: a row whose key is already stored is kept
// (the default) or replaced; running the import twice adds nothing.
class ParadoxImport {
public:
    ParadoxImport(const QString& oldFolder, bool replace);

    // Called every few thousand rows of a table, and at its end.
    std::function<void(const QString& table, int done, int total)> progress;

    // Every table of the program, in the data module's order.
    QList<ImportReport> run();
    ImportReport importTable(const TableDef& table);

    // `base` + `extension` in `folder`, whatever the case of either (the
    // old program wrote "tbempresa.DB"); empty when there is none.
    static QString findFile(const QString& folder, const QString& base, const QString& extension);

private:
    QString folder_;
    bool replace_;
};

}  // namespace quelvarino
