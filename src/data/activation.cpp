#include "data/activation.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

namespace quelvarino {
namespace {

std::function<void()>& handler() {
    static std::function<void()> h;
    return h;
}

class ActivationFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationActivate)
            ActivationHook::fire();
        return false;
    }
};

void installFilter() {
    static QObject* installedOn = nullptr;
    QCoreApplication* app = QCoreApplication::instance();
    if (app && installedOn != app) {
        app->installEventFilter(new ActivationFilter);
        installedOn = app;
    }
}

}  // namespace

void ActivationHook::setHandler(std::function<void()> h) {
    installFilter();
    handler() = std::move(h);
}

void ActivationHook::clear() {
    handler() = nullptr;
}

void ActivationHook::fire() {
    if (handler())
        handler()();
}

}  // namespace quelvarino
