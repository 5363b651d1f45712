#include "app/program.h"

#include "app/instanceguard.h"
#include "app/mainwindow.h"
#include "app/screenlist.h"
#include "app/splash.h"
#include "core/errors.h"
#include "data/database.h"
#include "data/datafolder.h"
#include "data/datamodule.h"
#include "widgets/messagebox.h"
#include "widgets/screen.h"

#include <QApplication>
#include <QPointer>

namespace quelvarino {
namespace {
QPointer<TQuelvarino000_0> mainWindow;
}

bool startProgram(QApplication& app) {
    auto* splash = new TQuelvarino00Inic_0;
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    if (!InstanceGuard::acquire()) {
        MessageBox::information(QStringLiteral("O sistema já foi inicializado!"));
        delete splash;
        return false;
    }

    app.setApplicationDisplayName(
        QStringLiteral("Quelvarino Basic - Sistema para Controle de Empresa de Motoboy"));
    app.setQuitOnLastWindowClosed(false);

    try {
        DataFolder::prepare();
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
