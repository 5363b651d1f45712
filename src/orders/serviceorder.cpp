#include "orders/serviceorder.h"

#include "core/clock.h"
#include "core/dates.h"
#include "core/errors.h"
#include "core/money.h"
#include "core/registerchecks.h"
#include "data/datamodule.h"
#include "data/table.h"
#include "orders/accesspassword.h"
#include "orders/ordersearch.h"
#include "registers/clients.h"
#include "registers/couriers.h"
#include "registers/recordscreen.h"
#include "registers/searchscreen.h"
#include "widgets/application.h"
#include "widgets/fieldedit.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QVBoxLayout>

namespace quelvarino {
namespace {

const char* const kTimeMask = "!99:99;1;_";
const char* const kBlankTime = "  :  ";

QLineEdit* moneyEdit(QWidget* parent, const char* name) {
    QLineEdit* e = makeEdit(parent, QString::fromLatin1(name), 6, false);
    moneyKeys(e);
    e->setText(QStringLiteral("0,00"));
    return e;
}

QLabel* caption(const char* text, QWidget* parent) {
    return new QLabel(QString::fromUtf8(text), parent);
}

void setChecked(QAbstractButton* b, bool on) {
    const bool exclusive = b->autoExclusive();
    b->blockSignals(true);
    b->setAutoExclusive(false);
    b->setChecked(on);
    b->setAutoExclusive(exclusive);
    b->blockSignals(false);
}

QString padCode(const QString& text) {
    return text.size() >= 6 ? text : QString(6 - text.size(), QLatin1Char('0')) + text;
}

}  // namespace

TQuelvarino0021_0::TQuelvarino0021_0(QWidget* parent)
    : RecordScreen(QStringLiteral("Quelvarino0021_0"),
                   QStringLiteral("Emissão da Ordem de Serviço (OS)"),
                   parent) {
    buildScreen();
    connectHandlers();
    Config c;
    c.table = [] { return DataModule1 ? DataModule1->TBOrdem : nullptr; };
    c.codeField = QStringLiteral("COMANDA");
    c.codeWidth = 10;
    c.codeEdit = Edcomanda;
    c.searchScreen = QStringLiteral("Quelvarino0021_1");
    c.printDialog = QStringLiteral("Quelvarino0021_5");
    setUp(c, {});
    // The client and courier searches hand their row to this screen.
    if (auto* search = TQuelvarino0011_1::instance()) {
        search->setReturn(QStringLiteral("ordem_servico"), [this](Table& row) -> QWidget* {
            fillClient(row);
            Eddata->setFocus();
            return this;
        });
    }
    if (auto* search = TQuelvarino0012_1::instance()) {
        search->setReturn(QStringLiteral("ordem_servico"), [this](Table& row) -> QWidget* {
            fillCourier(row, false);  // the search does not copy the hour rate
            return this;
        });
    }
    // The number is proposed on first show, once the data module exists.
}

void TQuelvarino0021_0::buildScreen() {
    auto* layout = new QVBoxLayout(this);

    auto* head = new QHBoxLayout;
    Edcomanda = makeEdit(this, QStringLiteral("Edcomanda"), 10, true);
    Edcomanda->setFixedWidth(Edcomanda->minimumWidth());
    head->addWidget(caption("Ordem de Serviço  Nº.  :", this));
    head->addWidget(Edcomanda);
    head->addStretch();
    Lbdata = new QLabel(this);
    Lbdata->setObjectName(QStringLiteral("Lbdata"));
    QFont bold = Lbdata->font();
    bold.setBold(true);
    Lbdata->setFont(bold);
    Lbdata->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    head->addWidget(Lbdata);
    layout->addLayout(head);

    // Client and where the job was.
    auto* client = new QGroupBox(this);
    auto* c = new QGridLayout(client);
    Edcodcli = makeEdit(client, QStringLiteral("Edcodcli"), 6, true);
    Edcodcli->setFixedWidth(Edcodcli->minimumWidth());
    Edcliente = makeEdit(client, QStringLiteral("Edcliente"), 0, true);
    Btn_ConsCli = new QPushButton(QStringLiteral("C&onsultar"), client);
    Btn_ConsCli->setObjectName(QStringLiteral("Btn_ConsCli"));
    Btn_ConsCli->setToolTip(QStringLiteral("Consultar dados"));
    Eddata = makeMaskEdit(client, QStringLiteral("Eddata"), QStringLiteral("!99/99/9999;1;"));
    Edend = makeEdit(client, QStringLiteral("Edend"), 50, true);
    Edbairro = makeEdit(client, QStringLiteral("Edbairro"), 30, true);
    Edcid = makeEdit(client, QStringLiteral("Edcid"), 30, true);
    Eduf = makeCombo(QStringLiteral("Eduf"), ufList(), 2, client);
    Edcep = makeMaskEdit(client, QStringLiteral("Edcep"), QStringLiteral("99999-999;1;_"));
    Edddd = makeEdit(client, QStringLiteral("Edddd"), 3, true);
    Edfone1 = makeEdit(client, QStringLiteral("Edfone1"), 10, true);
    Edlinha1 = makeCombo(QStringLiteral("Edlinha1"), phoneKinds(), 10, client);
    Edfone2 = makeEdit(client, QStringLiteral("Edfone2"), 10, true);
    Edlinha2 = makeCombo(QStringLiteral("Edlinha2"), phoneKinds(), 10, client);
    Rbtel = new QCheckBox(client);
    Rbtel->setObjectName(QStringLiteral("Rbtel"));
    Rbtel->setToolTip(QStringLiteral("Imprimir os telefones na linha do solicitante"));
    c->addWidget(caption("Cliente :", client), 0, 0);
    c->addWidget(Edcodcli, 0, 1);
    c->addWidget(Edcliente, 0, 2, 1, 4);
    c->addWidget(Btn_ConsCli, 0, 6);
    c->addWidget(caption("Data :", client), 0, 7);
    c->addWidget(Eddata, 0, 8);
    c->addWidget(caption("Rua/Avenida :", client), 1, 0);
    c->addWidget(Edend, 1, 1, 1, 5);
    c->addWidget(caption("Bairro :", client), 1, 6);
    c->addWidget(Edbairro, 1, 7, 1, 2);
    c->addWidget(caption("Cidade :", client), 2, 0);
    c->addWidget(Edcid, 2, 1, 1, 3);
    c->addWidget(caption("Estado :", client), 2, 4);
    c->addWidget(Eduf, 2, 5);
    c->addWidget(caption("CEP :", client), 2, 6);
    c->addWidget(Edcep, 2, 7, 1, 2);
    Edddd->setMaximumWidth(Edddd->minimumWidth());
    auto* phones = new QHBoxLayout;
    phones->addWidget(Edddd);
    phones->addWidget(Edfone1, 1);
    phones->addWidget(Edlinha1);
    phones->addWidget(caption("Telefone 2 :", client));
    phones->addWidget(Edfone2, 1);
    phones->addWidget(Edlinha2);
    phones->addWidget(Rbtel);
    c->addWidget(caption("Telefones :  DDD", client), 3, 0);
    c->addLayout(phones, 3, 1, 1, 8);
    c->setColumnStretch(2, 2);  // the client's name and address take the room
    c->setColumnStretch(3, 1);
    layout->addWidget(client);

    // Times and values. Each start-basis radio and the fixed-value box sit
    // in one frame with their own field and caption, so that none can be
    // read as belonging to the next time.
    auto* hours = new QGroupBox(this);
    auto* h = new QGridLayout(hours);
    h->setHorizontalSpacing(10);
    Edhora1 = makeMaskEdit(hours, QStringLiteral("Edhora1"), QString::fromLatin1(kTimeMask));
    Rbhora1 = new QRadioButton(hours);
    Rbhora1->setObjectName(QStringLiteral("Rbhora1"));
    Rbhora1->setToolTip(QStringLiteral("Calcular a partir da hora de saída"));
    Edhora2 = makeMaskEdit(hours, QStringLiteral("Edhora2"), QString::fromLatin1(kTimeMask));
    Rbhora2 = new QRadioButton(hours);
    Rbhora2->setObjectName(QStringLiteral("Rbhora2"));
    Rbhora2->setToolTip(QStringLiteral("Calcular a partir da hora inicial"));
    // One at most is checked. They are not an exclusive group: Qt's Tab
    // would then stop at one of the two only, and each belongs in the order
    // right after its own time.
    for (QRadioButton* rb : {Rbhora1, Rbhora2})
        rb->setAutoExclusive(false);
    Edhora3 = makeMaskEdit(hours, QStringLiteral("Edhora3"), QString::fromLatin1(kTimeMask));
    Edhora4 = makeMaskEdit(hours, QStringLiteral("Edhora4"), QString::fromLatin1(kTimeMask));
    Edvalor = moneyEdit(hours, "Edvalor");
    Rbvalor = new QCheckBox(hours);
    Rbvalor->setObjectName(QStringLiteral("Rbvalor"));
    Rbvalor->setToolTip(QStringLiteral("Valor fixo da ordem de serviço"));
    Edseguro = moneyEdit(hours, "Edseguro");
    Edtaxap = moneyEdit(hours, "Edtaxap");
    Edtotval = moneyEdit(hours, "Edtotval");
    setTypingLimit(Edtotval, 0);  // never typed: computed only
    for (QLineEdit* e : {Edvalor, Edseguro, Edtaxap, Edtotval})
        e->setFixedWidth(e->minimumWidth() + 24);
    auto framed = [hours](const char* label, QWidget* field, QAbstractButton* choice) {
        auto* frame = new QFrame(hours);
        frame->setFrameShape(choice ? QFrame::StyledPanel : QFrame::NoFrame);
        auto* row = new QHBoxLayout(frame);
        row->setContentsMargins(6, 3, 6, 3);
        auto* text = caption(label, frame);
        text->setBuddy(field);
        row->addWidget(text);
        row->addWidget(field);
        if (choice) {
            choice->setParent(frame);
            row->addWidget(choice);
        } else {
            // as wide as the framed ones, so the columns line up
            row->addSpacing(QRadioButton().sizeHint().width() + row->spacing());
        }
        field->setParent(frame);
        return frame;
    };
    h->addWidget(framed("Hora de saída :", Edhora1, Rbhora1), 0, 0);
    h->addWidget(framed("Hora inicial :", Edhora2, Rbhora2), 0, 1);
    h->addWidget(framed("Hora final :", Edhora3, nullptr), 0, 2);
    h->addWidget(framed("Total de horas :", Edhora4, nullptr), 0, 3);
    h->addWidget(framed("Valor :", Edvalor, Rbvalor), 1, 0);
    h->addWidget(framed("Seguro :", Edseguro, nullptr), 1, 1);
    h->addWidget(framed("Tx. Perim. :", Edtaxap, nullptr), 1, 2);
    h->addWidget(framed("Valor Total :", Edtotval, nullptr), 1, 3);
    for (int col = 0; col < 4; ++col)
        h->setColumnStretch(col, 1);
    layout->addWidget(hours);

    // Requester, courier and his motorcycle.
    auto* courier = new QGroupBox(this);
    auto* m = new QGridLayout(courier);
    Edsolicit = makeEdit(courier, QStringLiteral("Edsolicit"), 55, true);
    Edcodmot = makeEdit(courier, QStringLiteral("Edcodmot"), 6, true);
    Edcodmot->setFixedWidth(Edcodmot->minimumWidth());
    Edmotoboy = makeEdit(courier, QStringLiteral("Edmotoboy"), 0, false);
    Btn_ConsMot = new QPushButton(QStringLiteral("Co&nsultar"), courier);
    Btn_ConsMot->setObjectName(QStringLiteral("Btn_ConsMot"));
    Btn_ConsMot->setToolTip(QStringLiteral("Consultar dados"));
    Edvalmot = moneyEdit(courier, "Edvalmot");
    Rbvalmot = new QCheckBox(courier);
    Rbvalmot->setObjectName(QStringLiteral("Rbvalmot"));
    Rbvalmot->setToolTip(QStringLiteral("Valor fixo pago ao motoboy"));
    Edmar = makeEdit(courier, QStringLiteral("Edmar"), 20, false);
    Edmod = makeEdit(courier, QStringLiteral("Edmod"), 20, false);
    Edano = makeMaskEdit(courier, QStringLiteral("Edano"), QStringLiteral("!9999/9999;1;_"));
    Edplac = makePlateEdit(courier, QStringLiteral("Edplac"));
    m->addWidget(caption("Solicitante :", courier), 0, 0);
    m->addWidget(Edsolicit, 0, 1, 1, 8);
    m->addWidget(caption("Motoboy :", courier), 1, 0);
    m->addWidget(Edcodmot, 1, 1);
    m->addWidget(Edmotoboy, 1, 2, 1, 3);
    m->addWidget(Btn_ConsMot, 1, 5);
    m->addWidget(caption("Valor :", courier), 1, 6);
    m->addWidget(Edvalmot, 1, 7);
    m->addWidget(Rbvalmot, 1, 8);
    m->addWidget(caption("Marca :", courier), 2, 0);
    m->addWidget(Edmar, 2, 1, 1, 2);
    m->addWidget(caption("Modelo :", courier), 2, 3);
    m->addWidget(Edmod, 2, 4);
    m->addWidget(caption("Ano :", courier), 2, 5);
    m->addWidget(Edano, 2, 6);
    m->addWidget(caption("Placa :", courier), 2, 7);
    m->addWidget(Edplac, 2, 8);
    layout->addWidget(courier);

    auto* other = new QGroupBox(this);
    auto* o = new QGridLayout(other);
    Edveiculo = makeEdit(other, QStringLiteral("Edveiculo"), 40, true);
    Edplaca = makeEdit(other, QStringLiteral("Edplaca"), 10, true);
    Cbpag = makeCombo(QStringLiteral("Cbpag"), {"À VISTA", "FATURADO", "OUTROS"}, 8, other);
    Edpag = makeEdit(other, QStringLiteral("Edpag"), 10, true);
    Edobs = new QPlainTextEdit(other);
    Edobs->setObjectName(QStringLiteral("Edobs"));
    Edobs->setLineWrapMode(QPlainTextEdit::NoWrap);
    Edobs->setTabChangesFocus(true);
    Edobs->setMaximumHeight(120);
    notesLimit(Edobs, kNotesLength);
    o->addWidget(caption("Veículo :", other), 0, 0);
    o->addWidget(Edveiculo, 0, 1, 1, 3);
    o->addWidget(caption("Placa :", other), 0, 4);
    o->addWidget(Edplaca, 0, 5);
    o->addWidget(caption("Forma pagto. :", other), 1, 0);
    o->addWidget(Cbpag, 1, 1);
    o->addWidget(caption("-", other), 1, 2, Qt::AlignCenter);
    o->addWidget(Edpag, 1, 3);
    o->addWidget(caption("Observações :", other), 2, 0, Qt::AlignTop);
    o->addWidget(Edobs, 2, 1, 1, 5);
    layout->addWidget(other);

    Lbtotval = new QLabel(QStringLiteral("0,00"), this);
    Lbtotval->setObjectName(QStringLiteral("Lbtotval"));
    Lbtotval->setVisible(false);
    Lbvalor = new QLabel(this);
    Lbvalor->setObjectName(QStringLiteral("Lbvalor"));
    Lbvalor->setVisible(false);

    layout->addLayout(toolbarLayout());

    for (QWidget* w : editableFields())
        enterMovesOn(w);
    for (QWidget* w :
         {static_cast<QWidget*>(Edcomanda), static_cast<QWidget*>(Edcliente),
          static_cast<QWidget*>(Edmotoboy), static_cast<QWidget*>(Edmar),
          static_cast<QWidget*>(Edmod), static_cast<QWidget*>(Edano), static_cast<QWidget*>(Edplac),
          static_cast<QWidget*>(Edhora4), static_cast<QWidget*>(Edtotval),
          static_cast<QWidget*>(Edvalor), static_cast<QWidget*>(Edvalmot)})
        setFieldEditable(w, false);
    Edobs->installEventFilter(this);
}

QList<QWidget*> TQuelvarino0021_0::editableFields() const {
    return {Edcodcli, Eddata,   Edend,    Edbairro,  Edcid,     Edcep,   Edddd,   Eduf,
            Edfone1,  Edlinha1, Edfone2,  Edlinha2,  Edsolicit, Edhora1, Edhora2, Edhora3,
            Edtaxap,  Edseguro, Edcodmot, Edveiculo, Edplaca,   Cbpag,   Edpag,   Edobs,
            Rbhora1,  Rbhora2,  Rbvalor,  Rbvalmot,  Rbtel};
}

void TQuelvarino0021_0::connectHandlers() {
    auto on = [this](QPushButton* b, void (TQuelvarino0021_0::*handler)()) {
        connect(b, &QPushButton::clicked, this,
                [this, handler] { guarded([&] { (this->*handler)(); }); });
    };
    // The toolbar is connected by the base to the (overridden) handlers.
    on(Btn_ConsCli, &TQuelvarino0021_0::Btn_ConsCliClick);
    on(Btn_ConsMot, &TQuelvarino0021_0::Btn_ConsMotClick);

    onExit(Edcodcli, [this] { EdcodcliExit(); });
    onExit(Edcodmot, [this] { EdcodmotExit(); });
    onExit(Eddata, [this] { EddataExit(); });
    onExit(Edhora1, [this] { EdhoraExit(Edhora1); });
    onExit(Edhora2, [this] { EdhoraExit(Edhora2); });
    onExit(Edhora3, [this] { Edhora3Exit(); });
    onExit(Edvalor, [this] { EdvalorExit(); });
    onExit(Edseguro, [this] { EdseguroExit(); });
    onExit(Edtaxap, [this] { EdtaxapExit(); });
    onExit(Edvalmot, [this] { EdvalmotExit(); });
    onExit(Cbpag, [this] { CbpagChange(); });
    connect(Cbpag, &QComboBox::currentTextChanged, this,
            [this] { guarded([this] { CbpagChange(); }); });
    for (QRadioButton* rb : {Rbhora1, Rbhora2}) {
        QRadioButton* other = rb == Rbhora1 ? Rbhora2 : Rbhora1;
        connect(rb, &QRadioButton::clicked, this, [this, rb, other] {
            // A radio stays checked when clicked again, and unchecks the other.
            setChecked(rb, true);
            setChecked(other, false);
            guarded([this] { RbhoraClick(); });
        });
    }
    connect(Rbvalor, &QCheckBox::toggled, this, [this] { guarded([this] { RbvalorClick(); }); });
    connect(Rbvalmot, &QCheckBox::toggled, this, [this] { guarded([this] { RbvalmotClick(); }); });
}

// ---- hours and values: the screen is a thin shell over the rules ---------

OrderHoursScreen TQuelvarino0021_0::hoursState() const {
    OrderHoursScreen s;
    s.hora1 = Edhora1->text();
    s.hora2 = Edhora2->text();
    s.hora3 = Edhora3->text();
    s.hora4 = Edhora4->text();
    s.rbHora1 = Rbhora1->isChecked();
    s.rbHora2 = Rbhora2->isChecked();
    s.rbValor = Rbvalor->isChecked();
    s.rbValmot = Rbvalmot->isChecked();
    s.valor = Edvalor->text();
    s.seguro = Edseguro->text();
    s.taxap = Edtaxap->text();
    s.totval = Edtotval->text();
    s.valmot = Edvalmot->text();
    s.lbTotval = Lbtotval->text();
    s.valorEnabled = Edvalor->isEnabled();
    s.valmotEnabled = Edvalmot->isEnabled();
    return s;
}

void TQuelvarino0021_0::applyHoursState(const OrderHoursScreen& s) {
    Edhora4->setText(s.hora4);
    setChecked(Rbhora1, s.rbHora1);
    setChecked(Rbhora2, s.rbHora2);
    setChecked(Rbvalor, s.rbValor);
    setChecked(Rbvalmot, s.rbValmot);
    Edvalor->setText(s.valor);
    Edseguro->setText(s.seguro);
    Edtaxap->setText(s.taxap);
    Edtotval->setText(s.totval);
    Edvalmot->setText(s.valmot);
    Lbtotval->setText(s.lbTotval);
    setFieldEditable(Edvalor, s.valorEnabled);
    setFieldEditable(Edvalmot, s.valmotEnabled);
}

void TQuelvarino0021_0::RbhoraClick() {
    const OrderStep step = selectStartBasis(hoursState());
    applyHoursState(step.screen);
    if (!step.message.isEmpty())
        MessageBox::question(step.message);
}

void TQuelvarino0021_0::RbvalorClick() {
    applyHoursState(setFixedValueMode(hoursState(), Rbvalor->isChecked()));
}

void TQuelvarino0021_0::RbvalmotClick() {
    applyHoursState(setFixedCourierPay(hoursState(), Rbvalmot->isChecked()));
}

void TQuelvarino0021_0::EdvalorExit() {
    applyHoursState(leaveValor(hoursState()));
}

void TQuelvarino0021_0::EdseguroExit() {
    applyHoursState(leaveSeguro(hoursState()));
}

void TQuelvarino0021_0::EdtaxapExit() {
    applyHoursState(leaveTaxap(hoursState()));
}

void TQuelvarino0021_0::EdvalmotExit() {
    applyHoursState(leaveValmot(hoursState()));
}

// ---- states -----------------------------------------------------------------

// The toolbar follows the registers; besides, "&Imprimir" waits for an order
// recorded or loaded, and the lookups and fields follow the state.
void TQuelvarino0021_0::stateChanged(bool edit) {
    if (!edit)
        Btn_Imprimir->setEnabled(false);
    Btn_ConsCli->setEnabled(edit);
    Btn_ConsMot->setEnabled(edit);
    for (QWidget* w : editableFields())
        setFieldEditable(w, edit);
    // The value fields open only through their check boxes.
    setFieldEditable(Edvalor, edit && Rbvalor->isChecked());
    setFieldEditable(Edvalmot, edit && Rbvalmot->isChecked());
    if (edit)
        CbpagChange();
}

QString TQuelvarino0021_0::nextOrderNumber() {
    Table orders(QStringLiteral("tbordem"));
    orders.setIndexFieldNames(QStringLiteral("COMANDA"));
    orders.open();
    orders.last();
    return nextCode(orders.isEmpty() ? QString() : orders.fieldByName("COMANDA").asString(), 10);
}

void TQuelvarino0021_0::clearExtra() {
    for (QLineEdit* e :
         {Edcomanda, Edcodcli, Edcliente, Edend, Edbairro, Edcid, Edddd, Edfone1, Edfone2,
          Edsolicit, Edcodmot, Edmotoboy, Edmar, Edmod, Edveiculo, Edplaca, Edpag})
        e->clear();
    for (MaskEdit* e : {Edcep, Edhora1, Edhora2, Edhora3, Edhora4, Edano, Edplac})
        e->clear();
    Edobs->clear();
    Eddata->setText(formatDate(Clock::today()));
    for (QLineEdit* e : {Edvalor, Edseguro, Edtaxap, Edtotval, Edvalmot})
        e->setText(QStringLiteral("0,00"));
    Lbtotval->setText(QStringLiteral("0,00"));
    Lbvalor->clear();
    for (QComboBox* combo : {Eduf, Edlinha1, Edlinha2, Cbpag}) {
        setPickOnly(combo, false);
        combo->setCurrentIndex(-1);
        combo->setEditText(QString());
    }
    for (QAbstractButton* b :
         std::initializer_list<QAbstractButton*>{Rbhora1, Rbhora2, Rbvalor, Rbvalmot, Rbtel})
        setChecked(b, false);
    if (!inEditState()) {
        setFieldEditable(Edvalor, false);
        setFieldEditable(Edvalmot, false);
    }
    pendingProtected_.clear();
    if (DataModule1) {
        DataModule1->TBOrdem->close();  // abandons an insert or edit and its lock
        Edcomanda->setText(nextOrderNumber());
    }
}

void TQuelvarino0021_0::FormActivate() {
    Lbdata->setText(formatDate(Clock::today()));
    if (!inEditState() && Edcomanda->text().isEmpty() && DataModule1)
        clearScreen();
}

// ---- lookups ------------------------------------------------------------------

void TQuelvarino0021_0::EdcodcliExit() {
    if (Edcodcli->text().isEmpty())
        return;
    const QString code = padCode(Edcodcli->text());
    // A table object of its own: the client register may hold the data
    // module's table in an edit, and its lock must stay.
    Table clients(QStringLiteral("tbclientes"));
    auto refuse = [this](const char* text) {
        MessageBox::question(QString::fromUtf8(text));
        Edcodcli->clear();
        Edcodcli->setFocus();
    };
    if (!clients.findExact(QStringLiteral("CODCLI"), code))
        return refuse("Código do cliente inexistente.");
    if (clients.fieldByName("SITUACAO").asString() == QLatin1String("BLOQUEADO"))
        return refuse("Situação do Cliente BLOQUEADO.");
    fillClient(clients);
}

void TQuelvarino0021_0::EdcodmotExit() {
    if (Edcodmot->text().isEmpty())
        return;
    const QString code = padCode(Edcodmot->text());
    Table couriers(QStringLiteral("tbmotociclista"));
    auto refuse = [this](const char* text) {
        MessageBox::question(QString::fromUtf8(text));
        Edcodmot->clear();
        Edcodmot->setFocus();
    };
    if (!couriers.findExact(QStringLiteral("COD"), code))
        return refuse("Código do motorista inexistente.");
    if (couriers.fieldByName("SITUACAO").asString() == QLatin1String("BLOQUEADO"))
        return refuse("Situação do Motorista BLOQUEADO.");
    fillCourier(couriers, true);
}

void TQuelvarino0021_0::fillClient(Table& row) {
    SearchScreen::fillControls(this,
                               {{"Edcodcli", "CODCLI"},
                                {"Edcliente", "RAZAOSOCIAL"},
                                {"Edend", "ENDERECO1"},
                                {"Edbairro", "BAIRRO1"},
                                {"Edcid", "CIDADE1"},
                                {"Eduf", "UF1"},
                                {"Edcep", "CEP1"},
                                {"Edddd", "DDD1"},
                                {"Edfone1", "TELEFONE1_1"},
                                {"Edlinha1", "TIPOTEL1_1"},
                                {"Edfone2", "TELEFONE1_2"},
                                {"Edlinha2", "TIPOTEL1_2"}},
                               row);
    if (Rbvalor->isChecked()) {
        // Fixed-value mode: the value typed for this order stays.
        setChecked(Rbhora1, false);
        setChecked(Rbhora2, false);
        setFieldEditable(Edvalor, true);
        Edvalor->setText(reformatMoney(Edvalor->text()));
    } else {
        Lbvalor->setText(row.fieldByName("VALOR").asString());
        Edvalor->setText(reformatMoney(row.fieldByName("VALOR").asString()));
    }
}

void TQuelvarino0021_0::fillCourier(Table& row, bool withRate) {
    Edcodmot->setText(row.fieldByName("COD").asString());
    Edmotoboy->setText(row.fieldByName("NOME").asString());
    if (Rbvalmot->isChecked()) {
        setFieldEditable(Edvalmot, true);
        Edvalmot->setText(reformatMoney(Edvalmot->text()));
    } else if (withRate) {
        Edvalmot->setText(reformatMoney(row.fieldByName("VALOR").asString()));
    } else {
        Edvalmot->setText(reformatMoney(Edvalmot->text()));
    }
    SearchScreen::fillControls(
        this, {{"Edmar", "MARCA"}, {"Edmod", "MODELO"}, {"Edano", "ANO"}, {"Edplac", "PLACA"}},
        row);
}

void TQuelvarino0021_0::Btn_ConsCliClick() {
    if (auto* search = TQuelvarino0011_1::instance()) {
        search->table()->close();
        search->openSearch(QStringLiteral("ordem_servico"));
    }
}

void TQuelvarino0021_0::Btn_ConsMotClick() {
    if (auto* search = TQuelvarino0012_1::instance()) {
        search->table()->close();
        search->openSearch(QStringLiteral("ordem_servico"));
    }
}

// ---- field checks -------------------------------------------------------------

void TQuelvarino0021_0::EddataExit() {
    if (!Eddata->isBlank())
        runDateCheck(Eddata);
}

bool TQuelvarino0021_0::EdhoraExit(MaskEdit* field) {
    const QString t = field->text();
    if (t == QLatin1String(kBlankTime))
        return true;
    bool bad = false;
    auto complain = [&bad](const char* text) {
        MessageBox::information(QString::fromUtf8(text));
        bad = true;
    };
    if (t[0] == QLatin1Char(' ') || t[1] == QLatin1Char(' ') || t[3] == QLatin1Char(' ') ||
        t[4] == QLatin1Char(' ')) {
        complain("Hora invádlida!!!");
    } else {
        if (t.left(2).toInt() > 24)
            complain("Hora invádlida!!!");
        if (t.mid(3, 2).toInt() >= 60)
            complain("Hora inválida!!!");
    }
    if (bad) {
        recordValid_ = false;
        field->setFocus();
    }
    return !bad;
}

void TQuelvarino0021_0::Edhora3Exit() {
    if (!EdhoraExit(Edhora3))
        return;  // said already; the comparison needs a time
    // An order never crosses midnight: work after it is a second order. The
    // end is compared with each time that is filled, not only when both are.
    if (endsBeforeItStarts(hoursState())) {
        MessageBox::question(QStringLiteral("Deve ser aberto outra ordem de serviço."));
        Edhora3->setText(QStringLiteral("24:00"));
    }
}

void TQuelvarino0021_0::CbpagChange() {
    if (!inEditState())
        return;
    setFieldEditable(Edpag, Cbpag->currentText() != QStringLiteral("À VISTA"));
}

bool TQuelvarino0021_0::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edobs && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool newLine = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (newLine && Edobs->blockCount() >= kNotesLines) {
            MessageBox::question(
                QStringLiteral("Excedido a quantidade maxima de linhas permitido."));
            return true;
        }
    }
    return Screen::eventFilter(watched, event);
}

// ---- recording ----------------------------------------------------------------

void TQuelvarino0021_0::Btn_NovoClick() {
    clearScreen();
    setEditState();
    Edcomanda->setText(nextOrderNumber());
    setPickOnly(Cbpag, true);
    Cbpag->setCurrentIndex(-1);
    setNewRecord(true);
    Edcodcli->setFocus();
}

QList<QWidget*> TQuelvarino0021_0::validationFields() const {
    return {Edcomanda, Edcodcli, Edcliente, Eddata,    Edend,   Edbairro, Edcep,
            Eduf,      Edddd,    Edfone1,   Edlinha1,  Edfone2, Edlinha2, Edsolicit,
            Edhora1,   Edvalor,  Edcodmot,  Edveiculo, Edplaca, Edpag,    Edobs};
}

bool TQuelvarino0021_0::validate() {
    bool allBlank = true;
    for (QWidget* w : validationFields()) {
        if (auto* combo = qobject_cast<QComboBox*>(w))
            allBlank = allBlank && combo->currentText().isEmpty();
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
            allBlank = allBlank && memo->toPlainText().isEmpty();
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            allBlank = allBlank && edit->text().isEmpty();
    }
    if (allBlank) {
        MessageBox::warning(QStringLiteral(
            "Impossível gravar este registro, pois todos os campos estão em branco"));
        Edcodcli->setFocus();
        return recordValid_ = false;
    }
    if (Edcomanda->text().isEmpty() || Edcodcli->text().isEmpty() || Edcodmot->text().isEmpty()) {
        MessageBox::warning(
            QStringLiteral("O número da comanda, cliente e motoboy devem ser preenchidos."));
        Edcodcli->setFocus();
        return recordValid_ = false;
    }
    // A time changed after the end was checked may leave the end before the
    // start: such an order would be charged for time that never was.
    if (endsBeforeItStarts(hoursState())) {
        MessageBox::warning(QStringLiteral(
            "A hora final é anterior à hora de saída ou à hora inicial. Corrija os horários; "
            "o trabalho depois da meia-noite deve ser aberto em outra ordem de serviço."));
        Edhora3->setFocus();
        return recordValid_ = false;
    }
    return recordValid_ = true;
}

void TQuelvarino0021_0::writeOrder(Table& t, const OrderRecordValues& v) {
    auto set = [&t](const char* field, const QString& text) {
        t.fieldByName(field).setAsString(text);
    };
    auto time = [](MaskEdit* e) { return e->isBlank() ? QString() : e->text(); };
    set("TOTVALMOT", v.totValMot);
    set("TOTHORN", v.totHorN);
    set("TOTHOR50", v.totHor50);
    set("TOTHOR100", v.totHor100);
    set("VALORN", v.valorN);
    set("VALOR50", v.valor50);
    set("VALOR100", v.valor100);
    set("COMANDA", Edcomanda->text());
    set("CODCLI", Edcodcli->text());
    set("CLIENTE", Edcliente->text());
    set("SOLICITANTE", Edsolicit->text());
    set("HORA1", time(Edhora1));
    set("HORA2", time(Edhora2));
    set("HORA3", time(Edhora3));
    set("HORA4", time(Edhora4));
    set("VALOR", Edvalor->text());
    set("TAXAPERIM", Edtaxap->text());
    set("SEGURO", Edseguro->text());
    set("TOTVAL", Edtotval->text());
    set("CODMOT", Edcodmot->text());
    set("MOTOBOY", Edmotoboy->text());
    set("VALMOT", v.valMot);
    set("MARCA", Edmar->text());
    set("MODELO", Edmod->text());
    set("ANO", Edano->text());
    set("PLACAM", Edplac->text());
    set("VEICULO", Edveiculo->text());
    set("PLACA", Edplaca->text());
    set("PAGAMENTO",
        Cbpag->currentText().isEmpty() ? QStringLiteral("FATURADO") : Cbpag->currentText());
    set("DESCPAG", Edpag->text());
    set("OBSERVACAO", Edobs->toPlainText());
    if (Eddata->isBlank())
        Eddata->setText(formatDate(Clock::today()));
    set("DATA", Eddata->text());
}

void TQuelvarino0021_0::Btn_GravarClick() {
    if (!validate())
        return;
    Table* t = DataModule1->TBOrdem;
    const QString number = Edcomanda->text().trimmed();
    const bool heldForChange = t->isOpen() && t->state() == Table::State::Edit &&
                               t->fieldByName("COMANDA").asString() == number;

    // The courier's own hour rate, only for a courier with exactly this code.
    std::optional<QString> rate;
    {
        Table couriers(QStringLiteral("tbmotociclista"));
        if (couriers.findExact(QStringLiteral("COD"), Edcodmot->text()))
            rate = couriers.fieldByName("VALOR").asString();
    }
    const OrderRecomputation rec = recomputeForRecording(hoursState(), rate);
    applyHoursState(rec.screen);

    QString movedFrom;
    if (!heldForChange) {
        t->close();
        t->setIndexFieldNames(QStringLiteral("COMANDA"));
        t->open();
        if (isNewRecord()) {
            // A number is only proposed: when another workstation recorded
            // an order under it meanwhile, this one takes the next free one.
            const QString free = RecordScreen::freeCode(*t, QStringLiteral("COMANDA"), number, 10);
            if (free != number) {
                movedFrom = number;
                Edcomanda->setText(free);
            }
            t->insert();
        } else if (t->findKey(number)) {
            if (!RecordScreen::lockedAction(*t, [t] { t->edit(); }))
                return;
        } else {
            t->insert();
        }
    }
    // Another workstation may take the number between the look-up and the
    // post: a new order then moves on to the next free number.
    for (int attempt = 1;; ++attempt) {
        writeOrder(*t, rec.values);
        try {
            t->post();
            break;
        } catch (const KeyExistsError&) {
            if (!isNewRecord() || heldForChange || attempt >= RecordScreen::kPostAttempts)
                throw;
            t->cancel();
            const QString taken = Edcomanda->text();
            if (movedFrom.isEmpty())
                movedFrom = taken;
            Edcomanda->setText(RecordScreen::freeCode(*t, QStringLiteral("COMANDA"), taken, 10));
            t->insert();
        }
    }
    t->saveChanges();
    t->flushBuffers();
    t->close();
    setNewRecord(false);
    setBrowseState();
    Btn_Imprimir->setEnabled(!Edcomanda->text().isEmpty());
    if (!movedFrom.isEmpty())
        MessageBox::warning(
            QStringLiteral("A ordem de serviço nº %1 foi gravada por outro usuário; "
                           "esta ordem foi gravada com o nº %2.")
                .arg(movedFrom, Edcomanda->text()));
}

void TQuelvarino0021_0::Btn_ImprimirClick() {
    if (Edcomanda->text().trimmed().isEmpty()) {
        MessageBox::warning(QStringLiteral("Ordem de serviço inexistente."));
        return;
    }
    if (auto* dialog = qobject_cast<Screen*>(Screens::find(QStringLiteral("Quelvarino0021_5"))))
        dialog->showScreen();
}

// ---- a recorded order: search, change and delete under the password -------

void TQuelvarino0021_0::Btn_ConsultarClick() {
    clearScreen();
    if (auto* search = TQuelvarino0021_1::instance()) {
        search->table()->close();
        search->openSearch(QStringLiteral("ordem_servico"));
    }
}

void TQuelvarino0021_0::loadOrder(Table& row) {
    auto f = [&row](const char* name) { return row.fieldByName(name).asString(); };
    Edcomanda->setText(f("COMANDA"));
    Edcodcli->setText(f("CODCLI"));
    Edcliente->setText(f("CLIENTE"));
    // The client's address as it is today, not as it was on the order's day.
    Table clients(QStringLiteral("tbclientes"));
    if (clients.findExact(QStringLiteral("CODCLI"), Edcodcli->text())) {
        SearchScreen::fillControls(this,
                                   {{"Edend", "ENDERECO1"},
                                    {"Edbairro", "BAIRRO1"},
                                    {"Edcid", "CIDADE1"},
                                    {"Eduf", "UF1"},
                                    {"Edcep", "CEP1"},
                                    {"Edddd", "DDD1"},
                                    {"Edfone1", "TELEFONE1_1"},
                                    {"Edlinha1", "TIPOTEL1_1"},
                                    {"Edfone2", "TELEFONE1_2"},
                                    {"Edlinha2", "TIPOTEL1_2"}},
                                   clients);
    }
    clients.close();
    Edsolicit->setText(f("SOLICITANTE"));
    Edhora1->setText(f("HORA1"));
    Edhora2->setText(f("HORA2"));
    Edhora3->setText(f("HORA3"));
    Edhora4->setText(f("HORA4"));
    Edvalor->setText(reformatMoney(f("VALOR")));
    Edseguro->setText(reformatMoney(f("SEGURO")));
    Edtaxap->setText(reformatMoney(f("TAXAPERIM")));
    Edtotval->setText(reformatMoney(f("TOTVAL")));
    Edcodmot->setText(f("CODMOT"));
    Edmotoboy->setText(f("MOTOBOY"));
    Edvalmot->setText(reformatMoney(f("VALMOT")));
    Edmar->setText(f("MARCA"));
    Edmod->setText(f("MODELO"));
    Edano->setText(f("ANO"));
    Edplac->setText(f("PLACAM"));
    Edveiculo->setText(f("VEICULO"));
    Edplaca->setText(f("PLACA"));
    setPickOnly(Cbpag, false);
    setComboText(Cbpag, f("PAGAMENTO"));
    Edpag->setText(f("DESCPAG"));
    Edobs->setPlainText(f("OBSERVACAO"));
    Eddata->setText(f("DATA"));
    setNewRecord(false);
    setBrowseState();
    Btn_Imprimir->setEnabled(!Edcomanda->text().isEmpty());
}

// The order on screen, locked in the data module's table; false (and the
// operator told) when it is no longer stored or another user holds it.
bool TQuelvarino0021_0::openStoredOrder(bool lock, const QString& missing) {
    Table* t = DataModule1->TBOrdem;
    // Only the order with exactly this number: another workstation may have
    // deleted it, and the nearest one is somebody else's.
    if (!t->findExact(QStringLiteral("COMANDA"), Edcomanda->text().trimmed())) {
        t->close();
        MessageBox::warning(missing.arg(Edcomanda->text().trimmed()));
        return false;
    }
    return !lock || RecordScreen::lockedAction(*t, [t] { t->edit(); });
}

void TQuelvarino0021_0::showPassword() {
    if (auto* password = TQuelvarino0021_3::instance())
        password->showScreen(QStringLiteral("Edsenha"));
}

void TQuelvarino0021_0::Btn_AlterarClick() {
    if (Edcomanda->text().isEmpty()) {
        MessageBox::warning(QStringLiteral("Selecione o registro que será alterado."));
        return;
    }
    if (!openStoredOrder(true, QStringLiteral("A ordem de serviço nº %1 não está gravada; "
                                              "nada foi alterado.")))
        return;
    pendingProtected_ = QStringLiteral("Alterar");
    showPassword();
}

void TQuelvarino0021_0::Btn_ExcluirClick() {
    if (Edcomanda->text().trimmed().isEmpty()) {
        MessageBox::warning(QStringLiteral("Selecione o registro que será excluído"));
        return;
    }
    if (!openStoredOrder(false, QStringLiteral("A ordem de serviço nº %1 não está gravada; "
                                               "nada foi excluído.")))
        return;
    DataModule1->TBOrdem->close();
    pendingProtected_ = QStringLiteral("Excluir");
    showPassword();
}

void TQuelvarino0021_0::passwordAcceptedForChange() {
    setEditState();
    // The lock taken by Alterar ends here; Gravar takes it again.
    DataModule1->TBOrdem->close();
    showScreen();
    setPickOnly(Cbpag, false);
    setNewRecord(false);
    Edcodcli->setFocus();
}

bool TQuelvarino0021_0::passwordAcceptedForDelete() {
    if (!MessageBox::confirm(QStringLiteral("Deseja excluir esta ordem de serviço?")))
        return false;
    if (openStoredOrder(false, QStringLiteral("A ordem de serviço nº %1 não está mais gravada; "
                                              "nada foi excluído."))) {
        Table* t = DataModule1->TBOrdem;
        if (!RecordScreen::lockedAction(*t, [t] { t->remove(); }))
            return true;
        t->saveChanges();
        t->flushBuffers();
        t->close();
    }
    // Cleared whole, with the next number: nothing of the deleted order is
    // left on the screen.
    clearScreen();
    showScreen();
    return true;
}

void TQuelvarino0021_0::showEvent(QShowEvent* event) {
    RecordScreen::showEvent(event);
    Lbdata->setText(formatDate(Clock::today()));
    // A cleared screen shows the number the next new order would get.
    if (!inEditState() && Edcomanda->text().isEmpty() && DataModule1)
        guarded([this] { clearScreen(); });
}

TQuelvarino0021_0* TQuelvarino0021_0::instance() {
    return Screens::get<TQuelvarino0021_0>(QStringLiteral("Quelvarino0021_0"));
}

}  // namespace quelvarino
