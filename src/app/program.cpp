#include "app/program.h"

#include "core/errors.h"
#include "data/database.h"
#include "data/datafolder.h"
#include "data/datamodule.h"

#include <QApplication>
#include <QMessageBox>

namespace quelvarino {

bool startProgram(QApplication&)
{
    try {
        DataFolder::prepare();
    } catch (const Error& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Quelvarino Basic"), e.text());
        return false;
    }
    new TDataModule1;
    return true;
}

void stopProgram()
{
    delete DataModule1;
    Database::resetMain();
}

}  // namespace quelvarino
