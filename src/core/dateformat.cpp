#include "core/dateformat.h"

#include <QLocale>

namespace quelvarino {

bool shortDateFormatAccepted(const QDate& today, const QString& shortFormat) {
    const QLocale c = QLocale::c();
    return c.toString(today, shortFormat) == c.toString(today, QStringLiteral("dd/MM/yyyy"));
}

}  // namespace quelvarino
