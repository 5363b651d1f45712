// Orders typed into the real order screen, in the office's own locale,
// checked against a pricing model written here from the office's rules:
// whole minutes, money in whole cents, the hours' value as an exact
// fraction rounded once to the cent (half away from zero). The model knows
// nothing of how the program computes.
#include "app/mainwindow.h"
#include "app/program.h"
#include "core/clock.h"
#include "orders/serviceorder.h"
#include "testsupport.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <clocale>
#include <memory>

using namespace quelvarino;
using namespace operatorDoes;

namespace model {

// A money text as the operator types it ("7,5", "10", "1234,56") in cents.
qint64 cents(const QString& typed) {
    const QStringList parts = typed.split(QLatin1Char(','));
    qint64 c = parts[0].isEmpty() ? 0 : parts[0].toLongLong() * 100;
    if (parts.size() > 1) {
        const QString d = (parts[1] + QStringLiteral("00")).left(2);
        c += d.toLongLong();
    }
    return c;
}

QString money(qint64 c) {
    return QStringLiteral("%1,%2").arg(c / 100).arg(c % 100, 2, 10, QLatin1Char('0'));
}

// Minutes of the day of a typed "hhmm".
int minutes(const QString& hhmm) {
    return hhmm.left(2).toInt() * 60 + hhmm.mid(2, 2).toInt();
}

QString clock(int m) {
    return QStringLiteral("%1:%2")
        .arg(m / 60, 2, 10, QLatin1Char('0'))
        .arg(m % 60, 2, 10, QLatin1Char('0'));
}

QString band(int m) {
    return QStringLiteral("%1:%2")
        .arg(m / 60, 3, 10, QLatin1Char('0'))
        .arg(m % 60, 2, 10, QLatin1Char('0'));
}

// A job is charged two hours at least; the added time follows its end. The
// day splits at 18:00 (50 % more) and 22:00 (100 % more).
struct Bands {
    int normal, fifty, hundred;
};
Bands split(int start, int end) {
    const int b = std::max(end, start + 120);
    auto overlap = [&](int from, int to) {
        return std::max(0, std::min(b, to) - std::max(start, from));
    };
    return {overlap(0, 18 * 60), overlap(18 * 60, 22 * 60), overlap(22 * 60, 1 << 20)};
}

QString totalHours(int start, int end, bool minimum) {
    const int d = end - start;
    return minimum && d < 120 ? QStringLiteral("02:00") : clock(d);
}

// What the bands are worth at an hour price, in 1/120 of a cent: each
// minute is a sixtieth of the price, 1,5 times that from 18:00, twice from
// 22:00.
qint64 worth120(const Bands& b, qint64 priceCents) {
    return (2 * qint64(b.normal) + 3 * qint64(b.fifty) + 4 * qint64(b.hundred)) * priceCents;
}

qint64 roundedCents(qint64 v120) {
    return (v120 + 60) / 120;  // never negative here: half goes up
}

}  // namespace model

// One order as the operator types it, and what the rules say of it.
struct Order {
    enum Basis { Departure, Start, AtRecording, FixedValue };
    int client = 0, courier = 0;
    QString departure, start, end;  // "hhmm" or empty
    Basis basis = Start;
    QString fixedValue, insurance, fee, courierPay;  // as typed; empty: not typed
    int payment = 0;
};

class TestOrderPricing : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    TQuelvarino0021_0* os = nullptr;
    QStringList clientPrices, courierRates;

    // Money texts as operators type them: whole, one decimal, two decimals,
    // small and large.
    static QString typedMoney(QRandomGenerator& r, int maxWhole) {
        const int whole = r.bounded(4) == 0 ? r.bounded(10) : r.bounded(maxWhole + 1);
        switch (r.bounded(3)) {
            case 0:
                return QString::number(whole);
            case 1:
                return QStringLiteral("%1,%2").arg(whole).arg(r.bounded(10));
            default:
                return QStringLiteral("%1,%2").arg(whole).arg(r.bounded(100), 2, 10,
                                                              QLatin1Char('0'));
        }
    }
    // Times across the three bands and the day's edges.
    static int someMinute(QRandomGenerator& r, int from) {
        static const int edges[] = {0,    1,    59,   119,  120,  1079, 1080, 1081,
                                    1199, 1200, 1319, 1320, 1321, 1380, 1439, 1440};
        for (int tries = 0; tries < 4 && r.bounded(3) == 0; ++tries) {
            const int e = edges[r.bounded(int(std::size(edges)))];
            if (e >= from)
                return e;
        }
        return from + r.bounded(1441 - from);
    }
    static QString typedTime(int m) { return model::clock(m).remove(QLatin1Char(':')); }

    Order generate(QRandomGenerator& r) {
        Order o;
        o.client = r.bounded(clientPrices.size());
        o.courier = r.bounded(courierRates.size());
        const int d = someMinute(r, 0);
        const int s = someMinute(r, d);
        const int e = someMinute(r, s);
        o.basis = Order::Basis(r.bounded(4));
        const bool withDeparture = o.basis == Order::Departure || r.bounded(2);
        const bool withStart = o.basis != Order::Departure || r.bounded(2);
        o.departure = withDeparture ? typedTime(d) : QString();
        o.start = withStart ? typedTime(s) : QString();
        o.end = typedTime(e);
        if (o.basis == Order::FixedValue)
            o.fixedValue = typedMoney(r, 3000);
        if (r.bounded(3))
            o.insurance = typedMoney(r, r.bounded(5) ? 50 : 1500);
        if (r.bounded(3))
            o.fee = typedMoney(r, r.bounded(5) ? 30 : 1500);
        if (r.bounded(4) == 0)
            o.courierPay = typedMoney(r, 400);
        o.payment = r.bounded(3);
        return o;
    }

    // The start the rules take: the chosen basis; at recording, the
    // departure when it was typed.
    static QString basisStart(const Order& o) {
        switch (o.basis) {
            case Order::Departure:
                return o.departure;
            case Order::Start:
            case Order::FixedValue:
                return o.start;
            case Order::AtRecording:
                return o.departure.isEmpty() ? o.start : o.departure;
        }
        return QString();
    }

    void typeOrder(const Order& o) {
        click(os->Btn_Novo);
        type(os->Edcodcli, QString::number(o.client + 1));
        type(os->Edhora1, o.departure);
        type(os->Edhora2, o.start);
        type(os->Edhora3, o.end);
        if (o.basis == Order::Departure)
            click(os->Rbhora1);
        else if (o.basis == Order::Start)
            click(os->Rbhora2);
        else if (o.basis == Order::FixedValue) {
            click(os->Rbvalor);
            type(os->Edvalor, o.fixedValue);
        }
        if (!o.insurance.isEmpty())
            type(os->Edseguro, o.insurance);
        if (!o.fee.isEmpty())
            type(os->Edtaxap, o.fee);
        type(os->Edcodmot, QString::number(o.courier + 1));
        if (!o.courierPay.isEmpty()) {
            click(os->Rbvalmot);
            type(os->Edvalmot, o.courierPay);
        }
        os->Cbpag->setFocus(Qt::TabFocusReason);
        for (int i = 0; i <= o.payment; ++i)
            QTest::keyClick(os->Cbpag, Qt::Key_Down);
    }

    // A stored number's text ("37,5", "120") against an exact fraction of
    // a cent: equal to fifteen significant digits.
    static bool storedIs(const QString& stored, qint64 numerator, qint64 centsDenominator) {
        bool ok = false;
        const double v = QString(stored).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        if (!ok && !stored.isEmpty())
            return false;
        const double exact = double(numerator) / double(centsDenominator) / 100.0;
        return std::fabs(v - exact) <= 1e-13 * std::max(1.0, std::fabs(exact));
    }

private slots:
    void initTestCase() {
        // The C library in the office's locale, whatever the runner set:
        // a conversion that follows it writes and expects a decimal comma.
        QVERIFY(std::setlocale(LC_ALL, "pt_BR.UTF-8"));
        QCOMPARE(QByteArray(std::localeconv()->decimal_point), QByteArray(","));
        // Two thousand posts want a folder where a sync costs nothing.
        if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
            qputenv("TMPDIR", "/dev/shm");
        home = std::make_unique<TempHome>();
        Clock::setNow(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
        QVERIFY(startProgram(*qApp));

        QRandomGenerator r(45261211);
        for (int i = 0; i < 60; ++i) {
            clientPrices << (i < 3 ? QStringList{"35", "30,01", "1234,56"}[i] : typedMoney(r, 300));
            store("tbclientes",
                  {{"CODCLI", QStringLiteral("%1").arg(i + 1, 6, 10, QLatin1Char('0'))},
                   {"RAZAOSOCIAL", QStringLiteral("CLIENTE %1").arg(i + 1)},
                   {"VALOR", clientPrices.last()},
                   {"SITUACAO", "ATIVO"}});
        }
        for (int i = 0; i < 20; ++i) {
            courierRates << (i == 0 ? QStringLiteral("12,5") : typedMoney(r, 80));
            store("tbmotociclista",
                  {{"COD", QStringLiteral("%1").arg(i + 1, 6, 10, QLatin1Char('0'))},
                   {"NOME", QStringLiteral("MOTOBOY %1").arg(i + 1)},
                   {"VALOR", courierRates.last()},
                   {"SITUACAO", "ATIVO"}});
        }
        Quelvarino000_0->menuAction("OrdemdeServio1")->trigger();
        os = Screens::get<TQuelvarino0021_0>("Quelvarino0021_0");
        QVERIFY(os && os->isVisible());
        activate(os);
    }
    void cleanupTestCase() {
        stopProgram();
        Clock::reset();
        home.reset();
    }

    // The order the operator met: R$ 35,00 an hour, 08:10 to 10:30.
    void anHourPriceWithoutWholeCents() {
        Order o;
        o.start = "0810";
        o.end = "1030";
        click(os->Btn_Novo);
        type(os->Edcodcli, "1");
        type(os->Edhora2, o.start);
        type(os->Edhora3, o.end);
        click(os->Rbhora2);
        QCOMPARE(os->Edtotval->text(), QString("81,67"));
        type(os->Edseguro, "7,5");
        QCOMPARE(os->Edseguro->text(), QString("7,50"));
        QCOMPARE(os->Edtotval->text(), QString("89,17"));
        type(os->Edcodmot, "1");
        click(os->Btn_Gravar);
        QVERIFY2(MessageBox::shownMessages().isEmpty(), qPrintable(lastMessage()));
        QCOMPARE(os->Edtotval->text(), QString("89,17"));
    }

    void generatedOrders() {
        const int count = qEnvironmentVariableIntValue("ORDER_MODEL_COUNT") > 0
                              ? qEnvironmentVariableIntValue("ORDER_MODEL_COUNT")
                              : 2000;
        QRandomGenerator r(20261211);
        for (int n = 0; n < count; ++n) {
            const Order o = generate(r);
            MessageBox::clearShownMessages();
            typeOrder(o);
            QVERIFY2(MessageBox::shownMessages().isEmpty(), qPrintable(lastMessage()));

            // What the rules say.
            const qint64 price = o.basis == Order::FixedValue
                                     ? model::cents(o.fixedValue)
                                     : model::cents(clientPrices[o.client]);
            const qint64 rate = model::cents(courierRates[o.courier]);
            const qint64 insurance = model::cents(o.insurance), fee = model::cents(o.fee);
            const QString from = basisStart(o);
            const int s = model::minutes(from), e = model::minutes(o.end);
            const model::Bands b = model::split(s, e);
            const bool fixed = o.basis == Order::FixedValue;
            const qint64 hours120 = fixed ? 0 : model::worth120(b, price);
            // Insurance and fee go on top of the hours' value or of the
            // fixed value alike: the total recorded is the one the
            // operator saw.
            const qint64 total = (fixed ? price : model::roundedCents(hours120)) + insurance + fee;
            // Before recording the screen adds what it knows of: the hours
            // once a basis was chosen; with none chosen, only insurance
            // and fee until Gravar computes the hours.
            const qint64 shownBefore = o.basis == Order::AtRecording ? insurance + fee : total;
            const QString context =
                QStringLiteral("order %1: %2 %3-%4-%5 price %6 fixed %7 ins %8 fee %9")
                    .arg(n)
                    .arg(int(o.basis))
                    .arg(o.departure, o.start, o.end, clientPrices[o.client], o.fixedValue,
                         o.insurance, o.fee);
            QVERIFY2(os->Edtotval->text() == model::money(shownBefore),
                     qPrintable(context + " shown " + os->Edtotval->text() + " for " +
                                model::money(shownBefore) + ", price shown " + os->Edvalor->text() +
                                ", hours " + os->Edhora4->text()));

            click(os->Btn_Gravar);
            QVERIFY2(MessageBox::shownMessages().isEmpty(),
                     qPrintable(context + ": " + lastMessage()));
            QVERIFY2(os->Edtotval->text() == model::money(total),
                     qPrintable(context + " recorded shows " + os->Edtotval->text()));

            const auto rec = storedRecord("tbordem", os->Edcomanda->text());
            auto money = [&](const char* field, qint64 c) {
                QVERIFY2(storedIs(rec.value(field), c, 1),
                         qPrintable(context + " " + field + " " + rec.value(field) +
                                    " != " + model::money(c)));
            };
            auto text = [&](const char* field, const QString& expected) {
                QVERIFY2(
                    rec.value(field) == expected,
                    qPrintable(context + " " + field + " " + rec.value(field) + " != " + expected));
            };
            auto timeText = [](const QString& typed) {
                return typed.isEmpty() ? QString() : model::clock(model::minutes(typed));
            };
            text("CODCLI", QStringLiteral("%1").arg(o.client + 1, 6, 10, QLatin1Char('0')));
            text("CODMOT", QStringLiteral("%1").arg(o.courier + 1, 6, 10, QLatin1Char('0')));
            text("HORA1", timeText(o.departure));
            text("HORA2", timeText(o.start));
            text("HORA3", timeText(o.end));
            text("HORA4", model::totalHours(s, e, true));
            text("TOTHORN", model::band(b.normal));
            text("TOTHOR50", model::band(b.fifty));
            text("TOTHOR100", model::band(b.hundred));
            text("PAGAMENTO", QStringList{"À VISTA", "FATURADO", "OUTROS"}[o.payment]);
            money("VALOR", price);
            money("SEGURO", insurance);
            money("TAXAPERIM", fee);
            money("TOTVAL", total);
            const bool hours = !fixed;
            QVERIFY2(storedIs(rec.value("VALORN"), hours ? 2 * b.normal * price : 0, 120),
                     qPrintable(context + " VALORN " + rec.value("VALORN")));
            QVERIFY2(storedIs(rec.value("VALOR50"), hours ? 3 * b.fifty * price : 0, 120),
                     qPrintable(context + " VALOR50 " + rec.value("VALOR50")));
            QVERIFY2(storedIs(rec.value("VALOR100"), hours ? 4 * b.hundred * price : 0, 120),
                     qPrintable(context + " VALOR100 " + rec.value("VALOR100")));
            const bool fixedPay = !o.courierPay.isEmpty();
            money("VALMOT", fixedPay ? model::cents(o.courierPay) : 0);
            QVERIFY2(storedIs(rec.value("TOTVALMOT"),
                              fixedPay || fixed ? 0 : model::worth120(b, rate), 120),
                     qPrintable(context + " TOTVALMOT " + rec.value("TOTVALMOT")));
            if (QTest::currentTestFailed())
                return;
        }
    }
};

QUELVARINO_GUI_TEST_MAIN(TestOrderPricing)
#include "tst_orderpricing.moc"
