#include "registers/expenseentries.h"

#include "core/clock.h"
#include "core/dates.h"
#include "core/money.h"
#include "core/registerchecks.h"
#include "data/datamodule.h"
#include "data/query.h"
#include "data/table.h"
#include "registers/codelookup.h"
#include "registers/couriers.h"
#include "registers/expensetypes.h"
#include "widgets/application.h"
#include "widgets/fieldedit.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/toolbar.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace quelvarino {
namespace {

bool yesNoWarning(const QString& text) {
    return MessageBox::show(MessageBox::standardTitle(), text, QMessageBox::Warning,
                            QMessageBox::Yes | QMessageBox::No,
                            QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace

TQuelvarino0031_0::TQuelvarino0031_0(QWidget* parent)
    : RecordScreen(QStringLiteral("Quelvarino0031_0"),
                   QStringLiteral("Entrada das Despesas do Motoboy"),
                   parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildHead());

    auto* items = new QGroupBox(QStringLiteral("Inclusão das Despesas"), this);
    items->setObjectName(QStringLiteral("Panel1"));
    auto* g = new QGridLayout(items);
    Edcoddesp = makeEdit(items, QStringLiteral("Edcoddesp"), 6, true);
    Edcoddesp->setFixedWidth(Edcoddesp->minimumWidth());
    Eddespesa = makeEdit(items, QStringLiteral("Eddespesa"), 0, false);
    Btn_ConsDesp = namedButton(items, "Btn_ConsDesp", "Co&nsultar", "Consultar dados");
    Edvalor = makeEdit(items, QStringLiteral("Edvalor"), 6, false);
    Edvalor->setFixedWidth(Edvalor->minimumWidth() + 24);
    Eddata = makeMaskEdit(items, QStringLiteral("Eddata"), QStringLiteral("!99/99/9999;1;"));
    Eddata->setFixedWidth(Eddata->minimumWidth());
    Btn_IncDesp = namedButton(items, "Btn_IncDesp", "I&ncluir", "Inclusão de despesas");
    Btn_AltDesp = namedButton(items, "Btn_AltDesp", "&Alterar", "Alteração de despesas");
    Btn_ExcDesp = namedButton(items, "Btn_ExcDesp", "&Excluir", "Exclusão de despesas");
    Btn_LimpDesp = namedButton(items, "Btn_LimpDesp", "&Limpar", "Limpar despesas");
    gridRow(g, 0, {"Despesa :", Edcoddesp, {Eddespesa, 3}, Btn_ConsDesp});
    gridRow(g, 1, {"Valor :", Edvalor, {"Data :", 1, Qt::AlignRight}, Eddata});
    auto* itemButtons = new QHBoxLayout;
    for (QPushButton* b : {Btn_IncDesp, Btn_AltDesp, Btn_ExcDesp, Btn_LimpDesp})
        itemButtons->addWidget(b);
    g->addLayout(itemButtons, 2, 0, 1, 6);
    g->setColumnStretch(4, 1);
    DBGrid1 = new QTableView(items);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->verticalHeader()->setDefaultSectionSize(22);
    DBGrid1->horizontalHeader()->setStretchLastSection(false);
    DBGrid1->setMinimumHeight(160);
    model_ = new QStandardItemModel(0, 4, this);
    model_->setHorizontalHeaderLabels({QStringLiteral("Código"), QStringLiteral("Despesa"),
                                       QStringLiteral("Valor"), QStringLiteral("Data")});
    DBGrid1->setModel(model_);
    DBGrid1->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    g->addWidget(DBGrid1, 3, 0, 1, 6);
    Edtotentr = makeEdit(items, QStringLiteral("Edtotentr"), 0, false);
    Edtotentr->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Edtotentr->setFixedWidth(Edvalor->width() + 40);
    auto* total = new QHBoxLayout;
    total->addStretch();
    total->addWidget(new QLabel(QStringLiteral("Total de despesas :"), items));
    total->addWidget(Edtotentr);
    g->addLayout(total, 4, 0, 1, 6);
    layout->addWidget(items, 1);
    layout->addLayout(toolbarLayout());

    moneyField(Edvalor);
    for (QLineEdit* e : {Edentrada, Edmotoboy, Eddespesa, Edtotentr})
        setFieldEditable(e, false);
    dateField(Eddata);
    onExit(Edcodmot, [this] { EdcodmotExit(); });
    onExit(Edcoddesp, [this] { EdcoddespExit(); });
    const QList<QPair<QPushButton*, void (TQuelvarino0031_0::*)()>> handlers = {
        {Btn_IncDesp, &TQuelvarino0031_0::Btn_IncDespClick},
        {Btn_AltDesp, &TQuelvarino0031_0::Btn_AltDespClick},
        {Btn_ExcDesp, &TQuelvarino0031_0::Btn_ExcDespClick},
        {Btn_LimpDesp, &TQuelvarino0031_0::Btn_LimpDespClick},
        {Btn_ConsMot, &TQuelvarino0031_0::Btn_ConsMotClick},
        {Btn_ConsDesp, &TQuelvarino0031_0::Btn_ConsDespClick}};
    for (const auto& [b, handler] : handlers)
        connect(b, &QPushButton::clicked, this,
                [this, handler = handler] { guarded([&] { (this->*handler)(); }); });
    // Any way the operator moves in the grid chooses that row's item.
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    guarded([&] { selectItem(current.row()); });
            });
    connect(DBGrid1, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            guarded([&] { selectItem(index.row()); });
    });

    Config c;
    c.table = [] { return DataModule1 ? DataModule1->TBEntrDesp : nullptr; };
    c.codeField = QStringLiteral("NUMDESP");
    c.codeWidth = 10;
    c.codeEdit = Edentrada;
    c.dateLabel = true;
    c.callerName = QStringLiteral("entrada_despesa");
    c.searchScreen = QStringLiteral("Quelvarino0031_1");
    setUp(c, {});
}

QWidget* TQuelvarino0031_0::buildHead() {
    auto* head = new QGroupBox(this);
    auto* h = new QGridLayout(head);
    Edentrada = makeEdit(head, QStringLiteral("Edentrada"), 10, false);
    setTypingLimit(Edentrada, 0);  // never typed: proposed by Novo
    Edentrada->setFixedWidth(Edentrada->minimumWidth());
    Edcodmot = makeEdit(head, QStringLiteral("Edcodmot"), 6, true);
    Edcodmot->setFixedWidth(Edcodmot->minimumWidth());
    Edmotoboy = makeEdit(head, QStringLiteral("Edmotoboy"), 0, false);
    Btn_ConsMot = namedButton(head, "Btn_ConsMot", "C&onsultar", "Consultar dados");
    gridRow(h, 0, {"Entrada Nº. :", Edentrada});
    gridRow(h, 1, {"Motoboy :", Edcodmot, Edmotoboy, Btn_ConsMot});
    h->setColumnStretch(2, 1);
    return head;
}

// ---- states ----------------------------------------------------------------------

void TQuelvarino0031_0::stateChanged(bool edit) {
    Btn_Imprimir->setEnabled(false);  // nothing to print from here
    for (QPushButton* b :
         {Btn_ConsMot, Btn_ConsDesp, Btn_IncDesp, Btn_AltDesp, Btn_ExcDesp, Btn_LimpDesp})
        b->setEnabled(edit);
    for (QWidget* w : {static_cast<QWidget*>(Edcodmot), static_cast<QWidget*>(Edcoddesp),
                       static_cast<QWidget*>(Edvalor), static_cast<QWidget*>(Eddata)})
        setFieldEditable(w, edit);
}

void TQuelvarino0031_0::clearItemFields() {
    Edcoddesp->clear();
    Eddespesa->clear();
    Edvalor->setText(QStringLiteral("0,00"));
}

void TQuelvarino0031_0::clearExtra() {
    Edentrada->clear();
    Edcodmot->clear();
    Edmotoboy->clear();
    clearItemFields();
    Edtotentr->setText(QStringLiteral("0,00"));
    Eddata->setText(formatDate(Clock::today()));
    items_.clear();
    model_->removeRows(0, model_->rowCount());
    selectedCont_ = -1;
    selectedValue_.clear();
    numberTaken_ = false;
}

// ---- the items -------------------------------------------------------------------

void TQuelvarino0031_0::rebuildItems() {
    items_.clear();
    model_->removeRows(0, model_->rowCount());
    double total = 0;
    if (!Edentrada->text().trimmed().isEmpty()) {
        Query q;
        q.add(QStringLiteral("Select * from TBENTRDESP"));
        q.add(QStringLiteral("Where NUMDESP = :entrada"));
        q.add(QStringLiteral("Order By CONT"));
        q.bindText(QStringLiteral(":entrada"), Edentrada->text().trimmed());
        q.open();
        for (q.first(); !q.eof(); q.next()) {
            Item item;
            item.cont = q.fieldText(QStringLiteral("CONT")).toLongLong();
            item.codDesp = q.fieldText(QStringLiteral("CODDESP"));
            item.despesa = q.fieldText(QStringLiteral("DESPESA"));
            item.valor = q.fieldText(QStringLiteral("VALOR"));
            item.data = q.fieldText(QStringLiteral("DATA"));
            item.codMot = q.fieldText(QStringLiteral("CODMOT"));
            item.motoboy = q.fieldText(QStringLiteral("MOTOBOY"));
            items_.append(item);
            total = roundTo15Digits(total + q.fieldNumber(QStringLiteral("VALOR")));
        }
        q.close();
    }
    for (const Item& item : items_) {
        QList<QStandardItem*> row = {
            new QStandardItem(item.codDesp), new QStandardItem(item.despesa),
            new QStandardItem(reformatMoney(item.valor)), new QStandardItem(item.data)};
        row[2]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        model_->appendRow(row);
    }
    DBGrid1->resizeColumnToContents(0);
    DBGrid1->resizeColumnToContents(2);
    DBGrid1->resizeColumnToContents(3);
    // The total of what is stored for the entry, so it always agrees with
    // the items shown (also when another workstation changed one).
    Edtotentr->setText(formatMoney(total));
    // A selected item that is no longer in the entry is forgotten.
    bool stillThere = false;
    for (const Item& item : items_)
        stillThere = stillThere || item.cont == selectedCont_;
    if (!stillThere) {
        selectedCont_ = -1;
        selectedValue_.clear();
    }
}

void TQuelvarino0031_0::selectItem(int row) {
    if (row < 0 || row >= items_.size())
        return;
    const Item& item = items_[row];
    selectedCont_ = item.cont;
    selectedValue_ = item.valor;
    Edcoddesp->setText(item.codDesp);
    Eddespesa->setText(item.despesa);
    Edvalor->setText(reformatMoney(item.valor));
}

bool TQuelvarino0031_0::checkItem() {
    if (Edcodmot->text().isEmpty() || Edmotoboy->text().isEmpty() || Edcoddesp->text().isEmpty() ||
        Eddespesa->text().isEmpty() || Edvalor->text().isEmpty() || Eddata->isBlank()) {
        MessageBox::warning(QStringLiteral("Existem campos do pedido em branco!"));
        (Eddata->isBlank() ? static_cast<QWidget*>(Eddata) : Edcoddesp)->setFocus();
        return false;
    }
    if (Edvalor->text() == QLatin1String("0") || Edvalor->text() == QLatin1String("0,00") ||
        reformatMoney(Edvalor->text()) == QLatin1String("0,00")) {
        MessageBox::warning(QStringLiteral("Valor digitado igual a zero."));
        Edvalor->setFocus();
        return false;
    }
    if (Edentrada->text().isEmpty() || Edcoddesp->text().isEmpty() || Edcodmot->text().isEmpty() ||
        Edvalor->text().isEmpty()) {
        MessageBox::warning(QStringLiteral("Código da despesa e o valor devem ser preenchidos."));
        return false;
    }
    return true;
}

// A new entry's number is only proposed: when another workstation stored an
// item under it before this screen stored its first one, this entry moves
// to the next free number, so that the two entries never mix.
bool TQuelvarino0031_0::takeFreeNumber() {
    if (!isNewRecord() || numberTaken_)
        return true;
    Table entries(QStringLiteral("tbentrdesp"));
    entries.setIndexFieldNames(QStringLiteral("NUMDESP"));
    entries.open();
    const QString proposed = Edentrada->text().trimmed();
    const QString free = freeCode(entries, QStringLiteral("NUMDESP"), proposed, 10);
    if (free != proposed) {
        Edentrada->setText(free);
        MessageBox::warning(QStringLiteral("A entrada nº %1 foi usada por outro usuário; esta "
                                           "entrada passa a ser a nº %2.")
                                .arg(proposed, free));
    }
    return true;
}

void TQuelvarino0031_0::Btn_IncDespClick() {
    if (!checkItem() || !takeFreeNumber())
        return;
    Table entries(QStringLiteral("tbentrdesp"));
    entries.open();
    entries.insert();
    entries.fieldByName("NUMDESP").setAsString(Edentrada->text().trimmed());
    entries.fieldByName("CODMOT").setAsString(Edcodmot->text());
    entries.fieldByName("MOTOBOY").setAsString(Edmotoboy->text());
    entries.fieldByName("CODDESP").setAsString(Edcoddesp->text());
    entries.fieldByName("DESPESA").setAsString(Eddespesa->text());
    entries.fieldByName("VALOR").setAsString(Edvalor->text());
    entries.fieldByName("DATA").setAsString(Eddata->text());
    entries.post();
    entries.saveChanges();
    entries.flushBuffers();
    entries.close();
    numberTaken_ = true;
    clearItemFields();
    Edcoddesp->setFocus();
    rebuildItems();
}

void TQuelvarino0031_0::Btn_AltDespClick() {
    if (!checkItem())
        return;
    if (selectedCont_ < 0) {
        // No row was chosen: no other row is changed in its place.
        MessageBox::warning(QStringLiteral("Selecione no quadro o item que será alterado."));
        return;
    }
    Table entries(QStringLiteral("tbentrdesp"));
    if (!entries.findExact(QStringLiteral("CONT"), QString::number(selectedCont_)) ||
        entries.fieldByName("NUMDESP").asString() != Edentrada->text().trimmed()) {
        MessageBox::warning(QStringLiteral("Este item não está mais gravado; nada foi alterado."));
        rebuildItems();
        return;
    }
    if (!lockedAction(entries, [&entries] { entries.edit(); }))
        return;
    entries.fieldByName("CODDESP").setAsString(Edcoddesp->text());
    entries.fieldByName("DESPESA").setAsString(Eddespesa->text());
    entries.fieldByName("VALOR").setAsString(Edvalor->text());
    entries.fieldByName("DATA").setAsString(formatDate(Clock::today()));  // the day of the change
    entries.post();
    entries.saveChanges();
    entries.flushBuffers();
    entries.close();
    Edcoddesp->clear();
    Eddespesa->clear();
    Edvalor->clear();
    Edcoddesp->setFocus();
    rebuildItems();
}

void TQuelvarino0031_0::Btn_ExcDespClick() {
    if (Edentrada->text().trimmed().isEmpty()) {
        MessageBox::warning(QStringLiteral("Não existe nenhum item para excluir."));
        return;
    }
    if (Edcodmot->text().isEmpty() || Edmotoboy->text().isEmpty() || Edcoddesp->text().isEmpty() ||
        Eddespesa->text().isEmpty() || Edvalor->text().isEmpty() || selectedCont_ < 0) {
        MessageBox::warning(QStringLiteral("Selecione o item para a exclusão."));
        Edcoddesp->setFocus();
        return;
    }
    if (!MessageBox::confirm(QStringLiteral("Confirma exclusão?")))
        return;
    Table entries(QStringLiteral("tbentrdesp"));
    if (entries.findExact(QStringLiteral("CONT"), QString::number(selectedCont_)) &&
        entries.fieldByName("NUMDESP").asString() == Edentrada->text().trimmed()) {
        if (!lockedAction(entries, [&entries] { entries.remove(); }))
            return;
        entries.saveChanges();
        entries.flushBuffers();
    }
    entries.close();
    selectedCont_ = -1;
    Edcoddesp->clear();
    Eddespesa->clear();
    Edvalor->clear();
    rebuildItems();
}

void TQuelvarino0031_0::Btn_LimpDespClick() {
    clearItemFields();
    Edcoddesp->setFocus();
}

// ---- lookups ---------------------------------------------------------------------

void TQuelvarino0031_0::EdcodmotExit() {
    lookUpCode(
        Edcodmot,
        courierLookup(
            QStringLiteral("Código do motociclista inexistente."),
            QStringLiteral("Situação do Motoboy BLOQUEADO."),
            [this](Table& row) {
                SearchScreen::fillControls(this, {{"Edcodmot", "COD"}, {"Edmotoboy", "NOME"}}, row);
            },
            {Edmotoboy}));
}

void TQuelvarino0031_0::EdcoddespExit() {
    CodeLookup type;
    type.table = QStringLiteral("tbdespesa");
    type.keyField = QStringLiteral("COD");
    type.missing = QStringLiteral("Código da despesa inexistente.");
    type.cleared = {Eddespesa};
    type.fill = [this](Table& row) {
        SearchScreen::fillControls(this, {{"Edcoddesp", "COD"}, {"Eddespesa", "DESPESA"}}, row);
    };
    lookUpCode(Edcoddesp, type);
}

void TQuelvarino0031_0::Btn_ConsMotClick() {
    openSearchFor(TQuelvarino0012_1::instance(), QStringLiteral("entrada_despesa"));
}

void TQuelvarino0031_0::Btn_ConsDespClick() {
    openSearchFor(TQuelvarino0013_1::instance(), QStringLiteral("entrada_despesa"));
}

// ---- the whole entry -------------------------------------------------------------

void TQuelvarino0031_0::Btn_NovoClick() {
    clearScreen();
    setEditState();
    Table entries(QStringLiteral("tbentrdesp"));
    entries.setIndexFieldNames(QStringLiteral("NUMDESP"));
    entries.open();
    entries.last();
    Edentrada->setText(
        nextCode(entries.isEmpty() ? QString() : entries.fieldByName("NUMDESP").asString(), 10));
    entries.close();
    setNewRecord(true);
    numberTaken_ = false;
    Edcodmot->setFocus();
}

void TQuelvarino0031_0::Btn_GravarClick() {
    // Every item is stored already.
    setBrowseState();
    clearScreen();
}

void TQuelvarino0031_0::deleteItems() {
    // This entry's items, each by its own key: never another entry's.
    for (const Item& item : items_) {
        Table entries(QStringLiteral("tbentrdesp"));
        if (!entries.findExact(QStringLiteral("CONT"), QString::number(item.cont)) ||
            entries.fieldByName("NUMDESP").asString() != Edentrada->text().trimmed())
            continue;
        if (!lockedAction(entries, [&entries] { entries.remove(); }))
            return;
        entries.saveChanges();
        entries.flushBuffers();
    }
}

void TQuelvarino0031_0::Btn_CancelClick() {
    rebuildItems();
    if (!items_.isEmpty() && yesNoWarning(QStringLiteral("Deseja cancelar todos os itens.")))
        deleteItems();
    setBrowseState();
    clearScreen();
}

void TQuelvarino0031_0::Btn_AlterarClick() {
    if (Edentrada->text().isEmpty()) {
        MessageBox::warning(QStringLiteral("Selecione o registro que será alterado."));
        return;
    }
    if (selectedCont_ < 0) {
        MessageBox::warning(QStringLiteral("Selecione no quadro o item que será alterado."));
        return;
    }
    // Another operator changing this item refuses the change; the lock is
    // not kept, the items are changed one by one as they are stored.
    Table entries(QStringLiteral("tbentrdesp"));
    if (!entries.findExact(QStringLiteral("CONT"), QString::number(selectedCont_))) {
        MessageBox::warning(QStringLiteral("Este item não está mais gravado; nada foi alterado."));
        return;
    }
    if (!lockedAction(entries, [&entries] { entries.edit(); }))
        return;
    entries.close();
    setEditState();
    setNewRecord(false);
    numberTaken_ = true;
    setFieldEditable(Edcodmot, false);  // the entry's courier stays
    Edcoddesp->setFocus();
}

void TQuelvarino0031_0::Btn_ExcluirClick() {
    if (Edentrada->text().trimmed().isEmpty()) {
        MessageBox::warning(QStringLiteral("Selecione o registro que será excluído"));
        return;
    }
    rebuildItems();
    if (items_.isEmpty()) {
        MessageBox::warning(QStringLiteral("Número da entrada está incorreto."));
        return;
    }
    if (!MessageBox::confirm(QStringLiteral("Confirma exclusão?")))
        return;
    deleteItems();
    clearScreen();
    rebuildItems();
}

void TQuelvarino0031_0::Btn_ConsultarClick() {
    clearScreen();
    if (auto* search = TQuelvarino0031_1::instance()) {
        search->table()->close();
        search->openSearch(QStringLiteral("entrada_despesa"));
    }
}

void TQuelvarino0031_0::loadEntry(const QString& number) {
    clearScreen();
    Edentrada->setText(number);
    rebuildItems();
    if (!items_.isEmpty()) {
        Edcodmot->setText(items_.first().codMot);
        Edmotoboy->setText(items_.first().motoboy);
    }
    setBrowseState();
}

// ---- the entry search ------------------------------------------------------------

TQuelvarino0031_1::TQuelvarino0031_1(QWidget* parent)
    : SearchScreen(
          QStringLiteral("Quelvarino0031_1"),
          QStringLiteral("Pesquisa de Entrada de Despesas do Motoboy"),
          QStringLiteral("tbentrdesp"),
          QStringLiteral("TBEntrDesp"),
          {{"Rbdespesa", "Despesa", "DESPESA", "Digite a descrição da despesa ou sequência :"},
           {"Rbentrada", "Nº Entrada", "NUMDESP", "Digite o número da entrada ou sequência :"},
           {"Rbmotoboy", "Motoboy", "MOTOBOY", "Digite o nome do motoboy ou sequência :"}},
          {{"NUMDESP", "Núm. despesa"},
           {"DESPESA", "Despesa"},
           {"MOTOBOY", "Motoboy"},
           {"VALOR", "Valor", true},
           {"DATA", "Data"}},
          parent) {
    setDefaultOption(1);
    setReturn(QStringLiteral("entrada_despesa"), [](Table& row) -> QWidget* {
        TQuelvarino0031_0* screen = TQuelvarino0031_0::instance();
        if (screen)
            screen->loadEntry(row.fieldByName("NUMDESP").asString());
        return screen;
    });
}

}  // namespace quelvarino
