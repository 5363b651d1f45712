#include "app/modules.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quelvarino {

QString TQuelvarino00Sbr_0::guideText() {
    return QStringLiteral(
        "MENU CADASTRO\n"
        "\n"
        "  Cliente\n"
        "    Cadastro das empresas e pessoas atendidas pela empresa. O campo \"Data Ult. Alter.\"\n"
        "    guarda a data da última alteração do cadastro (a primeira é a data da inclusão).\n"
        "    O endereço administrativo é o que sai impresso nos documentos; o endereço de\n"
        "    cobrança e os dados bancários servem apenas para consulta. O campo \"SITUACAO\"\n"
        "    bloqueia e desbloqueia o cliente: um cliente BLOQUEADO não pode receber ordens\n"
        "    de serviço nem recibos.\n"
        "\n"
        "  Motociclista\n"
        "    Cadastro dos motoboys, com documentos, endereço, telefones, a moto, o valor pago\n"
        "    por hora e o salário fixo, quando houver. O campo \"SITUACAO\" bloqueia e\n"
        "    desbloqueia o motociclista.\n"
        "\n"
        "  Despesas\n"
        "    Cadastro dos tipos de despesa. Todas as despesas a lançar devem estar cadastradas\n"
        "    aqui, por exemplo GASOLINA, MANUTENCAO, ADIANTAMENTO OU VALES, REFEICAO.\n"
        "\n"
        "  Parâmetros iniciais\n"
        "    Cadastro e alteração da senha de acesso, pedida para alterar ou excluir ordens\n"
        "    de serviço já emitidas.\n"
        "\n"
        "MENU EMISSÃO\n"
        "\n"
        "  Ordens de Serviços\n"
        "    Emissão da ordem de serviço: cliente, motoboy, horários de saída, início e fim,\n"
        "    cálculo das horas normais, com 50% (das 18:00 às 22:00) e com 100% (após as\n"
        "    22:00), seguro, taxa de perímetro e forma de pagamento.\n"
        "\n"
        "  Recibo do cliente\n"
        "    Emissão do recibo de pagamento do cliente, com o valor escrito por extenso.\n"
        "\n"
        "MENU DESPESAS\n"
        "\n"
        "  Despesas do motoboy\n"
        "    Lançamento das despesas de cada motoboy (combustível, manutenção, vales...).\n"
        "\n"
        "MENU RELATORIOS\n"
        "\n"
        "  Fechamento do caixa por período: total das ordens de serviço de um período, por\n"
        "    forma de pagamento.\n"
        "  Fechamento do caixa por cliente: as ordens de serviço de um cliente no período.\n"
        "  Fechamento do motoboy: horas, valores e despesas de um motoboy no período.\n"
        "  Despesas do motoboy: as despesas lançadas para um motoboy.\n"
        "  Listagem das horas do motoboy: as horas trabalhadas por um motoboy.\n"
        "  Listagem das OS emitidas: as ordens de serviço emitidas no período.\n"
        "  Relatório totalizador de serviços: os serviços do período somados por cliente\n"
        "    e por motoboy.\n"
        "  Pagamento do motoboy autônomo: as despesas do motoboy com salário fixo.\n"
        "\n"
        "MENU BACKUP\n"
        "\n"
        "  Backup do sistema\n"
        "    As cópias de segurança ficam na pasta C:\\QUELVARINO\\BACKUP (no Linux, a pasta\n"
        "    Backup dentro da pasta de dados). Copie-as periodicamente para uma mídia\n"
        "    externa (pen drive, disco externo ou CD).\n"
        "\n"
        "MENU SAIR\n"
        "\n"
        "  Abandonar sistema\n"
        "    Encerra o programa.\n"
        "\n"
        "  Dados da empresa\n"
        "    Cadastro dos dados da sua empresa, que saem impressos no cabeçalho dos\n"
        "    relatórios.\n");
}

TQuelvarino00Sbr_0::TQuelvarino00Sbr_0(QWidget* parent)
    : Screen(QStringLiteral("Quelvarino00Sbr_0"),
             QStringLiteral("Descrição dos Módulos do Sistema Quelvarino"),
             parent) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    resize(801, 601);
    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("Memo1"));
    text_->setReadOnly(true);
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPointSize(10);
    text_->setFont(mono);
    text_->setPlainText(guideText());
    layout->addWidget(text_);
    Btn_Retornar = new QPushButton(QStringLiteral("&Retornar"), this);
    Btn_Retornar->setObjectName(QStringLiteral("Btn_Retornar"));
    Btn_Retornar->setToolTip(QStringLiteral("Retornar ao menu"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Btn_Retornar);
    layout->addLayout(buttons);
    connect(Btn_Retornar, &QPushButton::clicked, this, &QWidget::close);
}

}  // namespace quelvarino
