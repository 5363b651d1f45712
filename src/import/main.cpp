// QuelvarinoImport OLD_FOLDER [--replace]: loads the Paradox tables of the
// old program's data folder into the store the alias Quelvarino points at.
#include "core/errors.h"
#include "data/backup.h"
#include "data/database.h"
#include "data/datafolder.h"
#include "data/privatefiles.h"
#include "import/paradoximport.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <optional>

using namespace quelvarino;

namespace {

const char* kUsage =
    "Uso: QuelvarinoImport PASTA_ANTIGA [--replace]\n"
    "Importa as tabelas Paradox (tbclientes.db, tbmotociclista.db, tbdespesa.db, tbordem.db,\n"
    "tbrecibo.db, tbentrdesp.db, tbempresa.db, tbsenha.db e seus arquivos .mb) da pasta de\n"
    "dados do programa antigo para o banco de dados do alias Quelvarino.\n"
    "Um registro cujo código ou número já está no banco é mantido; com --replace ele é\n"
    "substituído pelo do arquivo antigo. Importar de novo nunca duplica registros.\n";

// The old folder and --replace from the command line; an exit code when
// the program stops here.
std::optional<int> readArguments(const QStringList& args, QString& folder, bool& replace) {
    QTextStream out(stdout), err(stderr);
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--replace"))
            replace = true;
        else if (args[i] == QLatin1String("--help") || args[i] == QLatin1String("-h")) {
            out << kUsage;
            return 0;
        } else if (folder.isEmpty() && !args[i].startsWith(QLatin1String("--")))
            folder = args[i];
        else {
            err << kUsage;
            return 2;
        }
    }
    if (folder.isEmpty()) {
        err << kUsage;
        return 2;
    }
    if (!QFileInfo(folder).isDir()) {
        err << "A pasta " << folder << " não existe.\n";
        return 2;
    }
    folder = QFileInfo(folder).absoluteFilePath();
    return std::nullopt;
}

// Why the data folder cannot take the import now (empty: it can); the
// folder is made ready as the program's first start does.
QString dataFolderRefusal(QString& database) {
    const QString data = DataFolder::path();
    const QString share = DataFolder::unmountedShareFor(data);
    if (!share.isEmpty())
        return QStringLiteral(
                   "A pasta de dados %1 fica no compartilhamento de rede %2, que não "
                   "está montado neste computador. Monte-o e importe novamente.")
            .arg(data, share);
    if (!QFileInfo::exists(data) && !DataFolder::isDefault())
        return QStringLiteral(
                   "A pasta de dados %1, registrada pelo Ostrima, não existe. Crie-a "
                   "ou registre outra pasta com o Ostrima e importe novamente.")
            .arg(data);
    DataFolder::prepare();
    Database::resetMain();  // preparing it opened it here: only others count
    const bool server = !DataFolder::serverDatabase().isEmpty();
    database = server ? Database::main()->filePath() : DataFolder::mainDatabaseFile();
    if (!server && DatabaseInUse::heldByAnyone(database))
        return QStringLiteral(
                   "O banco de dados %1 está aberto pelo QuelvarinoBasic (nesta ou em "
                   "outra estação). Feche o programa em todas as estações e importe "
                   "novamente.")
            .arg(database);
    return QString();
}

void printReport(QTextStream& out, const ImportReport& r) {
    if (!r.imported) {
        out << r.table << ": not imported: " << r.failure << '\n';
    } else {
        out << r.table << ": " << r.read << " read, " << r.stored << " stored, " << r.skipped
            << " skipped\n";
        if (r.replaced > 0)
            out << "  " << r.replaced << " substituíram registros que já estavam no banco\n";
        for (auto it = r.reasons.begin(); it != r.reasons.end(); ++it) {
            out << "  " << it.value() << " ignorados: " << it.key();
            const QStringList examples = r.examples.value(it.key());
            if (!examples.isEmpty())
                out << "; por exemplo: " << examples.join(QStringLiteral("; "));
            out << '\n';
        }
    }
    for (const QString& note : r.notes)
        out << "  " << note << '\n';
    out.flush();
}

// Table counts on a terminal, rewritten in place; in a log, a line now and then.
void showProgress(QTextStream& err, bool terminal, const QString& table, int done, int total) {
    if (total < 2000)
        return;
    if (terminal) {
        err << '\r' << table << ": " << done << " de " << total << " registros";
        if (done == total)
            err << '\n';
    } else if (done == total || done % 100000 == 0) {
        err << table << ": " << done << " de " << total << " registros\n";
    }
    err.flush();
}

}  // namespace

int main(int argc, char* argv[]) {
    quelvarino::keepNewFilesPrivate();
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    QString folder;
    bool replace = false;
    if (const std::optional<int> code = readArguments(app.arguments(), folder, replace))
        return *code;
    try {
        QString database;
        const QString refusal = dataFolderRefusal(database);
        if (!refusal.isEmpty()) {
            err << refusal << '\n';
            return 1;
        }
        out << "Importando " << QDir::toNativeSeparators(folder) << " para " << database
            << (replace ? " (registros já gravados são substituídos)"
                        : " (registros já gravados são mantidos)")
            << "\n";
        out.flush();

        ParadoxImport import(folder, replace);
        const bool terminal = isatty(STDERR_FILENO);
        import.progress = [&err, terminal ](const QString& table, int done, int total) {
            showProgress(err, terminal, table, done, total);
    };
    int failed = 0, imported = 0;
    for (const TableDef& table : schema::mainTables()) {
        const ImportReport r = import.importTable(table);
        ++(r.imported ? imported : failed);
        printReport(out, r);
    }
    Database::resetMain();
    if (failed > 0) {
        // Said as it is: when every table failed, none was imported.
        if (imported == 0)
            out << "Nenhuma tabela foi importada.\n";
        else
            out << failed
                << (failed == 1 ? " tabela não foi importada" : " tabelas não foram importadas")
                << "; " << (imported == 1 ? "a outra foi importada" : "as outras foram importadas")
                << " por inteiro.\n";
        return 1;
    }
    out << "Importação concluída.\n";
    return 0;
}
catch (const Error& e) {
    err << e.text() << '\n';
    Database::resetMain();
    return 1;
}
}
