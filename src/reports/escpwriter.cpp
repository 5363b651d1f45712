#include "reports/escpwriter.h"

namespace quelvarino {
namespace {

// A row's lines keep to themselves: line breaks of multi-line notes
// become spaces.
QString oneLine(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QString piece(const ReportData& data, const ReportRow& row, const TextPiece& p) {
    if (p.source.isEmpty())
        return p.literal;
    QString value = formatValue(p.format, oneLine(valueOf(data, row, p.source)));
    if (p.cut > 0 && value.size() > p.cut)
        value = value.left(p.cut);
    return p.align == Align::Right ? padLeft(value, p.width) : padRight(value, p.width);
}

void writeLine(TextDocument& d, const ReportData& data, const ReportRow& row, const TextLine& l) {
    QString out;
    for (const TextPiece& p : l.pieces)
        out += piece(data, row, p);
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
