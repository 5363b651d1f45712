#include "app/program.h"

#include "app/instanceguard.h"
#include "app/mainwindow.h"
#include "app/screenlist.h"
#include "app/splash.h"
#include "app/startfolder.h"
#include "core/clock.h"
#include "core/errors.h"
#include "data/backup.h"
#include "data/database.h"
#include "data/datafolder.h"
#include "data/datamodule.h"
#include "widgets/messagebox.h"
#include "widgets/screen.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QPointer>
#include <QThread>
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

namespace {

QPointer<QThread> backupThread;

// Today's backup of the database, beside the start: a large database is
// copied while the operator already works. A failure is said once and
// never stops the program.
void startDailyBackup() {
    const QString database = DataFolder::mainDatabaseFile();
    const QString folder = DataFolder::path() + QStringLiteral("/Backup");
    const QDate today = Clock::today();
    Backups::requestStop(false);
    QThread* t = QThread::create([database, folder, today] {
        auto say = [](const QString& text) {
            QMetaObject::invokeMethod(
                qApp, [text] { MessageBox::information(text); }, Qt::QueuedConnection);
        };
        // A damaged database is said at once, and never copied over the
        // good copies of the days before.
        QString reason;
        bool sound = false;
        try {
            sound = Backups::check(database, &reason, true);
        } catch (const BackupStopped&) {
            return;  // the program is closing
        }
        if (!sound) {
            say(Backups::damageMessage(database, folder, reason));
            return;
        }
        try {
            Backups::takeDaily(database, folder, today);
        } catch (const BackupStopped&) {
        } catch (const Error& e) {
            say(e.text());
        }
    });
    backupThread = t;
    t->start(QThread::LowPriority);
}

}  // namespace

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
    // Window managers group the program's windows under its desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("br.com.quelvarino.QuelvarinoBasic"));

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
    // A server store is backed up on the server (pg_dump); the copies and
    // the quick check here are of the embedded store's file.
    if (DataFolder::serverDatabase().isEmpty())
        startDailyBackup();
    return true;
}

void waitForStartChecks() {
    if (backupThread)
        backupThread->wait();
    QCoreApplication::processEvents();  // what they had to say
}

void stopProgram() {
    if (backupThread) {
        Backups::requestStop();
        backupThread->wait();
        delete backupThread.data();
    }
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
