#include "data/datamodule.h"

#include "data/activation.h"

namespace quelvarino {

TDataModule1* DataModule1 = nullptr;

TDataModule1::TDataModule1(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("DataModule1"));
    auto make = [this](const char* table, const char* name, DataSource** source,
                       const char* sourceName, const QString& order) {
        auto* t = new Table(QString::fromLatin1(table), this);
        t->setObjectName(QString::fromLatin1(name));
        t->setIndexFieldNames(order);
        *source = new DataSource(t, this);
        (*source)->setObjectName(QString::fromLatin1(sourceName));
        return t;
    };
    TBClientes = make("tbclientes", "TBClientes", &DSClientes, "DSClientes", "Codcli");
    TBMotociclista =
        make("tbmotociclista", "TBMotociclista", &DSMotociclista, "DSMotociclista", "Cod");
    TBOrdem = make("tbordem", "TBOrdem", &DSOrdem, "DSOrdem", "Comanda");
    TBRecibo = make("tbrecibo", "TBRecibo", &DSRecibo, "DSRecibo", "Recibo");
    TBEmpresa = make("tbempresa", "TBEmpresa", &DSEmpresa, "DSEmpresa", "RazaoSocial");
    TBDespesa = make("tbdespesa", "TBDespesa", &DSDespesa, "DSDespesa", "Cod");
    TBEntrDesp = make("tbentrdesp", "TBEntrDesp", &DSEntrDesp, "DSEntrDesp", "Cont");
    TBSenha = make("tbsenha", "TBSenha", &DSSenha, "DSSenha", "Ref");

    connect(TBClientes, &Table::afterPost, this, &TDataModule1::TBClientesAfterPost);
    connect(TBMotociclista, &Table::afterPost, this, &TDataModule1::TBMotociclistaAfterPost);
    connect(TBOrdem, &Table::afterPost, this, &TDataModule1::TBOrdemAfterPost);
    connect(TBRecibo, &Table::afterPost, this, &TDataModule1::TBReciboAfterPost);
    connect(TBEmpresa, &Table::afterPost, this, &TDataModule1::TBEmpresaAfterPost);
    connect(TBDespesa, &Table::afterPost, this, &TDataModule1::TBDespesaAfterPost);
    connect(TBEntrDesp, &Table::afterPost, this, &TDataModule1::TBEntrDespAfterPost);
    connect(TBSenha, &Table::afterPost, this, &TDataModule1::TBSenhaAfterPost);

    DataModule1 = this;
    ActivationHook::setHandler([this] { FormRefresh(); });
    FormRefresh();
}

TDataModule1::~TDataModule1() {
    for (Table* t : tables())
        t->close();
    ActivationHook::clear();
    if (DataModule1 == this)
        DataModule1 = nullptr;
}

QList<Table*> TDataModule1::tables() const {
    return {TBClientes, TBMotociclista, TBOrdem,    TBRecibo,
            TBEmpresa,  TBDespesa,      TBEntrDesp, TBSenha};
}

void TDataModule1::FormRefresh() {
    for (Table* t : tables()) {
        if (t->isOpen())
            t->refresh();
    }
}

void TDataModule1::afterPost(Table* table) {
    if (!table->isOpen())
        return;
    table->saveChanges();
    table->flushBuffers();
    FormRefresh();
}

}  // namespace quelvarino
