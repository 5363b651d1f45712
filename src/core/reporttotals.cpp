#include "core/reporttotals.h"

#include "core/money.h"

namespace quelvarino {
namespace {

double valueOf(const QString& text, bool normalise) {
    if (text.trimmed().isEmpty())
        return 0.0;
    const double v = parseMoney(text);
    return normalise ? parseMoney(formatMoney(v)) : v;
}

int partOf(const QString& text, int from) {
    const QString part = text.mid(from, 2).trimmed();
    bool ok = false;
    const int n = part.toInt(&ok);
    return ok ? n : 0;
}

QString hashes(long long n) {
    return n == 0 ? QString() : QString::number(n);
}

}  // namespace

void MoneySum::add(const QString& value) {
    sum_ += valueOf(value, normalise_);
}

double MoneySum::value() const {
    return roundTo15Digits(static_cast<double>(sum_));
}

QString MoneySum::text() const {
    return formatMoney(value());
}

double moneySum(const QStringList& values, bool normaliseEach) {
    MoneySum sum(normaliseEach);
    for (const QString& v : values)
        sum.add(v);
    return sum.value();
}

QString moneyTotal(const QStringList& values, bool normaliseEach) {
    return formatMoney(moneySum(values, normaliseEach));
}

void ClosingHours::add(const QString& t) {
    if (t.trimmed().isEmpty())
        return;
    hours_ += partOf(t, 0);
    minutes_ += partOf(t, 3);
}

QString ClosingHours::text() const {
    // Minutes carried into hours only at the end.
    return hashes(hours_ + minutes_ / 60) + QLatin1Char(':') + hashes(minutes_ % 60);
}

QString clientClosingHours(const QStringList& totalTimes) {
    ClosingHours total;
    for (const QString& t : totalTimes)
        total.add(t);
    return total.text();
}

namespace {

// A number of digits, or 0 for anything else (blanks, a mask).
long long digitsOf(const QString& text) {
    bool ok = false;
    const long long n = text.trimmed().toLongLong(&ok);
    return ok && n >= 0 ? n : 0;
}

double moneyOf(const QString& text) {
    return text.trimmed().isEmpty() || !isNumberText(text.trimmed()) ? 0.0
                                                                     : parseMoney(text.trimmed());
}

double cents(double value) {
    return parseMoney(formatMoney(value));
}

}  // namespace

void BandHours::add(const QString& t) {
    const QString time = t.trimmed() == QLatin1String("0") ? QStringLiteral("000:00") : t;
    const int colon = int(time.indexOf(QLatin1Char(':')));
    if (colon < 0)
        return;
    // "hh:mm" or "hhh:mm" (and more hours, should a total ever grow so).
    hours_ += digitsOf(time.left(colon));
    minutes_ += digitsOf(time.mid(colon + 1, 2));
}

QString BandHours::text() const {
    return hoursText(totalMinutes());
}

QString hoursText(long long minutes) {
    return QStringLiteral("%1:%2")
        .arg(minutes / 60, 3, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

CourierTotalizer::CourierTotalizer(const QString& hourlyRate) : rate_(moneyOf(hourlyRate)) {}

void CourierTotalizer::addOrder(const QString& totHorN,
                                const QString& totHor50,
                                const QString& totHor100,
                                const QString& valMot) {
    const double fixed = moneyOf(valMot);
    if (formatMoney(fixed) != QLatin1String("0,00")) {
        fixed_.add(formatMoney(fixed));
        return;
    }
    normal_.add(totHorN);
    fifty_.add(totHor50);
    hundred_.add(totHor100);
}

void CourierTotalizer::addExpense(const QString& value) {
    expenses_.add(formatMoney(moneyOf(value)));
}

CourierTotals CourierTotalizer::totals() const {
    CourierTotals t;
    t.rate = formatMoney(rate_);
    const double perMinute = rate_ / 60.0;
    auto worth = [perMinute](const BandHours& h, double factor) {
        return cents(roundTo15Digits(double(h.totalMinutes()) * factor * perMinute));
    };
    const double vn = worth(normal_, 1.0);
    const double v50 = worth(fifty_, 1.5);
    const double v100 = worth(hundred_, 2.0);
    t.hoursNormal = normal_.text();
    t.hours50 = fifty_.text();
    t.hours100 = hundred_.text();
    t.valueNormal = formatMoney(vn);
    t.value50 = formatMoney(v50);
    t.value100 = formatMoney(v100);
    t.fixed = fixed_.text();
    t.expenses = expenses_.text();
    MoneySum total(true);
    for (const QString& v : {t.valueNormal, t.value50, t.value100, t.fixed})
        total.add(v);
    t.toReceive = formatMoney(roundTo15Digits(total.value() - expenses_.value()));
    return t;
}

QString salariedNet(const QString& salary, const QString& expensesTotal) {
    return formatMoney(roundTo15Digits(cents(moneyOf(salary)) - cents(moneyOf(expensesTotal))));
}

}  // namespace quelvarino
