#include "reports/htmlwriter.h"

#include "core/pix.h"
#include "reports/documentlayouts.h"
#include "widgets/qrcode.h"

#include <QBuffer>
#include <QStringList>
#include <functional>

namespace quelvarino {
namespace {

class Html {
public:
    // The page is Latin-1: a character beyond it (a dash, the euro sign a
    // client typed) goes as its numeric reference, never as "?".
    void line(const QString& text) {
        bool latin1 = true;
        for (const QChar c : text)
            latin1 = latin1 && c.unicode() <= 0xFF;
        if (latin1) {
            bytes_ += text.toLatin1();
        } else {
            for (const char32_t c : text.toUcs4()) {
                if (c <= 0xFF)
                    bytes_ += char(c);
                else
                    bytes_ += "&#" + QByteArray::number(uint(c)) + ';';
            }
        }
        bytes_ += "\r\n";
    }
    const QByteArray& bytes() const { return bytes_; }

private:
    QByteArray bytes_;  // a long report is kept as its bytes, not as lines
};

QString e(const QString& text) {
    return HtmlWriter::escape(text);
}

QString nbsp(int n) {
    return QString(QStringLiteral("&nbsp")).repeated(n);
}

// A field as the document shows it: an untouched mask ("     -   ") is
// no value.
QString v(const QString& value) {
    return isBlankMaskText(value) ? QString() : e(value);
}

// A value, or blank space to fill in by hand when it is empty.
QString orSpace(const QString& value, int spaces) {
    return isBlankMaskText(value) ? nbsp(spaces) : e(value);
}

// Expands a template's placeholders with escaped values; the template's
// own markup stays.
QString expand(const ReportData& data, const QString& tmpl) {
    return fillPlaceholders(
        tmpl, [&data](const QString& name) { return e(valueOf(data, ReportRow(), name)); });
}

void start(Html& h, const QString& title) {
    h.line(QStringLiteral("<html>"));
    h.line(QStringLiteral("<head><title>") + title + QStringLiteral("</title></head>"));
    h.line(QStringLiteral("<body>"));
}

void companyHeader(Html& h, const CompanyHeader& c) {
    h.line(e(c.nomeFan) + QStringLiteral(" <br>"));
    h.line(e(c.endereco1) + " - " + e(c.bairro1) + " - " + e(c.cidade1) + " - " + e(c.uf1) +
           QStringLiteral(" <br>"));
    QString third =
        e(c.cep1) + " Telefone : (" + e(c.ddd1) + ") " + e(c.telefone1) + " / " + e(c.telefone2);
    if (!c.site.isEmpty())
        third += " Site : " + e(c.site);
    if (!c.email.isEmpty())
        third +=
            (c.site.isEmpty() ? QStringLiteral(" e-mail : ") : QStringLiteral(" - e-mail : ")) +
            e(c.email);
    h.line(third + QStringLiteral(" <br>"));
}

void heading(Html& h, const QString& text, bool rule) {
    h.line(QStringLiteral("<h1 align=\"center\">") + text + QStringLiteral("</h1>"));
    if (rule)
        h.line(QStringLiteral("<hr size=3></hr>"));
}

void headingWithRule(Html& h, const QString& text) {
    heading(h, text, true);
}

void closing(Html& h, bool oneLine) {
    h.line(QStringLiteral(" <br>"));
    h.line(HtmlWriter::footerLine());
    h.line(QStringLiteral("<hr size=3></hr>"));
    if (oneLine) {
        h.line(QStringLiteral("</body></html>"));
    } else {
        h.line(QStringLiteral("</body>"));
        h.line(QStringLiteral("</html>"));
    }
}

QString alignText(Align a) {
    return a == Align::Right    ? QStringLiteral("right")
           : a == Align::Center ? QStringLiteral("center")
                                : QStringLiteral("left");
}

QString cellValue(const ReportData& data, const ReportRow& row, const HtmlColumn& col) {
    QString v = valueOf(data, row, col.source);
    if (col.format == Format::Hours && v.trimmed() == QLatin1String(":"))
        return QString();
    v = formatValue(col.format, v);
    if (col.cut > 0 && v.size() > col.cut)
        v = v.left(col.cut);
    return v;
}

// The opening of a table and its heading row; returns the opening of each
// column's data cells.
QStringList tableStart(Html& h, const HtmlLayout& l) {
    h.line(QStringLiteral("<table align=\"center\" width=\"%1\" Border=\"1\">").arg(l.tableWidth));
    h.line(QStringLiteral("<Font size=\"0\">"));
    QStringList openings;
    for (int i = 0; i < l.columns.size(); ++i) {
        const HtmlColumn& c = l.columns[i];
        QString cell = QStringLiteral("<td align=\"center\" width=\"%1\">%2</td>")
                           .arg(c.headingWidth)
                           .arg(c.heading);
        if (i == 0)
            cell.prepend(QStringLiteral("<tr>"));
        if (i == l.columns.size() - 1)
            cell.append(QStringLiteral("</tr>"));
        h.line(cell);
        openings.append(QStringLiteral("<td align=\"%1\" width=\"%2\"><!-- @ -->")
                            .arg(alignText(c.align))
                            .arg(c.cellWidth));
    }
    return openings;
}

void tableRow(Html& h,
              const ReportData& data,
              const HtmlLayout& l,
              const QStringList& openings,
              const ReportRow& row) {
    h.line(QStringLiteral("<tr>"));
    for (int i = 0; i < l.columns.size(); ++i)
        h.line(openings[i] + e(cellValue(data, row, l.columns[i])) + QStringLiteral("</td>"));
    h.line(QStringLiteral("</tr>"));
    h.line(QString());
}

// The PIX code as an embedded image, and its text to copy.
void pixBlock(Html& h, const QString& payload) {
    if (payload.isEmpty())
        return;
    const QImage image = qrImage(encodeQr(payload), 4);
    if (image.isNull())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    h.line(QStringLiteral("<div align=\"right\"><b>") + HtmlWriter::escape(pix::caption(payload)) +
           QStringLiteral("</b><br>"));
    h.line(QStringLiteral("<img alt=\"QR Code PIX\" width=\"%1\" height=\"%1\" "
                          "src=\"data:image/png;base64,%2\"><br>")
               .arg(image.width())
               .arg(QString::fromLatin1(png.toBase64())));
    h.line(QStringLiteral("Pix Copia e Cola : <tt>") + HtmlWriter::escape(payload) +
           QStringLiteral("</tt></div><br>"));
}

// A document line's placeholders filled: {name}, {name?}, {name|N}.
QString filled(const QString& line, const QMap<QString, QString>& values) {
    return fillPlaceholders(line, [&values](const QString& name) {
        const qsizetype bar = name.indexOf(QLatin1Char('|'));
        if (bar >= 0)
            return orSpace(values.value(name.left(bar)), name.mid(bar + 1).toInt());
        if (name.endsWith(QLatin1Char('?')))
            return v(values.value(name.chopped(1)));
        return e(values.value(name));
    });
}

void documentBody(Html& h, const HtmlDocumentLayout& l) {
    for (const QString& line : l.head)
        h.line(filled(line, l.values));
    if (l.notes) {
        const QString obs = l.values.value(QStringLiteral("OBSERVACAO"));
        if (obs.trimmed().isEmpty()) {
            for (int i = 0; i < 6; ++i)
                h.line(QStringLiteral(" <br>"));
        } else {
            // The notes' own lines are kept as line breaks of the page.
            QStringList lines = obs.split(QLatin1Char('\n'));
            for (QString& line : lines)
                line = e(line.remove(QLatin1Char('\r')));
            h.line(QStringLiteral("<blockquote>") + lines.join(QStringLiteral("<br>")) +
                   QStringLiteral("</blockquote>"));
        }
    }
    for (const QString& line : l.tail)
        h.line(filled(line, l.values));
    pixBlock(h, l.pixPayload);
}

// One or two copies in one file, marked as the service order's are.
QByteArray document(const ReportData& data, const HtmlDocumentLayout& l) {
    Html h;
    start(h, l.title);
    companyHeader(h, data.company);
    headingWithRule(h, l.heading);
    documentBody(h, l);
    if (!data.twoCopies) {
        h.line(QStringLiteral(
            "<div align=\"right\">1o. via do cliente / 2o. via fornecedor</div><br>"));
        closing(h, false);
        return h.bytes();
    }
    h.line(QStringLiteral("<div align=\"right\">1o. via do cliente</div><br>"));
    h.line(QStringLiteral(" <br>"));
    h.line(QStringLiteral(" <br>"));
    h.line(HtmlWriter::footerLine());
    h.line(QStringLiteral("<hr size=3></hr>"));
    companyHeader(h, data.company);
    headingWithRule(h, l.heading);
    documentBody(h, l);
    h.line(QStringLiteral("<div align=\"right\">2o. via do fornecedor</div><br>"));
    closing(h, false);
    return h.bytes();
}

}  // namespace

QString HtmlWriter::escape(const QString& text) {
    return text.toHtmlEscaped();
}

QString HtmlWriter::escapeAttribute(const QString& text) {
    // toHtmlEscaped() turns the double quote into &quot; too, and every
    // attribute is written between double quotes.
    return text.toHtmlEscaped();
}

QString HtmlWriter::footerLine() {
    return QStringLiteral(
        "Documento gerado pelo Quelvarino Basic - Sistema para Controle de "
        "Empresa de Motoboy<br>");
}

struct HtmlWriter::Document {
    Html html;
    QStringList openings;
    int rows = 0;
};

HtmlWriter::HtmlWriter(const ReportData& data, const HtmlLayout& layout)
    : data_(data), layout_(layout), doc_(std::make_unique<Document>()) {
    Html& h = doc_->html;
    start(h, layout_.title);
    companyHeader(h, data_.company);
    heading(h, layout_.heading, layout_.ruleAfterHeading);
    for (const QString& before : layout_.before)
        h.line(expand(data_, before));
}

HtmlWriter::~HtmlWriter() = default;

void HtmlWriter::line(const QString& text) {
    doc_->html.line(text);
}

void HtmlWriter::startTable() {
    doc_->openings = tableStart(doc_->html, layout_);
    doc_->rows = 0;
}

void HtmlWriter::tableRow(const ReportRow& row) {
    quelvarino::tableRow(doc_->html, data_, layout_, doc_->openings, row);
    ++doc_->rows;
}

void HtmlWriter::endTable() {
    // Rows are written at least once: an empty selection gives one empty row.
    if (doc_->rows == 0)
        tableRow(ReportRow());
    doc_->html.line(QStringLiteral("</font></table>"));
}

QByteArray HtmlWriter::finish() {
    Html& h = doc_->html;
    for (const QString& after : layout_.after)
        h.line(expand(data_, after));
    closing(h, layout_.closingOnOneLine);
    return h.bytes();
}

QByteArray HtmlWriter::render(const ReportData& data, const HtmlLayout& l) {
    HtmlWriter w(data, l);
    if (l.tableWidth > 0) {
        w.startTable();
        data.forEachRow([&w](const ReportRow& row) { w.tableRow(row); });
        w.endTable();
    }
    return w.finish();
}

QByteArray HtmlWriter::renderServiceOrder(const ReportData& data) {
    return document(data, serviceOrderHtml(data.record));
}

QByteArray HtmlWriter::renderReceipt(const ReportData& data) {
    return document(data, receiptHtml(data.record));
}

}  // namespace quelvarino
