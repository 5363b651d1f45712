#include "settings/company.h"

#include "core/clock.h"
#include "core/dates.h"
#include "core/errors.h"
#include "core/registerchecks.h"
#include "data/datamodule.h"
#include "data/table.h"
#include "registers/documentfield.h"
#include "registers/recordscreen.h"
#include "widgets/application.h"
#include "widgets/fieldedit.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/toolbar.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quelvarino {
namespace {

const char* const kBlankCnpj = "  .   .   /    -  ";
const char* const kBlankCpf = "   .   .   -  ";

QString textOf(QWidget* w) {
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentText();
    return static_cast<QLineEdit*>(w)->text();
}

void setTextOf(QWidget* w, const QString& text) {
    if (auto* combo = qobject_cast<QComboBox*>(w))
        setComboText(combo, text);
    else
        static_cast<QLineEdit*>(w)->setText(text);
}

}  // namespace

TQuelvarino00Emp_0::TQuelvarino00Emp_0(QWidget* parent)
    : Screen(QStringLiteral("Quelvarino00Emp_0"), QStringLiteral("Dados da Empresa"), parent) {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QGroupBox(this);
    auto* g = new QGridLayout(top);
    Ed_Razsoc = makeEdit(top, QStringLiteral("Ed_Razsoc"), 50, true);
    Rb_Cnpj = new QRadioButton(QStringLiteral("C.N.P.J."), top);
    Rb_Cnpj->setObjectName(QStringLiteral("Rb_Cnpj"));
    Rb_Cpf = new QRadioButton(QStringLiteral("C.P.F."), top);
    Rb_Cpf->setObjectName(QStringLiteral("Rb_Cpf"));
    Ed_Cnpj = makeMaskEdit(top, QStringLiteral("Ed_Cnpj"), QString());
    setTypingLimit(Ed_Cnpj, 20);
    document().keepWidth();
    Ed_Inscest = makeEdit(top, QStringLiteral("Ed_Inscest"), 20, true);
    Ed_Nomefan = makeEdit(top, QStringLiteral("Ed_Nomefan"), 50, true);
    Ed_Site = makeEdit(top, QStringLiteral("Ed_Site"), 40, false);
    lowerCaseField(Ed_Site);
    Ed_Email = makeEdit(top, QStringLiteral("Ed_Email"), 40, false);
    lowerCaseField(Ed_Email);
    Ed_Data = makeMaskEdit(top, QStringLiteral("Ed_Data"), QStringLiteral("99/99/9999;1;_"));
    auto* doc = new QHBoxLayout;
    doc->addWidget(Rb_Cnpj);
    doc->addWidget(Rb_Cpf);
    doc->addWidget(Ed_Cnpj, 1);
    g->addWidget(new QLabel(QStringLiteral("Razão Social :"), top), 0, 0);
    g->addWidget(Ed_Razsoc, 0, 1, 1, 3);
    g->addLayout(doc, 1, 0, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("Insc. Est. / R.G. :"), top), 1, 2);
    g->addWidget(Ed_Inscest, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Nome Fantasia :"), top), 2, 0);
    g->addWidget(Ed_Nomefan, 2, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Site :"), top), 3, 0);
    g->addWidget(Ed_Site, 3, 1);
    g->addWidget(new QLabel(QStringLiteral("e-mail :"), top), 3, 2);
    g->addWidget(Ed_Email, 3, 3);
    layout->addWidget(top);

    auto* addresses = new QHBoxLayout;
    const QString titles[2] = {QStringLiteral("Endereço Administrativo :"),
                               QStringLiteral("Endereço de Logística :")};
    for (int a = 0; a < 2; ++a) {
        const QString n = QString::number(a + 1);
        auto* group = new QGroupBox(titles[a], this);
        auto* ag = new QGridLayout(group);
        Ed_End[a] = makeEdit(group, "Ed_End" + n, 50, true);
        Ed_Bairro[a] = makeEdit(group, "Ed_Bairro" + n, 30, true);
        Ed_Cep[a] = makeMaskEdit(group, "Ed_Cep" + n, QStringLiteral("99999-999;1;_"));
        Ed_Cid[a] = makeEdit(group, "Ed_Cid" + n, 30, true);
        Cb_Est[a] = makeCombo("Cb_Est" + n, ufList(), 2, group);
        Ed_Ddd[a] = makeEdit(group, "Ed_Ddd" + n, 3, false);
        Ed_Tel_1[a] = makeEdit(group, "Ed_Tel" + n + "_1", 10, false);
        Cb_Tipofone_1[a] = makeCombo("Cb_Tipofone" + n + "_1", phoneKinds(), 10, group);
        Ed_Tel_2[a] = makeEdit(group, "Ed_Tel" + n + "_2", 10, false);
        Cb_Tipofone_2[a] = makeCombo("Cb_Tipofone" + n + "_2", phoneKinds(), 10, group);
        Ed_Contato[a] = makeEdit(group, "Ed_Contato" + n, 80, true);
        Ed_Ddd[a]->setMaximumWidth(Ed_Ddd[a]->minimumWidth());
        ag->addWidget(new QLabel(QStringLiteral("Rua/Avenida :"), group), 0, 0);
        ag->addWidget(Ed_End[a], 0, 1, 1, 3);
        ag->addWidget(new QLabel(QStringLiteral("Bairro :"), group), 1, 0);
        ag->addWidget(Ed_Bairro[a], 1, 1, 1, 3);
        ag->addWidget(new QLabel(QStringLiteral("CEP :"), group), 2, 0);
        ag->addWidget(Ed_Cep[a], 2, 1);
        ag->addWidget(new QLabel(QStringLiteral("Cidade :"), group), 3, 0);
        ag->addWidget(Ed_Cid[a], 3, 1);
        ag->addWidget(new QLabel(QStringLiteral("Estado :"), group), 3, 2);
        ag->addWidget(Cb_Est[a], 3, 3);
        ag->addWidget(new QLabel(QStringLiteral("Telefones :  DDD"), group), 4, 0);
        ag->addWidget(Ed_Ddd[a], 4, 1);
        ag->addWidget(Ed_Tel_1[a], 4, 2);
        ag->addWidget(Cb_Tipofone_1[a], 4, 3);
        ag->addWidget(new QLabel(QStringLiteral("Telefone 2 :"), group), 5, 0);
        ag->addWidget(Ed_Tel_2[a], 5, 2);
        ag->addWidget(Cb_Tipofone_2[a], 5, 3);
        ag->addWidget(new QLabel(QStringLiteral("Responsável :"), group), 6, 0);
        ag->addWidget(Ed_Contato[a], 6, 1, 1, 3);
        addresses->addWidget(group);
    }
    layout->addLayout(addresses);

    auto* bank = new QGroupBox(QStringLiteral("Informações Bancárias"), this);
    auto* b = new QHBoxLayout(bank);
    Ed_Banco = makeEdit(bank, QStringLiteral("Ed_Banco"), 20, true);
    Ed_Agencia = makeEdit(bank, QStringLiteral("Ed_Agencia"), 10, true);
    Ed_CCor = makeEdit(bank, QStringLiteral("Ed_CCor"), 10, true);
    b->addWidget(new QLabel(QStringLiteral("Banco :"), bank));
    b->addWidget(Ed_Banco, 2);
    b->addWidget(new QLabel(QStringLiteral("Agência : "), bank));
    b->addWidget(Ed_Agencia, 1);
    b->addWidget(new QLabel(QStringLiteral("Conta Corrente :"), bank));
    b->addWidget(Ed_CCor, 1);
    layout->addWidget(bank);
    auto* date = new QHBoxLayout;
    date->addStretch();
    date->addWidget(new QLabel(QStringLiteral("Data da Última Alteração:"), this));
    Ed_Data->setMaximumWidth(Ed_Data->minimumWidth());
    date->addWidget(Ed_Data);
    layout->addLayout(date);

    QHBoxLayout* toolbar = takeToolbar(this);
    Btn_Novo->setToolTip(QStringLiteral("Inclusão de dados"));
    Btn_Cancel->setToolTip(QStringLiteral("Cancelar operação"));
    layout->addLayout(toolbar);

    const QList<QPair<QPushButton*, void (TQuelvarino00Emp_0::*)()>> handlers = {
        {Btn_Novo, &TQuelvarino00Emp_0::Btn_NovoClick},
        {Btn_Alterar, &TQuelvarino00Emp_0::Btn_AlterarClick},
        {Btn_Gravar, &TQuelvarino00Emp_0::Btn_GravarClick},
        {Btn_Cancel, &TQuelvarino00Emp_0::Btn_CancelClick},
        {Btn_Excluir, &TQuelvarino00Emp_0::Btn_ExcluirClick},
        {Btn_Limpar, &TQuelvarino00Emp_0::Btn_LimparClick},
        {Btn_Retornar, &TQuelvarino00Emp_0::Btn_RetornarClick}};
    for (const auto& [button, handler] : handlers)
        connect(button, &QPushButton::clicked, this,
                [this, handler = handler] { guarded([&] { (this->*handler)(); }); });
    connect(Rb_Cnpj, &QRadioButton::clicked, this, [this] { guarded([this] { Rb_CnpjClick(); }); });
    connect(Rb_Cpf, &QRadioButton::clicked, this, [this] { guarded([this] { Rb_CpfClick(); }); });
    onExit(Ed_Cnpj, [this] { Ed_CnpjExit(); });
    for (const auto& [w, field] : dataFields())
        enterMovesOn(w);
    onEnter(Ed_Contato[0], [this] { copyAddressToLogistics(); });
    setFieldEditable(Ed_Data, false);
    clearFields();
    setBrowsing(false);
}

QList<QPair<QWidget*, QString>> TQuelvarino00Emp_0::dataFields() const {
    QList<QPair<QWidget*, QString>> out = {{Ed_Razsoc, "RAZAOSOCIAL"}, {Ed_Cnpj, "CNPJ"},
                                           {Ed_Inscest, "INSCREST"},   {Ed_Nomefan, "NOMEFAN"},
                                           {Ed_Site, "SITE"},          {Ed_Email, "EMAIL"}};
    for (int a = 0; a < 2; ++a) {
        const QString n = QString::number(a + 1);
        out += {{Ed_End[a], "ENDERECO" + n},
                {Ed_Bairro[a], "BAIRRO" + n},
                {Ed_Cep[a], "CEP" + n},
                {Ed_Cid[a], "CIDADE" + n},
                {Cb_Est[a], "UF" + n},
                {Ed_Ddd[a], "DDD" + n},
                {Ed_Tel_1[a], "TELEFONE" + n + "_1"},
                {Cb_Tipofone_1[a], "TIPOTEL" + n + "_1"},
                {Ed_Tel_2[a], "TELEFONE" + n + "_2"},
                {Cb_Tipofone_2[a], "TIPOTEL" + n + "_2"},
                {Ed_Contato[a], "CONTATO" + n}};
    }
    out += {{Ed_Banco, "BANCO"}, {Ed_Agencia, "AGENCIA"}, {Ed_CCor, "CONTAC"}};
    return out;
}

DocumentField TQuelvarino00Emp_0::document() const {
    return {Ed_Cnpj, Rb_Cnpj, Rb_Cpf};
}

void TQuelvarino00Emp_0::clearFields() {
    document().reset();
    for (const auto& [w, field] : dataFields())
        setTextOf(w, QString());
    Ed_Data->clear();
}

void TQuelvarino00Emp_0::setBrowsing(bool recordExists) {
    entering_ = false;
    for (QPushButton* b : {Btn_Novo, Btn_Alterar, Btn_Gravar, Btn_Cancel, Btn_Excluir,
                           Btn_Consultar, Btn_Limpar, Btn_Imprimir, Btn_Retornar})
        b->setEnabled(false);
    for (QPushButton* b : {Btn_Excluir, Btn_Limpar, Btn_Retornar})
        b->setEnabled(true);
    Btn_Novo->setEnabled(!recordExists);
    Btn_Alterar->setEnabled(recordExists);
    for (const auto& [w, field] : dataFields())
        setFieldEditable(w, false);
    setFieldEditable(Rb_Cnpj, false);
    setFieldEditable(Rb_Cpf, false);
}

void TQuelvarino00Emp_0::setEntering() {
    entering_ = true;
    for (QPushButton* b : {Btn_Novo, Btn_Alterar, Btn_Excluir, Btn_Consultar, Btn_Limpar,
                           Btn_Imprimir, Btn_Retornar})
        b->setEnabled(false);
    Btn_Gravar->setEnabled(true);
    Btn_Cancel->setEnabled(true);
    for (const auto& [w, field] : dataFields())
        setFieldEditable(w, true);
    setFieldEditable(Rb_Cnpj, true);
    setFieldEditable(Rb_Cpf, true);
}

void TQuelvarino00Emp_0::loadStored() {
    Table* t = DataModule1->TBEmpresa;
    t->close();
    t->setIndexName(QStringLiteral("RAZAOSOCIAL"));
    t->open();
    t->first();
    // A record emptied by Excluir counts as nothing stored, so that Novo
    // fills it again; it is still the one record Gravar edits.
    const bool exists = !t->isEmpty() && !t->fieldByName("RAZAOSOCIAL").asString().isEmpty();
    if (exists) {
        for (const auto& [w, field] : dataFields()) {
            if (auto* combo = qobject_cast<QComboBox*>(w))
                setPickOnly(combo, false);
            setTextOf(w, t->fieldByName(field).asString());
        }
        Ed_Data->setText(t->fieldByName("DATA").asString());
    }
    t->close();
    setBrowsing(exists);
}

void TQuelvarino00Emp_0::FormActivate() {
    // Never over what the operator is typing.
    if (!entering_ && DataModule1)
        loadStored();
}

void TQuelvarino00Emp_0::showEvent(QShowEvent* event) {
    Screen::showEvent(event);
    if (!entering_ && DataModule1)
        guarded([this] { loadStored(); });
}

void TQuelvarino00Emp_0::Rb_CnpjClick() {
    document().chooseCnpj();
    Ed_Cnpj->setFocus();
}

void TQuelvarino00Emp_0::Rb_CpfClick() {
    document().chooseCpf();
    Ed_Cnpj->setFocus();
}

void TQuelvarino00Emp_0::Ed_CnpjExit() {
    // A number typed without choosing C.N.P.J. or C.P.F. takes the kind its
    // digits say, so it is checked too; otherwise the operator is told.
    if (!Ed_Cnpj->text().isEmpty() && !Rb_Cnpj->isChecked() && !Rb_Cpf->isChecked() &&
        Ed_Cnpj->isModified() && !document().takeKindFromDigits()) {
        MessageBox::question(
            QStringLiteral("Escolha C.N.P.J. ou C.P.F. e digite o número do documento."));
        return;
    }
    const QString text = Ed_Cnpj->text();
    if (text == QLatin1String(kBlankCnpj) || text == QLatin1String(kBlankCpf) || text.isEmpty())
        return;
    // A warning only: the focus moves on and the number is saved as typed.
    if (Rb_Cnpj->isChecked() && !isValidCnpj(text))
        MessageBox::question(QStringLiteral("Número do CNPJ invalido."));
    else if (Rb_Cpf->isChecked() && !isValidCpf(text))
        MessageBox::question(QStringLiteral("Número do CPF invalido."));
}

void TQuelvarino00Emp_0::copyAddressToLogistics() {
    for (QComboBox* combo : {Cb_Est[1], Cb_Tipofone_1[1], Cb_Tipofone_2[1]})
        setPickOnly(combo, false);
    Ed_End[1]->setText(Ed_End[0]->text());
    Ed_Bairro[1]->setText(Ed_Bairro[0]->text());
    Ed_Cep[1]->setText(Ed_Cep[0]->text());
    Ed_Cid[1]->setText(Ed_Cid[0]->text());
    setComboText(Cb_Est[1], Cb_Est[0]->currentText());
    Ed_Ddd[1]->setText(Ed_Ddd[0]->text());
    Ed_Tel_1[1]->setText(Ed_Tel_1[0]->text());
    setComboText(Cb_Tipofone_1[1], Cb_Tipofone_1[0]->currentText());
    Ed_Tel_2[1]->setText(Ed_Tel_2[0]->text());
    setComboText(Cb_Tipofone_2[1], Cb_Tipofone_2[0]->currentText());
    Ed_Contato[1]->setText(Ed_Contato[0]->text());
}

void TQuelvarino00Emp_0::Btn_NovoClick() {
    clearFields();
    Ed_Data->setText(formatDate(Clock::today()));
    setEntering();
    Ed_Razsoc->setFocus();
}

void TQuelvarino00Emp_0::Btn_AlterarClick() {
    if (Ed_Razsoc->text().isEmpty()) {
        MessageBox::warning(QStringLiteral("Selecione o registro que será alterado."));
        return;
    }
    Table* t = DataModule1->TBEmpresa;
    t->close();
    t->setIndexName(QStringLiteral("RAZAOSOCIAL"));
    t->open();
    t->findNearest(Ed_Razsoc->text());
    if (!RecordScreen::lockedAction(*t, [t] { t->edit(); }))
        return;
    setEntering();
    Ed_Razsoc->setFocus();
}

bool TQuelvarino00Emp_0::validate() {
    QList<QWidget*> looked = {Ed_Razsoc, Ed_Cnpj,  Ed_Inscest, Ed_Nomefan,
                              Ed_Ddd[0], Ed_Banco, Ed_Agencia, Ed_CCor};
    for (int a = 0; a < 2; ++a)
        looked += {Ed_End[a],        Ed_Cep[a],   Cb_Est[a],        Ed_Cid[a],    Ed_Tel_1[a],
                   Cb_Tipofone_1[a], Ed_Tel_2[a], Cb_Tipofone_2[a], Ed_Contato[a]};
    bool allBlank = true;
    for (QWidget* w : looked) {
        auto* masked = qobject_cast<MaskEdit*>(w);
        const bool blank =
            masked ? (masked->text().isEmpty() || masked->isBlank()) : textOf(w).isEmpty();
        allBlank = allBlank && blank;
    }
    if (allBlank) {
        MessageBox::warning(QStringLiteral(
            "Impossível gravar este registro, pois todos os campos estão em branco"));
        Ed_Razsoc->setFocus();
        return false;
    }
    if (Ed_Razsoc->text().trimmed().isEmpty()) {
        MessageBox::warning(QStringLiteral("Razão social da empresa deve ser preenchido."));
        Ed_Razsoc->setFocus();
        return false;
    }
    return true;
}

void TQuelvarino00Emp_0::Btn_GravarClick() {
    if (!validate())
        return;
    Table* t = DataModule1->TBEmpresa;
    if (!(t->isOpen() && t->state() == Table::State::Edit)) {
        // The table holds one record at most: edit it when there is one.
        t->close();
        t->setIndexName(QStringLiteral("RAZAOSOCIAL"));
        t->open();
        t->first();
        if (t->isEmpty()) {
            t->insert();
        } else {
            if (!RecordScreen::lockedAction(*t, [t] { t->edit(); }))
                return;
        }
    }
    for (const auto& [w, field] : dataFields())
        t->fieldByName(field).setAsString(textOf(w));
    t->fieldByName("SOFTWARE").setAsString(QStringLiteral("Quelvarino Basic"));
    t->fieldByName("DATA").setAsString(formatDate(Clock::today()));
    t->post();
    t->saveChanges();
    t->flushBuffers();
    t->close();
    clearFields();
    loadStored();
}

void TQuelvarino00Emp_0::Btn_CancelClick() {
    DataModule1->TBEmpresa->close();  // abandons the edit and its lock
    clearFields();
    loadStored();
}

void TQuelvarino00Emp_0::Btn_LimparClick() {
    Btn_CancelClick();
}

void TQuelvarino00Emp_0::Btn_ExcluirClick() {
    if (Ed_Razsoc->text().trimmed().isEmpty()) {
        MessageBox::warning(QStringLiteral("Selecione o registro que será excluído"));
        return;
    }
    if (!MessageBox::confirm(QStringLiteral("Deseja excluir os dados da empresa?")))
        return;
    Table* t = DataModule1->TBEmpresa;
    t->close();
    t->setIndexName(QStringLiteral("RAZAOSOCIAL"));
    t->open();
    t->findNearest(Ed_Razsoc->text());
    if (!RecordScreen::lockedAction(*t, [t] { t->edit(); }))
        return;
    // The record stays; its 31 data fields are emptied.
    for (const auto& [w, field] : dataFields())
        t->fieldByName(field).setAsString(QString());
    t->post();
    t->saveChanges();
    t->flushBuffers();
    t->close();
    clearFields();
    setBrowsing(false);
}

void TQuelvarino00Emp_0::Btn_RetornarClick() {
    close();
}

void TQuelvarino00Emp_0::closeEvent(QCloseEvent* event) {
    if (DataModule1)
        DataModule1->TBEmpresa->close();
    entering_ = false;
    event->accept();
}

TQuelvarino00Emp_0* TQuelvarino00Emp_0::instance() {
    return Screens::get<TQuelvarino00Emp_0>(QStringLiteral("Quelvarino00Emp_0"));
}

}  // namespace quelvarino
