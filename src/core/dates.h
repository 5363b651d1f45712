#pragma once

#include <QDate>
#include <QString>

namespace quelvarino {

// "dd/mm/yyyy" texts. Day and month may have one digit or a blank in place of
// a digit, as the date mask lets the operator leave them.
// Throws ConversionError naming the text when it is no valid date (also for
// the blank mask text "  /  /    ").
QDate parseDate(const QString& text);

// Blank: empty text or only the mask's literals and blanks ("  /  /    ").
bool isBlankDateText(const QString& text);

QString formatDate(const QDate& date);  // "dd/mm/yyyy"
// "yyyy-mm-dd", as dates are stored.
QString isoDate(const QDate& date);

QString conversionDateMessage(const QString& text);

}  // namespace quelvarino
