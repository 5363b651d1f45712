// Import benchmark: writes an old data folder's order table (tbordem.db,
// Paradox, with pxlib) of N orders, then imports it into a new data folder
// and times it, beside reading the same records with pxlib alone.
//
//   import_bench [--orders N] [--folder PATH] [--keep] [--reuse]
//
// PATH is the new data folder; the old one is PATH-antigo. --reuse takes
// an old folder kept by an earlier run (pxlib writes about a thousand
// records a second, so a million take a while to prepare).
#include "benchfolder.h"
#include "core/errors.h"
#include "data/database.h"
#include "data/datafolder.h"
#include "data/schema.h"
#include "import/paradoximport.h"

extern "C" {
#include <paradox.h>
}
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <cstring>

using namespace quelvarino;

namespace {

struct OldField {
    const char* name;
    char type;
    int length;
};

const OldField kOrderFields[] = {{"COMANDA", pxfAlpha, 10},
                                 {"CODCLI", pxfAlpha, 6},
                                 {"CLIENTE", pxfAlpha, 80},
                                 {"SOLICITANTE", pxfAlpha, 55},
                                 {"HORA1", pxfAlpha, 5},
                                 {"HORA2", pxfAlpha, 5},
                                 {"HORA3", pxfAlpha, 5},
                                 {"HORA4", pxfAlpha, 5},
                                 {"VALOR", pxfCurrency, 8},
                                 {"TAXAPERIM", pxfCurrency, 8},
                                 {"SEGURO", pxfCurrency, 8},
                                 {"TOTVAL", pxfCurrency, 8},
                                 {"CODMOT", pxfAlpha, 6},
                                 {"MOTOBOY", pxfAlpha, 60},
                                 {"VALMOT", pxfCurrency, 8},
                                 {"TOTVALMOT", pxfCurrency, 8},
                                 {"MARCA", pxfAlpha, 20},
                                 {"MODELO", pxfAlpha, 20},
                                 {"ANO", pxfAlpha, 9},
                                 {"PLACAM", pxfAlpha, 8},
                                 {"VEICULO", pxfAlpha, 40},
                                 {"PLACA", pxfAlpha, 10},
                                 {"PAGAMENTO", pxfAlpha, 8},
                                 {"DESCPAG", pxfAlpha, 10},
                                 {"OBSERVACAO", pxfMemoBLOb, 20},
                                 {"DATA", pxfDate, 4},
                                 {"TOTHORN", pxfAlpha, 6},
                                 {"TOTHOR50", pxfAlpha, 6},
                                 {"TOTHOR100", pxfAlpha, 6},
                                 {"VALORN", pxfCurrency, 8},
                                 {"VALOR50", pxfCurrency, 8},
                                 {"VALOR100", pxfCurrency, 8},
                                 {"PORCTAXA", pxfNumber, 8},
                                 {"TOTTAXA", pxfCurrency, 8},
                                 {"TOTTAXAM", pxfCurrency, 8}};

void writeOrders(const QString& file, int orders) {
    pxdoc_t* px = PX_new();
    const int n = int(sizeof(kOrderFields) / sizeof(kOrderFields[0]));
    auto* fields = static_cast<pxfield_t*>(px->malloc(px, sizeof(pxfield_t) * n, "bench"));
    for (int i = 0; i < n; ++i) {
        fields[i].px_fname = static_cast<char*>(px->malloc(px, 20, "bench"));
        std::strcpy(fields[i].px_fname, kOrderFields[i].name);
        fields[i].px_ftype = kOrderFields[i].type;
        fields[i].px_flen = kOrderFields[i].length;
        fields[i].px_fdc = 0;
    }
    if (PX_create_file(px, fields, n, QFile::encodeName(file).constData(), pxfFileTypNonIndexDB) <
        0) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(file));
        std::exit(1);
    }
    PX_set_blob_file(px, QFile::encodeName(QString(file).replace(".db", ".mb")).constData());
    QByteArray record(PX_get_recordsize(px), '\0');
    for (int r = 0; r < orders; ++r) {
        record.fill('\0');
        char* p = record.data();
        auto alpha = [&](const QByteArray& text, int len) {
            std::memcpy(p, text.constData(), std::min<int>(len, text.size()));
        };
        for (int i = 0; i < n; ++i) {
            const OldField& f = kOrderFields[i];
            const QByteArray name(f.name);
            if (name == "COMANDA")
                alpha(QByteArray::number(r + 1).rightJustified(10, '0'), f.length);
            else if (name == "CODCLI")
                alpha(QByteArray::number(1 + r % 5000).rightJustified(6, '0'), f.length);
            else if (name == "CLIENTE")
                alpha("CLIENTE N\xBA " + QByteArray::number(1 + r % 5000) + " COMERCIO E ENTREGAS",
                      f.length);
            else if (name == "CODMOT")
                alpha(QByteArray::number(1 + r % 500).rightJustified(6, '0'), f.length);
            else if (name == "MOTOBOY")
                alpha("JO\xC3O DA MOTO " + QByteArray::number(1 + r % 500), f.length);
            else if (name == "HORA2")
                alpha("08:00", f.length);
            else if (name == "HORA3")
                alpha("10:30", f.length);
            else if (name == "HORA4")
                alpha("02:30", f.length);
            else if (name == "PAGAMENTO")
                alpha(r % 3 ? "FATURADO" : "\xC0 VISTA", f.length);
            else if (name == "TOTHORN")
                alpha("002:30", f.length);
            else if (name == "OBSERVACAO") {
                if (r % 50 == 0) {
                    QByteArray note =
                        "Entregar na portaria, falar com o sr. Jos\xE9; "
                        "conferir as notas antes de sair.";
                    PX_put_data_blob(px, p, f.length, note.data(), note.size());
                }
            } else if (name == "DATA") {
                const QDate d = QDate(2016, 1, 1).addDays(r / 300);
                PX_put_data_long(px, p, 4,
                                 PX_GregorianToSdn(d.year(), d.month(), d.day()) - 1721425);
            } else if (f.type == pxfCurrency) {
                if (name == "VALOR" || name == "TOTVAL" || name == "VALORN")
                    PX_put_data_double(px, p, 8, 30.0 + (r % 700) / 100.0);
            }
            p += f.length;
        }
        PX_put_record(px, record.data());
        if (r % 50000 == 0 && r > 0) {
            std::printf("  %d orders written\n", r);
            std::fflush(stdout);
        }
    }
    PX_close(px);
    PX_delete(px);
}

// Every record read and every field converted by pxlib alone.
int readAll(const QString& file) {
    pxdoc_t* px = PX_new();
    PX_open_file(px, QFile::encodeName(file).constData());
    const int records = PX_get_num_records(px), fields = PX_get_num_fields(px);
    QByteArray record(PX_get_recordsize(px), '\0');
    int read = 0;
    for (int r = 0; r < records; ++r) {
        if (!PX_get_record(px, r, record.data()))
            break;
        char* p = record.data();
        for (int i = 0; i < fields; ++i) {
            const pxfield_t* f = PX_get_field(px, i);
            if (f->px_ftype == pxfAlpha) {
                char* text = nullptr;
                if (PX_get_data_alpha(px, p, f->px_flen, &text) > 0)
                    px->free(px, text);
            } else if (f->px_ftype == pxfCurrency || f->px_ftype == pxfNumber) {
                double d = 0;
                PX_get_data_double(px, p, f->px_flen, &d);
            } else if (f->px_ftype == pxfDate) {
                long l = 0;
                PX_get_data_long(px, p, f->px_flen, &l);
            }
            p += f->px_flen;
        }
        ++read;
    }
    PX_close(px);
    PX_delete(px);
    return read;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    bench::Options o = bench::parseOptions(app.arguments());
    const QString old = o.folder + "-antigo";
    const QString oldFile = old + "/tbordem.db";
    try {
        if (!(o.reuse && QFileInfo::exists(oldFile))) {
            QDir(old).removeRecursively();
            QDir().mkpath(old);
            std::printf("writing %d orders into %s with pxlib\n", o.orders, qPrintable(oldFile));
            const double ms = bench::timeMs([&] { writeOrders(oldFile, o.orders); });
            std::printf("written in %.1f s\n", ms / 1000);
        }
        QDir(o.folder).removeRecursively();  // the new folder is always made again
        QDir().mkpath(o.folder);
        DataFolder::setPath(o.folder);
        DataFolder::prepare();
        Database::resetMain();

        int plainRows = 0;
        const double plainMs = bench::timeMs([&] { plainRows = readAll(oldFile); });
        ImportReport report;
        const double ms = bench::timeMs([&] {
            ParadoxImport import(old, false);
            report = import.importTable(*schema::findMainTable("tbordem"));
        });
        if (!report.imported || report.stored != plainRows) {
            std::fprintf(stderr, "import: %s (%d stored of %d)\n", qPrintable(report.failure),
                         report.stored, plainRows);
            return 1;
        }
        std::printf("\n%-52s %10s %9s\n", "measurement", "ms", "rows/s");
        std::printf("%-52s %10.0f %9.0f\n", "pxlib alone: every record read and converted", plainMs,
                    plainRows / (plainMs / 1000));
        std::printf("%-52s %10.0f %9.0f\n", "import of tbordem into the store (one transaction)",
                    ms, report.stored / (ms / 1000));
        std::printf("(%d orders, %lld MB of Paradox table)\n", report.stored,
                    QFileInfo(oldFile).size() >> 20);
        std::printf("peak memory: %ld MB\n", bench::peakMemoryMb());
        Database::resetMain();
        if (!o.keep && !o.reuse) {
            QDir(old).removeRecursively();
            QDir(o.folder).removeRecursively();
        }
    } catch (const Error& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}
