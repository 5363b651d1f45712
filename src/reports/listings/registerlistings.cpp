#include "reports/listings/registerlistings.h"

#include "core/dates.h"
#include "data/query.h"
#include "data/schema.h"
#include "reports/definitionparts.h"
#include "reports/textlayouts.h"

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

namespace {

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

// A register and what its listing may be ordered by (fixed field names:
// never operator text).
struct Register {
    const char* id;
    const char* table;
    const char* key;
    const char* requester;
    const char* dialog;
    const char* stem;
    const char* command;
    QList<QPair<const char*, const char*>> orders;  // caption, field
    const PageLayout& (*page)();
    const TextLayout& (*text)();
};

// The records chosen in the dialog, in the order chosen.
void selectRecords(Query& q, const Register& r, const Criteria& c) {
    q.clear();
    q.add(QStringLiteral("Select * from ") + QString::fromLatin1(r.table));
    const QString key = QString::fromLatin1(r.key);
    if (c.selection == Selection::Period) {
        q.add(QStringLiteral("Where DATA >= :de and DATA <= :ate"));
        q.bindDate(QStringLiteral(":de"), c.from);
        q.bindDate(QStringLiteral(":ate"), c.to);
    } else if (c.selection == Selection::Codes) {
        q.add(QStringLiteral("Where %1 >= :de and %1 <= :ate").arg(key));
        q.bindText(QStringLiteral(":de"), c.codeFrom);
        q.bindText(QStringLiteral(":ate"), c.codeTo);
    }
    const QString field = c.order >= 0 && c.order < r.orders.size()
                              ? QString::fromLatin1(r.orders[c.order].second)
                              : key;
    q.add(QStringLiteral("Order By ") + field);
    q.open();
}

Refusal checkListing(const Register& r, const Criteria& c) {
    if (c.selection == Selection::Unchosen)
        return {QStringLiteral("Informe qual o tipo de relatório que deseja imprimir."), {}};
    if ((c.selection == Selection::Period && !c.periodGiven()) ||
        (c.selection == Selection::Codes && (c.codeFrom.isEmpty() || c.codeTo.isEmpty())))
        return nothingFound();
    Query q;
    selectRecords(q, r, c);
    if (q.isEmpty() || q.fieldText(QString::fromLatin1(r.key)).isEmpty())
        return nothingFound();
    return {};
}

ReportDefinition listing(const Register& r) {
    ReportDefinition e;
    e.id = QString::fromLatin1(r.id);
    e.kind = ReportKind::Listing;
    e.requester = QString::fromLatin1(r.requester);
    e.dialog = QString::fromLatin1(r.dialog);
    e.fileStem = QString::fromLatin1(r.stem);
    e.command = QString::fromLatin1(r.command);
    e.parameters = QStringLiteral("[--de D --ate D | --codigo-de C --codigo-ate C] [--ordem O]");
    e.outputs = kListingOutputs;
    for (const auto& o : r.orders)
        e.orders.append(QString::fromUtf8(o.first));
    e.check = [r](const Criteria& c) { return checkListing(r, c); };
    e.collect = [r, id = e.id](const Criteria& c) {
        ReportData d = reportBase(id);
        Query q;
        selectRecords(q, r, c);
        d.rows = ReportRow::fromQuery(q);
        return d;
    };
    if (const TableDef* t = schema::findMainTable(QString::fromLatin1(r.table))) {
        for (const FieldDef& f : t->fields)
            e.fields.append(f.name.toUpper());
    }
    writtenFrom(e, r.text, r.page, nullptr);
    return e;
}

}  // namespace

QList<ReportDefinition> listingDefinitions() {
    static const Register registers[] = {
        {"11_0",
         "tbclientes",
         "CodCli",
         "Quelvarino0011_0",
         "Quelvarino0011_2",
         "cadcli",
         "clientes",
         {{"Código", "CodCli"},
          {"Razão Social", "RazaoSocial"},
          {"Nome Fantasia", "NomeFan"},
          {"C.N.P.J. ou C.P.F.", "Cnpj"},
          {"Inscrição Estadual ou R.G.", "InscrEst"},
          {"Endereço Administrativo", "Endereco1"},
          {"Endereço Faturamento", "Endereco2"}},
         clientListingPage,
         clientListingLayout},
        {"12_0",
         "tbmotociclista",
         "Cod",
         "Quelvarino0012_0",
         "Quelvarino0012_2",
         "cadmot",
         "motoboys",
         {{"Código", "Cod"}, {"Nome", "Nome"}, {"C.P.F.", "Cpf"}, {"R.G.", "Rg"}},
         courierListingPage,
         courierListingLayout},
        {"13_0",
         "tbdespesa",
         "Cod",
         "Quelvarino0013_0",
         "Quelvarino0013_2",
         "caddesp",
         "despesas",
         {{"Código", "Cod"}, {"Despesa", "Despesa"}},
         expenseTypeListingPage,
         expenseTypeListingLayout},
    };
    QList<ReportDefinition> out;
    for (const Register& r : registers)
        out.append(listing(r));
    return out;
}

}  // namespace quelvarino
