#include "app/program.h"

#include "app/instanceguard.h"
#include "app/mainwindow.h"
#include "app/screenlist.h"
#include "app/splash.h"
#include "app/startfolder.h"
#include "core/errors.h"
#include "data/database.h"
#include "data/datafolder.h"
#include "data/datamodule.h"
#include "widgets/messagebox.h"
#include "widgets/screen.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace quelvarino {
namespace {
QPointer<TQuelvarino000_0> mainWindow;
}

// Qt's own dialogs (Yes/No, the folder picker, the print preview) speak
// the operators' language whatever the workstation's locale is.
void loadQtTranslations(QApplication& app) {
    static QTranslator* qtbase = nullptr;
    if (qtbase)
        return;
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_pt_BR"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
        qtbase = translator;
    } else {
        delete translator;
    }
}

bool startProgram(QApplication& app) {
    loadQtTranslations(app);
    installProgramStyle();
    auto* splash = new TQuelvarino00Inic_0;
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    if (!InstanceGuard::acquire()) {
        delete splash;  // not left behind the message
        MessageBox::information(QStringLiteral("O sistema já foi inicializado!"));
        return false;
    }

    // The taskbar text belongs to the desktop entry: an application display
    // name would be appended by Qt to every window title.
    app.setQuitOnLastWindowClosed(false);

    try {
        if (!prepareDataFolderAtStart(splash)) {
            delete splash;
            InstanceGuard::release();
            return false;
        }
    } catch (const Error& e) {
        delete splash;
        MessageBox::error(e.text());
        InstanceGuard::release();
        return false;
    }

    mainWindow = new TQuelvarino000_0;
    QObject::connect(mainWindow, &TQuelvarino000_0::closed, &app, &QCoreApplication::quit);
    createScreens();
    new TDataModule1(&app);

    delete splash;
    mainWindow->show();
    mainWindow->raise();
    mainWindow->activateWindow();
    // The guard must have run before the operator can use a menu, even where
    // the window system does not activate the window at once.
    if (!mainWindow->guardFailed())
        mainWindow->FormActivate();
    if (mainWindow->guardFailed()) {
        stopProgram();
        return false;
    }
    return true;
}

void stopProgram() {
    if (mainWindow) {
        mainWindow->hide();
        delete mainWindow.data();
    }
    Quelvarino000_0 = nullptr;
    Screens::destroyAll();
    delete DataModule1;
    Database::resetMain();
    InstanceGuard::release();
}

}  // namespace quelvarino
