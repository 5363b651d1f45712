#include "core/money.h"

#include "core/errors.h"

#include <QRegularExpression>
#include <cmath>
#include <cstdio>

namespace quelvarino {

QString conversionNumberMessage(const QString& text) {
    return QStringLiteral("'%1' não é um valor numérico válido.").arg(text);
}

bool isNumberText(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^\\s*[-+]?(\\d+(,\\d*)?|,\\d+)\\s*$"));
    return pattern.match(text).hasMatch();
}

double parseMoney(const QString& text) {
    if (!isNumberText(text))
        throw ConversionError(conversionNumberMessage(text));
    QString plain = text.trimmed();
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok)
        throw ConversionError(conversionNumberMessage(text));
    return value;
}

double roundTo15Digits(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return std::strtod(buffer, nullptr);
}

QString numberToText(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    QString text = QString::fromLatin1(buffer);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

QString formatMoney(double value) {
    // Round on the 15 significant decimal digits, as the value is shown
    // elsewhere, so 0,125 becomes 0,13 and 1,005 becomes 1,01 instead of
    // falling to the binary value just below.
    if (!std::isfinite(value))
        return numberToText(value);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", value);  // d.dddddddddddddde±XX
    const bool negative = buffer[0] == '-';
    const char* p = buffer + (negative ? 1 : 0);
    QString digits;
    digits.append(QLatin1Char(p[0]));
    for (int i = 2; i < 16; ++i)
        digits.append(QLatin1Char(p[i]));
    const int exponent = std::atoi(p + 17);
    // value = 0.digits × 10^(exponent + 1); keep integer part and two decimals.
    int integerDigits = exponent + 1;
    if (integerDigits < 0) {
        digits = QString(-integerDigits, QLatin1Char('0')) + digits;
        integerDigits = 0;
    }
    while (digits.size() < integerDigits + 3)
        digits.append(QLatin1Char('0'));
    QString kept = digits.left(integerDigits + 2);
    const bool roundUp = digits.at(integerDigits + 2) >= QLatin1Char('5');
    if (roundUp) {
        int i = kept.size() - 1;
        while (i >= 0) {
            if (kept[i] == QLatin1Char('9')) {
                kept[i] = QLatin1Char('0');
                --i;
            } else {
                kept[i] = QChar(kept[i].unicode() + 1);
                break;
            }
        }
        if (i < 0) {
            kept.prepend(QLatin1Char('1'));
            ++integerDigits;
        }
    }
    QString integerPart = kept.left(integerDigits);
    while (integerPart.size() > 1 && integerPart.startsWith(QLatin1Char('0')))
        integerPart.remove(0, 1);
    if (integerPart.isEmpty())
        integerPart = QStringLiteral("0");
    const QString decimals = kept.mid(integerDigits, 2);
    const bool zero = integerPart == QLatin1String("0") && decimals == QLatin1String("00");
    return (negative && !zero ? QStringLiteral("-") : QString()) + integerPart + QLatin1Char(',') +
           decimals;
}

QString reformatMoney(const QString& text) {
    if (text.trimmed().isEmpty())
        return QStringLiteral("0,00");
    return formatMoney(parseMoney(text));
}

}  // namespace quelvarino
