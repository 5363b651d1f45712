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

// TOTAL GERAL DE HORAS of the cash closing by client: the hours and the
// minutes of every "hh:mm" summed apart, the minutes carried into hours at
// the end, each printed with the pattern "##" (nothing for zero): 01:40 and
// 02:30 give "4:10", exactly twelve hours "12:".
QString clientClosingHours(const QStringList& totalTimes);

}  // namespace quelvarino
