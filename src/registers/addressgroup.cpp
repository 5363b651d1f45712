#include "registers/addressgroup.h"

#include "widgets/fields.h"
#include "widgets/maskedit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace quelvarino {

BankFields makeBankGroup(const QString& title, const QString& agencyCaption, QWidget* parent) {
    BankFields f;
    f.box = new QGroupBox(title, parent);
    auto* b = new QHBoxLayout(f.box);
    f.bank = makeEdit(f.box, QStringLiteral("Ed_Banco"), 20, true);
    f.agency = makeEdit(f.box, QStringLiteral("Ed_Agencia"), 10, true);
    f.account = makeEdit(f.box, QStringLiteral("Ed_CCor"), 10, true);
    b->addWidget(new QLabel(QStringLiteral("Banco :"), f.box));
    b->addWidget(f.bank, 2);
    b->addWidget(new QLabel(agencyCaption, f.box));
    b->addWidget(f.agency, 1);
    b->addWidget(new QLabel(QStringLiteral("Conta Corrente :"), f.box));
    b->addWidget(f.account, 1);
    return f;
}

AddressGroup::AddressGroup(const QString& title, int number, const Captions& c, QWidget* parent)
    : QGroupBox(title, parent), number_(number), cepFirst_(c.cepBeforeCity) {
    setObjectName(QStringLiteral("GroupBox%1").arg(number));
    const QString n = QString::number(number);
    Ed_End = makeEdit(this, "Ed_End" + n, c.streetLength, true);
    Ed_Bairro = makeEdit(this, "Ed_Bairro" + n, 30, true);
    Ed_Cid = makeEdit(this, "Ed_Cid" + n, 30, true);
    Cb_Est = makeCombo("Cb_Est" + n, ufList(), 2, this);
    Ed_Cep = makeMaskEdit(this, "Ed_Cep" + n, QStringLiteral("99999-999;1;_"));
    Ed_Ddd = makeEdit(this, "Ed_Ddd" + n, 3, false);
    if (c.phoneMasks) {
        Ed_Tel_1 = makePhoneEdit(this, "Ed_Tel" + n + "_1");
        Ed_Tel_2 = makePhoneEdit(this, "Ed_Tel" + n + "_2");
    } else {
        Ed_Tel_1 = makeEdit(this, "Ed_Tel" + n + "_1", 10, false);
        Ed_Tel_2 = makeEdit(this, "Ed_Tel" + n + "_2", 10, false);
    }
    Cb_Tipofone_1 = makeCombo("Cb_Tipofone" + n + "_1", phoneKinds(), 10, this);
    Cb_Tipofone_2 = makeCombo("Cb_Tipofone" + n + "_2", phoneKinds(), 10, this);
    Ed_Contato = makeEdit(this, "Ed_Contato" + n, 80, true);
    Ed_Ddd->setMaximumWidth(Ed_Ddd->minimumWidth());

    auto* g = new QGridLayout(this);
    gridRow(g, 0, {c.street, {Ed_End, 4}});
    gridRow(g, 1, {"Bairro :", {Ed_Bairro, 4}});
    const int cityRow = cepFirst_ ? 3 : 2;
    g->addWidget(new QLabel(QStringLiteral("Cidade :"), this), cityRow, 0);
    g->addWidget(Ed_Cid, cityRow, 1, 1, 2);
    g->addWidget(new QLabel(c.uf, this), cityRow, 3);
    g->addWidget(Cb_Est, cityRow, 4);
    g->addWidget(new QLabel(c.cep, this), cepFirst_ ? 2 : 3, 0);
    g->addWidget(Ed_Cep, cepFirst_ ? 2 : 3, 1);
    gridRow(g, 4, {"Telefones :  DDD", Ed_Ddd, Ed_Tel_1, {Cb_Tipofone_1, 2}});
    gridRow(g, 5, {"Telefone 2 :", gap(1), Ed_Tel_2, {Cb_Tipofone_2, 2}});
    gridRow(g, 6, {c.contact, {Ed_Contato, 4}});
    // The tab order of the block: address, district, city, UF, CEP, area
    // code, first phone and kind, second phone and kind, contact.
    const auto order = fields();
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1].first, order[i].first);
}

QList<QPair<QWidget*, QString>> AddressGroup::fields() const {
    const QString n = QString::number(number_);
    QList<QPair<QWidget*, QString>> place = {{Ed_Cid, "CIDADE" + n}, {Cb_Est, "UF" + n}};
    if (cepFirst_)
        place.prepend({Ed_Cep, "CEP" + n});
    else
        place.append({Ed_Cep, "CEP" + n});
    return QList<QPair<QWidget*, QString>>{{Ed_End, "ENDERECO" + n}, {Ed_Bairro, "BAIRRO" + n}} +
           place +
           QList<QPair<QWidget*, QString>>{{Ed_Ddd, "DDD" + n},
                                           {Ed_Tel_1, "TELEFONE" + n + "_1"},
                                           {Cb_Tipofone_1, "TIPOTEL" + n + "_1"},
                                           {Ed_Tel_2, "TELEFONE" + n + "_2"},
                                           {Cb_Tipofone_2, "TIPOTEL" + n + "_2"},
                                           {Ed_Contato, "CONTATO" + n}};
}

void AddressGroup::copyFrom(const AddressGroup& o) {
    for (QComboBox* combo : combos())
        setPickOnly(combo, false);
    Ed_End->setText(o.Ed_End->text());
    Ed_Bairro->setText(o.Ed_Bairro->text());
    Ed_Cep->setText(o.Ed_Cep->text());
    Ed_Cid->setText(o.Ed_Cid->text());
    setComboText(Cb_Est, o.Cb_Est->currentText());
    Ed_Ddd->setText(o.Ed_Ddd->text());
    Ed_Tel_1->setText(o.Ed_Tel_1->text());
    setComboText(Cb_Tipofone_1, o.Cb_Tipofone_1->currentText());
    Ed_Tel_2->setText(o.Ed_Tel_2->text());
    setComboText(Cb_Tipofone_2, o.Cb_Tipofone_2->currentText());
    Ed_Contato->setText(o.Ed_Contato->text());
}

void TwoAddresses::keepAddress(int a, AddressGroup* g) {
    Address[a] = g;
    Ed_End[a] = g->Ed_End;
    Ed_Bairro[a] = g->Ed_Bairro;
    Ed_Cid[a] = g->Ed_Cid;
    Cb_Est[a] = g->Cb_Est;
    Ed_Cep[a] = g->Ed_Cep;
    Ed_Ddd[a] = g->Ed_Ddd;
    Ed_Tel_1[a] = g->Ed_Tel_1;
    Cb_Tipofone_1[a] = g->Cb_Tipofone_1;
    Ed_Tel_2[a] = g->Ed_Tel_2;
    Cb_Tipofone_2[a] = g->Cb_Tipofone_2;
    Ed_Contato[a] = g->Ed_Contato;
}

}  // namespace quelvarino
