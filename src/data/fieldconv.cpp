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
            return parseDate(text).toString(Qt::ISODate);
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

QString storedToText(FieldType type, const QVariant& value) {
    if (value.isNull())
        return QString();
    switch (type) {
        case FieldType::Text:
            return value.toString();
        case FieldType::Date:
            return formatDate(QDate::fromString(value.toString(), Qt::ISODate));
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
