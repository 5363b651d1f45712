#pragma once

#include "reports/criteria.h"
#include "reports/reportdata.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

class QPrinter;
class QWidget;

namespace quelvarino {

struct HtmlLayout;
struct PageLayout;
struct TextLayout;

// The ways a report comes out. The print dialogs map their items to these
// in one place (ReportCatalog::outputOfItem); no writer knows items.
enum class Output { Page, DotMatrix, Html, TextFile, Sheet };

// What the dialog collected for one print.
struct PrintRequest {
    Output output = Output::Page;
    QString path;  // Edcam: the file's path without extension
    Criteria criteria;
    QWidget* parent = nullptr;
};

// Where a report is asked for on screen and in the menu.
enum class ReportKind {
    Listing,   // a register's listing: its dialog chooses the records
    Document,  // the service order or the receipt on its screen
    Menu,      // a screen of the "Relatórios" menu
};

struct MenuEntry {
    QString text;   // "Fechamento do Caixa por Período"
    QString name;   // the action's component name
    QString hint;   // the status-bar hint
    QString focus;  // the control focused when the screen opens
};

// One report id, described once: where it is asked for, what it takes,
// what it offers, how its data is collected and how each output is made
// from the data collected once.
struct ReportDefinition {
    QString id;  // as the old program named it: family, number, "_0"
    ReportKind kind = ReportKind::Menu;
    QString requester;              // instance of the screen that asks for it
    QString caption;                // the requesting screen's caption (menu reports)
    MenuEntry menu;                 // menu reports
    QString dialog;                 // instance of its "Tipos de Impressão"
    QString fileStem;               // default file name in <data folder>/Relatorios
                                    // (documents: followed by their number)
    QString command;                // the command line's name ("fechamento-caixa", "ordem")
    QString parameters;             // what the command line takes, for --help
    QList<Output> outputs;          // in the order of the dialog's items
    bool copies = false;            // the documents' "1 Via" / "2 Vias" boxes
    QString pageTitle;              // the page report's title (preview window, PDF name)
    QStringList orders;             // the "Ordenar por" items
    bool htmlPathFixed = false;     // its HTML goes to the default path
    bool closesAfterFiles = false;  // the dialog closes after a file or LPT1 too
    bool resetsAfterEveryPrint = false;

    // What is checked before the print dialog shows (and before the
    // command line writes): the criteria and, in the store, that there is
    // something to print. The first refusal, in the screens' order.
    std::function<Refusal(const Criteria&)> check;
    // The data of one print: opens, reads and closes its own queries.
    std::function<ReportData(const Criteria&)> collect;
    // The names its data provides: row fields and totals (without "=").
    QStringList fields, totals;

    // How each output is made; html is empty where the outputs have no HTML.
    std::function<QByteArray(const ReportData&)> text;
    std::function<void(QPrinter*, const ReportData&)> pageSetUp;
    std::function<void(const ReportData&, QPrinter*)> page;
    std::function<QByteArray(const ReportData&)> html;
    std::function<void(const ReportData&, const QString& path)> sheet;  // the ".xlsx"
    // The layouts its outputs are written from, for the check that they
    // name only what the data provides.
    QList<const TextLayout*> textLayouts;
    QList<const PageLayout*> pageLayouts;
    QList<const HtmlLayout*> htmlLayouts;

    QString defaultPath(const Criteria& criteria) const;
    // The names its layouts read that its data does not provide ("=X" a
    // total, "X" a field); empty when the contract holds.
    QStringList unprovidedNames() const;
};

class ReportCatalog {
public:
    static const QList<ReportDefinition>& entries();
    static const ReportDefinition* find(const QString& id);
    // By the screen that asks for it, its dialog, or its command-line name
    // (its name, or its id with or without the leading zeros).
    static const ReportDefinition* byRequester(const QString& instance);
    static const ReportDefinition* byDialog(const QString& instance);
    static const ReportDefinition* byCommand(const QString& name);

    // The dialog's items, in order, and their captions.
    static Output outputOfItem(const ReportDefinition& entry, int item);  // item must exist
    static int itemOf(const ReportDefinition& entry, Output output);      // -1 when not offered
    static QString itemCaption(const ReportDefinition& entry, Output output);
    // Whether the path field opens for this output (file outputs; the
    // courier closing's HTML keeps its default path).
    static bool pathEditable(const ReportDefinition& entry, Output output);
    // Whether the dialog closes and shows the requesting screen after a
    // print in this output; the cash closing by period also resets itself.
    static bool closesAfter(const ReportDefinition& entry, Output output);
    static bool resetsAfterEveryPrint(const ReportDefinition& entry);

    // Collects the report's data once and produces the chosen output: the
    // preview, the LPT1 queue, the ".txt", ".html" or ".xlsx" file (written
    // under a temporary name and renamed, so no half file is ever left).
    // Throws with a message the operator can act on.
    static void print(const ReportDefinition& entry, const PrintRequest& request);
    // Without a window or a message (the command line): the report into
    // `file` in the request's output (the page report as PDF), or the page
    // report on the printer `printer` of the system, or (DotMatrix) the
    // bytes to the LPT1 queue. Throws as print does.
    static void writeFile(const ReportDefinition& entry,
                          const PrintRequest& request,
                          const QString& file);
    static void printOn(const ReportDefinition& entry,
                        const PrintRequest& request,
                        const QString& printer);
    // The dot-matrix bytes the request would print.
    static QByteArray textBytes(const ReportDefinition& entry, const PrintRequest& request);
    // The file a path stands for: relative paths are in the reports folder.
    static QString filePath(const QString& path, const QString& extension);
};

}  // namespace quelvarino
