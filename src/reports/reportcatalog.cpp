#include "reports/reportcatalog.h"

#include "core/errors.h"
#include "data/datafolder.h"
#include "reports/escpwriter.h"
#include "reports/htmlwriter.h"
#include "reports/pagewriter.h"
#include "reports/rawprinter.h"
#include "reports/reportdefinitions.h"
#include "reports/textlayouts.h"
#include "widgets/messagebox.h"
#include "widgets/testseams.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QSaveFile>

namespace quelvarino {
namespace {

const QList<Output> kListing = {Output::Page, Output::DotMatrix, Output::TextFile};
const QList<Output> kAll = {Output::Page, Output::DotMatrix, Output::Html, Output::TextFile};

ReportEntry listing(const char* id,
                    const char* dialog,
                    const char* requester,
                    const char* stem,
                    const PageLayout& (*page)(),
                    const TextLayout& (*text)()) {
    ReportEntry e;
    e.id = QString::fromLatin1(id);
    e.dialog = QString::fromLatin1(dialog);
    e.requester = QString::fromLatin1(requester);
    e.outputs = kListing;
    e.pathStem = QString::fromLatin1(stem);
    e.pageTitle = page().title;
    const QString reportId = e.id;
    e.collect = [reportId](const PrintRequest& r) { return collectListing(reportId, r); };
    e.text = [text](const ReportData& d) { return EscPWriter::render(d, text()); };
    e.pageSetUp = [page](QPrinter* p, const ReportData&) { PageWriter::setUp(p, page()); };
    e.page = [page](const ReportData& d, QPrinter* p) { PageWriter::render(d, page(), p); };
    return e;
}

// A report of the "Relatórios" menu: four outputs, built with its screen.
ReportEntry report(int n, const char* title) {
    ReportEntry e;
    e.id = QStringLiteral("4%1_0").arg(n);
    e.dialog = QStringLiteral("Quelvarino004%1_1").arg(n);
    e.requester = QStringLiteral("Quelvarino004%1_0").arg(n);
    e.outputs = kAll;
    e.pathStem = QStringLiteral("Rel0%1").arg(n);
    e.pageTitle = QString::fromUtf8(title);
    return e;
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
    ReportEntry order;
    order.id = QStringLiteral("21_0");
    order.dialog = QStringLiteral("Quelvarino0021_5");
    order.requester = QStringLiteral("Quelvarino0021_0");
    order.outputs = kAll;
    order.pathStem = QStringLiteral("OS");
    order.copies = true;
    order.pageTitle = QStringLiteral("Ordem de Serviço");
    order.collect = collectServiceOrder;
    order.text = [](const ReportData& d) {
        return serviceOrderText(d.company, d.order, d.twoCopies);
    };
    order.pageSetUp = [](QPrinter* p, const ReportData& d) {
        PageWriter::setUpServiceOrder(p, d.twoCopies);
    };
    order.page = [](const ReportData& d, QPrinter* p) { PageWriter::renderServiceOrder(d, p); };
    order.html = [](const ReportData& d) { return HtmlWriter::renderServiceOrder(d); };
    all.append(order);

    ReportEntry receipt;
    receipt.id = QStringLiteral("22_0");
    receipt.dialog = QStringLiteral("Quelvarino0022_4");
    receipt.requester = QStringLiteral("Quelvarino0022_0");
    receipt.outputs = kAll;
    receipt.pathStem = QStringLiteral("Recibo");
    receipt.copies = true;
    receipt.pageTitle = QStringLiteral("Recibo");
    receipt.collect = collectReceipt;
    receipt.text = [](const ReportData& d) {
        return receiptText(d.company, d.receipt, d.twoCopies);
    };
    receipt.pageSetUp = [](QPrinter* p, const ReportData& d) {
        PageWriter::setUpReceipt(p, d.twoCopies);
    };
    receipt.page = [](const ReportData& d, QPrinter* p) { PageWriter::renderReceipt(d, p); };
    receipt.html = [](const ReportData& d) { return HtmlWriter::renderReceipt(d); };
    all.append(receipt);

    const char* const titles[8] = {
        "FECHAMENTO DO CAIXA POR PERÍODO", "FECHAMENTO DO CAIXA POR CLIENTE",
        "FECHAMENTO DO MOTOBOY",           "DESPESAS DO MOTOBOY",
        "LISTAGEM DAS HORAS DO MOTORISTA", "LISTAGEM DAS ORDENS DE SERVIÇOS",
        "PAGAMENTO DO MOTOBOY AUTÔNOMO",   "Relatório Totalizador de Serviços"};
    for (int n = 1; n <= 8; ++n)
        all.append(report(n, titles[n - 1]));

    auto closing = [&all](int n, ReportData (*collect)(const PrintRequest&),
                          const TextLayout& (*text)(), const PageLayout& (*page)(),
                          const HtmlLayout& (*html)()) {
        ReportEntry& e = all[all.size() - 8 + n - 1];
        e.collect = collect;
        e.text = [text](const ReportData& d) { return EscPWriter::render(d, text()); };
        e.pageSetUp = [page](QPrinter* p, const ReportData&) { PageWriter::setUp(p, page()); };
        e.page = [page](const ReportData& d, QPrinter* p) { PageWriter::render(d, page(), p); };
        e.html = [html](const ReportData& d) { return HtmlWriter::render(d, html()); };
    };
    closing(1, collectCashByPeriod, cashByPeriodText, cashByPeriodPage, cashByPeriodHtml);
    closing(2, collectCashByClient, cashByClientText, cashByClientPage, cashByClientHtml);
    closing(3, collectCourierClosing, courierClosingText, courierClosingPage, courierClosingHtml);
    closing(4, collectCourierExpenses, courierExpensesText, courierExpensesPage,
            courierExpensesHtml);
    closing(5, collectCourierHours, courierHoursText, courierHoursPage, courierHoursHtml);
    closing(6, collectOrderListing, orderListingText, orderListingPage, orderListingHtml);
    closing(7, collectSalariedPayment, salariedPaymentText, salariedPaymentPage,
            salariedPaymentHtml);

    ReportEntry& totalizer = all.last();
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw NoticeError(QStringLiteral("Não foi possível gravar o arquivo %1 (%2).\n\nVerifique "
                                         "se a pasta existe, se há permissão de gravação e "
                                         "espaço em disco; nada foi gravado.")
                              .arg(QDir::toNativeSeparators(path), reason));
    }
}

// Success is said only of a file that is in place, whole.
void fileWritten(const QString& path, qint64 size) {
    const QFileInfo written(path);
    if (!written.isFile() || written.size() != size)
        throw NoticeError(QStringLiteral("O arquivo %1 não foi encontrado depois de gravado (a pasta "
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
    }
    return QString();
}

bool ReportCatalog::pathEditable(const ReportEntry& entry, Output output) {
    if (output == Output::TextFile)
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

bool ReportCatalog::isBuilt(const ReportEntry& entry, Output output) {
    if (!entry.collect)
        return false;
    switch (output) {
        case Output::Page:
            return bool(entry.page);
        case Output::DotMatrix:
        case Output::TextFile:
            return bool(entry.text);
        case Output::Html:
            return bool(entry.html);
    }
    return false;
}

QString ReportCatalog::filePath(const QString& path, const QString& extension) {
    const QString p =
        QDir::isAbsolutePath(path) ? path : DataFolder::reportsFolder() + QLatin1Char('/') + path;
    return QDir::cleanPath(p) + extension;
}

QByteArray ReportCatalog::textBytes(const ReportEntry& entry, const PrintRequest& request) {
    if (!isBuilt(entry, Output::DotMatrix))
        return QByteArray();
    return entry.text(entry.collect(request));
}

void ReportCatalog::print(const ReportEntry& entry, const PrintRequest& request) {
    if (!entry.outputs.contains(request.output))
        return;
    if (!isBuilt(entry, request.output))
        throw NoticeError(
            QStringLiteral("Esta forma de impressão ainda não está disponível "
                           "nesta versão do sistema."));
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
