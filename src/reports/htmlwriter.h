#pragma once

#include "reports/reportdata.h"
#include "reports/reportlayout.h"

#include <QByteArray>

namespace quelvarino {

// One block of a grouped report: its lines before the table (already
// escaped, written as they are), its table's rows and its lines after.
struct HtmlBlock {
    QStringList before;
    QList<ReportRow> rows;
    QStringList after;
};

// Quelvarino_ImpHtml: a plain HTML document of the report, in the
// single-byte code page (Latin-1) without a character-set declaration, as
// the offices' other programs read it. Every data value is escaped (& < >,
// and " inside attributes): a client called "<script>" or "A & B" is shown,
// never run or lost.
class HtmlWriter {
public:
    static QByteArray render(const ReportData& data, const HtmlLayout& layout);
    // The layout's lines before, then one table per block with the
    // layout's columns, then the layout's lines after.
    static QByteArray renderBlocks(const ReportData& data,
                                   const HtmlLayout& layout,
                                   const QList<HtmlBlock>& blocks);
    static QByteArray renderServiceOrder(const ReportData& data);
    static QByteArray renderReceipt(const ReportData& data);
    static QString escape(const QString& text);           // & < > of text content
    static QString escapeAttribute(const QString& text);  // and " inside attribute values
    // The line written before the closing rule of every document.
    static QString footerLine();
};

}  // namespace quelvarino
