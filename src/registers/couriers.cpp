#include "registers/couriers.h"

#include "core/money.h"
#include "data/datamodule.h"
#include "data/table.h"
#include "reports/couriers/courierreports.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quelvarino {
TQuelvarino0012_0::TQuelvarino0012_0(QWidget* parent)
    : RecordScreen(QStringLiteral("Quelvarino0012_0"),
                   QStringLiteral("Cadastro de Motociclistas"),
                   parent) {
    auto* layout = new QVBoxLayout(this);

    layout->addWidget(buildPersonBox());

    auto* middle = new QHBoxLayout;
    middle->addWidget(buildAddressBox(), 3);

    middle->addWidget(buildMotoBox(), 2);
    layout->addLayout(middle);

    layout->addWidget(buildPayBox());
    layout->addLayout(toolbarLayout());

    // The remarks take at most 650 typed characters, line breaks included.
    notesLimit(Ed_Obs, kRemarksLength);

    Config c;
    c.table = [] { return DataModule1 ? DataModule1->TBMotociclista : nullptr; };
    c.codeField = QStringLiteral("COD");
    c.codeEdit = Ed_Cod;
    c.nameEdit = Ed_Nome;
    c.firstField = Ed_Nome;
    c.lastChange = Ed_Data;
    c.requiredMessage = QStringLiteral("O campo nome deve ser preenchido.");
    c.deleteQuestion = QStringLiteral("Deseja excluir este motoboy?");
    c.callerName = QStringLiteral("motociclista");
    c.searchScreen = QStringLiteral("Quelvarino0012_1");
    c.situation = Cb_Sit;
    c.dateLabel = true;
    c.pickOnlyCombos = {Cb_Est, Cb_Tipofone1, Cb_Tipofone2};
    setUp(c, {{Ed_Cod, "COD", Kind::Text},
              {Ed_Nome, "NOME", Kind::Text},
              {Ed_Cpf, "CPF", Kind::Mask},
              {Ed_Rg, "RG", Kind::Text},
              {Ed_Cnh, "CNH", Kind::Text},
              {Ed_Cat, "CATEGORIA", Kind::Text},
              {Ed_End, "ENDERECO", Kind::Text},
              {Ed_Bairro, "BAIRRO", Kind::Text},
              {Ed_Cid, "CIDADE", Kind::Text},
              {Cb_Est, "UF", Kind::Combo},
              {Ed_Cep, "CEP", Kind::Mask},
              {Ed_Ddd1, "DDD1", Kind::Text},
              {Ed_Tel1, "TELEFONE1", Kind::Mask},
              {Cb_Tipofone1, "TIPOTEL1", Kind::Combo},
              {Ed_Ddd2, "DDD2", Kind::Text},
              {Ed_Tel2, "TELEFONE2", Kind::Mask},
              {Cb_Tipofone2, "TIPOTEL2", Kind::Combo},
              {Ed_Mar, "MARCA", Kind::Text},
              {Ed_Mod, "MODELO", Kind::Text},
              {Ed_Ano, "ANO", Kind::Mask},
              {Ed_Plac, "PLACA", Kind::Mask},
              {Ed_Valor, "VALOR", Kind::Money},
              {Ed_Salario, "SALARIO", Kind::Money},
              {Cb_Sit, "SITUACAO", Kind::Combo},
              {Ed_Data, "DATA", Kind::Mask},
              {Ed_Obs, "OBSERVACAO", Kind::Memo}});
}

QWidget* TQuelvarino0012_0::buildPayBox() {
    auto* pay = new QGroupBox(this);
    auto* g = new QGridLayout(pay);
    Ed_Valor = makeEdit(pay, "Ed_Valor", 8, false);
    Ed_Salario = makeEdit(pay, "Ed_Salario", 8, false);
    Cb_Sit = makeCombo(QStringLiteral("Cb_Sit"), situations(), 10, pay);
    Ed_Data = makeMaskEdit(pay, "Ed_Data", "!99/99/9999;1;_");
    Ed_Obs = new QPlainTextEdit(pay);
    Ed_Obs->setObjectName(QStringLiteral("Ed_Obs"));
    Ed_Obs->setTabChangesFocus(true);
    Ed_Obs->setMaximumHeight(90);
    gridRow(g, 0,
            {"Valor Pagto. por  Hora :", Ed_Valor, "Salário :", Ed_Salario, "Situação : ", Cb_Sit,
             "Data da Última Alteração :", Ed_Data});
    gridRow(g, 1, {{"Observações :", 1, Qt::AlignTop}, {Ed_Obs, 7}});
    return pay;
}

QWidget* TQuelvarino0012_0::buildMotoBox() {
    auto* moto = new QGroupBox(QStringLiteral("    Dados da Moto :    "), this);
    moto->setObjectName(QStringLiteral("GroupBox2"));
    auto* m = new QGridLayout(moto);
    Ed_Mar = makeEdit(moto, "Ed_Mar", 20, true);
    Ed_Mod = makeEdit(moto, "Ed_Mod", 20, true);
    Ed_Ano = makeMaskEdit(moto, "Ed_Ano", "!9999/9999;1;_");
    Ed_Plac = makePlateEdit(moto, "Ed_Plac");
    gridRow(m, 0, {"Marca :", Ed_Mar});
    gridRow(m, 1, {"Modelo :", Ed_Mod});
    gridRow(m, 2, {"Ano :", Ed_Ano});
    gridRow(m, 3, {"Placa :", Ed_Plac});
    m->setRowStretch(4, 1);
    return moto;
}

QWidget* TQuelvarino0012_0::buildAddressBox() {
    auto* address = new QGroupBox(QStringLiteral("    Endereço de Administrativo :    "), this);
    address->setObjectName(QStringLiteral("GroupBox1"));
    auto* a = new QGridLayout(address);
    Ed_End = makeEdit(address, "Ed_End", 60, true);
    Ed_Bairro = makeEdit(address, "Ed_Bairro", 30, true);
    Ed_Cid = makeEdit(address, "Ed_Cid", 30, true);
    Cb_Est = makeCombo(QStringLiteral("Cb_Est"), ufList(), 2, address);
    Ed_Cep = makeMaskEdit(address, "Ed_Cep", "99999-999;1;_");
    Ed_Ddd1 = makeEdit(address, "Ed_Ddd1", 3, false);
    Ed_Tel1 = makePhoneEdit(address, "Ed_Tel1");
    Cb_Tipofone1 = makeCombo(QStringLiteral("Cb_Tipofone1"), phoneKinds(), 10, address);
    Ed_Ddd2 = makeEdit(address, "Ed_Ddd2", 3, false);
    Ed_Tel2 = makePhoneEdit(address, "Ed_Tel2");
    Cb_Tipofone2 = makeCombo(QStringLiteral("Cb_Tipofone2"), phoneKinds(), 10, address);
    Ed_Ddd1->setMaximumWidth(50);
    Ed_Ddd2->setMaximumWidth(50);
    gridRow(a, 0, {"Endereço :", {Ed_End, 4}});
    gridRow(a, 1, {"Bairro :", {Ed_Bairro, 4}});
    gridRow(a, 2, {"Cidade :", {Ed_Cid, 2}, "Estado :", Cb_Est});
    gridRow(a, 3, {"CEP :", Ed_Cep});
    gridRow(a, 4, {"Telefones :  DDD", Ed_Ddd1, Ed_Tel1, {Cb_Tipofone1, 2}});
    gridRow(a, 5, {"Telefone 2 :", Ed_Ddd2, Ed_Tel2, {Cb_Tipofone2, 2}});
    return address;
}

QWidget* TQuelvarino0012_0::buildPersonBox() {
    auto* person = new QGroupBox(this);
    auto* p = new QGridLayout(person);
    Ed_Cod = makeEdit(person, "Ed_Cod", 6, false);
    Ed_Cod->setFixedWidth(Ed_Cod->minimumWidth());
    Ed_Nome = makeEdit(person, "Ed_Nome", 60, true);
    Ed_Cpf = makeMaskEdit(person, "Ed_Cpf", "999.999.999-99;1;_");
    Ed_Rg = makeEdit(person, "Ed_Rg", 20, true);
    Ed_Cnh = makeEdit(person, "Ed_Cnh", 15, true);
    Ed_Cat = makeEdit(person, "Ed_Cat", 6, true);

    gridRow(p, 0, {"Código :", Ed_Cod, "Nome :", {Ed_Nome, 5}});
    gridRow(p, 1,
            {"C.P.F. :", Ed_Cpf, "R.G. :", Ed_Rg, "Nº da CNH :", Ed_Cnh, "Categoria :", Ed_Cat});
    return person;
}

TQuelvarino0012_1::TQuelvarino0012_1(QWidget* parent)
    : SearchScreen(
          QStringLiteral("Quelvarino0012_1"),
          QStringLiteral("Pesquisa de Motociclista"),
          QStringLiteral("tbmotociclista"),
          QStringLiteral("TBMotociclista"),
          {{"Rbnome", "Nome", "NOME", "Digite o nome do motociclista ou sequência :"},
           {"Rbcod", "Código", "COD", "Digite o código do motociclista ou sequência :"},
           {"Rbcpf", "C.P.F.", "CPF", "Digite o número do CPF do motociclista ou sequência :"},
           {"Rbrg", "R.G.", "RG", "Digite o número do RG do motociclista ou sequência :"},
           {"Rbcat", "Categoria C.N.H.", "CATEGORIA",
            "Digite a categoria do motociclista ou sequência :"},
           {"Rbcnh", "C.N.H.", "CNH", "Digite o número do CNH do motociclista ou sequência :"},
           {"Rbend", "Endereço", "ENDERECO", "Digite o endereço do motociclista ou sequência :"},
           {"Rbfone1", "1º Telefone", "TELEFONE1",
            "Digite o número do primeiro telefone ou sequência :"},
           {"Rbfone2", "2º Telefone ", "TELEFONE2",
            "Digite o número do segundo telefone ou sequência :"}},
          {{"COD", "Código"},
           {"NOME", "Nome"},
           {"CPF", "C.P.F."},
           {"RG", "R.G."},
           {"CNH", "Nº da C.N.H."},
           {"CATEGORIA", "Categoria da C.N.H."},
           {"ENDERECO", "Endereço"},
           {"BAIRRO", "Bairro"},
           {"CIDADE", "Cidade"},
           {"UF", "UF"},
           {"CEP", "CEP"},
           {"DDD1", "DDD1"},
           {"TELEFONE1", "Telefone1"},
           {"TIPOTEL1", "Tipo telefone"},
           {"DDD2", "DDD2"},
           {"TELEFONE2", "Telefone2"},
           {"TIPOTEL2", "Tipo telefone"},
           {"OBSERVACAO", "Observação"},
           {"SITUACAO", "Situação"},
           {"VALOR", "Valor", true},
           {"SALARIO", "Salario", true},
           {"DATA", "Data"}},
          parent) {
    resize(900, 560);
    setRefusal([](const QString& caller, Table& row) {
        static const QStringList lookups = {"ordem_servico",      "entrada_despesa",
                                            "fechamento_motoboy", "despesa_motoboy",
                                            "listagem_horas",     "mot_fixo"};
        if (lookups.contains(caller) &&
            row.fieldByName("SITUACAO").asString() == QLatin1String("BLOQUEADO"))
            return QStringLiteral("Situação do Motoboy BLOQUEADO.");
        if (caller == QLatin1String("mot_fixo")) {
            const QString salary = row.fieldByName("SALARIO").asString();
            const QString shown =
                salary.isEmpty() ? QStringLiteral("0,00") : formatMoney(parseMoney(salary));
            if (shown == QLatin1String("0,00"))
                return QStringLiteral("Este motociclista não tem salário fixo.");
        }
        return QString();
    });
    setReturn(QStringLiteral("motociclista"), [](Table& row) -> QWidget* {
        auto* screen = TQuelvarino0012_0::instance();
        if (screen)
            screen->loadFields(row);
        return screen;
    });
    // The service-order screen installs its own return ("ordem_servico").
    // The courier expense entry and the four courier reports take code and name.
    const QList<QPair<QString, QString>> codeAndName = {{"Edcodmot", "COD"}, {"Edmotoboy", "NOME"}};
    const QList<QPair<QString, QString>> targets = {
        {"entrada_despesa", "Quelvarino0031_0"},
        {"fechamento_motoboy", courierClosingReport().requester},
        {"despesa_motoboy", courierExpensesReport().requester},
        {"listagem_horas", courierHoursReport().requester},
        {"mot_fixo", salariedPaymentReport().requester}};
    for (const auto& [caller, instance] : targets) {
        setReturn(caller, [codeAndName, instance = instance](Table& row) -> QWidget* {
            QWidget* screen = Screens::find(instance);
            fillControls(screen, codeAndName, row);
            return screen;
        });
    }
}

}  // namespace quelvarino
