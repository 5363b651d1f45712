#include "app/program.h"
#include "app/reportcommand.h"
#include "core/errors.h"
#include "data/backup.h"
#include "data/datafolder.h"
#include "data/privatefiles.h"
#include "widgets/application.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>

namespace {

// "QuelvarinoBasic --restaurar <cópia>": puts a backup in place of the
// database of the data folder the alias names, when no workstation has it
// open.
int restore(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        err << "Uso: QuelvarinoBasic --restaurar <arquivo da cópia>\n"
            << "As cópias ficam em " << QDir::toNativeSeparators(quelvarino::DataFolder::path())
            << "/Backup (quelvarino-aaaa-mm-dd.db).\n";
        return 2;
    }
    QString database;
    try {
        if (!quelvarino::DataFolder::serverDatabase().isEmpty()) {
            err << "O alias Quelvarino aponta para um servidor PostgreSQL ("
                << quelvarino::DataFolder::serverDatabase().section(QStringLiteral("password="), 0,
                                                                    0)
                << "): as cópias de segurança desse banco são feitas e restauradas no servidor, "
                   "com "
                   "pg_dump e pg_restore.\n";
            return 1;
        }
        database = quelvarino::DataFolder::mainDatabaseFile();
        // On a share whose locks stay on each computer this workstation
        // cannot see another that has the database open: refused as the
        // start refuses it.
        quelvarino::DataFolder::requireLocksBetweenWorkstations(QFileInfo(database).absolutePath());
        quelvarino::Backups::restore(QFileInfo(args[2]).absoluteFilePath(), database);
    } catch (const quelvarino::Error& e) {
        err << e.text() << '\n';
        return 1;
    }
    out << "Banco de dados " << database << " restaurado a partir de " << args[2]
        << ".\nO arquivo substituído foi guardado em " << database << ".antes-da-restauracao.\n";
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    quelvarino::keepNewFilesPrivate();
    if (argc > 1 && QByteArray(argv[1]) == "--restaurar")
        return restore(argc, argv);
    if (quelvarino::isReportCommand(argc, argv) ||
        (argc == 2 && (QByteArray(argv[1]) == "--help" || QByteArray(argv[1]) == "-h")))
        return quelvarino::runReportCommand(argc, argv);
    // "--verificar-inicio": starts as always and ends as soon as the main
    // window is shown and takes input, saying so; for checking an
    // installation and measuring the start.
    const bool checkStart = argc > 1 && QByteArray(argv[1]) == "--verificar-inicio";
    // An option the program does not know is refused, never taken for a
    // start of the window (which under a script would never end).
    for (int i = checkStart ? 2 : 1; i < argc; ++i) {
        if (QByteArray(argv[i]).startsWith("--")) {
            QTextStream(stderr) << "Opção desconhecida: " << QString::fromLocal8Bit(argv[i])
                                << "\nVeja QuelvarinoBasic --help.\n";
            return 2;
        }
    }
    // Without a graphical session Qt would end with its own words: the
    // check of the start needs no screen, the program says what it needs.
    const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY") &&
                           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (noDisplay && checkStart)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    else if (noDisplay) {
        QTextStream(stderr) << "O QuelvarinoBasic precisa de uma sessão gráfica: não há tela "
                               "(as variáveis DISPLAY e WAYLAND_DISPLAY não estão definidas).\n"
                               "Abra-o pela área de trabalho, ou use QuelvarinoBasic "
                               "--verificar-inicio para só verificar a instalação.\n";
        return 1;
    }
    quelvarino::Application app(argc, argv);
    if (!quelvarino::startProgram(app))
        return checkStart ? 1 : 0;
    if (checkStart) {
        QTimer::singleShot(0, &app, [&app] {
            QTextStream(stdout) << "Janela principal aberta." << Qt::endl;
            app.quit();
        });
    }
    const int code = app.exec();
    quelvarino::stopProgram();
    return code;
}
