#include "registers/expensetypes.h"

#include "data/datamodule.h"
#include "data/table.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quelvarino {

TQuelvarino0013_0::TQuelvarino0013_0(QWidget* parent)
    : RecordScreen(QStringLiteral("Quelvarino0013_0"),
                   QStringLiteral("Cadastro de Despesas"),
                   parent) {
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(this);
    auto* form = new QFormLayout(group);
    Ed_Cod = makeEdit(group, QStringLiteral("Ed_Cod"), 0, false);
    Ed_Cod->setFixedWidth(90);
    Ed_Desp = makeEdit(group, QStringLiteral("Ed_Desp"), 45, true);
    Ed_Desp->setMinimumWidth(380);
    Ed_Data = makeMaskEdit(group, QStringLiteral("Ed_Data"), QStringLiteral("!99/99/9999;1;_"));
    Ed_Data->setMaximumWidth(Ed_Data->minimumWidth());
    form->addRow(QStringLiteral("Código :"), Ed_Cod);
    form->addRow(QStringLiteral("Despesa :"), Ed_Desp);
    form->addRow(QStringLiteral("Data da Última Alteração :"), Ed_Data);
    layout->addWidget(group);
    layout->addStretch();
    layout->addLayout(toolbarLayout());

    Config c;
    c.table = [] { return DataModule1 ? DataModule1->TBDespesa : nullptr; };
    c.codeField = QStringLiteral("COD");
    c.codeWidth = 6;
    c.codeEdit = Ed_Cod;
    c.nameEdit = Ed_Desp;
    c.firstField = Ed_Desp;
    c.lastChange = Ed_Data;
    c.requiredMessage = QStringLiteral("A despesa deve ser preenchida.");
    c.deleteQuestion = QStringLiteral("Deseja excluir esta despesa?");
    c.callerName = QStringLiteral("despesa");
    c.searchScreen = QStringLiteral("Quelvarino0013_1");
    setUp(c, {{Ed_Cod, "COD", Kind::Text},
              {Ed_Desp, "DESPESA", Kind::Text},
              {Ed_Data, "DATA", Kind::Mask}});
    setTabOrder(Ed_Desp, Btn_Gravar);
}

void TQuelvarino0013_0::reloadForEdit(Table& table) {
    // The date shown is the one the change will store: today's, as after
    // clearing.
    loadFields(table, {"COD", "DESPESA"});
}

TQuelvarino0013_1::TQuelvarino0013_1(QWidget* parent)
    : SearchScreen(QStringLiteral("Quelvarino0013_1"),
                   QStringLiteral("Pesquisa de Despesas"),
                   QStringLiteral("tbdespesa"),
                   QStringLiteral("TBDespesa"),
                   {{"Rbdesp", "Despesa", "DESPESA", "Digite descrição da despesa ou sequência :"},
                    {"Rbcod", "Código", "COD", "Digite o código da despesa ou sequência :"}},
                   {{"COD", "Código"}, {"DESPESA", "Despesa"}, {"DATA", "Data"}},
                   parent) {
    setReturn(QStringLiteral("despesa"), [](Table& row) -> QWidget* {
        auto* screen = TQuelvarino0013_0::instance();
        if (!screen)
            return nullptr;
        // The date field keeps the date set by clearing: today.
        screen->loadFields(row, {"COD", "DESPESA"});
        return screen;
    });
    // The courier expense entry takes the code and the description.
    setReturn(QStringLiteral("entrada_despesa"), [](Table& row) -> QWidget* {
        QWidget* entry = Screens::find(QStringLiteral("Quelvarino0031_0"));
        fillControls(entry, {{"Edcoddesp", "COD"}, {"Eddespesa", "DESPESA"}}, row);
        return entry;
    });
}

}  // namespace quelvarino
