#include "app/newsdownload.h"

#include "data/durablefiles.h"

#include <curl/curl.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QHostInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QUrl>
#include <cstdio>

namespace quelvarino {
namespace {

struct Easy {
    Easy() : h(curl_easy_init()) {}
    ~Easy() {
        if (h)
            curl_easy_cleanup(h);
    }
    CURL* h;
};

int progress(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(cancel)->load() ? 1 : 0;
}

size_t toBuffer(char* data, size_t size, size_t count, void* out) {
    auto* buffer = static_cast<QByteArray*>(out);
    const size_t n = size * count;
    if (buffer->size() + qsizetype(n) > 64 * 1024)  // an echo page is small
        return 0;
    buffer->append(data, qsizetype(n));
    return n;
}

// A news file being received, refused once it passes its largest size.
struct FileSink {
    FILE* file;
    qint64 largest;
    qint64 written = 0;
    bool tooLarge = false;
};

size_t toFile(char* data, size_t size, size_t count, void* out) {
    auto* sink = static_cast<FileSink*>(out);
    const size_t n = size * count;
    if (sink->written + qint64(n) > sink->largest) {
        sink->tooLarge = true;
        return 0;  // ends the transfer
    }
    const size_t written = std::fwrite(data, 1, n, sink->file);
    sink->written += qint64(written);
    return written;
}

QString tooLarge(const QString& file, qint64 largest) {
    return QStringLiteral("o arquivo %1 do servidor é grande demais (mais de %2 MB)")
        .arg(file)
        .arg(largest / (1024 * 1024));
}

void common(CURL* h, const std::atomic<bool>& cancel, qint64 connectMs, qint64 totalMs) {
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(qMax<qint64>(0, connectMs)));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, long(qMax<qint64>(1, totalMs)));
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &progress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(&cancel));
}

QString reason(CURLcode code, const QString& file) {
    switch (code) {
        case CURLE_LOGIN_DENIED:
            return QStringLiteral("o servidor recusou o usuário ou a senha");
        case CURLE_REMOTE_FILE_NOT_FOUND:
        case CURLE_FTP_COULDNT_RETR_FILE:
        case CURLE_REMOTE_ACCESS_DENIED:
            return QStringLiteral("o arquivo %1 não existe no servidor").arg(file);
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_CONNECT:
            return QStringLiteral("o servidor não pôde ser alcançado");
        case CURLE_OPERATION_TIMEDOUT:
            return QStringLiteral("o servidor demorou demais para responder");
        case CURLE_WRITE_ERROR:
            return QStringLiteral(
                       "não foi possível gravar %1 na pasta local (disco cheio ou "
                       "pasta protegida)")
                .arg(file);
        default:
            return QStringLiteral("falha na transferência de %1 (código %2)").arg(file).arg(code);
    }
}

}  // namespace

QString connectionKindText(TransportKind kind, bool proxyConfigured) {
    if (kind == TransportKind::Cellular)
        return QStringLiteral("Modem");
    if (kind == TransportKind::Lan)
        return QStringLiteral("Lan");
    if (proxyConfigured)
        return QStringLiteral("Proxy");
    return QString();
}

NewsDownload::NewsDownload(NewsConfig config, QString localFolder)
    : config_(std::move(config)), folder_(std::move(localFolder)) {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    Q_UNUSED(initialised);
    startedMs_ = QDateTime::currentMSecsSinceEpoch();
}

qint64 NewsDownload::remainingMs() const {
    return boundMs() - (QDateTime::currentMSecsSinceEpoch() - startedMs_);
}

qint64 NewsDownload::largestFile(const QString& name) {
    return name.endsWith(QLatin1String(".jpg")) ? 4 * 1024 * 1024 : 1024 * 1024;
}

QImage NewsDownload::readPicture(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kLargestSide || size.height() > kLargestSide)
        return QImage();
    return reader.read();
}

QStringList NewsDownload::fileNames() const {
    QStringList names;
    for (int n = 1; n <= 6; ++n)
        names.append(QStringLiteral("%1.jpg").arg(n));
    names.append(config_.textFile);
    return names;
}

QString NewsDownload::keepAddress(const QByteArray& answer) {
    const QString text = QString::fromLatin1(answer);
    static const QRegularExpression dotted(
        QStringLiteral("(?<![\\d.])(\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}\\.\\d{1,3})(?![\\d.])"));
    const QRegularExpressionMatch m = dotted.match(text);
    if (m.hasMatch())
        return m.captured(1);
    QString kept;
    for (const QChar c : text) {
        if (c.isDigit() && c.unicode() < 128)
            kept.append(c);
        else if (c == QLatin1Char('.'))
            kept.append(c);
    }
    return kept.trimmed();
}

QString NewsDownload::localAddress() {
    const QHostInfo info = QHostInfo::fromName(QHostInfo::localHostName());
    for (const QHostAddress& a : info.addresses()) {
        bool ok = false;
        const quint32 v4 = a.toIPv4Address(&ok);
        if (ok && a.protocol() == QAbstractSocket::IPv4Protocol)
            return QStringLiteral("%1.%2.%3.%4")
                .arg(v4 >> 24)
                .arg((v4 >> 16) & 0xff)
                .arg((v4 >> 8) & 0xff)
                .arg(v4 & 0xff);
    }
    return QString();
}

NewsDownload::Connection NewsDownload::checkConnection(const std::atomic<bool>& cancel) {
    Connection c;
    c.probed = true;
    const qint64 limit = qint64(config_.timeoutSeconds) * 1000;
    // A probe only connects, as the system's own check does: any server
    // that accepts the connection is an answer.
    for (const QString& probe : config_.probes) {
        if (cancel || remainingMs() <= 0)
            break;
        Easy e;
        if (!e.h)
            break;
        const QByteArray url = probe.toUtf8();
        curl_easy_setopt(e.h, CURLOPT_URL, url.constData());
        curl_easy_setopt(e.h, CURLOPT_CONNECT_ONLY, 1L);
        common(e.h, cancel, qMin(limit, remainingMs()), qMin(limit, remainingMs()));
        if (curl_easy_perform(e.h) == CURLE_OK) {
            c.online = true;
            break;
        }
    }
    if (!cancel)
        c.localAddress = localAddress();
    if (!c.online || cancel)
        return c;
    c.publicAddress = QStringLiteral("ERRO");
    if (config_.echoUrl.isEmpty())
        return c;
    Easy e;
    if (!e.h)
        return c;
    QByteArray answer;
    const QByteArray url = config_.echoUrl.toUtf8();
    curl_easy_setopt(e.h, CURLOPT_URL, url.constData());
    curl_easy_setopt(e.h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e.h, CURLOPT_MAXREDIRS, 3L);
    curl_easy_setopt(e.h, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(e.h, CURLOPT_WRITEFUNCTION, &toBuffer);
    curl_easy_setopt(e.h, CURLOPT_WRITEDATA, &answer);
    common(e.h, cancel, qMin(limit, remainingMs()), qMin(2 * limit, remainingMs()));
    if (curl_easy_perform(e.h) == CURLE_OK) {
        const QString kept = keepAddress(answer);
        if (!kept.isEmpty())
            c.publicAddress = kept;
    }
    return c;
}

QString NewsDownload::download(const std::atomic<bool>& cancel) {
    if (!config_.downloads())
        return QString();
    const QString failure =
        QStringLiteral("Não foi possível baixar as notícias do servidor %1: ").arg(config_.ftpHost);
    Easy e;
    if (!e.h)
        return failure + QStringLiteral("falha ao iniciar a transferência");
    QDir().mkpath(folder_);
    // What a start killed in the middle of a download left.
    for (const QString& left :
         QDir(folder_).entryList({QStringLiteral(".*.baixando")}, QDir::Files | QDir::Hidden))
        QFile::remove(folder_ + QLatin1Char('/') + left);
    const qint64 limit = qint64(config_.timeoutSeconds) * 1000;
    QStringList partials;
    auto discard = [&partials] {
        for (const QString& p : partials)
            QFile::remove(p);
    };
    // One connection and one login for the seven files.
    const QByteArray user = config_.ftpUser.toUtf8();
    const QByteArray password = config_.ftpPassword.toUtf8();
    curl_easy_setopt(e.h, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(e.h, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(e.h, CURLOPT_WRITEFUNCTION, &toFile);
    QString folder = config_.remoteFolder;
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (folder.startsWith(QLatin1Char('/')))
        folder.remove(0, 1);
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder.append(QLatin1Char('/'));
    for (const QString& name : fileNames()) {
        if (cancel) {
            discard();
            return QString();
        }
        if (remainingMs() <= 0) {
            discard();
            return failure + reason(CURLE_OPERATION_TIMEDOUT, name);
        }
        const QString partial = folder_ + QStringLiteral("/.") + name + QStringLiteral(".baixando");
        FILE* out = std::fopen(QFile::encodeName(partial).constData(), "wb");
        if (!out) {
            discard();
            return failure + reason(CURLE_WRITE_ERROR, name);
        }
        partials.append(partial);
        QUrl url;
        url.setScheme(QStringLiteral("ftp"));
        url.setHost(config_.ftpHost);
        url.setPort(config_.ftpPort);
        url.setPath(QLatin1Char('/') + folder + name);
        const QByteArray encoded = url.toEncoded();
        curl_easy_setopt(e.h, CURLOPT_URL, encoded.constData());
        FileSink sink{out, largestFile(name)};
        curl_easy_setopt(e.h, CURLOPT_WRITEDATA, &sink);
        // A size the server announces is refused before the transfer.
        curl_easy_setopt(e.h, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(sink.largest));
        // The connection and login are bounded on the first file only: with
        // a connect time-out set on the files after it, libcurl 7.88 now and
        // then gave up the passive data connection of the reused control
        // connection at once (seen against a local server). Their transfer
        // limit bounds them.
        const qint64 connect = partials.size() == 1 ? qMin(2 * limit, remainingMs()) : 0;
        common(e.h, cancel, connect, qMin(5 * limit, remainingMs()));
        const CURLcode code = curl_easy_perform(e.h);
        const bool closed = std::fclose(out) == 0;
        if (code == CURLE_ABORTED_BY_CALLBACK && cancel) {
            discard();
            return QString();
        }
        if (sink.tooLarge || code == CURLE_FILESIZE_EXCEEDED) {
            discard();
            return failure + tooLarge(name, sink.largest);
        }
        if (code != CURLE_OK || !closed) {
            discard();
            return failure + reason(code == CURLE_OK ? CURLE_WRITE_ERROR : code, name);
        }
    }
    const QString problem = putInPlace(partials);
    if (!problem.isEmpty()) {
        discard();
        return failure + problem;
    }
    return QString();
}

QString NewsDownload::putInPlace(const QStringList& partials) const {
    const QStringList names = fileNames();
    // A picture that cannot be shown does not replace one that can.
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].endsWith(QLatin1String(".jpg")) && readPicture(partials[i]).isNull())
            return QStringLiteral(
                       "o arquivo %1 recebido do servidor não é uma figura que o "
                       "programa possa mostrar")
                .arg(names[i]);
    }
    // Each replaces its local copy at once, on the disk first.
    for (int i = 0; i < names.size(); ++i) {
        const QString target = folder_ + QLatin1Char('/') + names[i];
        if (!syncFile(partials[i]) || std::rename(QFile::encodeName(partials[i]).constData(),
                                                  QFile::encodeName(target).constData()) != 0)
            return reason(CURLE_WRITE_ERROR, names[i]);
    }
    syncFolder(folder_);
    return QString();
}

}  // namespace quelvarino
