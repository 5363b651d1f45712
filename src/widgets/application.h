#pragma once

#include <QApplication>
#include <functional>

namespace quelvarino {

// Shows an error that no screen caught as the standard error box, with its
// own text; the operation that raised it stops and the program goes on.
void showUncaughtError(const QString& text);

// Runs one operator action, turning any error it raises into the standard
// error box. Screens connect their handlers through this.
void guarded(const std::function<void()>& action);

// The program's application object: catches, once and centrally, whatever
// an event handler lets escape.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace quelvarino
