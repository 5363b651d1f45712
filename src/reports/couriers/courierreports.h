#pragma once

#include "reports/reportcatalog.h"
#include "reports/reportlayout.h"

namespace quelvarino {

// The reports on one courier (closing, expenses, hours, salaried payment)
// and the listing of the orders issued.
QList<ReportDefinition> courierDefinitions();
const ReportDefinition& courierClosingReport();
const ReportDefinition& courierExpensesReport();
const ReportDefinition& courierHoursReport();
const ReportDefinition& orderListingReport();
const ReportDefinition& salariedPaymentReport();

// Their layouts.
const TextLayout& courierClosingText();
const TextLayout& courierExpensesText();
const TextLayout& courierHoursText();
const TextLayout& orderListingText();
const TextLayout& salariedPaymentText();
const PageLayout& courierClosingPage();
const PageLayout& courierExpensesPage();
const PageLayout& courierHoursPage();
const PageLayout& orderListingPage();
const PageLayout& salariedPaymentPage();
const HtmlLayout& courierClosingHtml();
const HtmlLayout& courierExpensesHtml();
const HtmlLayout& courierHoursHtml();
const HtmlLayout& orderListingHtml();
const HtmlLayout& salariedPaymentHtml();

}  // namespace quelvarino
