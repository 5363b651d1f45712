#include "app/mainwindow.h"
#include "app/program.h"
#include "core/password.h"
#include "data/schema.h"
#include "data/table.h"
#include "import/paradoxfile.h"
#include "import/paradoximport.h"
#include "pgserver.h"
#include "settings/passwords.h"
#include "testsupport.h"
#include "widgets/messagebox.h"

extern "C" {
#include <paradox.h>
}
#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringEncoder>
#include <memory>

using namespace quelvarino;
using namespace operatorDoes;

namespace {

// ---- Paradox tables written here with pxlib, as the old program left them ----

struct OldField {
    QByteArray name;
    char type;
    int length;
};

// The text in the old program's code page, encoded here on its own so the
// import's decoder is checked against an independent table.
QByteArray cp1252(const QString& text) {
    QByteArray out;
    for (const QChar c : text) {
        if (c == QChar(0x20AC))
            out += char(0x80);
        else if (c == QChar(0x2013))
            out += char(0x96);
        else if (c == QChar(0x201C))
            out += char(0x93);
        else if (c == QChar(0x201D))
            out += char(0x94);
        else if (c.unicode() <= 0xFF)
            out += char(c.unicode());
        else
            out += '?';
    }
    return out;
}

constexpr long kSdnOfDayZero = 1721425;

// Writes a table: each row holds one value per field: QString (alpha or
// memo, in CP-1252), QByteArray (alpha bytes as they are), QDate, double,
// int, bool; an invalid QVariant leaves the field empty.
void writeTable(const QString& file,
                const QList<OldField>& fields,
                const QList<QVariantList>& rows,
                const QString& memoFile = QString()) {
    pxdoc_t* px = PX_new();
    QVERIFY(px);
    std::vector<pxfield_t> defs(fields.size());
    for (int i = 0; i < fields.size(); ++i) {
        defs[i].px_fname = static_cast<char*>(px->malloc(px, fields[i].name.size() + 1, "test"));
        std::memcpy(defs[i].px_fname, fields[i].name.constData(), fields[i].name.size() + 1);
        defs[i].px_ftype = fields[i].type;
        defs[i].px_flen = fields[i].length;
        defs[i].px_fdc = 0;
    }
    auto* heap = static_cast<pxfield_t*>(px->malloc(px, sizeof(pxfield_t) * defs.size(), "test"));
    std::memcpy(heap, defs.data(), sizeof(pxfield_t) * defs.size());
    QVERIFY(PX_create_file(px, heap, fields.size(), QFile::encodeName(file).constData(),
                           pxfFileTypNonIndexDB) == 0);
    PX_set_tablename(px, QFileInfo(file).baseName().toLatin1().constData());
    if (!memoFile.isEmpty())
        QVERIFY(PX_set_blob_file(px, QFile::encodeName(memoFile).constData()) == 0);
    const int size = PX_get_recordsize(px);
    QByteArray record(size, '\0');
    for (const QVariantList& row : rows) {
        record.fill('\0');
        int offset = 0;
        for (int i = 0; i < fields.size(); ++i) {
            char* p = record.data() + offset;
            const OldField& f = fields[i];
            const QVariant& v = row.value(i);
            offset += f.length;
            if (!v.isValid())
                continue;
            switch (f.type) {
                case pxfAlpha: {
                    const QByteArray b = v.typeId() == QMetaType::QByteArray ? v.toByteArray()
                                                                             : cp1252(v.toString());
                    std::memcpy(p, b.constData(), std::min<int>(b.size(), f.length));
                    break;
                }
                case pxfDate: {
                    const QDate d = v.toDate();
                    PX_put_data_long(
                        px, p, 4, PX_GregorianToSdn(d.year(), d.month(), d.day()) - kSdnOfDayZero);
                    break;
                }
                case pxfCurrency:
                case pxfNumber:
                    PX_put_data_double(px, p, 8, v.toDouble());
                    break;
                case pxfLong:
                case pxfAutoInc:
                    PX_put_data_long(px, p, 4, v.toInt());
                    break;
                case pxfShort:
                    PX_put_data_short(px, p, 2, short(v.toInt()));
                    break;
                case pxfLogical:
                    PX_put_data_byte(px, p, 1, v.toBool() ? 1 : 0);
                    break;
                case pxfMemoBLOb: {
                    QByteArray b = cp1252(v.toString());
                    PX_put_data_blob(px, p, f.length, b.data(), b.size());
                    break;
                }
            }
        }
        QVERIFY(PX_put_record(px, record.data()) >= 0);
    }
    PX_close(px);
    PX_delete(px);
}

// The old layout of a table of the program: its fields in a case of their
// own ("Codcli"), texts 80 wide (the notes a memo), dates, money, counters.
QList<OldField> oldLayout(const TableDef& t) {
    QList<OldField> out;
    for (const FieldDef& f : t.fields) {
        QByteArray name = f.name.toLatin1().toLower();
        name[0] = QChar::toUpper(name[0]);
        switch (f.type) {
            case FieldType::Text:
                if (f.name == "OBSERVACAO")
                    out.append({name, pxfMemoBLOb, 20});
                else if (f.name.startsWith("HORA"))
                    out.append({name, pxfAlpha, 5});
                else
                    out.append({name, pxfAlpha, 80});
                break;
            case FieldType::Date:
                out.append({name, pxfDate, 4});
                break;
            case FieldType::Money:
                out.append({name, pxfCurrency, 8});
                break;
            case FieldType::Number:
                out.append({name, pxfNumber, 8});
                break;
            case FieldType::AutoInc:
                out.append({name, pxfAutoInc, 4});
                break;
            case FieldType::Bytes:
                out.append({name, pxfAlpha, 255});
                break;
        }
    }
    return out;
}

QString longNote() {
    QString s;
    for (int i = 0; i < 12; ++i)
        s += QString("Linha %1: entrega na Av. São João, nº %1 – “urgente”, ação €\r\n").arg(i);
    return s;  // far past the memo's part kept in the record
}

// The value of a field in row `n`; every kind of value, empty ones included.
QVariant oldValue(const TableDef& t, const FieldDef& f, int n) {
    const bool key = t.primaryKey.contains(f.name);
    switch (f.type) {
        case FieldType::Text:
            if (key)
                return f.name == "COMANDA" || f.name == "RECIBO" || f.name == "NUMDESP"
                           ? QString("%1").arg(n + 1, 10, 10, QChar('0'))
                           : QString("%1").arg(n + 1, 6, 10, QChar('0'));
            if (f.name.startsWith("HORA"))
                return n == 1 ? QVariant()
                              : QVariant(QString("%1:30").arg(8 + n, 2, 10, QChar('0')));
            if (f.name == "OBSERVACAO")
                return n == 0 ? QVariant(longNote()) : n == 1 ? QVariant() : QVariant("Curta");
            if (n == 1 && f.name != "RAZAOSOCIAL")
                return QVariant();  // empty text
            return QString("%1 JOSÉ CONCEIÇÃO Ü %2").arg(f.name.left(6)).arg(n);
        case FieldType::Date:
            return n == 1 ? QVariant() : QVariant(QDate(2005, 1, 31).addDays(n * 40));
        case FieldType::Money:
        case FieldType::Number:
            return n == 1 ? QVariant() : QVariant(n == 2 ? 0.0 : 1234.56 + n * 1000.07);
        case FieldType::AutoInc:
            return n + 1;
        case FieldType::Bytes:
            return QVariant();  // written by the tests that need it
    }
    return QVariant();
}

// ---- damage done to a table as a disk, a copy or a virus leaves it ----

quint16 wordAt(const QByteArray& b, int at) {
    return quint16(uchar(b[at]) | uchar(b[at + 1]) << 8);
}
quint32 longAt(const QByteArray& b, int at) {
    return quint32(wordAt(b, at)) | quint32(wordAt(b, at + 2)) << 16;
}
void putWord(QByteArray& b, int at, quint16 v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}
void putLong(QByteArray& b, int at, quint32 v) {
    putWord(b, at, quint16(v & 0xFFFF));
    putWord(b, at + 2, quint16(v >> 16));
}
QByteArray readAll(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
bool writeAll(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Where things are in a table written by pxlib (Paradox 7 layout).
struct TableBytes {
    QByteArray& b;
    static constexpr int kFieldInfo = 0x78;
    int headerSize() const { return wordAt(b, 0x02); }
    int blockSize() const { return uchar(b[0x05]) * 0x400; }
    int block(int n) const { return headerSize() + (n - 1) * blockSize(); }
    // the first byte of field `field` of the first record of the first block
    int firstRecordField(const QList<OldField>& layout, int field) const {
        int at = block(wordAt(b, 0x0E)) + 6;
        for (int i = 0; i < field; ++i)
            at += layout[i].length;
        return at;
    }
};

int firstOfType(const QList<OldField>& layout, char type, int length = -1) {
    for (int i = 0; i < layout.size(); ++i)
        if (layout[i].type == type && (length < 0 || layout[i].length == length))
            return i;
    return -1;
}

// One random damage; says what it did.
QString mutate(QByteArray& db, QByteArray& mb, QRandomGenerator& random) {
    const TableBytes t{db};
    const int kind = random.bounded(10);
    auto anywhere = [&](const QByteArray& b) { return int(random.bounded(quint32(b.size()))); };
    switch (kind) {
        case 0: {  // one bit anywhere
            const int at = anywhere(db);
            db[at] = char(db[at] ^ (1 << random.bounded(8)));
            return QString("bit at %1").arg(at);
        }
        case 1: {  // one byte of the header
            const int at = random.bounded(std::min<int>(t.headerSize(), db.size()));
            const char v = char(random.bounded(3) == 0 ? 0 : random.bounded(256));
            db[at] = v;
            return QString("header byte %1 = %2").arg(at).arg(uchar(v));
        }
        case 2: {  // a counter of the header a little off, or wild
            static const int places[] = {0x00, 0x02, 0x06, 0x0A, 0x0C, 0x0E, 0x10, 0x21};
            const int at = places[random.bounded(8)];
            const int delta =
                random.bounded(2) ? int(random.bounded(5)) - 2 : int(random.bounded(65536));
            putWord(db, at, quint16(wordAt(db, at) + delta));
            return QString("header word %1 + %2").arg(at).arg(delta);
        }
        case 3: {  // a field's type or length
            const int numFields = wordAt(db, 0x21);
            const int at = TableBytes::kFieldInfo + 2 * random.bounded(std::max(numFields, 1)) +
                           random.bounded(2);
            if (at >= db.size())
                return "none";
            db[at] = char(random.bounded(256));
            return QString("field info %1 = %2").arg(at).arg(uchar(db[at]));
        }
        case 4: {  // cut
            const int size = anywhere(db);
            db.truncate(size);
            return QString("cut at %1").arg(size);
        }
        case 5: {  // grown with garbage
            const int n = 1 + random.bounded(8192);
            for (int i = 0; i < n; ++i)
                db.append(char(random.bounded(256)));
            return QString("grown by %1").arg(n);
        }
        case 6: {  // a block's chain or record count
            const int blocks = wordAt(db, 0x0C);
            if (blocks == 0)
                return "none";
            const int at = t.block(1 + random.bounded(blocks)) + 2 * random.bounded(3);
            if (at + 1 >= db.size())
                return "none";
            putWord(db, at,
                    quint16(random.bounded(2) ? wordAt(db, at) + 1 : random.bounded(65536)));
            return QString("block word %1").arg(at);
        }
        case 7: {  // encryption bytes
            const int at = random.bounded(2) ? 0x25 : 0x5C;
            putLong(db, at, random.generate());
            return QString("encryption at %1").arg(at);
        }
        case 8: {  // a bit of the memo file
            if (mb.isEmpty())
                return "none";
            const int at = anywhere(mb);
            mb[at] = char(mb[at] ^ (1 << random.bounded(8)));
            return QString("memo bit at %1").arg(at);
        }
        default: {  // the memo file cut
            if (mb.isEmpty())
                return "none";
            const int size = anywhere(mb);
            mb.truncate(size);
            return QString("memo cut at %1").arg(size);
        }
    }
}

}  // namespace

class TestImport : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    QString old;  // the old data folder

    static constexpr int kRows = 4;

    QList<QVariantList> rowsOf(const TableDef& t, int count = kRows) {
        QList<QVariantList> rows;
        for (int n = 0; n < count; ++n) {
            QVariantList row;
            for (const FieldDef& f : t.fields)
                row.append(oldValue(t, f, n));
            rows.append(row);
        }
        return rows;
    }
    void writeOld(const TableDef& t, QList<OldField> layout, const QList<QVariantList>& rows) {
        const bool memo = t.fieldIndex("OBSERVACAO") >= 0;
        writeTable(old + "/" + t.name + (t.name == "tbempresa" ? ".DB" : ".db"), layout, rows,
                   memo ? old + "/" + t.name + ".mb" : QString());
    }
    void writeEveryTable() {
        for (const TableDef& t : schema::mainTables()) {
            QList<OldField> layout = oldLayout(t);
            QList<QVariantList> rows = t.primaryKey.isEmpty() ? rowsOf(t, 1) : rowsOf(t);
            if (t.name == "tbclientes") {  // a field the program does not know
                layout.append({"FAX", pxfAlpha, 15});
                for (QVariantList& r : rows)
                    r.append("3222-1111");
            }
            if (t.name == "tbsenha")
                rows[0][t.fieldIndex("SENHA")] = everyByte();
            writeOld(t, layout, rows);
        }
    }
    static QByteArray everyByte() {
        QByteArray b;
        for (int c = 1; c < 256; ++c)
            b += char(c);
        return b;
    }
    QList<ImportReport> runImport(bool replace = false) {
        DataFolder::prepare();
        ParadoxImport import(old, replace);
        const QList<ImportReport> reports = import.run();
        return reports;
    }
    static ImportReport reportOf(const QList<ImportReport>& all, const QString& table) {
        for (const ImportReport& r : all)
            if (r.table == table)
                return r;
        return ImportReport();
    }
    static QString field(const QString& table, const QString& key, const QString& name) {
        Table t(table);
        t.open();
        if (!key.isEmpty() && !t.findKey(key))
            return "<missing>";
        return t.fieldByName(name).asString();
    }

private slots:
    void init() {
        home = std::make_unique<TempHome>();
        old = home->path() + "/antigo";
        QDir().mkpath(old);
        MessageBox::setTestMode(true);
        MessageBox::clearShownMessages();
    }
    void cleanup() { home.reset(); }

    // Every byte of an old text becomes one character and back: the five
    // bytes the code page leaves undefined included, so no byte is lost.
    void windows1252TextKeepsEveryByte() {
        QByteArray all;
        for (int c = 0; c < 256; ++c)
            all.append(char(c));
        const QString text = fromWindows1252(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(text[0x80], QChar(0x20AC));  // euro
        QCOMPARE(text[0x93], QChar(0x201C));  // opening double quote
        QCOMPARE(text[0x96], QChar(0x2013));  // en dash
        QCOMPARE(text[0xE7], QChar(0x00E7));  // c cedilla
        for (int c : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
            QCOMPARE(text[c], QChar(c));
        QStringEncoder back("windows-1252");
        QCOMPARE(QByteArray(back.encode(text)), all);
    }

    void everyTableFieldByField() {
        writeEveryTable();
        const QList<ImportReport> reports = runImport();
        QCOMPARE(reports.size(), schema::mainTables().size());
        for (const ImportReport& r : reports) {
            QVERIFY2(r.imported, qPrintable(r.table + ": " + r.failure));
            QCOMPARE(r.skipped, 0);
            QCOMPARE(r.read, r.table == "tbempresa" || r.table == "tbsenha" ? 1 : kRows);
            QCOMPARE(r.stored, r.read);
        }
        QVERIFY(reportOf(reports, "tbclientes").notes.join("\n").contains("FAX"));

        for (const TableDef& t : schema::mainTables()) {
            Table table(t.name);
            table.open();
            int n = 0;
            for (table.first(); !table.eof(); table.next(), ++n) {
                for (const FieldDef& f : t.fields) {
                    const QVariant v = oldValue(t, f, n);
                    const QString where =
                        QString("%1 row %2 field %3").arg(t.name).arg(n).arg(f.name);
                    const Field& got = table.fieldByName(f.name);
                    if (f.type == FieldType::Bytes) {
                        QCOMPARE(got.asString().toLatin1(), everyByte());
                        continue;
                    }
                    if (!v.isValid()) {
                        QVERIFY2(got.asString().isEmpty(), qPrintable(where));
                        continue;
                    }
                    switch (f.type) {
                        case FieldType::Date:
                            QCOMPARE(got.asString(), v.toDate().toString("dd/MM/yyyy"));
                            break;
                        case FieldType::Money:
                        case FieldType::Number:
                            QVERIFY2(!got.isNull(), qPrintable(where));
                            QCOMPARE(got.asFloat(), v.toDouble());
                            break;
                        case FieldType::AutoInc:
                            QCOMPARE(got.asString(), QString::number(v.toInt()));
                            break;
                        default:
                            QCOMPARE(got.asString(), v.toString());
                    }
                }
            }
            QCOMPARE(n, t.primaryKey.isEmpty() ? 1 : kRows);
        }
        // The counters go on after the imported numbers.
        Table lines("tbentrdesp");
        lines.open();
        lines.insert();
        lines.fieldByName("NUMDESP").setAsString("0000000099");
        lines.post();
        QCOMPARE(lines.fieldByName("CONT").asString(), QString::number(kRows + 1));
    }

    void secondRunKeepsOrReplaces_data() {
        QTest::addColumn<bool>("replace");
        QTest::newRow("kept (the default)") << false;
        QTest::newRow("replaced (--replace)") << true;
    }
    void secondRunKeepsOrReplaces() {
        QFETCH(bool, replace);
        writeEveryTable();
        runImport();
        // The office changed a client and the company in the new program.
        {
            Table t("tbclientes");
            t.open();
            QVERIFY(t.findKey("000002"));
            t.edit();
            t.fieldByName("RAZAOSOCIAL").setAsString("NOME NOVO");
            t.post();
            Table c("tbempresa");
            c.open();
            c.first();
            c.edit();
            c.fieldByName("RAZAOSOCIAL").setAsString("EMPRESA NOVA");
            c.post();
        }
        const QList<ImportReport> again = runImport(replace);
        for (const ImportReport& r : again) {
            QVERIFY2(r.imported, qPrintable(r.failure));
            QCOMPARE(r.stored, replace ? r.read : 0);
            QCOMPARE(r.replaced, replace ? r.read : 0);
            QCOMPARE(r.skipped, replace ? 0 : r.read);
            if (!replace)
                QVERIFY(r.reasons.firstKey().contains("--replace"));
        }
        for (const TableDef& t : schema::mainTables())
            QCOMPARE(rowsIn(t.name), t.primaryKey.isEmpty() ? 1 : kRows);
        QCOMPARE(field("tbclientes", "000002", "RAZAOSOCIAL"),
                 replace ? QString("RAZAOS JOSÉ CONCEIÇÃO Ü 1") : QString("NOME NOVO"));
        QCOMPARE(field("tbempresa", "", "RAZAOSOCIAL"),
                 replace ? QString("RAZAOS JOSÉ CONCEIÇÃO Ü 0") : QString("EMPRESA NOVA"));
    }

    // A table that cannot be read to its end is told and leaves nothing of
    // itself; the others are imported whole.
    void damagedTableIsSkipped_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("said");
        QTest::newRow("cut inside its blocks") << "cut"
                                               << "incompleto";
        QTest::newRow("not a Paradox table") << "garbage"
                                             << "não é uma tabela Paradox";
        QTest::newRow("missing") << "missing"
                                 << "não foi encontrado";
        QTest::newRow("memo file missing") << "memo"
                                           << ".mb";
    }
    void damagedTableIsSkipped() {
        QFETCH(QString, damage);
        QFETCH(QString, said);
        const TableDef& orders = *schema::findMainTable("tbordem");
        writeEveryTable();
        writeOld(orders, oldLayout(orders), rowsOf(orders, 300));  // many blocks
        const QString file = old + "/tbordem.db";
        if (damage == "cut") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.resize(f.size() / 2));
        } else if (damage == "garbage") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(QByteArray(5000, 'x'));
        } else if (damage == "missing") {
            QVERIFY(QFile::remove(file));
        } else {
            QVERIFY(QFile::remove(old + "/tbordem.mb"));
        }
        // An order the new program already holds stays as it was.
        DataFolder::prepare();
        store("tbordem", {{"COMANDA", "0000000001"}, {"CLIENTE", "JA GRAVADA"}});
        const QList<ImportReport> reports = runImport();
        const ImportReport r = reportOf(reports, "tbordem");
        QVERIFY(!r.imported);
        QVERIFY2(r.failure.contains(said), qPrintable(r.failure));
        QCOMPARE(rowsIn("tbordem"), 1);
        QCOMPARE(field("tbordem", "0000000001", "CLIENTE"), QString("JA GRAVADA"));
        for (const ImportReport& other : reports)
            if (other.table != "tbordem")
                QVERIFY2(other.imported && other.stored == other.read, qPrintable(other.table));
        QCOMPARE(rowsIn("tbclientes"), kRows);
    }

    // A table whose header, blocks or memo file do not hold together is
    // refused whole, said so, and what the store held stays; never a row
    // read from the wrong place, dropped or changed.
    void damagedStructureRefusesTheTable_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("said");
        QTest::newRow("text field retyped as money") << "alpha>currency"
                                                     << "danificado";
        QTest::newRow("text field retyped as number") << "alpha>number"
                                                      << "danificado";
        QTest::newRow("text field retyped as timestamp") << "alpha>timestamp"
                                                         << "danificado";
        QTest::newRow("field length changed") << "length"
                                              << "danificado";
        QTest::newRow("no such field type") << "type99"
                                            << "danificado";
        QTest::newRow("date field retyped as a number") << "date>long"
                                                        << "não serve";
        QTest::newRow("money field retyped as a timestamp") << "currency>timestamp"
                                                            << "não serve";
        QTest::newRow("encryption bytes") << "encryption2"
                                          << "protegida por senha";
        QTest::newRow("first encryption bytes") << "encryption1"
                                                << "protegida por senha";
        QTest::newRow("header counts one record less") << "records-1"
                                                       << "indica 99 registros";
        QTest::newRow("header counts one record more") << "records+1"
                                                       << "indica 101 registros";
        QTest::newRow("header counts none") << "records=0"
                                            << "indica 0 registros";
        QTest::newRow("block chain loops") << "loop"
                                           << "duas vezes";
        QTest::newRow("block chain leaves the file") << "nextPast"
                                                     << "não existe";
        QTest::newRow("block chain broken backwards") << "prev"
                                                      << "anterior";
        QTest::newRow("a block's record count") << "blockCount"
                                                << "contagem";
        QTest::newRow("more blocks than the file has") << "fileBlocks"
                                                       << "incompleto";
        QTest::newRow("made an index file") << "fileType"
                                            << "não é uma tabela Paradox";
        QTest::newRow("no fields") << "numFields"
                                   << "danificado";
        QTest::newRow("header cut") << "headerCut"
                                    << "não é uma tabela Paradox";
        // A size byte damaged (2048 read as 256): the blocks would be read
        // from the wrong place, the password table as an empty name.
        QTest::newRow("header size too small for its names") << "headerSize256"
                                                             << "tamanho do cabeçalho 256";
        QTest::newRow("date out of every calendar") << "dateValue"
                                                    << "data válida";
        QTest::newRow("money not a number") << "nanValue"
                                            << "número válido";
        QTest::newRow("memo pointer elsewhere") << "memoPointer"
                                                << "memorando";
        QTest::newRow("memo block damaged") << "memoBlock"
                                            << "memorando";
        QTest::newRow("memo file cut") << "memoCut"
                                       << "memorando";
    }
    void damagedStructureRefusesTheTable() {
        QFETCH(QString, damage);
        QFETCH(QString, said);
        const TableDef& orders = *schema::findMainTable("tbordem");
        const QList<OldField> layout = oldLayout(orders);
        writeOld(orders, layout, rowsOf(orders, 100));  // many blocks, a memo
        const QString file = old + "/tbordem.db", memoFile = old + "/tbordem.mb";
        QByteArray db = readAll(file), mb = readAll(memoFile);
        QVERIFY(!db.isEmpty() && !mb.isEmpty());
        const TableBytes t{db};
        QVERIFY(wordAt(db, 0x0C) > 3);
        auto retype = [&](char from, int length, char to) {
            const int i = firstOfType(layout, from, length);
            QVERIFY(i >= 0);
            db[TableBytes::kFieldInfo + 2 * i] = to;
        };
        const int memoField = firstOfType(layout, pxfMemoBLOb);
        const int memoTail = t.firstRecordField(layout, memoField) + layout[memoField].length - 10;
        if (damage == "alpha>currency")
            retype(pxfAlpha, 80, pxfCurrency);
        else if (damage == "alpha>number")
            retype(pxfAlpha, 80, pxfNumber);
        else if (damage == "alpha>timestamp")
            retype(pxfAlpha, 80, pxfTimestamp);
        else if (damage == "type99")
            retype(pxfAlpha, 80, 99);
        else if (damage == "date>long")
            retype(pxfDate, 4, pxfLong);
        else if (damage == "currency>timestamp")
            retype(pxfCurrency, 8, pxfTimestamp);
        else if (damage == "length")
            db[TableBytes::kFieldInfo + 2 * firstOfType(layout, pxfAlpha, 80) + 1] = char(79);
        else if (damage == "encryption2")
            putLong(db, 0x5C, 0x1A2B3C4D);
        else if (damage == "encryption1")
            putLong(db, 0x25, 0x00000001);
        else if (damage == "records-1")
            putLong(db, 0x06, 99);
        else if (damage == "records+1")
            putLong(db, 0x06, 101);
        else if (damage == "records=0")
            putLong(db, 0x06, 0);
        else if (damage == "loop")
            putWord(db, t.block(2), 1);
        else if (damage == "nextPast")
            putWord(db, t.block(1), 0x7FFF);
        else if (damage == "prev")
            putWord(db, t.block(2) + 2, 3);
        else if (damage == "blockCount")
            putWord(db, t.block(1) + 4, wordAt(db, t.block(1) + 4) + 1);
        else if (damage == "fileBlocks")
            putWord(db, 0x0C, wordAt(db, 0x0C) + 1);
        else if (damage == "fileType")
            db[0x04] = 1;
        else if (damage == "numFields")
            putWord(db, 0x21, 0);
        else if (damage == "headerCut")
            db.truncate(0x40);
        else if (damage == "headerSize256")
            putWord(db, 0x02, 256);
        else if (damage == "dateValue")
            putLong(db, t.firstRecordField(layout, firstOfType(layout, pxfDate)), 0xFFFFFFFF);
        else if (damage == "nanValue") {
            const int at = t.firstRecordField(layout, firstOfType(layout, pxfCurrency));
            putLong(db, at, 0xFFFFFFFF);
            putLong(db, at + 4, 0xFFFFFFFF);
        } else if (damage == "memoPointer")
            putLong(db, memoTail, longAt(db, memoTail) + 0x1000);
        else if (damage == "memoBlock")
            mb[int(longAt(db, memoTail) & 0xFFFFFF00u)] = 7;
        else if (damage == "memoCut")
            mb.truncate(int(longAt(db, memoTail) & 0xFFFFFF00u) + 20);
        QVERIFY(writeAll(file, db) && writeAll(memoFile, mb));
        DataFolder::prepare();
        store("tbordem", {{"COMANDA", "0000000001"}, {"CLIENTE", "JA GRAVADA"}});
        const ImportReport r = ParadoxImport(old, true).importTable(orders);
        QVERIFY2(!r.imported, qPrintable(QString("imported %1 of %2").arg(r.stored).arg(r.read)));
        QVERIFY2(r.failure.contains(said), qPrintable(r.failure));
        QCOMPARE(r.stored, 0);
        QCOMPARE(rowsIn("tbordem"), 1);
        QCOMPARE(field("tbordem", "0000000001", "CLIENTE"), QString("JA GRAVADA"));
    }

    // Hundreds of tables damaged at random, every run with a seed of its
    // own (QUELVARINO_FUZZ_SEED repeats one): the import never crashes nor
    // hangs; a table it takes has every row, and no more rows differ from
    // the sound table's than damage was done; one it refuses leaves nothing.
    void randomlyDamagedTables() {
        const TableDef& orders = *schema::findMainTable("tbordem");
        const QList<OldField> layout = oldLayout(orders);
        constexpr int kFuzzRows = 40;
        writeOld(orders, layout, rowsOf(orders, kFuzzRows));
        const QString file = old + "/tbordem.db", memoFile = old + "/tbordem.mb";
        const QByteArray soundDb = readAll(file), soundMb = readAll(memoFile);
        DataFolder::prepare();
        auto rowsStored = [&] {
            QMap<QString, QStringList> rows;
            Table t("tbordem");
            t.open();
            for (t.first(); !t.eof(); t.next()) {
                QStringList values;
                for (const FieldDef& f : orders.fields)
                    values.append(t.fieldByName(f.name).asString());
                rows.insert(t.fieldByName("COMANDA").asString(), values);
            }
            return rows;
        };
        const ImportReport sound = ParadoxImport(old, false).importTable(orders);
        QVERIFY2(sound.imported && sound.stored == kFuzzRows, qPrintable(sound.failure));
        const QMap<QString, QStringList> soundRows = rowsStored();

        const quint32 seed = qEnvironmentVariableIsSet("QUELVARINO_FUZZ_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("QUELVARINO_FUZZ_SEED"))
                                 : QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        QElapsedTimer clock;
        clock.start();
        int tried = 0, refused = 0;
        // a few hundred, fewer on a slow machine: the suite keeps its time
        // (QUELVARINO_FUZZ_COUNT asks for more, for a longer drill)
        const int wanted = qEnvironmentVariableIsSet("QUELVARINO_FUZZ_COUNT")
                               ? qEnvironmentVariableIntValue("QUELVARINO_FUZZ_COUNT")
                               : 600;
        const qint64 limitMs =
            qEnvironmentVariableIsSet("QUELVARINO_FUZZ_COUNT") ? 1LL << 40 : 30000;
        for (; tried < wanted && (tried < 60 || clock.elapsed() < limitMs); ++tried) {
            QByteArray db = soundDb, mb = soundMb;
            QStringList done;
            const int damages = 1 + random.bounded(3);
            for (int i = 0; i < damages; ++i)
                done.append(mutate(db, mb, random));
            const QString what =
                QString("seed %1, table %2: %3").arg(seed).arg(tried).arg(done.join("; "));
            QVERIFY(writeAll(file, db) && writeAll(memoFile, mb));
            QSqlQuery wipe(Database::main()->connection());
            QVERIFY2(wipe.exec("DELETE FROM tbordem"), qPrintable(wipe.lastError().text()));
            const ImportReport r = ParadoxImport(old, false).importTable(orders);
            if (!r.imported) {
                ++refused;
                QVERIFY2(!r.failure.isEmpty(), qPrintable(what));
                QVERIFY2(rowsIn("tbordem") == 0, qPrintable(what));
                continue;
            }
            QVERIFY2(r.read == kFuzzRows, qPrintable(what + QString(": read %1").arg(r.read)));
            QVERIFY2(r.stored + r.skipped == r.read, qPrintable(what));
            if (r.notes != sound.notes)
                continue;  // a field's name damaged: the report says what was left empty
            // Rows skipped are told, with their reason; one damage skips
            // one row at most, or the table is refused.
            QVERIFY2(r.skipped <= damages,
                     qPrintable(what + QString(": %1 rows skipped").arg(r.skipped)));
            const QMap<QString, QStringList> rows = rowsStored();
            int changed = 0, missing = 0;
            for (auto it = soundRows.cbegin(); it != soundRows.cend(); ++it) {
                if (!rows.contains(it.key()))
                    ++missing;
                else if (rows.value(it.key()) != it.value())
                    ++changed;
            }
            const int silent = changed + std::max(0, missing - r.skipped);
            QVERIFY2(silent <= damages,
                     qPrintable(what + QString(": %1 rows changed").arg(silent)));
        }
        qInfo("%d damaged tables in %lld ms, %d refused (seed %u)", tried, clock.elapsed(), refused,
              seed);
    }

    // Rows that cannot be stored as they are are skipped with their reason.
    void rowsSkippedWithTheirReason_data() {
        QTest::addColumn<QVariantList>("row");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty code")
            << QVariantList{QVariant(), "SEM CODIGO", QDate(2020, 1, 1)} << "vazio";
        QTest::newRow("repeated code")
            << QVariantList{"000001", "REPETIDA", QDate(2020, 1, 1)} << "repetido";
        QTest::newRow("date written as a bad text")
            << QVariantList{"000009", "DATA RUIM", QVariant()} << "não pode ser gravado";
    }
    void rowsSkippedWithTheirReason() {
        QFETCH(QVariantList, row);
        QFETCH(QString, reason);
        // The expense types with the date as text, as some old folders have it.
        const QList<OldField> layout = {
            {"COD", pxfAlpha, 6}, {"Despesa", pxfAlpha, 45}, {"data", pxfAlpha, 10}};
        auto textDate = [](const QVariant& d) {
            return d.isValid() ? QVariant(d.toDate().toString("dd/MM/yyyy"))
                               : QVariant("31/02/2020");
        };
        QList<QVariantList> rows = {{"000001", "GASOLINA", "05/01/2020"},
                                    {row[0], row[1], textDate(row[2])},
                                    {"000002", "PEDÁGIO", QVariant()}};
        writeTable(old + "/tbdespesa.db", layout, rows);
        DataFolder::prepare();
        const ImportReport r =
            ParadoxImport(old, false).importTable(*schema::findMainTable("tbdespesa"));
        QVERIFY2(r.imported, qPrintable(r.failure));
        QCOMPARE(r.read, 3);
        QCOMPARE(r.stored, 2);
        QCOMPARE(r.skipped, 1);
        QCOMPARE(r.reasons.size(), 1);
        QVERIFY2(r.reasons.firstKey().contains(reason), qPrintable(r.reasons.firstKey()));
        QCOMPARE(field("tbdespesa", "000001", "DESPESA"), QString("GASOLINA"));
        QCOMPARE(field("tbdespesa", "000001", "DATA"), QString("05/01/2020"));
        QCOMPARE(field("tbdespesa", "000002", "DESPESA"), QString("PEDÁGIO"));
        QCOMPARE(field("tbdespesa", "000002", "DATA"), QString());
    }

    void moneyTooLargeForCentsIsSkipped() {
        const QList<OldField> layout = {{"CODCLI", pxfAlpha, 6}, {"VALOR", pxfCurrency, 8}};
        writeTable(old + "/tbclientes.db", layout,
                   {{"000001", 12.5}, {"000002", 12345678901234.0}, {"000003", 9999999999999.99}});
        DataFolder::prepare();
        const ImportReport r =
            ParadoxImport(old, false).importTable(*schema::findMainTable("tbclientes"));
        QVERIFY(r.imported);
        QCOMPARE(r.stored, 2);
        QCOMPARE(r.skipped, 1);
        QVERIFY(r.examples.first().first().startsWith("000002"));
        QCOMPARE(field("tbclientes", "000001", "VALOR"), QString("12,5"));
        QCOMPARE(field("tbclientes", "000003", "VALOR"), QString("9999999999999,99"));
        QCOMPARE(field("tbclientes", "000002", "VALOR"), QString("<missing>"));
    }

    // The alias names a PostgreSQL server: the same rows land there, and
    // the counters go on after the imported numbers.
    void intoAServerStore() {
        PgServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        const QString db = server.createDatabase();
        QVERIFY2(!db.isEmpty(), qPrintable(server.error()));
        QDir().mkpath(home->dataFolder());
        DataFolder::setServer(home->dataFolder(), server.connection(db));
        writeEveryTable();
        for (int run = 0; run < 2; ++run) {
            DataFolder::prepare();
            QVERIFY(Database::main()->isServer());
            const QList<ImportReport> reports = ParadoxImport(old, false).run();
            for (const ImportReport& r : reports) {
                QVERIFY2(r.imported, qPrintable(r.table + ": " + r.failure));
                QCOMPARE(r.stored, run == 0 ? r.read : 0);
            }
            Database::resetMain();
        }
        QCOMPARE(rowsIn("tbordem"), kRows);
        QCOMPARE(field("tbclientes", "000001", "RAZAOSOCIAL"),
                 QString("RAZAOS JOSÉ CONCEIÇÃO Ü 0"));
        QCOMPARE(field("tbclientes", "000001", "DATA"), QString("31/01/2005"));
        Table senha("tbsenha");
        senha.open();
        QCOMPARE(senha.fieldByName("SENHA").asString().toLatin1(), everyByte());
        Table lines("tbentrdesp");
        lines.open();
        lines.insert();
        lines.fieldByName("NUMDESP").setAsString("0000000099");
        lines.post();
        QCOMPARE(lines.fieldByName("CONT").asString(), QString::number(kRows + 1));
        Database::resetMain();
        server.stop();
    }

    void importedPasswordOpensParametrosIniciais() {
        const TableDef& t = *schema::findMainTable("tbsenha");
        writeTable(old + "/tbsenha.db", oldLayout(t), {{"1", QVariant(scramble("CHAVE7"))}});
        DataFolder::prepare();
        QVERIFY(ParadoxImport(old, false).importTable(t).imported);
        {
            Table senha("tbsenha");
            senha.open();
            QCOMPARE(senha.fieldByName("SENHA").asString().toLatin1(), scramble("CHAVE7"));
        }
        QVERIFY(startProgram(*qApp));
        Quelvarino000_0->menuAction("ParametrosIniciais1")->trigger();
        auto* prompt = Screens::get<TQuelvarino0014_0>("Quelvarino0014_0");
        auto* change = Screens::get<TQuelvarino0014_1>("Quelvarino0014_1");
        QVERIFY(prompt->isVisible());
        prompt->Edsenha->setFocus();
        QTest::keyClicks(prompt->Edsenha, "chave7");
        click(prompt->Btn_Confirmar);
        QVERIFY2(MessageBox::shownMessages().isEmpty(), qPrintable(lastMessage()));
        QVERIFY(change->isVisible());
        change->close();
        stopProgram();
    }

    // The command as an office runs it: one line per table, progress on a
    // large table, a non-zero end when a table was skipped.
    void theCommand() {
        const QString program = qEnvironmentVariable("IMPORTER");
        QVERIFY(QFileInfo(program).isExecutable());
        writeEveryTable();
        const TableDef& orders = *schema::findMainTable("tbordem");
        writeOld(orders, oldLayout(orders), rowsOf(orders, 2500));
        QProcess p;
        p.start(program, {old});
        QVERIFY(p.waitForFinished(120000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(p.exitCode() == 0, qPrintable(out + err));
        QVERIFY2(out.contains("tbclientes: 4 read, 4 stored, 0 skipped\n"), qPrintable(out));
        QVERIFY2(out.contains("tbordem: 2500 read, 2500 stored, 0 skipped\n"), qPrintable(out));
        QVERIFY(out.contains("tbsenha: 1 read, 1 stored, 0 skipped\n"));
        QVERIFY2(err.contains("tbordem: 2500 de 2500 registros"), qPrintable(err));

        // Again, with a damaged table: the rest kept, the end says so.
        QFile f(old + "/tbrecibo.db");
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.resize(3000));
        f.close();
        p.start(program, {old});
        QVERIFY(p.waitForFinished(120000));
        const QString second = QString::fromUtf8(p.readAllStandardOutput());
        QCOMPARE(p.exitCode(), 1);
        QVERIFY2(second.contains("tbordem: 2500 read, 0 stored, 2500 skipped\n"),
                 qPrintable(second));
        QVERIFY(second.contains("tbrecibo: not imported: "));
        QVERIFY(second.contains("1 tabela não foi importada; as outras foram importadas"));

        // Every table damaged: said so, never "the others were imported".
        for (const QString& name : QDir(old).entryList({"*.db"}, QDir::Files)) {
            QFile damaged(old + "/" + name);
            QVERIFY(damaged.open(QIODevice::ReadWrite));
            damaged.seek(0x04);
            damaged.write("\x07");  // an index's file type
        }
        p.start(program, {old});
        QVERIFY(p.waitForFinished(120000));
        const QString none = QString::fromUtf8(p.readAllStandardOutput());
        QCOMPARE(p.exitCode(), 1);
        QVERIFY2(none.contains("Nenhuma tabela foi importada.") && !none.contains("as outras"),
                 qPrintable(none));

        // Refused while the program has the database open.
        QProcess holder;
        holder.start(qEnvironmentVariable("STORE_HELPER"), {home->dataFolder(), "lock", "000001"});
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(holder.readAllStandardOutput().trimmed(), QByteArray("LOCKED"));
        p.start(program, {old, "--replace"});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains("Feche o programa"));
        holder.write("quit\n");
        QVERIFY(holder.waitForFinished(10000));

        p.start(program, {});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 2);
    }
};

QTEST_MAIN(TestImport)
#include "tst_import.moc"
