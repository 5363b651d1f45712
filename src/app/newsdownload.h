#pragma once

#include "app/newsconfig.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

namespace quelvarino {

// The connection check and the news download of the main window, away from
// the screen: each network step has a short time-out, the whole of it a
// bound, and a cancel flag ends it at once (the program is closing).
class NewsDownload {
public:
    NewsDownload(NewsConfig config, QString localFolder);

    struct Connection {
        bool probed = false;  // false: no installation file, only local data
        bool online = false;
        QString localAddress;   // first IPv4 address of the host name, dotted
        QString publicAddress;  // the echo page's address, "ERRO", or empty offline
    };

    // The probes in order, the local address and, online, the echo page.
    Connection checkConnection(const std::atomic<bool>& cancel);
    // The six pictures and the text into the local folder. Every file is
    // fetched under a partial name first and put in place only when all
    // seven arrived: a failed download leaves the last complete set.
    // Returns the failure told to the operator, empty when all arrived.
    QString download(const std::atomic<bool>& cancel);

    QStringList fileNames() const;  // 1.jpg ... 6.jpg, the text
    // Each network step: probes take the limit, requests and transfers a
    // few times it; the whole step never takes longer than `boundMs`.
    qint64 boundMs() const { return qint64(config_.timeoutSeconds) * 15000; }

    // The address kept from the echo page's answer: the first dotted
    // address in it; without one, its digits and dots in their order.
    static QString keepAddress(const QByteArray& answer);
    // The first IPv4 address of the host name, "%d.%d.%d.%d"; empty when
    // the name does not resolve.
    static QString localAddress();

    // What one news file may weigh: the pictures fill places of 193 by 81
    // pixels and the text is a few lines, so anything larger is not news
    // (and would fill the disk the data lives on).
    static qint64 largestFile(const QString& name);
    // The picture in `path`, or a null image when it is no picture Qt can
    // read or claims more than kLargestSide pixels on a side (a few bytes
    // can announce gigabytes of pixels).
    static QImage readPicture(const QString& path);
    static constexpr int kLargestSide = 4096;

private:
    qint64 remainingMs() const;
    // The seven files received under their partial names put in place of
    // the local ones; the failure told, empty when all are in place.
    QString putInPlace(const QStringList& partials) const;

    NewsConfig config_;
    QString folder_;
    qint64 startedMs_ = 0;
};

// The connection kinds the panel tells, from what the system reports.
enum class TransportKind { Unknown, Lan, Cellular };
// "Modem", "Lan" or "Proxy" in that order; empty when none applies (the
// field is then left as it is).
QString connectionKindText(TransportKind kind, bool proxyConfigured);

}  // namespace quelvarino
