#pragma once

#include "reports/reportdata.h"
#include "reports/reportlayout.h"

#include <QList>
#include <QString>

namespace quelvarino {

// The service order and the receipt described once, as captions and the
// values after them; the page draws each row across its width, the
// spreadsheet writes one caption a line. A caption changes here only.
//
// The HTML and the dot-matrix text of the two documents keep their own
// words: their lines are fixed to the character (captions without accents,
// blanks of set widths) for the offices that file them as they always were,
// and are written by the HTML and text layouts.
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

DocumentLayout serviceOrderLayout(const ServiceOrderPrint& order);
DocumentLayout receiptLayout(const ReceiptPrint& receipt);

}  // namespace quelvarino
