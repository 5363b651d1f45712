#include "reportscreens/reportscreen.h"

#include "core/clock.h"
#include "core/dates.h"
#include "reports/reportcatalog.h"
#include "reportscreens/printdialog.h"
#include "widgets/application.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/toolbar.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quelvarino {

ReportScreen::ReportScreen(const ReportDefinition& report, QWidget* parent)
    : Screen(report.requester, report.caption, parent), report_(report) {
    auto* layout = new QVBoxLayout(this);
    Lbdata = makeDateLabel(this);
    layout->addWidget(Lbdata);
    auto* box = new QGroupBox(this);
    criteria_ = new QGridLayout(box);
    Eddata1 = makeMaskEdit(box, QStringLiteral("Eddata1"), QStringLiteral("!99/99/9999;1;_"));
    Eddata2 = makeMaskEdit(box, QStringLiteral("Eddata2"), QStringLiteral("!99/99/9999;1;_"));
    for (MaskEdit* e : {Eddata1, Eddata2}) {
        e->setFixedWidth(e->minimumWidth());
        dateField(e);
    }
    gridRow(criteria_, 0, {"De :", Eddata1, "Até :", Eddata2});
    criteria_->setColumnStretch(4, 1);
    layout->addWidget(box);
    layout->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto button = [this, buttons](const char* name, const char* text, const char* hint) {
        QPushButton* b = namedButton(this, name, text, hint);
        buttons->addWidget(b);
        return b;
    };
    Btn_Imprimir = button("Btn_Imprimir", "&Imprimir", "Imprimir relatório");
    Btn_Limpar = button("Btn_Limpar", "&Limpar", "Limpar campos");
    Btn_Retornar = button("Btn_Retornar", "&Retornar", "Retornar ao menu");
    layout->addLayout(buttons);
    connect(Btn_Imprimir, &QPushButton::clicked, this,
            [this] { guarded([this] { Btn_ImprimirClick(); }); });
    connect(Btn_Limpar, &QPushButton::clicked, this,
            [this] { guarded([this] { Btn_LimparClick(); }); });
    connect(Btn_Retornar, &QPushButton::clicked, this,
            [this] { guarded([this] { Btn_RetornarClick(); }); });
}

ReportScreen::~ReportScreen() = default;

QString ReportScreen::todayText() const {
    return formatDate(Clock::today());
}

// The screens add their criteria after the buttons were made: on the first
// show the buttons go to the end of the tab order, so Enter walks the
// criteria from top to bottom before it reaches "&Imprimir".
void ReportScreen::showEvent(QShowEvent* event) {
    if (!buttonsLast_) {
        buttonsLast_ = true;
        QWidget* last = nullptr;
        for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
            const bool button = w == Btn_Imprimir || w == Btn_Limpar || w == Btn_Retornar;
            if (!button && isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus))
                last = w;
        }
        if (last) {
            setTabOrder(last, Btn_Imprimir);
            setTabOrder(Btn_Imprimir, Btn_Limpar);
            setTabOrder(Btn_Limpar, Btn_Retornar);
        }
    }
    Screen::showEvent(event);
}

void ReportScreen::FormActivate() {
    Lbdata->setText(todayText());
    if (!waitingForDialog_) {
        Eddata1->setText(todayText());
        Eddata2->setText(todayText());
    }
}

std::tuple<QLineEdit*, QLineEdit*, QPushButton*> ReportScreen::addLookupRow(
    int row,
    const LookupRow& lookup,
    std::function<void()> left,
    std::function<void()> consult) {
    QWidget* box = Eddata1->parentWidget();
    auto* code = makeEdit(box, lookup.code, 6, true);
    code->setFixedWidth(code->minimumWidth());
    auto* name = makeEdit(box, lookup.name, 0, false);
    name->setReadOnly(true);
    name->setFocusPolicy(Qt::NoFocus);
    name->setMinimumWidth(name->fontMetrics().horizontalAdvance(QLatin1Char('W')) *
                          lookup.nameChars);
    auto* button = new QPushButton(QStringLiteral("C&onsultar"), box);
    button->setObjectName(lookup.button);
    button->setToolTip(QStringLiteral("Consultar dados"));
    auto* line = new QHBoxLayout;
    line->addWidget(code);
    line->addWidget(name, 1);
    line->addWidget(button);
    criteria_->addWidget(new QLabel(lookup.label, box), row, 0);
    criteria_->addLayout(line, row, 1, 1, 4);
    setTabOrder(code, button);
    onExit(code, std::move(left));
    connect(button, &QPushButton::clicked, this,
            [consult = std::move(consult)] { guarded(consult); });
    return {code, name, button};
}

Criteria ReportScreen::criteria() const {
    Criteria c;
    c.from = dateOf(Eddata1);
    c.to = dateOf(Eddata2);
    return c;
}

bool ReportScreen::prepare() {
    const Refusal refusal = report_.check(criteria());
    if (!refusal.refused())
        return true;
    MessageBox::warning(refusal.text);
    if (!refusal.focus.isEmpty()) {
        if (auto* focus = findChild<QWidget*>(refusal.focus))
            focus->setFocus();
    }
    return false;
}

void ReportScreen::reset() {
    Eddata1->setText(todayText());
    Eddata2->setText(todayText());
    Eddata1->setFocus();
}

void ReportScreen::Btn_ImprimirClick() {
    if (prepare())
        showDialog();
}

void ReportScreen::Btn_LimparClick() {
    reset();
}

void ReportScreen::Btn_RetornarClick() {
    reset();
    close();
}

void ReportScreen::showDialog() {
    auto* dialog = qobject_cast<PrintDialog*>(Screens::find(report_.dialog));
    if (!dialog)
        return;
    dialog->setCriteria(criteria());
    waitingForDialog_ = true;
    // Modal: nothing else is used while the report is printed; when the
    // dialog closes, the criteria are reset.
    connect(
        dialog, &Screen::hidden, this,
        [this] {
            waitingForDialog_ = false;
            guarded([this] { reset(); });
        },
        Qt::SingleShotConnection);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->showScreen();
}

QComboBox* orderCombo(QWidget* parent, const ReportDefinition& report) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QStringLiteral("Ed_Ord"));
    combo->addItems(report.orders);
    combo->setCurrentIndex(-1);
    enterMovesOn(combo);
    return combo;
}

QDate dateOf(const MaskEdit* field) {
    return field->isBlank() ? QDate() : parseDate(field->text());
}

Payment PaymentChoice::chosen() const {
    return avista->isChecked()   ? Payment::AVista
           : outros->isChecked() ? Payment::Outros
                                 : Payment::Unchosen;
}

void PaymentChoice::uncheck() {
    for (QRadioButton* rb : {avista, outros}) {
        rb->setAutoExclusive(false);
        rb->setChecked(false);
        rb->setAutoExclusive(true);
    }
}

}  // namespace quelvarino
