#include "reportscreens/cashclosing.h"

#include "data/table.h"
#include "registers/clients.h"
#include "registers/codelookup.h"
#include "reports/cash/cashreports.h"
#include "widgets/application.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace quelvarino {
namespace {

QGroupBox* paymentGroup(QWidget* parent, QRadioButton** avista, QRadioButton** outros) {
    auto* group = new QGroupBox(QStringLiteral("Forma de Pagamento :"), parent);
    auto* row = new QHBoxLayout(group);
    *avista = new QRadioButton(QStringLiteral("À Vista"), group);
    (*avista)->setObjectName(QStringLiteral("Rbavista"));
    *outros = new QRadioButton(QStringLiteral("Outros"), group);
    (*outros)->setObjectName(QStringLiteral("Rboutros"));
    row->addWidget(*avista);
    row->addWidget(*outros);
    row->addStretch();
    return group;
}

}  // namespace

CashClosingScreen::CashClosingScreen(const ReportDefinition& report, QWidget* parent)
    : ReportScreen(report, parent) {}

Criteria CashClosingScreen::criteria() const {
    Criteria c = ReportScreen::criteria();
    c.payment = payment().chosen();
    c.order = Ed_Ord->currentIndex();
    return c;
}

void CashClosingScreen::addPaymentAndOrder(int row) {
    QWidget* box = Eddata1->parentWidget();
    criteriaGrid()->addWidget(paymentGroup(box, &Rbavista, &Rboutros), row, 0, 1, 5);
    Ed_Ord = orderCombo(box, report());
    criteriaGrid()->addWidget(new QLabel(QStringLiteral("Ordenar por :"), box), row + 1, 0);
    criteriaGrid()->addWidget(Ed_Ord, row + 1, 1, 1, 3);
}

void CashClosingScreen::reset() {
    ReportScreen::reset();
    payment().uncheck();
}

// ---- 0041_0 -------------------------------------------------------------------------

TQuelvarino0041_0::TQuelvarino0041_0(QWidget* parent) : CashClosingScreen(definition(), parent) {
    addPaymentAndOrder(1);
}

const ReportDefinition& TQuelvarino0041_0::definition() {
    return cashByPeriodReport();
}

// ---- 0042_0 -------------------------------------------------------------------------

TQuelvarino0042_0::TQuelvarino0042_0(QWidget* parent) : CashClosingScreen(definition(), parent) {
    // Wide enough for a whole company name.
    std::tie(Edcodcli, Edcliente, Btn_ConsCli) = addLookupRow(
        1, {"Cliente :", "Edcodcli", "Edcliente", "Btn_ConsCli", 28}, [this] { EdcodcliExit(); },
        [this] { Btn_ConsCliClick(); });
    addPaymentAndOrder(2);
}

const ReportDefinition& TQuelvarino0042_0::definition() {
    return cashByClientReport();
}

Criteria TQuelvarino0042_0::criteria() const {
    Criteria c = CashClosingScreen::criteria();
    c.client = Edcodcli->text();
    return c;
}

void TQuelvarino0042_0::EdcodcliExit() {
    lookUpCode(Edcodcli, clientLookup(
                             [this](Table& row) {
                                 SearchScreen::fillControls(
                                     this, {{"Edcodcli", "CODCLI"}, {"Edcliente", "RAZAOSOCIAL"}},
                                     row);
                             },
                             {Edcliente}));
}

void TQuelvarino0042_0::Btn_ConsCliClick() {
    openSearchFor(TQuelvarino0011_1::instance(), QStringLiteral("fechamento_cliente"));
}

void TQuelvarino0042_0::reset() {
    CashClosingScreen::reset();
    Edcodcli->clear();
    Edcliente->clear();
    Edcodcli->setFocus();
}

// ---- 0048_0 -------------------------------------------------------------------------

TQuelvarino0048_0::TQuelvarino0048_0(QWidget* parent) : ReportScreen(definition(), parent) {
    QWidget* box = Eddata1->parentWidget();
    auto* kind = new QHBoxLayout;
    Rbcli = new QRadioButton(QStringLiteral("Cliente"), box);
    Rbcli->setObjectName(QStringLiteral("Rbcli"));
    Rbmot = new QRadioButton(QStringLiteral("Motoboy"), box);
    Rbmot->setObjectName(QStringLiteral("Rbmot"));
    kind->addWidget(Rbcli);
    kind->addWidget(Rbmot);
    kind->addStretch();
    criteriaGrid()->addLayout(kind, 1, 0, 1, 5);
    auto* forms = new QGroupBox(QStringLiteral("  Forma de Pagamento :  "), box);
    forms->setObjectName(QStringLiteral("Edforma"));
    auto* f = new QHBoxLayout(forms);
    Edforma = new QButtonGroup(this);
    const QStringList captions = {QStringLiteral("À Vista"), QStringLiteral("Outros"),
                                  QStringLiteral("Total")};
    for (int i = 0; i < captions.size(); ++i) {
        auto* rb = new QRadioButton(captions[i], forms);
        rb->setObjectName(QStringLiteral("Edforma_%1").arg(i));
        Edforma->addButton(rb, i);
        f->addWidget(rb);
    }
    f->addStretch();
    criteriaGrid()->addWidget(forms, 2, 0, 1, 5);
    Ed_Ord = orderCombo(box, report());
    criteriaGrid()->addWidget(new QLabel(QStringLiteral("Ordenar por :"), box), 3, 0);
    criteriaGrid()->addWidget(Ed_Ord, 3, 1, 1, 3);
    Ed_Bar = new QProgressBar(box);
    Ed_Bar->setObjectName(QStringLiteral("Ed_Bar"));
    Ed_Bar->setValue(0);
    criteriaGrid()->addWidget(Ed_Bar, 4, 0, 1, 5);
}

const ReportDefinition& TQuelvarino0048_0::definition() {
    return totalizerReport();
}

Criteria TQuelvarino0048_0::criteria() const {
    Criteria c = ReportScreen::criteria();
    c.groupBy = Rbcli->isChecked()   ? GroupBy::Clients
                : Rbmot->isChecked() ? GroupBy::Couriers
                                     : GroupBy::Unchosen;
    const Payment forms[] = {Payment::AVista, Payment::Outros, Payment::Total};
    const int form = Edforma->checkedId();
    c.payment = form >= 0 && form < 3 ? forms[form] : Payment::Unchosen;
    c.order = Ed_Ord->currentIndex();
    // The orders are copied into the work tables when the report is
    // printed; the bar advances as they are.
    QProgressBar* bar = Ed_Bar;
    c.progress = [bar](int done, int total) {
        bar->setMaximum(total);
        bar->setValue(done);
        bar->repaint();
    };
    return c;
}

void TQuelvarino0048_0::reset() {
    ReportScreen::reset();
    Edforma->setExclusive(false);
    for (QAbstractButton* b : Edforma->buttons())
        b->setChecked(false);
    Edforma->setExclusive(true);
    for (QRadioButton* rb : {Rbcli, Rbmot}) {
        rb->setAutoExclusive(false);
        rb->setChecked(false);
        rb->setAutoExclusive(true);
    }
    Ed_Bar->setValue(0);
}

}  // namespace quelvarino
