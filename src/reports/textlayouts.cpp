#include "reports/textlayouts.h"

#include "core/pix.h"
#include "data/query.h"
#include "reports/escpwriter.h"

namespace quelvarino {
namespace {

// The payment code as text for the client to copy, whole, wrapped at the
// condensed line's width.
void pixLines(TextDocument& d, const QString& payload) {
    if (payload.isEmpty())
        return;
    d.condensed(QString());
    d.condensed(QStringLiteral("Pague com PIX - Pix Copia e Cola :"));
    for (const QString& line : pix::wrapped(payload, 150))
        d.condensed(line);
}

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
    pixLines(d, o.pixPayload);
}

void writeReceipt(TextDocument& d, const CompanyHeader& c, const ReceiptPrint& r) {
    d.header(c, QString(34, QLatin1Char(' ')) + "R E C I B O");
    d.separator();
    d.condensed(QString(136, QLatin1Char(' ')) + "Recibo No. : " + r.recibo);
    d.condensed(QString());
    d.condensed("Recebemos de : " + r.cliente);
    d.condensed(QString());
    d.condensed("Endereco: " + padRight(r.endereco1, 50) + " - Bairro: " + padRight(r.bairro1, 30) +
                " - Cidade: " + padRight(r.cidade1, 30) + " - Estado: " + r.uf1);
    d.condensed("CNPJ / CPF : " + padRight(r.cnpj, 18) +
                "    Inscricao Estadual / RG : " + r.inscest + "     Telefone : " + r.telefone1);
    d.condensed(QString());
    d.condensed("A quantia de R$ " + r.valor + " - " + r.extenso);
    d.condensed(QString());
    d.condensed("Referente a : " + r.referente);
    d.condensed(QString());
    d.condensed("Local : " + padRight(r.local, 60) + " - Data : " + r.data);
    d.condensed(QString());
    d.condensed(QString(105, QLatin1Char(' ')) + QString(54, QLatin1Char('_')));
    d.emphasised(QString(56, QLatin1Char(' ')) + "ASSINATURA E CARIMBO");
    pixLines(d, r.pixPayload);
}

}  // namespace

QByteArray receiptText(const CompanyHeader& company, const ReceiptPrint& receipt, bool twoCopies) {
    TextDocument d;
    writeReceipt(d, company, receipt);
    if (twoCopies) {
        for (int i = 0; i < 4; ++i)
            d.line(QByteArray());  // four empty lines between the copies
        writeReceipt(d, company, receipt);
    }
    d.pageFeed();
    return d.bytes();
}

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
    static const TextLayout layout = [] {
        TextLayout l;
        l.title = QString(16, QLatin1Char(' ')) + "L I S T A G E M  D E  M O T O C I C L I S T A S";
        l.firstPage = 7;
        l.perPage = 8;
        l.row = {
            line({lit("Motoboy: "), field("COD", 6), lit(" - "), field("NOME", 60), lit(" - CPF: "),
                  field("CPF", 18), lit(" - RG: "), field("RG", 20), lit(" - No. da CNH: "),
                  field("CNH", 15), lit(" - Categoria: "), field("CATEGORIA")}),
            line({lit("End.: "), field("ENDERECO", 60), lit(" - Bairro: "), field("BAIRRO", 30),
                  lit(" - Cid.: "), field("CIDADE", 30), lit(" - UF: "), field("UF")}),
            line({lit("CEP : "), field("CEP", 9), lit(" - Telefone1 : ("), field("DDD1", 2),
                  lit(") "), field("TELEFONE1", 10), lit(" - Tipo Fone : "), field("TIPOTEL1", 7),
                  lit(" - Telefone2 : ("), field("DDD2", 2), lit(") "), field("TELEFONE2", 10),
                  lit(" - Tipo Fone : "), field("TIPOTEL2")}),
            line({lit("Marca : "), field("MARCA", 20), lit(" - Modelo : "), field("MODELO", 20),
                  lit(" - Ano :"), field("ANO", 9), lit(" - Placa : "), field("PLACA")}),
            line({lit("Observacao : "), field("OBSERVACAO", 20), lit(" - Valor da hora : "),
                  money("VALOR", 10), lit(" - Salario : "), money("SALARIO", 10),
                  lit(" - Situacao do cliente : "), field("SITUACAO", 10),
                  lit(" - Data da ultima alteracao: "), field("DATA")})};
        return l;
    }();
    return layout;
}

const TextLayout& expenseTypeListingLayout() {
    static const TextLayout layout = [] {
        TextLayout l;
        l.title = QString(21, QLatin1Char(' ')) + "L I S T A G E M  D E  D E S P E S A S";
        l.firstPage = 50;
        l.perPage = 57;
        l.row = {line({lit("Codigo : "), field("COD", 6), lit(" - "), field("DESPESA", 45),
                       lit(" - Data da ultima alteracao : "), field("DATA")})};
        return l;
    }();
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
