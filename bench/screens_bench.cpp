// What operators wait for, through the real screens on a large data folder
// (offscreen, in one process), each beside the plain work that does the
// same: an order typed from Novo to Gravar (durable), the order search
// opened on the newest order and positioned at each keystroke, the listing
// of every client as a page report (PDF) and as a text file, and the
// process's peak memory through all of it.
#include "app/mainwindow.h"
#include "app/program.h"
#include "benchfolder.h"
#include "data/database.h"
#include "data/datafolder.h"
#include "orders/ordersearch.h"
#include "orders/serviceorder.h"
#include "reportscreens/printdialog.h"
#include "widgets/application.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/screen.h"
#include "widgets/testseams.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <cstdio>

using namespace quelvarino;

namespace {

void click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton);
}
void type(QWidget* field, const QString& text) {
    field->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
}
void row(const char* what, double ours, double plain, const char* target) {
    if (plain > 0)
        std::printf("%-58s %9.2f %9.2f %6.2f  %s\n", what, ours, plain, ours / plain, target);
    else
        std::printf("%-58s %9.2f %9s %6s  %s\n", what, ours, "", "", target);
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
    QDir().mkpath(home.path() + "/runtime");
    QFile::setPermissions(home.path() + "/runtime",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", (home.path() + "/runtime").toUtf8());
    qputenv("LC_ALL", "pt_BR.UTF-8");
    Application app(argc, argv);
    MessageBox::setTestMode(true);
    bench::Options options = bench::parseOptions(app.arguments(), 30);
    bench::prepareFolder(options);
    const QString folder = options.folder;
    const int runs = options.runs;
    const QString database = DataFolder::mainDatabaseFile();
    const QString pdf = home.path() + "/listagem.pdf";
    PrintPreview::setTestMode(true, pdf);
    std::printf("data folder %s; medians of %d runs where repeated\n\n", qPrintable(folder), runs);
    std::printf("%-58s %9s %9s %6s  %s\n", "measurement", "ours ms", "plain ms", "ratio", "target");

    const double startMs = bench::timeMs([&] { startProgram(app); });
    row("start in this process (screens, data module, window)", startMs, 0, "");
    // The checks beside the start (the quick check of the database, and the
    // day's backup at the first start of a day) read the whole file on their
    // own thread; the screens are timed after them, as on any later start.
    const double checksMs = bench::timeMs([] { waitForStartChecks(); });
    row("checks beside the start (quick check, day's backup)", checksMs, 0, "");

    // `--only order|search|listing` runs one part alone (for profiling).
    auto want = [&](const char* part) {
        return options.only.isEmpty() || options.only == QLatin1String(part);
    };
    sqlite3* db = nullptr;
    bench::check(sqlite3_open(database.toUtf8().constData(), &db), db, "open");
    sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);

    // An order from Novo to Gravar, typed as the operator does.
    Quelvarino000_0->menuAction("OrdemdeServio1")->trigger();
    auto* os = Screens::get<TQuelvarino0021_0>("Quelvarino0021_0");
    QApplication::setActiveWindow(os);
    std::vector<double> orderMs;
    for (int i = 0; want("order") && i < runs; ++i) {
        orderMs.push_back(bench::timeMs([&] {
            click(os->Btn_Novo);
            type(os->Edcodcli, QString::number(1 + i % 100));
            type(os->Edhora1, "0800");
            type(os->Edhora2, "0830");
            type(os->Edhora3, "1000");
            type(os->Edcodmot, QString::number(1 + i % 50));
            click(os->Btn_Gravar);
        }));
    }
    if (!MessageBox::shownMessages().isEmpty())
        std::printf("message: %s\n", qPrintable(MessageBox::shownMessages().last().text));
    // The plain work: one durable insert of an order row.
    std::vector<double> plainPost;
    for (int i = 0; want("order") && i < runs; ++i) {
        const QByteArray sql = QStringLiteral(
                                   "INSERT INTO tbordem (COMANDA, CLIENTE, DATA) VALUES "
                                   "('9%1', 'PLAIN', '2026-12-09')")
                                   .arg(i, 9, 10, QChar('0'))
                                   .toUtf8();
        plainPost.push_back(bench::timeMs([&] {
            bench::check(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), db, "post");
        }));
    }
    sqlite3_exec(db, "DELETE FROM tbordem WHERE CLIENTE = 'PLAIN'", nullptr, nullptr, nullptr);
    if (want("order"))
        row("order screen, Novo to Gravar done (durable)", bench::median(orderMs),
            bench::median(plainPost), "< 5 ms + one sync");

    // The order search: opened positioned on the newest order, then a
    // client's name typed letter by letter.
    auto* search = Screens::get<TQuelvarino0021_1>("Quelvarino0021_1");
    std::vector<double> openMs, keyMs;
    const QString name = bench::clientName(1234);
    for (int i = 0; want("search") && i < std::max(3, runs / 5); ++i) {
        openMs.push_back(bench::timeMs([&] {
            click(os->Btn_Consultar);
            QCoreApplication::processEvents();
        }));
        // On the box at the radio's left, where the operator clicks.
        auto* byClient = search->findChild<QRadioButton*>("Rbcliente");
        QTest::mouseClick(byClient, Qt::LeftButton, {}, QPoint(6, byClient->height() / 2));
        if (!byClient->isChecked())
            std::printf("the search by client was not chosen\n");
        search->Ed_Desc->setFocus();
        for (const QChar c : name)
            keyMs.push_back(bench::timeMs([&] { QTest::keyClick(search->Ed_Desc, c.toLatin1()); }));
        search->close();
    }
    std::vector<double> plainFind;
    for (int i = 0; want("search") && i < runs; ++i) {
        plainFind.push_back(bench::timeMs([&] {
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(db,
                               "SELECT rowid FROM tbordem WHERE CLIENTE >= ? ORDER BY CLIENTE, "
                               "rowid LIMIT 1",
                               -1, &st, nullptr);
            const QByteArray n = name.left(1 + i % name.size()).toUtf8();
            sqlite3_bind_text(st, 1, n.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_step(st);
            sqlite3_finalize(st);
        }));
    }
    if (want("search")) {
        row("order search opened on the newest order", bench::median(openMs), 0, "< 50 ms");
        std::sort(keyMs.begin(), keyMs.end());
        row("order search, each keystroke positioned (median)", bench::median(keyMs),
            bench::median(plainFind), "< 50 ms");
        row("order search, slowest keystroke", keyMs.back(), 0, "< 50 ms");
    }
    os->close();

    // The listing of every client, as a page report and as a text file.
    if (!want("listing")) {
        sqlite3_close(db);
        stopProgram();
        bench::removeFolder(options);
        return 0;
    }
    Quelvarino000_0->menuAction("Clientes1")->trigger();
    QWidget* clients = Screens::find("Quelvarino0011_0");
    click(clients->findChild<QPushButton*>("Btn_Imprimir"));
    auto* d = Screens::get<PrintDialog>("Quelvarino0011_2");
    d->setEdtip(0);
    click(d->Ed1);
    const double pdfMs = bench::timeMs([&] { click(d->Btn_Imprimir); });
    const qint64 pdfBytes = QFileInfo(pdf).size();
    d->setEdtip(d->fileItem());
    d->Edcam->setText(home.path() + "/cadcli");
    const double textMs = bench::timeMs([&] { click(d->Btn_Imprimir); });
    if (!MessageBox::shownMessages().isEmpty())
        std::printf("message: %s\n", qPrintable(MessageBox::shownMessages().last().text));
    // Plain: the same clients drawn on PDF pages, and written as text lines.
    auto eachClient = [db](const std::function<void(const QStringList&)>& use) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT CODCLI, RAZAOSOCIAL, CNPJ, CIDADE1, UF1, DATA FROM tbclientes "
                           "ORDER BY CODCLI",
                           -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList fields;
            for (int c = 0; c < 6; ++c)
                fields.append(
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c))));
            use(fields);
        }
        sqlite3_finalize(st);
    };
    const double plainPdf = bench::timeMs([&] {
        QPdfWriter w(home.path() + "/plain.pdf");
        w.setPageSize(QPageSize(QPageSize::A4));
        QPainter p(&w);
        const int line = w.height() / 60;
        int y = line;
        eachClient([&](const QStringList& f) {
            for (int c = 0; c < 3; ++c) {
                if (y > w.height() - line) {
                    w.newPage();
                    y = line;
                }
                p.drawText(0, y, f[c * 2] + "  " + f[c * 2 + 1]);
                y += line;
            }
        });
    });
    const double plainText = bench::timeMs([&] {
        QFile f(home.path() + "/plain.txt");
        f.open(QIODevice::WriteOnly);
        QTextStream out(&f);
        eachClient([&](const QStringList& fields) {
            for (const QString& field : fields)
                out << field << '\n';
        });
    });
    sqlite3_close(db);
    if (options.keep) {  // the listing kept beside the data for a look
        QFile::remove(folder + "/listagem.pdf");
        QFile::copy(pdf, folder + "/listagem.pdf");
    }
    std::printf("(client listing PDF: %lld bytes)\n", pdfBytes);
    row("client listing as a page report (PDF)", pdfMs, plainPdf, "< 3000 ms");
    row("client listing as a text file", textMs, plainText, "< 300 ms");
    std::printf("\npeak memory of the process: %ld MB (target < 150 MB)\n", bench::peakMemoryMb());

    stopProgram();
    bench::removeFolder(options);
    return 0;
}
