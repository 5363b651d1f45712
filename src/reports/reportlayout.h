#pragma once

#include <QByteArray>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace quelvarino {

class ReportRow;
struct ReportData;

// How a value is printed.
enum class Format {
    Text,            // as stored
    Money,           // "##0.00": 1234,50
    MoneyThousands,  // "#,##0.00": 1.234,50
    Currency,        // "R$ #,##0.00": R$ 1.234,50
    Integer,         // "##0"
    Hours,           // "hh:mm" as stored
    Date,            // "dd/mm/yyyy" as stored (a date cell in a spreadsheet)
};
enum class Align { Left, Right, Center };

// The printed text of a stored value. Empty money prints "0,00".
QString formatValue(Format format, const QString& text);

// Only spaces and mask literals: an untouched mask field ("     -   ").
bool isBlankMaskText(const QString& text);

// A value of a row: a field name ("RAZAOSOCIAL"), a total of the report
// ("=TOTVAL"), or a template of both ("{DDD1}-{TELEFONE1_1}"); a template
// whose last value is blank is blank.
// A field or total a report does not provide is no blank: it throws.
QString valueOf(const ReportData& data, const ReportRow& row, const QString& source);

// ---- dot-matrix and text file -------------------------------------------------

struct TextPiece {
    QString literal;  // written as it stands (may hold control codes)
    QString source;   // or a value (see valueOf)
    int width = 0;    // padded to this width; longer values are written whole
    Align align = Align::Left;
    Format format = Format::Text;
    int cut = 0;  // values longer than this are cut first
};
struct TextLine {
    QByteArray codes;  // SI, SI + bold on, ...
    QList<TextPiece> pieces;
};
// The layouts give every member an initializer, so that a report writes its
// layout with designated initializers naming only what it sets.
struct TextLayout {
    QString title{};             // with its leading spaces
    bool period = false;         // the period line after the title
    QString subjectLabel{};      // "Cliente : " for the reports of one client
    QStringList headings{};      // column heading lines, each followed by the separator
    QList<TextLine> row{};       // the lines of one row
    int firstPage = 0;           // rows on the first page (0: no page rule)
    int perPage = 0;             // P of the row-count rule
    bool atLeastOneRow = false;  // an empty selection still prints one empty row
    QList<TextLine> totals{};    // each preceded by the page check
};

// ---- page report ----------------------------------------------------------------

struct PageCell {
    QString label;      // heading of a table column, or caption before a record value
    QString source;     // see valueOf
    double width = 30;  // mm
    Format format = Format::Text;
    Align align = Align::Left;
};
struct PageSummary {
    QString label;
    QString source;  // usually a total ("=TOTVAL")
    Format format = Format::Text;
    // The columns (their sources) whose sum this total is, for the
    // spreadsheet's formula; empty when the program computes it by rules of
    // its own. A grand total of groups names their subtotal's source.
    QStringList sums = {};
};
struct PageLayout {
    QString title{};
    QPageSize::PageSizeId paper = QPageSize::Letter;
    QSizeF customMm{};  // a custom sheet when not empty
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF marginsMm{10, 10, 10, 10};  // left, top, right, bottom
    QList<PageCell> columns{};            // a table of rows with headings on every page
    QList<QList<PageCell>> record{};      // or a card of captioned values per row
    QList<PageSummary> summary{};
    // Master/detail: the group heading and the group's summary.
    QString groupLabel{};
    QList<PageSummary> groupSummary{};
};

// ---- HTML ---------------------------------------------------------------------------

struct HtmlColumn {
    QString heading;
    int headingWidth = 50;
    QString source;
    int cellWidth = 50;
    Align align = Align::Left;
    Format format = Format::Text;
    int cut = 0;
};
struct HtmlLayout {
    QString title{};    // <title>
    QString heading{};  // <h1>
    bool ruleAfterHeading = true;
    bool closingOnOneLine = false;  // "</body></html>"
    QStringList before{};           // lines before the table (templates)
    int tableWidth = 0;             // 0: no table
    QList<HtmlColumn> columns{};
    QStringList after{};  // lines after the table (templates)
};

// ---- what the layouts name -----------------------------------------------------------

// The names a layout reads: row fields as they stand ("RAZAOSOCIAL"),
// totals with their "=" ("=TOTVAL"), each once, in the order first named.
QStringList namesUsed(const TextLayout& layout);
QStringList namesUsed(const PageLayout& layout);
QStringList namesUsed(const HtmlLayout& layout);

}  // namespace quelvarino
