#pragma once

#include "reports/reportdata.h"
#include "reports/reportlayout.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

namespace quelvarino {

// The service order and the receipt described once, as captions and the
// values after them; the page draws each row across its width, the
// spreadsheet writes one caption a line. A caption changes here only.
struct DocumentValue {
    Format format = Format::Text;  // what kind of cell the spreadsheet writes
    QString text;
    bool onPage = true;  // false: the spreadsheet's alone (a code the page leaves out)
};

struct DocumentField {
    QString caption;
    QList<DocumentValue> values;  // the page joins them with " - "
    double share = 1.0;           // of the page row's width

    QString pageText() const;
};

using DocumentRow = QList<DocumentField>;

struct DocumentLayout {
    QString title;      // over the page: "ORDEM DE SERVIÇO"
    QString sheetName;  // "Ordem de Serviço"
    DocumentField number;
    QList<DocumentRow> rows;
    DocumentField notes;  // a box on the page; no caption: none
    QString pixCaption = QStringLiteral("Pix Copia e Cola :");
    QString pixPayload;
};

DocumentLayout serviceOrderLayout(const ReportRow& order);
DocumentLayout receiptLayout(const ReportRow& receipt);

// The same documents as HTML keep their own words, fixed to the character
// for the offices that file them as they always were (captions without
// some accents, blanks of set widths to fill in by hand). Each line is
// markup with placeholders: {name} a value escaped, {name?} a value an
// untouched mask leaves empty, {name|N} a value or N blanks ("&nbsp").
struct HtmlDocumentLayout {
    QString title;    // of the browser's window: "Ordem de Serviço"
    QString heading;  // "ORDEM DE SERVIÇO"
    QStringList head;
    bool notes = false;  // the order's notes as a block after the head
    QStringList tail;
    QMap<QString, QString> values;
    QString pixPayload;
};

HtmlDocumentLayout serviceOrderHtml(const ReportRow& order);
HtmlDocumentLayout receiptHtml(const ReportRow& receipt);

// And as the dot-matrix printer's lines, in their own words too (no
// accents, columns by counted blanks): {name} a value, {name:N} a value
// padded with blanks to N characters.
struct TextDocumentLine {
    enum Kind {
        Condensed,   // SI and the text
        Emphasised,  // bold and wide
        Separator,   // a rule of dashes
        Notes,       // the order's notes, and the empty lines left to write by hand
    };
    Kind kind = Condensed;
    QString text;
};

struct TextDocumentLayout {
    QString title;  // under the company lines
    QList<TextDocumentLine> lines;
    QMap<QString, QString> values;
    QString pixPayload;
};

// `line` with each {…} replaced by what `value` makes of the text between
// the braces; what `value` returns is never searched for braces itself.
QString fillPlaceholders(const QString& line, const std::function<QString(const QString&)>& value);

TextDocumentLayout serviceOrderTextLayout(const ReportRow& order);
TextDocumentLayout receiptTextLayout(const ReportRow& receipt);

}  // namespace quelvarino
