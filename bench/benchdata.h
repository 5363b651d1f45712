// What the benchmarks share: the data-folder generator and the timing
// helpers.
#pragma once

#include <sqlite3.h>
#include <sys/resource.h>
#include <QDate>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace bench {

inline const char* const kFirst[] = {"ANA",     "BRUNO",   "CARLA",   "DIEGO",   "EDUARDO",
                                     "FABIANA", "GUSTAVO", "HELENA",  "IGOR",    "JULIANA",
                                     "KLEBER",  "LUCIANA", "MARCOS",  "NATALIA", "OTAVIO",
                                     "PAULA",   "RAFAEL",  "SABRINA", "TIAGO",   "VANESSA"};
inline const char* const kLast[] = {"SILVA",     "SANTOS",  "OLIVEIRA",   "SOUZA",
                                    "LIMA",      "PEREIRA", "FERREIRA",   "COSTA",
                                    "RODRIGUES", "ALMEIDA", "NASCIMENTO", "CARVALHO"};
inline const char* const kKind[] = {"TRANSPORTES", "COMERCIO", "LOGISTICA", "DISTRIBUIDORA",
                                    "FARMACIA",    "GRAFICA",  "ADVOCACIA", "CONTABILIDADE"};
inline const char* const kPay[] = {"À VISTA", "FATURADO", "OUTROS"};

inline void check(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
        std::exit(1);
    }
}

inline QString code(qint64 n, int width) {
    return QString::number(n).rightJustified(width, '0');
}

inline QString clientName(int i) {
    return QString("%1 %2 %3 %4")
        .arg(kKind[i % 8], kFirst[(i / 8) % 20], kLast[(i / 160) % 12])
        .arg(i);
}

// Fills the database with plain SQL in one transaction (this is set-up, not
// what is measured).
inline void generate(const QString& file, int clients, int couriers, int orders) {
    sqlite3* db = nullptr;
    check(sqlite3_open(file.toUtf8().constData(), &db), db, "open");
    check(sqlite3_exec(db, "PRAGMA synchronous=OFF; BEGIN", nullptr, nullptr, nullptr), db,
          "begin");
    QRandomGenerator rng(20261208);

    sqlite3_stmt* st = nullptr;
    check(sqlite3_prepare_v2(db,
                             "INSERT INTO tbclientes (CODCLI, RAZAOSOCIAL, CNPJ, CIDADE1, UF1, "
                             "SITUACAO, VALOR, DATA) VALUES (?,?,?,?,?,?,?,?)",
                             -1, &st, nullptr),
          db, "prepare clients");
    for (int i = 1; i <= clients; ++i) {
        const QByteArray c = code(i, 6).toUtf8(), name = clientName(i).toUtf8();
        sqlite3_bind_text(st, 1, c.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, "12.345.678/0001-95", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 4, "SAO PAULO", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 5, "SP", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 6, "ATIVO", -1, SQLITE_STATIC);
        sqlite3_bind_double(st, 7, 20 + rng.bounded(40));
        sqlite3_bind_text(st, 8, "2020-01-01", -1, SQLITE_STATIC);
        check(sqlite3_step(st), db, "insert client");
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);

    check(sqlite3_prepare_v2(db,
                             "INSERT INTO tbmotociclista (COD, NOME, VALOR, SALARIO, SITUACAO, "
                             "MARCA, MODELO, ANO, PLACA, DATA) VALUES (?,?,?,?,?,?,?,?,?,?)",
                             -1, &st, nullptr),
          db, "prepare couriers");
    for (int i = 1; i <= couriers; ++i) {
        const QByteArray c = code(i, 6).toUtf8();
        const QByteArray name =
            QString("%1 %2 %3").arg(kFirst[i % 20], kLast[(i / 20) % 12]).arg(i).toUtf8();
        sqlite3_bind_text(st, 1, c.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(st, 3, 10 + rng.bounded(10));
        sqlite3_bind_double(st, 4, i % 5 == 0 ? 1500 : 0);
        sqlite3_bind_text(st, 5, "ATIVO", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 6, "HONDA", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 7, "CG 150", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 8, "2018/2019", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 9, "ABC-1234", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 10, "2020-01-01", -1, SQLITE_STATIC);
        check(sqlite3_step(st), db, "insert courier");
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);

    check(
        sqlite3_prepare_v2(
            db,
            "INSERT INTO tbordem (COMANDA, CODCLI, CLIENTE, SOLICITANTE, HORA1, HORA2, HORA3, "
            "HORA4, VALOR, TAXAPERIM, SEGURO, TOTVAL, CODMOT, MOTOBOY, VALMOT, TOTVALMOT, "
            "MARCA, MODELO, ANO, PLACAM, VEICULO, PLACA, PAGAMENTO, DESCPAG, OBSERVACAO, DATA, "
            "TOTHORN, TOTHOR50, TOTHOR100, VALORN, VALOR50, VALOR100, PORCTAXA, TOTTAXA, TOTTAXAM) "
            "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
            -1, &st, nullptr),
        db, "prepare orders");
    const QDate start(2016, 1, 1);
    const int days = 3650;
    for (int i = 1; i <= orders; ++i) {
        const int cli = 1 + rng.bounded(clients);
        const int mot = 1 + rng.bounded(couriers);
        const int h = 7 + rng.bounded(10);
        const int hours = 2 + rng.bounded(5);
        const double price = 30;
        const QByteArray
            comanda = code(i, 10).toUtf8(),
            codcli = code(cli, 6).toUtf8(), cliente = clientName(cli).toUtf8(),
            codmot = code(mot, 6).toUtf8(),
            motoboy =
                QString("%1 %2 %3").arg(kFirst[mot % 20], kLast[(mot / 20) % 12]).arg(mot).toUtf8(),
            solic = QString("%1 %2").arg(kFirst[i % 20], kLast[i % 12]).toUtf8(),
            h1 = QString("%1:00").arg(h - 1, 2, 10, QChar('0')).toUtf8(),
            h2 = QString("%1:00").arg(h, 2, 10, QChar('0')).toUtf8(),
            h3 = QString("%1:30").arg(h + hours, 2, 10, QChar('0')).toUtf8(),
            h4 = QString("%1:30").arg(hours, 2, 10, QChar('0')).toUtf8(),
            date = start.addDays(qint64(i) * days / orders).toString(Qt::ISODate).toUtf8();
        int k = 1;
        auto text = [&](const char* v) { sqlite3_bind_text(st, k++, v, -1, SQLITE_TRANSIENT); };
        auto num = [&](double v) { sqlite3_bind_double(st, k++, v); };
        text(comanda.constData());
        text(codcli.constData());
        text(cliente.constData());
        text(solic.constData());
        text(h1.constData());
        text(h2.constData());
        text(h3.constData());
        text(h4.constData());
        num(price);
        num(5);
        num(0);
        num(price * (hours + 0.5) + 5);
        text(codmot.constData());
        text(motoboy.constData());
        num(0);
        num(12 * (hours + 0.5));
        text("HONDA");
        text("CG 150");
        text("2018/2019");
        text("ABC-1234");
        text(i % 3 ? "" : "FIAT UNO");
        text(i % 3 ? "" : "XYZ9876");
        text(kPay[i % 3]);
        text("");
        text(i % 10 ? "" : "ENTREGA DE DOCUMENTOS NO CENTRO");
        text(date.constData());
        text(QString("%1:30").arg(hours, 3, 10, QChar('0')).toUtf8().constData());
        text("000:00");
        text("000:00");
        num(price * (hours + 0.5));
        num(0);
        num(0);
        num(10);
        num(5);
        num(2);
        check(sqlite3_step(st), db, "insert order");
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    check(sqlite3_exec(db, "COMMIT; ANALYZE", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

inline double timeMs(const std::function<void()>& f) {
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e6;
}

inline long peakMemoryMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

}  // namespace bench
