#pragma once

#include "reports/reportcatalog.h"

namespace quelvarino {

// The listings of the three registers: clients, couriers, expense types.
QList<ReportDefinition> listingDefinitions();

}  // namespace quelvarino
