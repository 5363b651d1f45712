#include "reports/courierreports.h"

#include "core/money.h"
#include "data/query.h"
#include "data/table.h"
#include "registers/codelookup.h"
#include "registers/couriers.h"
#include "widgets/application.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quelvarino {
namespace {

void addOrderChoice(QGridLayout* grid, QComboBox* combo) {
    grid->addWidget(new QLabel(QStringLiteral("Ordenar por :"), combo->parentWidget()), 2, 0);
    grid->addWidget(combo, 2, 1, 1, 3);
}

}  // namespace

const QStringList& courierOrderFields() {
    static const QStringList fields = {"COMANDA",  "DATA",      "CLIENTE",   "HORA1",
                                       "HORA2",    "HORA3",     "HORA4",     "TOTHORN",
                                       "TOTHOR50", "TOTHOR100", "TOTVALMOT", "VALMOT"};
    return fields;
}

const QStringList& courierExpenseFields() {
    static const QStringList fields = {"CONT",    "DATA",  "NUMDESP", "CODDESP",
                                       "DESPESA", "VALOR", "CODMOT"};
    return fields;
}

// ---- the courier on the screen ------------------------------------------------------

CourierReportScreen::CourierReportScreen(const QString& instance,
                                         const QString& caption,
                                         const QString& dialog,
                                         const QString& searchCaller,
                                         QWidget* parent)
    : ReportScreen(instance, caption, dialog, parent),
      caller_(searchCaller),
      query2_(std::make_unique<Query>()) {
    query2_->setObjectName(QStringLiteral("Query2"));
    std::tie(Edcodmot, Edmotoboy, Btn_ConsMot) = addLookupRow(
        1, {"Motoboy :", "Edcodmot", "Edmotoboy", "Btn_ConsMot", 24}, [this] { EdcodmotExit(); },
        [this] { Btn_ConsMotClick(); });
}

CourierReportScreen::~CourierReportScreen() = default;

QString CourierReportScreen::refusal(const QString&) const {
    return QString();
}

void CourierReportScreen::EdcodmotExit() {
    CodeLookup courier = courierLookup(
        QStringLiteral("Código do motoboy inexistente."),
        QStringLiteral("Situação do Motoboy BLOQUEADO."),
        [this](Table& row) {
            SearchScreen::fillControls(this, {{"Edcodmot", "COD"}, {"Edmotoboy", "NOME"}}, row);
        },
        {Edmotoboy});
    courier.refusal = [this](Table& row) {
        return refusal(row.fieldByName(QStringLiteral("SALARIO")).asString());
    };
    lookUpCode(Edcodmot, courier);
}

void CourierReportScreen::Btn_ConsMotClick() {
    openSearchFor(TQuelvarino0012_1::instance(), caller_);
}

void CourierReportScreen::reset() {
    ReportScreen::reset();
    query2_->close();
    Edcodmot->clear();
    Edmotoboy->clear();
    Edcodmot->setFocus();
}

bool CourierReportScreen::criteriaGiven() {
    if (Edcodmot->text().isEmpty()) {
        MessageBox::warning(QStringLiteral("Selecione o motoboy."));
        Edcodmot->setFocus();
        return false;
    }
    if (!datesFilled())
        return refuseUnfilledDates();
    return true;
}

bool CourierReportScreen::selectOrders(const QString& orderBy) {
    Query& q = *Query1();
    q.clear();
    q.add(QStringLiteral("Select ") + courierOrderFields().join(QStringLiteral(", ")) +
          QStringLiteral(" from TBOrdem"));
    q.add(QStringLiteral("Where CODMOT = :motoboy and (DATA >= :de and DATA <= :ate)"));
    q.add(orderBy);
    q.bindText(QStringLiteral(":motoboy"), Edcodmot->text());
    bindPeriod(q, Eddata1, Eddata2);
    q.open();
    if (!ordersFound(q))
        return false;
    return true;
}

bool CourierReportScreen::selectExpenses(Query& q, bool inPeriod, const QString& orderBy) {
    q.clear();
    q.add(QStringLiteral("Select ") + courierExpenseFields().join(QStringLiteral(", ")) +
          QStringLiteral(" from TBEntrDesp"));
    q.add(inPeriod ? QStringLiteral("Where CODMOT = :motoboy and (DATA >= :de and DATA <= :ate)")
                   : QStringLiteral("Where CODMOT = :motoboy"));
    q.add(orderBy);
    q.bindText(QStringLiteral(":motoboy"), Edcodmot->text());
    if (inPeriod)
        bindPeriod(q, Eddata1, Eddata2);
    q.open();
    return !q.isEmpty() && !q.fieldText(QStringLiteral("CONT")).isEmpty();
}

// ---- 0043_0 ----------------------------------------------------------------------------

TQuelvarino0043_0::TQuelvarino0043_0(QWidget* parent)
    : CourierReportScreen(QStringLiteral("Quelvarino0043_0"),
                          QStringLiteral("Fechamento do motoboy"),
                          QStringLiteral("Quelvarino0043_1"),
                          QStringLiteral("fechamento_motoboy"),
                          parent) {}

bool TQuelvarino0043_0::prepare() {
    if (!criteriaGiven() || !selectOrders(QStringLiteral("Order By DATA, COMANDA")))
        return false;
    selectExpenses(*Query2(), false, QStringLiteral("Order By DATA, CONT"));
    return true;
}

// ---- 0044_0 ----------------------------------------------------------------------------

TQuelvarino0044_0::TQuelvarino0044_0(QWidget* parent)
    : CourierReportScreen(QStringLiteral("Quelvarino0044_0"),
                          QStringLiteral("Despesas do Motoboy"),
                          QStringLiteral("Quelvarino0044_1"),
                          QStringLiteral("despesa_motoboy"),
                          parent) {}

bool TQuelvarino0044_0::prepare() {
    if (!criteriaGiven())
        return false;
    if (!selectExpenses(*Query1(), true, QStringLiteral("Order By DATA, CONT")))
        return refuseNothing(Query1());
    return true;
}

// ---- 0045_0 ----------------------------------------------------------------------------

TQuelvarino0045_0::TQuelvarino0045_0(QWidget* parent)
    : CourierReportScreen(QStringLiteral("Quelvarino0045_0"),
                          QStringLiteral("Listagem das Horas do Motoboy"),
                          QStringLiteral("Quelvarino0045_1"),
                          QStringLiteral("listagem_horas"),
                          parent) {
    Ed_Ord = orderCombo(Eddata1->parentWidget(),
                        {QStringLiteral("Nº Ordem de Serviço"), QStringLiteral("Data")});
    addOrderChoice(criteria(), Ed_Ord);
}

bool TQuelvarino0045_0::prepare() {
    if (!criteriaGiven())
        return false;
    const bool byNumber = Ed_Ord->currentText() == QStringLiteral("Nº Ordem de Serviço");
    if (!selectOrders(byNumber ? QStringLiteral("Order By COMANDA")
                               : QStringLiteral("Order By DATA, COMANDA")))
        return false;
    selectExpenses(*Query2(), false, QStringLiteral("Order By DATA, CONT"));
    return true;
}

// ---- 0047_0 ----------------------------------------------------------------------------

TQuelvarino0047_0::TQuelvarino0047_0(QWidget* parent)
    : CourierReportScreen(QStringLiteral("Quelvarino0047_0"),
                          QStringLiteral("Pagamento do Motoboy Autônomo"),
                          QStringLiteral("Quelvarino0047_1"),
                          QStringLiteral("mot_fixo"),
                          parent) {
    Ed_Ord =
        orderCombo(Eddata1->parentWidget(), {QStringLiteral("Despesa"), QStringLiteral("Data")});
    addOrderChoice(criteria(), Ed_Ord);
}

// The payment of a salaried courier: a courier without a salary is refused
// here as in the search.
QString TQuelvarino0047_0::refusal(const QString& salary) const {
    const QString shown =
        salary.isEmpty() || !isNumberText(salary) ? QStringLiteral("0,00") : reformatMoney(salary);
    return shown == QLatin1String("0,00")
               ? QStringLiteral("Este motociclista não tem salário fixo.")
               : QString();
}

bool TQuelvarino0047_0::prepare() {
    if (!criteriaGiven())
        return false;
    const bool byExpense = Ed_Ord->currentText() == QStringLiteral("Despesa");
    if (!selectExpenses(*Query1(), true,
                        byExpense ? QStringLiteral("Order By DESPESA, DATA, CONT")
                                  : QStringLiteral("Order By DATA, CONT")))
        return refuseNothing(Query1());
    return true;
}

// ---- 0046_0 ----------------------------------------------------------------------------

TQuelvarino0046_0::TQuelvarino0046_0(QWidget* parent)
    : ReportScreen(QStringLiteral("Quelvarino0046_0"),
                   QStringLiteral("Listagem das OS Emitidas"),
                   QStringLiteral("Quelvarino0046_1"),
                   parent) {}

bool TQuelvarino0046_0::prepare() {
    if (!datesFilled())
        return refuseUnfilledDates();
    Query& q = *Query1();
    q.clear();
    q.add(QStringLiteral("Select COMANDA, DATA, CLIENTE, HORA4 from TBOrdem"));
    q.add(QStringLiteral("Where (DATA >= :de and DATA <= :ate)"));
    // The orders of the period as they were issued.
    q.add(QStringLiteral("Order By DATA, COMANDA"));
    bindPeriod(q, Eddata1, Eddata2);
    q.open();
    if (!ordersFound(q))
        return false;
    return true;
}

}  // namespace quelvarino
