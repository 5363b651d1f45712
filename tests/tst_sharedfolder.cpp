#include "app/program.h"
#include "core/clock.h"
#include "core/errors.h"
#include "data/aliasregistry.h"
#include "data/datafolder.h"
#include "data/mountlocks.h"
#include "data/sqlitebackend.h"
#include "testsupport.h"
#include "widgets/messagebox.h"

#include <unistd.h>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <memory>

using namespace quelvarino;

namespace {

// An SSH server on loopback and two SSHFS mounts of one folder: two
// workstations that see the same files, each through its own mount.
class TwoMounts {
public:
    explicit TwoMounts(const QString& root) : root_(root) {}
    ~TwoMounts() {
        for (const QString& m : mounted_)
            QProcess::execute(QStringLiteral("fusermount3"), {"-u", "-z", m});
        if (sshd_.state() != QProcess::NotRunning) {
            sshd_.kill();
            sshd_.waitForFinished(5000);
        }
    }
    // Empty when started; otherwise why the machine cannot run the drill.
    QString start() {
        if (!QFile::exists(QStringLiteral("/dev/fuse")))
            return QStringLiteral("no /dev/fuse");
        const QString sshd = QStringLiteral("/usr/sbin/sshd");
        if (!QFile::exists(sshd) || QStandardPaths::findExecutable("sshfs").isEmpty() ||
            QStandardPaths::findExecutable("fusermount3").isEmpty())
            return QStringLiteral("sshd, sshfs or fusermount3 missing");
        if (::geteuid() == 0)
            QDir().mkpath(QStringLiteral("/run/sshd"));  // sshd's own empty folder
        for (const char* key : {"hostkey", "userkey"}) {
            if (QProcess::execute("ssh-keygen",
                                  {"-q", "-t", "ed25519", "-N", "", "-f", root_ + "/" + key}) != 0)
                return QStringLiteral("ssh-keygen failed");
        }
        QFile::copy(root_ + "/userkey.pub", root_ + "/authorized_keys");
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port_ = probe.serverPort();
        probe.close();
        QFile config(root_ + "/sshd_config");
        config.open(QIODevice::WriteOnly);
        config.write(QStringLiteral("Port %1\nListenAddress 127.0.0.1\nHostKey %2/hostkey\n"
                                    "AuthorizedKeysFile %2/authorized_keys\nPidFile %2/sshd.pid\n"
                                    "StrictModes no\nUsePAM no\nPasswordAuthentication no\n"
                                    "KbdInteractiveAuthentication no\n"
                                    "PermitRootLogin prohibit-password\n"
                                    "Subsystem sftp internal-sftp\n")
                         .arg(port_)
                         .arg(root_)
                         .toUtf8());
        config.close();
        sshd_.setProcessChannelMode(QProcess::MergedChannels);
        sshd_.start(sshd, {"-D", "-e", "-f", root_ + "/sshd_config"});
        if (!sshd_.waitForStarted())
            return QStringLiteral("sshd did not start");
        QDir().mkpath(root_ + "/share");
        QString error;
        for (const char* name : {"a", "b"}) {
            const QString point = root_ + "/" + name;
            QDir().mkpath(point);
            // The server may need a moment before it listens.
            bool done = false;
            for (int attempt = 0; attempt < 20 && !done; ++attempt) {
                QProcess sshfs;
                sshfs.setProcessChannelMode(QProcess::MergedChannels);
                sshfs.start(
                    "sshfs",
                    {QStringLiteral("%1@127.0.0.1:%2/share").arg(userName(), root_), point, "-o",
                     QStringLiteral("port=%1,IdentityFile=%2/userkey,BatchMode=yes,"
                                    "StrictHostKeyChecking=no,UserKnownHostsFile=/dev/"
                                    "null,ConnectTimeout=5")
                         .arg(port_)
                         .arg(root_)});
                done = sshfs.waitForFinished(20000) && sshfs.exitCode() == 0;
                if (!done) {
                    error = QString::fromLocal8Bit(sshfs.readAll());
                    QTest::qWait(200);
                }
            }
            if (!done)
                return QStringLiteral("sshfs failed: %1 / sshd: %2")
                    .arg(error, QString::fromLocal8Bit(sshd_.readAll()));
            mounted_.append(point);
        }
        return QString();
    }
    QString mountA() const { return root_ + "/a"; }
    QString mountB() const { return root_ + "/b"; }
    QString share() const { return root_ + "/share"; }

private:
    static QString userName() {
        const QString user = qEnvironmentVariable("USER");
        return user.isEmpty() ? QStringLiteral("root") : user;
    }
    QString root_;
    quint16 port_ = 0;
    QProcess sshd_;
    QStringList mounted_;
};

}  // namespace

class TestSharedFolder : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;

    bool start() {
        return startProgram(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    }
    // A mount table with the data folder on a mount of its own.
    void mountDataFolderAs(const QString& type, const QString& options) {
        QFile mounts(home->path() + "/mounts");
        QVERIFY(mounts.open(QIODevice::WriteOnly));
        mounts.write("/dev/vda / ext4 rw,relatime 0 0\n");
        mounts.write(QStringLiteral("servidor:/dados %1 %2 %3 0 0\n")
                         .arg(home->dataFolder(), type, options)
                         .toUtf8());
        mounts.close();
        DataFolder::setMountTables(home->path() + "/fstab", home->path() + "/mounts");
    }

private slots:
    void init() {
        home = std::make_unique<TempHome>();
        MessageBox::clearShownMessages();
        Clock::setNow(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    }
    void cleanup() {
        stopProgram();
        DataFolder::setMountTables("/etc/fstab", "/proc/self/mounts");
        Clock::reset();
        home.reset();
    }

    void mountRules_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("options");
        QTest::addColumn<int>("reach");
        QTest::addColumn<QString>("named");  // what the reason names
        const int carried = int(LockReach::Carried), no = int(LockReach::NotCarried),
                  unknown = int(LockReach::Unknown);
        QTest::newRow("local disk") << "ext4"
                                    << "rw,relatime" << carried << "";
        QTest::newRow("NFS with its lock service")
            << "nfs"
            << "rw,vers=3,hard,proto=tcp,local_lock=none" << carried << "";
        QTest::newRow("NFS 4") << "nfs4"
                               << "rw,vers=4.2,local_lock=none" << carried << "";
        QTest::newRow("NFS, only flock local") << "nfs"
                                               << "rw,local_lock=flock" << carried << "";
        QTest::newRow("NFS nolock") << "nfs"
                                    << "rw,vers=3,nolock,local_lock=all" << no << "nolock";
        QTest::newRow("NFS local_lock=posix") << "nfs4"
                                              << "rw,local_lock=posix" << no << "local_lock=posix";
        QTest::newRow("NFS local_lock=all") << "nfs"
                                            << "rw,local_lock=all" << no << "local_lock=all";
        QTest::newRow("NFS: an option that only looks alike") << "nfs"
                                                              << "rw,nolockd_x=1" << carried << "";
        QTest::newRow("CIFS with byte-range locks") << "cifs"
                                                    << "rw,vers=3.0,cache=strict" << carried << "";
        QTest::newRow("CIFS nobrl") << "cifs"
                                    << "rw,vers=3.0,nobrl,cache=strict" << no << "nobrl";
        QTest::newRow("SMB3 nobrl") << "smb3"
                                    << "nobrl" << no << "nobrl";
        QTest::newRow("SSHFS") << "fuse.sshfs"
                               << "rw,nosuid,nodev,user_id=0,group_id=0" << no << "SSHFS";
        QTest::newRow("SSHFS in fstab spelling") << "sshfs"
                                                 << "defaults" << no << "SSHFS";
        QTest::newRow("upper case type") << "FUSE.SSHFS"
                                         << "" << no << "SSHFS";
        QTest::newRow("rclone") << "fuse.rclone"
                                << "rw" << no << "fuse.rclone";
        QTest::newRow("WebDAV") << "davfs"
                                << "rw" << no << "davfs";
        QTest::newRow("GNOME's mounts") << "fuse.gvfsd-fuse"
                                        << "rw" << no << "gvfsd-fuse";
        QTest::newRow("VirtualBox shared folder") << "vboxsf"
                                                  << "rw" << no << "vboxsf";
        QTest::newRow("NTFS disk through FUSE") << "fuseblk"
                                                << "rw,user_id=0" << carried << "";
        QTest::newRow("encrypted home folder") << "fuse.gocryptfs"
                                               << "rw" << carried << "";
        QTest::newRow("a FUSE file system not known") << "fuse.mistery"
                                                      << "rw" << unknown << "fuse.mistery";
        QTest::newRow("plain fuse") << "fuse"
                                    << "rw" << unknown << "fuse";
        QTest::newRow("empty entry") << ""
                                     << "" << carried << "";
    }
    void mountRules() {
        QFETCH(QString, type);
        QFETCH(QString, options);
        QFETCH(int, reach);
        QFETCH(QString, named);
        const LockVerdict v = lockVerdict(type, options);
        QCOMPARE(int(v.reach), reach);
        QCOMPARE(v.reason.isEmpty(), reach == int(LockReach::Carried));
        QVERIFY2(v.reason.contains(named, Qt::CaseInsensitive), qPrintable(v.reason));
    }

    // The start on such a folder: a refusal naming the folder, why and what
    // to do, before any database is made there; a folder the program cannot
    // tell about starts with a warning.
    void startOnTheFolder_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("options");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<QString>("named");
        QTest::newRow("SSHFS") << "fuse.sshfs"
                               << "rw,user_id=0" << false << "SSHFS";
        QTest::newRow("NFS nolock") << "nfs"
                                    << "rw,nolock" << false << "nolock";
        QTest::newRow("CIFS nobrl") << "cifs"
                                    << "rw,nobrl" << false << "nobrl";
        QTest::newRow("NFS with locks") << "nfs4"
                                        << "rw,local_lock=none" << true << "";
        QTest::newRow("CIFS with locks") << "cifs"
                                         << "rw,vers=3.1.1" << true << "";
        QTest::newRow("unknown FUSE") << "fuse.mistery"
                                      << "rw" << true << "fuse.mistery";
    }
    void startOnTheFolder() {
        QFETCH(QString, type);
        QFETCH(QString, options);
        QFETCH(bool, starts);
        QFETCH(QString, named);
        QDir().mkpath(home->dataFolder());
        DataFolder::setPath(home->dataFolder());
        mountDataFolderAs(type, options);
        QCOMPARE(start(), starts);
        QCOMPARE(QFile::exists(home->dataFolder() + "/quelvarino.db"), starts);
        const auto shown = MessageBox::shownMessages();
        if (named.isEmpty()) {
            QVERIFY(shown.isEmpty());
            return;
        }
        QCOMPARE(shown.size(), 1);
        const QString text = shown[0].text;
        QVERIFY2(text.contains(home->dataFolder()), qPrintable(text));
        QVERIFY2(text.contains(named), qPrintable(text));
        QVERIFY2(text.contains("PostgreSQL") && text.contains("NFS"), qPrintable(text));
        QCOMPARE(shown[0].icon, starts ? QMessageBox::Warning : QMessageBox::Critical);
    }

    // Two workstations through two SSHFS mounts of one folder: a record
    // lock through one mount is not seen through the other, so the program
    // refuses the folder on either.
    void twoSshfsMountsOfOneFolder() {
        if (testsOnServer())
            QSKIP("the tables are on the server");
        QTemporaryDir root(QDir::tempPath() + "/sshfs-XXXXXX");
        TwoMounts mounts(root.path());
        const QString why = mounts.start();
        if (!why.isEmpty())
            QSKIP(qPrintable("no SSHFS on this machine: " + why));
        QVERIFY(QFile::exists(mounts.mountB()));

        // What the rule is for: the same record locked through both mounts.
        SqliteBackend first(mounts.mountA() + "/quelvarino.db");
        SqliteBackend second(mounts.mountB() + "/quelvarino.db");
        auto held = first.lockRecord("tbordem", 7);
        bool secondGotIt = true;
        try {
            auto alsoHeld = second.lockRecord("tbordem", 7);
        } catch (const RecordLockedError&) {
            secondGotIt = false;
        }
        QVERIFY2(secondGotIt, "the mounts share their locks: the drill shows nothing");
        held.reset();

        for (const QString& mount : {mounts.mountA(), mounts.mountB()}) {
            MessageBox::clearShownMessages();
            const QString folder = mount + "/Quelvarino";
            QDir().mkpath(folder);
            DataFolder::setPath(folder);
            QVERIFY(!start());
            const auto shown = MessageBox::shownMessages();
            QCOMPARE(shown.size(), 1);
            QVERIFY2(shown[0].text.contains(folder), qPrintable(shown[0].text));
            QVERIFY2(shown[0].text.contains("SSHFS"), qPrintable(shown[0].text));
            QVERIFY(!QFile::exists(mounts.share() + "/Quelvarino/quelvarino.db"));
        }

        // Whatever path opens the store refuses it too: a second program
        // through the store layer alone (the command line, a helper).
        for (const QString& mount : {mounts.mountA(), mounts.mountB()}) {
            QProcess writer;
            writer.start(qEnvironmentVariable("STORE_HELPER"),
                         {mount + "/Quelvarino", "insert", "CODCLI=000001,RAZAOSOCIAL=X"});
            QVERIFY(writer.waitForFinished(30000));
            const QString said = QString::fromUtf8(writer.readAllStandardOutput());
            QVERIFY2(said.startsWith("ERROR") && said.contains("SSHFS"), qPrintable(said));
            QVERIFY(!QFile::exists(mounts.share() + "/Quelvarino/quelvarino.db"));
        }

        // The restore too: from a workstation whose alias reaches the
        // folder through SSHFS it cannot see the database in use.
        DataFolder::setPath(mounts.share() + "/Quelvarino");
        QVERIFY(start());  // the server's own workstation, on its local path
        const QString database = mounts.share() + "/Quelvarino/quelvarino.db";
        QVERIFY(QFile::exists(database));
        const QByteArray before = [&] {
            QFile f(database);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        QVERIFY(QFile::copy(database, root.path() + "/copia.db"));
        AliasEntry alias;
        alias.type = "PARADOX";
        alias.params = "PATH:\"" + mounts.mountA() + "/Quelvarino\"";
        QVERIFY(AliasRegistry::add("Quelvarino", alias));
        QProcess restore;
        restore.start(qEnvironmentVariable("QUELVARINO"),
                      {"--restaurar", root.path() + "/copia.db"});
        QVERIFY(restore.waitForFinished(60000));
        const QString err = QString::fromUtf8(restore.readAllStandardError());
        QCOMPARE(restore.exitCode(), 1);
        QVERIFY2(err.contains("SSHFS") && !err.contains("restaurado"), qPrintable(err));
        QFile after(database);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), before);
    }
};

QUELVARINO_GUI_TEST_MAIN(TestSharedFolder)
#include "tst_sharedfolder.moc"
