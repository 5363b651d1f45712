#pragma once

#include <QString>

namespace quelvarino {

// The amount of a receipt written out in Portuguese words, from its money
// text "##0.00" ("1234,56" → " Hum Mil Duzentos e Trinta e Quatro Reais
// Cinquenta e Seis Centavos."), in the form the receipts have always had:
// the plural "Reais" and "Centavos" for every amount, "Hum" and "Tres" for
// thousands, and the spaces of its connectors. Millions follow the style of
// the thousands ("Hum Milhão", "Dois Milhões"). Texts longer than twelve
// characters (one billion and more) give the empty text.
QString amountInWords(const QString& moneyText);

}  // namespace quelvarino
