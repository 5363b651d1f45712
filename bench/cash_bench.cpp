// Cash-closing benchmark: over a data folder of many orders (the store
// benchmark's generator), times the cash closing of one year written to a
// text file against a plain-SQL program that selects the same rows and
// writes the same bytes, and the services totalizer of the same year
// (selection, work tables and text file).
//
//   cash_bench [--orders N] [--folder PATH] [--keep] [--reuse]
//
// The plain program's bytes are compared with ours: a difference stops the
// benchmark.
#include "benchfolder.h"

#include "app/workfolders.h"
#include "core/errors.h"
#include "data/database.h"
#include "data/datafolder.h"
#include "data/query.h"
#include "reports/cash/cashreports.h"
#include "reports/panelfigures.h"
#include "reports/reportcatalog.h"
#include "widgets/messagebox.h"

#include <xlsxwriter.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

using namespace quelvarino;
using namespace bench;

namespace {

// ---- the plain program -------------------------------------------------------------

std::string latin1(const unsigned char* utf8) {
    std::string out;
    if (!utf8)
        return out;
    for (const unsigned char* p = utf8; *p;) {
        if (*p < 0x80) {
            out += char(*p++);
        } else if ((*p & 0xE0) == 0xC0 && p[1]) {
            const unsigned code = ((p[0] & 0x1F) << 6) | (p[1] & 0x3F);
            out += code < 256 ? char(code) : '?';
            p += 2;
        } else {
            out += '?';
            ++p;
            while ((*p & 0xC0) == 0x80)
                ++p;
        }
    }
    return out;
}

std::string padRight(std::string s, size_t w) {
    if (s.size() < w)
        s.append(w - s.size(), ' ');
    return s;
}

std::string padLeft(const std::string& s, size_t w) {
    return s.size() < w ? std::string(w - s.size(), ' ') + s : s;
}

std::string money(double v) {
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2).ptr;
    std::string s(buf, end);
    for (char& c : s) {
        if (c == '.')
            c = ',';
    }
    return s == "-0,00" ? "0,00" : s;
}

std::string isoToBr(const unsigned char* iso) {
    const std::string s = iso ? reinterpret_cast<const char*>(iso) : "";
    if (s.size() != 10)
        return std::string();
    return s.substr(8, 2) + "/" + s.substr(5, 2) + "/" + s.substr(0, 4);
}

// The cash closing by period of the payment forms other than cash, as the
// dot-matrix printer gets it, written by hand over the sqlite3 C API.
std::string plainClosing(sqlite3* db, const char* from, const char* to) {
    const std::string si = "\x0f", bold = "\x1bG", unbold = "\x1bH", wide = "\x0e", unwide = "\x14",
                      end = "\r\n";
    std::string out;
    out.reserve(64 << 20);
    auto line = [&](const std::string& codes, const std::string& text) {
        out += codes;
        out += text;
        out += end;
    };
    const std::string sep = std::string(159, '-');
    line("\x1bM", "");
    line(si + bold + wide, unwide + unbold);
    line(si, "Endereco: " + padRight("", 50) + " - Bairro: " + padRight("", 30) +
                 " - Cidade: " + padRight("", 30) + " - Estado: ");
    line(si, "CEP: " + padRight("", 9) + " - Telefone: (" + padRight("", 2) + ") " +
                 padRight("", 10) + " / ");
    line(si, "Site: " + padRight("", 40) + " - e-mail: ");
    line(si, "");
    line(si + bold + wide,
         std::string(24, ' ') + "FECHAMENTO   DO   CAIXA   POR   PERIODO" + unwide + unbold);
    line(si, "");
    line(si + bold + wide,
         std::string(27, ' ') + "DE: " + isoToBr(reinterpret_cast<const unsigned char*>(from)) +
             "    ATE: " + isoToBr(reinterpret_cast<const unsigned char*>(to)) + unwide + unbold);
    line(si, sep);
    const std::string h1 =
        "|   Data   | OS. Num. | Hor said | Hor inic | Hor final | Tot.horas | Val.hora | Hor.Nor "
        "| Hor.50% | Hor.100% |  Valor N | Valor 50% | Valor 100% | Val.Tot.OS |";
    const std::string h2 = "| Forma de Pag. | Cliente" + std::string(134, ' ') + "|";
    sqlite3_stmt* st = nullptr;
    check(sqlite3_prepare_v2(db,
                             "SELECT DATA, COMANDA, HORA1, HORA2, HORA3, HORA4, VALOR, TOTHORN, "
                             "TOTHOR50, TOTHOR100, VALORN, VALOR50, VALOR100, TOTVAL, PAGAMENTO, "
                             "CLIENTE FROM tbordem WHERE PAGAMENTO <> ? AND (DATA >= ? AND DATA "
                             "<= ?) ORDER BY DATA, COMANDA",
                             -1, &st, nullptr),
          db, "prepare closing");
    sqlite3_bind_text(st, 1, "À VISTA", -1, SQLITE_STATIC);
    sqlite3_bind_text(st, 2, from, -1, SQLITE_STATIC);
    sqlite3_bind_text(st, 3, to, -1, SQLITE_STATIC);
    auto text = [st](int c) { return latin1(sqlite3_column_text(st, c)); };
    auto value = [st](int c) {
        return sqlite3_column_type(st, c) == SQLITE_NULL ? std::string("0,00")
                                                         : money(sqlite3_column_double(st, c));
    };
    long double total = 0;
    bool headings = false;
    int first = 1, page = 1;
    const int f = 22, p = 25;
    while (sqlite3_step(st) == SQLITE_ROW) {
        if (!headings) {
            line(si, h1);
            line(si, h2);
            line(si, sep);
            headings = true;
        }
        line(si, "|" + padRight(isoToBr(sqlite3_column_text(st, 0)), 10) + "|" +
                     padRight(text(1), 10) + "|  " + padLeft(text(2), 6) + "  |  " +
                     padLeft(text(3), 6) + " |  " + padLeft(text(4), 6) + "   |  " +
                     padLeft(text(5), 6) + "   | " + padLeft(value(6), 8) + " |  " +
                     padLeft(text(7), 6) + " |  " + padLeft(text(8), 6) + " |  " +
                     padLeft(text(9), 6) + "  |" + padLeft(value(10), 10) + "|" +
                     padLeft(value(11), 10) + " | " + padLeft(value(12), 10) + " | " +
                     padLeft(value(13), 10) + " |");
        line(si, "| " + padRight(text(14), 13) + " | " + padRight(text(15), 141) + "|");
        total += sqlite3_column_double(st, 13);
        if (first < f) {
            ++first;
        } else {
            if (page == p) {
                headings = false;
                page = 1;
                line("\x0c", "");
            } else if (page == 1) {
                line("\x0c", "");
            }
            ++page;
        }
    }
    sqlite3_finalize(st);
    if (page == p)
        line("\x0c", "");
    line(si + bold + wide,
         "TOTAL GERAL DO CAIXA   :" +
             padLeft(money(static_cast<double>(std::round(total * 100) / 100)), 10) + unwide +
             unbold);
    line("\x0c", "");
    return out;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const std::string& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        throw StoreError(QStringLiteral("cannot write ") + path);
}

}  // namespace

// The closing's rows as libxlsxwriter cells with no report behind them:
// per row the number and client as text, the date, seven durations, seven
// amounts and the requester, as the closing's sheet has them.
static void librarySheet(const QString& path, int rows) {
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    options.use_zip64 = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    if (!book)
        throw StoreError(QStringLiteral("the library's workbook was not created"));
    lxw_format* money = workbook_add_format(book);
    format_set_num_format(money, "#,##0.00");
    lxw_format* date = workbook_add_format(book);
    format_set_num_format(date, "dd/mm/yyyy");
    lxw_format* hours = workbook_add_format(book);
    format_set_num_format(hours, "[h]:mm");
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Fechamento");
    char number[16];
    for (int r = 0; r < rows; ++r) {
        const lxw_row_t row = lxw_row_t(r + 5);
        std::snprintf(number, sizeof number, "%010d", r);
        worksheet_write_string(sheet, row, 0, number, nullptr);
        lxw_datetime day = {2020, 1 + r % 12, 1 + r % 28, 0, 0, 0};
        worksheet_write_datetime(sheet, row, 1, &day, date);
        worksheet_write_string(sheet, row, 2, "LOGISTICA CARLA FERREIRA 2898", nullptr);
        for (lxw_col_t c = 3; c < 7; ++c)
            worksheet_write_number(sheet, row, c, (7 + c + r % 5) / 24.0, hours);
        worksheet_write_number(sheet, row, 7, 30, money);
        for (lxw_col_t c = 8; c < 11; ++c)
            worksheet_write_number(sheet, row, c, c == 8 ? (r % 9) / 24.0 : 0, hours);
        for (lxw_col_t c = 11; c < 14; ++c)
            worksheet_write_number(sheet, row, c, c == 11 ? 135 + r % 7 : 0, money);
        worksheet_write_string(sheet, row, 14, "SABRINA PEREIRA", nullptr);
        for (lxw_col_t c = 15; c < 19; ++c)
            worksheet_write_number(sheet, row, c, c * 1.5 + r % 3, money);
    }
    if (workbook_close(book) != LXW_NO_ERROR)
        throw StoreError(QStringLiteral("the library's workbook was not written"));
}

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::Options options = bench::parseOptions(app.arguments());
    const QString folder = options.folder;
    const QString only = options.only;
    MessageBox::setTestMode(true);

    try {
        bench::prepareFolder(options);
        prepareWorkFolders(folder);
        const QString file = DataFolder::mainDatabaseFile();

        // The year 2020 of the generated ten years.
        const char* from = "2020-01-01";
        const char* to = "2020-12-31";
        sqlite3* db = nullptr;
        check(sqlite3_open(file.toUtf8().constData(), &db), db, "open");
        auto count = [db](const char* sql) {
            sqlite3_stmt* st = nullptr;
            check(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), db, sql);
            sqlite3_step(st);
            const int n = sqlite3_column_int(st, 0);
            sqlite3_finalize(st);
            return n;
        };
        const int yearOrders = count(
            "SELECT COUNT(*) FROM tbordem WHERE DATA >= '2020-01-01' AND DATA <= '2020-12-31'");
        const int closingRows = count(
            "SELECT COUNT(*) FROM tbordem WHERE DATA >= '2020-01-01' AND DATA <= "
            "'2020-12-31' AND PAGAMENTO <> 'À VISTA'");
        std::printf("the year 2020: %d orders, %d of them not paid in cash\n\n", yearOrders,
                    closingRows);

        // The reports as the command line runs them: criteria in, no screen.
        const ReportDefinition& closingEntry = cashByPeriodReport();
        const ReportDefinition& totalizerEntry = totalizerReport();
        Criteria year;
        year.from = QDate(2020, 1, 1);
        year.to = QDate(2020, 12, 31);
        Criteria closing = year;
        closing.payment = Payment::Outros;
        closing.order = 1;  // "Data"
        Criteria totalizer = year;
        totalizer.groupBy = GroupBy::Clients;
        totalizer.payment = Payment::Total;
        const QString ours = folder + "/closing-ours";
        const QString theirsFile = folder + "/closing-plain.txt";

        std::printf("%-52s %10s %10s %7s\n", "measurement", "ours (ms)", "plain (ms)", "ratio");
        std::vector<double> mine, plain;
        for (int i = 0; i < 5 && only != "totalizer"; ++i) {
            mine.push_back(timeMs([&] {
                if (closingEntry.check(closing).refused())
                    throw StoreError(QStringLiteral("the closing found nothing"));
                PrintRequest r;
                r.output = Output::TextFile;
                r.path = ours;
                r.criteria = closing;
                ReportCatalog::print(closingEntry, r);
            }));
            plain.push_back(timeMs([&] { writeFile(theirsFile, plainClosing(db, from, to)); }));
        }
        const QByteArray a = readFile(ours + ".txt"), b = readFile(theirsFile);
        if (only.isEmpty() && a != b) {
            int at = 0;
            while (at < a.size() && at < b.size() && a[at] == b[at])
                ++at;
            std::fprintf(stderr, "the two closings differ at byte %d (%lld and %lld bytes)\n", at,
                         qint64(a.size()), qint64(b.size()));
            return 1;
        }
        std::printf("%-52s %10.1f %10.1f %7.2f\n", "cash closing of a year to a text file",
                    median(mine), median(plain), median(mine) / median(plain));
        std::printf("  (%d rows, %lld bytes, the same in both)\n", closingRows, qint64(a.size()));

        // The same closing as a spreadsheet: at most twice the text file's
        // time, and rows go to disk as they are written (constant memory).
        const long peakBeforeSheet = peakMemoryMb();
        std::vector<double> sheet;
        for (int i = 0; i < 5 && only != "totalizer"; ++i) {
            sheet.push_back(timeMs([&] {
                if (closingEntry.check(closing).refused())
                    throw StoreError(QStringLiteral("the closing found nothing"));
                PrintRequest r;
                r.output = Output::Sheet;
                r.path = ours;
                r.criteria = closing;
                ReportCatalog::print(closingEntry, r);
            }));
        }
        if (!sheet.empty()) {
            std::printf("%-52s %10.1f %10s %7.2f\n", "cash closing of a year to a spreadsheet",
                        median(sheet), "(text)", median(sheet) / median(mine));
            std::printf("  (%d rows, %lld bytes; peak memory %ld MB before, %ld MB after)\n",
                        closingRows, qint64(QFileInfo(ours + ".xlsx").size()), peakBeforeSheet,
                        peakMemoryMb());
            // What the library alone takes for cells of the same kinds, no
            // store and no report around it: the floor under the line above.
            std::vector<double> library;
            for (int i = 0; i < 3; ++i)
                library.push_back(
                    timeMs([&] { librarySheet(folder + "/library-alone.xlsx", closingRows); }));
            std::printf("%-52s %10.1f %10s %7.2f\n", "  libxlsxwriter alone, the same cells",
                        median(library), "(text)", median(library) / median(mine));
        }

        std::vector<double> select, print;
        for (int i = 0; i < 3 && only != "closing"; ++i) {
            ReportData data;
            select.push_back(timeMs([&] {
                if (totalizerEntry.check(totalizer).refused())
                    throw StoreError(QStringLiteral("the totalizer found nothing"));
                data = totalizerEntry.collect(totalizer);  // the work tables filled
            }));
            print.push_back(timeMs([&] {
                writeFile(folder + "/totalizer.txt", totalizerEntry.text(data).toStdString());
            }));
        }
        std::printf("%-52s %10.1f\n", "totalizer: selection and work tables", median(select));
        std::printf("%-52s %10.1f\n", "totalizer: text file from the work tables", median(print));
        std::printf("%-52s %10.1f\n", "totalizer: both", median(select) + median(print));
        std::printf("  (%d orders in the work tables)\n", yearOrders);

        // The management panel over every order of the folder, read a slice
        // at a time as the screen reads it: the longest slice is the longest
        // the window waits for its next look at the keyboard and mouse.
        if (only.isEmpty() || only == "panel") {
            std::vector<double> slices;
            PanelReader reader(QDate(2016, 1, 1), QDate(2026, 12, 31));
            const double whole = timeMs([&] {
                bool done = false;
                while (!done) {
                    slices.push_back(timeMs([&] { done = reader.step(5000); }));
                }
            });
            std::printf("%-52s %10.1f\n", "panel: figures of every order (all years)", whole);
            const auto longest = std::max_element(slices.begin(), slices.end());
            std::printf(
                "  (%d orders in %zu slices; longest slice %.1f ms, number %d; median %.1f ms)\n",
                reader.read(), slices.size(), *longest, int(longest - slices.begin()) + 1,
                median(slices));
        }

        std::printf("\npeak memory: %ld MB\n", peakMemoryMb());
        sqlite3_close(db);
        Database::resetMain();
        bench::removeFolder(options);
    } catch (const Error& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}
