#include "reports/escpwriter.h"

#include <vector>

namespace quelvarino {
namespace {

// A row's lines keep to themselves: line breaks of multi-line notes
// become spaces.
QString oneLine(QString text) {
    if (!text.contains(QLatin1Char('\n')))
        return text;
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// Where each piece of a layout finds its value in rows of one shape: the
// position of a plain field, or -1 (a literal, a total, a template, a field
// the shape lacks) for the general lookup. Worked out again only when the
// rows' shape changes.
class PiecePositions {
public:
    const std::vector<int>& of(const ReportRow& row, const QList<TextPiece>& pieces) {
        const ReportRow::Shape* shape = row.shape();
        if (shape != shape_ || positions_.size() != size_t(pieces.size())) {
            shape_ = shape;
            positions_.assign(size_t(pieces.size()), -1);
            for (int i = 0; shape && i < pieces.size(); ++i) {
                const QString& source = pieces[i].source;
                if (source.isEmpty() || source.startsWith(QLatin1Char('=')) ||
                    source.contains(QLatin1Char('{')))
                    continue;
                positions_[size_t(i)] = shape->value(source.toUpper(), -1);
            }
        }
        return positions_;
    }

private:
    const ReportRow::Shape* shape_ = nullptr;
    std::vector<int> positions_;
};

// A piece appended to its line: the value formatted, cut where the layout
// says so, padded to its width (never cut by the padding).
void appendPiece(QString& out, const QString& raw, const TextPiece& p) {
    QString value = formatValue(p.format, oneLine(raw));
    if (p.cut > 0 && value.size() > p.cut)
        value.truncate(p.cut);
    const qsizetype fill = p.width > value.size() ? p.width - value.size() : 0;
    if (p.align == Align::Right) {
        out.append(QString(fill, QLatin1Char(' ')));
        out += value;
    } else {
        out += value;
        out.append(QString(fill, QLatin1Char(' ')));
    }
}

void writeLine(TextDocument& d,
               const ReportData& data,
               const ReportRow& row,
               const TextLine& l,
               PiecePositions* cache = nullptr) {
    QString out;
    out.reserve(192);  // a condensed line holds 159 characters
    const std::vector<int>* positions = cache ? &cache->of(row, l.pieces) : nullptr;
    for (int i = 0; i < l.pieces.size(); ++i) {
        const TextPiece& p = l.pieces[i];
        if (p.source.isEmpty()) {
            out += p.literal;
            continue;
        }
        const int at = positions ? (*positions)[size_t(i)] : -1;
        appendPiece(out, at >= 0 ? row.at(at) : valueOf(data, row, p.source), p);
    }
    d.line(l.codes, out);
}

}  // namespace

QByteArray EscPWriter::render(const ReportData& data, const TextLayout& layout) {
    TextDocument d;
    d.header(data.company, layout.title);
    if (layout.period) {
        d.condensed(QString());
        d.line(esc::condensed + esc::boldOn + esc::wideOn,
               QString(27, QLatin1Char(' ')) + "DE: " + data.periodFrom +
                   "    ATE: " + data.periodTo + QString::fromLatin1(esc::wideOff + esc::boldOff));
    }
    if (!layout.subjectLabel.isEmpty()) {
        d.condensed(QString());
        d.condensed(layout.subjectLabel + data.subjectCode + " - " + data.subjectName);
    }
    d.separator();

    const bool paged = layout.firstPage > 0;
    RowPageRule rule(qMax(1, layout.firstPage), qMax(1, layout.perPage));
    bool headingsWritten = false;
    int written = 0;
    std::vector<PiecePositions> positions(size_t(layout.row.size()));
    auto writeRow = [&](const ReportRow& row) {
        if (!layout.headings.isEmpty() && !headingsWritten) {
            for (const QString& heading : layout.headings)
                d.condensed(heading);
            d.separator();
            headingsWritten = true;
        }
        for (int i = 0; i < layout.row.size(); ++i)
            writeLine(d, data, row, layout.row[i], &positions[size_t(i)]);
        if (paged)
            rule.afterRow(d, headingsWritten);
        ++written;
    };
    data.forEachRow(writeRow);
    if (written == 0 && layout.atLeastOneRow)
        writeRow(ReportRow());
    for (const TextLine& total : layout.totals) {
        if (paged)
            rule.beforeTotal(d);
        writeLine(d, data, ReportRow(), total);
    }
    d.pageFeed();
    return d.bytes();
}

}  // namespace quelvarino
