#pragma once

#include <QList>
#include <QString>

namespace quelvarino {

// The totalizer's two work tables in <data folder>/Backup/Relatorio:
// tbrelatorio8_1, one row per client or courier, and tbrelatorio8_2, one
// row per service order. They are scratch data, filled for one report:
// emptied with one DELETE and filled in one transaction each, not with a
// durable post per row.
struct WorkDetail {
    QString codigo, cliente, comanda, solicitante, hora1, hora2, hora3, hora4;
    QString valor, taxa, totval, pagamento, data;  // stored texts ("12,5", "dd/mm/yyyy")
};

struct WorkGroup {
    QString codigo, cliente;
    QList<WorkDetail> rows;  // in the order they were written
};

class WorkTables {
public:
    static void clear();
    // The details as given; one group row per code, in the order of first
    // appearance. Throws StoreError when a work table cannot be opened.
    static void fill(const QList<WorkDetail>& details);
    // The groups in Codigo order, each with its rows; groups without rows
    // are left out.
    static QList<WorkGroup> read();
    static int detailCount();
};

}  // namespace quelvarino
