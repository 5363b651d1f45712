#include "orders/ordersearch.h"

#include "orders/serviceorder.h"

#include <QHeaderView>
#include <QTableView>

namespace quelvarino {

TQuelvarino0021_1::TQuelvarino0021_1(QWidget* parent)
    : SearchScreen(
          QStringLiteral("Quelvarino0021_1"),
          QStringLiteral("Pesquisa de Ordens de Serviços"),
          QStringLiteral("tbordem"),
          QStringLiteral("TBOrdem"),
          {{"Rbcomanda", "Nº. Ordem Serviço", "COMANDA",
            "Digite o número da ordem de serviço ou sequência :"},
           {"Rbcliente", "Cliente", "CLIENTE", "Digite o nome do cliente ou sequência :"},
           {"Rbsolicitante", "Solicitante", "SOLICITANTE",
            "Digite o nome do solicitante ou sequência :"},
           {"Rbmotoboy", "Motoboy", "MOTOBOY", "Digite o nome do motoboy ou sequência :"},
           {"Rbveiculo", "Veículo", "VEICULO", "Digite a descrição do veículo ou sequência :"},
           {"Rbplaca", "Placa", "PLACA", "Digite o número da placa ou sequência :"}},
          {{"COMANDA", "Comanda"},
           {"CLIENTE", "Cliente"},
           {"SOLICITANTE", "Solicitante"},
           {"HORA1", "Hora saída"},
           {"HORA2", "Hora inicial"},
           {"HORA3", "Hora final"},
           {"HORA4", "Total de horas"},
           {"VALOR", "Valor", true},
           {"MOTOBOY", "Motoboy"},
           {"VEICULO", "Veículo"},
           {"PLACA", "Placa"},
           {"PAGAMENTO", "Pagamento"},
           {"DATA", "Data"}},
          parent) {
    resize(900, 560);
    setStartAtLast(true);
    DBGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    setReturn(QStringLiteral("ordem_servico"), [](Table& row) -> QWidget* {
        auto* os = TQuelvarino0021_0::instance();
        if (os)
            os->loadOrder(row);
        return os;
    });
}

}  // namespace quelvarino
