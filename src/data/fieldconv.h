#pragma once

#include "data/schema.h"

#include <QString>
#include <QVariant>

namespace quelvarino {

// Conversions between the screens' texts and stored values.
// Text: as is. Date: "31/01/2005" <-> ISO "2005-01-31". Money and numbers:
// "12,50" <-> 12.5. Empty text (or a blank date mask) is an empty value.
QVariant textToStored(FieldType type, const QString& text);  // throws ConversionError
QString storedToText(FieldType type, const QVariant& value);
double storedToNumber(const QVariant& value);

}  // namespace quelvarino
