#pragma once

#include "reports/reportcatalog.h"

namespace quelvarino {

// The service order and the receipt.
QList<ReportDefinition> documentDefinitions();
const ReportDefinition& serviceOrderDocument();
const ReportDefinition& receiptDocument();

}  // namespace quelvarino
