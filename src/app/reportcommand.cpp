#include "app/reportcommand.h"

#include "app/program.h"
#include "app/startfolder.h"
#include "core/clock.h"
#include "core/dates.h"
#include "core/errors.h"
#include "data/datafolder.h"
#include "data/datamodule.h"
#include "reports/reportcatalog.h"
#include "widgets/application.h"
#include "widgets/messagebox.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

namespace quelvarino {
namespace {

constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kWrongArguments = 2;

// What the command line asked.
struct Arguments {
    QString report, document, number;
    QString from, to, client, courier, payment, groupBy, order, codeFrom, codeTo;
    QString output, printer;
    int copies = 1;
    bool help = false;
};

QString helpText() {
    QString t = QStringLiteral(
        "Uso: QuelvarinoBasic --relatorio ID [opções] (--saida ARQUIVO | --impressora NOME)\n"
        "     QuelvarinoBasic --documento ordem|recibo NUMERO [--vias 1|2] "
        "(--saida ARQUIVO | --impressora NOME)\n\n"
        "Gera o relatório ou o documento sem abrir janela, com as mesmas regras e mensagens "
        "das telas.\nA extensão de ARQUIVO diz o formato: .pdf (jato de tinta ou laser), "
        ".html, .txt (arquivo para impressora matricial) ou .xlsx (planilha).\n"
        "--impressora LPT1 manda o relatório à impressora matricial; outro NOME, a página "
        "à impressora do sistema com esse nome.\n\n"
        "Relatórios (ID ou nome, parâmetros):\n");
    QString documents;
    for (const ReportDefinition& e : ReportCatalog::entries()) {
        const QString html =
            e.outputs.contains(Output::Html) ? QStringLiteral(" .html") : QString();
        if (e.kind == ReportKind::Document) {
            documents += QStringLiteral(
                             "  --documento %1 %2\n        %3 (ID 00%4); saídas: "
                             ".pdf%5 .txt .xlsx, LPT1\n")
                             .arg(e.command, e.parameters, e.pageTitle.toLower(), e.id, html);
            continue;
        }
        t += QStringLiteral("  00%1  %2\n        %3\n        saídas: .pdf%4 .txt .xlsx, LPT1\n")
                 .arg(e.id, e.command, e.parameters, html);
    }
    t += documents;
    t += QStringLiteral(
        "\n"
        "D: data dd/mm/aaaa (sem --de e --ate, o dia de hoje, como nas telas).\n"
        "C: código do cliente, do motoboy ou do cadastro.\n"
        "O: uma opção de \"Ordenar por\" da tela, pelo texto ou pelo número (1, 2, ...).\n\n"
        "Código de saída: 0 gerado, 1 nada a imprimir ou recusado (a mensagem diz por quê), "
        "2 argumentos errados.\n");
    return t;
}

// Parses the arguments; an error text for a wrong one.
QString parse(const QStringList& args, Arguments* a) {
    const QHash<QString, QString*> values = {
        {"--relatorio", &a->report},  {"--de", &a->from},         {"--ate", &a->to},
        {"--cliente", &a->client},    {"--motoboy", &a->courier}, {"--pagamento", &a->payment},
        {"--agrupar", &a->groupBy},   {"--ordem", &a->order},     {"--codigo-de", &a->codeFrom},
        {"--codigo-ate", &a->codeTo}, {"--saida", &a->output},    {"--impressora", &a->printer},
    };
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            a->help = true;
            continue;
        }
        const bool takesTwo = arg == QLatin1String("--documento");
        const int needed = takesTwo ? 2 : 1;
        if (!takesTwo && !values.contains(arg) && arg != QLatin1String("--vias"))
            return QStringLiteral("Opção desconhecida: %1").arg(arg);
        if (i + needed >= args.size())
            return QStringLiteral("Falta o valor de %1.").arg(arg);
        if (takesTwo) {
            a->document = args[++i].toLower();
            a->number = args[++i].trimmed();
        } else if (arg == QLatin1String("--vias")) {
            const QString v = args[++i];
            if (v != QLatin1String("1") && v != QLatin1String("2"))
                return QStringLiteral("--vias é 1 ou 2, não %1.").arg(v);
            a->copies = v.toInt();
        } else {
            QString* target = values.value(arg);
            if (!target->isEmpty())
                return QStringLiteral("A opção %1 foi dada duas vezes.").arg(arg);
            *target = args[++i];
        }
    }
    return QString();
}

Output outputOf(const QString& file, QString* error) {
    const QString ext = QFileInfo(file).suffix().toLower();
    if (ext == QLatin1String("pdf"))
        return Output::Page;
    if (ext == QLatin1String("html") || ext == QLatin1String("htm"))
        return Output::Html;
    if (ext == QLatin1String("txt"))
        return Output::TextFile;
    if (ext == QLatin1String("xlsx"))
        return Output::Sheet;
    *error = QStringLiteral("A extensão de %1 não diz o formato: use .pdf, .html, .txt ou .xlsx.")
                 .arg(file);
    return Output::Page;
}

// The document asked by its name ("ordem", "recibo").
const ReportDefinition* documentNamed(const QString& name) {
    for (const ReportDefinition& e : ReportCatalog::entries()) {
        if (e.kind == ReportKind::Document && e.command == name)
            return &e;
    }
    return nullptr;
}

// The arguments that cannot be right whatever the store holds.
QString check(const Arguments& a, const ReportDefinition** report) {
    if (a.report.isEmpty() == a.document.isEmpty())
        return QStringLiteral("Diga --relatorio ID ou --documento ordem|recibo NUMERO.");
    if (!a.report.isEmpty()) {
        *report = ReportCatalog::byCommand(a.report);
        if (!*report || (*report)->kind == ReportKind::Document)
            return QStringLiteral("Relatório desconhecido: %1 (veja --help).").arg(a.report);
    } else {
        *report = documentNamed(a.document);
        if (!*report)
            return QStringLiteral("Documento desconhecido: %1 (ordem ou recibo).").arg(a.document);
    }
    if (!a.document.isEmpty() && a.number.isEmpty())
        return QStringLiteral("Falta o número do documento.");
    if (a.output.isEmpty() == a.printer.isEmpty())
        return QStringLiteral("Diga --saida ARQUIVO ou --impressora NOME (um dos dois).");
    if (!a.client.isEmpty() && !a.courier.isEmpty())
        return QStringLiteral("Diga --cliente ou --motoboy, não os dois.");
    for (const QString& date : {a.from, a.to}) {
        if (date.isEmpty())
            continue;
        try {
            parseDate(date);
        } catch (const ConversionError&) {
            return QStringLiteral("Data inválida: %1 (use dd/mm/aaaa).").arg(date);
        }
    }
    if (a.from.isEmpty() != a.to.isEmpty())
        return QStringLiteral("Diga as duas datas, --de e --ate.");
    QString error;
    if (!a.output.isEmpty())
        outputOf(a.output, &error);
    return error;
}

// Accents and case aside: "Nº Ordem de Serviço" is "nº ordem de servico".
QString plain(const QString& text) {
    QString out;
    for (const QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing)
            out += c.toLower();
    }
    return out.simplified();
}

// The "Ordenar por" item asked by its text or its number (1, 2, ...).
bool chooseOrder(const QStringList& items, const QString& asked, int* order, QString* error) {
    if (asked.isEmpty() || items.isEmpty())
        return true;
    bool isNumber = false;
    const int n = asked.toInt(&isNumber);
    for (int i = 0; i < items.size(); ++i) {
        if ((isNumber && n == i + 1) || plain(items[i]) == plain(asked)) {
            *order = i;
            return true;
        }
    }
    QStringList listed;
    for (int i = 0; i < items.size(); ++i)
        listed.append(QStringLiteral("%1 \"%2\"").arg(i + 1).arg(items[i]));
    *error = QStringLiteral("Ordem desconhecida: %1. As opções são: %2.")
                 .arg(asked, listed.join(QStringLiteral(", ")));
    return false;
}

// The words an option takes, as the report's parameters list them
// ("--pagamento avista|outros|total").
QStringList choicesOf(const ReportDefinition& report, const QString& option) {
    const int at = int(report.parameters.indexOf(option + QLatin1Char(' ')));
    if (at < 0)
        return {};
    const QString words =
        report.parameters.mid(at + option.size() + 1).section(QLatin1Char(' '), 0, 0);
    return words.split(QLatin1Char('|'));
}

// "a, b ou c".
QString either(const QStringList& words) {
    return words.size() < 2 ? words.join(QString())
                            : words.mid(0, words.size() - 1).join(QStringLiteral(", ")) +
                                  QStringLiteral(" ou ") + words.last();
}

// The criteria the arguments ask, as the report's screen would take them
// (without --de and --ate, today); an error text for a wrong one.
QString criteriaOf(const Arguments& a, const ReportDefinition& report, Criteria* c) {
    if (report.kind == ReportKind::Document) {
        c->number = a.number;
        c->twoCopies = a.copies == 2;
        return QString();
    }
    if (report.kind == ReportKind::Listing) {
        c->selection = !a.from.isEmpty()                                ? Selection::Period
                       : (!a.codeFrom.isEmpty() || !a.codeTo.isEmpty()) ? Selection::Codes
                                                                        : Selection::Complete;
        if (c->selection == Selection::Period) {
            c->from = parseDate(a.from);
            c->to = parseDate(a.to);
        }
        c->codeFrom = a.codeFrom;
        c->codeTo = a.codeTo;
    } else {
        c->from = a.from.isEmpty() ? Clock::today() : parseDate(a.from);
        c->to = a.to.isEmpty() ? Clock::today() : parseDate(a.to);
        c->client = a.client;
        c->courier = a.courier;
    }
    QString error;
    const QStringList payments = choicesOf(report, QStringLiteral("--pagamento"));
    if (!a.payment.isEmpty() && !payments.isEmpty()) {
        const QString p = plain(a.payment).remove(QLatin1Char(' ')).remove(QLatin1Char('-'));
        const int i = int(payments.indexOf(p));
        if (i < 0)
            return QStringLiteral("Forma de pagamento desconhecida: %1 (%2).")
                .arg(a.payment, either(payments));
        const Payment forms[] = {Payment::AVista, Payment::Outros, Payment::Total};
        c->payment = forms[qMin(i, 2)];
    }
    const QStringList groups = choicesOf(report, QStringLiteral("--agrupar"));
    if (!a.groupBy.isEmpty() && !groups.isEmpty()) {
        const int i = int(groups.indexOf(plain(a.groupBy)));
        if (i < 0)
            return QStringLiteral("--agrupar é %1, não %2.").arg(either(groups), a.groupBy);
        c->groupBy = i == 0 ? GroupBy::Clients : GroupBy::Couriers;
    }
    if (!chooseOrder(report.orders, a.order, &c->order, &error))
        return error;
    return QString();
}

// Every message a screen said, on stderr as the operator would read it.
void sayMessages(QTextStream& err) {
    for (const MessageBox::Shown& m : MessageBox::shownMessages())
        err << m.text << '\n';
    MessageBox::clearShownMessages();
    err.flush();
}

int run(const Arguments& a, const ReportDefinition& report, QTextStream& err) {
    // A report reads what an office recorded: a run where there is no
    // database yet says so, and never creates a data folder or an empty one.
    if (DataFolder::serverDatabase().isEmpty() &&
        !QFileInfo::exists(DataFolder::mainDatabaseFile())) {
        err << QStringLiteral(
                   "Não há banco de dados em %1: a pasta de dados do alias "
                   "Quelvarino ainda não foi usada neste computador (registre-a com "
                   "o Ostrima ou abra o programa uma vez).")
                   .arg(QDir::toNativeSeparators(DataFolder::path()))
            << '\n';
        return kRefused;
    }
    // The criteria are read before the store is opened: a wrong one is
    // said at once.
    PrintRequest request;
    const QString error = criteriaOf(a, report, &request.criteria);
    if (!error.isEmpty()) {
        err << error << '\n';
        return kWrongArguments;
    }
    if (!prepareDataFolderAtStart(nullptr))
        return kRefused;
    new TDataModule1(qApp);
    // The same checks as the screens, with the same words.
    const Refusal refusal = report.check(request.criteria);
    sayMessages(err);
    if (refusal.refused()) {
        err << refusal.text << '\n';
        return kRefused;
    }
    if (a.printer.isEmpty()) {
        QString unused;
        request.output = outputOf(a.output, &unused);
        if (!report.outputs.contains(request.output)) {
            err << QStringLiteral("O relatório %1 não sai em %2.")
                       .arg(report.id, QFileInfo(a.output).suffix())
                << '\n';
            return kWrongArguments;
        }
        ReportCatalog::writeFile(report, request, QFileInfo(a.output).absoluteFilePath());
    } else if (a.printer.compare(QLatin1String("LPT1"), Qt::CaseInsensitive) == 0) {
        request.output = Output::DotMatrix;
        ReportCatalog::writeFile(report, request, QString());
    } else {
        request.output = Output::Page;
        ReportCatalog::printOn(report, request, a.printer);
    }
    sayMessages(err);
    return kDone;
}

}  // namespace

bool isReportCommand(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--relatorio" || arg == "--documento")
            return true;
    }
    return false;
}

int runReportCommand(int argc, char* argv[]) {
    // No window is ever shown: the program runs offscreen, also from cron.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // cron mails whatever a run prints: only the program's own messages go
    // out, never Qt's notes to developers ("XDG_RUNTIME_DIR not set", ...).
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg)
            QTextStream(stderr) << text << '\n';
    });
    Application app(argc, argv);
    MessageBox::setTestMode(true);  // messages are collected and written to stderr
    QTextStream err(stderr);
    Arguments a;
    QString error = parse(app.arguments(), &a);
    if (a.help) {
        QTextStream(stdout) << helpText();
        return kDone;
    }
    const ReportDefinition* report = nullptr;
    if (error.isEmpty())
        error = check(a, &report);
    if (!error.isEmpty()) {
        err << error << "\nVeja QuelvarinoBasic --help.\n";
        return kWrongArguments;
    }
    // The report work tables of this run alone: two runs at once, or a run
    // beside an operator printing the same report, never mix their rows.
    QTemporaryDir work;
    if (!work.isValid()) {
        err << "Não foi possível criar a pasta temporária das tabelas de trabalho: "
            << work.errorString() << '\n';
        return kRefused;
    }
    DataFolder::setPrivateWorkTables(work.path());
    int code = kRefused;
    try {
        code = run(a, *report, err);
    } catch (const Error& e) {
        sayMessages(err);
        err << e.text() << '\n';
        code = kRefused;
    }
    stopProgram();
    return code;
}

}  // namespace quelvarino
