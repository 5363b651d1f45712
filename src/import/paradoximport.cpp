#include "import/paradoximport.h"

#include "core/dates.h"
#include "core/errors.h"
#include "core/money.h"
#include "data/database.h"
#include "data/fieldconv.h"
#include "import/paradoxfile.h"

extern "C" {  // the library's header declares no C linkage
#include <paradox.h>
}

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <cmath>

namespace quelvarino {

void ImportReport::skip(const QString& reason, const QString& example) {
    ++skipped;
    ++reasons[reason];
    QStringList& list = examples[reason];
    if (list.size() < 5 && !example.isEmpty())
        list.append(example);
}

namespace {

// Text of an old text field: up to its first zero byte, from the old code page.
QString textOf(const QByteArray& bytes) {
    const int nul = bytes.indexOf('\0');
    return fromWindows1252(nul < 0 ? bytes : bytes.left(nul));
}

QString integerText(double value) {
    return QString::number(qint64(value));
}

// Text of an old text field that should hold a date or a number: a byte
// no one types there (a control character) means the field's type in the
// header was damaged and binary values are being read as text.
QString typedText(const ParadoxValue& v, const QString& field) {
    for (const char c : v.bytes)
        if (static_cast<unsigned char>(c) < 0x20)
            throw Error(QStringLiteral("O campo %1 do arquivo antigo guarda dados binários onde "
                                       "deveria haver texto: o cabeçalho do arquivo está "
                                       "danificado e a tabela não foi lida.")
                            .arg(field));
    return textOf(v.bytes).trimmed();
}

using K = ParadoxValue::Kind;

ConversionError refusal(const QString& field, const QString& what) {
    return ConversionError(QStringLiteral("campo %1: %2").arg(field, what));
}

QString storedText(const ParadoxValue& v, const QString& field) {
    switch (v.kind) {
        case K::Null:
            break;
        case K::Bytes:
            // A text ends at its first zero byte and the rest of the field
            // is zeros: bytes past it mean the fields are not where the
            // header says (or the record is damaged).
            if (v.bytes.indexOf('\0') >= 0)
                throw Error(QStringLiteral("O campo %1 do arquivo antigo tem bytes depois "
                                           "do fim do texto: o arquivo está danificado "
                                           "e a tabela não foi lida.")
                                .arg(field));
            return textOf(v.bytes);
        case K::Integer:
            return QString::number(v.integer);
        case K::Double:
            return v.number == std::floor(v.number) && std::fabs(v.number) < 1e15
                       ? integerText(v.number)
                       : numberToText(v.number);
        case K::Date:
            return formatDate(v.date);
        case K::Time:
            return v.time.toString(QStringLiteral("hh:mm"));
        case K::DateTime:
            return formatDate(v.date) + QLatin1Char(' ') + v.time.toString(QStringLiteral("hh:mm"));
        case K::Logical:
            return v.logical ? QStringLiteral("S") : QStringLiteral("N");
    }
    return QStringLiteral("");
}

QVariant storedDate(const ParadoxValue& v, const QString& field) {
    switch (v.kind) {
        case K::Null:
            return QVariant();
        case K::Date:
        case K::DateTime:
            return isoDate(v.date);
        case K::Bytes: {
            const QString text = typedText(v, field);
            try {
                return textToStored(FieldType::Date, text);
            } catch (const Error&) {
                throw refusal(field, QStringLiteral("a data \"%1\" não é válida").arg(text));
            }
        }
        default:
            throw refusal(field, QStringLiteral("o valor não é uma data"));
    }
}

QVariant storedNumber(const ParadoxValue& v, FieldType type, const QString& field) {
    double value = 0;
    switch (v.kind) {
        case K::Null:
            return QVariant();
        case K::Double:
            value = v.number;
            break;
        case K::Integer:
            value = double(v.integer);
            break;
        case K::Bytes: {
            const QString text = typedText(v, field);
            if (text.isEmpty())
                return QVariant();
            try {
                return textToStored(type, text);
            } catch (const Error&) {
                throw refusal(field, QStringLiteral("\"%1\" não é um valor").arg(text));
            }
        }
        default:
            throw refusal(field, QStringLiteral("o valor não é um número"));
    }
    // A stored number keeps 15 significant digits: beyond thirteen integer
    // digits the cents would be lost.
    if (!std::isfinite(value) || std::fabs(value) >= 1e13)
        throw refusal(field, QStringLiteral("o valor %1 é grande demais para ser gravado sem "
                                            "perder os centavos")
                                 .arg(value, 0, 'f', 2));
    return value;
}

QVariant storedCounter(const ParadoxValue& v, const QString& field) {
    switch (v.kind) {
        case K::Null:
            return QVariant();
        case K::Integer:
            return qlonglong(v.integer);
        case K::Double:
            if (v.number == std::floor(v.number) && std::fabs(v.number) < 9e15)
                return qlonglong(v.number);
            break;
        case K::Bytes: {
            bool ok = false;
            const qlonglong n = typedText(v, field).toLongLong(&ok);
            if (ok)
                return n;
            break;
        }
        default:
            break;
    }
    throw refusal(field, QStringLiteral("o valor não é um número inteiro"));
}

// The stored value of an old value for a field of `type`; throws
// ConversionError (Portuguese) when it cannot be stored unchanged.
QVariant storedValue(const ParadoxValue& v, FieldType type, const QString& field) {
    switch (type) {
        case FieldType::Text:
            return storedText(v, field);
        case FieldType::Date:
            return storedDate(v, field);
        case FieldType::Money:
        case FieldType::Number:
            return storedNumber(v, type, field);
        case FieldType::AutoInc:
            return storedCounter(v, field);
        case FieldType::Bytes:
            // the scrambled password: every byte as the old file holds it
            if (v.kind == K::Null)
                return QByteArray("");
            if (v.kind == K::Bytes)
                return v.bytes;
            return storedText(v, field).toLatin1();
    }
    return QVariant();
}

bool emptyStored(const QVariant& v) {
    if (v.isNull())
        return true;
    if (v.typeId() == QMetaType::QString)
        return v.toString().trimmed().isEmpty();
    if (v.typeId() == QMetaType::QByteArray)
        return v.toByteArray().isEmpty();
    return false;
}

// Whether an old field of Paradox type `type` holds values a field of the
// program's `target` type takes unchanged. Another type means a damaged
// header (or another program's table): read on, every value would change.
bool typeServes(int type, FieldType target) {
    switch (target) {
        case FieldType::Text:
            return type == pxfAlpha || type == pxfMemoBLOb || type == pxfFmtMemoBLOb ||
                   type == pxfTime;
        case FieldType::Date:
            return type == pxfDate || type == pxfTimestamp || type == pxfAlpha;
        case FieldType::Money:
        case FieldType::Number:
            return type == pxfCurrency || type == pxfNumber || type == pxfShort ||
                   type == pxfLong || type == pxfAutoInc || type == pxfBCD || type == pxfAlpha;
        case FieldType::AutoInc:
            return type == pxfAutoInc || type == pxfLong || type == pxfShort ||
                   type == pxfNumber || type == pxfAlpha;
        case FieldType::Bytes:
            return type == pxfAlpha || type == pxfBytes;
    }
    return false;
}

// Rows of one statement through the store's cursor.
std::unique_ptr<Cursor> select(Database& db, const QString& sql, const BoundValues& values = {}) {
    return db.backend().openCursor(db.connection(), sql, values);
}

}  // namespace

ParadoxImport::ParadoxImport(const QString& oldFolder, bool replace)
    : folder_(oldFolder), replace_(replace) {}

QString ParadoxImport::findFile(const QString& folder,
                                const QString& base,
                                const QString& extension) {
    const QString wanted = base + extension;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(name);
    }
    return QString();
}

QList<ImportReport> ParadoxImport::run() {
    QList<ImportReport> reports;
    for (const TableDef& table : schema::mainTables())
        reports.append(importTable(table));
    return reports;
}

namespace {

// Where each field of the program comes from in the old file.
struct FieldMap {
    QList<int> source;     // old field index per program field; -1: not in the old file
    QList<int> keyFields;  // program fields of the key
};

// Old fields by name, whatever their case; the others are told in the
// report. Throws when a field's old type cannot serve or a key is missing.
FieldMap mapFields(const TableDef& def, const ParadoxFile& old, ImportReport& report) {
    FieldMap map;
    map.source = QList<int>(def.fields.size(), -1);
    for (int i = 0; i < old.fields().size(); ++i) {
        const ParadoxField& f = old.fields()[i];
        const int target = def.fieldIndex(f.name);
        if (target < 0)
            report.notes.append(
                QStringLiteral("campo %1 (%2) do arquivo antigo não existe no programa; ignorado")
                    .arg(f.name, ParadoxFile::typeName(f.type)));
        else if (map.source[target] >= 0)
            report.notes.append(
                QStringLiteral("campo %1 repetido no arquivo antigo; usado o primeiro").arg(f.name));
        else if (!typeServes(f.type, def.fields[target].type))
            throw Error(QStringLiteral("O campo %1 do arquivo antigo é do tipo %2, que não "
                                       "serve para este campo: o cabeçalho do arquivo está "
                                       "danificado (ou a tabela não é do programa antigo) "
                                       "e a tabela não foi lida.")
                            .arg(f.name, ParadoxFile::typeName(f.type)));
        else
            map.source[target] = i;
    }
    QStringList missing;
    for (int i = 0; i < def.fields.size(); ++i)
        if (map.source[i] < 0)
            missing.append(def.fields[i].name);
    if (!missing.isEmpty())
        report.notes.append(QStringLiteral("campos que o arquivo antigo não tem, gravados vazios: %1")
                                .arg(missing.join(QStringLiteral(", "))));
    for (const QString& k : def.primaryKey) {
        const int i = def.fieldIndex(k);
        if (map.source[i] < 0)
            throw Error(
                QStringLiteral("O arquivo antigo não tem o campo %1, que identifica os registros.")
                    .arg(k));
        map.keyFields.append(i);
    }
    return map;
}

// The statements one table's copy runs, inside its transaction.
struct TableCopy {
    Database& db;
    const TableDef& def;
    const FieldMap& map;
    bool replace;
    QString table;  // quoted
    QString rowId;
    std::unique_ptr<Statement> insert;
    std::unique_ptr<Statement> removeRow;
    QString findSql;
    qint64 lastBefore = -1;  // rows up to this one were stored before the import
    bool singleTaken = false;

    TableCopy(Database& database, const TableDef& d, const FieldMap& m, bool replaceRows);
    // The program's values of an old record; empty `problem` when they
    // can all be stored unchanged.
    QVariantList convert(const QList<ParadoxValue>& values, QString& problem) const;
    // Makes room for the record (deleting what it replaces); false and the
    // reason in `report` when it is not stored.
    bool placeSingle(const QVariantList& stored, const QString& example, ImportReport& report);
    bool placeKeyed(const QVariantList& stored, const QString& example, ImportReport& report);
    void store(const QVariantList& stored);
};

TableCopy::TableCopy(Database& database, const TableDef& d, const FieldMap& m, bool replaceRows)
    : db(database), def(d), map(m), replace(replaceRows) {
    const Backend& backend = db.backend();
    QSqlDatabase connection = db.connection();
    table = backend.quote(def.name);
    rowId = backend.rowIdColumn();
    QStringList columns, marks;
    for (const FieldDef& f : def.fields) {
        columns.append(backend.quote(f.name));
        marks.append(QStringLiteral("?"));
    }
    QStringList keyConditions;
    for (int i = 0; i < map.keyFields.size(); ++i)
        keyConditions.append(
            QStringLiteral("%1 = :k%2").arg(backend.quote(def.fields[map.keyFields[i]].name)).arg(i));
    {
        auto c = select(db, QStringLiteral("SELECT MAX(%1) FROM %2").arg(rowId, table));
        if (c->next() && !c->value(0).isNull())
            lastBefore = c->value(0).toLongLong();
    }
    insert = backend.prepare(
        connection,
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    removeRow =
        backend.prepare(connection, QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(table, rowId));
    findSql = QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                  .arg(rowId, table, keyConditions.join(QStringLiteral(" AND ")));
}

QVariantList TableCopy::convert(const QList<ParadoxValue>& values, QString& problem) const {
    QVariantList stored;
    stored.reserve(def.fields.size());
    for (int i = 0; i < def.fields.size(); ++i) {
        const FieldDef& f = def.fields[i];
        if (map.source[i] < 0) {
            stored.append(f.type == FieldType::Text ? QVariant(QStringLiteral("")) : QVariant());
            continue;
        }
        try {
            stored.append(storedValue(values[map.source[i]], f.type, f.name));
        } catch (const ConversionError& e) {
            problem = e.text();
            break;
        }
    }
    return stored;
}

bool TableCopy::placeSingle(const QVariantList& stored,
                            const QString& example,
                            ImportReport& report) {
    bool anything = false;
    for (const QVariant& v : stored)
        anything = anything || !emptyStored(v);
    if (!anything) {
        report.skip(QStringLiteral("registro vazio"), example);
        return false;
    }
    if (singleTaken) {
        report.skip(QStringLiteral("a tabela guarda um só registro; o programa usa o primeiro"),
                    example);
        return false;
    }
    singleTaken = true;
    auto c = select(db, QStringLiteral("SELECT %1 FROM %2").arg(rowId, table));
    QList<qint64> existing;
    while (c->next())
        existing.append(c->value(0).toLongLong());
    c.reset();
    if (existing.isEmpty())
        return true;
    if (!replace) {
        report.skip(QStringLiteral("já havia um registro no banco, que foi mantido (use "
                                   "--replace para substituí-lo)"),
                    QString());
        return false;
    }
    for (qint64 id : existing) {
        removeRow->bind(0, id);
        removeRow->execute();
    }
    ++report.replaced;
    return true;
}

bool TableCopy::placeKeyed(const QVariantList& stored,
                           const QString& example,
                           ImportReport& report) {
    BoundValues keys;
    for (int i = 0; i < map.keyFields.size(); ++i)
        keys.append({QStringLiteral(":k%1").arg(i), stored[map.keyFields[i]]});
    auto c = select(db, findSql, keys);
    const bool exists = c->next();
    const qint64 id = exists ? c->value(0).toLongLong() : -1;
    c.reset();
    if (exists && id > lastBefore) {
        report.skip(QStringLiteral("código ou número repetido no arquivo antigo; ficou o primeiro"),
                    example);
        return false;
    }
    if (exists && !replace) {
        report.skip(QStringLiteral("já estavam no banco e foram mantidos (use --replace para "
                                   "substituí-los)"),
                    example);
        return false;
    }
    if (exists) {
        removeRow->bind(0, id);
        removeRow->execute();
        ++report.replaced;
    }
    return true;
}

void TableCopy::store(const QVariantList& stored) {
    for (int i = 0; i < stored.size(); ++i)
        insert->bind(i, stored[i]);
    insert->execute();
}

using Progress = std::function<void(const QString& table, int done, int total)>;

void copyRows(const TableDef& def,
              ParadoxFile& old,
              TableCopy& copy,
              ImportReport& report,
              const Progress& progress) {
    const QList<int>& keyFields = copy.map.keyFields;
    const int total = old.recordCount();
    for (int n = 0; n < total; ++n) {
        const QList<ParadoxValue> values = old.record(n);
        ++report.read;
        if (progress && (n % 1000 == 0) && n > 0)
            progress(def.name, n, total);
        QString problem;
        const QVariantList stored = copy.convert(values, problem);
        QStringList keyTexts;
        for (int k : keyFields)
            keyTexts.append(k < stored.size() ? storedToText(def.fields[k].type, stored[k])
                                              : QString());
        const QString example = keyFields.isEmpty()
                                    ? QStringLiteral("registro %1").arg(n + 1)
                                    : QStringLiteral("%1 (registro %2)")
                                          .arg(keyTexts.join(QStringLiteral("/")))
                                          .arg(n + 1);
        if (!problem.isEmpty()) {
            report.skip(QStringLiteral("valor que não pode ser gravado sem mudar"),
                        example + QStringLiteral(": ") + problem);
            continue;
        }
        bool emptyKey = false;
        for (int k : keyFields)
            emptyKey = emptyKey || emptyStored(stored[k]);
        if (emptyKey) {
            report.skip(QStringLiteral("sem código ou número (%1 vazio)")
                            .arg(def.primaryKey.join(QStringLiteral(", "))),
                        QStringLiteral("registro %1").arg(n + 1));
            continue;
        }
        // Company data and the password keep one record; the others a key.
        const bool placed = def.primaryKey.isEmpty() ? copy.placeSingle(stored, example, report)
                                                     : copy.placeKeyed(stored, example, report);
        if (!placed)
            continue;
        copy.store(stored);
        ++report.stored;
    }
}

}  // namespace

ImportReport ParadoxImport::importTable(const TableDef& def) {
    ImportReport report;
    report.table = def.name;
    const QString file = findFile(folder_, def.name, QStringLiteral(".db"));
    if (file.isEmpty()) {
        report.failure = QStringLiteral("O arquivo %1.db não foi encontrado na pasta %2.")
                             .arg(def.name, QDir::toNativeSeparators(folder_));
        return report;
    }
    std::shared_ptr<Database> db = Database::main();
    QSqlDatabase connection = db->connection();
    bool inTransaction = false;
    try {
        ParadoxFile old(file, findFile(folder_, def.name, QStringLiteral(".mb")));
        const FieldMap map = mapFields(def, old, report);
        if (!connection.transaction())
            throw StoreError(db->failureMessage(QStringLiteral("Erro ao gravar"),
                                                connection.lastError().text()));
        inTransaction = true;
        {
            TableCopy copy(*db, def, map, replace_);
            copyRows(def, old, copy, report, progress);
        }
        // Counters go on after the numbers brought from the old tables.
        for (const QString& statement : db->backend().counterStatements(def)) {
            auto c = select(*db, statement);
            c->next();
        }
        if (!connection.commit())
            throw StoreError(db->failureMessage(QStringLiteral("Erro ao gravar"),
                                                connection.lastError().text()));
        inTransaction = false;
        report.imported = true;
        if (progress)
            progress(def.name, old.recordCount(), old.recordCount());
    } catch (const Error& e) {
        if (inTransaction)
            connection.rollback();
        report.imported = false;
        report.failure = e.text();
        report.stored = report.replaced = 0;
    }
    return report;
}

}  // namespace quelvarino
