#include "core/dates.h"

#include "core/errors.h"

#include <QStringList>

namespace quelvarino {

QString conversionDateMessage(const QString& text) {
    return QStringLiteral("'%1' não é uma data válida.").arg(text);
}

bool isBlankDateText(const QString& text) {
    for (const QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('/'))
            return false;
    }
    return true;
}

QDate parseDate(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() != 3)
        throw ConversionError(conversionDateMessage(text));
    int numbers[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const QString part = QString(parts[i]).remove(QLatin1Char(' '));
        if (part.isEmpty() || part.size() > 4)
            throw ConversionError(conversionDateMessage(text));
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                throw ConversionError(conversionDateMessage(text));
        }
        numbers[i] = part.toInt();
        if (i < 2 && part.size() > 2)
            throw ConversionError(conversionDateMessage(text));
        if (i == 2 && part.size() != 4)
            throw ConversionError(conversionDateMessage(text));
    }
    const QDate date(numbers[2], numbers[1], numbers[0]);
    if (!date.isValid() || numbers[2] < 1)
        throw ConversionError(conversionDateMessage(text));
    return date;
}

namespace {

void putDigits(QString& out, int at, int value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        out[at + i] = QLatin1Char(char('0' + value % 10));
        value /= 10;
    }
}

}  // namespace

QString formatDate(const QDate& date) {
    if (!date.isValid())
        return QString();
    if (date.year() < 1 || date.year() > 9999)
        return date.toString(QStringLiteral("dd/MM/yyyy"));
    QString out(10, QLatin1Char('/'));
    putDigits(out, 0, date.day(), 2);
    putDigits(out, 3, date.month(), 2);
    putDigits(out, 6, date.year(), 4);
    return out;
}

QString isoDate(const QDate& date) {
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

}  // namespace quelvarino
