#include "core/errors.h"
#include "core/money.h"
#include "core/orderhours.h"
#include "testsupport.h"

using namespace quelvarino;

namespace {

// An order computed by clicking the start-time basis, as the operator does.
OrderHoursScreen typed(const QString& start, const QString& end, const QString& price = "30,00") {
    OrderHoursScreen s;
    s.hora2 = start;
    s.hora3 = end;
    s.valor = price;
    s.rbHora2 = true;
    return s;
}

}  // namespace

class TestOrderHours : public QObject {
    Q_OBJECT
private slots:
    // Hour price 30,00, no insurance or fee.
    void hoursAndBands_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("normal");
        QTest::addColumn<QString>("fifty");
        QTest::addColumn<QString>("hundred");
        QTest::addColumn<QString>("value");
        auto row = [](const char* name, const char* s, const char* e, const char* t, const char* n,
                      const char* f, const char* h,
                      const char* v) { QTest::newRow(name) << s << e << t << n << f << h << v; };
        row("08:00-09:00 minimum", "08:00", "09:00", "02:00", "002:00", "000:00", "000:00",
            "60,00");
        row("14:00-18:00", "14:00", "18:00", "04:00", "004:00", "000:00", "000:00", "120,00");
        row("17:00-23:30", "17:00", "23:30", "06:30", "001:00", "004:00", "001:30", "300,00");
        row("17:30-18:30", "17:30", "18:30", "02:00", "000:30", "001:30", "000:00", "82,50");
        row("19:00-20:00", "19:00", "20:00", "02:00", "000:00", "002:00", "000:00", "90,00");
        row("21:00-22:30", "21:00", "22:30", "02:00", "000:00", "001:00", "001:00", "105,00");
        row("23:00-23:30", "23:00", "23:30", "02:00", "000:00", "000:00", "002:00", "120,00");
        row("22:00-24:00", "22:00", "24:00", "02:00", "000:00", "000:00", "002:00", "120,00");
        row("06:00-24:00", "06:00", "24:00", "18:00", "012:00", "004:00", "002:00", "660,00");
        // One minute either side of each band limit.
        row("ends 17:59", "15:00", "17:59", "02:59", "002:59", "000:00", "000:00", "89,50");
        row("ends 18:01", "15:00", "18:01", "03:01", "003:00", "000:01", "000:00", "90,75");
        row("ends 21:59", "19:00", "21:59", "02:59", "000:00", "002:59", "000:00", "134,25");
        row("ends 22:01", "19:00", "22:01", "03:01", "000:00", "003:00", "000:01", "136,00");
        row("ends 23:59", "20:00", "23:59", "03:59", "000:00", "002:00", "001:59", "209,00");
        row("start 17:59", "17:59", "20:30", "02:31", "000:01", "002:30", "000:00", "113,00");
        row("start 18:00 counts before", "18:00", "21:00", "03:00", "000:00", "003:00", "000:00",
            "135,00");
        row("start 18:01", "18:01", "21:00", "02:59", "000:00", "002:59", "000:00", "134,25");
        row("start 22:00", "22:00", "23:00", "02:00", "000:00", "000:00", "002:00", "120,00");
        row("end exactly 22:00", "16:00", "22:00", "06:00", "002:00", "004:00", "000:00", "240,00");
        row("1:59 charged two hours", "08:00", "09:59", "02:00", "002:00", "000:00", "000:00",
            "60,00");
        row("2:01 charged 2:01", "08:00", "10:01", "02:01", "002:01", "000:00", "000:00", "60,50");
        row("minimum crosses 18:00", "17:00", "17:30", "02:00", "001:00", "001:00", "000:00",
            "75,00");
        row("minimum crosses 22:00", "21:30", "22:00", "02:00", "000:00", "000:30", "001:30",
            "112,50");
        row("blank minutes count as 00", "08:  ", "11:  ", "03:00", "003:00", "000:00", "000:00",
            "90,00");
    }
    void hoursAndBands() {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, total);
        QFETCH(QString, normal);
        QFETCH(QString, fifty);
        QFETCH(QString, hundred);
        QFETCH(QString, value);

        QCOMPARE(totalHours(start, end), total);
        const Bands b = splitBands(start, end);
        QCOMPARE(bandText(b.normal), normal);
        QCOMPARE(bandText(b.fifty), fifty);
        QCOMPARE(bandText(b.hundred), hundred);

        const OrderStep step = selectStartBasis(typed(start, end));
        QVERIFY(step.message.isEmpty());
        QCOMPARE(step.screen.hora4, total);
        QCOMPARE(step.screen.lbTotval, value);
        QCOMPARE(step.screen.totval, value);

        // Recording recomputes the same bands and stores unrounded values.
        const OrderRecomputation rec = recomputeForRecording(typed(start, end), std::nullopt);
        QCOMPARE(rec.values.totHorN, normal);
        QCOMPARE(rec.values.totHor50, fifty);
        QCOMPARE(rec.values.totHor100, hundred);
        const double sum = parseMoney(rec.values.valorN) + parseMoney(rec.values.valor50) +
                           parseMoney(rec.values.valor100);
        QCOMPARE(formatMoney(sum), value);
    }

    void bandValuesAreStoredUnrounded() {
        // 75 minutes at 30,00 = 37,5: stored as written, not "37,50".
        const OrderRecomputation rec = recomputeForRecording(typed("16:45", "19:00"), std::nullopt);
        QCOMPARE(rec.values.totHorN, QString("001:15"));
        QCOMPARE(rec.values.valorN, QString("37,5"));
        QCOMPARE(rec.values.valor50, QString("45"));
        QCOMPARE(rec.values.valor100, QString("0"));
        const BandValues v = bandValues("001:15", "01:00", "000:00", 25.0);
        QCOMPARE(numberToText(v.normal), QString("31,25"));
        QCOMPARE(numberToText(v.fifty), QString("37,5"));  // "01:00" read as hh:mm
    }

    void totalsWithInsuranceAndFee() {
        OrderHoursScreen s = typed("17:00", "23:30");
        s.seguro = "10,00";
        s.taxap = "5,00";
        const OrderStep step = selectStartBasis(s);
        QCOMPARE(step.screen.totval, QString("315,00"));
        QCOMPARE(step.screen.lbTotval, QString("300,00"));

        // Leaving the fields recomputes from the hours value.
        OrderHoursScreen after = step.screen;
        after.seguro = "20";
        after = leaveSeguro(after);
        QCOMPARE(after.seguro, QString("20,00"));
        QCOMPARE(after.totval, QString("325,00"));
        after.taxap = "";
        after = leaveTaxap(after);
        QCOMPARE(after.taxap, QString("0,00"));
        QCOMPARE(after.totval, QString("320,00"));
        after.seguro = "";
        after = leaveSeguro(after);
        QCOMPARE(after.seguro, QString("0,00"));
        QCOMPARE(after.totval, QString("300,00"));
    }

    void courierValues_data() {
        QTest::addColumn<bool>("fixedPay");
        QTest::addColumn<QString>("typedPay");
        QTest::addColumn<QString>("valMot");
        QTest::addColumn<QString>("totValMot");
        QTest::newRow("by hours at 12,00") << false << ""
                                           << "0,00"
                                           << "120";
        QTest::newRow("fixed 50,00") << true << "50,00"
                                     << "50,00"
                                     << "0,00";
    }
    void courierValues() {
        QFETCH(bool, fixedPay);
        QFETCH(QString, typedPay);
        QFETCH(QString, valMot);
        QFETCH(QString, totValMot);
        OrderHoursScreen s = typed("17:00", "23:30");
        s = setFixedCourierPay(s, fixedPay);
        QCOMPARE(s.valmotEnabled, fixedPay);
        if (fixedPay) {
            s.valmot = "50";
            s = leaveValmot(s);
            QCOMPARE(s.valmot, typedPay);
        }
        const OrderRecomputation rec = recomputeForRecording(s, QString("12,00"));
        QCOMPARE(rec.values.valMot, valMot);
        QCOMPARE(rec.values.totValMot, totValMot);
        // No courier with exactly this code: nothing by hours.
        if (!fixedPay)
            QCOMPARE(recomputeForRecording(s, std::nullopt).values.totValMot, QString("0,00"));
        // An empty rate counts as zero.
        if (!fixedPay)
            QCOMPARE(recomputeForRecording(s, QString("")).values.totValMot, QString("0,00"));
    }

    void valmotUncheckedBecomesZero() {
        OrderHoursScreen s;
        s.valmot = "80";
        QCOMPARE(leaveValmot(s).valmot, QString("0,00"));
        s.rbValmot = true;
        QCOMPARE(leaveValmot(s).valmot, QString("80,00"));
        s.valmot = "";
        QCOMPARE(leaveValmot(s).valmot, QString("0,00"));
    }

    void fixedValueOrderIsRecordedAsShown() {
        OrderHoursScreen s;
        s.hora2 = "08:00";
        s.hora3 = "09:00";
        s.valor = "200";
        s = setFixedValueMode(s, true);
        QVERIFY(s.valorEnabled);
        QCOMPARE(s.totval, QString("200"));  // copied unchanged
        s = leaveValor(s);
        QCOMPARE(s.valor, QString("200,00"));
        QCOMPARE(s.totval, QString("200,00"));
        s.seguro = "10,00";
        s = leaveSeguro(s);
        QCOMPARE(s.totval, QString("210,00"));
        s.taxap = "5";
        s = leaveTaxap(s);
        QCOMPARE(s.totval, QString("215,00"));

        const OrderRecomputation rec = recomputeForRecording(s, QString("12,00"));
        QCOMPARE(rec.screen.totval, QString("215,00"));  // what the operator saw
        QCOMPARE(rec.screen.lbTotval, QString("200,00"));
        QCOMPARE(rec.screen.hora4, QString("02:00"));
        QCOMPARE(rec.values.totHorN, QString("002:00"));
        QCOMPARE(rec.values.valorN, QString("0,00"));
        QCOMPARE(rec.values.valor50, QString("0,00"));
        QCOMPARE(rec.values.valor100, QString("0,00"));
        QCOMPARE(rec.values.totValMot, QString("0,00"));  // no courier values by hours
    }

    void basisClickLeavesFixedModeFirst() {
        OrderHoursScreen s = typed("17:00", "23:30");
        s.rbHora2 = false;
        s = setFixedValueMode(s, true);
        s.valor = "99,00";
        s.rbHora2 = true;  // the click
        OrderStep first = selectStartBasis(s);
        QVERIFY(first.message.isEmpty());
        QVERIFY(!first.screen.rbValor);
        QVERIFY(!first.screen.valorEnabled);
        QVERIFY(!first.screen.rbHora2);
        QCOMPARE(first.screen.hora4, QString("  :  "));  // nothing computed yet
        first.screen.rbHora2 = true;                     // second click computes
        const OrderStep second = selectStartBasis(first.screen);
        QCOMPARE(second.screen.hora4, QString("06:30"));
        QCOMPARE(second.screen.lbTotval, QString("990,00"));
    }

    void basisMessages_data() {
        QTest::addColumn<QString>("departure");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("basis");
        QTest::addColumn<QString>("message");
        QTest::newRow("end blank")
            << "08:00"
            << "09:00"
            << "  :  " << 1 << "Antes de selecionar, preencha o horário final.";
        QTest::newRow("departure blank")
            << "  :  "
            << "09:00"
            << "12:00" << 1 << "Horário de saída e o horário final, devem ser preenchidos.";
        QTest::newRow("start blank")
            << "08:00"
            << "  :  "
            << "12:00" << 2 << "Horário inicial e o horário final, devem ser preenchidos.";
        QTest::newRow("end before start")
            << "08:00"
            << "14:00"
            << "09:50" << 2
            << "O horário final (09:50) é anterior ao inicial (14:00): uma ordem de serviço não "
               "passa da meia-noite.";
    }
    void basisMessages() {
        QFETCH(QString, departure);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(int, basis);
        QFETCH(QString, message);
        OrderHoursScreen s;
        s.hora1 = departure;
        s.hora2 = start;
        s.hora3 = end;
        s.rbHora1 = basis == 1;
        s.rbHora2 = basis == 2;
        const OrderStep step = selectStartBasis(s);
        QCOMPARE(step.message, message);
        QVERIFY(!step.screen.rbHora1);
        QVERIFY(!step.screen.rbHora2);
        QCOMPARE(step.screen.hora4, s.hora4);
    }

    void departureBasisUsesDepartureTime() {
        OrderHoursScreen s;
        s.hora1 = "16:00";
        s.hora2 = "17:00";
        s.hora3 = "19:00";
        s.valor = "30";
        s.rbHora1 = true;
        const OrderStep step = selectStartBasis(s);
        QCOMPARE(step.screen.hora4, QString("03:00"));
        QCOMPARE(step.screen.valor, QString("30,00"));
        QCOMPARE(step.screen.lbTotval, QString("105,00"));
    }

    void recordingCases() {
        // Case 3: no basis, loaded order: departure time wins when filled.
        OrderHoursScreen s;
        s.hora1 = "16:00";
        s.hora2 = "17:00";
        s.hora3 = "19:00";
        s.valor = "30";
        s.seguro = "1,00";
        s.taxap = "2,00";
        OrderRecomputation rec = recomputeForRecording(s, std::nullopt);
        QCOMPARE(rec.screen.hora4, QString("03:00"));
        QCOMPARE(rec.values.totHorN, QString("002:00"));
        QCOMPARE(rec.values.totHor50, QString("001:00"));
        QCOMPARE(rec.screen.lbTotval, QString("105,00"));
        QCOMPARE(rec.screen.totval, QString("108,00"));
        QCOMPARE(rec.screen.valor, QString("30,00"));

        // A chosen basis whose times changed afterwards: the total hours and
        // the total follow the bands, never what the screen showed before.
        s.rbHora2 = true;
        s.hora4 = "02:00";
        s.lbTotval = "60,00";
        s.totval = "63,00";
        rec = recomputeForRecording(s, std::nullopt);
        QCOMPARE(rec.screen.hora4, QString("02:00"));
        QCOMPARE(rec.values.totHorN, QString("001:00"));
        QCOMPARE(rec.values.totHor50, QString("001:00"));
        QCOMPARE(rec.screen.lbTotval, QString("75,00"));
        QCOMPARE(rec.screen.totval, QString("78,00"));
        s.hora3 = "21:00";
        rec = recomputeForRecording(s, std::nullopt);
        QCOMPARE(rec.screen.hora4, QString("04:00"));
        QCOMPARE(rec.values.totHor50, QString("003:00"));
        QCOMPARE(rec.screen.lbTotval, QString("165,00"));
        QCOMPARE(rec.screen.totval, QString("168,00"));

        // Case 5: nothing to compute.
        OrderHoursScreen empty;
        rec = recomputeForRecording(empty, std::nullopt);
        QCOMPARE(rec.screen, empty);
        QCOMPARE(rec.values.totHorN, QString("000:00"));
        QCOMPARE(rec.values.valorN, QString("0,00"));
        QCOMPARE(rec.values.totValMot, QString("0,00"));
    }

    // Every blank/filled combination of departure, start and end, in hour
    // and in fixed-value mode: the stored order agrees with itself and no
    // total time is negative or garbled.
    void everyCombinationOfTimesIsConsistent_data() {
        QTest::addColumn<QString>("departure");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<QString>("hours");  // Edhora4 as recorded
        const QString blank = "  :  ";
        const struct {
            const char* name;
            QString d, s, e, hoursByTime, hoursFixed;
        } rows[] = {
            {"none", blank, blank, blank, blank, blank},
            {"end only", blank, blank, "09:00", blank, blank},
            {"start only", blank, "23:00", blank, blank, blank},
            {"start and end", blank, "17:00", "23:30", "06:30", "06:30"},
            {"departure only", "08:30", blank, blank, blank, blank},
            {"departure and end", "08:30", blank, "14:00", "05:30", "05:30"},
            {"departure and start", "08:30", "09:00", blank, blank, blank},
            {"all three", "08:30", "09:00", "14:00", "05:30", "05:00"},
            {"end before start", blank, "14:00", "09:00", blank, blank},
        };
        for (const auto& r : rows) {
            QTest::newRow((QByteArray(r.name) + " by time").constData())
                << r.d << r.s << r.e << false << r.hoursByTime;
            QTest::newRow((QByteArray(r.name) + " fixed").constData())
                << r.d << r.s << r.e << true << r.hoursFixed;
        }
    }
    void everyCombinationOfTimesIsConsistent() {
        QFETCH(QString, departure);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(bool, fixed);
        QFETCH(QString, hours);
        OrderHoursScreen s;
        s.hora1 = departure;
        s.hora2 = start;
        s.hora3 = end;
        s.hora4 = "99:99";  // whatever an earlier step showed
        s.valor = "30";
        s.seguro = "10,00";
        s.taxap = "5,00";
        if (fixed) {
            s = setFixedValueMode(s, true);
            s.valor = "200";
        }
        const OrderRecomputation rec = recomputeForRecording(s, QString("12,00"));
        QCOMPARE(rec.screen.hora4, hours);
        auto minutes = [](const QString& band) {
            return band.left(3).toInt() * 60 + band.mid(4, 2).toInt();
        };
        const int banded = minutes(rec.values.totHorN) + minutes(rec.values.totHor50) +
                           minutes(rec.values.totHor100);
        QCOMPARE(banded, hours == "  :  " ? 0 : minutesOfDay(hours));
        const double sum = parseMoney(rec.values.valorN) + parseMoney(rec.values.valor50) +
                           parseMoney(rec.values.valor100);
        if (fixed) {
            QCOMPARE(sum, 0.0);
            QCOMPARE(rec.screen.totval, QString("215,00"));
            QCOMPARE(rec.values.totValMot, QString("0,00"));
        } else {
            QCOMPARE(formatMoney(sum), rec.screen.lbTotval);
            QCOMPARE(rec.screen.totval, formatMoney(sum + 15.0));
            // The courier is paid from the same bands at his own rate.
            const double weighted = minutes(rec.values.totHorN) +
                                    1.5 * minutes(rec.values.totHor50) +
                                    2.0 * minutes(rec.values.totHor100);
            QCOMPARE(formatMoney(parseMoney(rec.values.totValMot)),
                     formatMoney(weighted * 12.0 / 60.0));
        }
        QCOMPARE(endsBeforeItStarts(s), QString(QTest::currentDataTag()).startsWith("end before"));
    }

    // Times no clock shows, and an end before the start: refused where
    // they are read, never a minute count or a negative total.
    void impossibleTimesAreRefused_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::newRow("99:99") << "08:00"
                               << "99:99";
        QTest::newRow("25:00") << "25:00"
                               << "26:00";
        QTest::newRow("60 minutes") << "08:60"
                                    << "10:00";
        QTest::newRow("past 24:00") << "08:00"
                                    << "24:01";
        QTest::newRow("no colon") << "08000"
                                  << "10:00";
        QTest::newRow("too long") << "08:00"
                                  << "10:000";
        QTest::newRow("end before start") << "14:00"
                                          << "09:50";
    }
    void impossibleTimesAreRefused() {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QVERIFY_THROWS_EXCEPTION(ConversionError, totalHours(start, end));
    }
    void clockTimes_data() {
        QTest::addColumn<QString>("time");
        QTest::addColumn<int>("minutes");
        QTest::newRow("midnight") << "00:00" << 0;
        QTest::newRow("blank") << "  :  " << 0;
        QTest::newRow("end of day") << "24:00" << 1440;
        QTest::newRow("last minute") << "23:59" << 1439;
    }
    void clockTimes() {
        QFETCH(QString, time);
        QFETCH(int, minutes);
        QCOMPARE(minutesOfDay(time), minutes);
    }

    void badMoneyStopsTheStep_data() {
        QTest::addColumn<QString>("field");
        QTest::newRow("price") << "valor";
        QTest::newRow("insurance") << "seguro";
        QTest::newRow("fee") << "taxap";
    }
    void badMoneyStopsTheStep() {
        QFETCH(QString, field);
        OrderHoursScreen s = typed("08:00", "12:00");
        if (field == "valor")
            s.valor = "1,2,3";
        else if (field == "seguro")
            s.seguro = "1,2,3";
        else
            s.taxap = "1,2,3";
        try {
            selectStartBasis(s);
            QFAIL("computed with a text that is no number");
        } catch (const ConversionError& e) {
            QVERIFY(e.text().contains("'1,2,3'"));
        }
        if (field == "valor")  // recording by a selected basis reads only the price
            QVERIFY_THROWS_EXCEPTION(ConversionError, recomputeForRecording(s, std::nullopt));
        s.rbHora2 = false;  // recording an order loaded from the search adds all three
        QVERIFY_THROWS_EXCEPTION(ConversionError, recomputeForRecording(s, std::nullopt));
        if (field == "seguro")
            QVERIFY_THROWS_EXCEPTION(ConversionError, leaveSeguro(s));
        if (field == "taxap")
            QVERIFY_THROWS_EXCEPTION(ConversionError, leaveTaxap(s));
    }
};

QTEST_GUILESS_MAIN(TestOrderHours)
#include "tst_orderhours.moc"
