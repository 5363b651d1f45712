#include "app/program.h"
#include "widgets/application.h"

int main(int argc, char* argv[]) {
    quelvarino::Application app(argc, argv);
    if (!quelvarino::startProgram(app))
        return 0;
    const int code = app.exec();
    quelvarino::stopProgram();
    return code;
}
