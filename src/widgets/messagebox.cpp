#include "widgets/messagebox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QQueue>
#include <QRegularExpression>

namespace {

struct State {
    bool testModeSet = false;
    bool testMode = false;
    QQueue<QMessageBox::StandardButton> answers;
    QList<MessageBox::Shown> shown;
};

State& state() {
    static State s;
    return s;
}

// The title the information and error boxes carry: the program's own, as
// the taskbar shows it, never the name of its file.
QString applicationTitle() {
    return QStringLiteral("Quelvarino Basic - Sistema para Controle de Empresa de Motoboy");
}

// The window a box stands over: the active one while it is shown. A window
// that is hidden or on its way out (a closed preview, a file dialog) would
// take the box with it, unseen, while it blocks every other window.
QWidget* ownerWindow() {
    QWidget* active = QApplication::activeWindow();
    if (active && active->isVisible() && !active->testAttribute(Qt::WA_WState_Hidden))
        return active;
    return nullptr;
}

}  // namespace

QString MessageBox::displayText(const QString& text) {
    // A date or its pattern ("dd/mm/aaaa") is never broken across lines.
    static const QRegularExpression date(QStringLiteral("\\b(\\w{2})/(\\w{2})/(\\w{4})\\b"));
    QString out = text;
    out.replace(date, QStringLiteral("\\1/\u2060\\2/\u2060\\3"));
    return out;
}

QString MessageBox::standardTitle() {
    return QStringLiteral(" A T E N Ç Ã O ! ! !");
}

bool MessageBox::testMode() {
    if (state().testModeSet)
        return state().testMode;
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal") ||
           !qobject_cast<QApplication*>(QCoreApplication::instance());
}

void MessageBox::setTestMode(bool on) {
    state().testModeSet = true;
    state().testMode = on;
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton answer) {
    setTestMode(true);
    state().answers.enqueue(answer);
}

QList<MessageBox::Shown> MessageBox::shownMessages() {
    return state().shown;
}

void MessageBox::clearShownMessages() {
    setTestMode(true);
    state().shown.clear();
    state().answers.clear();
}

QMessageBox::StandardButton MessageBox::show(const QString& title,
                                             const QString& text,
                                             QMessageBox::Icon icon,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton) {
    state().shown.append({title, text, icon, buttons});
    if (testMode()) {
        if (!state().answers.isEmpty())
            return state().answers.dequeue();
        return defaultButton;
    }
    QMessageBox box(icon, title, displayText(text), buttons, ownerWindow());
    box.setDefaultButton(defaultButton);
    // A short message makes a narrow box, and the window manager cuts the
    // spaced title (" A T E … Ã O ! ! !"): the box is kept wide enough for
    // it, with room for the title bar's buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int width = QFontMetrics(box.font()).horizontalAdvance(title) * 3 / 2 + 140;
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void MessageBox::warning(const QString& text) {
    show(standardTitle(), text, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBox::question(const QString& text) {
    show(standardTitle(), text, QMessageBox::Question, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBox::confirm(const QString& text) {
    return show(standardTitle(), text, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::No) == QMessageBox::Yes;
}

void MessageBox::information(const QString& text, const QString& title) {
    show(title.isEmpty() ? applicationTitle() : title, text, QMessageBox::Information,
         QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBox::error(const QString& text) {
    show(applicationTitle(), text, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok);
}
