#include "core/errors.h"
#include "core/money.h"
#include "data/activation.h"
#include "data/database.h"
#include "data/datafolder.h"
#include "data/datamodule.h"
#include "data/query.h"
#include "data/querymodel.h"
#include "data/schema.h"
#include "data/table.h"
#include "testsupport.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <memory>

using namespace quelvarino;

namespace {

void addClient(Table& t,
               const QString& code,
               const QString& name,
               const QString& value = "0,00",
               const QString& date = "01/01/2005") {
    t.insert();
    t.fieldByName("CODCLI").setAsString(code);
    t.fieldByName("RAZAOSOCIAL").setAsString(name);
    t.fieldByName("VALOR").setAsString(value);
    t.fieldByName("DATA").setAsString(date);
    t.post();
}

// Every row of the main tables in the fields of the first schema, in
// storage order: what an upgrade must leave exactly as it was.
QStringList firstSchemaRows() {
    const auto db = Database::main();
    QStringList out;
    for (const TableDef& t : schema::mainTables()) {
        QStringList fields;
        for (const FieldDef& f : t.fields) {
            if (!schema::addedByUpgrade(t.name, f.name))
                fields.append(db->backend().quote(f.name));
        }
        QSqlQuery q(db->connection());
        if (!q.exec(QString("SELECT %1 FROM %2 ORDER BY %3")
                        .arg(fields.join(", "), db->backend().quote(t.name),
                             db->backend().rowIdColumn()))) {
            out.append("falhou: " + q.lastError().text());
            continue;
        }
        while (q.next()) {
            QStringList row{t.name};
            for (int i = 0; i < fields.size(); ++i)
                row.append(q.value(i).toString());
            out.append(row.join('|'));
        }
    }
    return out;
}

QString quoted(const QString& name) {
    return Database::main()->backend().quote(name);
}

int storedSchemaVersion() {
    QSqlQuery q(Database::main()->connection());
    if (!q.exec(QString("SELECT MAX(%1) FROM %2").arg(quoted("VERSAO"), quoted("tbesquema"))) ||
        !q.next()) {
        qWarning() << q.lastError().text();
        return -1;
    }
    return q.value(0).toInt();
}

void execute(const QString& sql) {
    QSqlQuery q(Database::main()->connection());
    QVERIFY2(q.exec(sql), qPrintable(sql + ": " + q.lastError().text()));
}

QStringList walk(Table& t, const QString& field) {
    QStringList out;
    t.first();
    while (!t.eof()) {
        out.append(t.fieldByName(field).asString());
        t.next();
    }
    return out;
}

}  // namespace

class TestStore : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;

private slots:
    void init() {
        home = std::make_unique<TempHome>();
        DataFolder::prepare();
    }
    void cleanup() { home.reset(); }

    // A database of the first program's schema (no version table, the
    // company without its PIX fields) gets them at the start, rows as they
    // were; a second start finds nothing to do; a version newer than the
    // program's is refused and left alone.
    void olderSchemaUpgradesAtStart() {
        {
            Table company("tbempresa");
            company.open();
            company.insert();
            company.fieldByName("RAZAOSOCIAL").setAsString("MOTOBOY EXPRESS LTDA");
            company.fieldByName("CNPJ").setAsString("11.222.333/0001-81");
            company.post();
            Table clients("tbclientes");
            clients.open();
            addClient(clients, "000001", "FARMACIA CENTRAL", "30,00", "08/12/2026");
            addClient(clients, "000002", "PADARIA SÃO JOÃO", "12,50", "09/12/2026");
        }
        QCOMPARE(storedSchemaVersion(), schema::currentVersion());
        // Back to the first schema.
        execute("DROP TABLE " + quoted("tbesquema"));
        for (const schema::UpgradeStep& step : schema::upgradeSteps())
            for (const FieldDef& f : step.fields)
                execute(QString("ALTER TABLE %1 DROP COLUMN %2")
                            .arg(quoted(step.table), quoted(f.name)));
        const QStringList before = firstSchemaRows();
        QCOMPARE(before.size(), 3);
        Database::resetMain();

        for (int start = 1; start <= 2; ++start) {
            QCOMPARE(storedSchemaVersion(), schema::currentVersion());
            QCOMPARE(firstSchemaRows(), before);
            const QSqlRecord fields = Database::main()->connection().record("tbempresa");
            for (const char* added : {"PIXTIPO", "PIXCHAVE", "PIXNOME", "PIXCIDADE", "PIXIMPRIME"})
                QVERIFY2(fields.indexOf(added) >= 0, added);
            Table company("tbempresa");
            company.open();
            company.first();
            QCOMPARE(company.fieldByName("RAZAOSOCIAL").asString(),
                     QString("MOTOBOY EXPRESS LTDA"));
            QCOMPARE(company.fieldByName("PIXCHAVE").asString(), QString());
            company.edit();
            company.fieldByName("PIXCHAVE").setAsString("contato@motoboy.com.br");
            company.post();
            QCOMPARE(company.fieldByName("PIXCHAVE").asString(), QString("contato@motoboy.com.br"));
            company.edit();
            company.fieldByName("PIXCHAVE").setAsString("");
            company.post();
            Database::resetMain();
        }

        execute(QString("UPDATE %1 SET %2 = %3")
                    .arg(quoted("tbesquema"), quoted("VERSAO"))
                    .arg(schema::currentVersion() + 7));
        Database::resetMain();
        QString refusal;
        try {
            Database::main();
        } catch (const StoreError& e) {
            refusal = e.text();
        }
        QVERIFY2(refusal.contains("versão mais nova do sistema"), qPrintable(refusal));
        QVERIFY2(refusal.contains(QString("versão %1 dos dados").arg(schema::currentVersion() + 7)),
                 qPrintable(refusal));
    }

    // A database damaged after it was opened: the read that meets the
    // damage says so in Portuguese, names the file and what to do.
    void damageFoundLaterIsSaidInPortuguese() {
        if (testsOnServer())
            QSKIP("a damaged file is the embedded store's");
        {
            Table t("tbclientes");
            t.open();
            for (int i = 1; i <= 200; ++i) {
                t.insert();
                t.fieldByName("CODCLI").setAsString(QString::number(i).rightJustified(6, '0'));
                t.fieldByName("RAZAOSOCIAL").setAsString(QString("CLIENTE %1").arg(i).repeated(6));
                t.post();
            }
        }
        Database::resetMain();
        {
            QFile db(home->dataFolder() + "/quelvarino.db");
            QVERIFY(db.open(QIODevice::ReadWrite));
            db.seek(4096);  // every page but the first, the table of tables
            db.write(QByteArray(int(db.size() - 4096), '\x5a'));
        }
        QString text;
        try {
            Table t("tbclientes");
            t.open();
            for (t.first(); !t.eof(); t.next()) {
            }
            QFAIL("the damage went unnoticed");
        } catch (const StoreError& e) {
            text = e.text();
        }
        QVERIFY2(text.contains("está danificado") && text.contains("quelvarino.db") &&
                     text.contains("--restaurar"),
                 qPrintable(text));
        for (const char* english : {"malformed", "database", "disk image", "error"})
            QVERIFY2(!text.contains(QLatin1String(english)), qPrintable(text));
    }

    void newFolderGetsCompleteDatabase() {
        QCOMPARE(QFile::exists(home->dataFolder() + "/quelvarino.db"), !testsOnServer());
        QVERIFY(QFile::exists(home->dataFolder() + "/tbrelatorio8_1.db"));
        QVERIFY(QFile::exists(home->dataFolder() + "/tbrelatorio8_2.db"));
        for (const TableDef& def : schema::mainTables()) {
            Table t(def.name);
            t.open();
            QCOMPARE(t.recordCount(), 0);
            QVERIFY(t.eof());
            QVERIFY(t.isEmpty());
            QCOMPARE(t.fieldByName(def.fields.first().name).asString(), QString());
        }
        Table work("tbrelatorio8_2", DataFolder::workTableTemplate(2), schema::workTable2());
        work.setIndexName("Codigo");
        work.open();
        QCOMPARE(work.recordCount(), 0);
    }

    void fieldNamesInAnyCase_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("upper") << "CODCLI";
        QTest::newRow("lower") << "codcli";
        QTest::newRow("mixed") << "CodCli";
    }
    void fieldNamesInAnyCase() {
        QFETCH(QString, name);
        Table t("TBCLIENTES");
        t.open();
        t.insert();
        t.fieldByName(name).setAsString("000001");
        t.post();
        QCOMPARE(t.fieldByName("CODCLI").asString(), QString("000001"));
        QCOMPARE(t.fieldByName(name).asString(), QString("000001"));
        QVERIFY_THROWS_EXCEPTION(StoreError, t.fieldByName("NO_SUCH_FIELD"));
    }

    void dateAndMoneyRoundTripsAndRangeQuery() {
        Table t("tbordem");
        t.open();
        const QStringList dates = {"30/01/2005", "31/01/2005", "01/02/2005", "15/03/2005"};
        const QStringList totals = {"12,50", "10", "0,25", "100,75"};
        for (int i = 0; i < dates.size(); ++i) {
            t.insert();
            t.fieldByName("COMANDA").setAsString(QString("%1").arg(i + 1, 10, 10, QChar('0')));
            t.fieldByName("DATA").setAsString(dates[i]);
            t.fieldByName("TOTVAL").setAsString(totals[i]);
            t.fieldByName("VALORN").setAsString("37,5");
            t.post();
        }
        QVERIFY(t.findKey("0000000002"));
        QCOMPARE(t.fieldByName("DATA").asString(), QString("31/01/2005"));
        QCOMPARE(t.fieldByName("TOTVAL").asString(), QString("10"));
        QCOMPARE(t.fieldByName("VALORN").asString(), QString("37,5"));
        QCOMPARE(t.fieldByName("SEGURO").asString(), QString());  // never written
        QVERIFY(t.findKey("0000000001"));
        QCOMPARE(t.fieldByName("TOTVAL").asFloat(), 12.5);

        // Large sums keep their cents; the largest value accepted too.
        for (const char* big : {"1016,33", "3372,35", "1250", "9999999999999,99"}) {
            t.edit();
            t.fieldByName("TOTVAL").setAsString(big);
            t.post();
            QVERIFY(t.findKey("0000000001"));
            QCOMPARE(formatMoney(t.fieldByName("TOTVAL").asFloat()), reformatMoney(big));
        }
        t.edit();
        t.fieldByName("TOTVAL").setAsString("12,50");
        t.post();

        // 31/01/2005 up to 01/02/2005 as dates, not as texts.
        Query q;
        q.add("Select * from tbordem");
        q.add("Where DATA >= :inicio and DATA <= :fim");
        q.add("Order By DATA");
        q.bindDateText(":inicio", "31/01/2005");
        q.bindDate(":fim", QDate(2005, 2, 1));
        q.open();
        QStringList got;
        double sum = 0;
        for (q.first(); !q.eof(); q.next()) {
            got.append(q.fieldText("DATA"));
            sum += q.fieldNumber("TOTVAL");
        }
        QCOMPARE(got, QStringList({"31/01/2005", "01/02/2005"}));
        QCOMPARE(sum, 10.25);
        QCOMPARE(q.recordCount(), 2);

        Query total;
        total.add("Select SUM(TOTVAL) AS SOMA from tbordem");
        total.open();
        QCOMPARE(total.fieldNumber("SOMA"), 123.5);
        QCOMPARE(total.fieldText("SOMA"), QString("123,5"));
    }

    // A report's closing "Order By" puts orders without a date first (last
    // when descending) on every store, as the table walks do; the same
    // rows in the same order whichever store is behind.
    void queryOrderPutsEmptyValuesFirst_data() {
        QTest::addColumn<QString>("orderBy");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("data, comanda")
            << "Order By DATA, COMANDA" << QStringList{"3", "5", "2", "4", "1"};
        QTest::newRow("data desc")
            << "order by DATA desc, COMANDA" << QStringList{"1", "2", "4", "3", "5"};
        QTest::newRow("asc written")
            << "Order By  DATA ASC , COMANDA DESC" << QStringList{"5", "3", "4", "2", "1"};
        QTest::newRow("text, empty and filled")
            << "Order By OBSERVACAO, COMANDA" << QStringList{"2", "4", "5", "1", "3"};
    }
    void queryOrderPutsEmptyValuesFirst() {
        QFETCH(QString, orderBy);
        QFETCH(QStringList, expected);
        Table t("tbordem");
        t.open();
        const QStringList dates = {"15/03/2005", "01/02/2005", "", "01/02/2005", ""};
        const QStringList notes = {"B", "", "C", "", ""};
        for (int i = 0; i < dates.size(); ++i) {
            t.insert();
            t.fieldByName("COMANDA").setAsString(QString::number(i + 1));
            t.fieldByName("DATA").setAsString(dates[i]);
            if (!notes[i].isEmpty())
                t.fieldByName("OBSERVACAO").setAsString(notes[i]);
            t.post();
        }
        Query q;
        q.add("Select COMANDA, DATA, OBSERVACAO from tbordem");
        q.add(orderBy);
        q.open();
        QStringList got;
        for (q.first(); !q.eof(); q.next())
            got.append(q.fieldText("COMANDA"));
        QCOMPARE(got, expected);
        QCOMPARE(q.recordCount(), 5);
    }

    void badValuesAreRefusedAndNothingIsWritten_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("31 february") << "DATA"
                                     << "31/02/2024";
        QTest::newRow("money with two commas") << "VALOR"
                                               << "1,2,3";
        QTest::newRow("money with letters") << "VALOR"
                                            << "dez";
        // Beyond thirteen integer digits the cents could not be kept.
        QTest::newRow("money too large for its cents") << "VALOR"
                                                       << "10000000000000,00";
        QTest::newRow("money of four hundred digits") << "VALOR" << QString(400, QChar('9'));
    }
    void badValuesAreRefusedAndNothingIsWritten() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        Table t("tbclientes");
        t.open();
        t.insert();
        t.fieldByName("CODCLI").setAsString("000009");
        try {
            t.fieldByName(field).setAsString(text);
            QFAIL("conversion accepted");
        } catch (const ConversionError& e) {
            QVERIFY(e.text().contains(text));
        }
        t.cancel();
        QCOMPARE(t.recordCount(), 0);
    }

    void autoIncrementOnInsert() {
        Table t("tbentrdesp");
        t.open();
        for (int i = 0; i < 3; ++i) {
            t.insert();
            t.fieldByName("NUMDESP").setAsString("0000000001");
            t.fieldByName("VALOR").setAsString("5,00");
            t.post();
            QCOMPARE(t.fieldByName("CONT").asString(), QString::number(i + 1));
        }
        t.insert();
        QVERIFY_THROWS_EXCEPTION(StoreError, t.fieldByName("CONT").setAsString("7"));
        t.cancel();

        Table company("tbempresa");
        company.open();
        QVERIFY(company.isEmpty());  // nothing stored yet
        company.insert();
        company.fieldByName("RAZAOSOCIAL").setAsString("MOTOS LTDA");
        company.post();
        QCOMPARE(company.fieldByName("CODEMP").asString(), QString("1"));
    }

    void findKeyAndFindNearest() {
        Table t("tbclientes");
        t.open();
        addClient(t, "000003", "CARLOS");
        addClient(t, "000001", "BRUNO");
        addClient(t, "000002", "ANA MARIA");
        addClient(t, "000004", "ANA PAULA");

        QVERIFY(t.findKey("000002"));
        QCOMPARE(t.fieldByName("RAZAOSOCIAL").asString(), QString("ANA MARIA"));
        QVERIFY(!t.findKey("000009"));
        QCOMPARE(t.fieldByName("CODCLI").asString(), QString("000002"));  // unchanged
        QVERIFY(!t.findKey("00000"));                                     // exact only

        t.findNearest("000000");
        QCOMPARE(t.fieldByName("CODCLI").asString(), QString("000001"));
        t.findNearest("0000025");
        QCOMPARE(t.fieldByName("CODCLI").asString(), QString("000003"));
        t.findNearest("999999");  // past the last key: the last record
        QCOMPARE(t.fieldByName("CODCLI").asString(), QString("000004"));

        t.close();
        t.setIndexName("RAZAOSOCIAL");
        t.open();
        QCOMPARE(t.fieldByName("RAZAOSOCIAL").asString(), QString("ANA MARIA"));
        t.findNearest("ANA P");
        QCOMPARE(t.fieldByName("RAZAOSOCIAL").asString(), QString("ANA PAULA"));
        t.findNearest("B");
        QCOMPARE(t.fieldByName("RAZAOSOCIAL").asString(), QString("BRUNO"));
        t.findNearest("ZZZ");
        QCOMPARE(t.fieldByName("RAZAOSOCIAL").asString(), QString("CARLOS"));
        QVERIFY_THROWS_EXCEPTION(StoreError, t.setIndexName("NO_SUCH_INDEX"));
    }

    void walkingFirstLastNextPrior() {
        Table t("tbclientes");
        t.open();
        // More rows than one window, so walking crosses window borders.
        for (int i = 300; i >= 1; --i)
            addClient(t, QString("%1").arg(i, 6, 10, QChar('0')), QString("C%1").arg(i % 7));
        QCOMPARE(t.recordCount(), 300);
        const QStringList codes = walk(t, "CODCLI");
        QCOMPARE(codes.size(), 300);
        QCOMPARE(codes.first(), QString("000001"));
        QCOMPARE(codes.last(), QString("000300"));
        QVERIFY(std::is_sorted(codes.begin(), codes.end()));
        QVERIFY(t.eof());
        QCOMPARE(t.fieldByName("CODCLI").asString(), QString("000300"));  // stays on the last

        t.last();
        QVERIFY(t.eof());
        t.prior();
        QCOMPARE(t.fieldByName("CODCLI").asString(), QString("000299"));
        t.first();
        t.prior();
        QVERIFY(t.bof());

        // By name: equal names keep a stable order, every row once.
        t.close();
        t.setIndexName("RAZAOSOCIAL");
        t.open();
        const QStringList byName = walk(t, "RAZAOSOCIAL");
        QCOMPARE(byName.size(), 300);
        QVERIFY(std::is_sorted(byName.begin(), byName.end()));
        QStringList seen;
        t.first();
        while (!t.eof()) {
            seen.append(t.fieldByName("CODCLI").asString());
            t.next();
        }
        seen.removeDuplicates();
        QCOMPARE(seen.size(), 300);

        // Numbered from the start and, near the end, from the end: the same
        // number for every row, equal names included.
        t.first();
        const int count = t.recordCount();
        for (int expected = 0; !t.eof(); ++expected, t.next()) {
            QCOMPARE(t.recordIndex(), expected);
            QCOMPARE(t.recordIndex(count), expected);
        }
        // Grid rows read from the start and from the end agree, at every
        // offset and at the ragged last page.
        for (int offset = 0; offset < count; offset += 7) {
            const auto forward = t.rowTexts(offset, 10, {"CODCLI", "RAZAOSOCIAL"});
            QCOMPARE(t.rowTexts(offset, 10, {"CODCLI", "RAZAOSOCIAL"}, count), forward);
            QCOMPARE(forward.size(), std::min(10, count - offset));
        }
        t.findKey("C3");
        const int index = t.recordIndex();
        QCOMPARE(index, int(byName.indexOf("C3")));
        t.moveToIndex(index);
        QCOMPARE(t.fieldByName("RAZAOSOCIAL").asString(), QString("C3"));
    }

    void orderByFieldList() {
        Table t("tbordem");
        t.open();
        const QList<QStringList> rows = {{"0000000001", "FATURADO", "02/01/2005"},
                                         {"0000000002", "À VISTA", "03/01/2005"},
                                         {"0000000003", "FATURADO", "01/01/2005"},
                                         {"0000000004", "À VISTA", "01/01/2005"},
                                         {"0000000005", "OUTROS", ""}};
        for (const QStringList& r : rows) {
            t.insert();
            t.fieldByName("COMANDA").setAsString(r[0]);
            t.fieldByName("PAGAMENTO").setAsString(r[1]);
            t.fieldByName("DATA").setAsString(r[2]);
            t.post();
        }
        t.close();
        t.setIndexFieldNames("Pagamento;Data");
        t.open();
        QCOMPARE(walk(t, "COMANDA"), QStringList({"0000000003", "0000000001", "0000000005",
                                                  "0000000004", "0000000002"}));
        t.findNearest({"FATURADO", "02/01/2005"});
        QCOMPARE(t.fieldByName("COMANDA").asString(), QString("0000000001"));
        QVERIFY(t.findKey({"À VISTA", "03/01/2005"}));
        QCOMPARE(t.fieldByName("COMANDA").asString(), QString("0000000002"));

        // By date: the order with no date comes first, and walking past it
        // (a NULL key) still reaches every row.
        t.close();
        t.setIndexName("DATA");
        t.open();
        QCOMPARE(walk(t, "COMANDA").first(), QString("0000000005"));
        QCOMPARE(walk(t, "COMANDA").size(), 5);
    }

    void editDeleteBookmarkAndRefresh() {
        Table t("tbclientes");
        t.open();
        addClient(t, "000001", "A");
        addClient(t, "000002", "B");
        addClient(t, "000003", "C");
        QVERIFY(t.findKey("000002"));
        const Table::Bookmark mark = t.bookmark();
        t.edit();
        t.fieldByName("RAZAOSOCIAL").setAsString("BETA");
        t.post();
        t.first();
        t.gotoBookmark(mark);
        QCOMPARE(t.fieldByName("RAZAOSOCIAL").asString(), QString("BETA"));

        // A second table object (another screen) sees the change on refresh.
        Table other("tbclientes");
        other.open();
        QVERIFY(other.findKey("000003"));
        t.findKey("000003");
        t.edit();
        t.fieldByName("RAZAOSOCIAL").setAsString("GAMA");
        t.post();
        QCOMPARE(other.fieldByName("RAZAOSOCIAL").asString(), QString("C"));
        other.refresh();
        QCOMPARE(other.fieldByName("RAZAOSOCIAL").asString(), QString("GAMA"));

        // Another table object cannot delete or edit the record being edited.
        t.findKey("000001");
        t.edit();
        other.findKey("000001");
        QVERIFY_THROWS_EXCEPTION(RecordLockedError, other.edit());
        QVERIFY_THROWS_EXCEPTION(RecordLockedError, other.remove());
        t.cancel();
        other.remove();
        QCOMPARE(other.fieldByName("CODCLI").asString(), QString("000002"));
        QCOMPARE(other.recordCount(), 2);
        t.refresh();  // its record is gone: lands on the next one
        QCOMPARE(t.fieldByName("CODCLI").asString(), QString("000002"));

        // A duplicate key on insert is a store error and writes nothing.
        t.insert();
        t.fieldByName("CODCLI").setAsString("000002");
        QVERIFY_THROWS_EXCEPTION(StoreError, t.post());
        t.cancel();
        QCOMPARE(t.recordCount(), 2);
    }

    void closeReleasesLock() {
        Table a("tbclientes"), b("tbclientes");
        a.open();
        addClient(a, "000001", "A");
        b.open();
        a.edit();
        QVERIFY_THROWS_EXCEPTION(RecordLockedError, b.edit());
        a.close();
        b.edit();
        b.fieldByName("RAZAOSOCIAL").setAsString("B");
        b.post();
        QCOMPARE(b.fieldByName("RAZAOSOCIAL").asString(), QString("B"));
    }

    void hostileQueryValues_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("quote") << "O'BRIEN";
        QTest::newRow("double quote") << "A\"B";
        QTest::newRow("statement") << "X'; DELETE FROM tbclientes; --";
        QTest::newRow("or true") << "' OR '1'='1";
        QTest::newRow("semicolon") << "A;B";
    }
    void hostileQueryValues() {
        QFETCH(QString, value);
        Table t("tbclientes");
        t.open();
        addClient(t, "000001", "ANA");
        addClient(t, "000002", value);
        addClient(t, "000003", "ZECA");

        Query q;
        q.add("Select * from tbclientes");
        q.add("Where RAZAOSOCIAL = :nome");
        q.bindText(":nome", value);
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.fieldText("CODCLI"), QString("000002"));
        QCOMPARE(q.fieldText("razaosocial"), value);
        q.close();

        t.close();
        t.setIndexName("RAZAOSOCIAL");
        t.open();
        QVERIFY(t.findKey(value));
        t.findNearest(value);
        QCOMPARE(t.fieldByName("CODCLI").asString(), QString("000002"));
        QCOMPARE(t.recordCount(), 3);
    }

    void queryWalksPastItsWindowAndFeedsAGrid() {
        Table t("tbdespesa");
        t.open();
        for (int i = 1; i <= 600; ++i) {
            t.insert();
            t.fieldByName("COD").setAsString(QString("%1").arg(i, 6, 10, QChar('0')));
            t.fieldByName("DESPESA").setAsString(QString("DESPESA %1").arg(i));
            t.fieldByName("DATA").setAsString("10/10/2010");
            t.post();
        }
        Query q;
        q.add("Select * from tbdespesa");
        q.add("Order By COD");
        q.open();
        int n = 0;
        QString lastCode;
        for (q.first(); !q.eof(); q.next()) {
            ++n;
            lastCode = q.fieldText("COD");
        }
        QCOMPARE(n, 600);
        QCOMPARE(lastCode, QString("000600"));

        QueryModel model;
        model.setQuery(&q, {"COD", "DESPESA", "DATA"}, {"Código", "Despesa", "Data"});
        QCOMPARE(model.rowCount(), 600);
        QCOMPARE(model.columnCount(), 3);
        QCOMPARE(model.data(model.index(450, 0), Qt::DisplayRole).toString(), QString("000451"));
        QCOMPARE(model.data(model.index(450, 2), Qt::DisplayRole).toString(),
                 QString("10/10/2010"));
        QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QString("Despesa"));
        QCOMPARE(model.data(model.index(3, 0), Qt::DisplayRole).toString(), QString("000004"));
    }

    void dataModuleRefreshesOpenTablesOnActivation() {
        TDataModule1 dm;
        QCOMPARE(DataModule1, &dm);
        dm.TBClientes->open();
        addClient(*dm.TBClientes, "000001", "ANTES");
        QCOMPARE(dm.TBClientes->state(), Table::State::Browse);

        Table elsewhere("tbclientes");
        elsewhere.open();
        elsewhere.edit();
        elsewhere.fieldByName("RAZAOSOCIAL").setAsString("DEPOIS");
        elsewhere.post();

        QCOMPARE(dm.TBClientes->fieldByName("RAZAOSOCIAL").asString(), QString("ANTES"));
        ActivationHook::fire();
        QCOMPARE(dm.TBClientes->fieldByName("RAZAOSOCIAL").asString(), QString("DEPOIS"));
        QVERIFY(!dm.TBOrdem->isOpen());  // closed tables stay closed
    }

    void unusableDataFolders_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing registered folder") << "missing";
        QTest::newRow("damaged database") << "damaged";
        QTest::newRow("unwritable folder") << "readonly";
        QTest::newRow("a file, not a folder") << "file";
    }
    void unusableDataFolders() {
        QFETCH(QString, kind);
        Database::resetMain();
        const QString folder = home->path() + "/outra";
        if (kind == "damaged") {
            QDir().mkpath(folder);
            QFile f(folder + "/quelvarino.db");
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
            f.close();
        } else if (kind == "file") {
            QFile f(folder);
            QVERIFY(f.open(QIODevice::WriteOnly));
        } else if (kind == "readonly") {
            if (geteuid() == 0)
                QSKIP("root writes into read-only folders");
            QDir().mkpath(folder);
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        }
        DataFolder::setPath(folder);
        try {
            DataFolder::prepare();
            QFAIL("an unusable data folder was accepted");
        } catch (const StoreError& e) {
            QVERIFY2(e.text().contains(folder), qPrintable(e.text()));
        }
        if (kind == "damaged") {
            QFile f(folder + "/quelvarino.db");
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray(4096, 'x'));  // left as it was
        }
        if (kind == "missing")
            QVERIFY(!QDir(folder).exists());
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
