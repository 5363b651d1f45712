#include "core/amountinwords.h"

namespace quelvarino {
namespace {

QString unitWord(QChar d) {
    static const char* const words[] = {"", "Um", "Dois", "Três", "Quatro",
                                        "Cinco", "Seis", "Sete", "Oito", "Nove"};
    return d.isDigit() ? QString::fromUtf8(words[d.digitValue()]) : QString();
}

// Units of the thousands (and of the millions): "Hum" and "Tres".
QString thousandUnitWord(QChar d) {
    static const char* const words[] = {"", "Hum", "Dois", "Tres", "Quatro",
                                        "Cinco", "Seis", "Sete", "Oito", "Nove"};
    return d.isDigit() ? QString::fromUtf8(words[d.digitValue()]) : QString();
}

QString teenWord(QChar units) {
    static const char* const words[] = {"Dez",     "Onze",      "Doze",      "Treze",   "Quatorze",
                                        "Quinze",  "Dezesseis", "Dezessete", "Dezoito", "Dezenove"};
    return units.isDigit() ? QString::fromUtf8(words[units.digitValue()]) : QStringLiteral("Dez");
}

QString tensWord(QChar d) {
    static const char* const words[] = {"",          "",         "Vinte",   "Trinta",  "Quarenta",
                                        "Cinquenta", "Sessenta", "Setenta", "Oitenta", "Noventa"};
    return d.isDigit() ? QString::fromUtf8(words[d.digitValue()]) : QString();
}

QString hundredsWord(QChar h, QChar t, QChar u) {
    if (h == QLatin1Char('1'))
        return (t == QLatin1Char('0') || t.isNull()) && (u == QLatin1Char('0') || u.isNull())
                   ? QStringLiteral("Cem")
                   : QStringLiteral("Cento");
    static const char* const words[] = {"",           "",           "Duzentos",   "Trezentos",
                                        "Quatrocentos", "Quinhentos", "Seiscentos", "Setecentos",
                                        "Oitocentos", "Novecentos"};
    return h.isDigit() ? QString::fromUtf8(words[h.digitValue()]) : QString();
}

// The words of one group of up to three digits: hundreds, tens, units (a
// tens digit "1" makes one word of the tens and the units).
struct Group {
    QString hundreds, tens, units;
    bool any() const { return !hundreds.isEmpty() || !tens.isEmpty() || !units.isEmpty(); }
};

Group group(QChar h, QChar t, QChar u, QString (*units)(QChar)) {
    Group g;
    g.hundreds = hundredsWord(h, t, u);
    if (t == QLatin1Char('1')) {
        g.tens = teenWord(u);
    } else {
        g.tens = tensWord(t);
        g.units = units(u);
    }
    return g;
}

// The thousands and millions groups are joined the same way.
QString upperGroup(const Group& g) {
    QString out = g.hundreds;
    if (!g.hundreds.isEmpty())
        out += (!g.tens.isEmpty() || !g.units.isEmpty()) ? QStringLiteral(" e ")
                                                         : QStringLiteral(" ");
    out += g.tens;
    if (!g.units.isEmpty())
        out += !g.tens.isEmpty() ? QStringLiteral(" e ") : QStringLiteral(" ");
    out += g.units;
    return out;
}

}  // namespace

QString amountInWords(const QString& t) {
    const int L = int(t.size());
    if (L > 12)
        return QString();
    // Digits by position counted back from the end; L-2 is the comma.
    auto at = [&t, L](int fromEnd) { return L - fromEnd >= 1 ? t.at(L - fromEnd - 1) : QChar(); };
    const QChar c1 = at(0), c2 = at(1);
    const QChar r1 = at(3), r2 = at(4), r3 = at(5);
    const QChar m1 = at(6), m2 = at(7), m3 = at(8);
    const QChar mm1 = at(9), mm2 = at(10), mm3 = at(11);

    const Group cents = group(QChar(), c2, c1, unitWord);
    const Group reais = group(r3, r2, r1, unitWord);
    const Group thousands = group(m3, m2, m1, thousandUnitWord);
    const Group millions = group(mm3, mm2, mm1, thousandUnitWord);

    QString out;
    if (millions.any()) {
        const bool one = millions.hundreds.isEmpty() && millions.tens.isEmpty() &&
                         mm1 == QLatin1Char('1');
        out += upperGroup(millions) +
               (one ? QStringLiteral(" Milhão ") : QStringLiteral(" Milhões "));
    }
    out += upperGroup(thousands);
    if (thousands.any())
        out += QStringLiteral(" Mil ");
    out += reais.hundreds;
    const bool wordBefore = !reais.hundreds.isEmpty() || thousands.any() || millions.any();
    if (!reais.tens.isEmpty() || !reais.units.isEmpty())
        out += wordBefore ? QStringLiteral(" e ") : QStringLiteral(" ");
    else
        out += QStringLiteral(" ");
    out += reais.tens;
    if (!reais.tens.isEmpty() && !reais.units.isEmpty())
        out += QStringLiteral(" e ");
    out += reais.units;
    if (reais.any() || thousands.any() || millions.any()) {
        // "Hum Milhão de Reais": a round million takes "de".
        out += millions.any() && !thousands.any() && !reais.any() ? QStringLiteral(" de Reais ")
                                                                  : QStringLiteral(" Reais ");
    }
    out += cents.tens;
    if (!cents.tens.isEmpty() && !cents.units.isEmpty())
        out += QStringLiteral(" e ");
    out += cents.units;
    if (cents.any())
        out += QStringLiteral(" Centavos.");
    return out;
}

}  // namespace quelvarino
