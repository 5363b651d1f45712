#include "core/pix.h"
#include "testsupport.h"

using namespace quelvarino;

namespace {

struct Tlv {
    QString id;
    QString value;
};

// The payload read back field by field, as a bank's app reads it; empty
// when a length does not match what follows.
QList<Tlv> fields(const QString& payload) {
    QList<Tlv> out;
    int at = 0;
    while (at < payload.size()) {
        if (at + 4 > payload.size())
            return {};
        bool ok = false;
        const int length = payload.mid(at + 2, 2).toInt(&ok);
        if (!ok || at + 4 + length > payload.size())
            return {};
        out.append({payload.mid(at, 2), payload.mid(at + 4, length)});
        at += 4 + length;
    }
    return out;
}

}  // namespace

class TestPix : public QObject {
    Q_OBJECT
private slots:
    // The example of the Banco Central's manual, byte for byte.
    void manualExample() {
        const QString expected = QStringLiteral(
            "00020126580014br.gov.bcb.pix0136123e4567-e12b-12d1-a456-"
            "4266554400005204000053039865802"
            "BR5913Fulano de Tal6008BRASILIA62070503***63041D3D");
        QCOMPARE(pix::payload({"123e4567-e12b-12d1-a456-426655440000", "Fulano de Tal", "BRASILIA",
                               QString(), 0}),
                 expected);
        // The CRC's published check value.
        QCOMPARE(pix::crc16("123456789"), quint16(0x29B1));
    }

    void payloadAsBanksReadIt_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("city");
        QTest::addColumn<QString>("txid");
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("amount");
        QTest::newRow("cnpj, order") << "11222333000181"
                                     << "MOTOBOY EXPRESS"
                                     << "SAO PAULO"
                                     << "OS0000000123" << qint64(15000) << "150.00";
        QTest::newRow("e-mail, receipt") << "contato@motoboy.com.br"
                                         << "Motoboy Express Ltda"
                                         << "Santos"
                                         << "RC000045" << qint64(5) << "0.05";
        QTest::newRow("phone, large") << "+5511987654321"
                                      << "JOAO DA SILVA"
                                      << "CAMPINAS"
                                      << "OS0000099999" << qint64(123456789) << "1234567.89";
        QTest::newRow("longest name and city")
            << "123e4567-e12b-12d1-a456-426655440000" << QString(25, 'N') << QString(15, 'C')
            << QString(25, '9') << qint64(100) << "1.00";
    }
    void payloadAsBanksReadIt() {
        QFETCH(QString, key);
        QFETCH(QString, name);
        QFETCH(QString, city);
        QFETCH(QString, txid);
        QFETCH(qint64, cents);
        QFETCH(QString, amount);
        const QString payload = pix::payload({key, name, city, txid, cents});
        const QList<Tlv> f = fields(payload);
        QStringList ids;
        for (const Tlv& t : f)
            ids.append(t.id);
        QCOMPARE(ids, (QStringList{"00", "26", "52", "53", "54", "58", "59", "60", "62", "63"}));
        QCOMPARE(f[0].value, QString("01"));
        const QList<Tlv> account = fields(f[1].value);
        QCOMPARE(account.size(), 2);
        QCOMPARE(account[0].id + account[0].value, QString("00br.gov.bcb.pix"));
        QCOMPARE(account[1].id + account[1].value, "01" + key);
        QCOMPARE(f[2].value, QString("0000"));
        QCOMPARE(f[3].value, QString("986"));
        QCOMPARE(f[4].value, amount);
        QCOMPARE(f[5].value, QString("BR"));
        QCOMPARE(f[6].value, name);
        QCOMPARE(f[7].value, city);
        const QList<Tlv> additional = fields(f[8].value);
        QCOMPARE(additional.size(), 1);
        QCOMPARE(additional[0].id + additional[0].value, "05" + txid);
        // The CRC over everything before its own value, upper-case hex.
        const QString crc = QString("%1")
                                .arg(pix::crc16(payload.left(payload.size() - 4).toLatin1()), 4, 16,
                                     QLatin1Char('0'))
                                .toUpper();
        QCOMPARE(f[9].value, crc);
        QVERIFY(payload.size() <= 512);
    }

    void keysCheckedByKind_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("key");      // empty: refused
        QTest::addColumn<QString>("message");  // part of the refusal
        QTest::newRow("cpf punctuated") << "CPF"
                                        << "111.444.777-35"
                                        << "11144477735"
                                        << "";
        QTest::newRow("cpf bare") << "CPF"
                                  << "11144477735"
                                  << "11144477735"
                                  << "";
        QTest::newRow("cpf wrong digit") << "CPF"
                                         << "111.444.777-36"
                                         << ""
                                         << "CPF válido";
        QTest::newRow("cpf all zeros") << "CPF"
                                       << "000.000.000-00"
                                       << ""
                                       << "CPF válido";
        QTest::newRow("cpf short") << "CPF"
                                   << "1114447773"
                                   << ""
                                   << "CPF válido";
        QTest::newRow("cpf letters") << "CPF"
                                     << "111.444.777-3X5"
                                     << ""
                                     << "CPF válido";
        QTest::newRow("cnpj") << "CNPJ"
                              << "11.222.333/0001-81"
                              << "11222333000181"
                              << "";
        QTest::newRow("cnpj wrong") << "CNPJ"
                                    << "11.222.333/0001-82"
                                    << ""
                                    << "CNPJ válido";
        QTest::newRow("cnpj for cpf") << "CPF"
                                      << "11.222.333/0001-81"
                                      << ""
                                      << "CPF válido";
        QTest::newRow("e-mail") << "E-mail"
                                << " Contato@Motoboy.com.BR "
                                << "contato@motoboy.com.br"
                                << "";
        QTest::newRow("e-mail no domain dot") << "E-mail"
                                              << "contato@motoboy"
                                              << ""
                                              << "e-mail";
        QTest::newRow("e-mail space") << "E-mail"
                                      << "con tato@motoboy.com"
                                      << ""
                                      << "e-mail";
        QTest::newRow("e-mail two at") << "E-mail"
                                       << "a@b@motoboy.com"
                                       << ""
                                       << "e-mail";
        QTest::newRow("e-mail too long") << "E-mail" << QString(70, 'a') + "@ab.com.br"
                                         << ""
                                         << "e-mail";
        QTest::newRow("mobile +55") << "Celular"
                                    << "+55 (11) 98765-4321"
                                    << "+5511987654321"
                                    << "";
        QTest::newRow("mobile bare") << "Celular"
                                     << "11987654321"
                                     << "+5511987654321"
                                     << "";
        QTest::newRow("mobile 55 no plus") << "Celular"
                                           << "5513991234567"
                                           << "+5513991234567"
                                           << "";
        QTest::newRow("landline") << "Celular"
                                  << "(11) 3333-4444"
                                  << ""
                                  << "celular válido";
        QTest::newRow("no area code") << "Celular"
                                      << "98765-4321"
                                      << ""
                                      << "celular válido";
        QTest::newRow("other country") << "Celular"
                                       << "+1 212 955 51234"
                                       << ""
                                       << "celular";
        QTest::newRow("area code 0") << "Celular"
                                     << "01987654321"
                                     << ""
                                     << "celular";
        QTest::newRow("random") << "Chave aleatória"
                                << "123E4567-E12B-12D1-A456-426655440000"
                                << "123e4567-e12b-12d1-a456-426655440000"
                                << "";
        QTest::newRow("random no hyphens") << "Chave aleatória"
                                           << "123e4567e12b12d1a456426655440000"
                                           << ""
                                           << "aleatória";
        QTest::newRow("random not hex") << "Chave aleatória"
                                        << "123e4567-e12b-12d1-a456-42665544000g"
                                        << ""
                                        << "aleatória";
        QTest::newRow("empty") << "CNPJ"
                               << "   "
                               << ""
                               << "Informe a chave PIX.";
    }
    void keysCheckedByKind() {
        QFETCH(QString, type);
        QFETCH(QString, typed);
        QFETCH(QString, key);
        QFETCH(QString, message);
        const auto kind = pix::keyTypeOf(type);
        QVERIFY(kind);
        const pix::KeyCheck check = pix::checkKey(*kind, typed);
        QCOMPARE(check.key, key);
        QCOMPARE(check.ok(), !key.isEmpty());
        if (!key.isEmpty())
            QVERIFY(check.message.isEmpty());
        else
            QVERIFY2(check.message.contains(message), qPrintable(check.message));
    }

    void namesAndCitiesAsTheCodeCarriesThem_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("expected");
        QTest::newRow("accents cut to 25")
            << "Padaria São João & Cia Ltda ME" << 25 << "Padaria Sao Joao & Cia Lt";
        QTest::newRow("city cut to 15") << "São José dos Campos" << 15 << "Sao Jose dos Ca";
        QTest::newRow("cedilla, tilde") << "AÇAÍ DO PARÁ" << 25 << "ACAI DO PARA";
        QTest::newRow("spaces") << "  MOTO   BOY  " << 25 << "MOTO BOY";
        QTest::newRow("cut before a space") << "ABCDEFGHIJKLMN OP" << 15 << "ABCDEFGHIJKLMN";
        QTest::newRow("not ascii dropped") << "Motoboy ★ Express" << 25 << "Motoboy Express";
        QTest::newRow("ordinal") << "Rua 1º de Maio" << 25 << "Rua 1o de Maio";
    }
    void namesAndCitiesAsTheCodeCarriesThem() {
        QFETCH(QString, text);
        QFETCH(int, length);
        QFETCH(QString, expected);
        QCOMPARE(pix::codeText(text, length), expected);
    }

    void documentCarriesACodeOnlyWhenItShould() {
        const pix::CompanyPix company{"CNPJ", "11.222.333/0001-81", "Motoboy Express Ltda",
                                      "São Paulo", true};
        const QString txid = pix::transactionId("OS", "0000000123");
        QCOMPARE(txid, QString("OS0000000123"));
        QCOMPARE(pix::transactionId("RC", " 000045 "), QString("RC000045"));
        QCOMPARE(pix::transactionId("OS", "12-3/4 é"), QString("OS1234"));
        const QString payload = pix::documentPayload(company, txid, 15075);
        QVERIFY(payload.contains("011411222333000181"));
        QVERIFY(payload.contains("5406150.75"));
        QVERIFY(payload.contains("5920Motoboy Express Ltda6009Sao Paulo"));
        QVERIFY(payload.contains("62160512OS0000000123"));
        pix::CompanyPix off = company;
        off.print = false;
        QCOMPARE(pix::documentPayload(off, txid, 15075), QString());
        QCOMPARE(pix::documentPayload(company, txid, 0), QString());
        pix::CompanyPix noKey = company;
        noKey.key.clear();
        QCOMPARE(pix::documentPayload(noKey, txid, 15075), QString());
        pix::CompanyPix badKey = company;
        badKey.key = "11.222.333/0001-82";
        QCOMPARE(pix::documentPayload(badKey, txid, 15075), QString());
        pix::CompanyPix noType = company;
        noType.type.clear();
        QCOMPARE(pix::documentPayload(noType, txid, 15075), QString());
    }

    void centsOfStoredMoney_data() {
        QTest::addColumn<QString>("money");
        QTest::addColumn<qint64>("cents");  // -1: no amount
        QTest::newRow("thousands") << "1.234,56" << qint64(123456);
        QTest::newRow("plain") << "150,00" << qint64(15000);
        QTest::newRow("one decimal") << "0,5" << qint64(50);
        QTest::newRow("whole") << "12" << qint64(1200);
        QTest::newRow("millions") << "12.345.678,90" << qint64(1234567890);
        QTest::newRow("letters") << "abc" << qint64(-1);
        QTest::newRow("three decimals") << "1,234" << qint64(-1);
        QTest::newRow("bad grouping") << "12.34,00" << qint64(-1);
        QTest::newRow("negative") << "-5,00" << qint64(-1);
        QTest::newRow("empty") << "" << qint64(-1);
    }
    void centsOfStoredMoney() {
        QFETCH(QString, money);
        QFETCH(qint64, cents);
        const auto got = pix::centsOf(money);
        QCOMPARE(got.value_or(-1), cents);
    }

    // Random texts never give a payload a bank could misread: either none,
    // or one whose fields and CRC check out.
    void randomTextsNeverBreakThePayload() {
        QRandomGenerator rng(20261210);
        int made = 0;
        for (int i = 0; i < 3000; ++i) {
            auto randomText = [&rng](int most) {
                QString s;
                const int n = rng.bounded(most + 1);
                for (int j = 0; j < n; ++j)
                    s += QChar(char16_t(rng.bounded(1, 0x2FF)));
                return s;
            };
            // A good key of each kind, or a random text for a key.
            static const QStringList goodKeys = {"111.444.777-35", "11.222.333/0001-81",
                                                 "contato@motoboy.com.br", "+55 11 98765-4321",
                                                 "123e4567-e12b-12d1-a456-426655440000"};
            const int kind = rng.bounded(5);
            const pix::CompanyPix company{pix::keyTypeNames()[kind],
                                          rng.bounded(4) ? goodKeys[kind] : randomText(40),
                                          randomText(40), randomText(30), true};
            const QString payload = pix::documentPayload(
                company, pix::transactionId("OS", randomText(12)), rng.bounded(1, 1000000000));
            if (payload.isEmpty())
                continue;
            ++made;
            const QList<Tlv> f = fields(payload);
            QVERIFY(!f.isEmpty());
            QCOMPARE(f.last().id, QString("63"));
            for (const QChar c : payload)
                QVERIFY(c.unicode() >= 0x20 && c.unicode() < 0x7F);
        }
        QVERIFY(made > 1000);
        // A key that fits no field is refused, not cut.
        QCOMPARE(pix::payload({QString(90, 'a'), "N", "C", "T", 100}), QString());
    }

    void copyAndPasteLineKeepsEveryCharacter() {
        const QString payload =
            pix::payload({"contato@motoboy.com.br", "MOTOBOY EXPRESS", "SANTOS", "RC000045", 4550});
        for (int width : {1, 7, 40, 80, int(payload.size()), int(payload.size()) + 5}) {
            const QStringList lines = pix::wrapped(payload, width);
            QCOMPARE(lines.join(QString()), payload);
            for (const QString& line : lines)
                QVERIFY(line.size() <= width);
        }
    }
};

QTEST_GUILESS_MAIN(TestPix)
#include "tst_pix.moc"
