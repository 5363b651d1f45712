#include "reports/textlayouts.h"

#include "data/query.h"

namespace quelvarino {
namespace {

// Lines of text inside a printed line: the printer gets CR LF between them.
QString printable(const QString& text) {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return t;
}

void writeServiceOrder(TextDocument& d, const CompanyHeader& c, const ServiceOrderPrint& o) {
    d.header(c, QString(24, QLatin1Char(' ')) + "O R D E M   D E   S E R V I C O");
    d.separator();
    d.condensed("Data : " + o.data + QString(106, QLatin1Char(' ')) +
                "1o. via cliente / 2o. via fornecedor");
    d.separator();
    d.condensed(QString(126, QLatin1Char(' ')) + "Ordem de Servico No. : " + o.comanda);
    d.condensed("Cliente: " + padRight(o.codcli, 6) + " - " + padRight(o.cliente, 60) +
                " - Endereco: " + o.end);
    if (o.phones)
        d.condensed("Bairro: " + padRight(o.bairro, 25) + " - Cid.: " + padRight(o.cid, 30) +
                    " - UF: " + padRight(o.uf, 2) + " - CEP: " + padRight(o.cep, 9) +
                    " - Telefones: " + "(" + o.ddd + ") " + o.fone1 + " / " + o.fone2);
    else
        d.condensed("Bairro : " + padRight(o.bairro, 25) + " - Cidade : " + padRight(o.cid, 30) +
                    " - UF : " + padRight(o.uf, 2) + " - CEP : " + padRight(o.cep, 9));
    d.condensed("Solicitante: " + o.solicit);
    d.condensed("Hora saida:   " + padRight(o.hora1, 5) + "  - Hora inicial:   " +
                padRight(o.hora2, 5) + "   - Hora final:   " + padRight(o.hora3, 5) +
                "   - Tot. horas:   " + padRight(o.hora4, 5) + "  - Motoboy: " + o.codmot + " - " +
                o.motoboy);
    d.condensed("Marca : " + padRight(o.mar, 20) + "  - Modelo : " + padRight(o.mod, 20) +
                "   - Ano : " + padRight(o.ano, 9) + "   - Placa : " + padRight(o.plac, 9) +
                "  - Telefone : " + o.courierPhone);
    d.condensed("Observacoes:");
    if (!o.obs.isEmpty()) {
        const QStringList lines = printable(o.obs).split(QLatin1Char('\n'));
        d.line(esc::condensed + esc::justify, lines.first());
        for (int i = 1; i < lines.size(); ++i)
            d.line(QByteArray(), lines[i]);
        const int n = o.obs.size();
        const int filler = n < 160 ? 4 : n < 319 ? 3 : n < 478 ? 2 : n < 637 ? 1 : 0;
        for (int i = 0; i < filler; ++i)
            d.condensed(QString());
    } else {
        for (int i = 0; i < 5; ++i)
            d.condensed(QString());
    }
    d.condensed(QString());
    d.condensed(QString(105, QLatin1Char(' ')) + QString(54, QLatin1Char('_')));
    d.emphasised("NAO TRANSPORTAMOS VALORES EM ESPECIE                    ASSINATURA E CARIMBO");
    d.condensed(QString());
    d.condensed(
        "NOTA: Com base nesta Ordem de Servico sera emitida a Nota Fiscal de acordo com o "
        "Decreto No.6879 de 24/04/67. O tempo de prestacao do servico sera contado des-");
    d.condensed(
        "de o inicio do veiculo no cliente, ate o ternmino do servico. A fracao minima do "
        "tempo de servico e de 2 (duas) horas. Apos as 18:00hs, acrescimo de 50% e apos");
    d.condensed("as 22:00hs acrescimo de 100% sobre o valor normal contratado.");
    d.condensed(
        "A locatoria nao tem responsabilidade quanto a quebra, avaria ou extravio das "
        "mercadorias ou documentos transportados, caso o cliente nao tenha seguro.");
}

// The skeleton of a listing: header and title, one block of lines per row
// with the page rule after each, a final page feed.
QByteArray listing(const CompanyHeader& c,
                   const QString& title,
                   Query& rows,
                   RowPageRule rule,
                   const std::function<void(TextDocument&, Query&)>& rowLines) {
    TextDocument d;
    d.header(c, title);
    d.separator();
    bool headings = true;  // listings have no column headings
    for (rows.first(); !rows.eof(); rows.next()) {
        rowLines(d, rows);
        rule.afterRow(d, headings);
    }
    d.pageFeed();
    return d.bytes();
}

// A field of the current row; line breaks of multi-line notes become spaces
// so that a row keeps its own lines.
QString field(Query& q, const char* name) {
    QString t = q.fieldText(QString::fromLatin1(name));
    t.replace(QLatin1String("\r\n"), QLatin1String(" "));
    t.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return t;
}

void addressLines(TextDocument& d, Query& q, const QString& n) {
    auto f = [&q, &n](const char* base, const char* tail = "") {
        return field(
            q, (QString::fromLatin1(base) + n + QString::fromLatin1(tail)).toLatin1().constData());
    };
    d.condensed("End.: " + padRight(f("ENDERECO"), 60) + " - Bairro: " + padRight(f("BAIRRO"), 30) +
                " - Cid.: " + padRight(f("CIDADE"), 30) + " - UF: " + f("UF"));
    d.condensed("CEP : " + padRight(f("CEP"), 9) + " - Telefone1 : (" + padRight(f("DDD"), 2) +
                ") " + padRight(f("TELEFONE", "_1"), 10) +
                " - Tipo Fone : " + padRight(f("TIPOTEL", "_1"), 7) + " - Telefone2 : " +
                padRight(f("TELEFONE", "_2"), 10) + " - Tipo Fone : " + f("TIPOTEL", "_2"));
    d.condensed("Contato : " + f("CONTATO"));
}

}  // namespace

QByteArray serviceOrderText(const CompanyHeader& company,
                            const ServiceOrderPrint& order,
                            bool twoCopies) {
    TextDocument d;
    writeServiceOrder(d, company, order);
    if (twoCopies) {
        d.line(QByteArray());  // one empty line between the copies
        writeServiceOrder(d, company, order);
    }
    d.pageFeed();
    return d.bytes();
}

QByteArray clientListingText(const CompanyHeader& company, Query& rows) {
    return listing(
        company, QString(21, QLatin1Char(' ')) + "L I S T A G E M  D E  C L I E N T E S", rows,
        RowPageRule(3, 4), [](TextDocument& d, Query& q) {
            const QString name = field(q, "RAZAOSOCIAL").left(68);
            d.condensed("Cliente : " + padRight(field(q, "CODCLI"), 6) + " - " +
                        padRight(name, 68) + " - CNPJ/CPF : " + padRight(field(q, "CNPJ"), 20) +
                        " - Insc.Est./RG : " + field(q, "INSCREST"));
            d.condensed("Nome fantasia : " + field(q, "NOMEFAN"));
            d.line(esc::condensed + esc::boldOn,
                   "Endereco Administrativo : " + QString::fromLatin1(esc::boldOff));
            addressLines(d, q, "1");
            d.line(esc::condensed + esc::boldOn,
                   "Endereco para Faturamento : " + QString::fromLatin1(esc::boldOff));
            addressLines(d, q, "2");
            d.line(esc::condensed + esc::boldOn,
                   "Informacoes bancarias : " + QString::fromLatin1(esc::boldOff));
            d.condensed("Banco : " + padRight(field(q, "BANCO"), 20) +
                        " - Agencia : " + padRight(field(q, "AGENCIA"), 10) +
                        " - Conta Corrente : " + field(q, "CONTAC"));
            d.condensed("Valor da hora : " + padRight(printedMoney(field(q, "VALOR")), 10) +
                        " - Situacao do cliente : " + padRight(field(q, "SITUACAO"), 10) +
                        " - Data da ultima alteracao : " + field(q, "DATA"));
        });
}

QByteArray courierListingText(const CompanyHeader& company, Query& rows) {
    return listing(
        company, QString(16, QLatin1Char(' ')) + "L I S T A G E M  D E  M O T O C I C L I S T A S",
        rows, RowPageRule(7, 8), [](TextDocument& d, Query& q) {
            d.condensed("Motoboy: " + padRight(field(q, "COD"), 6) + " - " +
                        padRight(field(q, "NOME"), 60) + " - CPF: " +
                        padRight(field(q, "CPF"), 18) + " - RG: " + padRight(field(q, "RG"), 20) +
                        " - No. da CNH: " + padRight(field(q, "CNH"), 15) +
                        " - Categoria: " + field(q, "CATEGORIA"));
            d.condensed("End.: " + padRight(field(q, "ENDERECO"), 60) +
                        " - Bairro: " + padRight(field(q, "BAIRRO"), 30) + " - Cid.: " +
                        padRight(field(q, "CIDADE"), 30) + " - UF: " + field(q, "UF"));
            d.condensed("CEP : " + padRight(field(q, "CEP"), 9) + " - Telefone1 : (" +
                        padRight(field(q, "DDD1"), 2) + ") " + padRight(field(q, "TELEFONE1"), 10) +
                        " - Tipo Fone : " + padRight(field(q, "TIPOTEL1"), 7) + " - Telefone2 : (" +
                        padRight(field(q, "DDD2"), 2) + ") " + padRight(field(q, "TELEFONE2"), 10) +
                        " - Tipo Fone : " + field(q, "TIPOTEL2"));
            d.condensed("Marca : " + padRight(field(q, "MARCA"), 20) +
                        " - Modelo : " + padRight(field(q, "MODELO"), 20) + " - Ano :" +
                        padRight(field(q, "ANO"), 9) + " - Placa : " + field(q, "PLACA"));
            d.condensed("Observacao : " + padRight(field(q, "OBSERVACAO"), 20) +
                        " - Valor da hora : " + padRight(printedMoney(field(q, "VALOR")), 10) +
                        " - Salario : " + padRight(printedMoney(field(q, "SALARIO")), 10) +
                        " - Situacao do cliente : " + padRight(field(q, "SITUACAO"), 10) +
                        " - Data da ultima alteracao: " + field(q, "DATA"));
        });
}

QByteArray expenseTypeListingText(const CompanyHeader& company, Query& rows) {
    return listing(company, QString(21, QLatin1Char(' ')) + "L I S T A G E M  D E  D E S P E S A S",
                   rows, RowPageRule(50, 57), [](TextDocument& d, Query& q) {
                       d.condensed("Codigo : " + padRight(field(q, "COD"), 6) + " - " +
                                   padRight(field(q, "DESPESA"), 45) +
                                   " - Data da ultima alteracao : " + field(q, "DATA"));
                   });
}

}  // namespace quelvarino
