#pragma once

#include "reports/textdocument.h"

#include <QString>
#include <functional>

namespace quelvarino {

class Query;

QByteArray serviceOrderText(const CompanyHeader& company, const ReportRow& order, bool twoCopies);

QByteArray receiptText(const CompanyHeader& company, const ReportRow& receipt, bool twoCopies);

// The register listings' layouts, and the listings over a prepared query.
struct TextLayout;
const TextLayout& clientListingLayout();
const TextLayout& courierListingLayout();
const TextLayout& expenseTypeListingLayout();
QByteArray clientListingText(const CompanyHeader& company, Query& rows);
QByteArray courierListingText(const CompanyHeader& company, Query& rows);
QByteArray expenseTypeListingText(const CompanyHeader& company, Query& rows);

}  // namespace quelvarino
