#include "core/dates.h"
#include "core/errors.h"
#include "core/money.h"
#include "testsupport.h"

#include <QRandomGenerator>
#include <charconv>
#include <cmath>
#include <limits>

using namespace quelvarino;

class TestMoneyDates : public QObject {
    Q_OBJECT
private slots:
    void parseMoneyTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("comma") << "12,50" << true << 12.5;
        QTest::newRow("integer") << "300" << true << 300.0;
        QTest::newRow("leading comma") << ",5" << true << 0.5;
        QTest::newRow("trailing comma") << "7," << true << 7.0;
        QTest::newRow("negative") << "-3,25" << true << -3.25;
        QTest::newRow("spaces around") << " 4,00 " << true << 4.0;
        QTest::newRow("two commas") << "1,2,3" << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("dot") << "12.50" << false << 0.0;
        QTest::newRow("letters") << "12a" << false << 0.0;
        QTest::newRow("lone comma") << "," << false << 0.0;
    }
    void parseMoneyTexts() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        if (ok) {
            QCOMPARE(parseMoney(text), value);
        } else {
            try {
                parseMoney(text);
                QFAIL("accepted a text that is no number");
            } catch (const ConversionError& e) {
                QVERIFY2(e.text().contains("'" + text + "'"), qPrintable(e.text()));
            }
        }
    }

    void formatMoneyValues_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0,00";
        QTest::newRow("below one") << 0.75 << "0,75";
        QTest::newRow("no thousands separator") << 1234.5 << "1234,50";
        QTest::newRow("half cent up") << 0.125 << "0,13";
        QTest::newRow("binary just below half") << 1.005 << "1,01";
        QTest::newRow("carry") << 9.999 << "10,00";
        QTest::newRow("negative") << -2.5 << "-2,50";
        QTest::newRow("negative rounds to zero") << -0.001 << "0,00";
        QTest::newRow("large") << 1234567.891 << "1234567,89";
        QTest::newRow("thirds") << 100.0 / 3.0 << "33,33";
        QTest::newRow("sum of tenths") << 0.1 + 0.2 << "0,30";
        // Above ten thousand million fifteen digits reach the fourth
        // decimal: the cents come from the value itself, rounded once.
        QTest::newRow("eleven digits, below the half cent")
            << 121638156446.5345 << "121638156446,53";
        QTest::newRow("thirteen digits, below the half cent")
            << 5470012746918.1445 << "5470012746918,14";
        QTest::newRow("thirteen digits, a tie") << 4528075611490.375 << "4528075611490,38";
        QTest::newRow("the largest") << 9999999999999.99 << "9999999999999,99";
        QTest::newRow("the largest, negative") << -9999999999999.99 << "-9999999999999,99";
    }
    // Within half a cent of the value everywhere up to the largest amount
    // (and the fifteen digits' rounding where that applies).
    void formatMoneyNeverOffByMoreThanHalfACent() {
        QRandomGenerator random(20261210);
        for (int i = 0; i < 200000; ++i) {
            const double value =
                std::pow(10.0, random.bounded(13.0)) * (random.bounded(2) ? 1 : -1);
            const QString text = formatMoney(value);
            const QByteArray point = QString(text).replace(',', '.').toLatin1();
            long double shown = 0;
            std::from_chars(point.constData(), point.constData() + point.size(), shown);
            // below ten thousand million the value is first taken to its
            // fifteen digits (1,005 is 1,01): half of the fifteenth digit more
            const long double fifteenth =
                std::fabs(value) < 1e10
                    ? 0.5L * std::pow(10.0L, std::floor(std::log10(std::fabs(value))) - 14)
                    : 0.0L;
            QVERIFY2(std::fabs(shown - (long double)value) <= 0.005L + fifteenth + 1e-6L,
                     qPrintable(QString::number(value, 'f', 6) + " -> " + text));
        }
    }
    void formatMoneyRefusesWhatHasNoCents_data() {
        QTest::addColumn<double>("value");
        QTest::newRow("ten million million") << 1e13;
        QTest::newRow("negative") << -1e14;
        QTest::newRow("largest double") << std::numeric_limits<double>::max();
    }
    void formatMoneyRefusesWhatHasNoCents() {
        QFETCH(double, value);
        QVERIFY_THROWS_EXCEPTION(ConversionError, formatMoney(value));
    }
    void formatMoneyValues() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(formatMoney(value), text);
    }

    void numberTexts_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("half") << 37.5 << "37,5";
        QTest::newRow("whole") << 120.0 << "120";
        QTest::newRow("tenth sum") << 0.1 + 0.2 << "0,3";
        QTest::newRow("third") << 1.0 / 3.0 << "0,333333333333333";
    }
    void numberTexts() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(numberToText(value), text);
        QCOMPARE(numberToText(parseMoney(text)), text);
    }

    void reformatEmptyIsZero() {
        QCOMPARE(reformatMoney(""), QString("0,00"));
        QCOMPARE(reformatMoney("  "), QString("0,00"));
        QCOMPARE(reformatMoney("5"), QString("5,00"));
        QVERIFY_THROWS_EXCEPTION(ConversionError, reformatMoney("1,,2"));
    }

    void dates_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");  // invalid: refused
        QTest::newRow("plain") << "31/01/2005" << QDate(2005, 1, 31);
        QTest::newRow("leap day") << "29/02/2024" << QDate(2024, 2, 29);
        QTest::newRow("no leap day") << "29/02/2023" << QDate();
        QTest::newRow("31 february") << "31/02/2024" << QDate();
        QTest::newRow("month 13") << "01/13/2024" << QDate();
        QTest::newRow("day zero") << "00/01/2024" << QDate();
        QTest::newRow("blank mask") << "  /  /    " << QDate();
        QTest::newRow("empty") << "" << QDate();
        QTest::newRow("one digit with blank") << "1 /2 /2005" << QDate(2005, 2, 1);
        QTest::newRow("short year") << "01/01/05" << QDate();
        QTest::newRow("letters") << "aa/bb/cccc" << QDate();
        QTest::newRow("us order") << "01/31/2005" << QDate();
    }
    void dates() {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        if (date.isValid()) {
            QCOMPARE(parseDate(text), date);
        } else {
            try {
                parseDate(text);
                QFAIL("accepted an invalid date");
            } catch (const ConversionError& e) {
                QVERIFY2(e.text().contains("'" + text + "'"), qPrintable(e.text()));
            }
        }
    }

    void blankDateTexts() {
        QVERIFY(isBlankDateText("  /  /    "));
        QVERIFY(isBlankDateText(""));
        QVERIFY(!isBlankDateText("1 /  /    "));
        QCOMPARE(formatDate(QDate(2005, 1, 3)), QString("03/01/2005"));
    }
};

QTEST_GUILESS_MAIN(TestMoneyDates)
#include "tst_money_dates.moc"
