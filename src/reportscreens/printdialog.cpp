#include "reportscreens/printdialog.h"

#include "core/clock.h"
#include "core/dates.h"
#include "core/errors.h"
#include "data/datafolder.h"
#include "reports/reportcatalog.h"
#include "reportscreens/reportscreen.h"
#include "widgets/application.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/testseams.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace quelvarino {
namespace {

void setEditable(QWidget* w, bool on) {
    setFieldEditable(w, on);
}

}  // namespace

PrintDialog::PrintDialog(const ReportDefinition& report, QWidget* parent)
    : Screen(report.dialog, QStringLiteral("Tipos de Impressão"), parent), report_(report) {
    auto* layout = new QVBoxLayout(this);

    Lbdata = makeDateLabel(this);
    layout->addWidget(Lbdata);

    if (isListing())
        buildSelectionBlock(layout);
    buildKinds(layout);
    if (report_.copies)
        buildCopies(layout);
    buildPath(layout);
    buildButtons(layout);
    Btn_LimparClick();
    setMinimumWidth(560);
}

PrintDialog::~PrintDialog() = default;

void PrintDialog::buildKinds(QVBoxLayout* layout) {
    auto* kinds = new QGroupBox(QStringLiteral("    Tipo de Impressora :    "), this);
    kinds->setObjectName(QStringLiteral("Edtip"));
    auto* grid = new QGridLayout(kinds);
    items_ = new QButtonGroup(this);
    const QList<Output> outputs = report_.outputs;
    for (int i = 0; i < outputs.size(); ++i) {
        auto* rb = new QRadioButton(ReportCatalog::itemCaption(report_, outputs[i]), kinds);
        rb->setObjectName(QStringLiteral("Edtip_%1").arg(i));
        items_->addButton(rb, i);
        grid->addWidget(rb, i / 2, i % 2);
    }
    connect(items_, &QButtonGroup::idClicked, this, [this] { guarded([this] { EdtipClick(); }); });
    layout->addWidget(kinds);
}

void PrintDialog::buildCopies(QVBoxLayout* layout) {
    auto* copies = new QHBoxLayout;
    Ed1Copy = new QCheckBox(QStringLiteral("1 Via ou Formulario Carbonado"), this);
    Ed1Copy->setObjectName(QStringLiteral("Ed1"));
    Ed2Copy = new QCheckBox(QStringLiteral("2 Vias ou Formulario Comum"), this);
    Ed2Copy->setObjectName(QStringLiteral("Ed2"));
    // Checking one clears the other; unchecking leaves both clear.
    connect(Ed1Copy, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            Ed2Copy->setChecked(false);
    });
    connect(Ed2Copy, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            Ed1Copy->setChecked(false);
    });
    copies->addWidget(Ed1Copy);
    copies->addWidget(Ed2Copy);
    // Printing needs one of the two: said beside them, not only when refused.
    auto* hint = new QLabel(QStringLiteral("(marque uma das vias)"), this);
    hint->setObjectName(QStringLiteral("LabelVias"));
    copies->addWidget(hint);
    copies->addStretch();
    layout->addLayout(copies);
}

void PrintDialog::buildPath(QVBoxLayout* layout) {
    auto* label5 = new QLabel(
        QStringLiteral("Informe o Caminho aonde o arquivo deve ser gerado e o nome :"), this);
    label5->setObjectName(QStringLiteral("Label5"));
    layout->addWidget(label5);
    auto* path = new QHBoxLayout;
    Edcam = new QLineEdit(this);
    Edcam->setObjectName(QStringLiteral("Edcam"));
    // Wide enough for a path such as /home/operador/Quelvarino/Relatorios/OS0000000001,
    // and every print dialog as wide as the register listings' ones.
    QFont boldPath = Edcam->font();
    boldPath.setBold(true);
    Edcam->setMinimumWidth(
        QFontMetrics(boldPath).horizontalAdvance(QStringLiteral("/home/operador/Quelvarino/"
                                                                "Relatorios/OS0000000001")) +
        16);
    enterMovesOn(Edcam);
    Btn_Caminho = new QToolButton(this);
    Btn_Caminho->setObjectName(QStringLiteral("Btn_Caminho"));
    Btn_Caminho->setText(QStringLiteral("..."));
    Btn_Caminho->setToolTip(QStringLiteral("Localizar Diretório"));
    Btn_Caminho->setAutoRaise(true);
    path->addWidget(Edcam, 1);
    path->addWidget(Btn_Caminho);
    layout->addLayout(path);
}

void PrintDialog::buildButtons(QVBoxLayout* layout) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    Btn_Limpar = new QPushButton(QStringLiteral("&Limpar"), this);
    Btn_Limpar->setObjectName(QStringLiteral("Btn_Limpar"));
    Btn_Limpar->setToolTip(QStringLiteral("Limpar campos"));
    Btn_Imprimir = new QPushButton(QStringLiteral("&Imprimir"), this);
    Btn_Imprimir->setObjectName(QStringLiteral("Btn_Imprimir"));
    Btn_Imprimir->setToolTip(QStringLiteral("Imprimir relatório"));
    Btn_Retornar = new QPushButton(QStringLiteral("&Retornar"), this);
    Btn_Retornar->setObjectName(QStringLiteral("Btn_Retornar"));
    Btn_Retornar->setToolTip(QStringLiteral("Retornar ao menu"));
    for (QPushButton* b : {Btn_Limpar, Btn_Imprimir, Btn_Retornar})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(Btn_Caminho, &QToolButton::clicked, this,
            [this] { guarded([this] { Btn_CaminhoClick(); }); });
    connect(Btn_Limpar, &QPushButton::clicked, this,
            [this] { guarded([this] { Btn_LimparClick(); }); });
    connect(Btn_Imprimir, &QPushButton::clicked, this,
            [this] { guarded([this] { Btn_ImprimirClick(); }); });
    connect(Btn_Retornar, &QPushButton::clicked, this,
            [this] { guarded([this] { Btn_RetornarClick(); }); });
}

void PrintDialog::buildSelectionBlock(QVBoxLayout* layout) {
    auto* group = new QGroupBox(this);
    auto* g = new QGridLayout(group);
    Ed1 = new QRadioButton(QStringLiteral("Completo"), group);
    Ed1->setObjectName(QStringLiteral("Ed1"));
    Ed2 = new QRadioButton(QStringLiteral("por Período"), group);
    Ed2->setObjectName(QStringLiteral("Ed2"));
    Ed3 = new QRadioButton(QStringLiteral("por Intervalos"), group);
    Ed3->setObjectName(QStringLiteral("Ed3"));
    Eddata1 = makeMaskEdit(group, QStringLiteral("Eddata1"), QStringLiteral("!99/99/9999;1;_"));
    Eddata2 = makeMaskEdit(group, QStringLiteral("Eddata2"), QStringLiteral("!99/99/9999;1;_"));
    Edcod1 = makeEdit(group, QStringLiteral("Edcod1"), 6, true);
    Edcod2 = makeEdit(group, QStringLiteral("Edcod2"), 6, true);
    Ed_Ord = new QComboBox(group);
    Ed_Ord->setObjectName(QStringLiteral("Ed_Ord"));
    Ed_Ord->addItems(report_.orders);
    Ed_Ord->setCurrentIndex(-1);
    g->addWidget(Ed1, 0, 0);
    g->addWidget(Ed2, 0, 1);
    g->addWidget(Ed3, 0, 2);
    gridRow(g, 1, {"De :", Eddata1, "Até :", Eddata2});
    gridRow(g, 2, {"Código de :", Edcod1, "Até :", Edcod2});
    gridRow(g, 3, {"Ordenar por :", {Ed_Ord, 3}});
    layout->addWidget(group);
    for (QWidget* w : {static_cast<QWidget*>(Eddata1), static_cast<QWidget*>(Eddata2),
                       static_cast<QWidget*>(Edcod1), static_cast<QWidget*>(Edcod2),
                       static_cast<QWidget*>(Ed_Ord)})
        enterMovesOn(w);
    dateField(Eddata1);
    dateField(Eddata2);
    const QList<QRadioButton*> modes = {Ed1, Ed2, Ed3};
    for (int i = 0; i < 3; ++i)
        connect(modes[i], &QRadioButton::clicked, this,
                [this, i] { guarded([&] { selectionClick(i); }); });
}

QString PrintDialog::defaultPath() const {
    return report_.defaultPath(criteria_);
}

bool PrintDialog::isListing() const {
    return report_.kind == ReportKind::Listing;
}

void PrintDialog::setCriteria(const Criteria& criteria) {
    criteria_ = criteria;
    // The document dialogs take their file name from the number on screen.
    if (!Edcam->isEnabled())
        Edcam->setText(defaultPath());
}

int PrintDialog::Edtip() const {
    return items_->checkedId();
}

void PrintDialog::setEdtip(int item) {
    if (QAbstractButton* b = items_->button(item)) {
        b->setChecked(true);
        EdtipClick();
    }
}

QString PrintDialog::fileItemPath() const {
    return Edcam->text() + QStringLiteral(".txt");
}

bool PrintDialog::twoCopies() const {
    return Ed2Copy && Ed2Copy->isChecked();
}

void PrintDialog::FormActivate() {
    Lbdata->setText(formatDate(Clock::today()));
}

void PrintDialog::showEvent(QShowEvent* event) {
    // Over the screen that asked for the print, not wherever the window
    // manager puts a new window.
    if (!event->spontaneous()) {
        if (QWidget* requester = Screens::find(report_.requester);
            requester && requester->isVisible()) {
            // The window's own size: a hidden window's frame is not known
            // yet the first time and may be stale the next.
            QRect frame(QPoint(0, 0), size().expandedTo(sizeHint()));
            frame.moveCenter(requester->frameGeometry().center());
            if (const QScreen* screen = requester->screen()) {
                const QRect room = screen->availableGeometry();
                frame.moveLeft(qBound(room.left(), frame.left(),
                                      qMax(room.left(), room.right() - frame.width())));
                frame.moveTop(qBound(room.top(), frame.top(),
                                     qMax(room.top(), room.bottom() - frame.height())));
            }
            move(frame.topLeft());
        }
    }
    Screen::showEvent(event);
    Lbdata->setText(formatDate(Clock::today()));
    // The document dialogs take their file name from the number on screen.
    if (!Edcam->isEnabled())
        Edcam->setText(defaultPath());
}

int PrintDialog::fileItem() const {
    return ReportCatalog::itemOf(report_, Output::TextFile);
}

void PrintDialog::EdtipClick() {
    const int item = Edtip();
    const bool enable = item >= 0 && ReportCatalog::pathEditable(
                                         report_, ReportCatalog::outputOfItem(report_, item));
    Btn_Caminho->setEnabled(enable);
    setEditable(Edcam, enable);
    Edcam->setText(defaultPath());
    if (enable)
        Edcam->setFocus();
}

void PrintDialog::Btn_CaminhoClick() {
    // The picker opens where the file would go: the path's own folder, else
    // the reports folder of the data folder, never the process's folder.
    const QString current = Edcam->text().trimmed();
    QString initial;
    if (!current.isEmpty() && QFileInfo(current).isDir())
        initial = QFileInfo(current).absoluteFilePath();
    else if (!current.isEmpty() && QFileInfo(QFileInfo(current).absolutePath()).isDir() &&
             QDir::isAbsolutePath(current))
        initial = QFileInfo(current).absolutePath();
    else if (QFileInfo(DataFolder::reportsFolder()).isDir())
        initial = DataFolder::reportsFolder();
    else
        initial = DataFolder::path();
    const QString chosen =
        FolderPicker::pick(this, QStringLiteral("Selecione a Pasta - [Banco de Dados]"), initial);
    if (!chosen.isEmpty())
        Edcam->setText(chosen);
    Edcam->selectAll();
    Edcam->setFocus();
}

void PrintDialog::Btn_LimparClick() {
    items_->setExclusive(false);
    for (QAbstractButton* b : items_->buttons())
        b->setChecked(false);
    items_->setExclusive(true);
    Btn_Caminho->setEnabled(false);
    setEditable(Edcam, false);
    Edcam->setText(defaultPath());
    if (Ed1Copy) {
        Ed1Copy->setChecked(false);
        Ed2Copy->setChecked(false);
    }
    if (isListing())
        resetSelection();
}

void PrintDialog::resetSelection() {
    for (QRadioButton* rb : {Ed1, Ed2, Ed3}) {
        rb->setAutoExclusive(false);
        rb->setChecked(false);
        rb->setAutoExclusive(true);
    }
    Eddata1->clear();
    Eddata2->clear();
    Edcod1->clear();
    Edcod2->clear();
    for (QWidget* w : {static_cast<QWidget*>(Eddata1), static_cast<QWidget*>(Eddata2),
                       static_cast<QWidget*>(Edcod1), static_cast<QWidget*>(Edcod2)})
        setEditable(w, false);
    Ed_Ord->setCurrentIndex(-1);
}

void PrintDialog::selectionClick(int mode) {
    const QString today = formatDate(Clock::today());
    Eddata1->setText(today);
    Eddata2->setText(today);
    setEditable(Eddata1, mode == 1);
    setEditable(Eddata2, mode == 1);
    Edcod1->clear();
    Edcod2->clear();
    setEditable(Edcod1, mode == 2);
    setEditable(Edcod2, mode == 2);
    if (mode == 1)
        Eddata1->setFocus();
    else if (mode == 2)
        Edcod1->setFocus();
}

Criteria PrintDialog::listingCriteria() const {
    Criteria c = criteria_;
    c.selection = Ed1->isChecked()   ? Selection::Complete
                  : Ed2->isChecked() ? Selection::Period
                  : Ed3->isChecked() ? Selection::Codes
                                     : Selection::Unchosen;
    if (c.selection == Selection::Period) {
        c.from = dateOf(Eddata1);
        c.to = dateOf(Eddata2);
    } else if (c.selection == Selection::Codes) {
        c.codeFrom = Edcod1->text();
        c.codeTo = Edcod2->text();
    }
    c.order = Ed_Ord->currentIndex();
    return c;
}

bool PrintDialog::prepareListing() {
    const Criteria c = listingCriteria();
    const Refusal refusal = report_.check(c);
    if (!refusal.refused())
        return true;
    MessageBox::warning(refusal.text);
    const int mode = int(c.selection) - int(Selection::Complete);
    if (mode >= 0)
        selectionClick(mode);
    return false;
}

void PrintDialog::Btn_ImprimirClick() {
    if (Edtip() < 0 || (Ed1Copy && !Ed1Copy->isChecked() && !Ed2Copy->isChecked())) {
        MessageBox::warning(
            QStringLiteral("Informe qual o tipo de impressão que deseja imprimir."));
        return;
    }
    // Every print of a listing checks its selection again.
    if (isListing() && !prepareListing())
        return;
    route();
}

void PrintDialog::route() {
    const int item = Edtip();
    if (item < 0) {
        MessageBox::warning(QStringLiteral("Informe qual o tipo de impressão que deseja."));
        return;
    }
    const Output output = ReportCatalog::outputOfItem(report_, item);
    // A file needs a name; an HTML file too (it would otherwise be written
    // as ".html" in whatever folder the program runs in).
    if (ReportCatalog::pathEditable(report_, output) && Edcam->text().trimmed().isEmpty()) {
        MessageBox::warning(
            QStringLiteral("Informe o caminho aonde deve ser gravado e o nome do arquivo."));
        Edcam->setFocus();
        return;
    }
    PrintRequest request;
    request.output = output;
    request.path = Edcam->text().trimmed();
    request.criteria = isListing() ? listingCriteria() : criteria_;
    request.criteria.twoCopies = twoCopies();
    request.parent = this;
    ReportCatalog::print(report_, request);
    if (ReportCatalog::closesAfter(report_, output))
        closeAndShowRequester();
}

void PrintDialog::closeAndShowRequester() {
    Btn_LimparClick();
    hide();
    if (auto* screen = qobject_cast<Screen*>(Screens::find(report_.requester)))
        screen->showScreen();
}

void PrintDialog::Btn_RetornarClick() {
    Btn_LimparClick();
    close();
}

}  // namespace quelvarino
