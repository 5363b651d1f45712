#pragma once

#include <QList>
#include <QString>

namespace quelvarino {

// The date check of the entry screens, as the operators know it: a few
// information messages for days the month does not have, then separate
// warnings for day, month and year, and the standard conversion error when
// a part that must be a number is not one.
struct DateCheckMessage {
    enum Kind { Information, Warning, ConversionError };
    Kind kind;
    QString text;
    bool operator==(const DateCheckMessage&) const = default;
};

struct DateCheck {
    QList<DateCheckMessage> messages;  // in the order they are shown
    bool ok() const { return messages.isEmpty(); }
};

DateCheck checkDateText(const QString& text);

// Check digits of the Brazilian company (CNPJ) and person (CPF) numbers, as
// typed with punctuation ("11.222.333/0001-81", "111.444.777-35") or as bare digits.
bool isValidCnpj(const QString& text);
bool isValidCpf(const QString& text);

// The code after `lastCode`, left-filled with zeros to `width` ("000001" or
// "0000000001" when there is no last code). A number already as long as the
// width gets no zeros. Throws ConversionError when the last code is no number.
QString nextCode(const QString& lastCode, int width);

}  // namespace quelvarino
