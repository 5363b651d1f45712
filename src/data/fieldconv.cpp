#include "data/fieldconv.h"

#include "core/dates.h"
#include "core/errors.h"
#include "core/money.h"

#include <QDate>
#include <cmath>

namespace quelvarino {

QVariant textToStored(FieldType type, const QString& text) {
    switch (type) {
        case FieldType::Text:
            // An empty text is stored as empty text, never as NULL.
            return text.isNull() ? QStringLiteral("") : text;
        case FieldType::Date:
            if (isBlankDateText(text))
                return QVariant();
            return isoDate(parseDate(text));
        case FieldType::Money:
        case FieldType::Number: {
            if (text.trimmed().isEmpty())
                return QVariant();
            const double value = parseMoney(text);
            // A stored number keeps 15 significant digits: beyond thirteen
            // integer digits the cents would be lost, so such a value is
            // refused instead of being stored changed.
            if (!std::isfinite(value) || std::fabs(value) >= 1e13)
                throw ConversionError(
                    QStringLiteral("O valor %1 é grande demais para ser gravado; o maior valor "
                                   "aceito é 9999999999999,99.")
                        .arg(text.trimmed()));
            return value;
        }
        case FieldType::Bytes: {
            for (const QChar c : text) {
                if (c.unicode() > 0xFF)
                    throw ConversionError(
                        QStringLiteral("O texto '%1' tem caracteres que não podem ser gravados.")
                            .arg(text));
            }
            return text.toLatin1();
        }
        case FieldType::AutoInc: {
            if (text.trimmed().isEmpty())
                return QVariant();
            bool ok = false;
            const qlonglong n = text.trimmed().toLongLong(&ok);
            if (!ok)
                throw ConversionError(conversionNumberMessage(text));
            return n;
        }
    }
    return text;
}

namespace {

// "2026-12-08" → "08/12/2026"; anything but a valid date gives "".
QString isoToText(const QString& iso) {
    if (iso.size() != 10 || iso[4] != QLatin1Char('-') || iso[7] != QLatin1Char('-'))
        return formatDate(QDate::fromString(iso, Qt::ISODate));
    auto number = [&iso](int from, int count, bool* ok) {
        int n = 0;
        for (int i = from; i < from + count; ++i) {
            const char16_t c = iso[i].unicode();
            if (c < '0' || c > '9')
                *ok = false;
            n = n * 10 + (c - '0');
        }
        return n;
    };
    bool ok = true;
    const int y = number(0, 4, &ok), m = number(5, 2, &ok), d = number(8, 2, &ok);
    if (!ok || !QDate(y, m, d).isValid())
        return QString();
    QString out(10, QLatin1Char('/'));
    for (int i = 0; i < 2; ++i) {
        out[i] = iso[8 + i];
        out[3 + i] = iso[5 + i];
    }
    for (int i = 0; i < 4; ++i)
        out[6 + i] = iso[i];
    return out;
}

}  // namespace

QString storedToText(FieldType type, const QVariant& value) {
    if (value.isNull())
        return QString();
    switch (type) {
        case FieldType::Text:
            return value.toString();
        case FieldType::Date:
            return isoToText(value.toString());
        case FieldType::Money:
        case FieldType::Number:
            return numberToText(value.toDouble());
        case FieldType::AutoInc:
            return QString::number(value.toLongLong());
        case FieldType::Bytes:
            return QString::fromLatin1(value.toByteArray());
    }
    return value.toString();
}

double storedToNumber(const QVariant& value) {
    if (value.isNull())
        return 0.0;
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (ok)
        return d;
    return parseMoney(value.toString());
}

}  // namespace quelvarino
