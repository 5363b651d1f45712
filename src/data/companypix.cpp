#include "data/companypix.h"

#include "core/errors.h"
#include "core/money.h"
#include "data/table.h"

namespace quelvarino {

pix::CompanyPix companyPixFromStore() {
    Table company(QStringLiteral("tbempresa"));
    company.setIndexName(QStringLiteral("RAZAOSOCIAL"));
    company.open();
    company.first();
    if (company.isEmpty())
        return {};
    auto f = [&company](const char* name) { return company.fieldByName(name).asString(); };
    return {f("PIXTIPO"), f("PIXCHAVE"), f("PIXNOME"), f("PIXCIDADE"),
            f("PIXIMPRIME") == QLatin1String("S")};
}

QString documentPixPayload(const pix::CompanyPix& company,
                           const QString& prefix,
                           const QString& number,
                           const QString& money) {
    if (!company.print || number.trimmed().isEmpty())
        return QString();
    // The amount as the document prints it: rounded to cents, never cut.
    std::optional<qint64> cents;
    try {
        cents = pix::centsOf(formatMoney(parseMoney(money)));
    } catch (const ConversionError&) {
        return QString();
    }
    if (!cents)
        return QString();
    return pix::documentPayload(company, pix::transactionId(prefix, number), *cents);
}

QString documentPixPayload(const QString& prefix,
                           const QString& number,
                           const QString& storedMoney) {
    return documentPixPayload(companyPixFromStore(), prefix, number, storedMoney);
}

}  // namespace quelvarino
