#include "reports/escpwriter.h"

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

// A piece appended to its line: the value formatted, cut where the layout
// says so, padded to its width (never cut by the padding).
void appendPiece(QString& out, const ReportData& data, const ReportRow& row, const TextPiece& p) {
    if (p.source.isEmpty()) {
        out += p.literal;
        return;
    }
    QString value = formatValue(p.format, oneLine(valueOf(data, row, p.source)));
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

void writeLine(TextDocument& d, const ReportData& data, const ReportRow& row, const TextLine& l) {
    QString out;
    out.reserve(192);  // a condensed line holds 159 characters
    for (const TextPiece& p : l.pieces)
        appendPiece(out, data, row, p);
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
    auto writeRow = [&](const ReportRow& row) {
        if (!layout.headings.isEmpty() && !headingsWritten) {
            for (const QString& heading : layout.headings)
                d.condensed(heading);
            d.separator();
            headingsWritten = true;
        }
        for (const TextLine& l : layout.row)
            writeLine(d, data, row, l);
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
