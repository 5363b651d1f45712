#pragma once

#include "reports/reportdata.h"
#include "reports/reportlayout.h"

class QPrinter;

namespace quelvarino {

// Quelvarino_ImpDeskJet: any page layout as a banded report drawn on a
// printer (the preview, a real printer or a PDF file): a title band on the
// first page with the logo, the five company lines and the title; column
// headings on every page; the rows; group heading and summary; the
// report's summary; a page footer with the print date, time and page
// number.
class PageWriter {
public:
    static void setUp(QPrinter* printer, const PageLayout& layout);
    static void render(const ReportData& data, const PageLayout& layout, QPrinter* printer);

    // The service order: one copy on an A4 sheet, or two copies per sheet.
    static void setUpServiceOrder(QPrinter* printer, bool twoCopies);
    static void renderServiceOrder(const ReportData& data, QPrinter* printer);

    // The receipt: two copies on a Letter sheet, or one on a sheet of
    // 215.9 mm by 140 mm.
    static void setUpReceipt(QPrinter* printer, bool twoCopies);
    static void renderReceipt(const ReportData& data, QPrinter* printer);

    // The five company lines of the title band (empty when no company is
    // recorded).
    static QStringList companyLines(const CompanyHeader& company);

    // Test seam: the smallest size in points of any text drawn since the
    // last reset.
    static double smallestTextPoints();
    static void resetSmallestTextPoints();
    // Test seam: the width of the last report's columns and of its page's
    // printable area, in tenths of a millimetre.
    static double widestRowOfColumns();
    static double printableWidth();
};

}  // namespace quelvarino
