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

}  // namespace quelvarino
