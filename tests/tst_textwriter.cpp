#include "data/query.h"
#include "data/table.h"
#include "reports/htmlwriter.h"
#include "reports/reportdata.h"
#include "reports/textdocument.h"
#include "reports/textlayouts.h"
#include "testsupport.h"

#include <memory>

using namespace quelvarino;

namespace {

const QByteArray SI("\x0f");
const QByteArray CRLF("\r\n");

QByteArray emph(const QByteArray& text) {
    return SI + "\x1bG\x0e" + text + "\x14\x1bH";
}

CompanyHeader company() {
    CompanyHeader c;
    c.nomeFan = "MOTOBOY EXPRESS";
    c.endereco1 = "RUA DO COMERCIO, 100";
    c.bairro1 = "CENTRO";
    c.cidade1 = "SAO PAULO";
    c.uf1 = "SP";
    c.cep1 = "01010-000";
    c.ddd1 = "11";
    c.telefone1 = "3333-4444";
    c.telefone2 = "3333-5555";
    c.site = "www.motoboy.com.br";
    c.email = "contato@motoboy.com.br";
    return c;
}

// The company header as the layouts state it, built here independently.
QList<QByteArray> headerLines(const QByteArray& title) {
    return {
        "\x1bM",
        emph("MOTOBOY EXPRESS"),
        SI + "Endereco: RUA DO COMERCIO, 100" + QByteArray(30, ' ') + " - Bairro: CENTRO" +
            QByteArray(24, ' ') + " - Cidade: SAO PAULO" + QByteArray(21, ' ') + " - Estado: SP",
        SI + "CEP: 01010-000 - Telefone: (11) 3333-4444  / 3333-5555",
        SI + "Site: www.motoboy.com.br" + QByteArray(22, ' ') + " - e-mail: contato@motoboy.com.br",
        SI,
        emph(title)};
}

QList<QByteArray> linesOf(const QByteArray& bytes) {
    QList<QByteArray> out = bytes.split('\n');
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    for (QByteArray& l : out) {
        if (l.endsWith('\r'))
            l.chop(1);
    }
    return out;
}

// An order as its screen shows it, by field name.
ReportRow sampleOrder() {
    ReportRow o;
    const QList<QPair<const char*, const char*>> fields = {
        {"DATA", "08/12/2026"},       {"COMANDA", "0000000042"},
        {"CODCLI", "000007"},         {"CLIENTE", "FARMACIA CENTRAL"},
        {"ENDERECO1", "RUA A, 1"},    {"BAIRRO1", "CENTRO"},
        {"CIDADE1", "SANTOS"},        {"UF1", "SP"},
        {"CEP1", "11010-000"},        {"DDD1", "013"},
        {"TELEFONE1_1", "3222-0000"}, {"TELEFONE1_2", ""},
        {"SOLICITANTE", "MARIA"},     {"HORA1", "16:30"},
        {"HORA2", "17:00"},           {"HORA3", "23:30"},
        {"HORA4", "06:30"},           {"CODMOT", "000003"},
        {"MOTOBOY", "JOAO DA MOTO"},  {"MARCA", "HONDA"},
        {"MODELO", "CG 150"},         {"ANO", "2019/2020"},
        {"PLACAM", "ABC-1234"},       {"TELEFONEMOTOBOY", "9999-0000"}};
    for (const auto& [field, text] : fields)
        o.set(field, text);
    return o;
}

}  // namespace

class TestTextWriter : public QObject {
    Q_OBJECT
    std::unique_ptr<TempHome> home;

private slots:
    void init() {
        home = std::make_unique<TempHome>();
        DataFolder::prepare();
    }
    void cleanup() { home.reset(); }

    void columnWidths_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("right");
        QTest::addColumn<QString>("left");
        QTest::newRow("shorter") << "AB" << 5 << "AB   "
                                 << "   AB";
        QTest::newRow("exact") << "ABCDE" << 5 << "ABCDE"
                               << "ABCDE";
        QTest::newRow("longer is never cut") << "ABCDEFG" << 5 << "ABCDEFG"
                                             << "ABCDEFG";
        QTest::newRow("empty") << "" << 3 << "   "
                               << "   ";
    }
    void columnWidths() {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(QString, right);
        QFETCH(QString, left);
        QCOMPARE(padRight(text, width), right);
        QCOMPARE(padLeft(text, width), left);
    }

    void moneyAsPrinted() {
        QCOMPARE(printedMoney(""), QString("0,00"));
        QCOMPARE(printedMoney("37,5"), QString("37,50"));
        QCOMPARE(printedMoney("1234"), QString("1234,00"));
    }

    void rowPageRule_data() {
        QTest::addColumn<int>("f");
        QTest::addColumn<int>("p");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("feedsAfter");       // rows followed by a page feed
        QTest::addColumn<QList<int>>("headingsCleared");  // rows after which headings repeat
        QTest::newRow("22/25") << 22 << 25 << 75 << QList<int>{22, 46, 70} << QList<int>{46, 70};
        QTest::newRow("3/4 clients") << 3 << 4 << 10 << QList<int>{3, 6, 9} << QList<int>{6, 9};
        QTest::newRow("short report") << 50 << 57 << 10 << QList<int>{} << QList<int>{};
    }
    void rowPageRule() {
        QFETCH(int, f);
        QFETCH(int, p);
        QFETCH(int, rows);
        QFETCH(QList<int>, feedsAfter);
        QFETCH(QList<int>, headingsCleared);
        RowPageRule rule(f, p);
        TextDocument doc;
        QList<int> feeds, cleared;
        for (int row = 1; row <= rows; ++row) {
            const int before = doc.lines();
            bool headings = true;
            rule.afterRow(doc, headings);
            if (doc.lines() > before)
                feeds.append(row);
            if (!headings)
                cleared.append(row);
        }
        QCOMPARE(feeds, feedsAfter);
        QCOMPARE(cleared, headingsCleared);
        QCOMPARE(doc.bytes(), QByteArray("\x0c\r\n").repeated(feedsAfter.size()));
    }

    void serviceOrderOneCopy() {
        const QByteArray bytes = serviceOrderText(company(), sampleOrder(), false);
        QList<QByteArray> expected =
            headerLines(QByteArray(24, ' ') + "O R D E M   D E   S E R V I C O");
        const QByteArray separator = SI + QByteArray(159, '-');
        expected += {
            separator,
            SI + "Data : 08/12/2026" + QByteArray(106, ' ') +
                "1o. via cliente / 2o. via fornecedor",
            separator,
            SI + QByteArray(126, ' ') + "Ordem de Servico No. : 0000000042",
            SI + "Cliente: 000007 - FARMACIA CENTRAL" + QByteArray(44, ' ') +
                " - Endereco: RUA A, 1",
            SI + "Bairro : CENTRO" + QByteArray(19, ' ') + " - Cidade : SANTOS" +
                QByteArray(24, ' ') + " - UF : SP - CEP : 11010-000",
            SI + "Solicitante: MARIA",
            SI + "Hora saida:   16:30  - Hora inicial:   17:00   - Hora final:   23:30   - Tot. "
                 "horas:   06:30  - Motoboy: 000003 - JOAO DA MOTO",
            SI + "Marca : HONDA" + QByteArray(15, ' ') + "  - Modelo : CG 150" +
                QByteArray(14, ' ') +
                "   - Ano : 2019/2020   - Placa : ABC-1234   - Telefone : 9999-0000",
            SI + "Observacoes:",
            SI,
            SI,
            SI,
            SI,
            SI,  // no notes: five empty lines
            SI,
            SI + QByteArray(105, ' ') + QByteArray(54, '_'),
            emph("NAO TRANSPORTAMOS VALORES EM ESPECIE                    ASSINATURA E CARIMBO"),
            SI,
            SI + "NOTA: Com base nesta Ordem de Servico sera emitida a Nota Fiscal de acordo com o "
                 "Decreto No.6879 de 24/04/67. O tempo de prestacao do servico sera contado des-",
            SI + "de o inicio do veiculo no cliente, ate o ternmino do servico. A fracao minima do "
                 "tempo de servico e de 2 (duas) horas. Apos as 18:00hs, acrescimo de 50% e apos",
            SI + "as 22:00hs acrescimo de 100% sobre o valor normal contratado.",
            SI + "A locatoria nao tem responsabilidade quanto a quebra, avaria ou extravio das "
                 "mercadorias ou documentos transportados, caso o cliente nao tenha seguro.",
            "\x0c"};
        const QList<QByteArray> got = linesOf(bytes);
        QCOMPARE(got.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(got[i] == expected[i], qPrintable(QString("line %1: [%2] != [%3]")
                                                           .arg(i)
                                                           .arg(QString::fromLatin1(got[i]))
                                                           .arg(QString::fromLatin1(expected[i]))));
        QVERIFY(bytes.startsWith("\x1bM\r\n"));  // 27 77 at the start
        QVERIFY(bytes.endsWith("\x0c\r\n"));
        QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));  // every line ends CR LF
    }

    void serviceOrderPhonesAndNotes_data() {
        QTest::addColumn<int>("notesLength");
        QTest::addColumn<int>("emptyLinesAfterNotes");
        QTest::newRow("short notes") << 20 << 4;
        QTest::newRow("159") << 159 << 4;
        QTest::newRow("160") << 160 << 3;
        QTest::newRow("318") << 318 << 3;
        QTest::newRow("400") << 400 << 2;
        QTest::newRow("600") << 600 << 1;
        QTest::newRow("640") << 640 << 0;
    }
    void serviceOrderPhonesAndNotes() {
        QFETCH(int, notesLength);
        QFETCH(int, emptyLinesAfterNotes);
        ReportRow o = sampleOrder();
        o.set("TELEFONES", "S");
        o.set("OBSERVACAO", QString(notesLength, 'N'));
        const QList<QByteArray> got = linesOf(serviceOrderText(company(), o, false));
        const int notes = got.indexOf(SI +
                                      "\x1b"
                                      "a3" +
                                      QByteArray(notesLength, 'N'));
        QVERIFY(notes > 0);
        QCOMPARE(got[notes - 1], SI + "Observacoes:");
        for (int i = 1; i <= emptyLinesAfterNotes; ++i)
            QCOMPARE(got[notes + i], SI);
        QCOMPARE(got[notes + emptyLinesAfterNotes + 1], SI);  // the line before the signature
        QCOMPARE(got[notes + emptyLinesAfterNotes + 2],
                 SI + QByteArray(105, ' ') + QByteArray(54, '_'));
        QVERIFY(got.contains(SI + "Bairro: CENTRO" + QByteArray(19, ' ') + " - Cid.: SANTOS" +
                             QByteArray(24, ' ') +
                             " - UF: SP - CEP: 11010-000 - Telefones: (013) 3222-0000 / "));
    }

    // The HTML order's lines that change with the order: the phones on the
    // requester's line, blanks to fill in by hand for empty fields, the
    // notes' own lines, and operator text that stays text.
    void htmlOrderLines_data() {
        QTest::addColumn<bool>("phones");
        QTest::addColumn<QString>("requester");
        QTest::addColumn<QString>("district");
        QTest::addColumn<QString>("notes");
        QTest::addColumn<QStringList>("expected");
        const QString n = "&nbsp";
        QTest::newRow("phones on the requester's line")
            << true << "MARIA"
            << "CENTRO"
            << ""
            << QStringList{"Solicitante : MARIA - Telefones : 3222-0000 / <br>",
                           "Endereço : RUA A, 1 - Bairro : CENTRO - Cidade : SANTOS - UF : SP - "
                           "CEP : 11010-000<br>",
                           " <br>"};
        QTest::newRow("empty fields as blanks to fill in")
            << true << ""
            << ""
            << "LINHA 1\r\nLINHA 2"
            << QStringList{"Solicitante : " + n.repeated(20) + " - Telefones : 3222-0000 / <br>",
                           "Endereço : RUA A, 1 - Bairro : " + n.repeated(10) +
                               " - Cidade : SANTOS - UF : SP - CEP : 11010-000<br>",
                           "<blockquote>LINHA 1<br>LINHA 2</blockquote>"};
        QTest::newRow("operator text stays text")
            << false << "<b>{cliente}</b> & {obs}"
            << "{end|5}"
            << "<script>x</script>"
            << QStringList{"Solicitante : &lt;b&gt;{cliente}&lt;/b&gt; &amp; {obs}<br>",
                           "Endereço : RUA A, 1 - Bairro : {end|5} - Cidade : SANTOS - UF : SP - "
                           "CEP : 11010-000<br>",
                           "<blockquote>&lt;script&gt;x&lt;/script&gt;</blockquote>"};
    }
    void htmlOrderLines() {
        QFETCH(bool, phones);
        QFETCH(QString, requester);
        QFETCH(QString, district);
        QFETCH(QString, notes);
        QFETCH(QStringList, expected);
        ReportData d;
        d.company = company();
        d.record = sampleOrder();
        d.record.set("TELEFONES", phones ? "S" : "N");
        d.record.set("SOLICITANTE", requester);
        d.record.set("BAIRRO1", district);
        d.record.set("OBSERVACAO", notes);
        const QList<QByteArray> got = linesOf(HtmlWriter::renderServiceOrder(d));
        QStringList lines;
        for (const QByteArray& l : got)
            lines << QString::fromLatin1(l);
        for (const QString& e : expected)
            QVERIFY2(lines.contains(e), qPrintable(e + "\n" + lines.join('\n')));
        if (notes.isEmpty())  // six empty lines for the notes by hand
            QCOMPARE(lines.mid(lines.indexOf("<h4 align=\"left\">OBSERVACOES</h4>") + 1, 6),
                     QStringList(6, " <br>"));
    }

    // Braces typed by the operator are text, in the order and the receipt.
    void typedBracesStayText() {
        ReportRow o = sampleOrder();
        o.set("SOLICITANTE", "{CLIENTE:60} {OBSERVACAO}");
        QVERIFY(linesOf(serviceOrderText(company(), o, false))
                    .contains(SI + "Solicitante: {CLIENTE:60} {OBSERVACAO}"));
        ReportRow r;
        r.set("CLIENTE", "{RECIBO}");
        r.set("RECIBO", "0000000001");
        QVERIFY(linesOf(receiptText(company(), r, false)).contains(SI + "Recebemos de : {RECIBO}"));
    }

    void serviceOrderTwoCopies() {
        const QByteArray one = serviceOrderText(company(), sampleOrder(), false);
        const QByteArray two = serviceOrderText(company(), sampleOrder(), true);
        const QByteArray body = one.left(one.size() - 3);  // without the page feed
        QCOMPARE(two, body + "\r\n" + body + "\x0c\r\n");
        QCOMPARE(two.count("\x1bM"), 2);
        QCOMPARE(two.count("\x0c\r\n"), 1);
    }

    void clientListingCutsTheNameAt68() {
        Table t("tbclientes");
        t.open();
        const QString name68 = QString(68, 'A');
        const QString name69 = QString(68, 'B') + "Z";
        for (const auto& [code, name] : QList<QPair<QString, QString>>{
                 {"000001", name68}, {"000002", name69}, {"000003", "ZECA"}}) {
            t.insert();
            t.fieldByName("CODCLI").setAsString(code);
            t.fieldByName("RAZAOSOCIAL").setAsString(name);
            t.fieldByName("VALOR").setAsString("45");
            t.fieldByName("DATA").setAsString("01/12/2026");
            t.post();
        }
        Query q;
        q.add("Select * from tbclientes");
        q.add("Order By CodCli");
        q.open();
        const QList<QByteArray> got = linesOf(clientListingText(company(), q));
        const QByteArray tail = " - CNPJ/CPF : " + QByteArray(20, ' ') + " - Insc.Est./RG : ";
        QVERIFY(got.contains(SI + "Cliente : 000001 - " + name68.toLatin1() + tail));
        QVERIFY(got.contains(SI + "Cliente : 000002 - " + QByteArray(68, 'B') + tail));
        QVERIFY(got.contains(SI + "Cliente : 000003 - ZECA" + QByteArray(64, ' ') + tail));
        QVERIFY(got.contains(SI + "Valor da hora : 45,00      - Situacao do cliente : " +
                             QByteArray(10, ' ') + " - Data da ultima alteracao : 01/12/2026"));
        QVERIFY(got.contains(SI + "\x1bG" + "Endereco Administrativo : \x1bH"));
        // Three clients fill the first page: one feed after them, one at the end.
        QCOMPARE(got.count("\x0c"), 2);
        QCOMPARE(got.last(), QByteArray("\x0c"));
        QCOMPARE(got.indexOf("\x0c"), got.size() - 2);
    }

    void courierListingKeepsRemarksOnTheirLine() {
        Table t("tbmotociclista");
        t.open();
        t.insert();
        t.fieldByName("COD").setAsString("000003");
        t.fieldByName("NOME").setAsString("JOAO");
        t.fieldByName("OBSERVACAO").setAsString("LINHA UM\nLINHA DOIS");
        t.fieldByName("SALARIO").setAsString("1500");
        t.post();
        Query q;
        q.add("Select * from tbmotociclista");
        q.add("Order By Cod");
        q.open();
        const QList<QByteArray> got = linesOf(courierListingText(company(), q));
        QVERIFY(got.contains(SI +
                             "Observacao : LINHA UM LINHA DOIS  - Valor da hora : 0,00       - "
                             "Salario : 1500,00    - Situacao do cliente : " +
                             QByteArray(10, ' ') + " - Data da ultima alteracao: "));
        QVERIFY(got.contains(SI + "Motoboy: 000003 - JOAO" + QByteArray(56, ' ') +
                             " - CPF: " + QByteArray(18, ' ') + " - RG: " + QByteArray(20, ' ') +
                             " - No. da CNH: " + QByteArray(15, ' ') + " - Categoria: "));
        QVERIFY(
            got[got.size() - 6].startsWith(SI + "Motoboy: 000003"));  // five lines, then the feed
    }

    void expenseTypeListingLinesAndAccents() {
        Table t("tbdespesa");
        t.open();
        for (int i = 1; i <= 52; ++i) {
            t.insert();
            t.fieldByName("COD").setAsString(QString("%1").arg(i, 6, 10, QChar('0')));
            t.fieldByName("DESPESA").setAsString(i == 1 ? "MANUTENÇÃO"
                                                        : QString("DESPESA %1").arg(i));
            t.fieldByName("DATA").setAsString("05/12/2026");
            t.post();
        }
        Query q;
        q.add("Select * from tbdespesa");
        q.add("Order By Cod");
        q.open();
        const QByteArray bytes = expenseTypeListingText(company(), q);
        const QList<QByteArray> got = linesOf(bytes);
        // Accents of the data are single bytes (Latin-1).
        QVERIFY(got.contains(SI + "Codigo : 000001 - MANUTEN\xc7\xc3O" + QByteArray(35, ' ') +
                             " - Data da ultima alteracao : 05/12/2026"));
        // 50 rows on the first page, a feed, the rest, the final feed.
        const int firstRow =
            got.indexOf(SI + "Codigo : 000001 - MANUTEN\xc7\xc3O" + QByteArray(35, ' ') +
                        " - Data da ultima alteracao : 05/12/2026");
        QCOMPARE(got[firstRow + 50], QByteArray("\x0c"));
        QCOMPARE(got.count("\x0c"), 2);
    }
};

QUELVARINO_GUI_TEST_MAIN(TestTextWriter)
#include "tst_textwriter.moc"
