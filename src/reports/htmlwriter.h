#pragma once

#include "reports/reportdata.h"
#include "reports/reportlayout.h"

#include <QByteArray>
#include <memory>

namespace quelvarino {

// Quelvarino_ImpHtml: a plain HTML document of the report, in the
// single-byte code page (Latin-1) without a character-set declaration, as
// the offices' other programs read it. Every data value is escaped (& < > "
// through QString::toHtmlEscaped()): a client called "<script>" or "A & B" is shown,
// never run or lost.
class HtmlWriter {
public:
    // A document written piece by piece: the layout's head and lines
    // before, then what the report writes, then finish() adds the lines
    // after and the closing.
    HtmlWriter(const ReportData& data, const HtmlLayout& layout);
    ~HtmlWriter();
    void line(const QString& markup);  // written as it is
    void startTable();                 // the layout's table and heading row
    void tableRow(const ReportRow& row);
    void endTable();
    QByteArray finish();

    // The layout's table over every detail row of the data.
    static QByteArray render(const ReportData& data, const HtmlLayout& layout);
    static QByteArray renderServiceOrder(const ReportData& data);
    static QByteArray renderReceipt(const ReportData& data);
    static QString escape(const QString& text);  // & < > " of text content
    static QString escapeAttribute(
        const QString& text);  // the same; attributes are in double quotes
    // The line written before the closing rule of every document.
    static QString footerLine();

private:
    struct Document;
    const ReportData& data_;
    const HtmlLayout& layout_;
    std::unique_ptr<Document> doc_;
};

}  // namespace quelvarino
