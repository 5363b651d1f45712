#include "app/screenlist.h"

#include "app/modules.h"
#include "orders/accesspassword.h"
#include "orders/ordersearch.h"
#include "orders/serviceorder.h"
#include "registers/clients.h"
#include "registers/couriers.h"
#include "registers/expenseentries.h"
#include "registers/expensetypes.h"
#include "registers/receipts.h"
#include "reports/reportcatalog.h"
#include "reportscreens/cashclosing.h"
#include "reportscreens/courierreports.h"
#include "reportscreens/managementpanel.h"
#include "reportscreens/printdialog.h"
#include "settings/company.h"
#include "settings/passwords.h"
#include "widgets/screen.h"

#include <functional>

namespace quelvarino {
namespace {

struct ScreenEntry {
    QString instance;
    QString caption;
    std::function<QWidget*()> make;
};

const char* const kPrintDialog = "Tipos de Impressão";

template <typename T>
ScreenEntry reportScreen() {
    const ReportDefinition& report = T::definition();
    return {report.requester, report.caption, [] { return new T; }};
}

ScreenEntry dialogOf(const ReportDefinition& report) {
    return {report.dialog, QString::fromUtf8(kPrintDialog),
            [&report] { return new PrintDialog(report); }};
}

QList<ScreenEntry> creationOrder() {
    QList<ScreenEntry> list = {
        {"Quelvarino0011_0", "Cadastro de Clientes", [] { return new TQuelvarino0011_0; }},
        {"Quelvarino0011_1", "Pesquisa de Clientes", [] { return new TQuelvarino0011_1; }},
        {"Quelvarino0012_0", "Cadastro de Motociclistas", [] { return new TQuelvarino0012_0; }},
        {"Quelvarino0012_1", "Pesquisa de Motociclista", [] { return new TQuelvarino0012_1; }},
        {"Quelvarino0013_0", "Cadastro de Despesas", [] { return new TQuelvarino0013_0; }},
        {"Quelvarino0013_1", "Pesquisa de Despesas", [] { return new TQuelvarino0013_1; }},
        {"Quelvarino0014_0", "Parametros Iniciais", [] { return new TQuelvarino0014_0; }},
        {"Quelvarino0014_1", "Alteração da Senha de Acesso", [] { return new TQuelvarino0014_1; }},
        {"Quelvarino0021_0", "Emissão da Ordem de Serviço (OS)",
         [] { return new TQuelvarino0021_0; }},
        {"Quelvarino0021_1", "Pesquisa de Ordens de Serviços",
         [] { return new TQuelvarino0021_1; }},
        {"Quelvarino0021_3", "Senha de Acesso", [] { return new TQuelvarino0021_3; }},
        {"Quelvarino0022_0", "Emissão de Recibo  dos Clientes",
         [] { return new TQuelvarino0022_0; }},
        {"Quelvarino0022_1", "Pesquisa de Recibo dos Clientes",
         [] { return new TQuelvarino0022_1; }},
        {"Quelvarino0031_0", "Entrada das Despesas do Motoboy",
         [] { return new TQuelvarino0031_0; }},
        {"Quelvarino0031_1", "Pesquisa de Entrada de Despesas do Motoboy",
         [] { return new TQuelvarino0031_1; }},
    };
    // A register's or a document's print dialog comes after the other
    // screens of its number (the order's after its password prompt).
    for (const ReportDefinition& report : ReportCatalog::entries()) {
        if (report.kind == ReportKind::Menu)
            continue;
        const QString family = report.requester.left(report.requester.lastIndexOf('_') + 1);
        qsizetype at = list.size();
        for (qsizetype i = 0; i < list.size(); ++i) {
            if (list[i].instance.startsWith(family))
                at = i + 1;
        }
        list.insert(at, dialogOf(report));
    }
    // The "Relatórios" screens, each followed by its dialog.
    const QList<ScreenEntry> reports = {
        reportScreen<TQuelvarino0041_0>(), reportScreen<TQuelvarino0042_0>(),
        reportScreen<TQuelvarino0043_0>(), reportScreen<TQuelvarino0044_0>(),
        reportScreen<TQuelvarino0045_0>(), reportScreen<TQuelvarino0046_0>(),
        reportScreen<TQuelvarino0047_0>(), reportScreen<TQuelvarino0048_0>()};
    for (const ScreenEntry& screen : reports) {
        list.append(screen);
        list.append(dialogOf(*ReportCatalog::byRequester(screen.instance)));
    }
    list.append({"Quelvarino0049_0", "Painel Gerencial", [] { return new TQuelvarino0049_0; }});
    list.append({"Quelvarino00Emp_0", "Dados da Empresa", [] { return new TQuelvarino00Emp_0; }});
    list.append({"Quelvarino00Sbr_0", "Descrição dos Módulos do Sistema Quelvarino",
                 [] { return new TQuelvarino00Sbr_0; }});
    return list;
}

}  // namespace

void createScreens() {
    for (const ScreenEntry& entry : creationOrder())
        Screens::add(entry.make());
}

}  // namespace quelvarino
