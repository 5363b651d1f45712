#include "reports/cashclosing.h"

#include "core/dates.h"
#include "data/query.h"
#include "data/table.h"
#include "data/worktables.h"
#include "registers/clients.h"
#include "registers/codelookup.h"
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

// Whether any order is stored at all.
bool anyOrder() {
    Table orders(QStringLiteral("tbordem"));
    orders.setIndexFieldNames(QStringLiteral("COMANDA"));
    orders.open();
    return !orders.isEmpty() && !orders.fieldByName("COMANDA").asString().isEmpty();
}

// Only what the reports print is read: a year of orders goes by quicker.
QString selectClosing() {
    return QStringLiteral("Select ") + closingFields().join(QStringLiteral(", ")) +
           QStringLiteral(" from TBOrdem");
}

// The orders of a closing: in the period, paid in the form chosen (and of
// `client` when given), in the order chosen.
void openClosing(Query& q,
                 const PaymentChoice& payment,
                 const QComboBox* order,
                 const MaskEdit* from,
                 const MaskEdit* to,
                 const QString& client = QString()) {
    q.clear();
    q.add(selectClosing());
    q.add(QStringLiteral("Where %1%2 and (DATA >= :de and DATA <= :ate)")
              .arg(client.isEmpty() ? QString() : QStringLiteral("CODCLI = :cliente and "),
                   payment.condition()));
    q.add(order->currentText() == QStringLiteral("Nº Ordem de Serviço")
              ? QStringLiteral("Order By COMANDA")
              : QStringLiteral("Order By DATA, COMANDA"));
    if (!client.isEmpty())
        q.bindText(QStringLiteral(":cliente"), client);
    q.bindText(QStringLiteral(":forma"), QStringLiteral("À VISTA"));
    bindPeriod(q, from, to);
    q.open();
}

}  // namespace

const QStringList& closingFields() {
    static const QStringList fields = {
        "COMANDA",  "DATA",   "CLIENTE",   "SOLICITANTE", "HORA1",     "HORA2",    "HORA3",
        "HORA4",    "VALOR",  "TOTHORN",   "TOTHOR50",    "TOTHOR100", "VALORN",   "VALOR50",
        "VALOR100", "SEGURO", "TAXAPERIM", "PORCTAXA",    "TOTVAL",    "PAGAMENTO"};
    return fields;
}

CashClosingScreen::CashClosingScreen(const QString& instance,
                                     const QString& caption,
                                     const QString& dialog,
                                     QWidget* parent)
    : ReportScreen(instance, caption, dialog, parent) {}

void CashClosingScreen::addPaymentAndOrder(int row) {
    QWidget* box = Eddata1->parentWidget();
    criteria()->addWidget(paymentGroup(box, &Rbavista, &Rboutros), row, 0, 1, 5);
    Ed_Ord = orderCombo(box, {QStringLiteral("Nº Ordem de Serviço"), QStringLiteral("Data")});
    criteria()->addWidget(new QLabel(QStringLiteral("Ordenar por :"), box), row + 1, 0);
    criteria()->addWidget(Ed_Ord, row + 1, 1, 1, 3);
}

void CashClosingScreen::reset() {
    ReportScreen::reset();
    payment().uncheck();
}

// ---- 0041_0 -------------------------------------------------------------------------

TQuelvarino0041_0::TQuelvarino0041_0(QWidget* parent)
    : CashClosingScreen(QStringLiteral("Quelvarino0041_0"),
                        QStringLiteral("Fechamento do  Caixa"),
                        QStringLiteral("Quelvarino0041_1"),
                        parent) {
    addPaymentAndOrder(1);
}

bool TQuelvarino0041_0::prepare() {
    if (!datesFilled() || !payment().chosen()) {
        MessageBox::warning(
            QStringLiteral("Intervalos inexistentes ou selecione qual a forma de pagamento."));
        Eddata1->setFocus();
        return false;
    }
    if (!anyOrder())
        return refuseNothing();
    openClosing(*Query1(), payment(), Ed_Ord, Eddata1, Eddata2);
    return ordersFound(*Query1());
}

// ---- 0042_0 -------------------------------------------------------------------------

TQuelvarino0042_0::TQuelvarino0042_0(QWidget* parent)
    : CashClosingScreen(QStringLiteral("Quelvarino0042_0"),
                        QStringLiteral("Fechamento do Caixa  por Cliente"),
                        QStringLiteral("Quelvarino0042_1"),
                        parent) {
    // Wide enough for a whole company name.
    std::tie(Edcodcli, Edcliente, Btn_ConsCli) = addLookupRow(
        1, {"Cliente :", "Edcodcli", "Edcliente", "Btn_ConsCli", 28}, [this] { EdcodcliExit(); },
        [this] { Btn_ConsCliClick(); });
    addPaymentAndOrder(2);
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

bool TQuelvarino0042_0::prepare() {
    if (Edcodcli->text().isEmpty() || !payment().chosen()) {
        MessageBox::warning(
            QStringLiteral("Selecione o cliente ou selecione qual a forma de pagamento."));
        Edcodcli->setFocus();
        return false;
    }
    if (!datesFilled())
        return refuseUnfilledDates();
    if (!anyOrder())
        return refuseNothing();
    openClosing(*Query1(), payment(), Ed_Ord, Eddata1, Eddata2, Edcodcli->text());
    return ordersFound(*Query1());
}

// ---- 0048_0 -------------------------------------------------------------------------

TQuelvarino0048_0::TQuelvarino0048_0(QWidget* parent)
    : ReportScreen(QStringLiteral("Quelvarino0048_0"),
                   QStringLiteral("Relatório Totalizador de Serviços por Período"),
                   QStringLiteral("Quelvarino0048_1"),
                   parent) {
    QWidget* box = Eddata1->parentWidget();
    auto* kind = new QHBoxLayout;
    Rbcli = new QRadioButton(QStringLiteral("Cliente"), box);
    Rbcli->setObjectName(QStringLiteral("Rbcli"));
    Rbmot = new QRadioButton(QStringLiteral("Motoboy"), box);
    Rbmot->setObjectName(QStringLiteral("Rbmot"));
    kind->addWidget(Rbcli);
    kind->addWidget(Rbmot);
    kind->addStretch();
    criteria()->addLayout(kind, 1, 0, 1, 5);
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
    criteria()->addWidget(forms, 2, 0, 1, 5);
    Ed_Ord = orderCombo(box, {QStringLiteral("Código"), QStringLiteral("Cliente ou Motoboy"),
                              QStringLiteral("Data")});
    criteria()->addWidget(new QLabel(QStringLiteral("Ordenar por :"), box), 3, 0);
    criteria()->addWidget(Ed_Ord, 3, 1, 1, 3);
    Ed_Bar = new QProgressBar(box);
    Ed_Bar->setObjectName(QStringLiteral("Ed_Bar"));
    Ed_Bar->setValue(0);
    criteria()->addWidget(Ed_Bar, 4, 0, 1, 5);
}

bool TQuelvarino0048_0::couriers() const {
    return byCourier_;
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

bool TQuelvarino0048_0::prepare() {
    WorkTables::clear();
    const int form = Edforma->checkedId();
    if (!datesFilled() || !(Rbcli->isChecked() || Rbmot->isChecked()) || form < 0) {
        MessageBox::warning(QStringLiteral(
            "Intervalos inexistentes, tipo de relatório e qual a forma de pagamento."));
        Eddata1->setFocus();
        return false;
    }
    if (!anyOrder())
        return refuseNothing();
    byCourier_ = Rbmot->isChecked();
    Query& q = *Query1();
    q.clear();
    q.add(
        QStringLiteral("Select COMANDA, DATA, CODCLI, CLIENTE, CODMOT, MOTOBOY, SOLICITANTE, "
                       "HORA1, HORA2, HORA3, HORA4, VALOR, TOTVAL, TOTTAXA, TOTVALMOT, VALMOT, "
                       "TOTTAXAM, PAGAMENTO from TBOrdem"));
    if (form == 2)
        q.add(QStringLiteral("Where DATA >= :de and DATA <= :ate"));
    else
        q.add(QStringLiteral("Where %1 and (DATA >= :de and DATA <= :ate)")
                  .arg(form == 0 ? QStringLiteral("PAGAMENTO = :forma")
                                 : QStringLiteral("PAGAMENTO <> :forma")));
    // Printed client after client (or courier after courier) in code
    // order, each one's orders in the chosen order: selected so, the work
    // tables are written in print order and read back straight through.
    const QString code = byCourier_ ? QStringLiteral("CODMOT") : QStringLiteral("CODCLI");
    const QString order = Ed_Ord->currentText();
    if (order == QLatin1String("Cliente ou Motoboy"))
        q.add(QStringLiteral("Order By %1, %2, DATA, COMANDA")
                  .arg(code, byCourier_ ? QStringLiteral("MOTOBOY") : QStringLiteral("CLIENTE")));
    else  // "Código", "Data" or nothing chosen: by date within each code
        q.add(QStringLiteral("Order By %1, DATA, COMANDA").arg(code));
    if (form != 2)
        q.bindText(QStringLiteral(":forma"), QStringLiteral("À VISTA"));
    bindPeriod(q, Eddata1, Eddata2);
    q.open();
    if (!ordersFound(q))
        return false;
    // A fee that is empty or negative goes in as no fee.
    auto fee = [](const QString& text) {
        return text.isEmpty() || text < QLatin1String("0") ? QStringLiteral("0,00") : text;
    };
    // Every order copied in one transaction; the bar advances as they are.
    Ed_Bar->setMaximum(q.recordCount());
    Ed_Bar->setValue(0);
    WorkTableFill fill;
    int n = 0;
    WorkDetail d;
    QHash<QByteArray, int> at;
    auto f = [&q, &at](const char* name) {
        auto it = at.constFind(QByteArray::fromRawData(name, int(qstrlen(name))));
        if (it == at.constEnd())
            it = at.insert(QByteArray(name), q.fieldIndex(QString::fromLatin1(name)));
        return q.fieldText(it.value());
    };
    for (q.first(); !q.eof(); q.next()) {
        d.codigo = byCourier_ ? f("CODMOT") : f("CODCLI");
        d.cliente = byCourier_ ? f("MOTOBOY") : f("CLIENTE");
        d.comanda = f("COMANDA");
        d.solicitante = f("SOLICITANTE");
        d.hora1 = f("HORA1");
        d.hora2 = f("HORA2");
        d.hora3 = f("HORA3");
        d.hora4 = f("HORA4");
        d.valor = byCourier_ ? f("TOTVALMOT") : f("VALOR");
        d.taxa = fee(byCourier_ ? f("TOTTAXAM") : f("TOTTAXA"));
        d.totval = byCourier_ ? f("VALMOT") : f("TOTVAL");
        d.pagamento = f("PAGAMENTO");
        d.data = f("DATA");
        fill.add(d);
        if (++n % 500 == 0) {
            Ed_Bar->setValue(n);
            Ed_Bar->repaint();
        }
    }
    Ed_Bar->setValue(n);
    fill.commit();
    q.close();
    Ed_Bar->setValue(0);
    return true;
}

}  // namespace quelvarino
