#include "core/money.h"

#include "core/errors.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>

namespace quelvarino {

QString conversionNumberMessage(const QString& text) {
    return QStringLiteral("'%1' não é um valor numérico válido.").arg(text);
}

// Optional blanks, an optional sign, digits with an optional decimal comma
// (",5" and "5," too, not "," alone), optional blanks.
bool isNumberText(const QString& text) {
    auto blank = [](QChar c) {
        const char16_t u = c.unicode();
        return u == ' ' || u == '\t' || u == '\n' || u == '\v' || u == '\f' || u == '\r';
    };
    auto digit = [](QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; };
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && blank(text[i]))
        ++i;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    int digits = 0;
    while (i < n && digit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == QLatin1Char(',')) {
        ++i;
        while (i < n && digit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    while (i < n && blank(text[i]))
        ++i;
    return i == n;
}

namespace {

// "12,5", "-3", ",25": digits with at most one comma and no blanks, 15
// digits at most. Such a text is converted exactly as strtod would: both
// the digits and the power of ten are exact doubles, and one division
// rounds correctly.
bool plainDecimal(const QString& text, double* value) {
    const qsizetype n = text.size();
    if (n == 0 || n > 17)
        return false;
    qsizetype i = 0;
    const bool negative = text[0] == QLatin1Char('-');
    if (negative || text[0] == QLatin1Char('+'))
        ++i;
    long long digits = 0;
    int count = 0, decimals = -1;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == ',') {
            if (decimals >= 0)
                return false;
            decimals = 0;
        } else if (c >= '0' && c <= '9') {
            digits = digits * 10 + (c - '0');
            ++count;
            if (decimals >= 0)
                ++decimals;
        } else {
            return false;
        }
    }
    if (count == 0 || count > 15)
        return false;
    static const double powers[] = {1,   1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                    1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double v = double(digits) / powers[decimals < 0 ? 0 : decimals];
    *value = negative ? -v : v;
    return true;
}

}  // namespace

double parseMoney(const QString& text) {
    double fast = 0;
    if (plainDecimal(text, &fast))
        return fast;
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

namespace {

// The C library's printf and strtod follow LC_NUMERIC, which QApplication
// takes from the workstation: under pt_BR they write and expect a decimal
// comma. to_chars and from_chars always use the point, whatever the locale.
QByteArray decimalText(double value, std::chars_format format, int precision) {
    char buffer[96];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return QByteArray(buffer, result.ec == std::errc() ? int(result.ptr - buffer) : 0);
}

}  // namespace

double roundTo15Digits(double value) {
    if (!std::isfinite(value))
        return value;
    const QByteArray text = decimalText(value, std::chars_format::general, 15);
    double back = value;
    std::from_chars(text.constData(), text.constData() + text.size(), back);
    return back;
}

namespace {

// A value that is a whole number of cents (within a hair of binary
// representation) and small enough that 15 significant digits hold its
// cents exactly: printed from the integer, without going through printf.
bool wholeCents(double value, long long* cents) {
    if (!(std::fabs(value) < 1e12))
        return false;
    const double scaled = value * 100.0;
    const long long c = std::llround(scaled);
    if (std::fabs(scaled - double(c)) > 1e-6)
        return false;
    *cents = c;
    return true;
}

QString centsText(long long cents, bool keepZeros) {
    const bool negative = cents < 0;
    const unsigned long long a = negative ? 0ULL - (unsigned long long)cents : cents;
    QString out = QString::number(a / 100);
    const int rest = int(a % 100);
    if (keepZeros || rest != 0) {
        out += QLatin1Char(',');
        out += QLatin1Char(char('0' + rest / 10));
        if (keepZeros || rest % 10 != 0)
            out += QLatin1Char(char('0' + rest % 10));
    }
    if (negative && a != 0)
        out.prepend(QLatin1Char('-'));
    return out;
}

}  // namespace

QString numberToText(double value) {
    long long cents = 0;
    if (wholeCents(value, &cents))
        return centsText(cents, false);
    QString text = QString::fromLatin1(decimalText(value, std::chars_format::general, 15));
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
    if (std::fabs(value) >= kLargestMoney + 0.005)
        throw ConversionError(
            QStringLiteral("O valor %1 é grande demais: o sistema trabalha com valores de até "
                           "9999999999999,99.")
                .arg(numberToText(value)));
    long long cents = 0;
    if (wholeCents(value, &cents))
        return centsText(cents, true);
    // d.dddddddddddddde±XX; fifteen digits of a value above ten thousand
    // million reach into its fourth decimal: rounding there and again at the
    // cents would be off by more than half a cent, so its exact digits are
    // rounded once instead.
    const QByteArray buffer =
        decimalText(value, std::chars_format::scientific, std::fabs(value) < 1e10 ? 14 : 40);
    const qsizetype e = buffer.indexOf('e');
    if (e < 0)
        return numberToText(value);
    const bool negative = buffer.startsWith('-');
    QString digits;
    for (qsizetype c = negative ? 1 : 0; c < e; ++c)
        if (buffer[c] >= '0' && buffer[c] <= '9')
            digits.append(QLatin1Char(buffer[c]));
    const int exponent = buffer.mid(e + 1).toInt();
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
