#pragma once

#include <QString>
#include <optional>

namespace quelvarino {

// Hours and values of a service order, computed from the order screen's
// texts and check-box states only.
//
// Arithmetic is floating point as the operators have always seen it: every
// intermediate result goes through a 15-significant-digit decimal text and
// back (roundTo15Digits), and money is rounded to cents only where it is
// shown "##0.00". Band values are kept unrounded ("37,5").

// Minutes of the day of "hh:mm" ("24:00" is 1440); a pair of blanks counts
// as "00". Throws ConversionError for a pair that is no number and for a
// time no clock shows ("25:00", "10:60").
int minutesOfDay(const QString& hhmm);

// What is said of an order whose end lies before its start.
QString endBeforeStartMessage(const QString& start, const QString& end);

bool isBlankTime(const QString& hhmm);  // "  :  " or empty

// The order's total hours from start to end, "hh:mm", at least "02:00" when
// `applyMinimum` is set. Throws ConversionError when the end lies before
// the start (orders never cross midnight).
QString totalHours(const QString& start, const QString& end, bool applyMinimum = true);

// The job's minutes split into the normal band (before 18:00), the 50 % band (18:00 to
// 22:00) and the 100 % band (after 22:00). The two-hour minimum lengthens
// the job at its end.
struct Bands {
    int normal = 0;
    int fifty = 0;
    int hundred = 0;
};
Bands splitBands(const QString& start, const QString& end);

// A band's minutes as the hours column shows them, "HHH:MM" (one and a half hours is "001:30").
QString bandText(int minutes);

// What the three bands' hours are worth at an hour price: the client's
// (the order's rate) or the courier's (the courier's rate).
struct BandValues {
    double normal = 0;
    double fifty = 0;
    double hundred = 0;
};
BandValues bandValues(const QString& normalText,
                      const QString& fiftyText,
                      const QString& hundredText,
                      double hourPrice);

// The part of the order screen these computations read and write.
struct OrderHoursScreen {
    QString hora1 = QStringLiteral("  :  ");    // Edhora1, departure
    QString hora2 = QStringLiteral("  :  ");    // Edhora2, start
    QString hora3 = QStringLiteral("  :  ");    // Edhora3, end
    QString hora4 = QStringLiteral("  :  ");    // Edhora4, total hours
    bool rbHora1 = false;                       // start basis: departure
    bool rbHora2 = false;                       // start basis: start time
    bool rbValor = false;                       // fixed-value mode
    bool rbValmot = false;                      // fixed courier pay
    QString valor = QStringLiteral("0,00");     // Edvalor
    QString seguro = QStringLiteral("0,00");    // Edseguro
    QString taxap = QStringLiteral("0,00");     // Edtaxap
    QString totval = QStringLiteral("0,00");    // Edtotval
    QString valmot = QStringLiteral("0,00");    // Edvalmot
    QString lbTotval = QStringLiteral("0,00");  // hidden hours value
    bool valorEnabled = false;                  // Edvalor editable (regular font)
    bool valmotEnabled = false;                 // Edvalmot editable (regular font)

    bool operator==(const OrderHoursScreen&) const = default;
};

// A step's outcome: the new screen and, when the step refuses, the message
// to show (OK button, question-mark icon).
struct OrderStep {
    OrderHoursScreen screen;
    QString message;
};

// Rbhora1Click / Rbhora2Click: `s` already has the clicked button checked.
OrderStep selectStartBasis(const OrderHoursScreen& s);
// RbvalorClick and RbvalmotClick with the new state of the check box.
OrderHoursScreen setFixedValueMode(const OrderHoursScreen& s, bool checked);
OrderHoursScreen setFixedCourierPay(const OrderHoursScreen& s, bool checked);
// Leaving the money fields.
OrderHoursScreen leaveValor(const OrderHoursScreen& s);
OrderHoursScreen leaveSeguro(const OrderHoursScreen& s);
OrderHoursScreen leaveTaxap(const OrderHoursScreen& s);
OrderHoursScreen leaveValmot(const OrderHoursScreen& s);

// What recording writes besides the screen's own texts.
struct OrderRecordValues {
    QString totHorN = QStringLiteral("000:00");
    QString totHor50 = QStringLiteral("000:00");
    QString totHor100 = QStringLiteral("000:00");
    QString valorN = QStringLiteral("0,00");
    QString valor50 = QStringLiteral("0,00");
    QString valor100 = QStringLiteral("0,00");
    QString valMot = QStringLiteral("0,00");     // fixed courier pay
    QString totValMot = QStringLiteral("0,00");  // courier pay by hours
};

struct OrderRecomputation {
    OrderHoursScreen screen;
    OrderRecordValues values;
};

// True when the end time lies before a filled departure or start time: an
// order never crosses midnight, and such an order cannot be recorded.
bool endsBeforeItStarts(const OrderHoursScreen& s);

// The recomputation at recording. `courierRate` is the VALOR text of the
// courier whose code equals the screen's exactly, or nothing when there is
// no such courier (the lookup belongs to the caller).
OrderRecomputation recomputeForRecording(const OrderHoursScreen& s,
                                         const std::optional<QString>& courierRate);

}  // namespace quelvarino
