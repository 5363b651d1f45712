#pragma once

#include "core/pix.h"

#include <QString>

namespace quelvarino {

// The PIX code of a stored document: the company's PIX data, `prefix` and
// `number` as the transaction id ("OS0000000123", "RC000045") and the
// stored money text as the amount. Empty when the company has no key or
// prints no code, or the amount is zero or no amount.
QString documentPixPayload(const QString& prefix,
                           const QString& number,
                           const QString& storedMoney);
// The same with the company's PIX data read once by the caller.
pix::CompanyPix companyPixFromStore();
QString documentPixPayload(const pix::CompanyPix& company,
                           const QString& prefix,
                           const QString& number,
                           const QString& money);

}  // namespace quelvarino
