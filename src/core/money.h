#pragma once

#include <QString>

namespace quelvarino {

// Money and number texts use a decimal comma and no thousands separator.

// Converts "12,50", "12", "-3,5", ",5" to a number; throws ConversionError
// naming the text for anything else (empty text, two commas, letters).
double parseMoney(const QString& text);

// True when parseMoney would accept the text.
bool isNumberText(const QString& text);

// The largest amount the program works with: fifteen significant digits
// hold thirteen integer digits and the cents.
constexpr double kLargestMoney = 9999999999999.99;

// "##0.00": two decimals, half away from zero on the decimal digits, at least
// one integer digit ("0,75", "1234,50"). Throws ConversionError above
// kLargestMoney (a larger value would be shown with cents it does not have).
QString formatMoney(double value);

// Shortest text with up to 15 significant digits ("37,5", "120", "0,1").
QString numberToText(double value);

// The value as it comes back after being written with 15 significant digits.
double roundTo15Digits(double value);

// Convenience: "##0.00" of a money text; empty text gives "0,00".
QString reformatMoney(const QString& text);

QString conversionNumberMessage(const QString& text);

}  // namespace quelvarino
