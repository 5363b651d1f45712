#pragma once

#include "reports/reportcatalog.h"
#include "reports/reportlayout.h"

namespace quelvarino {

// What every report's data starts with: the company header and the logo.
ReportData reportBase(const QString& id);

// The register listings ("11_0", "12_0", "13_0").
ReportData collectListing(const QString& id, const PrintRequest& request);
const PageLayout& clientListingPage();
const PageLayout& courierListingPage();
const PageLayout& expenseTypeListingPage();

// The receipt on screen ("22_0").
ReportData collectReceipt(const PrintRequest& request);

// The service order on screen ("21_0").
ReportData collectServiceOrder(const PrintRequest& request);

// The cash closings by period ("41_0") and by client ("42_0"), and the
// services totalizer ("48_0").
ReportData collectCashByPeriod(const PrintRequest& request);
ReportData collectCashByClient(const PrintRequest& request);
ReportData collectTotalizer(const PrintRequest& request);
const TextLayout& cashByPeriodText();
const TextLayout& cashByClientText();
QByteArray totalizerText(const ReportData& data);
const PageLayout& cashByPeriodPage();
const PageLayout& cashByClientPage();
const PageLayout& totalizerPage(bool couriers);
const HtmlLayout& cashByPeriodHtml();
const HtmlLayout& cashByClientHtml();
QByteArray totalizerHtml(const ReportData& data);

// The courier reports ("43_0" closing, "44_0" expenses, "45_0" hours,
// "47_0" salaried payment) and the order listing ("46_0").
ReportData collectCourierClosing(const PrintRequest& request);
ReportData collectCourierExpenses(const PrintRequest& request);
ReportData collectCourierHours(const PrintRequest& request);
ReportData collectOrderListing(const PrintRequest& request);
ReportData collectSalariedPayment(const PrintRequest& request);
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
