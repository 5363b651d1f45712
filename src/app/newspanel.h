#pragma once

#include "app/newsconfig.h"
#include "app/newsdownload.h"

#include <QObject>
#include <QPointer>
#include <atomic>
#include <memory>

class QThread;

namespace quelvarino {

// Runs the connection check and the news download of the main window on a
// thread of its own, so the window is usable at once, and hands each result
// to the window on its own thread. Ends at once when the window closes.
class NewsPanel : public QObject {
    Q_OBJECT
public:
    explicit NewsPanel(QObject* parent = nullptr);
    ~NewsPanel() override;

    // No installation file: only the local address is looked up; nothing
    // is tried on the network and nothing said.
    void start(const std::optional<NewsConfig>& config, const QString& localFolder);
    bool running() const;

signals:
    void connectionChecked(const quelvarino::NewsDownload::Connection& connection);
    void downloaded();            // the new pictures and text are in place
    void failed(const QString&);  // the download failed: said once
    void finished();

private:
    QThread* thread_ = nullptr;
    std::shared_ptr<std::atomic<bool>> cancel_;
};

}  // namespace quelvarino
