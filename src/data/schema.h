#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace quelvarino {

// Bytes: a text of single bytes kept exactly as written (the scrambled
// password, whose bytes may take any value, NUL included).
enum class FieldType { Text, Date, Money, Number, AutoInc, Bytes };

struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
};

struct IndexDef {
    QString name;  // the name screens select it by ("RAZAOSOCIAL", "PAGAMENTO")
    QStringList fields;
    bool unique = false;
};

struct TableDef {
    QString name;
    QList<FieldDef> fields;
    QStringList primaryKey;  // empty: the table is kept in insertion order
    QList<IndexDef> indexes;

    int fieldIndex(const QString& anyCase) const;  // -1 when missing
    const IndexDef* findIndex(const QString& anyCase) const;
};

namespace schema {

// The eight tables of the main database, in the data module's order.
const QList<TableDef>& mainTables();
// The two report work tables, each kept in a database file of its own.
const TableDef& workTable1();  // tbrelatorio8_1
const TableDef& workTable2();  // tbrelatorio8_2

const TableDef* findMainTable(const QString& anyCase);

// The main database's schema version. Version 1 is the first program's,
// which kept no version; every later version adds fields, listed in its
// step, and a start that finds an older database adds what is missing.
int currentVersion();
struct UpgradeStep {
    int version;  // the version the step brings the database to
    QString table;
    QList<FieldDef> fields;  // added to the table
};
const QList<UpgradeStep>& upgradeSteps();
// The one-row table that holds the version ("VERSAO").
QString versionTable();
// Whether a field came with an upgrade: a database (or a backup) of an
// older version lacks it until its first start with this program.
bool addedByUpgrade(const QString& table, const QString& field);
// Whether these are the main database's tables (the one that is versioned).
bool isMainSchema(const QList<TableDef>& tables);

// Type of a field name anywhere in the schema (names mean the same thing in
// every table that has them); Text when unknown.
FieldType typeOfField(const QString& anyCase);

}  // namespace schema
}  // namespace quelvarino
