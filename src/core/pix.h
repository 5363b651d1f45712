#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace quelvarino::pix {

// The company's PIX key kinds, as the company screen lists them.
enum class KeyType { Cpf, Cnpj, Email, Phone, Random };
QStringList keyTypeNames();  // "CPF", "CNPJ", "E-mail", "Celular", "Chave aleatória"
std::optional<KeyType> keyTypeOf(const QString& name);

// A typed key checked for its kind: `key` is the key as the bank keeps it
// (CPF and CNPJ as digits, the e-mail in small letters, the mobile number
// as "+55" with area code and number, the random key as a small-letter
// UUID); `message` says what is wrong, empty when the key is good.
struct KeyCheck {
    QString key;
    QString message;
    bool ok() const { return message.isEmpty(); }
};
KeyCheck checkKey(KeyType type, const QString& typed);

// The beneficiary's name and city as the code carries them: without
// accents, only printable ASCII, spaces collapsed, cut to `length`.
QString codeText(const QString& text, int length);
inline QString beneficiaryName(const QString& text) {
    return codeText(text, 25);
}
inline QString beneficiaryCity(const QString& text) {
    return codeText(text, 15);
}

// The document as the code's transaction id: letters and digits only, at
// most 25 ("OS" and the order's number: "OS0000000123"; "RC" and the
// receipt's: "RC000045").
QString transactionId(const QString& prefix, const QString& number);

// CRC-16/CCITT-FALSE (polynomial 0x1021, initial 0xFFFF), as the code's
// last field carries it.
quint16 crc16(const QByteArray& bytes);

// A static BR Code ("Pix Copia e Cola") in the EMV merchant-presented
// layout: format indicator, merchant account (GUI br.gov.bcb.pix and the
// key), category "0000", currency 986, the amount (left out when
// `cents` is 0), country "BR", name, city, the transaction id and the CRC.
// The texts go in as given: the caller passes them through the functions
// above. Empty when a field would not fit its 99 characters.
struct Charge {
    QString key;
    QString name;
    QString city;
    QString txid;
    qint64 cents = 0;
};
QString payload(const Charge& charge);

// What a document carries: the payload, or empty when there is to be no
// code (no key, not asked for, a zero amount).
struct CompanyPix {
    QString type;        // PIXTIPO
    QString key;         // PIXCHAVE
    QString name;        // PIXNOME
    QString city;        // PIXCIDADE
    bool print = false;  // PIXIMPRIME
};
QString documentPayload(const CompanyPix& company, const QString& txid, qint64 cents);

// Cents of a stored money text ("1.234,56" or "1234,56"); nothing when it
// is no amount.
std::optional<qint64> centsOf(const QString& money);

// The amount a payload charges (its field 54), in cents; nothing when it
// carries none or cannot be read.
std::optional<qint64> amountOf(const QString& payload);

// What is printed beside a code: "Pague com PIX – R$ 146,25" (`dash`
// between them: a plain hyphen where the output has no en dash).
QString caption(const QString& payload, const QString& dash = QStringLiteral("\u2013"));

// The payload cut into lines of at most `width` characters, every
// character kept, for the outputs that print text.
QStringList wrapped(const QString& payload, int width);

}  // namespace quelvarino::pix
