#include "widgets/screen.h"

#include "data/activation.h"
#include "widgets/application.h"
#include "widgets/fields.h"
#include "widgets/messagebox.h"

#include <QEvent>
#include <QPointer>

Screen::Screen(const QString& instanceName, const QString& caption, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(instanceName);
    setWindowTitle(caption);
}

void Screen::showScreen(const QString& focusField) {
    show();
    raise();
    activateWindow();
    if (!focusField.isEmpty()) {
        if (auto* field = findChild<QWidget*>(focusField))
            field->setFocus();
    }
}

bool Screen::mayAbandonPendingEdit() {
    if (!hasPendingEdit())
        return true;
    return MessageBox::confirm(
        QStringLiteral("Esta tela tem uma inclusão ou alteração que ainda não foi gravada.\n\n"
                       "Deseja abandoná-la e fechar a tela? Para gravá-la, responda Não e clique "
                       "em Gravar."));
}

void Screen::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit hidden();
}

bool Screen::event(QEvent* event) {
    if (event->type() == QEvent::Polish)
        quelvarino::installEnterFlow(this);  // every control exists by now
    if (event->type() == QEvent::WindowActivate) {
        QPointer<Screen> self(this);
        quelvarino::ActivationHook::setHandler([self] {
            if (self)
                quelvarino::guarded([&] { self->refreshTables(); });
        });
        quelvarino::guarded([this] { FormActivate(); });
    }
    return QWidget::event(event);
}

namespace {
QList<QPointer<QWidget>>& registry() {
    static QList<QPointer<QWidget>> screens;
    return screens;
}
}  // namespace

void Screens::add(QWidget* screen) {
    registry().append(screen);
}

QWidget* Screens::find(const QString& instanceName) {
    for (const QPointer<QWidget>& s : registry()) {
        if (s && s->objectName() == instanceName)
            return s;
    }
    return nullptr;
}

QWidget* Screens::ofClass(const QMetaObject& metaObject) {
    for (const QPointer<QWidget>& s : registry()) {
        if (s && s->metaObject() == &metaObject)
            return s;
    }
    return nullptr;
}

QList<QWidget*> Screens::all() {
    QList<QWidget*> out;
    for (const QPointer<QWidget>& s : registry()) {
        if (s)
            out.append(s);
    }
    return out;
}

void Screens::destroyAll() {
    // Newest first: screens may refer to the ones created before them.
    QList<QPointer<QWidget>> screens = registry();
    registry().clear();
    for (auto it = screens.rbegin(); it != screens.rend(); ++it)
        delete it->data();
}
