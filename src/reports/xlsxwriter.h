#pragma once

#include "reports/reportdata.h"
#include "reports/reportlayout.h"

namespace quelvarino {

// The spreadsheet output: any page layout as one sheet of typed cells
// (money as numbers "#,##0.00", dates as dates "dd/mm/yyyy", hours as
// durations "[h]:mm", codes and names as text), the company lines, the
// title and the period first, the column headings frozen, the widths
// fitted, and the totals as formulas over their columns whose cached
// values are the printed totals. Rows are written one at a time with the
// library's constant-memory mode, so a year of orders is never held.
//
// Every render writes the workbook under a temporary name beside `path`
// and renames it when complete: no half file is ever left under that name.
// Throws NoticeError with what the operator can do when it cannot be
// written.
// A table of figures for a sheet of its own: a heading and a format per
// column (Text, Money, Hours or Integer), the rows as stored texts.
struct SheetTable {
    QString name;
    QStringList headings;
    QList<Format> formats;
    QList<QStringList> rows;
    bool totals = true;  // a last row summing each column of figures
};

class XlsxWriter {
public:
    // Several tables, one sheet each, under the company lines, `title` and
    // the period of `data`.
    static void renderTables(const ReportData& data,
                             const QString& title,
                             const QList<SheetTable>& tables,
                             const QString& path);
    static void render(const ReportData& data, const PageLayout& layout, const QString& path);
    static void renderServiceOrder(const ReportData& data, const QString& path);
    static void renderReceipt(const ReportData& data, const QString& path);

    // The sheet's name for a report title: at most 31 characters, none of
    // those a sheet name cannot hold.
    static QString sheetName(const QString& title);
    // The cell value of a stored "hh:mm" or "hhh:mm", in days; false when
    // the text is blank or not a time.
    static bool durationOf(const QString& text, double* days);
};

}  // namespace quelvarino
