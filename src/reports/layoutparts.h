#pragma once

#include "reports/escpwriter.h"
#include "reports/reportlayout.h"
#include "reports/textdocument.h"

// Short ways to write the layouts of the report ids.
namespace quelvarino {

namespace text {

// SI, bold and wide print on, the pieces, wide (and bold) off.
inline TextLine emphasised(const QList<TextPiece>& pieces, bool boldOffToo = true) {
    QList<TextPiece> all = pieces;
    all.append(lit(QString::fromLatin1(boldOffToo ? esc::wideOff + esc::boldOff : esc::wideOff)));
    return {esc::condensed + esc::boldOn + esc::wideOn, all};
}

// A line holding only SI.
inline TextLine siOnly() {
    return {esc::condensed, {}};
}

}  // namespace text

inline PageCell pc(const char* label,
                   const char* source,
                   double width,
                   Format f = Format::Text,
                   Align a = Align::Left) {
    PageCell c;
    c.label = QString::fromUtf8(label);
    c.source = QString::fromLatin1(source);
    c.width = width;
    c.format = f;
    c.align = a;
    return c;
}

inline PageSummary ps(const char* label,
                      const char* source,
                      Format f = Format::Text,
                      const QStringList& sums = {}) {
    return {QString::fromUtf8(label), QString::fromLatin1(source), f, sums};
}

inline HtmlColumn hc(const char* heading,
                     int headingWidth,
                     const char* source,
                     int cellWidth,
                     Align a = Align::Left,
                     Format f = Format::Text,
                     int cut = 0) {
    return {QString::fromUtf8(heading),
            headingWidth,
            QString::fromLatin1(source),
            cellWidth,
            a,
            f,
            cut};
}

// The period line of the HTML reports.
inline const char* const kHtmlPeriodLine =
    "<div align=\"center\">Periodo de {=DE} ate {=ATE}</div><br>";

}  // namespace quelvarino
