#include "app/program.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (!quelvarino::startProgram(app))
        return 0;
    const int code = app.exec();
    quelvarino::stopProgram();
    return code;
}
