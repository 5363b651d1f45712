#include "reports/reportcatalog.h"

#include "core/errors.h"
#include "data/datafolder.h"
#include "data/durablefiles.h"
#include "reports/cash/cashreports.h"
#include "reports/couriers/courierreports.h"
#include "reports/definitionparts.h"
#include "reports/documents/documents.h"
#include "reports/escpwriter.h"
#include "reports/htmlwriter.h"
#include "reports/listings/registerlistings.h"
#include "reports/pagewriter.h"
#include "reports/rawprinter.h"
#include "reports/xlsxwriter.h"
#include "widgets/messagebox.h"
#include "widgets/testseams.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QSaveFile>

namespace quelvarino {
namespace {

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

const QList<ReportDefinition>& ReportCatalog::entries() {
    static const QList<ReportDefinition> all = [] {
        QList<ReportDefinition> l = listingDefinitions();
        l += documentDefinitions();
        l += cashDefinitions();
        l += courierDefinitions();
        std::sort(l.begin(), l.end(),
                  [](const ReportDefinition& a, const ReportDefinition& b) { return a.id < b.id; });
        return l;
    }();
    return all;
}

const ReportDefinition* ReportCatalog::find(const QString& id) {
    for (const ReportDefinition& e : entries()) {
        if (e.id == id)
            return &e;
    }
    return nullptr;
}

const ReportDefinition* ReportCatalog::byRequester(const QString& instance) {
    for (const ReportDefinition& e : entries()) {
        if (e.requester == instance)
            return &e;
    }
    return nullptr;
}

const ReportDefinition* ReportCatalog::byDialog(const QString& instance) {
    for (const ReportDefinition& e : entries()) {
        if (e.dialog == instance)
            return &e;
    }
    return nullptr;
}

const ReportDefinition* ReportCatalog::byCommand(const QString& asked) {
    QString name = asked.trimmed().toLower();
    for (const ReportDefinition& e : entries()) {
        if (name == e.command)
            return &e;
    }
    while (name.startsWith(QLatin1Char('0')))
        name.remove(0, 1);
    return name.isEmpty() ? nullptr : find(name);
}

QString ReportDefinition::defaultPath(const Criteria& criteria) const {
    return DataFolder::reportsFolder() + QLatin1Char('/') + fileStem +
           (kind == ReportKind::Document ? criteria.number : QString());
}

QStringList ReportDefinition::unprovidedNames() const {
    QStringList used;
    for (const TextLayout* l : textLayouts)
        used += namesUsed(*l);
    for (const PageLayout* l : pageLayouts)
        used += namesUsed(*l);
    for (const HtmlLayout* l : htmlLayouts)
        used += namesUsed(*l);
    QStringList missing;
    for (const QString& name : used) {
        const bool total = name.startsWith(QLatin1Char('='));
        const bool provided = total ? totals.contains(name.mid(1)) : fields.contains(name);
        if (!provided && !missing.contains(name))
            missing.append(name);
    }
    return missing;
}

void writtenFrom(ReportDefinition& e,
                 const TextLayout& (*text)(),
                 const PageLayout& (*page)(),
                 const HtmlLayout& (*html)()) {
    e.pageTitle = page().title;
    e.text = [text](const ReportData& d) { return EscPWriter::render(d, text()); };
    e.pageSetUp = [page](QPrinter* p, const ReportData&) { PageWriter::setUp(p, page()); };
    e.page = [page](const ReportData& d, QPrinter* p) { PageWriter::render(d, page(), p); };
    if (html)
        e.html = [html](const ReportData& d) { return HtmlWriter::render(d, html()); };
    e.sheet = [page](const ReportData& d, const QString& path) {
        XlsxWriter::render(d, page(), path);
    };
    e.textLayouts = {&text()};
    e.pageLayouts = {&page()};
    if (html)
        e.htmlLayouts = {&html()};
}

Output ReportCatalog::outputOfItem(const ReportDefinition& entry, int item) {
    return entry.outputs.value(item, Output::Page);
}

int ReportCatalog::itemOf(const ReportDefinition& entry, Output output) {
    return int(entry.outputs.indexOf(output));
}

QString ReportCatalog::itemCaption(const ReportDefinition& entry, Output output) {
    switch (output) {
        case Output::Page:
            return QStringLiteral("Jato de Tinta ou Laser");
        case Output::DotMatrix:
            return QStringLiteral("Matricial");
        case Output::Html:
            return entry.kind == ReportKind::Document ? QStringLiteral("Criar um Arquivo em HTML")
                                                      : QStringLiteral("HTML");
        case Output::TextFile:
            return QStringLiteral("Criar um Arquivo");
        case Output::Sheet:
            return QStringLiteral("Planilha (.xlsx)");
    }
    return QString();
}

bool ReportCatalog::pathEditable(const ReportDefinition& entry, Output output) {
    if (output == Output::TextFile || output == Output::Sheet)
        return true;
    return output == Output::Html && !entry.htmlPathFixed;
}

bool ReportCatalog::closesAfter(const ReportDefinition& entry, Output output) {
    if (entry.kind == ReportKind::Listing)
        return false;  // listings stay open for another form
    if (output == Output::Page || output == Output::Html)
        return true;
    return entry.kind == ReportKind::Document || entry.closesAfterFiles;
}

bool ReportCatalog::resetsAfterEveryPrint(const ReportDefinition& entry) {
    return entry.resetsAfterEveryPrint;
}

QString ReportCatalog::filePath(const QString& path, const QString& extension) {
    const QString p =
        QDir::isAbsolutePath(path) ? path : DataFolder::reportsFolder() + QLatin1Char('/') + path;
    return QDir::cleanPath(p) + extension;
}

void ReportCatalog::writeFile(const ReportDefinition& entry,
                              const PrintRequest& request,
                              const QString& file) {
    if (!entry.outputs.contains(request.output))
        throw NoticeError(QStringLiteral("O relatório %1 não sai nesse formato.").arg(entry.id));
    ReportData data = entry.collect(request.criteria);
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

void ReportCatalog::printOn(const ReportDefinition& entry,
                            const PrintRequest& request,
                            const QString& printerName) {
    ReportData data = entry.collect(request.criteria);
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

QByteArray ReportCatalog::textBytes(const ReportDefinition& entry, const PrintRequest& request) {
    return entry.text(entry.collect(request.criteria));
}

void ReportCatalog::print(const ReportDefinition& entry, const PrintRequest& request) {
    if (!entry.outputs.contains(request.output))
        return;
    ReportData data = entry.collect(request.criteria);  // once: every output prints the same
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
