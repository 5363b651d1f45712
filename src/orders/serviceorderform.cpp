#include "orders/serviceorder.h"

#include "widgets/fieldedit.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"
#include "widgets/pixcodelabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

// The order screen's form: its controls, their names and captions, and the
// order Tab takes through them (the order in which they are made).

namespace quelvarino {
namespace {

const char* const kTimeMask = "!99:99;1;_";

// Ten characters, as the receipt's value: six would stop "1234,56" at
// "1234,5" without a word, and the order would be recorded short.
QLineEdit* moneyEdit(QWidget* parent, const char* name) {
    QLineEdit* e = makeEdit(parent, QString::fromLatin1(name), 10, false);
    moneyKeys(e);
    e->setText(QStringLiteral("0,00"));
    return e;
}

QLabel* caption(const char* text, QWidget* parent) {
    return new QLabel(QString::fromUtf8(text), parent);
}

}  // namespace

void TQuelvarino0021_0::buildScreen() {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildHead());
    layout->addWidget(buildClientBox());
    layout->addWidget(buildHoursBox());
    layout->addWidget(buildCourierBox());
    layout->addWidget(buildOtherBox());
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

QLayout* TQuelvarino0021_0::buildHead() {
    auto* head = new QHBoxLayout;
    Edcomanda = makeEdit(this, QStringLiteral("Edcomanda"), 10, true);
    Edcomanda->setFixedWidth(Edcomanda->minimumWidth());
    head->addWidget(caption("Ordem de Serviço  Nº.  :", this));
    head->addWidget(Edcomanda);
    head->addStretch();
    Lbdata = makeDateLabel(this);
    head->addWidget(Lbdata);
    return head;
}

QWidget* TQuelvarino0021_0::buildClientBox() {
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
    gridRow(c, 0, {"Cliente :", Edcodcli, {Edcliente, 4}, Btn_ConsCli, "Data :", Eddata});
    gridRow(c, 1, {"Rua/Avenida :", {Edend, 5}, "Bairro :", {Edbairro, 2}});
    gridRow(c, 2, {"Cidade :", {Edcid, 3}, "Estado :", Eduf, "CEP :", {Edcep, 2}});
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
    return client;
}

QWidget* TQuelvarino0021_0::buildHoursBox() {
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
    return hours;
}

QWidget* TQuelvarino0021_0::buildCourierBox() {
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
    gridRow(m, 0, {"Solicitante :", {Edsolicit, 8}});
    gridRow(m, 1,
            {"Motoboy :", Edcodmot, {Edmotoboy, 3}, Btn_ConsMot, "Valor :", Edvalmot, Rbvalmot});
    gridRow(m, 2, {"Marca :", {Edmar, 2}, "Modelo :", Edmod, "Ano :", Edano, "Placa :", Edplac});
    return courier;
}

QWidget* TQuelvarino0021_0::buildOtherBox() {
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
    gridRow(o, 0, {"Veículo :", {Edveiculo, 3}, "Placa :", Edplaca});
    gridRow(o, 1, {"Forma pagto. :", Cbpag, {"-", 1, Qt::AlignCenter}, Edpag});
    gridRow(o, 2, {{"Observações :", 1, Qt::AlignTop}, {Edobs, 5}});
    // The order's PIX code, for a client at the counter, beside the notes.
    Lbpix = new PixCodeLabel(QStringLiteral("Lbpix"), 150, other);
    o->addWidget(Lbpix, 0, 6, 3, 1, Qt::AlignCenter);
    return other;
}

}  // namespace quelvarino
