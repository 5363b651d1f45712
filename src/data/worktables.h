#pragma once

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <memory>

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

class Database;
class Statement;

// Fills the work tables row by row inside one transaction per table;
// nothing is kept unless commit() is called.
class WorkTableFill {
public:
    WorkTableFill();  // throws StoreError when a work table cannot be opened
    ~WorkTableFill();
    // One detail row; its group row is written with the first detail of
    // its code.
    void add(const WorkDetail& detail);
    void commit();

private:
    std::shared_ptr<Database> groups_, rows_;
    std::unique_ptr<Statement> insertRow_, insertGroup_;
    QHash<QString, bool> seen_;
    bool open_ = false;
};

class WorkTables {
public:
    static void clear();
    // The details as given, in one transaction.
    static void fill(const QList<WorkDetail>& details);
    // The groups in Codigo order, each with its rows in the order they were
    // written; groups without rows are left out. `walk` reads them one at a
    // time (a year of orders is never held in memory), `read` all at once.
    static void walk(const std::function<void(const QString& code, const QString& name)>& group,
                     const std::function<void(const WorkDetail&)>& row,
                     const std::function<void()>& groupEnd);
    static QList<WorkGroup> read();
    static int detailCount();
};

}  // namespace quelvarino
