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

// Hours of the courier reports and the order listing, "hhh:mm": whole
// hours with at least three digits, minutes with two. The hours and the
// minutes of every time are summed apart and joined at the end, in whole
// minutes (no fraction of a minute ever arises).
class BandHours {
public:
    // "hh:mm" or "hhh:mm"; "0", empty or blank parts count 0.
    void add(const QString& time);
    long long totalMinutes() const { return hours_ * 60 + minutes_; }
    QString text() const;

private:
    long long hours_ = 0;
    long long minutes_ = 0;
};

// "hhh:mm" of a number of minutes (more than 999 hours print whole).
QString hoursText(long long minutes);

// The totals of the courier closing and the courier hours listing.
struct CourierTotals {
    QString rate;  // the courier's VALOR, "##0.00"
    QString hoursNormal, hours50, hours100;
    QString valueNormal, value50, value100;
    QString fixed, expenses, toReceive;
};

class CourierTotalizer {
public:
    explicit CourierTotalizer(const QString& hourlyRate);
    // One order: with a fixed courier value (VALMOT not 0,00) the value
    // counts and its hours do not; otherwise its three band totals count.
    void addOrder(const QString& totHorN,
                  const QString& totHor50,
                  const QString& totHor100,
                  const QString& valMot);
    // One expense entry of the period.
    void addExpense(const QString& value);
    // Each band is worth its minutes at the rate per minute times 1, 1.5
    // or 2, rounded to cents as printed; TOTAL A RECEBER is the printed
    // values plus the fixed values less the expenses.
    CourierTotals totals() const;

private:
    double rate_;
    BandHours normal_, fifty_, hundred_;
    MoneySum fixed_{true};
    MoneySum expenses_{true};
};

// TOTAL LIQUIDO A RECEBER of a salaried courier: the salary less the
// expenses, "##0.00".
QString salariedNet(const QString& salary, const QString& expensesTotal);

}  // namespace quelvarino
