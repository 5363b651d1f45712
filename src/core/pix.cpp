#include "core/pix.h"

#include "core/registerchecks.h"

#include <QRegularExpression>

namespace quelvarino::pix {
namespace {

QString digitsOf(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c.isDigit() && c.unicode() < 128)
            out += c;
    }
    return out;
}

bool allSame(const QString& digits) {
    return !digits.isEmpty() && digits.count(digits[0]) == digits.size();
}

// One field: id, two-digit length, value.
QString field(const char* id, const QString& value) {
    return QString::fromLatin1(id) +
           QStringLiteral("%1").arg(value.size(), 2, 10, QLatin1Char('0')) + value;
}

KeyCheck checkDocument(const QString& typed,
                       int length,
                       bool (*valid)(const QString&),
                       const QString& what) {
    const QString digits = digitsOf(typed);
    // Only digits and the usual punctuation may be typed.
    static const QRegularExpression allowed(QStringLiteral("^[0-9./\\- ]*$"));
    if (digits.size() != length || !allowed.match(typed).hasMatch() || allSame(digits) ||
        !valid(digits))
        return {QString(),
                QStringLiteral("A chave PIX não é um %1 válido: confira os dígitos.").arg(what)};
    return {digits, QString()};
}

KeyCheck checkEmail(const QString& typed) {
    const QString key = typed.trimmed().toLower();
    // What banks take: one "@", a domain with a dot, no spaces, at most 77
    // characters.
    static const QRegularExpression form(
        QStringLiteral("^[a-z0-9._%+\\-]+@[a-z0-9\\-]+(\\.[a-z0-9\\-]+)*\\.[a-z]{2,}$"));
    if (key.size() > 77 || !form.match(key).hasMatch())
        return {QString(), QStringLiteral("A chave PIX não é um endereço de e-mail válido "
                                          "(exemplo: contato@empresa.com.br).")};
    return {key, QString()};
}

KeyCheck checkPhone(const QString& typed) {
    static const QRegularExpression allowed(QStringLiteral("^[0-9+()\\- ]*$"));
    QString digits = digitsOf(typed);
    const QString trimmed = typed.trimmed();
    if (trimmed.startsWith(QLatin1Char('+')) || digits.size() == 13) {
        if (!digits.startsWith(QLatin1String("55")))
            digits.clear();
        else
            digits.remove(0, 2);
    }
    // Area code 11..99 (no zero in it) and a mobile number of nine digits
    // starting with 9.
    const bool ok = allowed.match(trimmed).hasMatch() && digits.size() == 11 &&
                    digits[0] != QLatin1Char('0') && digits[1] != QLatin1Char('0') &&
                    digits[2] == QLatin1Char('9');
    if (!ok)
        return {QString(), QStringLiteral("A chave PIX não é um celular válido: informe o DDD e "
                                          "os nove dígitos do número (exemplo: +55 11 "
                                          "98765-4321).")};
    return {QStringLiteral("+55") + digits, QString()};
}

KeyCheck checkRandom(const QString& typed) {
    const QString key = typed.trimmed().toLower();
    static const QRegularExpression form(
        QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"));
    if (!form.match(key).hasMatch())
        return {QString(), QStringLiteral("A chave PIX não é uma chave aleatória válida: são 32 "
                                          "letras e números em cinco grupos separados por "
                                          "hífens, como o banco mostra.")};
    return {key, QString()};
}

}  // namespace

QStringList keyTypeNames() {
    return {QStringLiteral("CPF"), QStringLiteral("CNPJ"), QStringLiteral("E-mail"),
            QStringLiteral("Celular"), QStringLiteral("Chave aleatória")};
}

std::optional<KeyType> keyTypeOf(const QString& name) {
    const QStringList names = keyTypeNames();
    const int i = names.indexOf(name.trimmed());
    if (i < 0)
        return std::nullopt;
    return static_cast<KeyType>(i);
}

KeyCheck checkKey(KeyType type, const QString& typed) {
    if (typed.trimmed().isEmpty())
        return {QString(), QStringLiteral("Informe a chave PIX.")};
    switch (type) {
        case KeyType::Cpf:
            return checkDocument(typed, 11, isValidCpf, QStringLiteral("CPF"));
        case KeyType::Cnpj:
            return checkDocument(typed, 14, isValidCnpj, QStringLiteral("CNPJ"));
        case KeyType::Email:
            return checkEmail(typed);
        case KeyType::Phone:
            return checkPhone(typed);
        case KeyType::Random:
            return checkRandom(typed);
    }
    return {QString(), QStringLiteral("Tipo de chave PIX desconhecido.")};
}

QString codeText(const QString& text, int length) {
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString out;
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;  // the accent of a decomposed letter
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7F)
            out += c;
        else if (c.isSpace())
            out += QLatin1Char(' ');
    }
    return out.simplified().left(length).trimmed();
}

QString transactionId(const QString& prefix, const QString& number) {
    QString out;
    for (const QChar c : prefix + number.trimmed()) {
        const char16_t u = c.unicode();
        if ((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z'))
            out += c;
    }
    return out.left(25);
}

quint16 crc16(const QByteArray& bytes) {
    quint16 crc = 0xFFFF;
    for (const char byte : bytes) {
        crc ^= quint16(quint8(byte)) << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? quint16((crc << 1) ^ 0x1021) : quint16(crc << 1);
    }
    return crc;
}

QString payload(const Charge& charge) {
    const QString account = field("00", QStringLiteral("br.gov.bcb.pix")) + field("01", charge.key);
    const QString additional =
        field("05", charge.txid.isEmpty() ? QStringLiteral("***") : charge.txid);
    for (const QString& value : {account, additional, charge.name, charge.city}) {
        if (value.isEmpty() || value.size() > 99)
            return QString();
    }
    QString out = field("00", QStringLiteral("01")) + field("26", account) +
                  field("52", QStringLiteral("0000")) + field("53", QStringLiteral("986"));
    if (charge.cents > 0)
        out += field("54", QStringLiteral("%1.%2")
                               .arg(charge.cents / 100)
                               .arg(charge.cents % 100, 2, 10, QLatin1Char('0')));
    out += field("58", QStringLiteral("BR")) + field("59", charge.name) + field("60", charge.city) +
           field("62", additional) + QStringLiteral("6304");
    return out + QStringLiteral("%1").arg(crc16(out.toLatin1()), 4, 16, QLatin1Char('0')).toUpper();
}

QString documentPayload(const CompanyPix& company, const QString& txid, qint64 cents) {
    const std::optional<KeyType> type = keyTypeOf(company.type);
    if (!company.print || !type || cents <= 0)
        return QString();
    const KeyCheck key = checkKey(*type, company.key);
    const QString name = beneficiaryName(company.name);
    const QString city = beneficiaryCity(company.city);
    if (!key.ok() || name.isEmpty() || city.isEmpty())
        return QString();
    return payload({key.key, name, city, txid, cents});
}

std::optional<qint64> centsOf(const QString& money) {
    static const QRegularExpression form(
        QStringLiteral("^(\\d{1,3}(?:\\.\\d{3})+|\\d+)(?:,(\\d{1,2}))?$"));
    const QRegularExpressionMatch m = form.match(money.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QString whole = m.captured(1).remove(QLatin1Char('.'));
    if (whole.size() > 13)
        return std::nullopt;
    const QString fraction = m.captured(2).leftJustified(2, QLatin1Char('0'));
    return whole.toLongLong() * 100 + fraction.toLongLong();
}

std::optional<qint64> amountOf(const QString& payload) {
    // Top-level fields: two digits of id, two of length, the value.
    qsizetype at = 0;
    while (at + 4 <= payload.size()) {
        bool idOk = false, lengthOk = false;
        const QString id = payload.mid(at, 2);
        const int length = payload.mid(at + 2, 2).toInt(&lengthOk);
        id.toInt(&idOk);
        if (!idOk || !lengthOk || length < 0 || at + 4 + length > payload.size())
            return std::nullopt;
        if (id == QLatin1String("54")) {
            static const QRegularExpression amount(QStringLiteral("^(\\d{1,13})\\.(\\d{2})$"));
            const QRegularExpressionMatch m = amount.match(payload.mid(at + 4, length));
            if (!m.hasMatch())
                return std::nullopt;
            return m.captured(1).toLongLong() * 100 + m.captured(2).toLongLong();
        }
        at += 4 + length;
    }
    return std::nullopt;
}

QString caption(const QString& payload, const QString& dash) {
    const std::optional<qint64> cents = amountOf(payload);
    if (!cents)
        return QStringLiteral("Pague com PIX");
    return QStringLiteral("Pague com PIX %1 R$ %2,%3")
        .arg(dash)
        .arg(*cents / 100)
        .arg(*cents % 100, 2, 10, QLatin1Char('0'));
}

QStringList wrapped(const QString& payload, int width) {
    QStringList out;
    for (int at = 0; at < payload.size(); at += width)
        out.append(payload.mid(at, width));
    return out;
}

}  // namespace quelvarino::pix
