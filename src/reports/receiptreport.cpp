#include "data/table.h"
#include "registers/receipts.h"
#include "reports/reportdefinitions.h"
#include "widgets/maskedit.h"

#include <QLineEdit>

namespace quelvarino {

// The receipt as the screen shows it, saved or not; the client's address
// and phone from the register.
ReportData collectReceipt(const PrintRequest& request) {
    ReportData d = reportBase(QStringLiteral("22_0"));
    d.twoCopies = request.twoCopies;
    TQuelvarino0022_0* screen = TQuelvarino0022_0::instance();
    if (!screen)
        return d;
    ReceiptPrint& r = d.receipt;
    r.recibo = screen->Edrecibo->text();
    r.codcli = screen->Edcodcli->text();
    r.cliente = screen->Edcliente->text();
    r.cnpj = screen->Edcnpj->text();
    r.inscest = screen->Edinscest->text();
    r.valor = screen->Edvalor->text();
    r.extenso = screen->Edextenso->text();
    r.referente = screen->Edref->text();
    r.local = screen->Edlocal->text();
    r.data = screen->Eddata->text();
    Table clients(QStringLiteral("tbclientes"));
    if (!r.codcli.isEmpty() && clients.findExact(QStringLiteral("CODCLI"), r.codcli)) {
        r.endereco1 = clients.fieldByName("ENDERECO1").asString();
        r.bairro1 = clients.fieldByName("BAIRRO1").asString();
        r.cidade1 = clients.fieldByName("CIDADE1").asString();
        r.uf1 = clients.fieldByName("UF1").asString();
        r.telefone1 = clients.fieldByName("TELEFONE1_1").asString();
    }
    // The code carries the value the receipt prints.
    r.pixPayload = documentPixPayload(QStringLiteral("RC"), r.recibo, r.valor);
    return d;
}

}  // namespace quelvarino
