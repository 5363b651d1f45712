#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>

// Every message of the program goes through here, so that the titles, icons
// and buttons are the same everywhere and tests can see and answer them.
class MessageBox {
public:
    static QString standardTitle();  // " A T E N Ç Ã O ! ! !"
    // The text as the box shows it: dates are kept on one line.
    static QString displayText(const QString& text);

    struct Shown {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };

    // OK with the warning icon: refusals and validation.
    static void warning(const QString& text);
    // OK with the question-mark icon: lookups and document errors.
    static void question(const QString& text);
    // Yes/No with the question-mark icon and "No" preselected; true for Yes.
    static bool confirm(const QString& text);
    // A plain information box (title: the application's title).
    static void information(const QString& text, const QString& title = QString());
    // The standard error box for errors no screen catches.
    static void error(const QString& text);

    static QMessageBox::StandardButton show(const QString& title,
                                            const QString& text,
                                            QMessageBox::Icon icon,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton);

    // Test seams. In test mode no box is shown: the queued answer (or the
    // default button) is returned at once. Test mode is on when the program
    // runs on an offscreen platform or once any of these is called.
    static void setNextAnswer(QMessageBox::StandardButton answer);
    static QList<Shown> shownMessages();
    static void clearShownMessages();
    static void setTestMode(bool on);
    static bool testMode();
};
