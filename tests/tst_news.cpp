#include "app/mainwindow.h"
#include "app/newsconfig.h"
#include "app/newsdownload.h"
#include "app/program.h"
#include "core/clock.h"
#include "data/datafolder.h"
#include "testsupport.h"
#include "widgets/messagebox.h"
#include "widgets/testseams.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QHostInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QSysInfo>
#include <QTcpServer>
#include <memory>

using namespace quelvarino;

// The news panel against the maker's servers, started on loopback once for
// the whole program: an FTP server with the six pictures and the text, and
// a web server that echoes the visitor's address.
class TestNews : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    QTemporaryDir serverRoot;
    QProcess servers;
    int ftpPort = 0;
    int httpPort = 0;
    int closedPort = 0;
    const QString user = QStringLiteral("noticia");
    const QString password = QStringLiteral("segredo123456");

    static QColor colour(int n) { return QColor::fromHsv(n * 50, 200, 220); }
    static QColor oldColour() { return QColor(20, 20, 20); }

    QString remote() const { return serverRoot.path() + "/httpdocs"; }
    QString tbv() const { return home->dataFolder() + "/Backup/Relatorio/Tbv"; }

    static void writeJpeg(const QString& file, const QColor& c) {
        QImage image(60, 30, QImage::Format_RGB32);
        image.fill(c);
        QVERIFY(image.save(file, "JPG"));
    }
    // A small JPEG whose frame header says 60000 by 60000 pixels.
    static QByteArray hugeJpegHeader() {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG");
        const qsizetype frame = bytes.indexOf(QByteArray("\xff\xc0", 2));
        if (frame < 0)
            return QByteArray();
        // marker (2), length (2), precision (1), height (2), width (2)
        for (qsizetype at : {frame + 5, frame + 7}) {
            bytes[at] = char(60000 >> 8);
            bytes[at + 1] = char(60000 & 0xff);
        }
        return bytes;
    }
    // The news as the maker writes it, in the old single-byte code page.
    static QByteArray newsText() {
        return QByteArray("Promo\xe7\xe3o de ver\xe3o\r\nEntregas at\xe9 22:00\r\n");
    }

    void writeConfig(const QString& echoPath,
                     const QString& pass,
                     bool online = true,
                     int timeout = 1) {
        const QString dir = home->path() + "/config/Quelvarino";
        QVERIFY(QDir().mkpath(dir));
        QFile f(dir + "/noticias.conf");
        QVERIFY(f.open(QIODevice::WriteOnly));
        const int probePort = online ? httpPort : closedPort;
        f.write(QStringLiteral("[ftp]\nservidor=127.0.0.1\nporta=%1\nusuario=%2\nsenha=%3\n"
                               "pasta=httpdocs\ntexto=noticias.txt\n"
                               "[web]\nsite=https://quelvarino.example/\n"
                               "eco_ip=http://127.0.0.1:%4%5\n"
                               "teste1=http://127.0.0.1:%6/\nteste2=http://127.0.0.1:%6/\n"
                               "teste3=http://127.0.0.1:%7/\n"
                               "[tempo]\nlimite_segundos=%8\n")
                    .arg(ftpPort)
                    .arg(user, pass)
                    .arg(httpPort)
                    .arg(echoPath)
                    .arg(closedPort)
                    .arg(probePort)
                    .arg(timeout)
                    .toUtf8());
    }
    // The pictures and text of an earlier start, in their folder.
    void placeOldNews() {
        QVERIFY(QDir().mkpath(tbv()));
        for (int n = 1; n <= 6; ++n)
            writeJpeg(tbv() + QStringLiteral("/%1.jpg").arg(n), oldColour());
        QFile t(tbv() + "/noticias.txt");
        QVERIFY(t.open(QIODevice::WriteOnly));
        t.write("Noticia antiga\n");
    }

    TQuelvarino000_0* start() {
        if (!startProgram(*qobject_cast<QApplication*>(QCoreApplication::instance())))
            return nullptr;
        return Quelvarino000_0;
    }
    bool waitForNews(TQuelvarino000_0* w, int ms = 20000) {
        QElapsedTimer t;
        t.start();
        while (w->newsRunning() && t.elapsed() < ms)
            QTest::qWait(20);
        QCoreApplication::processEvents();
        QTest::qWait(50);  // the last results come through the event queue
        return !w->newsRunning();
    }
    static QString field(TQuelvarino000_0* w, const char* name) {
        return w->findChild<QLineEdit*>(name)->text();
    }
    static QColor pictureColour(TQuelvarino000_0* w, int image) {
        const QPixmap p = w->findChild<QLabel*>(QStringLiteral("Image%1").arg(image))->pixmap();
        if (p.isNull())
            return QColor();
        return p.toImage().pixelColor(p.width() / 2, p.height() / 2);
    }
    static bool near(const QColor& a, const QColor& b) {
        return a.isValid() && qAbs(a.red() - b.red()) < 12 && qAbs(a.green() - b.green()) < 12 &&
               qAbs(a.blue() - b.blue()) < 12;
    }
    static QString localAddress() {
        for (const QHostAddress& a : QHostInfo::fromName(QHostInfo::localHostName()).addresses())
            if (a.protocol() == QAbstractSocket::IPv4Protocol)
                return a.toString();
        return QString();
    }
    int errorCount() const {
        int n = 0;
        for (const auto& m : MessageBox::shownMessages())
            n += m.icon == QMessageBox::Critical ? 1 : 0;
        return n;
    }

private slots:
    void initTestCase() {
        NewsConfig::setSystemFileForTest("/nonexistent/noticias.conf");
        QVERIFY(serverRoot.isValid());
        QVERIFY(QDir().mkpath(remote()));
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        closedPort = probe.serverPort();
        probe.close();
        servers.setProcessChannelMode(QProcess::SeparateChannels);
        servers.setStandardErrorFile(QProcess::nullDevice());
        servers.start("/usr/bin/python3",
                      {QFINDTESTDATA("newsservers.py"), serverRoot.path(), user, password});
        QVERIFY2(servers.waitForReadyRead(20000), "the news servers did not start");
        const QStringList ports = QString::fromUtf8(servers.readLine()).split(' ');
        QCOMPARE(ports.size(), 4);
        ftpPort = ports[1].toInt();
        httpPort = ports[3].trimmed().toInt();
        QVERIFY(ftpPort > 0 && httpPort > 0);
    }
    void cleanupTestCase() {
        servers.closeWriteChannel();
        if (!servers.waitForFinished(5000))
            servers.kill();
    }
    void init() {
        home = std::make_unique<TempHome>();
        MessageBox::clearShownMessages();
        UrlOpener::setTestMode(true);
        UrlOpener::clearOpenedUrls();
        TQuelvarino000_0::setShortDateFormatForTest(QString());
        Clock::setNow(QDateTime(QDate(2026, 12, 9), QTime(9, 0)));
        QDir(remote()).removeRecursively();
        QVERIFY(QDir().mkpath(remote()));
        for (int n = 1; n <= 6; ++n)
            writeJpeg(remote() + QStringLiteral("/%1.jpg").arg(n), colour(n));
        QFile t(remote() + "/noticias.txt");
        QVERIFY(t.open(QIODevice::WriteOnly));
        t.write(newsText());
    }
    void cleanup() { endProgramTest(home); }

    void addressKeptFromTheEchoPage_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("kept");
        QTest::newRow("rótulo sem dígitos")
            << QByteArray(
                   "<html><head><title>Current IP Check</title></head><body>Current IP "
                   "Address: 200.158.12.7</body></html>")
            << "200.158.12.7";
        QTest::newRow("título com dígito")
            << QByteArray("<html><body><h1>IP</h1>Seu IP: 189.4.77.210\n</body></html>")
            << "189.4.77.210";
        QTest::newRow("só o endereço") << QByteArray("177.10.0.1\n") << "177.10.0.1";
        QTest::newRow("sem endereço pontuado") << QByteArray("<p>versão 2</p>") << "2";
        QTest::newRow("vazio") << QByteArray() << "";
    }
    void addressKeptFromTheEchoPage() {
        QFETCH(QByteArray, answer);
        QFETCH(QString, kept);
        QCOMPARE(NewsDownload::keepAddress(answer), kept);
    }

    void connectionKind_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("proxy");
        QTest::addColumn<QString>("text");
        QTest::newRow("celular") << int(TransportKind::Cellular) << true << "Modem";
        QTest::newRow("rede local") << int(TransportKind::Lan) << false << "Lan";
        QTest::newRow("rede local com proxy") << int(TransportKind::Lan) << true << "Lan";
        QTest::newRow("só proxy") << int(TransportKind::Unknown) << true << "Proxy";
        QTest::newRow("nada conhecido") << int(TransportKind::Unknown) << false << "";
    }
    void connectionKind() {
        QFETCH(int, kind);
        QFETCH(bool, proxy);
        QFETCH(QString, text);
        QCOMPARE(connectionKindText(TransportKind(kind), proxy), text);
    }

    void onlineStartShowsTheNews() {
        writeConfig("/", password);
        TQuelvarino000_0* w = start();
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QVERIFY(waitForNews(w));
        QVERIFY(w->findChild<QRadioButton*>("Ed_1")->isChecked());
        QVERIFY(!w->findChild<QRadioButton*>("Ed_2")->isChecked());
        QVERIFY2(errorCount() == 0, qPrintable(operatorDoes::lastMessage()));
        QCOMPARE(field(w, "Ed_IpW"), QString("127.0.0.1"));
        QCOMPARE(field(w, "Ed_Ip"), localAddress());
        QCOMPARE(field(w, "Ed_Maq"), QSysInfo::machineHostName().left(15));
        QVERIFY(!field(w, "Ed_Usu").isEmpty());
        // Every file in the local folder as the server has it.
        for (const QString name :
             {"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg", "6.jpg", "noticias.txt"}) {
            QFile a(remote() + "/" + name), b(tbv() + "/" + name);
            QVERIFY(a.open(QIODevice::ReadOnly));
            QVERIFY2(b.open(QIODevice::ReadOnly), qPrintable(name));
            QCOMPARE(b.readAll(), a.readAll());
        }
        QVERIFY(QDir(tbv()).entryList({"*.baixando"}, QDir::Files | QDir::Hidden).isEmpty());
        // 1.jpg in Image2 ... 6.jpg in Image7, in reading order.
        for (int n = 1; n <= 6; ++n)
            QVERIFY2(near(pictureColour(w, n + 1), colour(n)), qPrintable(QString::number(n)));
        QCOMPARE(w->findChild<QPlainTextEdit*>("Ed_Texto")->toPlainText(),
                 QString("Promoção de verão\nEntregas até 22:00"));
        QCOMPARE(errorCount(), 0);
        // The password file is its owner's only.
        const QFileInfo conf(home->path() + "/config/Quelvarino/noticias.conf");
        QCOMPARE(int(conf.permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup)), 0);
    }

    void failuresKeepTheOldNews_data() {
        QTest::addColumn<bool>("online");
        QTest::addColumn<QString>("pass");
        QTest::addColumn<QString>("damaged");         // a file of the server...
        QTest::addColumn<QByteArray>("replacement");  // ...replaced by this, or removed
        QTest::addColumn<QString>("said");
        QTest::newRow("sem rede") << false << password << "" << QByteArray() << "";
        QTest::newRow("senha recusada")
            << true << "errada"
            << "" << QByteArray() << "o servidor recusou o usuário ou a senha";
        QTest::newRow("figura faltando no servidor") << true << password << "3.jpg" << QByteArray()
                                                     << "o arquivo 3.jpg não existe no servidor";
        QTest::newRow("texto faltando no servidor")
            << true << password << "noticias.txt" << QByteArray()
            << "o arquivo noticias.txt não existe";
        const QString notAPicture = "não é uma figura que o programa possa mostrar";
        QTest::newRow("página de erro no lugar da figura")
            << true << password << "3.jpg" << QByteArray("<html><body>404</body></html>")
            << "o arquivo 3.jpg recebido do servidor " + notAPicture;
        QTest::newRow("figura vazia") << true << password << "6.jpg" << QByteArray("")
                                      << "o arquivo 6.jpg recebido do servidor " + notAPicture;
        QTest::newRow("figura que anuncia 60000 por 60000 pontos")
            << true << password << "1.jpg" << hugeJpegHeader()
            << "o arquivo 1.jpg recebido do servidor " + notAPicture;
        QTest::newRow("figura grande demais")
            << true << password << "2.jpg" << QByteArray(4 * 1024 * 1024 + 1, '\xff')
            << "o arquivo 2.jpg do servidor é grande demais (mais de 4 MB)";
        QTest::newRow("texto grande demais")
            << true << password << "noticias.txt" << QByteArray(1024 * 1024 + 1, 'a')
            << "o arquivo noticias.txt do servidor é grande demais (mais de 1 MB)";
    }
    void failuresKeepTheOldNews() {
        QFETCH(bool, online);
        QFETCH(QString, pass);
        QFETCH(QString, damaged);
        QFETCH(QByteArray, replacement);
        QFETCH(QString, said);
        if (!damaged.isEmpty()) {
            QFile f(remote() + "/" + damaged);
            if (replacement.isNull()) {
                QVERIFY(f.remove());
            } else {
                QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
                QCOMPARE(f.write(replacement), replacement.size());
            }
        }
        writeConfig("/", pass, online);
        placeOldNews();
        TQuelvarino000_0* w = start();
        QVERIFY(w);
        // The old news show at once, before the network steps end.
        QVERIFY(near(pictureColour(w, 2), oldColour()));
        QVERIFY(w->menuBar()->actions().first()->isEnabled());
        QVERIFY(waitForNews(w));
        QCOMPARE(w->findChild<QRadioButton*>("Ed_1")->isChecked(), online);
        QCOMPARE(w->findChild<QRadioButton*>("Ed_2")->isChecked(), !online);
        if (!online) {
            QCOMPARE(field(w, "Ed_Tip"), QString("Não existe conexão"));
            QCOMPARE(field(w, "Ed_IpW"), QString());
            QCOMPARE(field(w, "Ed_Ip"), localAddress());
        }
        // Said once, the start goes on, and the last complete news stay.
        QCOMPARE(errorCount(), said.isEmpty() ? 0 : 1);
        if (!said.isEmpty())
            QVERIFY2(operatorDoes::lastMessage().contains(said),
                     qPrintable(operatorDoes::lastMessage()));
        QVERIFY(w->isVisible());
        for (int n = 1; n <= 6; ++n)
            QVERIFY(near(pictureColour(w, n + 1), oldColour()));
        QCOMPARE(w->findChild<QPlainTextEdit*>("Ed_Texto")->toPlainText(),
                 QString("Noticia antiga"));
        QVERIFY(near(QImage(tbv() + "/1.jpg").pixelColor(30, 15), oldColour()));
        QVERIFY(QDir(tbv()).entryList({"*.baixando"}, QDir::Files | QDir::Hidden).isEmpty());
    }

    // Files in the local folder that were not put there by a download (a
    // page in place of a picture, a header announcing gigabytes of pixels,
    // a text larger than news) leave their places blank; the rest shows.
    void damagedLocalNewsLeaveBlanks() {
        writeConfig("/", password, false);
        placeOldNews();
        auto put = [this](const QString& name, const QByteArray& bytes) {
            QFile f(tbv() + "/" + name);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QCOMPARE(f.write(bytes), bytes.size());
        };
        put("1.jpg", "<html>erro</html>");
        put("2.jpg", hugeJpegHeader());
        put("noticias.txt", QByteArray(1024 * 1024 + 1, 'a'));
        TQuelvarino000_0* w = start();
        QVERIFY(w);
        QVERIFY(waitForNews(w));
        QVERIFY(!pictureColour(w, 2).isValid());
        QVERIFY(!pictureColour(w, 3).isValid());
        for (int n = 3; n <= 6; ++n)
            QVERIFY(near(pictureColour(w, n + 1), oldColour()));
        QCOMPARE(w->findChild<QPlainTextEdit*>("Ed_Texto")->toPlainText(), QString());
        QCOMPARE(errorCount(), 0);
    }

    void echoPageFailingStillDownloads() {
        writeConfig("/falha", password);
        TQuelvarino000_0* w = start();
        QVERIFY(w);
        QVERIFY(waitForNews(w));
        QVERIFY(w->findChild<QRadioButton*>("Ed_1")->isChecked());
        QCOMPARE(field(w, "Ed_IpW"), QString("ERRO"));
        QVERIFY(near(pictureColour(w, 7), colour(6)));
        QCOMPARE(errorCount(), 0);
    }

    void pictureClickOpensTheSite() {
        writeConfig("/", password);
        TQuelvarino000_0* w = start();
        QVERIFY(w);
        QVERIFY(waitForNews(w));
        QTest::mouseClick(w->findChild<QLabel*>("Image5"), Qt::LeftButton);
        QCOMPARE(UrlOpener::openedUrls(), QList<QUrl>{QUrl("https://quelvarino.example/")});
    }

    // Without the installation file only the workstation's own data are
    // shown: nothing is tried on the network, nothing is said, and a click
    // on a picture opens nothing.
    void withoutInstallationFileOnlyLocalData() {
        placeOldNews();
        TQuelvarino000_0* w = start();
        QVERIFY(w);
        QVERIFY(waitForNews(w));
        QCOMPARE(field(w, "Ed_Ip"), localAddress());
        QCOMPARE(field(w, "Ed_Maq"), QSysInfo::machineHostName().left(15));
        QVERIFY(!w->findChild<QRadioButton*>("Ed_1")->isChecked());
        QVERIFY(!w->findChild<QRadioButton*>("Ed_2")->isChecked());
        QCOMPARE(field(w, "Ed_Tip"), QString());
        QVERIFY(near(pictureColour(w, 4), oldColour()));
        QCOMPARE(MessageBox::shownMessages().size(), 0);
        QTest::mouseClick(w->findChild<QLabel*>("Image2"), Qt::LeftButton);
        QVERIFY(UrlOpener::openedUrls().isEmpty());
    }

    // The file the package installs, before the office fills it in, is
    // taken as no file at all.
    void installedTemplateIsNoFile() {
        const QString file = QFINDTESTDATA("../packaging/noticias.conf");
        QVERIFY(!file.isEmpty());
        QVERIFY(!NewsConfig::loadFile(file).has_value());
        writeConfig("/", password);
        QVERIFY(NewsConfig::loadFile(home->path() + "/config/Quelvarino/noticias.conf"));
    }

    // A server that never answers holds back neither the window nor the
    // end of the program: the step is given up when the program closes.
    void slowServerNeverHoldsTheProgram() {
        writeConfig("/lento", password, true, 30);
        TQuelvarino000_0* w = start();
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QTest::qWait(300);
        QVERIFY(w->newsRunning());  // still waiting for the echo page
        QVERIFY(w->menuBar()->actions().first()->isEnabled());
        QElapsedTimer t;
        t.start();
        stopProgram();
        // Far below the 60 s the echo request would be allowed.
        QVERIFY2(t.elapsed() < 10000, qPrintable(QString::number(t.elapsed())));
    }
};

QUELVARINO_GUI_TEST_MAIN(TestNews)
#include "tst_news.moc"
