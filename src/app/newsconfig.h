#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace quelvarino {

// Where the news of the main window come from: the maker's FTP server and
// web addresses, chosen at installation and kept out of the program. The
// file holds an account and a password, so it is readable by its owner only.
struct NewsConfig {
    QString ftpHost;
    int ftpPort = 21;
    QString ftpUser;
    QString ftpPassword;
    QString remoteFolder;    // on the server, relative to the account's folder
    QString textFile;        // the news text, same name on the server and here
    QString site;            // opened by a click on a picture
    QString echoUrl;         // answers with the address it sees
    QStringList probes;      // tried in order; the first that answers wins
    int timeoutSeconds = 3;  // each probe; requests and transfers take multiples

    bool downloads() const { return !ftpHost.isEmpty(); }

    // The operator's own file first, then the workstation's: the first one
    // that exists and can be read. None: no download, nothing said.
    static std::optional<NewsConfig> load();
    static std::optional<NewsConfig> loadFile(const QString& file);
    static QStringList candidateFiles();
    static void setSystemFileForTest(const QString& file);

    static QString defaultTextFile() { return QStringLiteral("noticias.txt"); }
};

}  // namespace quelvarino
