#include "data/datafolder.h"
#include "reports/reportdefinitions.h"

#include <QFileInfo>

namespace quelvarino {
namespace {

PageCell cell(const char* label,
              const QString& source,
              double width,
              Format format = Format::Text) {
    PageCell c;
    c.label = QString::fromUtf8(label);
    c.source = source;
    c.width = width;
    c.format = format;
    if (format != Format::Text && format != Format::Hours && format != Format::Date)
        c.align = Align::Right;
    return c;
}

// One address of a client, as the page listing shows it.
QList<QList<PageCell>> clientAddress(const char* caption, const QString& n) {
    return {
        {cell(caption, "ENDERECO" + n, 196)},
        {cell("CEP:", "CEP" + n, 32), cell("Cidade:", "CIDADE" + n, 70), cell("UF:", "UF" + n, 16),
         cell("Telefone:", "{DDD" + n + "}-{TELEFONE" + n + "_1}", 44),
         cell("Tipo tel.:", "TIPOTEL" + n + "_1", 34)},
        {cell("Telefone:", "{DDD" + n + "}-{TELEFONE" + n + "_2}", 44),
         cell("Tipo tel.:", "TIPOTEL" + n + "_2", 34), cell("Contato:", "CONTATO" + n, 118)}};
}

}  // namespace

ReportData reportBase(const QString& id) {
    ReportData d;
    d.id = id;
    d.company = CompanyHeader::fromStore();
    const QString logo = DataFolder::path() + QStringLiteral("/logo.bmp");
    if (QFileInfo::exists(logo))
        d.logoFile = logo;
    return d;
}

ReportData collectListing(const QString& id, const PrintRequest& request) {
    ReportData d = reportBase(id);
    if (request.listing)
        d.rows = ReportRow::fromQuery(*request.listing);
    return d;
}

const PageLayout& clientListingPage() {
    static const PageLayout layout = [] {
        PageLayout l;
        l.title = QStringLiteral("Lista de Clientes");
        l.record = {{cell("Código:", "CODCLI", 32), cell("Razão social:", "RAZAOSOCIAL", 164)},
                    {cell("C.N.P.J.:", "CNPJ", 60), cell("Inscrição estadual:", "INSCREST", 60),
                     cell("Nome fantasia:", "NOMEFAN", 76)}};
        l.record += clientAddress("Endereço administrativo:", "1");
        l.record += clientAddress("Endereço faturamento:", "2");
        l.record += {{cell("Banco:", "BANCO", 60), cell("Agência:", "AGENCIA", 40),
                      cell("Conta corrente:", "CONTAC", 50), cell("Situação:", "SITUACAO", 46)},
                     {cell("Data da última alteração:", "DATA", 196, Format::Date)}};
        return l;
    }();
    return layout;
}

const PageLayout& courierListingPage() {
    static const PageLayout layout = [] {
        PageLayout l;
        l.title = QStringLiteral("Lista de Motociclista");
        l.record = {
            {cell("Código:", "COD", 32), cell("Nome :", "NOME", 164)},
            {cell("CPF :", "CPF", 50), cell("R.G. :", "RG", 50), cell("CNH :", "CNH", 48),
             cell("Categoria da CNH :", "CATEGORIA", 48)},
            {cell("Endereço :", "ENDERECO", 116), cell("Bairro :", "BAIRRO", 80)},
            {cell("CEP:", "CEP", 40), cell("Cidade:", "CIDADE", 100), cell("UF:", "UF", 56)},
            {cell("Telefone 1 :", "{DDD1}-{TELEFONE1}", 60), cell("Tipo tel.:", "TIPOTEL1", 38),
             cell("Telefone 2 :", "{DDD2}-{TELEFONE2}", 60), cell("Tipo tel.:", "TIPOTEL2", 38)},
            {cell("Marca :", "MARCA", 60), cell("Modelo :", "MODELO", 60), cell("Ano :", "ANO", 38),
             cell("Placa :", "PLACA", 38)},
            {cell("Salário:", "SALARIO", 50, Format::Money),
             cell("Valor hora:", "VALOR", 50, Format::Money), cell("Situação:", "SITUACAO", 96)},
            {cell("Observação :", "OBSERVACAO", 196)},
            {cell("Data da última alteração:", "DATA", 196, Format::Date)}};
        // Money sits right after its caption in a card.
        for (QList<PageCell>& line : l.record)
            for (PageCell& c : line)
                c.align = Align::Left;
        return l;
    }();
    return layout;
}

const PageLayout& expenseTypeListingPage() {
    static const PageLayout layout{
        .title = QStringLiteral("Lista de Despesas"),
        .columns = {cell("Código :", "COD", 30), cell("Despesa :", "DESPESA", 126),
                    cell("Data :", "DATA", 40, Format::Date)}};
    return layout;
}

}  // namespace quelvarino
