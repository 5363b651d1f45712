#include "widgets/application.h"

#include "core/errors.h"
#include "widgets/messagebox.h"

#include <exception>

namespace quelvarino {

void showUncaughtError(const QString& text) {
    MessageBox::error(text);
}

void guarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const NoticeError& e) {
        MessageBox::warning(e.text());
    } catch (const Error& e) {
        showUncaughtError(e.text());
    } catch (const std::exception& e) {
        showUncaughtError(QString::fromLocal8Bit(e.what()));
    }
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const NoticeError& e) {
        MessageBox::warning(e.text());
    } catch (const Error& e) {
        showUncaughtError(e.text());
    } catch (const std::exception& e) {
        showUncaughtError(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

}  // namespace quelvarino
