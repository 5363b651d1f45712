#include "reportscreens/courierreports.h"

#include "data/table.h"
#include "registers/codelookup.h"
#include "registers/couriers.h"
#include "reports/couriers/courierreports.h"
#include "reports/definitionparts.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quelvarino {

// ---- the courier on the screen ------------------------------------------------------

CourierReportScreen::CourierReportScreen(const ReportDefinition& report,
                                         const QString& searchCaller,
                                         QWidget* parent)
    : ReportScreen(report, parent), caller_(searchCaller) {
    std::tie(Edcodmot, Edmotoboy, Btn_ConsMot) = addLookupRow(
        1, {"Motoboy :", "Edcodmot", "Edmotoboy", "Btn_ConsMot", 24}, [this] { EdcodmotExit(); },
        [this] { Btn_ConsMotClick(); });
}

void CourierReportScreen::addOrderChoice() {
    Ed_Ord = orderCombo(Eddata1->parentWidget(), report());
    criteriaGrid()->addWidget(new QLabel(QStringLiteral("Ordenar por :"), Ed_Ord->parentWidget()),
                              2, 0);
    criteriaGrid()->addWidget(Ed_Ord, 2, 1, 1, 3);
}

Criteria CourierReportScreen::criteria() const {
    Criteria c = ReportScreen::criteria();
    c.courier = Edcodmot->text();
    c.order = Ed_Ord ? Ed_Ord->currentIndex() : -1;
    return c;
}

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
    Edcodmot->clear();
    Edmotoboy->clear();
    Edcodmot->setFocus();
}

// ---- the screens ------------------------------------------------------------------------

TQuelvarino0043_0::TQuelvarino0043_0(QWidget* parent)
    : CourierReportScreen(definition(), QStringLiteral("fechamento_motoboy"), parent) {}

const ReportDefinition& TQuelvarino0043_0::definition() {
    return courierClosingReport();
}

TQuelvarino0044_0::TQuelvarino0044_0(QWidget* parent)
    : CourierReportScreen(definition(), QStringLiteral("despesa_motoboy"), parent) {}

const ReportDefinition& TQuelvarino0044_0::definition() {
    return courierExpensesReport();
}

TQuelvarino0045_0::TQuelvarino0045_0(QWidget* parent)
    : CourierReportScreen(definition(), QStringLiteral("listagem_horas"), parent) {
    addOrderChoice();
}

const ReportDefinition& TQuelvarino0045_0::definition() {
    return courierHoursReport();
}

TQuelvarino0047_0::TQuelvarino0047_0(QWidget* parent)
    : CourierReportScreen(definition(), QStringLiteral("mot_fixo"), parent) {
    addOrderChoice();
}

const ReportDefinition& TQuelvarino0047_0::definition() {
    return salariedPaymentReport();
}

// The payment of a salaried courier: a courier without a salary is refused
// here as in the search.
QString TQuelvarino0047_0::refusal(const QString& salary) const {
    return salaryRefusal(salary);
}

TQuelvarino0046_0::TQuelvarino0046_0(QWidget* parent) : ReportScreen(definition(), parent) {}

const ReportDefinition& TQuelvarino0046_0::definition() {
    return orderListingReport();
}

}  // namespace quelvarino
