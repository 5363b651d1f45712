#include "app/screenlist.h"

#include "app/modules.h"
#include "data/datafolder.h"
#include "orders/accesspassword.h"
#include "orders/ordersearch.h"
#include "orders/serviceorder.h"
#include "reports/cashclosing.h"
#include "reports/courierreports.h"
#include "reports/managementpanel.h"
#include "reports/printdialog.h"
#include "settings/company.h"
#include "settings/passwords.h"

#include <QLineEdit>
#include "registers/clients.h"
#include "registers/couriers.h"
#include "registers/expenseentries.h"
#include "registers/expensetypes.h"
#include "registers/receipts.h"
#include "widgets/screen.h"

#include <functional>

namespace quelvarino {
namespace {

struct ScreenEntry {
    const char* instance;
    const char* caption;
    std::function<QWidget*()> make;
};

const char* const kPrintDialog = "Tipos de Impressão";

// A register-listing dialog: page, dot matrix or file, with its selection block.
std::function<QWidget*()> listingDialog(const char* instance,
                                        const char* reportId,
                                        const char* requester,
                                        PrintDialog::Listing listing,
                                        const char* fileStem) {
    return [=] {
        PrintDialog::Config c;
        c.instance = QString::fromLatin1(instance);
        c.reportId = QString::fromLatin1(reportId);
        c.requester = QString::fromLatin1(requester);
        c.listing = listing;
        c.defaultPath = [fileStem] {
            return DataFolder::reportsFolder() + '/' + QString::fromLatin1(fileStem);
        };
        return new PrintDialog(c);
    };
}

QWidget* serviceOrderDialog() {
    PrintDialog::Config c;
    c.instance = QStringLiteral("Quelvarino0021_5");
    c.reportId = QStringLiteral("21_0");
    c.requester = QStringLiteral("Quelvarino0021_0");
    // Rebuilt from the number on the order screen every time.
    c.defaultPath = [] {
        auto* os = TQuelvarino0021_0::instance();
        return DataFolder::reportsFolder() + QStringLiteral("/OS") +
               (os ? os->Edcomanda->text() : QString());
    };
    return new PrintDialog(c);
}

QWidget* receiptDialog() {
    PrintDialog::Config c;
    c.instance = QStringLiteral("Quelvarino0022_4");
    c.reportId = QStringLiteral("22_0");
    c.requester = QStringLiteral("Quelvarino0022_0");
    // Rebuilt from the number on the receipt screen every time.
    c.defaultPath = [] {
        auto* receipt = TQuelvarino0022_0::instance();
        return DataFolder::reportsFolder() + QStringLiteral("/Recibo") +
               (receipt ? receipt->Edrecibo->text() : QString());
    };
    return new PrintDialog(c);
}

// The dialog of a "Relatórios" report: its file is Rel0<n> in the reports folder.
std::function<QWidget*()> reportDialog(int n) {
    return [n] {
        PrintDialog::Config c;
        c.instance = QStringLiteral("Quelvarino004%1_1").arg(n);
        c.reportId = QStringLiteral("4%1_0").arg(n);
        c.requester = QStringLiteral("Quelvarino004%1_0").arg(n);
        c.defaultPath = [n] {
            return DataFolder::reportsFolder() + QStringLiteral("/Rel0%1").arg(n);
        };
        return new PrintDialog(c);
    };
}

QList<ScreenEntry> creationOrder() {
    QList<ScreenEntry> list = {
        {"Quelvarino0011_0", "Cadastro de Clientes", [] { return new TQuelvarino0011_0; }},
        {"Quelvarino0011_1", "Pesquisa de Clientes", [] { return new TQuelvarino0011_1; }},
        {"Quelvarino0011_2", kPrintDialog,
         listingDialog("Quelvarino0011_2", "11_0", "Quelvarino0011_0",
                       PrintDialog::Listing::Clients, "cadcli")},
        {"Quelvarino0012_0", "Cadastro de Motociclistas", [] { return new TQuelvarino0012_0; }},
        {"Quelvarino0012_1", "Pesquisa de Motociclista", [] { return new TQuelvarino0012_1; }},
        {"Quelvarino0012_2", kPrintDialog,
         listingDialog("Quelvarino0012_2", "12_0", "Quelvarino0012_0",
                       PrintDialog::Listing::Couriers, "cadmot")},
        {"Quelvarino0013_0", "Cadastro de Despesas", [] { return new TQuelvarino0013_0; }},
        {"Quelvarino0013_1", "Pesquisa de Despesas", [] { return new TQuelvarino0013_1; }},
        {"Quelvarino0013_2", kPrintDialog,
         listingDialog("Quelvarino0013_2", "13_0", "Quelvarino0013_0",
                       PrintDialog::Listing::ExpenseTypes, "caddesp")},
        {"Quelvarino0014_0", "Parametros Iniciais", [] { return new TQuelvarino0014_0; }},
        {"Quelvarino0014_1", "Alteração da Senha de Acesso", [] { return new TQuelvarino0014_1; }},
        {"Quelvarino0021_0", "Emissão da Ordem de Serviço (OS)",
         [] { return new TQuelvarino0021_0; }},
        {"Quelvarino0021_1", "Pesquisa de Ordens de Serviços",
         [] { return new TQuelvarino0021_1; }},
        {"Quelvarino0021_3", "Senha de Acesso", [] { return new TQuelvarino0021_3; }},
        {"Quelvarino0021_5", kPrintDialog, serviceOrderDialog},
        {"Quelvarino0022_0", "Emissão de Recibo  dos Clientes",
         [] { return new TQuelvarino0022_0; }},
        {"Quelvarino0022_1", "Pesquisa de Recibo dos Clientes",
         [] { return new TQuelvarino0022_1; }},
        {"Quelvarino0022_4", kPrintDialog, receiptDialog},
        {"Quelvarino0031_0", "Entrada das Despesas do Motoboy",
         [] { return new TQuelvarino0031_0; }},
        {"Quelvarino0031_1", "Pesquisa de Entrada de Despesas do Motoboy",
         [] { return new TQuelvarino0031_1; }},
    };
    const char* const reports[8] = {
        "Fechamento do  Caixa",          "Fechamento do Caixa  por Cliente",
        "Fechamento do motoboy",         "Despesas do Motoboy",
        "Listagem das Horas do Motoboy", "Listagem das OS Emitidas",
        "Pagamento do Motoboy Autônomo", "Relatório Totalizador de Serviços por Período"};
    static QList<QByteArray> names;  // keeps the generated names alive
    names.clear();
    for (int n = 1; n <= 8; ++n) {
        names.append(QStringLiteral("Quelvarino004%1_0").arg(n).toLatin1());
        names.append(QStringLiteral("Quelvarino004%1_1").arg(n).toLatin1());
    }
    const std::function<QWidget*()> screens[8] = {
        [] { return new TQuelvarino0041_0; }, [] { return new TQuelvarino0042_0; },
        [] { return new TQuelvarino0043_0; }, [] { return new TQuelvarino0044_0; },
        [] { return new TQuelvarino0045_0; }, [] { return new TQuelvarino0046_0; },
        [] { return new TQuelvarino0047_0; }, [] { return new TQuelvarino0048_0; }};
    for (int n = 0; n < 8; ++n) {
        list.append({names[2 * n].constData(), reports[n], screens[n]});
        list.append({names[2 * n + 1].constData(), kPrintDialog, reportDialog(n + 1)});
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
