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

double moneySum(const QStringList& values, bool normaliseEach) {
    // Summed in extended precision, so a long column does not drift.
    long double sum = 0;
    for (const QString& v : values)
        sum += valueOf(v, normaliseEach);
    return roundTo15Digits(static_cast<double>(sum));
}

QString moneyTotal(const QStringList& values, bool normaliseEach) {
    return formatMoney(moneySum(values, normaliseEach));
}

QString clientClosingHours(const QStringList& totalTimes) {
    long long hours = 0;
    long long minutes = 0;
    for (const QString& t : totalTimes) {
        if (t.trimmed().isEmpty())
            continue;
        hours += partOf(t, 0);
        minutes += partOf(t, 3);
    }
    hours += minutes / 60;
    minutes %= 60;
    return hashes(hours) + QLatin1Char(':') + hashes(minutes);
}

}  // namespace quelvarino
