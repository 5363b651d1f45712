#pragma once

#include "data/database.h"
#include "data/datafolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

// Gives a test its own home, configuration and runtime folders and an empty
// data folder, so no test depends on the machine it runs on.
class TempHome {
public:
    TempHome()
    {
        QVERIFY(dir.isValid());
        qputenv("HOME", dir.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (dir.path() + "/config").toUtf8());
        QDir().mkpath(dir.path() + "/runtime");
        qputenv("XDG_RUNTIME_DIR", (dir.path() + "/runtime").toUtf8());
        quelvarino::Database::resetMain();
        quelvarino::DataFolder::reset();
    }
    ~TempHome()
    {
        quelvarino::Database::resetMain();
        quelvarino::DataFolder::reset();
    }
    QString path() const { return dir.path(); }
    QString dataFolder() const { return dir.path() + "/Quelvarino"; }

    QTemporaryDir dir;
};
