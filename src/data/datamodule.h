#pragma once

#include "data/table.h"

#include <QObject>

namespace quelvarino {

// Binds a table to grids and page reports.
class DataSource : public QObject {
    Q_OBJECT
public:
    DataSource(Table* table, QObject* parent) : QObject(parent), dataSet(table) {}
    Table* dataSet;
};

// The one shared holder of the database tables. All tables start closed;
// screens open them for one operation and close them after it.
class TDataModule1 : public QObject {
    Q_OBJECT
public:
    explicit TDataModule1(QObject* parent = nullptr);  // DataModuleCreate
    ~TDataModule1() override;

    Table* TBClientes;
    Table* TBMotociclista;
    Table* TBOrdem;
    Table* TBRecibo;
    Table* TBEmpresa;
    Table* TBDespesa;
    Table* TBEntrDesp;
    Table* TBSenha;

    DataSource* DSClientes;
    DataSource* DSMotociclista;
    DataSource* DSOrdem;
    DataSource* DSRecibo;
    DataSource* DSEmpresa;
    DataSource* DSDespesa;
    DataSource* DSEntrDesp;
    DataSource* DSSenha;

    // Re-reads every open table, in the data module's order; closed tables
    // are left alone.
    void FormRefresh();
    QList<Table*> tables() const;

public slots:
    void TBClientesAfterPost() { afterPost(TBClientes); }
    void TBMotociclistaAfterPost() { afterPost(TBMotociclista); }
    void TBOrdemAfterPost() { afterPost(TBOrdem); }
    void TBReciboAfterPost() { afterPost(TBRecibo); }
    void TBEmpresaAfterPost() { afterPost(TBEmpresa); }
    void TBDespesaAfterPost() { afterPost(TBDespesa); }
    void TBEntrDespAfterPost() { afterPost(TBEntrDesp); }
    void TBSenhaAfterPost() { afterPost(TBSenha); }

private:
    // Save to disk (result ignored), flush (errors raise), refresh all.
    void afterPost(Table* table);
};

// The single instance, set while it exists.
extern TDataModule1* DataModule1;

}  // namespace quelvarino
