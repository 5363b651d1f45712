#pragma once

#include "reports/reportcatalog.h"
#include "reports/reportlayout.h"

namespace quelvarino {

// The outputs of the register listings, and of every other report: the
// spreadsheet comes after the outputs the dialogs always had, so their
// items keep their numbers.
inline const QList<Output> kListingOutputs = {Output::Page, Output::DotMatrix, Output::TextFile,
                                              Output::Sheet};
inline const QList<Output> kAllOutputs = {Output::Page, Output::DotMatrix, Output::Html,
                                          Output::TextFile, Output::Sheet};

// The writers of a report its layouts describe whole (html may be null).
void writtenFrom(ReportDefinition& d,
                 const TextLayout& (*text)(),
                 const PageLayout& (*page)(),
                 const HtmlLayout& (*html)());

// Where a report of the "Relatórios" menu is asked for: its screen and
// the screen's caption, its menu entry, its dialog, its file and its
// command-line name and parameters.
struct MenuReportPlace {
    const char* requester;
    const char* caption;
    MenuEntry menu;
    const char* dialog;
    const char* stem;
    const char* command;
    const char* parameters;
};
void placeIn(ReportDefinition& e, const MenuReportPlace& place);

// What every report's data starts with: the company header and the logo.
ReportData reportBase(const QString& id);

// The period's texts as the reports print them, and the totals "DE" and "ATE".
void putPeriod(ReportData& d, const Criteria& c);

// The store's checks the report screens share. Each is the refusal, or none.
Refusal nothingFound();  // "Intervalos inexistentes."
// The name of a client or courier by code, blocked or not; empty: none.
QString clientName(const QString& code);
QString courierName(const QString& code);
// A courier's register fields (SALARIO, VALOR, SITUACAO) by code.
QString courierField(const QString& code, const char* field);
// Whether any order is stored at all.
bool anyOrder();

// A client or courier code as the screens take it: six digits.
QString sixDigits(const QString& code);

// The code of the one client or courier of a report, as the screens refuse
// it when it is left: unknown, blocked, or (salaried) without a salary.
Refusal clientRefusal(const QString& code);
Refusal courierRefusal(const QString& code, bool salaried);
// Why a courier with this salary has no salaried payment (empty: has one).
QString salaryRefusal(const QString& salary);

}  // namespace quelvarino
