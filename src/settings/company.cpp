#include "settings/company.h"

#include "core/clock.h"
#include "core/dates.h"
#include "core/errors.h"
#include "core/pix.h"
#include "core/registerchecks.h"
#include "data/datamodule.h"
#include "data/table.h"
#include "registers/addressgroup.h"
#include "registers/documentfield.h"
#include "registers/recordscreen.h"
#include "widgets/application.h"
#include "widgets/fieldedit.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/toolbar.h"

#include <QApplication>
#include <QCheckBox>
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
    if (auto* box = qobject_cast<QCheckBox*>(w))
        return box->isChecked() ? QStringLiteral("S") : QStringLiteral("N");
    return static_cast<QLineEdit*>(w)->text();
}

}  // namespace

TQuelvarino00Emp_0::TQuelvarino00Emp_0(QWidget* parent)
    : RecordScreen(QStringLiteral("Quelvarino00Emp_0"),
                   QStringLiteral("Dados da Empresa"),
                   parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildIdentification());

    auto* addresses = new QHBoxLayout;
    const QString titles[2] = {QStringLiteral("Endereço Administrativo :"),
                               QStringLiteral("Endereço de Logística :")};
    for (int a = 0; a < 2; ++a) {
        AddressGroup::Captions captions;
        captions.street = QStringLiteral("Rua/Avenida :");
        captions.uf = QStringLiteral("Estado :");
        captions.contact = QStringLiteral("Responsável :");
        captions.streetLength = 50;
        captions.phoneMasks = false;  // free text of 10: "98765-4321" fits
        captions.cepBeforeCity = true;
        keepAddress(a, new AddressGroup(titles[a], a + 1, captions, this));
        addresses->addWidget(Address[a]);
    }
    layout->addLayout(addresses);

    const BankFields bank =
        makeBankGroup(QStringLiteral("Informações Bancárias"), QStringLiteral("Agência : "), this);
    Ed_Banco = bank.bank;
    Ed_Agencia = bank.agency;
    Ed_CCor = bank.account;
    layout->addWidget(bank.box);
    layout->addWidget(buildPix());
    auto* date = new QHBoxLayout;
    date->addStretch();
    date->addWidget(new QLabel(QStringLiteral("Data da Última Alteração:"), this));
    Ed_Data->setMaximumWidth(Ed_Data->minimumWidth());
    date->addWidget(Ed_Data);
    layout->addLayout(date);

    layout->addLayout(toolbarLayout());

    Config c;
    c.table = [] { return DataModule1 ? DataModule1->TBEmpresa : nullptr; };
    c.editableExtras = {Rb_Cnpj, Rb_Cpf};
    c.novoHint = QStringLiteral("Inclusão de dados");
    c.cancelHint = QStringLiteral("Cancelar operação");
    QList<Binding> bindings;
    for (const auto& [w, field] : dataFields()) {
        const Kind kind = qobject_cast<QComboBox*>(w)   ? Kind::Combo
                          : qobject_cast<MaskEdit*>(w)  ? Kind::Mask
                          : qobject_cast<QCheckBox*>(w) ? Kind::Check
                                                        : Kind::Text;
        bindings.append({w, field, kind});
    }
    setUp(c, bindings);
    connect(Rb_Cnpj, &QRadioButton::clicked, this, [this] { guarded([this] { Rb_CnpjClick(); }); });
    connect(Rb_Cpf, &QRadioButton::clicked, this, [this] { guarded([this] { Rb_CpfClick(); }); });
    onExit(Ed_Cnpj, [this] { Ed_CnpjExit(); });
    onEnter(Ed_Contato[0], [this] { copyAddressToLogistics(); });
    onExit(Edpixchave, [this] { EdpixchaveExit(); });
    for (QLineEdit* e : {Edpixnome, Edpixcidade})
        connect(e, &QLineEdit::textChanged, this, [this] { showPixText(); });
    setFieldEditable(Ed_Data, false);
}

QWidget* TQuelvarino00Emp_0::buildPix() {
    auto* box =
        new QGroupBox(QStringLiteral("PIX (QR Code nos recibos e ordens de serviço)"), this);
    box->setObjectName(QStringLiteral("GroupBoxPix"));
    auto* g = new QGridLayout(box);
    Cbpixtipo = makeCombo(QStringLiteral("Cbpixtipo"), pix::keyTypeNames(), 20, box);
    Edpixchave = makeEdit(box, QStringLiteral("Edpixchave"), 77, false);
    Edpixnome = makeEdit(box, QStringLiteral("Edpixnome"), 50, true);
    Edpixcidade = makeEdit(box, QStringLiteral("Edpixcidade"), 30, true);
    Ckpiximprime = new QCheckBox(QStringLiteral("Imprimir o QR Code PIX"), box);
    Ckpiximprime->setObjectName(QStringLiteral("Ckpiximprime"));
    Lbpixcodigo = new QLabel(box);
    Lbpixcodigo->setObjectName(QStringLiteral("Lbpixcodigo"));
    gridRow(g, 0, {"Tipo de chave :", Cbpixtipo, "Chave :", Edpixchave});
    gridRow(g, 1, {"Beneficiário :", Edpixnome, "Cidade :", Edpixcidade});
    g->addWidget(Ckpiximprime, 2, 0, 1, 2);
    g->addWidget(Lbpixcodigo, 2, 2, 1, 2);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 2);
    return box;
}

void TQuelvarino00Emp_0::showPixText() {
    const QString name = pix::beneficiaryName(Edpixnome->text());
    const QString city = pix::beneficiaryCity(Edpixcidade->text());
    Lbpixcodigo->setText(name.isEmpty() && city.isEmpty()
                             ? QString()
                             : QStringLiteral("No código: %1 - %2").arg(name, city));
}

void TQuelvarino00Emp_0::EdpixchaveExit() {
    if (Edpixchave->text().trimmed().isEmpty())
        return;
    // Leaving for Cancelar or Retornar abandons what was typed: a wrong key
    // must not hold the operator on the screen. Gravar checks it again.
    const QWidget* next = QApplication::focusWidget();
    if (next == Btn_Cancel || next == Btn_Retornar)
        return;
    const auto type = pix::keyTypeOf(Cbpixtipo->currentText());
    if (!type) {
        MessageBox::warning(QStringLiteral("Escolha o tipo da chave PIX."));
        Cbpixtipo->setFocus();
        return;
    }
    const pix::KeyCheck check = pix::checkKey(*type, Edpixchave->text());
    if (!check.ok()) {
        MessageBox::warning(check.message);
        Edpixchave->setFocus();
        return;
    }
    Edpixchave->setText(check.key);
}

bool TQuelvarino00Emp_0::pixValid() {
    const bool keyGiven = !Edpixchave->text().trimmed().isEmpty();
    if (!keyGiven && !Ckpiximprime->isChecked())
        return true;  // no PIX: receipts and orders print without a code
    auto refuse = [](const QString& message, QWidget* field) {
        MessageBox::warning(message);
        field->setFocus();
        return false;
    };
    const auto type = pix::keyTypeOf(Cbpixtipo->currentText());
    if (!type)
        return refuse(QStringLiteral("Escolha o tipo da chave PIX."), Cbpixtipo);
    const pix::KeyCheck check = pix::checkKey(*type, Edpixchave->text());
    if (!check.ok())
        return refuse(check.message, Edpixchave);
    Edpixchave->setText(check.key);
    if (pix::beneficiaryName(Edpixnome->text()).isEmpty())
        return refuse(QStringLiteral("Informe o nome do beneficiário do PIX, como o banco o "
                                     "mostra."),
                      Edpixnome);
    if (pix::beneficiaryCity(Edpixcidade->text()).isEmpty())
        return refuse(QStringLiteral("Informe a cidade do beneficiário do PIX."), Edpixcidade);
    return true;
}

QWidget* TQuelvarino00Emp_0::buildIdentification() {
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
    document().showKindWhileBrowsing();
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
    gridRow(g, 0, {"Razão Social :", {Ed_Razsoc, 3}});
    g->addLayout(doc, 1, 0, 1, 2);
    gridRow(g, 1, {gap(2), "Insc. Est. / R.G. :", Ed_Inscest});
    gridRow(g, 2, {"Nome Fantasia :", {Ed_Nomefan, 3}});
    gridRow(g, 3, {"Site :", Ed_Site, "e-mail :", Ed_Email});
    return top;
}

QList<QPair<QWidget*, QString>> TQuelvarino00Emp_0::dataFields() const {
    QList<QPair<QWidget*, QString>> out = {{Ed_Razsoc, "RAZAOSOCIAL"}, {Ed_Cnpj, "CNPJ"},
                                           {Ed_Inscest, "INSCREST"},   {Ed_Nomefan, "NOMEFAN"},
                                           {Ed_Site, "SITE"},          {Ed_Email, "EMAIL"}};
    for (int a = 0; a < 2; ++a)
        out += Address[a]->fields();
    out += {{Ed_Banco, "BANCO"}, {Ed_Agencia, "AGENCIA"}, {Ed_CCor, "CONTAC"}};
    out += {{Cbpixtipo, "PIXTIPO"},
            {Edpixchave, "PIXCHAVE"},
            {Edpixnome, "PIXNOME"},
            {Edpixcidade, "PIXCIDADE"},
            {Ckpiximprime, "PIXIMPRIME"}};
    return out;
}

DocumentField TQuelvarino00Emp_0::document() const {
    return {Ed_Cnpj, Rb_Cnpj, Rb_Cpf};
}

void TQuelvarino00Emp_0::clearExtra() {
    document().reset();
    Ed_Data->clear();
}

// The registers' toolbar, with the rules of the one record: Novo only
// while none is stored, Alterar only when one is; never a search or a print.
void TQuelvarino00Emp_0::stateChanged(bool edit) {
    // The key's kind is one of the list, never typed text.
    setPickOnly(Cbpixtipo, edit);
    if (edit)
        return;
    Btn_Consultar->setEnabled(false);
    Btn_Imprimir->setEnabled(false);
    Btn_Novo->setEnabled(!recordExists_);
    Btn_Alterar->setEnabled(recordExists_);
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
        loadFields(*t);
        Ed_Data->setText(t->fieldByName("DATA").asString());
    }
    t->close();
    recordExists_ = exists;
    setBrowseState();
}

void TQuelvarino00Emp_0::FormActivate() {
    // Never over what the operator is typing.
    if (!inEditState() && DataModule1)
        loadStored();
}

void TQuelvarino00Emp_0::showEvent(QShowEvent* event) {
    Screen::showEvent(event);
    if (!inEditState() && DataModule1)
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
    Address[1]->copyFrom(*Address[0]);
}

void TQuelvarino00Emp_0::Btn_NovoClick() {
    clearScreen();
    Ed_Data->setText(formatDate(Clock::today()));
    setEditState();
    Ed_Razsoc->setFocus();
}

bool TQuelvarino00Emp_0::openTheRecord(bool lock) {
    Table* t = DataModule1->TBEmpresa;
    t->close();
    t->setIndexName(QStringLiteral("RAZAOSOCIAL"));
    t->open();
    t->first();
    if (t->isEmpty())
        return true;
    return !lock || RecordScreen::lockedAction(*t, [t] { t->edit(); });
}

void TQuelvarino00Emp_0::Btn_AlterarClick() {
    if (Ed_Razsoc->text().isEmpty()) {
        MessageBox::warning(QStringLiteral("Selecione o registro que será alterado."));
        return;
    }
    // The table holds one record at most: that is the one changed.
    if (!openTheRecord(true) || DataModule1->TBEmpresa->state() != Table::State::Edit)
        return;
    setEditState();
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
    return pixValid();
}

void TQuelvarino00Emp_0::Btn_GravarClick() {
    if (!validate())
        return;
    Table* t = DataModule1->TBEmpresa;
    if (!(t->isOpen() && t->state() == Table::State::Edit)) {
        // The table holds one record at most: edit it when there is one.
        if (!openTheRecord(true))
            return;
        if (t->isEmpty())
            t->insert();
    }
    for (const auto& [w, field] : dataFields())
        t->fieldByName(field).setAsString(textOf(w));
    t->fieldByName("SOFTWARE").setAsString(QStringLiteral("Quelvarino Basic"));
    t->fieldByName("DATA").setAsString(formatDate(Clock::today()));
    t->post();
    t->saveChanges();
    t->flushBuffers();
    t->close();
    setBrowseState();
    clearScreen();
    loadStored();
}

void TQuelvarino00Emp_0::Btn_CancelClick() {
    setBrowseState();
    clearScreen();  // abandons the edit and its lock
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
    if (!openTheRecord(true) || t->state() != Table::State::Edit)
        return;
    // The record stays; its data fields are emptied.
    for (const auto& [w, field] : dataFields())
        t->fieldByName(field).setAsString(QString());
    t->post();
    t->saveChanges();
    t->flushBuffers();
    t->close();
    clearScreen();
    recordExists_ = false;
    setBrowseState();
}

void TQuelvarino00Emp_0::Btn_RetornarClick() {
    close();
}

void TQuelvarino00Emp_0::closeEvent(QCloseEvent* event) {
    if (!mayAbandonPendingEdit()) {
        event->ignore();
        return;
    }
    // The record shown stays on screen; an edit is abandoned with its lock.
    if (DataModule1)
        DataModule1->TBEmpresa->close();
    if (inEditState())
        setBrowseState();
    event->accept();
}

}  // namespace quelvarino
