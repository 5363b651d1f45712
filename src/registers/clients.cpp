#include "registers/clients.h"

#include "core/money.h"
#include "core/registerchecks.h"
#include "data/datamodule.h"
#include "data/table.h"
#include "registers/addressgroup.h"
#include "registers/documentfield.h"
#include "reports/cash/cashreports.h"
#include "widgets/application.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"

#include <QApplication>
#include <QCheckBox>
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

}  // namespace

TQuelvarino0011_0::TQuelvarino0011_0(QWidget* parent)
    : RecordScreen(QStringLiteral("Quelvarino0011_0"),
                   QStringLiteral("Cadastro de Clientes"),
                   parent) {
    auto* layout = new QVBoxLayout(this);

    // Identification, in tab order.
    layout->addWidget(buildIdentification());

    // The two addresses, side by side.
    auto* addresses = new QHBoxLayout;
    const QString titles[2] = {QStringLiteral("    Endereço de Administrativo :     "),
                               QStringLiteral("    Endereço para Faturamento :     ")};
    for (int a = 0; a < 2; ++a) {
        AddressGroup::Captions captions;
        if (a == 1)
            captions.cep = QStringLiteral("CEP:");
        keepAddress(a, new AddressGroup(titles[a], a + 1, captions, this));
        addresses->addWidget(Address[a]);
    }
    layout->addLayout(addresses);

    const BankFields bank = makeBankGroup(QStringLiteral("    Informações Bancárias :    "),
                                          QStringLiteral("Agência :"), this);
    bank.box->setObjectName(QStringLiteral("GroupBox3"));
    Ed_Banco = bank.bank;
    Ed_Agencia = bank.agency;
    Ed_CCor = bank.account;
    layout->addWidget(bank.box);
    layout->addStretch();
    layout->addLayout(toolbarLayout());

    Config c;
    c.table = [] { return DataModule1 ? DataModule1->TBClientes : nullptr; };
    c.codeField = QStringLiteral("CODCLI");
    c.codeEdit = Ed_Codcli;
    c.nameEdit = Ed_Razsoc;
    c.firstField = Ed_Cnpj;
    c.alterField = Ed_Inscest;
    c.lastChange = Ed_Data;
    c.requiredMessage = QStringLiteral("Razão social do cliente deve ser preenchido.");
    c.deleteQuestion = QStringLiteral("Deseja excluir este cliente?");
    c.callerName = QStringLiteral("clientes");
    c.searchScreen = QStringLiteral("Quelvarino0011_1");
    c.situation = Cb_Situacli;
    c.dateLabel = true;
    c.editableExtras = {Rb_Cnpj, Rb_Cpf};
    c.novoHint = QStringLiteral("Inclusão de dados");
    c.cancelHint = QStringLiteral("Cancelar operação");
    for (int a = 0; a < 2; ++a)
        c.pickOnlyCombos += Address[a]->combos();

    QList<Binding> bindings = {
        {Ed_Codcli, "CODCLI", Kind::Text},      {Ed_Cnpj, "CNPJ", Kind::Mask},
        {Ed_Inscest, "INSCREST", Kind::Text},   {Ed_Data, "DATA", Kind::Mask},
        {Ed_Razsoc, "RAZAOSOCIAL", Kind::Text}, {Ed_Nomefan, "NOMEFAN", Kind::Text},
        {Ed_Valor, "VALOR", Kind::Money},       {Cb_Situacli, "SITUACAO", Kind::Combo},
    };
    for (int a = 0; a < 2; ++a) {
        for (const auto& [widget, field] : Address[a]->fields()) {
            const Kind kind = qobject_cast<QComboBox*>(widget)  ? Kind::Combo
                              : qobject_cast<MaskEdit*>(widget) ? Kind::Mask
                                                                : Kind::Text;
            bindings.append({widget, field, kind});
        }
    }
    bindings += {{Ed_Banco, "BANCO", Kind::Text},
                 {Ed_Agencia, "AGENCIA", Kind::Text},
                 {Ed_CCor, "CONTAC", Kind::Text}};
    setUp(c, bindings);

    connect(Rb_Cnpj, &QRadioButton::clicked, this, [this] { guarded([this] { Rb_CnpjClick(); }); });
    connect(Rb_Cpf, &QRadioButton::clicked, this, [this] { guarded([this] { Rb_CpfClick(); }); });
    onExit(Ed_Cnpj, [this] { Ed_CnpjExit(); });
    // Enter in the administrative contact also copies the whole
    // administrative address into the billing address.
    onEnter(Ed_Contato[0], [this] { copyAddressToBilling(); });
}

QWidget* TQuelvarino0011_0::buildIdentification() {
    auto* top = new QGroupBox(this);
    auto* grid = new QGridLayout(top);
    Ed_Codcli = makeEdit(top, "Ed_Codcli", 6, false);
    Ed_Codcli->setFixedWidth(Ed_Codcli->minimumWidth());
    Rb_Cnpj = new QRadioButton(QStringLiteral("C.N.P.J."), top);
    Rb_Cnpj->setObjectName(QStringLiteral("Rb_Cnpj"));
    Rb_Cpf = new QRadioButton(QStringLiteral("C.P.F."), top);
    Rb_Cpf->setObjectName(QStringLiteral("Rb_Cpf"));
    Ed_Cnpj = makeMaskEdit(top, "Ed_Cnpj", "");
    document().keepWidth();
    document().showKindWhileBrowsing();
    Ed_Inscest = makeEdit(top, "Ed_Inscest", 15, true);
    Ed_Data = makeMaskEdit(top, "Ed_Data", "!99/99/9999;1;_");

    Ed_Razsoc = makeEdit(top, "Ed_Razsoc", 80, true);
    Ed_Nomefan = makeEdit(top, "Ed_Nomefan", 0, true);
    Ed_Valor = makeEdit(top, "Ed_Valor", 8, false);

    Cb_Situacli = makeCombo(QStringLiteral("Cb_Situacli"), situations(), 10, top);

    auto* doc = new QHBoxLayout;
    doc->addWidget(Rb_Cnpj);
    doc->addWidget(Rb_Cpf);
    doc->addWidget(Ed_Cnpj, 1);
    gridRow(grid, 0, {"Código  :", Ed_Codcli});
    grid->addLayout(doc, 0, 2, 1, 2);
    gridRow(grid, 0,
            {gap(4), "Insc. Estadual / R.G. :", Ed_Inscest, "Data Últ. Alter. :", Ed_Data});
    gridRow(grid, 1, {"Razão Social :", {Ed_Razsoc, 7}});
    gridRow(grid, 2,
            {"Nome Fantasia :",
             {Ed_Nomefan, 3},
             "Valor da Hora :",
             Ed_Valor,
             "Situação :",
             Cb_Situacli});
    return top;
}

DocumentField TQuelvarino0011_0::document() const {
    return {Ed_Cnpj, Rb_Cnpj, Rb_Cpf};
}

void TQuelvarino0011_0::clearExtra() {
    // No mask and no choice: a loaded record shows its document unchanged.
    document().reset();
}

void TQuelvarino0011_0::Rb_CnpjClick() {
    document().chooseCnpj();
    Ed_Cnpj->setFocus();
}

void TQuelvarino0011_0::Rb_CpfClick() {
    document().chooseCpf();
    Ed_Cnpj->setFocus();
}

void TQuelvarino0011_0::Ed_CnpjExit() {
    if (Ed_Cnpj->text().isEmpty())
        return;
    // A number typed without choosing C.N.P.J. or C.P.F. is never left
    // unchecked: its digits say which it is, or the operator is asked.
    if (!Rb_Cnpj->isChecked() && !Rb_Cpf->isChecked() && Ed_Cnpj->isModified() &&
        !document().takeKindFromDigits()) {
        const bool towardsTheChoice = qobject_cast<QRadioButton*>(QApplication::focusWidget());
        MessageBox::question(
            QStringLiteral("Escolha C.N.P.J. ou C.P.F. e digite o número do documento."));
        document().reset();
        if (!towardsTheChoice)
            Rb_Cnpj->setFocus();
        return;
    }
    const QString text = Ed_Cnpj->text();
    const bool blank = text == QLatin1String(kBlankCnpj) || text == QLatin1String(kBlankCpf);
    // A separate table object: an edit begun with Alterar keeps its lock.
    Table byDocument(QStringLiteral("tbclientes"));
    byDocument.setIndexName(QStringLiteral("CNPJ"));
    byDocument.open();
    // A blank document is nobody's: it never matches another client.
    if (!blank) {
        byDocument.findNearest(text);
        if (!byDocument.isEmpty() && byDocument.fieldByName("CNPJ").asString() == text) {
            MessageBox::question(QStringLiteral("Número do CNPJ ou CPF já cadastrado."));
            loadFields(byDocument);
            showingStoredRecord();
            Ed_Inscest->setFocus();
            return;
        }
    }
    if (blank)
        return;
    if (Rb_Cnpj->isChecked() && !isValidCnpj(text)) {
        MessageBox::question(QStringLiteral("Número do CNPJ invalido."));
    } else if (Rb_Cpf->isChecked() && !isValidCpf(text)) {
        MessageBox::question(QStringLiteral("Número do CPF invalido."));
    } else {
        return;
    }
    Ed_Cnpj->clear();
    Ed_Cnpj->setFocus();
}

void TQuelvarino0011_0::copyAddressToBilling() {
    Address[1]->copyFrom(*Address[0]);
}

TQuelvarino0011_1::TQuelvarino0011_1(QWidget* parent)
    : SearchScreen(QStringLiteral("Quelvarino0011_1"),
                   QStringLiteral("Pesquisa de Clientes"),
                   QStringLiteral("tbclientes"),
                   QStringLiteral("TBCliente"),
                   {{"Rbrazsoc", "Razão Social", "RAZAOSOCIAL",
                     "Digite a razão social do cliente ou sequência :"},
                    {"Rbcod", "Código", "CODCLI", "Digite o código do cliente ou sequência :"},
                    {"Rbcnpj", "C.N.P.J. / C.P.F.", "CNPJ",
                     "Digite o número do CNPJ do cliente ou sequência :"},
                    {"Rbinscrest", "Insc. Est. / R.G.", "INSCREST",
                     "Digite o número da inscrição estadual ou R.G. do cliente ou sequência :"},
                    {"Rbcontac", "Conta Corrente", "CONTAC",
                     "Digite o número da conta corrente do cliente ou sequência :"},
                    {"Rbnomefan", "Nome Fantasia", "NOMEFAN",
                     "Digite o nome fantasia do cliente ou sequência :"},
                    {"Rbend1", "End. Adm.", "ENDERECO1",
                     "Digite o endereço administrativo do cliente ou sequência :"},
                    {"Rbend2", "End. Faturado", "ENDERECO2",
                     "Digite o endereço de faturamento do cliente ou sequência :"},
                    {"Rbfone1", "Fone Adm.", "TELEFONE1_1",
                     "Digite o número do telefone administrativo do cliente ou sequência :"},
                    {"Rbfone2", "Fone Faturado", "TELEFONE2_1",
                     "Digite o número do telefone de faturamento do cliente ou sequência :"}},
                   {{"CODCLI", "Código"},
                    {"RAZAOSOCIAL", "Razão social"},
                    {"CNPJ", "C.N.P.J./C.P.F."},
                    {"INSCREST", "Insc. Estadual / R.G."},
                    {"NOMEFAN", "Nome fantasia"},
                    {"ENDERECO1", "Endereço administrativo"},
                    {"CEP1", "CEP"},
                    {"CIDADE1", "Cidade"},
                    {"UF1", "UF"},
                    {"TELEFONE1_1", "Telefone"},
                    {"TIPOTEL1_1", "Tipo telefone"},
                    {"CONTATO1", "Contato"},
                    {"ENDERECO2", "Endereço para faturamento"},
                    {"CEP2", "CEP"},
                    {"CIDADE2", "Cidade"},
                    {"UF2", "UF"},
                    {"TELEFONE2_1", "Telefone"},
                    {"TIPOTEL2_1", "Tipo telefone"},
                    {"CONTATO2", "Contato"},
                    {"BANCO", "Banco"},
                    {"AGENCIA", "Agência"},
                    {"CONTAC", "Conta corrente"},
                    {"SITUACAO", "Situação"},
                    {"DATA", "Data"}},
                   parent) {
    resize(900, 560);
    // Only the register itself may load a blocked client.
    setRefusal([](const QString& caller, Table& row) {
        const bool lookup = caller == QLatin1String("ordem_servico") ||
                            caller == QLatin1String("recibo") ||
                            caller == QLatin1String("fechamento_cliente");
        if (lookup && row.fieldByName("SITUACAO").asString() == QLatin1String("BLOQUEADO"))
            return QStringLiteral("Situação do Cliente BLOQUEADO.");
        return QString();
    });
    setReturn(QStringLiteral("clientes"), [](Table& row) -> QWidget* {
        auto* screen = TQuelvarino0011_0::instance();
        if (screen)
            screen->loadFields(row);
        return screen;
    });
    // The service-order screen installs its own return ("ordem_servico").
    setReturn(QStringLiteral("recibo"), [](Table& row) -> QWidget* {
        QWidget* receipt = Screens::find(QStringLiteral("Quelvarino0022_0"));
        fillControls(receipt,
                     {{"Edcodcli", "CODCLI"},
                      {"Edcliente", "RAZAOSOCIAL"},
                      {"Edcnpj", "CNPJ"},
                      {"Edinscest", "INSCREST"}},
                     row);
        return receipt;
    });
    setReturn(QStringLiteral("fechamento_cliente"), [](Table& row) -> QWidget* {
        QWidget* report = Screens::find(cashByClientReport().requester);
        fillControls(report, {{"Edcodcli", "CODCLI"}, {"Edcliente", "RAZAOSOCIAL"}}, row);
        return report;
    });
}

}  // namespace quelvarino
