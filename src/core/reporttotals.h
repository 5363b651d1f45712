#pragma once

#include <QString>
#include <QStringList>

namespace quelvarino {

// Totals the closing reports print, from the stored texts of their rows.

// The sum of money texts (an empty text counts 0), printed "##0.00". With
// `normaliseEach` every value is first rounded as it is printed ("##0.00"),
// as the totalizer adds them.
QString moneyTotal(const QStringList& values, bool normaliseEach = false);
double moneySum(const QStringList& values, bool normaliseEach = false);

// The same sum built one value at a time, for rows that are read once.
class MoneySum {
public:
    explicit MoneySum(bool normaliseEach = false) : normalise_(normaliseEach) {}
    void add(const QString& value);
    double value() const;
    QString text() const;  // "##0.00"

private:
    bool normalise_;
    long double sum_ = 0;  // extended precision: a long column does not drift
};

// TOTAL GERAL DE HORAS of the cash closing by client: the hours and the
// minutes of every "hh:mm" summed apart, the minutes carried into hours at
// the end, each printed with the pattern "##" (nothing for zero): 01:40 and
// 02:30 give "4:10", exactly twelve hours "12:".
QString clientClosingHours(const QStringList& totalTimes);

// The same total built one time at a time.
class ClosingHours {
public:
    void add(const QString& totalTime);
    QString text() const;

private:
    long long hours_ = 0;
    long long minutes_ = 0;
};

}  // namespace quelvarino
