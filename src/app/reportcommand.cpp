#include "app/reportcommand.h"

#include "app/program.h"
#include "app/screenlist.h"
#include "app/startfolder.h"
#include "core/clock.h"
#include "core/dates.h"
#include "core/errors.h"
#include "data/datafolder.h"
#include "data/datamodule.h"
#include "data/table.h"
#include "orders/serviceorder.h"
#include "registers/receipts.h"
#include "reports/cashclosing.h"
#include "reports/courierreports.h"
#include "reports/printdialog.h"
#include "reports/reportcatalog.h"
#include "widgets/application.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/screen.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextStream>

namespace quelvarino {
namespace {

constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kWrongArguments = 2;

// A report id, the readable name it is also asked by, and what it takes.
struct Command {
    const char* id;
    const char* name;
    const char* parameters;
};

const QList<Command>& commands() {
    static const QList<Command> all = {
        {"11_0", "clientes", "[--de D --ate D | --codigo-de C --codigo-ate C] [--ordem O]"},
        {"12_0", "motoboys", "[--de D --ate D | --codigo-de C --codigo-ate C] [--ordem O]"},
        {"13_0", "despesas", "[--de D --ate D | --codigo-de C --codigo-ate C] [--ordem O]"},
        {"41_0", "fechamento-caixa", "[--de D --ate D] --pagamento avista|outros [--ordem O]"},
        {"42_0", "fechamento-cliente",
         "[--de D --ate D] --cliente C --pagamento avista|outros [--ordem O]"},
        {"43_0", "fechamento-motoboy", "[--de D --ate D] --motoboy C"},
        {"44_0", "despesas-motoboy", "[--de D --ate D] --motoboy C"},
        {"45_0", "horas-motoboy", "[--de D --ate D] --motoboy C [--ordem O]"},
        {"46_0", "ordens-servico", "[--de D --ate D]"},
        {"47_0", "pagamento-autonomo", "[--de D --ate D] --motoboy C [--ordem O]"},
        {"48_0", "totalizador",
         "[--de D --ate D] --agrupar cliente|motoboy --pagamento avista|outros|total "
         "[--ordem O]"},
    };
    return all;
}

// What the command line asked.
struct Arguments {
    QString report, document, number;
    QString from, to, client, courier, payment, groupBy, order, codeFrom, codeTo;
    QString output, printer;
    int copies = 1;
    bool help = false;
};

// The id of the catalog for "0041_0", "41_0" or "fechamento-caixa".
QString catalogId(const QString& asked) {
    QString id = asked.trimmed().toLower();
    for (const Command& c : commands()) {
        if (id == QLatin1String(c.name))
            return QString::fromLatin1(c.id);
    }
    while (id.startsWith(QLatin1Char('0')))
        id.remove(0, 1);
    for (const Command& c : commands()) {
        if (id == QLatin1String(c.id))
            return id;
    }
    return QString();
}

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
    for (const Command& c : commands()) {
        const ReportEntry* e = ReportCatalog::find(QString::fromLatin1(c.id));
        const bool html = e && e->outputs.contains(Output::Html);
        t += QStringLiteral("  00%1  %2\n        %3\n        saídas: .pdf%4 .txt .xlsx, LPT1\n")
                 .arg(QString::fromLatin1(c.id), QString::fromLatin1(c.name),
                      QString::fromLatin1(c.parameters),
                      html ? QStringLiteral(" .html") : QString());
    }
    t += QStringLiteral(
        "  --documento ordem NUMERO   a ordem de serviço (ID 0021_0); saídas: .pdf .html .txt "
        ".xlsx, LPT1\n"
        "  --documento recibo NUMERO  o recibo (ID 0022_0); saídas: .pdf .html .txt .xlsx, "
        "LPT1\n\n"
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

// The arguments that cannot be right whatever the store holds.
QString check(const Arguments& a, QString* id) {
    if (a.report.isEmpty() == a.document.isEmpty())
        return QStringLiteral("Diga --relatorio ID ou --documento ordem|recibo NUMERO.");
    if (!a.report.isEmpty()) {
        *id = catalogId(a.report);
        if (id->isEmpty())
            return QStringLiteral("Relatório desconhecido: %1 (veja --help).").arg(a.report);
    } else if (a.document == QLatin1String("ordem")) {
        *id = QStringLiteral("21_0");
    } else if (a.document == QLatin1String("recibo")) {
        *id = QStringLiteral("22_0");
    } else {
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

bool chooseOrder(QComboBox* combo, const QString& asked, QString* error) {
    if (asked.isEmpty() || !combo)
        return true;
    bool isNumber = false;
    const int n = asked.toInt(&isNumber);
    for (int i = 0; i < combo->count(); ++i) {
        if ((isNumber && n == i + 1) || plain(combo->itemText(i)) == plain(asked)) {
            combo->setCurrentIndex(i);
            return true;
        }
    }
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(QStringLiteral("%1 \"%2\"").arg(i + 1).arg(combo->itemText(i)));
    *error = QStringLiteral("Ordem desconhecida: %1. As opções são: %2.")
                 .arg(asked, items.join(QStringLiteral(", ")));
    return false;
}

// The payment radios of a closing: "avista" or "outros".
bool choosePayment(QRadioButton* avista,
                   QRadioButton* outros,
                   const QString& asked,
                   QString* error) {
    if (asked.isEmpty())
        return true;  // the screen's own refusal says it is missing
    const QString p = plain(asked).remove(QLatin1Char(' ')).remove(QLatin1Char('-'));
    if (p == QLatin1String("avista"))
        avista->setChecked(true);
    else if (p == QLatin1String("outros"))
        outros->setChecked(true);
    else {
        *error =
            QStringLiteral("Forma de pagamento desconhecida: %1 (avista ou outros).").arg(asked);
        return false;
    }
    return true;
}

// Fills the criteria of a report screen as an operator would and lets the
// screen check them and select the rows. An empty error and false: the
// screen refused (its message was said).
bool prepareScreen(ReportScreen* screen, const Arguments& a, QString* error) {
    const QString today = formatDate(Clock::today());
    screen->Eddata1->setText(a.from.isEmpty() ? today : a.from);
    screen->Eddata2->setText(a.to.isEmpty() ? today : a.to);
    auto lookUp = [](QLineEdit* code, QLineEdit* name, const QString& asked,
                     const std::function<void()>& exit) {
        code->setText(asked);
        if (asked.isEmpty())
            return true;  // the screen says it is missing
        exit();
        return !name->text().isEmpty();
    };
    if (auto* s = qobject_cast<TQuelvarino0041_0*>(screen)) {
        if (!choosePayment(s->Rbavista, s->Rboutros, a.payment, error) ||
            !chooseOrder(s->Ed_Ord, a.order, error))
            return false;
    } else if (auto* s = qobject_cast<TQuelvarino0042_0*>(screen)) {
        if (!choosePayment(s->Rbavista, s->Rboutros, a.payment, error) ||
            !chooseOrder(s->Ed_Ord, a.order, error))
            return false;
        if (!lookUp(s->Edcodcli, s->Edcliente, a.client, [s] { s->EdcodcliExit(); }))
            return false;
    } else if (auto* s = qobject_cast<TQuelvarino0048_0*>(screen)) {
        const QString g = plain(a.groupBy);
        if (g == QLatin1String("cliente"))
            s->Rbcli->setChecked(true);
        else if (g == QLatin1String("motoboy"))
            s->Rbmot->setChecked(true);
        else if (!g.isEmpty()) {
            *error = QStringLiteral("--agrupar é cliente ou motoboy, não %1.").arg(a.groupBy);
            return false;
        }
        const QString p = plain(a.payment).remove(QLatin1Char(' ')).remove(QLatin1Char('-'));
        const QStringList forms = {QStringLiteral("avista"), QStringLiteral("outros"),
                                   QStringLiteral("total")};
        if (!p.isEmpty() && !forms.contains(p)) {
            *error =
                QStringLiteral("Forma de pagamento desconhecida: %1 (avista, outros ou total).")
                    .arg(a.payment);
            return false;
        }
        if (QAbstractButton* b = s->Edforma->button(int(forms.indexOf(p))))
            b->setChecked(true);
        if (!chooseOrder(s->Ed_Ord, a.order, error))
            return false;
    } else if (auto* s = qobject_cast<CourierReportScreen*>(screen)) {
        QComboBox* order = s->findChild<QComboBox*>(QStringLiteral("Ed_Ord"));
        if (!chooseOrder(order, a.order, error))
            return false;
        if (!lookUp(s->Edcodmot, s->Edmotoboy, a.courier, [s] { s->EdcodmotExit(); }))
            return false;
    }
    return screen->prepare();
}

// The listings choose their rows in their print dialog.
bool prepareListing(PrintDialog* dialog, const Arguments& a, QString* error) {
    const int mode = !a.from.isEmpty() ? 1 : (!a.codeFrom.isEmpty() || !a.codeTo.isEmpty()) ? 2 : 0;
    const QList<QRadioButton*> modes = {dialog->Ed1, dialog->Ed2, dialog->Ed3};
    modes[mode]->setChecked(true);
    dialog->selectionClick(mode);
    dialog->Eddata1->setText(a.from);
    dialog->Eddata2->setText(a.to);
    dialog->Edcod1->setText(a.codeFrom);
    dialog->Edcod2->setText(a.codeTo);
    if (!chooseOrder(dialog->Ed_Ord, a.order, error))
        return false;
    return dialog->prepareListing();
}

// The document on its screen, as the operator finds it through its search.
bool loadDocument(const QString& id, const QString& number) {
    const bool order = id == QLatin1String("21_0");
    Table table(order ? QStringLiteral("tbordem") : QStringLiteral("tbrecibo"));
    const QString field = order ? QStringLiteral("COMANDA") : QStringLiteral("RECIBO");
    // Numbers are kept in ten digits; "123" finds 0000000123.
    if (!table.findExact(field, number) &&
        !table.findExact(field, number.rightJustified(10, QLatin1Char('0')))) {
        MessageBox::warning(order ? QStringLiteral("Ordem de serviço inexistente.")
                                  : QStringLiteral("Recibo inexistente."));
        return false;
    }
    if (order)
        TQuelvarino0021_0::instance()->loadOrder(table);
    else
        TQuelvarino0022_0::instance()->loadFields(table);
    return true;
}

// Every message a screen said, on stderr as the operator would read it.
void sayMessages(QTextStream& err) {
    for (const MessageBox::Shown& m : MessageBox::shownMessages())
        err << m.text << '\n';
    MessageBox::clearShownMessages();
    err.flush();
}

int run(const Arguments& a, const QString& id, QTextStream& err) {
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
    if (!prepareDataFolderAtStart(nullptr))
        return kRefused;
    new TDataModule1(qApp);
    createScreens();
    const ReportEntry* entry = ReportCatalog::find(id);
    PrintRequest request;
    request.twoCopies = a.copies == 2;
    QString error;
    bool prepared = false;
    if (!a.document.isEmpty()) {
        prepared = loadDocument(id, a.number);
    } else if (auto* dialog = qobject_cast<PrintDialog*>(Screens::find(entry->dialog));
               dialog && dialog->config().listing != PrintDialog::Listing::None) {
        prepared = prepareListing(dialog, a, &error);
        request.listing = dialog->Query1();
    } else if (auto* screen = qobject_cast<ReportScreen*>(Screens::find(entry->requester))) {
        prepared = prepareScreen(screen, a, &error);
    }
    sayMessages(err);
    if (!error.isEmpty()) {
        err << error << '\n';
        return kWrongArguments;
    }
    if (!prepared)
        return kRefused;
    if (a.printer.isEmpty()) {
        request.output = outputOf(a.output, &error);
        if (!entry->outputs.contains(request.output)) {
            err << QStringLiteral("O relatório %1 não sai em %2.")
                       .arg(id, QFileInfo(a.output).suffix())
                << '\n';
            return kWrongArguments;
        }
        ReportCatalog::writeFile(*entry, request, QFileInfo(a.output).absoluteFilePath());
    } else if (a.printer.compare(QLatin1String("LPT1"), Qt::CaseInsensitive) == 0) {
        request.output = Output::DotMatrix;
        ReportCatalog::writeFile(*entry, request, QString());
    } else {
        request.output = Output::Page;
        ReportCatalog::printOn(*entry, request, a.printer);
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
    QString id;
    if (error.isEmpty())
        error = check(a, &id);
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
        code = run(a, id, err);
    } catch (const Error& e) {
        sayMessages(err);
        err << e.text() << '\n';
        code = kRefused;
    }
    stopProgram();
    return code;
}

}  // namespace quelvarino
