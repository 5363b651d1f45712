#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <functional>

class QPrinter;
class QWidget;

// The folder picker of the print dialogs. In test mode it answers with the
// queued folder (empty: cancelled) without a window.
class FolderPicker {
public:
    static QString pick(QWidget* parent, const QString& title, const QString& initialFolder);
    static void setTestMode(bool on);
    static void setNextFolder(const QString& folder);
    static QString lastTitle();
    static QString lastInitialFolder();
};

// The print preview of the page reports. `render` draws every page on the
// printer it is given. In test mode the pages go to a PDF file instead.
class PrintPreview {
public:
    // The preview also offers "Salvar PDF", suggesting `pdfSuggestion`.
    static void show(QWidget* parent,
                     const QString& title,
                     const std::function<void(QPrinter*)>& setup,
                     const std::function<void(QPrinter*)>& render,
                     const QString& pdfSuggestion = QString());
    static bool savePdf(const QString& file,
                        const std::function<void(QPrinter*)>& setup,
                        const std::function<void(QPrinter*)>& render);
    static QString lastTitle();
    static void setTestMode(bool on, const QString& pdfFile = QString());
    static QString testOutput();
    static int previewCount();
};

// "Open this web address" in the default browser. In test mode the address
// is only recorded.
class UrlOpener {
public:
    static void open(const QUrl& url);
    static void setTestMode(bool on);
    static QList<QUrl> openedUrls();
    static void clearOpenedUrls();
};
