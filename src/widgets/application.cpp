#include "widgets/application.h"

#include "core/errors.h"
#include "widgets/messagebox.h"

#include <exception>

namespace quelvarino {

void showUncaughtError(const QString& text) {
    MessageBox::error(text);
}

namespace {

// Inside a catch block: tells the operator what the error caught says; an
// exception of no known kind goes on up.
void tellCaught() {
    try {
        throw;
    } catch (const NoticeError& e) {
        MessageBox::warning(e.text());
    } catch (const Error& e) {
        showUncaughtError(e.text());
    } catch (const std::exception& e) {
        showUncaughtError(QString::fromLocal8Bit(e.what()));
    }
}

}  // namespace

void guarded(const std::function<void()>& action) {
    try {
        action();
    } catch (...) {
        tellCaught();
    }
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        tellCaught();
    }
    return false;
}

}  // namespace quelvarino
