#include "data/table.h"
#include "orders/serviceorder.h"
#include "reports/reportdefinitions.h"
#include "widgets/maskedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace quelvarino {
namespace {

// The courier's first phone, for the courier with exactly this code; a
// phone that holds only its mask is no phone.
QString courierPhone(const QString& code) {
    Table couriers(QStringLiteral("tbmotociclista"));
    if (!couriers.findExact(QStringLiteral("COD"), code))
        return QString();
    const QString phone = couriers.fieldByName("TELEFONE1").asString();
    return phone.trimmed() == QLatin1String("-") ? QString() : phone;
}

}  // namespace

// The order as the screen shows it: the only place that reads the screen.
ReportData collectServiceOrder(const PrintRequest& request) {
    ReportData d = reportBase(QStringLiteral("21_0"));
    d.twoCopies = request.twoCopies;
    auto* os = TQuelvarino0021_0::instance();
    if (!os)
        return d;
    ServiceOrderPrint& o = d.order;
    o.data = os->Eddata->text();
    o.comanda = os->Edcomanda->text();
    o.codcli = os->Edcodcli->text();
    o.cliente = os->Edcliente->text();
    o.end = os->Edend->text();
    o.bairro = os->Edbairro->text();
    o.cid = os->Edcid->text();
    o.uf = os->Eduf->currentText();
    o.cep = os->Edcep->text();
    o.ddd = os->Edddd->text();
    o.fone1 = os->Edfone1->text();
    o.fone2 = os->Edfone2->text();
    o.phones = os->Rbtel->isChecked();
    o.solicit = os->Edsolicit->text();
    o.hora1 = os->Edhora1->text();
    o.hora2 = os->Edhora2->text();
    o.hora3 = os->Edhora3->text();
    o.hora4 = os->Edhora4->text();
    o.codmot = os->Edcodmot->text();
    o.motoboy = os->Edmotoboy->text();
    o.mar = os->Edmar->text();
    o.mod = os->Edmod->text();
    o.ano = os->Edano->text();
    o.plac = os->Edplac->text();
    o.courierPhone = courierPhone(o.codmot);
    o.obs = os->Edobs->toPlainText();
    // The code carries the total as stored; an order billed later
    // ("FATURADO") is paid against its invoice, not this document.
    Table orders(QStringLiteral("tbordem"));
    if (!o.comanda.isEmpty() && orders.findExact(QStringLiteral("COMANDA"), o.comanda) &&
        orders.fieldByName("PAGAMENTO").asString().trimmed() != QLatin1String("FATURADO"))
        o.pixPayload = documentPixPayload(QStringLiteral("OS"), o.comanda,
                                          orders.fieldByName("TOTVAL").asString());
    return d;
}

}  // namespace quelvarino
