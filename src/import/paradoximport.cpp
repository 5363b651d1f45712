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

// The stored value of an old value for a field of `type`; throws
// ConversionError (Portuguese) when it cannot be stored unchanged.
QVariant storedValue(const ParadoxValue& v, FieldType type, const QString& field) {
    using K = ParadoxValue::Kind;
    auto refuse = [&field](const QString& what) -> ConversionError {
        return ConversionError(QStringLiteral("campo %1: %2").arg(field, what));
    };
    switch (type) {
        case FieldType::Text:
            switch (v.kind) {
                case K::Null:
                    return QStringLiteral("");
                case K::Bytes:
                    // A text ends at its first zero byte and the rest of the
                    // field is zeros: bytes past it mean the fields are not
                    // where the header says (or the record is damaged).
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
                    return formatDate(v.date) + QLatin1Char(' ') +
                           v.time.toString(QStringLiteral("hh:mm"));
                case K::Logical:
                    return v.logical ? QStringLiteral("S") : QStringLiteral("N");
            }
            break;
        case FieldType::Date:
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
                        throw refuse(QStringLiteral("a data \"%1\" não é válida").arg(text));
                    }
                }
                default:
                    throw refuse(QStringLiteral("o valor não é uma data"));
            }
        case FieldType::Money:
        case FieldType::Number: {
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
                        throw refuse(QStringLiteral("\"%1\" não é um valor").arg(text));
                    }
                }
                default:
                    throw refuse(QStringLiteral("o valor não é um número"));
            }
            // A stored number keeps 15 significant digits: beyond thirteen
            // integer digits the cents would be lost.
            if (!std::isfinite(value) || std::fabs(value) >= 1e13)
                throw refuse(QStringLiteral("o valor %1 é grande demais para ser gravado sem "
                                            "perder os centavos")
                                 .arg(value, 0, 'f', 2));
            return value;
        }
        case FieldType::AutoInc:
            switch (v.kind) {
                case K::Null:
                    return QVariant();
                case K::Integer:
                    return qlonglong(v.integer);
                case K::Double:
                    if (v.number == std::floor(v.number) && std::fabs(v.number) < 9e15)
                        return qlonglong(v.number);
                    throw refuse(QStringLiteral("o valor não é um número inteiro"));
                case K::Bytes: {
                    bool ok = false;
                    const qlonglong n = typedText(v, field).toLongLong(&ok);
                    if (ok)
                        return n;
                    throw refuse(QStringLiteral("o valor não é um número inteiro"));
                }
                default:
                    throw refuse(QStringLiteral("o valor não é um número inteiro"));
            }
        case FieldType::Bytes:
            // the scrambled password: every byte as the old file holds it
            switch (v.kind) {
                case K::Null:
                    return QByteArray("");
                case K::Bytes:
                    return v.bytes;
                default:
                    return storedValue(v, FieldType::Text, field).toString().toLatin1();
            }
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

        // Old fields by name, whatever their case; the others are told.
        QList<int> source(def.fields.size(), -1);
        for (int i = 0; i < old.fields().size(); ++i) {
            const ParadoxField& f = old.fields()[i];
            const int target = def.fieldIndex(f.name);
            if (target < 0)
                report.notes.append(
                    QStringLiteral("campo %1 (%2) do arquivo antigo não existe no programa; "
                                   "ignorado")
                        .arg(f.name, ParadoxFile::typeName(f.type)));
            else if (source[target] >= 0)
                report.notes.append(
                    QStringLiteral("campo %1 repetido no arquivo antigo; usado o primeiro")
                        .arg(f.name));
            else if (!typeServes(f.type, def.fields[target].type))
                throw Error(QStringLiteral("O campo %1 do arquivo antigo é do tipo %2, que não "
                                           "serve para este campo: o cabeçalho do arquivo está "
                                           "danificado (ou a tabela não é do programa antigo) "
                                           "e a tabela não foi lida.")
                                .arg(f.name, ParadoxFile::typeName(f.type)));
            else
                source[target] = i;
        }
        QStringList missing;
        for (int i = 0; i < def.fields.size(); ++i)
            if (source[i] < 0)
                missing.append(def.fields[i].name);
        if (!missing.isEmpty())
            report.notes.append(
                QStringLiteral("campos que o arquivo antigo não tem, gravados vazios: %1")
                    .arg(missing.join(QStringLiteral(", "))));
        QList<int> keyFields;
        for (const QString& k : def.primaryKey) {
            const int i = def.fieldIndex(k);
            if (source[i] < 0)
                throw Error(QStringLiteral("O arquivo antigo não tem o campo %1, que identifica "
                                           "os registros.")
                                .arg(k));
            keyFields.append(i);
        }

        const Backend& backend = db->backend();
        const QString table = backend.quote(def.name);
        const QString rowId = backend.rowIdColumn();
        QStringList columns, marks;
        for (const FieldDef& f : def.fields) {
            columns.append(backend.quote(f.name));
            marks.append(QStringLiteral("?"));
        }
        QStringList keyConditions;
        for (int i = 0; i < keyFields.size(); ++i)
            keyConditions.append(QStringLiteral("%1 = :k%2")
                                     .arg(backend.quote(def.fields[keyFields[i]].name))
                                     .arg(i));

        if (!connection.transaction())
            throw StoreError(db->failureMessage(QStringLiteral("Erro ao gravar"),
                                                connection.lastError().text()));
        inTransaction = true;
        qint64 lastBefore = -1;  // rows up to this one were stored before the import
        {
            auto c = select(*db, QStringLiteral("SELECT MAX(%1) FROM %2").arg(rowId, table));
            if (c->next() && !c->value(0).isNull())
                lastBefore = c->value(0).toLongLong();
        }
        auto insert = backend.prepare(
            connection,
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
        auto removeRow = backend.prepare(
            connection, QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(table, rowId));
        const QString findSql = QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                                    .arg(rowId, table, keyConditions.join(QStringLiteral(" AND ")));
        const bool singleRecord = def.primaryKey.isEmpty();  // company data, password
        bool singleTaken = false;

        const int total = old.recordCount();
        for (int n = 0; n < total; ++n) {
            const QList<ParadoxValue> values = old.record(n);
            ++report.read;
            if (progress && (n % 1000 == 0) && n > 0)
                progress(def.name, n, total);
            QVariantList stored;
            stored.reserve(def.fields.size());
            QString problem;
            for (int i = 0; i < def.fields.size(); ++i) {
                const FieldDef& f = def.fields[i];
                if (source[i] < 0) {
                    stored.append(f.type == FieldType::Text ? QVariant(QStringLiteral(""))
                                                            : QVariant());
                    continue;
                }
                try {
                    stored.append(storedValue(values[source[i]], f.type, f.name));
                } catch (const ConversionError& e) {
                    problem = e.text();
                    break;
                }
            }
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
            if (singleRecord) {
                bool anything = false;
                for (const QVariant& v : stored)
                    anything = anything || !emptyStored(v);
                if (!anything) {
                    report.skip(QStringLiteral("registro vazio"), example);
                    continue;
                }
                if (singleTaken) {
                    report.skip(QStringLiteral("a tabela guarda um só registro; o programa usa "
                                               "o primeiro"),
                                example);
                    continue;
                }
                singleTaken = true;
                auto c = select(*db, QStringLiteral("SELECT %1 FROM %2").arg(rowId, table));
                QList<qint64> existing;
                while (c->next())
                    existing.append(c->value(0).toLongLong());
                c.reset();
                if (!existing.isEmpty()) {
                    if (!replace_) {
                        report.skip(QStringLiteral("já havia um registro no banco, que foi "
                                                   "mantido (use --replace para substituí-lo)"),
                                    QString());
                        continue;
                    }
                    for (qint64 id : existing) {
                        removeRow->bind(0, id);
                        removeRow->execute();
                    }
                    ++report.replaced;
                }
            } else {
                BoundValues keys;
                for (int i = 0; i < keyFields.size(); ++i)
                    keys.append({QStringLiteral(":k%1").arg(i), stored[keyFields[i]]});
                auto c = select(*db, findSql, keys);
                const bool exists = c->next();
                const qint64 id = exists ? c->value(0).toLongLong() : -1;
                c.reset();
                if (exists && id > lastBefore) {
                    report.skip(QStringLiteral("código ou número repetido no arquivo antigo; "
                                               "ficou o primeiro"),
                                example);
                    continue;
                }
                if (exists && !replace_) {
                    report.skip(QStringLiteral("já estavam no banco e foram mantidos (use "
                                               "--replace para substituí-los)"),
                                example);
                    continue;
                }
                if (exists) {
                    removeRow->bind(0, id);
                    removeRow->execute();
                    ++report.replaced;
                }
            }
            for (int i = 0; i < stored.size(); ++i)
                insert->bind(i, stored[i]);
            insert->execute();
            ++report.stored;
        }
        insert.reset();
        removeRow.reset();
        // Counters go on after the numbers brought from the old tables.
        for (const QString& statement : backend.counterStatements(def)) {
            auto c = select(*db, statement);
            c->next();
        }
        if (!connection.commit())
            throw StoreError(db->failureMessage(QStringLiteral("Erro ao gravar"),
                                                connection.lastError().text()));
        inTransaction = false;
        report.imported = true;
        if (progress)
            progress(def.name, total, total);
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
