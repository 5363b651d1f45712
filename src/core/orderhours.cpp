#include "core/orderhours.h"

#include "core/errors.h"
#include "core/money.h"

#include <cmath>

namespace quelvarino {
namespace {

constexpr int kEvening = 1080;  // 18:00
constexpr int kNight = 1320;    // 22:00
constexpr int kMinimum = 120;   // two hours

double r15(double v) {
    return roundTo15Digits(v);
}

// The order's total: the perimeter fee on top of the value and the
// insurance, each sum rounded as the screen rounds it.
double orderTotal(double value, double insurance, double fee) {
    return r15(fee + r15(value + insurance));
}

int pairValue(const QString& text, int from, int length, const QString& whole) {
    const QString pair = text.mid(from, length).trimmed();
    if (pair.isEmpty())
        return 0;
    bool ok = false;
    const int n = pair.toInt(&ok);
    if (!ok || n < 0)
        throw ConversionError(conversionNumberMessage(whole.mid(from, length)));
    return n;
}

// An empty money field counts as zero in the sums; anything else must be a
// number.
double amount(const QString& text) {
    return text.trimmed().isEmpty() ? 0.0 : parseMoney(text);
}

QString twoDigits(long long n) {
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

}  // namespace

bool isBlankTime(const QString& hhmm) {
    QString t = hhmm;
    t.remove(QLatin1Char(':'));
    return t.trimmed().isEmpty();
}

int minutesOfDay(const QString& hhmm) {
    const int hours = pairValue(hhmm, 0, 2, hhmm);
    const int minutes = pairValue(hhmm, 3, 2, hhmm);
    // the clock's hours only: 00:00 to 24:00
    if (hours > 24 || minutes > 59 || (hours == 24 && minutes > 0) ||
        (hhmm.size() > 2 && hhmm.at(2) != QLatin1Char(':')) || hhmm.size() > 5)
        throw ConversionError(
            QStringLiteral("'%1' não é um horário válido (de 00:00 a 24:00).").arg(hhmm));
    return hours * 60 + minutes;
}

QString endBeforeStartMessage(const QString& start, const QString& end) {
    return QStringLiteral(
               "O horário final (%1) é anterior ao inicial (%2): uma ordem de serviço "
               "não passa da meia-noite.")
        .arg(end, start);
}

QString totalHours(const QString& start, const QString& end, bool applyMinimum) {
    if (minutesOfDay(end) < minutesOfDay(start))
        throw ConversionError(endBeforeStartMessage(start, end));
    const long long d = static_cast<long long>(minutesOfDay(end)) * 60 -
                        static_cast<long long>(minutesOfDay(start)) * 60;
    long long h = d / 3600;  // truncates toward zero
    double m = r15(r15(static_cast<double>(d) / 3600.0 - static_cast<double>(h)) * 60.0);
    if (applyMinimum && h < 2) {
        h = 2;
        m = 0;
    }
    return twoDigits(h) + QLatin1Char(':') + twoDigits(std::llround(m));
}

Bands splitBands(const QString& start, const QString& end) {
    const int a = minutesOfDay(start);
    int b = minutesOfDay(end);
    if (b - a < kMinimum)
        b = a + kMinimum;
    const int n = kEvening - a;
    Bands r;
    if (b <= kEvening) {
        r.normal = b - a;
        if (r.normal > 0 && r.normal < kMinimum)
            r.normal = kMinimum;
    } else if (n >= 0) {
        if (b >= kNight) {
            r.hundred = b - kNight;
            r.fifty = (b - kEvening) - r.hundred;
            r.normal = n;
        } else {
            r.fifty = b - kEvening;
            r.normal = n;
            if (r.normal + r.fifty > 0 && r.normal + r.fifty < kMinimum) {
                r.normal = 60;
                r.fifty = 60;
            }
        }
    } else if (b >= kNight && a >= kNight) {
        r.hundred = b - a;
        if (r.hundred > 0 && r.hundred < kMinimum)
            r.hundred = kMinimum;
    } else if (b >= kNight) {
        r.hundred = b - kNight;
        r.fifty = n + 240;
        if (r.fifty + r.hundred > 0 && r.fifty + r.hundred < kMinimum) {
            r.fifty = 60;
            r.hundred = 60;
        }
    } else {
        r.fifty = b - a;
        if (r.fifty > 0 && r.fifty < kMinimum)
            r.fifty = kMinimum;
    }
    return r;
}

QString bandText(int minutes) {
    const int hours = minutes / 60;
    const double m = r15(r15(minutes / 60.0 - hours) * 60.0);
    return QString::number(hours).rightJustified(3, QLatin1Char('0')) + QLatin1Char(':') +
           twoDigits(std::llround(m));
}

BandValues bandValues(const QString& normalText,
                      const QString& fiftyText,
                      const QString& hundredText,
                      double hourPrice) {
    auto minutes = [](const QString& text) {
        if (text.size() > 2 && text.at(2) == QLatin1Char(':'))
            return pairValue(text, 0, 2, text) * 60 + pairValue(text, 3, 2, text);
        return pairValue(text, 0, 3, text) * 60 + pairValue(text, 4, 2, text);
    };
    // Minutes × factor × price / 60 with a single rounding. A sixtieth of
    // the price rounded first (2,38333333333333 for 143,00) takes a tie
    // such as 489,775 below the half cent and the order a cent short. The
    // price in whole cents and the minutes in halves are exact integers,
    // so their product over 12000 is the exact value, rounded once.
    const double scaled = hourPrice * 100.0;
    const double cents = std::round(scaled);
    const bool wholeCents = std::fabs(scaled - cents) < 1e-6;
    auto value = [&](int bandMinutes, int halves) {
        const double product = double(bandMinutes) * halves * cents;
        if (wholeCents && std::fabs(product) < 9e15)
            return r15(product / 12000.0);
        return r15(r15(bandMinutes * (halves / 2.0)) * hourPrice / 60.0);
    };
    BandValues v;
    v.normal = value(minutes(normalText), 2);
    v.fifty = value(minutes(fiftyText), 3);
    v.hundred = value(minutes(hundredText), 4);
    return v;
}

OrderHoursScreen setFixedValueMode(const OrderHoursScreen& s, bool checked) {
    OrderHoursScreen r = s;
    r.rbValor = checked;
    r.rbHora1 = false;
    r.rbHora2 = false;
    if (checked) {
        r.valorEnabled = true;
        r.totval = r.valor;  // copied unchanged
    } else {
        r.valorEnabled = false;
    }
    return r;
}

OrderHoursScreen setFixedCourierPay(const OrderHoursScreen& s, bool checked) {
    OrderHoursScreen r = s;
    r.rbValmot = checked;
    r.valmotEnabled = checked;
    return r;
}

OrderStep selectStartBasis(const OrderHoursScreen& s) {
    OrderHoursScreen r = s;
    // Leaving fixed-value mode unchecks both buttons, so this click only
    // ends that mode; a second click computes.
    if (r.rbValor)
        r = setFixedValueMode(r, false);

    auto refuse = [&r](const char* text) {
        r.rbHora1 = false;
        r.rbHora2 = false;
        return OrderStep{r, QString::fromUtf8(text)};
    };
    if (isBlankTime(r.hora3))
        return refuse("Antes de selecionar, preencha o horário final.");
    QString start;
    if (r.rbHora1) {
        if (isBlankTime(r.hora1))
            return refuse("Horário de saída e o horário final, devem ser preenchidos.");
        start = r.hora1;
    } else if (r.rbHora2) {
        if (isBlankTime(r.hora2))
            return refuse("Horário inicial e o horário final, devem ser preenchidos.");
        start = r.hora2;
    } else {
        return {r, QString()};
    }

    if (minutesOfDay(r.hora3) < minutesOfDay(start)) {
        r.rbHora1 = false;
        r.rbHora2 = false;
        return {r, endBeforeStartMessage(start, r.hora3)};
    }
    const double price = amount(r.valor);
    const double insurance = amount(r.seguro);
    const double fee = amount(r.taxap);
    const QString hours = totalHours(start, r.hora3);
    const Bands bands = splitBands(start, r.hora3);
    const BandValues v =
        bandValues(bandText(bands.normal), bandText(bands.fifty), bandText(bands.hundred), price);
    const double hoursValue = r15(v.hundred + r15(v.fifty + v.normal));
    r.hora4 = hours;
    r.lbTotval = formatMoney(hoursValue);
    r.totval = formatMoney(orderTotal(hoursValue, insurance, fee));
    r.valor = formatMoney(price);
    return {r, QString()};
}

namespace {

double baseValue(const OrderHoursScreen& s) {
    return s.rbValor ? amount(s.valor) : amount(s.lbTotval);
}

// An amount field left empty reads "0,00"; its value.
double filledAmount(QString& field) {
    if (field.trimmed().isEmpty())
        field = QStringLiteral("0,00");
    return parseMoney(field);
}

}  // namespace

OrderHoursScreen leaveValor(const OrderHoursScreen& s) {
    OrderHoursScreen r = s;
    if (r.valor.trimmed().isEmpty())
        r.valor = QStringLiteral("0,00");
    if (r.rbValor) {  // a value not chosen is not read
        const double value = parseMoney(r.valor);
        r.valor = formatMoney(value);
        r.totval = formatMoney(orderTotal(value, amount(r.seguro), amount(r.taxap)));
    }
    return r;
}

OrderHoursScreen leaveSeguro(const OrderHoursScreen& s) {
    OrderHoursScreen r = s;
    const double insurance = filledAmount(r.seguro);
    r.totval = formatMoney(orderTotal(baseValue(r), insurance, amount(r.taxap)));
    r.seguro = formatMoney(insurance);
    return r;
}

OrderHoursScreen leaveTaxap(const OrderHoursScreen& s) {
    OrderHoursScreen r = s;
    const double fee = filledAmount(r.taxap);
    const double insurance = amount(r.seguro);
    r.totval = formatMoney(orderTotal(baseValue(r), insurance, fee));
    r.taxap = formatMoney(fee);
    r.seguro = formatMoney(insurance);
    return r;
}

OrderHoursScreen leaveValmot(const OrderHoursScreen& s) {
    OrderHoursScreen r = s;
    if (!r.rbValmot || r.valmot.trimmed().isEmpty())
        r.valmot = QStringLiteral("0,00");
    else
        r.valmot = formatMoney(parseMoney(r.valmot));
    return r;
}

namespace {

// The time an order is charged from: the chosen basis when it is filled,
// else the departure time, else the start time (an order loaded from the
// search and changed has no basis chosen). Empty when there is none.
QString chargedStart(const OrderHoursScreen& s) {
    if (s.rbHora1 && !isBlankTime(s.hora1))
        return s.hora1;
    if (s.rbHora2 && !isBlankTime(s.hora2))
        return s.hora2;
    if (!isBlankTime(s.hora1))
        return s.hora1;
    if (!isBlankTime(s.hora2))
        return s.hora2;
    return QString();
}

}  // namespace

bool endsBeforeItStarts(const OrderHoursScreen& s) {
    if (isBlankTime(s.hora3))
        return false;
    const int end = minutesOfDay(s.hora3);
    for (const QString& start : {s.hora1, s.hora2}) {
        if (!isBlankTime(start) && end < minutesOfDay(start))
            return true;
    }
    return false;
}

// What is stored and printed comes from one set of times: the total hours,
// the three bands, their values and the total. Where no duration can be
// computed (a time is blank, or the end lies before the start) the order
// has no total time and no band, never a negative or garbled one.
OrderRecomputation recomputeForRecording(const OrderHoursScreen& s,
                                         const std::optional<QString>& courierRate) {
    OrderHoursScreen r = s;
    OrderRecordValues out;
    BandValues values;
    BandValues courier;
    bool computed = false;

    // A fixed-value order is timed from its start time (its departure time
    // when no start was typed).
    QString start = r.rbValor ? (!isBlankTime(r.hora2) ? r.hora2 : r.hora1) : chargedStart(r);
    const bool timed = !start.isEmpty() && !isBlankTime(start) && !isBlankTime(r.hora3) &&
                       minutesOfDay(r.hora3) >= minutesOfDay(start);
    Bands b;
    if (timed) {
        r.hora4 = totalHours(start, r.hora3);
        b = splitBands(start, r.hora3);
        out.totHorN = bandText(b.normal);
        out.totHor50 = bandText(b.fifty);
        out.totHor100 = bandText(b.hundred);
    } else {
        r.hora4 = QStringLiteral("  :  ");
    }

    const double price = amount(r.valor);
    const double insurance = amount(r.seguro);
    const double fee = amount(r.taxap);
    if (r.rbValor) {
        // The total recorded is the total the operator saw: fixed value plus
        // insurance plus perimeter fee; no band is charged.
        r.lbTotval = formatMoney(price);
        r.totval = formatMoney(orderTotal(price, insurance, fee));
        r.valmot = formatMoney(amount(r.valmot));
    } else {
        if (timed) {
            values = bandValues(out.totHorN, out.totHor50, out.totHor100, price);
            if (courierRate)
                courier =
                    bandValues(out.totHorN, out.totHor50, out.totHor100, amount(*courierRate));
            computed = true;
        }
        const double sum = r15(r15(values.normal + values.fifty) + values.hundred);
        r.lbTotval = formatMoney(sum);
        r.totval = formatMoney(orderTotal(sum, insurance, fee));
    }
    r.valor = formatMoney(price);

    if (computed) {
        out.valorN = numberToText(values.normal);
        out.valor50 = numberToText(values.fifty);
        out.valor100 = numberToText(values.hundred);
    }
    for (QString* text : {&out.totHorN, &out.totHor50, &out.totHor100}) {
        if (text->isEmpty() || *text == QLatin1String("0"))
            *text = QStringLiteral("000:00");
    }
    const double courierPay = r15(r15(courier.normal + courier.fifty) + courier.hundred);
    const QString courierPayText =
        courierPay == 0 ? QStringLiteral("0,00") : numberToText(courierPay);
    if (r.rbValmot) {
        out.valMot = r.valmot.trimmed().isEmpty() ? QStringLiteral("0,00") : r.valmot;
        out.totValMot = QStringLiteral("0,00");
    } else {
        out.valMot = QStringLiteral("0,00");
        out.totValMot = courierPayText;
    }
    return {r, out};
}

}  // namespace quelvarino
