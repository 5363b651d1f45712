#pragma once

#include "reports/reportdata.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quelvarino {

// Control codes of the dot-matrix printers (Epson ESC/P).
namespace esc {
inline const QByteArray pitch12(
    "\x1b"
    "M");
inline const QByteArray condensed("\x0f");
inline const QByteArray boldOn(
    "\x1b"
    "G");
inline const QByteArray boldOff(
    "\x1b"
    "H");
inline const QByteArray wideOn("\x0e");
inline const QByteArray wideOff("\x14");
inline const QByteArray justify(
    "\x1b"
    "a3");
inline const QByteArray pageFeed("\x0c");
}  // namespace esc

// Column-width rule: a text shorter than its column is completed with
// spaces (after it, or before it for right-aligned columns); a longer one
// is written whole, never cut.
QString padRight(const QString& text, int width);
QString padLeft(const QString& text, int width);
// Money as printed: empty is "0,00", otherwise "##0.00".
QString printedMoney(const QString& text);

// A text printout as bytes: single-byte (Latin-1) text with the printer's
// control codes, each line ending in CR LF.
class TextDocument {
public:
    void line(const QByteArray& codes, const QString& text = QString());
    void condensed(const QString& text) { line(esc::condensed, text); }  // "SI" + text
    void emphasised(const QString& text);
    void separator() { condensed(QString(159, QLatin1Char('-'))); }
    void pageFeed() { line(esc::pageFeed); }
    // Company header and the title block.
    void header(const CompanyHeader& company, const QString& title);

    const QByteArray& bytes() const {
        bytes_.resize(size_);  // the buffer grows ahead of what is written
        return bytes_;
    }
    int lines() const { return lines_; }

private:
    void append(const char* data, qsizetype n);

    mutable QByteArray bytes_;
    qsizetype size_ = 0;  // bytes written
    int lines_ = 0;
};

// The page rule of the listings: the first page holds F rows, every later
// page P - 1; headings are written again from the third page on.
class RowPageRule {
public:
    RowPageRule(int firstPage, int perPage) : f_(firstPage), p_(perPage) {}
    // After each row; clears `headingsWritten` when a page starts that needs them.
    void afterRow(TextDocument& doc, bool& headingsWritten);
    // Before a line of totals.
    void beforeTotal(TextDocument& doc);

private:
    int f_;
    int p_;
    int firstPageRows_ = 1;
    int pageRows_ = 1;
};

}  // namespace quelvarino
