#pragma once

#include "app/program.h"
#include "core/clock.h"
#include "data/aliasregistry.h"
#include "data/database.h"
#include "data/datafolder.h"
#include "pgserver.h"
#include "widgets/messagebox.h"

#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// QUELVARINO_TEST_STORE=postgresql runs a test program on a private
// PostgreSQL server (started once for the program), each test on a new
// empty database of its own.
inline bool testsOnServer() {
    return qEnvironmentVariable("QUELVARINO_TEST_STORE") == QLatin1String("postgresql");
}
inline QString newServerDatabase() {
    static std::unique_ptr<PgServer> server;
    if (!server) {
        server = std::make_unique<PgServer>();
        if (!server->start())
            qFatal("no test server: %s", qPrintable(server->error()));
        // stopped with the program, while Qt still stands
        qAddPostRoutine([] { server.reset(); });
    }
    const QString name = server->createDatabase();
    if (name.isEmpty())
        qFatal("no test database: %s", qPrintable(server->error()));
    return server->connection(name);
}

// Gives a test its own home, configuration and runtime folders and an empty
// data folder, so no test depends on the machine it runs on.
class TempHome {
public:
    TempHome() {
        QVERIFY(dir.isValid());
        qputenv("HOME", dir.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (dir.path() + "/config").toUtf8());
        QDir().mkpath(dir.path() + "/runtime");
        qputenv("XDG_RUNTIME_DIR", (dir.path() + "/runtime").toUtf8());
        // The program refuses any short date format but dd/mm/yyyy.
        qputenv("LC_ALL", "pt_BR.UTF-8");
        quelvarino::Database::resetMain();
        quelvarino::DataFolder::reset();
        if (testsOnServer()) {
            // The workstation's own files in the home folder, the tables
            // on the server; the helper processes inherit the server.
            const QString connection = newServerDatabase();
            QDir().mkpath(dataFolder());
            quelvarino::DataFolder::setServer(dataFolder(), connection);
            qputenv("QUELVARINO_TEST_SERVER", connection.toUtf8());
        }
    }
    ~TempHome() {
        quelvarino::Database::resetMain();
        quelvarino::DataFolder::reset();
    }
    QString path() const { return dir.path(); }
    QString dataFolder() const { return dir.path() + "/Quelvarino"; }

    QTemporaryDir dir;
};

// What a test of the running program starts from: a home of its own, no
// message left from the test before, the clock at `now`, the program
// started; false when it did not start. endProgramTest() undoes it.
inline bool startProgramTest(std::unique_ptr<TempHome>& home, const QDateTime& now) {
    home = std::make_unique<TempHome>();
    MessageBox::clearShownMessages();
    Clock::setNow(now);
    return quelvarino::startProgram(*qApp);
}
inline void endProgramTest(std::unique_ptr<TempHome>& home) {
    quelvarino::stopProgram();
    Clock::reset();
    home.reset();
}

// The program started by a test (QUELVARINO) reaches the test's server
// through the alias, as another workstation does; on the embedded store it
// finds the same data folder in the test's home by itself.
inline bool shareStoreWithPrograms() {
    if (!testsOnServer())
        return true;
    quelvarino::AliasEntry alias;
    alias.type = "POSTGRESQL";
    alias.params = "DATABASE NAME:\"" + qEnvironmentVariable("QUELVARINO_TEST_SERVER") + "\"";
    return quelvarino::AliasRegistry::add("Quelvarino", alias);
}

// The text of a PDF as pdftotext lays it out.
inline QString pdfText(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The workbook as a spreadsheet program reads it (openpyxl): its sheets,
// each with its cells' types, formats, values and formulas.
inline QJsonArray sheetsOf(const QString& xlsx) {
    QProcess p;
    p.start("/usr/bin/python3", {QFINDTESTDATA("xlsxcells.py"), xlsx});
    p.waitForFinished(60000);
    const QByteArray err = p.readAllStandardError();
    if (p.exitCode() != 0)
        qWarning("%s", err.constData());
    return QJsonDocument::fromJson(p.readAllStandardOutput()).array();
}

// What an operator does on a screen, for the GUI tests.
#include "core/errors.h"
#include "data/table.h"
#include "widgets/messagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMap>
#include <QWidget>

namespace operatorDoes {

// A click on an enabled button (near its left edge, where a radio or
// check box reacts too).
inline void click(QAbstractButton* b) {
    QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(4, b->height() / 2));
}

// Arrives in a field with Tab, types, leaves it with Tab.
inline void type(QWidget* field, const QString& text) {
    field->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
}

// The records of a table, walked one by one.
inline int rowsIn(const QString& table) {
    quelvarino::Table t(table);
    t.open();
    int n = 0;
    for (t.first(); !t.eof(); t.next())
        ++n;
    return n;
}

// Edits the table's current record once another workstation's lock on it
// is gone. A server ends a killed workstation's locks when it notices the
// lost connection, a moment after the kill; the embedded store at once.
// False when the record stayed locked for five seconds.
inline bool editOnceFree(quelvarino::Table& t) {
    for (int i = 0; i < 50; ++i) {
        try {
            t.edit();
            return true;
        } catch (const quelvarino::RecordLockedError&) {
            QTest::qWait(100);
        }
    }
    return false;
}

inline QString lastMessage() {
    const auto shown = MessageBox::shownMessages();
    return shown.isEmpty() ? QString() : shown.last().text;
}

// Shows a window and waits until it is the active one, as the operator's
// click on it would make it.
inline void activate(QWidget* w) {
    w->show();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
}

// Every field of the record with this key, as text; empty when there is none.
inline QMap<QString, QString> storedRecord(const QString& table, const QString& key) {
    quelvarino::Table t(table);
    t.open();
    QMap<QString, QString> out;
    if (!t.findKey(key))
        return out;
    for (int i = 0; i < t.fieldCount(); ++i)
        out.insert(t.fieldName(i), t.fieldByName(t.fieldName(i)).asString());
    return out;
}

// The company's PIX data written over the company record, as the company
// screen keeps it.
inline void setCompanyPix(const QString& kind,
                          const QString& key,
                          const QString& name,
                          const QString& city,
                          bool print) {
    quelvarino::Table company("tbempresa");
    company.open();
    company.first();
    company.edit();
    company.fieldByName("PIXTIPO").setAsString(kind);
    company.fieldByName("PIXCHAVE").setAsString(key);
    company.fieldByName("PIXNOME").setAsString(name);
    company.fieldByName("PIXCIDADE").setAsString(city);
    company.fieldByName("PIXIMPRIME").setAsString(print ? "S" : "N");
    company.post();
}

// A record stored directly, as another workstation would.
inline void store(const QString& table, const QMap<QString, QString>& fields) {
    quelvarino::Table t(table);
    t.open();
    t.insert();
    for (auto it = fields.begin(); it != fields.end(); ++it)
        t.fieldByName(it.key()).setAsString(it.value());
    t.post();
}

// The company the report tests print under: MOTOBOY EXPRESS, São Paulo.
inline void storeCompany() {
    store("tbempresa", {{"RAZAOSOCIAL", "MOTOBOY EXPRESS LTDA"},
                        {"NOMEFAN", "MOTOBOY EXPRESS"},
                        {"ENDERECO1", "RUA DO COMERCIO, 100"},
                        {"CIDADE1", "SAO PAULO"},
                        {"UF1", "SP"}});
}

}  // namespace operatorDoes

// A main for GUI tests: the program's own application object, so errors
// that escape a handler are caught as in the program.
#include "widgets/application.h"
#define QUELVARINO_GUI_TEST_MAIN(TestObject)                   \
    int main(int argc, char* argv[]) {                         \
        qputenv("QT_QPA_PLATFORM", "offscreen");               \
        quelvarino::Application app(argc, argv);               \
        app.setAttribute(Qt::AA_Use96Dpi, true);               \
        qSetMessagePattern("%{if-warning}%{message}%{endif}"); \
        TestObject tc;                                         \
        QTEST_SET_MAIN_SOURCE_PATH                             \
        return QTest::qExec(&tc, argc, argv);                  \
    }
