#pragma once

#include "reports/reportdata.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

class QPrinter;
class QWidget;

namespace quelvarino {

class Query;

// The ways a report comes out. The print dialogs map their items to these
// in one place (ReportCatalog::outputOfItem); no writer knows items.
enum class Output { Page, DotMatrix, Html, TextFile, Sheet };

// What the dialog collected for one print.
struct PrintRequest {
    Output output = Output::Page;
    QString path;              // Edcam: the file's path without extension
    bool twoCopies = false;    // "2 Vias ou Formulario Comum"
    Query* listing = nullptr;  // the rows a listing dialog prepared
    QWidget* parent = nullptr;
};

// One report id: where it is asked for, what it offers, and how each of
// its outputs is made from the data collected once.
struct ReportEntry {
    QString id;             // "21_0"
    QString dialog;         // "Quelvarino0021_5"
    QString requester;      // "Quelvarino0021_0"
    QList<Output> outputs;  // in the order of the dialog's items
    QString pathStem;       // default file name in <data folder>/Relatorios
    bool copies = false;    // the documents' "1 Via" / "2 Vias" boxes
    QString pageTitle;      // the page report's title (preview window, PDF name)

    // How each output is made; html is empty where the outputs have no HTML.
    std::function<ReportData(const PrintRequest&)> collect;
    std::function<QByteArray(const ReportData&)> text;
    std::function<void(QPrinter*, const ReportData&)> pageSetUp;
    std::function<void(const ReportData&, QPrinter*)> page;
    std::function<QByteArray(const ReportData&)> html;
    std::function<void(const ReportData&, const QString& path)> sheet;  // the ".xlsx"
};

class ReportCatalog {
public:
    static const QList<ReportEntry>& entries();
    static const ReportEntry* find(const QString& id);

    // The dialog's items, in order, and their captions.
    static Output outputOfItem(const ReportEntry& entry, int item);  // item must exist
    static int itemOf(const ReportEntry& entry, Output output);      // -1 when not offered
    static QString itemCaption(const ReportEntry& entry, Output output);
    // Whether the path field opens for this output (file outputs; the
    // courier closing's HTML keeps its default path).
    static bool pathEditable(const ReportEntry& entry, Output output);
    // Whether the dialog closes and shows the requesting screen after a
    // print in this output; the cash closing by period also resets itself.
    static bool closesAfter(const ReportEntry& entry, Output output);
    static bool resetsAfterEveryPrint(const ReportEntry& entry);

    // Collects the report's data once and produces the chosen output: the
    // preview, the LPT1 queue, the ".txt", ".html" or ".xlsx" file (written
    // under a temporary name and renamed, so no half file is ever left).
    // Throws with a message the operator can act on.
    static void print(const ReportEntry& entry, const PrintRequest& request);
    // Without a window or a message (the command line): the report into
    // `file` in the request's output (the page report as PDF), or the page
    // report on the printer `printer` of the system, or (DotMatrix) the
    // bytes to the LPT1 queue. Throws as print does.
    static void writeFile(const ReportEntry& entry,
                          const PrintRequest& request,
                          const QString& file);
    static void printOn(const ReportEntry& entry,
                        const PrintRequest& request,
                        const QString& printer);
    // The dot-matrix bytes the request would print.
    static QByteArray textBytes(const ReportEntry& entry, const PrintRequest& request);
    // The file a path stands for: relative paths are in the reports folder.
    static QString filePath(const QString& path, const QString& extension);
};

}  // namespace quelvarino
