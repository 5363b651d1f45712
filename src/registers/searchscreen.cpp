#include "registers/searchscreen.h"

#include "core/errors.h"
#include "data/table.h"
#include "data/tablemodel.h"
#include "widgets/application.h"
#include "widgets/fields.h"

#include "widgets/messagebox.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace quelvarino {

SearchScreen::SearchScreen(const QString& instance,
                           const QString& caption,
                           const QString& tableName,
                           const QString& tableObjectName,
                           const QList<Option>& options,
                           const QList<Column>& columns,
                           QWidget* parent)
    : Screen(instance, caption, parent),
      table_(std::make_unique<Table>(tableName)),
      options_(options) {
    table_->setObjectName(tableObjectName);
    resize(760, 520);
    auto* layout = new QVBoxLayout(this);

    auto* group = new QGroupBox(QStringLiteral("Tipo de pesquisa:"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setToolTip(QStringLiteral("Qual o  tipo de pesquisa que deseja fazer"));
    auto* radios = new QGridLayout(group);
    for (int i = 0; i < options_.size(); ++i) {
        auto* rb = new QRadioButton(options_[i].caption, group);
        rb->setObjectName(options_[i].radio);
        radios->addWidget(rb, i / 5, i % 5);
        connect(rb, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                guarded([&] { selectOption(i); });
        });
        radios_.append(rb);
    }
    layout->addWidget(group);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(Label1);
    Ed_Desc = new QLineEdit(this);
    Ed_Desc->setObjectName(QStringLiteral("Ed_Desc"));
    upperCaseField(Ed_Desc);
    connect(Ed_Desc, &QLineEdit::textChanged, this,
            [this] { guarded([this] { Ed_DescChange(); }); });
    layout->addWidget(Ed_Desc);

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->verticalHeader()->setDefaultSectionSize(22);
    DBGrid1->verticalHeader()->setFixedWidth(14);  // the row indicator
    // Columns are fitted to a screenful of rows: measuring the thousand
    // rows Qt looks at by default cost a fifth of a second on a large table.
    DBGrid1->horizontalHeader()->setResizeContentsPrecision(40);
    DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    DBGrid1->horizontalHeader()->setStretchLastSection(false);
    model_ = new TableModel(this);
    QStringList fields, titles;
    QList<bool> money;
    for (const Column& c : columns) {
        if (!options_.isEmpty() &&
            c.field.compare(options_.first().index, Qt::CaseInsensitive) == 0)
            nameColumn_ = fields.size();
        fields.append(c.field);
        titles.append(c.title);
        money.append(c.money);
    }
    model_->setTable(table_.get(), fields, titles, money);
    DBGrid1->setModel(model_);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    guarded([&] { gridRowChosen(current.row()); });
            });
    connect(DBGrid1, &QTableView::doubleClicked, this,
            [this] { guarded([this] { Btn_RetornarClick(); }); });
    layout->addWidget(DBGrid1, 1);
    DBGrid1->viewport()->installEventFilter(this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    Btn_Cancel = new QPushButton(QStringLiteral("&Cancelar"), this);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    Btn_Cancel->setToolTip(QStringLiteral("Cancelar a operação"));
    Btn_Retornar = new QPushButton(QStringLiteral("&Retornar"), this);
    Btn_Retornar->setObjectName(QStringLiteral("Btn_Retornar"));
    Btn_Retornar->setToolTip(QStringLiteral("Retornar ao menu"));
    buttons->addWidget(Btn_Cancel);
    buttons->addWidget(Btn_Retornar);
    layout->addLayout(buttons);
    connect(Btn_Cancel, &QPushButton::clicked, this,
            [this] { guarded([this] { Btn_CancelClick(); }); });
    connect(Btn_Retornar, &QPushButton::clicked, this,
            [this] { guarded([this] { Btn_RetornarClick(); }); });
    enterMovesOn(Ed_Desc);
}

SearchScreen::~SearchScreen() = default;

void SearchScreen::setReturn(const QString& callerName, ReturnHandler handler) {
    returns_.insert(callerName, std::move(handler));
}

void SearchScreen::setRefusal(std::function<QString(const QString&, Table&)> refusal) {
    refusal_ = std::move(refusal);
}

void SearchScreen::setControlText(QWidget* screen, const QString& control, const QString& text) {
    if (!screen)
        return;
    QWidget* w = screen->findChild<QWidget*>(control);
    if (auto* combo = qobject_cast<QComboBox*>(w))
        setComboText(combo, text);
    else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(text);
        edit->setCursorPosition(0);  // a long name shows its start
    } else if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
}

void SearchScreen::fillControls(QWidget* screen,
                                const QList<QPair<QString, QString>>& controlFields,
                                Table& row) {
    for (const auto& [control, field] : controlFields)
        setControlText(screen, control, row.fieldByName(field).asString());
}

void SearchScreen::openTable() {
    table_->close();
    const Option& o = options_.value(option_);
    if (o.index.contains(QLatin1Char(';')))
        table_->setIndexFieldNames(o.index);
    else
        table_->setIndexName(o.index);
    Label1->setText(o.prompt);
    table_->open();
    if (startAtLast_)
        table_->last();
    model_->reload();
    fitColumns();
    showCurrentRow();
}

void SearchScreen::fitColumns() {
    DBGrid1->resizeColumnsToContents();
    QHeaderView* header = DBGrid1->horizontalHeader();
    int used = 0;
    for (int c = 0; c < header->count(); ++c)
        used += header->sectionSize(c);
    const int room = DBGrid1->viewport()->width() - used;
    if (room > 0 && nameColumn_ < header->count())
        header->resizeSection(nameColumn_, header->sectionSize(nameColumn_) + room);
}

bool SearchScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DBGrid1->viewport() && event->type() == QEvent::Resize)
        fitColumns();
    return Screen::eventFilter(watched, event);
}

void SearchScreen::openSearch(const QString& callerName) {
    caller_ = callerName;
    Ed_Desc->blockSignals(true);
    Ed_Desc->clear();
    Ed_Desc->blockSignals(false);
    if (!table_->isOpen()) {
        option_ = defaultOption_;
        radios_.value(option_)->blockSignals(true);
        radios_.value(option_)->setChecked(true);
        radios_.value(option_)->blockSignals(false);
        openTable();
    } else {
        table_->refresh();
        model_->reload();
    }
    showScreen();
    Ed_Desc->setFocus();
}

void SearchScreen::FormActivate() {
    if (!table_->isOpen() && isVisible()) {
        option_ = defaultOption_;
        radios_.value(option_)->blockSignals(true);
        radios_.value(option_)->setChecked(true);
        radios_.value(option_)->blockSignals(false);
        openTable();
    }
}

void SearchScreen::refreshTables() {
    if (table_->isOpen()) {
        table_->refresh();
        model_->reload();
        showCurrentRow();
    }
}

void SearchScreen::selectOption(int option) {
    option_ = option;
    openTable();
    if (!Ed_Desc->text().isEmpty())
        Ed_DescChange();
    Ed_Desc->setFocus();
}

void SearchScreen::showCurrentRow() {
    if (!table_->isOpen() || table_->isEmpty())
        return;
    const int row = table_->recordIndex(model_->rowCount());
    positioning_ = true;
    DBGrid1->selectRow(row);
    DBGrid1->scrollTo(model_->index(row, 0), QAbstractItemView::PositionAtCenter);
    positioning_ = false;
}

void SearchScreen::gridRowChosen(int row) {
    if (positioning_ || !table_->isOpen())
        return;
    table_->moveToIndex(row);
}

void SearchScreen::Ed_DescChange() {
    if (!table_->isOpen())
        return;
    try {
        table_->findNearest(Ed_Desc->text());
    } catch (const ConversionError&) {
        return;  // a partly typed date or number: wait for more
    }
    showCurrentRow();
}

void SearchScreen::closeSearch() {
    table_->close();
    model_->reload();
    hide();
}

void SearchScreen::Btn_CancelClick() {
    closeSearch();
}

void SearchScreen::Btn_RetornarClick() {
    QWidget* caller = nullptr;
    if (table_->isOpen() && !table_->isEmpty() && refusal_) {
        const QString why = refusal_(caller_, *table_);
        if (!why.isEmpty()) {
            MessageBox::question(why);
            return;
        }
    }
    if (table_->isOpen() && !table_->isEmpty()) {
        const auto handler = returns_.find(caller_);
        if (handler != returns_.end()) {
            caller = (*handler)(*table_);
            if (!caller)
                return;  // refused: the search stays open
        }
    }
    closeSearch();
    if (auto* screen = qobject_cast<Screen*>(caller))
        screen->showScreen();
    else if (caller)
        caller->show();
}

void SearchScreen::closeEvent(QCloseEvent* event) {
    table_->close();
    model_->reload();
    event->accept();
}

}  // namespace quelvarino
