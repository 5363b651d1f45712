#pragma once

#include "reports/reportcatalog.h"
#include "reports/reportlayout.h"

namespace quelvarino {

// The cash closings by period and by client, and the services totalizer.
QList<ReportDefinition> cashDefinitions();
const ReportDefinition& cashByPeriodReport();
const ReportDefinition& cashByClientReport();
const ReportDefinition& totalizerReport();

// Their layouts.
const TextLayout& cashByPeriodText();
const TextLayout& cashByClientText();
QByteArray totalizerText(const ReportData& data);
const PageLayout& cashByPeriodPage();
const PageLayout& cashByClientPage();
const PageLayout& totalizerPage(bool couriers);
const HtmlLayout& cashByPeriodHtml();
const HtmlLayout& cashByClientHtml();
QByteArray totalizerHtml(const ReportData& data);

}  // namespace quelvarino
