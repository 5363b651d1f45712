#pragma once

#include "reports/reportdata.h"
#include "reports/reportlayout.h"
#include "reports/textdocument.h"

#include <QByteArray>

namespace quelvarino {

// Quelvarino_ImpMatricial: any text layout as dot-matrix bytes, the same
// for the LPT1 queue and the ".txt" file.
class EscPWriter {
public:
    static QByteArray render(const ReportData& data, const TextLayout& layout);
};

// Helpers to write text layouts.
namespace text {
inline TextPiece lit(const QString& literal) {
    TextPiece p;
    p.literal = literal;
    return p;
}
inline TextPiece field(const QString& source, int width = 0, int cut = 0) {
    TextPiece p;
    p.source = source;
    p.width = width;
    p.cut = cut;
    return p;
}
inline TextPiece money(const QString& source, int width, Align align = Align::Left) {
    TextPiece p;
    p.source = source;
    p.width = width;
    p.align = align;
    p.format = Format::Money;
    return p;
}
inline TextPiece right(const QString& source, int width, Format format = Format::Text) {
    TextPiece p;
    p.source = source;
    p.width = width;
    p.align = Align::Right;
    p.format = format;
    return p;
}
inline TextLine line(const QList<TextPiece>& pieces) {
    return {esc::condensed, pieces};
}
// SI, bold on, the caption, bold off.
inline TextLine boldCaption(const QString& caption) {
    return {esc::condensed + esc::boldOn, {lit(caption + QString::fromLatin1(esc::boldOff))}};
}
}  // namespace text

}  // namespace quelvarino
