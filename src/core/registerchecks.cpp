#include "core/registerchecks.h"

#include <algorithm>
#include <limits>

#include "core/dates.h"
#include "core/errors.h"
#include "core/money.h"

#include <optional>

namespace quelvarino {
namespace {

// A text read as an integer the way the old runtime read it: leading
// blanks allowed, then an optional sign and digits only.
std::optional<long long> toInteger(const QString& text) {
    int i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    const QString rest = text.mid(i);
    if (rest.isEmpty())
        return std::nullopt;
    int j = 0;
    if (rest[0] == QLatin1Char('-') || rest[0] == QLatin1Char('+'))
        j = 1;
    if (j >= rest.size())
        return std::nullopt;
    for (int k = j; k < rest.size(); ++k) {
        if (!rest[k].isDigit() || rest[k].unicode() > '9')
            return std::nullopt;
    }
    bool ok = false;
    const long long n = rest.toLongLong(&ok);
    return ok ? std::optional<long long>(n) : std::nullopt;
}

struct Stop {};  // a conversion failed: the check ends

long long number(const QString& part) {
    const auto n = toInteger(part);
    if (!n)
        throw Stop{};
    return *n;
}

QString digitsAt(const QString& text, const QList<int>& positions) {
    QString out;
    for (int p : positions)
        out.append(text.at(p - 1));
    return out;
}

int checkDigit(const QString& digits, const QList<int>& weights) {
    int sum = 0;
    for (int i = 0; i < weights.size(); ++i)
        sum += (digits[i].unicode() - '0') * weights[i];
    const int rest = sum % 11;
    return rest < 2 ? 0 : 11 - rest;
}

bool allDigits(const QString& s) {
    for (const QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

}  // namespace

DateCheck checkDateText(const QString& text) {
    DateCheck result;
    const QString day = text.mid(0, 2);
    const QString month = text.mid(3, 2);
    const QString year = text.mid(6, 4);
    auto info = [&](const char* t) {
        result.messages.append({DateCheckMessage::Information, QString::fromUtf8(t)});
    };
    auto warn = [&](const char* t) {
        result.messages.append({DateCheckMessage::Warning, QString::fromUtf8(t)});
    };
    try {
        // "dd/mm/aaaa" and nothing else: a date field holds ten characters
        if (text.size() != 10 || text.at(2) != QLatin1Char('/') || text.at(5) != QLatin1Char('/'))
            throw Stop{};
        bool error = false;
        if ((month == QLatin1String("04") || month == QLatin1String("06") ||
             month == QLatin1String("09") || month == QLatin1String("11")) &&
            day == QLatin1String("31")) {
            info("Dia incorreto, pois neste mês não tem dia 31");
            error = true;
        }
        if (number(month) == 2) {
            if (number(day) > 28 && number(year) % 4 != 0) {
                if (day == QLatin1String("29") || day == QLatin1String("30") ||
                    day == QLatin1String("31")) {
                    info("Dia incorreto, pois neste mês não tem dia 29, 30 ou 31");
                    error = true;
                }
            } else if (number(day) > 28 && number(year) % 4 == 0) {
                if (day == QLatin1String("30") || day == QLatin1String("31")) {
                    info("Dia incorreto, pois neste mês não tem dia 30 ou 31");
                    error = true;
                }
            }
        }
        if (!error && text != QLatin1String("  /  /    ")) {
            const long long d = number(day);
            if (d < 1 || d > 31)
                warn("Dia incorreto!");
            const long long m = number(month);
            if (m < 1 || m > 12)
                warn("Mês incorreto!");
            if (year.size() < 4 || year.contains(QLatin1Char(' ')))
                warn("Ano incorreto!");
        }
    } catch (const Stop&) {
        result.messages.append({DateCheckMessage::ConversionError, conversionDateMessage(text)});
    }
    return result;
}

bool isValidCnpj(const QString& text) {
    QString digits;
    if (text.size() == 18 && text[2] == QLatin1Char('.') && text[6] == QLatin1Char('.') &&
        text[10] == QLatin1Char('/') && text[15] == QLatin1Char('-'))
        digits = digitsAt(text, {1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 15, 17, 18});
    else if (text.size() == 14)
        digits = text;
    else
        return false;
    if (!allDigits(digits))
        return false;
    const int d1 = checkDigit(digits, {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2});
    const int d2 = checkDigit(digits, {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2});
    return d1 == digits[12].unicode() - '0' && d2 == digits[13].unicode() - '0';
}

bool isValidCpf(const QString& text) {
    QString digits;
    if (text.size() == 14 && text[3] == QLatin1Char('.') && text[7] == QLatin1Char('.') &&
        text[11] == QLatin1Char('-'))
        digits = digitsAt(text, {1, 2, 3, 5, 6, 7, 9, 10, 11, 13, 14});
    else if (text.size() == 11)
        digits = text;
    else
        return false;
    if (!allDigits(digits))
        return false;
    const int d1 = checkDigit(digits, {10, 9, 8, 7, 6, 5, 4, 3, 2});
    const int d2 = checkDigit(digits, {11, 10, 9, 8, 7, 6, 5, 4, 3, 2});
    return d1 == digits[9].unicode() - '0' && d2 == digits[10].unicode() - '0';
}

QString nextCode(const QString& lastCode, int width) {
    if (lastCode.trimmed().isEmpty())
        return QString(width - 1, QLatin1Char('0')) + QLatin1Char('1');
    const auto n = toInteger(lastCode);
    QString digits = lastCode.trimmed();
    if (digits.startsWith(QLatin1Char('+')))
        digits.remove(0, 1);
    const bool plain = !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    QString text;
    if (plain) {
        // Codes are texts of fixed width: counted on the text, any length
        // (no integer to overflow).
        int i = int(digits.size()) - 1;
        while (i >= 0 && digits[i] == QLatin1Char('9'))
            digits[i--] = QLatin1Char('0');
        if (i < 0)
            digits.prepend(QLatin1Char('1'));
        else
            digits[i] = QChar(digits[i].unicode() + 1);
        int zeros = 0;
        while (zeros < digits.size() - 1 && digits[zeros] == QLatin1Char('0'))
            ++zeros;
        text = digits.mid(zeros);
    } else {
        if (!n || *n == std::numeric_limits<long long>::max())
            throw ConversionError(conversionNumberMessage(lastCode));
        if (*n < 0)
            throw ConversionError(QStringLiteral("O último código gravado, '%1', é negativo: os "
                                                 "códigos são números a partir de 1. Corrija-o "
                                                 "no cadastro.")
                                      .arg(lastCode.trimmed()));
        text = QString::number(*n + 1);
    }
    return text.size() >= width ? text : QString(width - text.size(), QLatin1Char('0')) + text;
}

}  // namespace quelvarino
