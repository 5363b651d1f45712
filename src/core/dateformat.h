#pragma once

#include <QDate>
#include <QString>

namespace quelvarino {

// The program only runs where the short date format writes dates as
// "dd/mm/yyyy": today's date in `shortFormat` (Qt format letters) must read
// exactly as in "dd/MM/yyyy".
bool shortDateFormatAccepted(const QDate& today, const QString& shortFormat);

}  // namespace quelvarino
