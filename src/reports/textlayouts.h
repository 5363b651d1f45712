#pragma once

#include "reports/textdocument.h"

#include <QString>
#include <functional>

namespace quelvarino {

class Query;

// What the service-order printout reads from the order screen, as shown.
struct ServiceOrderPrint {
    QString data, comanda, codcli, cliente, end, bairro, cid, uf, cep, ddd, fone1, fone2;
    bool phones = false;  // Rbtel: phones on the requester's line
    QString solicit, hora1, hora2, hora3, hora4, codmot, motoboy;
    QString mar, mod, ano, plac, courierPhone, obs;
};

QByteArray serviceOrderText(const CompanyHeader& company,
                            const ServiceOrderPrint& order,
                            bool twoCopies);

// Register listings over a prepared query.
QByteArray clientListingText(const CompanyHeader& company, Query& rows);
QByteArray courierListingText(const CompanyHeader& company, Query& rows);
QByteArray expenseTypeListingText(const CompanyHeader& company, Query& rows);

}  // namespace quelvarino
