#include "app/newspanel.h"

#include <QThread>

namespace quelvarino {

NewsPanel::NewsPanel(QObject* parent) : QObject(parent) {
    qRegisterMetaType<NewsDownload::Connection>();
}

NewsPanel::~NewsPanel() {
    if (thread_) {
        cancel_->store(true);
        thread_->wait();
        delete thread_;
    }
}

bool NewsPanel::running() const {
    return thread_ && !thread_->isFinished();
}

void NewsPanel::start(const std::optional<NewsConfig>& config, const QString& localFolder) {
    if (thread_)
        return;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    auto cancel = cancel_;
    QPointer<NewsPanel> self(this);
    const bool configured = config.has_value();
    const NewsConfig c = config.value_or(NewsConfig());
    thread_ = QThread::create([this, self, cancel, configured, c, localFolder] {
        NewsDownload news(c, localFolder);
        // Results reach the panel through its own thread's queue; a panel
        // already gone takes none.
        auto post = [this, self](auto&& call) {
            QMetaObject::invokeMethod(
                this,
                [self, call] {
                    if (self)
                        call();
                },
                Qt::QueuedConnection);
        };
        if (!configured) {
            NewsDownload::Connection local;
            local.localAddress = NewsDownload::localAddress();
            post([this, local] { emit connectionChecked(local); });
            post([this] { emit finished(); });
            return;
        }
        const NewsDownload::Connection connection = news.checkConnection(*cancel);
        if (*cancel)
            return;
        post([this, connection] { emit connectionChecked(connection); });
        if (connection.online) {
            const QString failure = news.download(*cancel);
            if (*cancel)
                return;
            if (failure.isEmpty())
                post([this] { emit downloaded(); });
            else
                post([this, failure] { emit failed(failure); });
        }
        post([this] { emit finished(); });
    });
    thread_->start();
}

}  // namespace quelvarino
