#pragma once

#include <QString>
#include <QWidget>

// Base of every screen window: its objectName is the instance name, its
// caption is the screen's. When it becomes the active window it runs
// FormActivate and makes its own table refresh the application's
// became-active handler.
class Screen : public QWidget {
    Q_OBJECT
public:
    Screen(const QString& instanceName, const QString& caption, QWidget* parent = nullptr);

    // Shows the screen as a modeless window, in front, with the focus on the
    // named field when there is one.
    void showScreen(const QString& focusField = QString());

    // An insert or edit begun and not yet recorded or cancelled.
    virtual bool hasPendingEdit() const { return false; }

signals:
    void hidden();  // the window was closed or hidden

protected:
    void hideEvent(QHideEvent* event) override;
    virtual void FormActivate() {}
    // Re-reads the screen's own open tables (none by default).
    virtual void refreshTables() {}
    bool event(QEvent* event) override;
    // Closing the window (its title bar, the system) with a pending edit:
    // asks the operator; true to go on and abandon it.
    bool mayAbandonPendingEdit();
};

// Every screen instance, created once at start and reachable by name.
class Screens {
public:
    static void add(QWidget* screen);
    static QWidget* find(const QString& instanceName);
    template <typename T>
    static T* get(const QString& instanceName) {
        return qobject_cast<T*>(find(instanceName));
    }
    // The screen made of exactly this class (not one that only shares its
    // base), or null.
    static QWidget* ofClass(const QMetaObject& metaObject);
    static QList<QWidget*> all();
    static void destroyAll();
};

// Gives screen class T its `instance()`: the one screen of that class the
// program made at start, null before the screens are made and after they
// are released.
template <typename T>
class OneScreen {
public:
    static T* instance() { return static_cast<T*>(Screens::ofClass(T::staticMetaObject)); }
};
