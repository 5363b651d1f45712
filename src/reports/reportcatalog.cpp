#include "reports/reportcatalog.h"

#include "core/errors.h"
#include "data/datafolder.h"
#include "data/durablefiles.h"
#include "reports/escpwriter.h"
#include "reports/htmlwriter.h"
#include "reports/pagewriter.h"
#include "reports/rawprinter.h"
#include "reports/reportdefinitions.h"
#include "reports/textlayouts.h"
#include "reports/xlsxwriter.h"
#include "widgets/messagebox.h"
#include "widgets/testseams.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QSaveFile>

namespace quelvarino {
namespace {

// The spreadsheet comes after the outputs the dialogs always had, so their
// items keep their numbers.
const QList<Output> kListing = {Output::Page, Output::DotMatrix, Output::TextFile, Output::Sheet};
const QList<Output> kAll = {Output::Page, Output::DotMatrix, Output::Html, Output::TextFile,
                            Output::Sheet};

// Where a report id is asked for and what its dialog offers.
ReportEntry entry(const QString& id,
                  const QString& dialog,
                  const QString& requester,
                  const QList<Output>& outputs,
                  const QString& stem) {
    ReportEntry e;
    e.id = id;
    e.dialog = dialog;
    e.requester = requester;
    e.outputs = outputs;
    e.pathStem = stem;
    return e;
}

ReportEntry listing(const char* id,
                    const char* dialog,
                    const char* requester,
                    const char* stem,
                    const PageLayout& (*page)(),
                    const TextLayout& (*text)()) {
    ReportEntry e = entry(QString::fromLatin1(id), QString::fromLatin1(dialog),
                          QString::fromLatin1(requester), kListing, QString::fromLatin1(stem));
    e.pageTitle = page().title;
    const QString reportId = e.id;
    e.collect = [reportId](const PrintRequest& r) { return collectListing(reportId, r); };
    e.text = [text](const ReportData& d) { return EscPWriter::render(d, text()); };
    e.pageSetUp = [page](QPrinter* p, const ReportData&) { PageWriter::setUp(p, page()); };
    e.page = [page](const ReportData& d, QPrinter* p) { PageWriter::render(d, page(), p); };
    e.sheet = [page](const ReportData& d, const QString& path) {
        XlsxWriter::render(d, page(), path);
    };
    return e;
}

// The service order or the receipt: four outputs, one or two copies.
ReportEntry document(const char* id,
                     const char* dialog,
                     const char* requester,
                     const char* stem,
                     const char* title,
                     ReportData (*collect)(const PrintRequest&),
                     QByteArray (*text)(const ReportData&),
                     void (*setUp)(QPrinter*, bool),
                     void (*page)(const ReportData&, QPrinter*),
                     QByteArray (*html)(const ReportData&),
                     void (*sheet)(const ReportData&, const QString&)) {
    ReportEntry e = entry(QString::fromLatin1(id), QString::fromLatin1(dialog),
                          QString::fromLatin1(requester), kAll, QString::fromLatin1(stem));
    e.copies = true;
    e.pageTitle = QString::fromUtf8(title);
    e.collect = collect;
    e.text = text;
    e.pageSetUp = [setUp](QPrinter* p, const ReportData& d) { setUp(p, d.twoCopies); };
    e.page = page;
    e.html = html;
    e.sheet = sheet;
    return e;
}

// A report of the "Relatórios" menu: four outputs.
ReportEntry report(int n, const char* title) {
    ReportEntry e =
        entry(QStringLiteral("4%1_0").arg(n), QStringLiteral("Quelvarino004%1_1").arg(n),
              QStringLiteral("Quelvarino004%1_0").arg(n), kAll, QStringLiteral("Rel0%1").arg(n));
    e.pageTitle = QString::fromUtf8(title);
    return e;
}

// A menu report whose three layouts describe it whole.
ReportEntry closing(int n,
                    const char* title,
                    ReportData (*collect)(const PrintRequest&),
                    const TextLayout& (*text)(),
                    const PageLayout& (*page)(),
                    const HtmlLayout& (*html)()) {
    ReportEntry e = report(n, title);
    e.collect = collect;
    e.text = [text](const ReportData& d) { return EscPWriter::render(d, text()); };
    e.pageSetUp = [page](QPrinter* p, const ReportData&) { PageWriter::setUp(p, page()); };
    e.page = [page](const ReportData& d, QPrinter* p) { PageWriter::render(d, page(), p); };
    e.html = [html](const ReportData& d) { return HtmlWriter::render(d, html()); };
    e.sheet = [page](const ReportData& d, const QString& path) {
        XlsxWriter::render(d, page(), path);
    };
    return e;
}

ReportEntry totalizerEntry() {
    ReportEntry totalizer = report(8, "Relatório Totalizador de Serviços");
    totalizer.collect = collectTotalizer;
    totalizer.text = totalizerText;
    const auto byCourier = [](const ReportData& d) {
        return d.totals.value(QStringLiteral("KIND")) == QLatin1String("Motoboy");
    };
    totalizer.pageSetUp = [byCourier](QPrinter* p, const ReportData& d) {
        PageWriter::setUp(p, totalizerPage(byCourier(d)));
    };
    totalizer.page = [byCourier](const ReportData& d, QPrinter* p) {
        PageWriter::render(d, totalizerPage(byCourier(d)), p);
    };
    totalizer.html = totalizerHtml;
    totalizer.sheet = [byCourier](const ReportData& d, const QString& path) {
        XlsxWriter::render(d, totalizerPage(byCourier(d)), path);
    };
    return totalizer;
}

QList<ReportEntry> build() {
    QList<ReportEntry> all = {
        listing("11_0", "Quelvarino0011_2", "Quelvarino0011_0", "cadcli", clientListingPage,
                clientListingLayout),
        listing("12_0", "Quelvarino0012_2", "Quelvarino0012_0", "cadmot", courierListingPage,
                courierListingLayout),
        listing("13_0", "Quelvarino0013_2", "Quelvarino0013_0", "caddesp", expenseTypeListingPage,
                expenseTypeListingLayout),
    };
    all.append(document(
        "21_0", "Quelvarino0021_5", "Quelvarino0021_0", "OS", "Ordem de Serviço",
        collectServiceOrder,
        [](const ReportData& d) { return serviceOrderText(d.company, d.order, d.twoCopies); },
        PageWriter::setUpServiceOrder, PageWriter::renderServiceOrder,
        HtmlWriter::renderServiceOrder, XlsxWriter::renderServiceOrder));
    all.append(document(
        "22_0", "Quelvarino0022_4", "Quelvarino0022_0", "Recibo", "Recibo", collectReceipt,
        [](const ReportData& d) { return receiptText(d.company, d.receipt, d.twoCopies); },
        PageWriter::setUpReceipt, PageWriter::renderReceipt, HtmlWriter::renderReceipt,
        XlsxWriter::renderReceipt));

    all.append(closing(1, "FECHAMENTO DO CAIXA POR PERÍODO", collectCashByPeriod, cashByPeriodText,
                       cashByPeriodPage, cashByPeriodHtml));
    all.append(closing(2, "FECHAMENTO DO CAIXA POR CLIENTE", collectCashByClient, cashByClientText,
                       cashByClientPage, cashByClientHtml));
    all.append(closing(3, "FECHAMENTO DO MOTOBOY", collectCourierClosing, courierClosingText,
                       courierClosingPage, courierClosingHtml));
    all.append(closing(4, "DESPESAS DO MOTOBOY", collectCourierExpenses, courierExpensesText,
                       courierExpensesPage, courierExpensesHtml));
    all.append(closing(5, "LISTAGEM DAS HORAS DO MOTORISTA", collectCourierHours, courierHoursText,
                       courierHoursPage, courierHoursHtml));
    all.append(closing(6, "LISTAGEM DAS ORDENS DE SERVIÇOS", collectOrderListing, orderListingText,
                       orderListingPage, orderListingHtml));
    all.append(closing(7, "PAGAMENTO DO MOTOBOY AUTÔNOMO", collectSalariedPayment,
                       salariedPaymentText, salariedPaymentPage, salariedPaymentHtml));
    all.append(totalizerEntry());
    return all;
}

bool isDocument(const ReportEntry& e) {
    return e.id == QLatin1String("21_0") || e.id == QLatin1String("22_0");
}

bool isMenuReport(const ReportEntry& e) {
    return e.id.startsWith(QLatin1Char('4'));
}

void saveFile(const QString& path, const QByteArray& bytes) {
    // Written beside the final name and renamed when complete: a full disk
    // or a broken write never leaves half a report under that name.
    // commit() syncs it before the rename; the folder's sync puts the
    // rename on the disk before success is said.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        refuseFileWrite(path, reason);
    }
    syncFolder(QFileInfo(path).absolutePath());
}

// Success is said only of a file that is in place, whole.
void fileWritten(const QString& path, qint64 size) {
    const QFileInfo written(path);
    if (!written.isFile() || written.size() != size)
        throw NoticeError(
            QStringLiteral("O arquivo %1 não foi encontrado depois de gravado (a pasta "
                           "pode ter sido removida ou o disco desconectado); "
                           "gere-o de novo.")
                .arg(QDir::toNativeSeparators(path)));
    MessageBox::show(QStringLiteral("A T E N Ç Ã O"), QStringLiteral("Arquivo gerado com sucesso."),
                     QMessageBox::Question, QMessageBox::Ok, QMessageBox::Ok);
}

}  // namespace

const QList<ReportEntry>& ReportCatalog::entries() {
    static const QList<ReportEntry> all = build();
    return all;
}

const ReportEntry* ReportCatalog::find(const QString& id) {
    for (const ReportEntry& e : entries()) {
        if (e.id == id)
            return &e;
    }
    return nullptr;
}

Output ReportCatalog::outputOfItem(const ReportEntry& entry, int item) {
    return entry.outputs.value(item, Output::Page);
}

int ReportCatalog::itemOf(const ReportEntry& entry, Output output) {
    return int(entry.outputs.indexOf(output));
}

QString ReportCatalog::itemCaption(const ReportEntry& entry, Output output) {
    switch (output) {
        case Output::Page:
            return QStringLiteral("Jato de Tinta ou Laser");
        case Output::DotMatrix:
            return QStringLiteral("Matricial");
        case Output::Html:
            return entry.copies ? QStringLiteral("Criar um Arquivo em HTML")
                                : QStringLiteral("HTML");
        case Output::TextFile:
            return QStringLiteral("Criar um Arquivo");
        case Output::Sheet:
            return QStringLiteral("Planilha (.xlsx)");
    }
    return QString();
}

bool ReportCatalog::pathEditable(const ReportEntry& entry, Output output) {
    if (output == Output::TextFile || output == Output::Sheet)
        return true;
    // The courier closing writes its HTML under the default path.
    return output == Output::Html && entry.id != QLatin1String("43_0");
}

bool ReportCatalog::closesAfter(const ReportEntry& entry, Output output) {
    if (!isDocument(entry) && !isMenuReport(entry))
        return false;  // listings stay open for another form
    if (output == Output::Page || output == Output::Html)
        return true;
    return isDocument(entry) || entry.id == QLatin1String("41_0");
}

bool ReportCatalog::resetsAfterEveryPrint(const ReportEntry& entry) {
    return entry.id == QLatin1String("41_0");
}

QString ReportCatalog::filePath(const QString& path, const QString& extension) {
    const QString p =
        QDir::isAbsolutePath(path) ? path : DataFolder::reportsFolder() + QLatin1Char('/') + path;
    return QDir::cleanPath(p) + extension;
}

void ReportCatalog::writeFile(const ReportEntry& entry,
                              const PrintRequest& request,
                              const QString& file) {
    if (!entry.outputs.contains(request.output))
        throw NoticeError(QStringLiteral("O relatório %1 não sai nesse formato.").arg(entry.id));
    ReportData data = entry.collect(request);
    switch (request.output) {
        case Output::Page:
            data.readSource();
            if (!PrintPreview::savePdf(
                    file, [&](QPrinter* p) { entry.pageSetUp(p, data); },
                    [&](QPrinter* p) { entry.page(data, p); }))
                refuseFileWrite(file, QStringLiteral("o PDF não foi gerado"));
            return;
        case Output::DotMatrix:
            RawPrinter::send(entry.text(data), QStringLiteral("Quelvarino %1").arg(entry.id));
            return;
        case Output::Sheet:
            entry.sheet(data, file);
            return;
        case Output::TextFile:
            saveFile(file, entry.text(data));
            return;
        case Output::Html:
            saveFile(file, entry.html(data));
            return;
    }
}

void ReportCatalog::printOn(const ReportEntry& entry,
                            const PrintRequest& request,
                            const QString& printerName) {
    ReportData data = entry.collect(request);
    data.readSource();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(printerName);
    if (!printer.isValid() || printer.printerName() != printerName)
        throw NoticeError(
            QStringLiteral("Não há impressora \"%1\" instalada neste computador (veja as "
                           "impressoras com lpstat -p).")
                .arg(printerName));
    entry.pageSetUp(&printer, data);
    printer.setDocName(QStringLiteral("Quelvarino %1").arg(entry.id));
    entry.page(data, &printer);
    if (printer.printerState() == QPrinter::Error)
        throw NoticeError(
            QStringLiteral("A impressora \"%1\" recusou o relatório.").arg(printerName));
}

QByteArray ReportCatalog::textBytes(const ReportEntry& entry, const PrintRequest& request) {
    return entry.text(entry.collect(request));
}

void ReportCatalog::print(const ReportEntry& entry, const PrintRequest& request) {
    if (!entry.outputs.contains(request.output))
        return;
    ReportData data = entry.collect(request);  // once: every output prints the same
    switch (request.output) {
        case Output::Page:
            data.readSource();  // the preview paints the pages more than once
            PrintPreview::show(
                request.parent, QStringLiteral("Visualização - ") + entry.pageTitle,
                [&](QPrinter* p) { entry.pageSetUp(p, data); },
                [&](QPrinter* p) { entry.page(data, p); },
                DataFolder::reportsFolder() + QLatin1Char('/') +
                    QFileInfo(request.path).fileName() + QStringLiteral(".pdf"));
            break;
        case Output::DotMatrix:
            RawPrinter::send(entry.text(data), QStringLiteral("Quelvarino %1").arg(entry.id));
            break;
        case Output::Sheet: {
            const QString path = filePath(request.path, QStringLiteral(".xlsx"));
            entry.sheet(data, path);
            fileWritten(path, QFileInfo(path).size());
            break;
        }
        case Output::TextFile:
        case Output::Html: {
            const bool text = request.output == Output::TextFile;
            const QString path =
                filePath(request.path, text ? QStringLiteral(".txt") : QStringLiteral(".html"));
            const QByteArray bytes = text ? entry.text(data) : entry.html(data);
            saveFile(path, bytes);
            fileWritten(path, bytes.size());
            break;
        }
    }
}

}  // namespace quelvarino
