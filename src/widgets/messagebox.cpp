#include "widgets/messagebox.h"

#include <QApplication>
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
    QMessageBox box(icon, title, displayText(text), buttons, QApplication::activeWindow());
    box.setDefaultButton(defaultButton);
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
