#include "reports/textlayouts.h"

#include "core/pix.h"
#include "data/query.h"
#include "reports/documentlayouts.h"
#include "reports/escpwriter.h"

namespace quelvarino {
namespace {

// The payment code as text for the client to copy, whole, wrapped at the
// condensed line's width.
void pixLines(TextDocument& d, const QString& payload) {
    if (payload.isEmpty())
        return;
    d.condensed(QString());
    d.condensed(pix::caption(payload, QStringLiteral("-")) +
                QStringLiteral(" - Pix Copia e Cola :"));
    for (const QString& line : pix::wrapped(payload, 150))
        d.condensed(line);
}

// Lines of text inside a printed line: the printer gets CR LF between them.
QString printable(const QString& text) {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return t;
}

// A document line's placeholders filled: {name} and {name:N}.
QString filled(const QString& line, const QMap<QString, QString>& values) {
    return fillPlaceholders(line, [&values](const QString& name) {
        const qsizetype colon = name.indexOf(QLatin1Char(':'));
        return colon < 0 ? values.value(name)
                         : padRight(values.value(name.left(colon)), name.mid(colon + 1).toInt());
    });
}

// The notes as typed, their own lines kept, and the empty lines left to
// write by hand: the fewer the longer the notes.
void notes(TextDocument& d, const QString& obs) {
    if (obs.isEmpty()) {
        for (int i = 0; i < 5; ++i)
            d.condensed(QString());
        return;
    }
    const QStringList lines = printable(obs).split(QLatin1Char('\n'));
    d.line(esc::condensed + esc::justify, lines.first());
    for (int i = 1; i < lines.size(); ++i)
        d.line(QByteArray(), lines[i]);
    const int n = int(obs.size());
    const int filler = n < 160 ? 4 : n < 319 ? 3 : n < 478 ? 2 : n < 637 ? 1 : 0;
    for (int i = 0; i < filler; ++i)
        d.condensed(QString());
}

void writeDocument(TextDocument& d, const CompanyHeader& c, const TextDocumentLayout& l) {
    d.header(c, l.title);
    for (const TextDocumentLine& line : l.lines) {
        switch (line.kind) {
            case TextDocumentLine::Condensed:
                d.condensed(filled(line.text, l.values));
                break;
            case TextDocumentLine::Emphasised:
                d.emphasised(filled(line.text, l.values));
                break;
            case TextDocumentLine::Separator:
                d.separator();
                break;
            case TextDocumentLine::Notes:
                notes(d, l.values.value(QStringLiteral("OBSERVACAO")));
                break;
        }
    }
    pixLines(d, l.pixPayload);
}

}  // namespace

QByteArray receiptText(const CompanyHeader& company, const ReportRow& receipt, bool twoCopies) {
    TextDocument d;
    writeDocument(d, company, receiptTextLayout(receipt));
    if (twoCopies) {
        for (int i = 0; i < 4; ++i)
            d.line(QByteArray());  // four empty lines between the copies
        writeDocument(d, company, receiptTextLayout(receipt));
    }
    d.pageFeed();
    return d.bytes();
}

QByteArray serviceOrderText(const CompanyHeader& company, const ReportRow& order, bool twoCopies) {
    TextDocument d;
    writeDocument(d, company, serviceOrderTextLayout(order));
    if (twoCopies) {
        d.line(QByteArray());  // one empty line between the copies
        writeDocument(d, company, serviceOrderTextLayout(order));
    }
    d.pageFeed();
    return d.bytes();
}

namespace {

using namespace text;

QList<TextLine> addressLines(const QString& n) {
    return {
        line({lit("End.: "), field("ENDERECO" + n, 60), lit(" - Bairro: "), field("BAIRRO" + n, 30),
              lit(" - Cid.: "), field("CIDADE" + n, 30), lit(" - UF: "), field("UF" + n)}),
        line({lit("CEP : "), field("CEP" + n, 9), lit(" - Telefone1 : ("), field("DDD" + n, 2),
              lit(") "), field("TELEFONE" + n + "_1", 10), lit(" - Tipo Fone : "),
              field("TIPOTEL" + n + "_1", 7), lit(" - Telefone2 : "),
              field("TELEFONE" + n + "_2", 10), lit(" - Tipo Fone : "),
              field("TIPOTEL" + n + "_2")}),
        line({lit("Contato : "), field("CONTATO" + n)})};
}

}  // namespace

const TextLayout& clientListingLayout() {
    static const TextLayout layout = [] {
        TextLayout l;
        l.title = QString(21, QLatin1Char(' ')) + "L I S T A G E M  D E  C L I E N T E S";
        l.firstPage = 3;
        l.perPage = 4;
        l.row = {line({lit("Cliente : "), field("CODCLI", 6), lit(" - "),
                       field("RAZAOSOCIAL", 68, 68), lit(" - CNPJ/CPF : "), field("CNPJ", 20),
                       lit(" - Insc.Est./RG : "), field("INSCREST")}),
                 line({lit("Nome fantasia : "), field("NOMEFAN")}),
                 boldCaption("Endereco Administrativo : ")};
        l.row += addressLines("1");
        l.row += boldCaption("Endereco para Faturamento : ");
        l.row += addressLines("2");
        l.row +=
            {boldCaption("Informacoes bancarias : "),
             line({lit("Banco : "), field("BANCO", 20), lit(" - Agencia : "), field("AGENCIA", 10),
                   lit(" - Conta Corrente : "), field("CONTAC")}),
             line({lit("Valor da hora : "), money("VALOR", 10), lit(" - Situacao do cliente : "),
                   field("SITUACAO", 10), lit(" - Data da ultima alteracao : "), field("DATA")})};
        return l;
    }();
    return layout;
}

const TextLayout& courierListingLayout() {
    static const TextLayout layout{
        .title = QString(16, QLatin1Char(' ')) + "L I S T A G E M  D E  M O T O C I C L I S T A S",
        .row = {line({lit("Motoboy: "), field("COD", 6), lit(" - "), field("NOME", 60),
                      lit(" - CPF: "), field("CPF", 18), lit(" - RG: "), field("RG", 20),
                      lit(" - No. da CNH: "), field("CNH", 15), lit(" - Categoria: "),
                      field("CATEGORIA")}),
                line({lit("End.: "), field("ENDERECO", 60), lit(" - Bairro: "), field("BAIRRO", 30),
                      lit(" - Cid.: "), field("CIDADE", 30), lit(" - UF: "), field("UF")}),
                line({lit("CEP : "), field("CEP", 9), lit(" - Telefone1 : ("), field("DDD1", 2),
                      lit(") "), field("TELEFONE1", 10), lit(" - Tipo Fone : "),
                      field("TIPOTEL1", 7), lit(" - Telefone2 : ("), field("DDD2", 2), lit(") "),
                      field("TELEFONE2", 10), lit(" - Tipo Fone : "), field("TIPOTEL2")}),
                line({lit("Marca : "), field("MARCA", 20), lit(" - Modelo : "), field("MODELO", 20),
                      lit(" - Ano :"), field("ANO", 9), lit(" - Placa : "), field("PLACA")}),
                line({lit("Observacao : "), field("OBSERVACAO", 20), lit(" - Valor da hora : "),
                      money("VALOR", 10), lit(" - Salario : "), money("SALARIO", 10),
                      lit(" - Situacao do cliente : "), field("SITUACAO", 10),
                      lit(" - Data da ultima alteracao: "), field("DATA")})},
        .firstPage = 7,
        .perPage = 8};
    return layout;
}

const TextLayout& expenseTypeListingLayout() {
    static const TextLayout layout{
        .title = QString(21, QLatin1Char(' ')) + "L I S T A G E M  D E  D E S P E S A S",
        .row = {line({lit("Codigo : "), field("COD", 6), lit(" - "), field("DESPESA", 45),
                      lit(" - Data da ultima alteracao : "), field("DATA")})},
        .firstPage = 50,
        .perPage = 57};
    return layout;
}

namespace {

QByteArray listingText(const CompanyHeader& company, Query& rows, const TextLayout& layout) {
    ReportData data;
    data.company = company;
    data.rows = ReportRow::fromQuery(rows);
    return EscPWriter::render(data, layout);
}

}  // namespace

QByteArray clientListingText(const CompanyHeader& company, Query& rows) {
    return listingText(company, rows, clientListingLayout());
}

QByteArray courierListingText(const CompanyHeader& company, Query& rows) {
    return listingText(company, rows, courierListingLayout());
}

QByteArray expenseTypeListingText(const CompanyHeader& company, Query& rows) {
    return listingText(company, rows, expenseTypeListingLayout());
}

}  // namespace quelvarino
