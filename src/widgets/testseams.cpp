#include "widgets/testseams.h"

#include "data/durablefiles.h"
#include "widgets/messagebox.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QQueue>
#include <QToolBar>

namespace {

struct FolderState {
    bool testMode = false;
    QQueue<QString> answers;
    QString lastTitle;
    QString lastInitial;
};
FolderState& folders() {
    static FolderState s;
    return s;
}

struct PreviewState {
    bool testMode = false;
    QString pdf;
    int count = 0;
    QString lastTitle;
};
PreviewState& previews() {
    static PreviewState s;
    return s;
}

struct UrlState {
    bool testMode = false;
    QList<QUrl> opened;
};
UrlState& urls() {
    static UrlState s;
    return s;
}

}  // namespace

QString FolderPicker::pick(QWidget* parent, const QString& title, const QString& initialFolder) {
    folders().lastTitle = title;
    folders().lastInitial = initialFolder;
    if (folders().testMode || MessageBox::testMode())
        return folders().answers.isEmpty() ? QString() : folders().answers.dequeue();
    return QFileDialog::getExistingDirectory(parent, title, initialFolder);
}

void FolderPicker::setTestMode(bool on) {
    folders().testMode = on;
}

void FolderPicker::setNextFolder(const QString& folder) {
    folders().testMode = true;
    folders().answers.enqueue(folder);
}

QString FolderPicker::lastTitle() {
    return folders().lastTitle;
}

QString FolderPicker::lastInitialFolder() {
    return folders().lastInitial;
}

// The same pages into a PDF file: drawn under a temporary name and renamed,
// so an existing file is only replaced by a complete one.
bool PrintPreview::savePdf(const QString& file,
                           const std::function<void(QPrinter*)>& setup,
                           const std::function<void(QPrinter*)>& render) {
    const QString partial = file + QStringLiteral(".parcial");
    // A folder in the file's place, or a folder that is missing or cannot
    // be written: said before a single page is drawn.
    if (QFileInfo(file).isDir())
        return false;
    {
        QFile probe(partial);
        if (!probe.open(QIODevice::WriteOnly))
            return false;
    }
    {
        QPrinter printer(QPrinter::HighResolution);
        setup(&printer);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(partial);
        render(&printer);
    }
    if (!QFileInfo(partial).isFile() || QFileInfo(partial).size() == 0) {
        QFile::remove(partial);
        return false;
    }
    if (!quelvarino::durablyReplace(partial, file)) {
        QFile::remove(partial);
        return false;
    }
    return true;
}

void PrintPreview::show(QWidget* parent,
                        const QString& title,
                        const std::function<void(QPrinter*)>& setup,
                        const std::function<void(QPrinter*)>& render,
                        const QString& pdfSuggestion) {
    ++previews().count;
    previews().lastTitle = title;
    if (previews().testMode || MessageBox::testMode()) {
        QPrinter printer(QPrinter::HighResolution);
        setup(&printer);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(previews().pdf.isEmpty() ? QStringLiteral("/dev/null")
                                                           : previews().pdf);
        render(&printer);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    setup(&printer);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    dialog.setWindowState(Qt::WindowMaximized);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [&](QPrinter* p) { render(p); });
    if (auto* bar = dialog.findChild<QToolBar*>()) {
        bar->addSeparator();
        QAction* save = bar->addAction(QStringLiteral("Salvar PDF"));
        save->setObjectName(QStringLiteral("SalvarPdf"));
        save->setToolTip(QStringLiteral("Salvar estas páginas em um arquivo PDF"));
        QObject::connect(save, &QAction::triggered, &dialog, [&] {
            const QString file =
                QFileDialog::getSaveFileName(&dialog, QStringLiteral("Salvar PDF"), pdfSuggestion,
                                             QStringLiteral("Documento PDF (*.pdf)"));
            if (file.isEmpty())
                return;
            if (!savePdf(file, setup, render))
                MessageBox::warning(
                    QStringLiteral("Não foi possível gravar o arquivo %1. Verifique se a pasta "
                                   "existe e se há permissão de gravação e espaço em disco.")
                        .arg(file));
        });
    }
    dialog.exec();
}

QString PrintPreview::lastTitle() {
    return previews().lastTitle;
}

void PrintPreview::setTestMode(bool on, const QString& pdfFile) {
    previews().testMode = on;
    previews().pdf = pdfFile;
}

QString PrintPreview::testOutput() {
    return previews().pdf;
}

int PrintPreview::previewCount() {
    return previews().count;
}

void UrlOpener::open(const QUrl& url) {
    urls().opened.append(url);
    if (urls().testMode || MessageBox::testMode())
        return;
    QDesktopServices::openUrl(url);
}

void UrlOpener::setTestMode(bool on) {
    urls().testMode = on;
}

QList<QUrl> UrlOpener::openedUrls() {
    return urls().opened;
}

void UrlOpener::clearOpenedUrls() {
    urls().opened.clear();
}
