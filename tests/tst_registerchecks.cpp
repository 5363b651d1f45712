#include "core/errors.h"
#include "core/registerchecks.h"
#include "testsupport.h"

using namespace quelvarino;

Q_DECLARE_METATYPE(QList<DateCheckMessage>)

namespace {
DateCheckMessage info(const char* t) {
    return {DateCheckMessage::Information, QString::fromUtf8(t)};
}
DateCheckMessage warn(const char* t) {
    return {DateCheckMessage::Warning, QString::fromUtf8(t)};
}
DateCheckMessage conversion(const QString& text) {
    return {DateCheckMessage::ConversionError,
            QStringLiteral("'%1' não é uma data válida.").arg(text)};
}
}  // namespace

class TestRegisterChecks : public QObject {
    Q_OBJECT
private slots:
    void dateCheck_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<DateCheckMessage>>("messages");
        using L = QList<DateCheckMessage>;
        QTest::newRow("valid") << "15/03/2024" << L{};
        QTest::newRow("31 april") << "31/04/2024"
                                  << L{info("Dia incorreto, pois neste mês não tem dia 31")};
        QTest::newRow("31 june") << "31/06/2024"
                                 << L{info("Dia incorreto, pois neste mês não tem dia 31")};
        QTest::newRow("31 november")
            << "31/11/2024" << L{info("Dia incorreto, pois neste mês não tem dia 31")};
        QTest::newRow("31 may is fine") << "31/05/2024" << L{};
        QTest::newRow("29 feb, not leap")
            << "29/02/2023" << L{info("Dia incorreto, pois neste mês não tem dia 29, 30 ou 31")};
        QTest::newRow("31 feb, not leap")
            << "31/02/2023" << L{info("Dia incorreto, pois neste mês não tem dia 29, 30 ou 31")};
        QTest::newRow("29 feb, leap") << "29/02/2024" << L{};
        QTest::newRow("30 feb, leap")
            << "30/02/2024" << L{info("Dia incorreto, pois neste mês não tem dia 30 ou 31")};
        QTest::newRow("29 feb 1900 passes") << "29/02/1900" << L{};
        QTest::newRow("day 32") << "32/01/2024" << L{warn("Dia incorreto!")};
        QTest::newRow("month 13") << "10/13/2024" << L{warn("Mês incorreto!")};
        QTest::newRow("year half blank") << "10/10/20  " << L{warn("Ano incorreto!")};
        QTest::newRow("day and month zero")
            << "00/00/2024" << L{warn("Dia incorreto!"), warn("Mês incorreto!")};
        QTest::newRow("all three")
            << "00/00/    "
            << L{warn("Dia incorreto!"), warn("Mês incorreto!"), warn("Ano incorreto!")};
        QTest::newRow("blank") << "  /  /    " << L{conversion("  /  /    ")};
        QTest::newRow("blank month") << "10/  /2024" << L{conversion("10/  /2024")};
        QTest::newRow("day with trailing blank") << "1 /05/2024" << L{conversion("1 /05/2024")};
        QTest::newRow("day with leading blank") << " 1/05/2024" << L{};
        QTest::newRow("blank year in february") << "29/02/    " << L{conversion("29/02/    ")};
        QTest::newRow("31 april then blank month never reached")
            << "31/04/    " << L{info("Dia incorreto, pois neste mês não tem dia 31")};
        // What no date field holds: refused whole, not read in part.
        const QString trailingNul = QString("15/03/2024") + QChar(0);
        QTest::newRow("trailing NUL") << trailingNul << L{conversion(trailingNul)};
        QTest::newRow("trailing text") << "15/03/2024x" << L{conversion("15/03/2024x")};
        QTest::newRow("other separators") << "15-03-2024" << L{conversion("15-03-2024")};
        QTest::newRow("short") << "15/03/24" << L{conversion("15/03/24")};
        QTest::newRow("empty") << "" << L{conversion("")};
    }
    void dateCheck() {
        QFETCH(QString, text);
        QFETCH(QList<DateCheckMessage>, messages);
        const DateCheck check = checkDateText(text);
        QCOMPARE(check.messages.size(), messages.size());
        for (int i = 0; i < messages.size(); ++i) {
            QCOMPARE(check.messages[i].kind, messages[i].kind);
            QCOMPARE(check.messages[i].text, messages[i].text);
        }
        QCOMPARE(check.ok(), messages.isEmpty());
    }

    void documents_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("cnpj");
        QTest::addColumn<bool>("valid");
        QTest::newRow("cnpj valid") << "11.222.333/0001-81" << true << true;
        QTest::newRow("cnpj last digit changed") << "11.222.333/0001-82" << true << false;
        QTest::newRow("cnpj first check digit wrong") << "11.222.333/0001-91" << true << false;
        QTest::newRow("cnpj bare digits") << "11222333000181" << true << true;
        QTest::newRow("cnpj partly typed") << "11.222.33 /0001-81" << true << false;
        QTest::newRow("cnpj blank form") << "  .   .   /    -  " << true << false;
        QTest::newRow("cnpj wrong punctuation") << "11-222.333/0001.81" << true << false;
        QTest::newRow("cnpj too short") << "1122233300018" << true << false;
        QTest::newRow("cnpj remainder below two") << "11.444.777/0001-61" << true << true;
        QTest::newRow("cpf valid") << "111.444.777-35" << false << true;
        QTest::newRow("cpf wrong") << "111.444.777-36" << false << false;
        QTest::newRow("cpf zeros accepted") << "000.000.000-00" << false << true;
        QTest::newRow("cpf bare digits") << "11144477735" << false << true;
        QTest::newRow("cpf letters") << "111.444.77a-35" << false << false;
        QTest::newRow("cpf blank form") << "   .   .   -  " << false << false;
        QTest::newRow("cpf given as cnpj") << "111.444.777-35" << true << false;
    }
    void documents() {
        QFETCH(QString, text);
        QFETCH(bool, cnpj);
        QFETCH(bool, valid);
        QCOMPARE(cnpj ? isValidCnpj(text) : isValidCpf(text), valid);
    }

    void codes_data() {
        QTest::addColumn<QString>("last");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("next");
        QTest::newRow("empty register") << "" << 6 << "000001";
        QTest::newRow("empty numbering") << "" << 10 << "0000000001";
        QTest::newRow("after 9") << "000009" << 6 << "000010";
        QTest::newRow("after 99999") << "099999" << 6 << "100000";
        QTest::newRow("after 999999 no padding, longer") << "999999" << 6 << "1000000";
        QTest::newRow("ten digits") << "0000000041" << 10 << "0000000042";
        QTest::newRow("typed without zeros") << "7" << 10 << "0000000008";
        // The largest codes of each width, and past what an integer holds.
        QTest::newRow("largest order number") << "9999999999" << 10 << "10000000000";
        QTest::newRow("largest six digits but one") << "999998" << 6 << "999999";
        QTest::newRow("largest 64-bit integer")
            << "9223372036854775807" << 6 << "9223372036854775808";
        QTest::newRow("past 64 bits") << "99999999999999999999" << 10 << "100000000000000000000";
        QTest::newRow("leading blanks") << "  41" << 6 << "000042";
    }
    void codes() {
        QFETCH(QString, last);
        QFETCH(int, width);
        QFETCH(QString, next);
        QCOMPARE(nextCode(last, width), next);
    }

    void codeThatIsNoNumber_data() {
        QTest::addColumn<QString>("last");
        QTest::newRow("letters") << "ABC";
        QTest::newRow("negative") << "-6";
        QTest::newRow("negative with zeros") << "-000006";
    }
    void codeThatIsNoNumber() {
        QFETCH(QString, last);
        QVERIFY_THROWS_EXCEPTION(ConversionError, nextCode(last, 6));
    }
};

QTEST_GUILESS_MAIN(TestRegisterChecks)
#include "tst_registerchecks.moc"
