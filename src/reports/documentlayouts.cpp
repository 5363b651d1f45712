#include "reports/documentlayouts.h"

namespace quelvarino {
namespace {

DocumentField field(const char* caption, const QString& text, double share = 1.0) {
    return {QString::fromUtf8(caption), {{Format::Text, text}}, share};
}

DocumentField field(const char* caption, Format format, const QString& text, double share) {
    return {QString::fromUtf8(caption), {{format, text}}, share};
}

}  // namespace

QString DocumentField::pageText() const {
    QStringList shown;
    for (const DocumentValue& v : values)
        if (v.onPage)
            shown.append(v.text);
    return shown.join(QStringLiteral(" - "));
}

DocumentLayout serviceOrderLayout(const ServiceOrderPrint& o) {
    const Format hours = Format::Hours;
    DocumentLayout l;
    l.title = QStringLiteral("ORDEM DE SERVIÇO");
    l.sheetName = QStringLiteral("Ordem de Serviço");
    l.number = field("Ordem de Serviço Nº. :", o.comanda);
    l.rows = {
        {{QStringLiteral("Cliente :"), {{Format::Text, o.codcli}, {Format::Text, o.cliente}}, 0.75},
         field("Data :", Format::Date, o.data, 0.25)},
        {field("Endereço :", o.end)},
        {field("Bairro :", o.bairro, 0.3), field("Cidade :", o.cid, 0.35), field("UF :", o.uf, 0.1),
         field("CEP :", o.cep, 0.25)},
    };
    if (o.phones)
        l.rows.append({field("Telefones :", "(" + o.ddd + ") " + o.fone1 + " / " + o.fone2)});
    l.rows += {
        {field("Solicitante :", o.solicit)},
        {field("Hora Saída :", hours, o.hora1, 0.25), field("Hora Inicial :", hours, o.hora2, 0.25),
         field("Hora Final :", hours, o.hora3, 0.25),
         field("Total de Horas :", hours, o.hora4, 0.25)},
        {{QStringLiteral("Motoboy :"), {{Format::Text, o.codmot}, {Format::Text, o.motoboy}}, 0.65},
         field("Telefone do Motoboy :", o.courierPhone, 0.35)},
        {field("Marca :", o.mar, 0.3), field("Modelo :", o.mod, 0.3), field("Ano :", o.ano, 0.2),
         field("Placa :", o.plac, 0.2)},
    };
    l.notes = field("Observações :", o.obs);
    l.pixPayload = o.pixPayload;
    return l;
}

DocumentLayout receiptLayout(const ReceiptPrint& r) {
    DocumentLayout l;
    l.title = QStringLiteral("RECIBO");
    l.sheetName = QStringLiteral("Recibo");
    l.number = field("Recibo Nº. :", r.recibo);
    l.rows = {
        {{QStringLiteral("Recebemos de :"),
          {{Format::Text, r.codcli, false}, {Format::Text, r.cliente}},
          1.0}},
        {field("Endereço :", r.endereco1, 0.4), field("Bairro :", r.bairro1, 0.22),
         field("Cidade :", r.cidade1, 0.26), field("UF :", r.uf1, 0.12)},
        {field("Telefone :", r.telefone1, 0.25), field("C.N.P.J./C.P.F. :", r.cnpj, 0.38),
         field("Inscrição Estadual/R.G. :", r.inscest, 0.37)},
        {{QStringLiteral("A quantia de R$"),
          {{Format::Money, r.valor}, {Format::Text, r.extenso}},
          1.0}},
        {field("Referente à :", r.referente)},
        {field("Local :", r.local, 0.7), field("Data :", Format::Date, r.data, 0.3)},
    };
    l.pixPayload = r.pixPayload;
    return l;
}

namespace {

// The order's and the receipt's values by their placeholders' names.
QMap<QString, QString> valuesOf(const ServiceOrderPrint& o) {
    return {{"comanda", o.comanda}, {"codcli", o.codcli}, {"cliente", o.cliente},
            {"end", o.end},         {"bairro", o.bairro}, {"cid", o.cid},
            {"uf", o.uf},           {"cep", o.cep},       {"ddd", o.ddd},
            {"solicit", o.solicit}, {"fone1", o.fone1},   {"fone2", o.fone2},
            {"hora1", o.hora1},     {"hora2", o.hora2},   {"hora3", o.hora3},
            {"hora4", o.hora4},     {"codmot", o.codmot}, {"motoboy", o.motoboy},
            {"mar", o.mar},         {"mod", o.mod},       {"ano", o.ano},
            {"plac", o.plac},       {"data", o.data},     {"courierPhone", o.courierPhone},
            {"obs", o.obs}};
}

QMap<QString, QString> valuesOf(const ReceiptPrint& r) {
    return {{"recibo", r.recibo},       {"cliente", r.cliente}, {"endereco1", r.endereco1},
            {"bairro1", r.bairro1},     {"cidade1", r.cidade1}, {"uf1", r.uf1},
            {"telefone1", r.telefone1}, {"cnpj", r.cnpj},       {"inscest", r.inscest},
            {"valor", r.valor},         {"extenso", r.extenso}, {"referente", r.referente},
            {"local", r.local},         {"data", r.data}};
}

QString blanks(int n) {
    return QString(n, QLatin1Char(' '));
}

}  // namespace

HtmlDocumentLayout serviceOrderHtml(const ServiceOrderPrint& o) {
    const QString gap = QStringLiteral("&nbsp").repeated(10);
    HtmlDocumentLayout l;
    l.title = QStringLiteral("Ordem de Serviço");
    l.heading = QStringLiteral("ORDEM DE SERVIÇO");
    l.values = valuesOf(o);
    l.head = {
        QStringLiteral("<div align=\"right\">Ordem de Serviço No.: {comanda}</div><br>"),
        QStringLiteral("Cliente : {codcli} - {cliente} <br>"),
        QStringLiteral("Endereço : {end|40} - Bairro : {bairro|10} - Cidade : {cid|10} - UF : "
                       "{uf|5} - CEP : {cep?}<br>"),
        o.phones
            ? QStringLiteral("Solicitante : {solicit|20} - Telefones : {fone1?} / {fone2?}<br>")
            : QStringLiteral("Solicitante : {solicit}<br>"),
        "Hora Saida : {hora1?}" + gap + " - Hora Inicial : {hora2?}" + gap +
            " - Hora Final : {hora3?}" + gap + " - Total de Horas : {hora4?}<br>",
        QStringLiteral("Motoboy : {codmot} - {motoboy} - Telefone : {courierPhone?}<br>"),
        QStringLiteral(
            "Marca : {mar|40} - Modelo : {mod|40} - Ano : {ano|10} - Placa : {plac?}<br>"),
        QStringLiteral("<div align=\"right\">Data : {data?}</div><br>"),
        QStringLiteral("<h4 align=\"left\">OBSERVACOES</h4>"),
    };
    l.notes = true;
    l.tail = {
        QStringLiteral("<h3 align=\"left\">NAO TRANSPORTAMOS VALORES EM ESPECIE</h3>"),
        QStringLiteral("<hr Width=40% Align=Right Noshade>"),
        QStringLiteral("<div align=\"right\">ASSINATURA E CARIMBO DO CLIENTE</div><br>"),
        QStringLiteral(
            "<blockquote>NOTA: Com base nesta Ordem de Serviço sera emitida a Nota Fiscal de "
            "acordo com o Decreto Nº 6879 de 24/04/67. O tempo de prestação do serviço sera "
            "contado desde o inicio do veículo no cliente, até o termino do serviço. A fração "
            "minima do tempo de serviço é de 2(duas) horas. Após às 18:00hs, acrescimo de 50% e "
            "após às 22:00hs acrescimo de 100% sobre o valor normal contratado.</blockquote>"),
        QStringLiteral("<blockquote>A locatoria não tem responsabilidade quanto a quebra, avaria "
                       "das mercadorias ou documentos transportados, caso o cliente não tenha "
                       "seguro.</blockquote>"),
    };
    l.pixPayload = o.pixPayload;
    return l;
}

HtmlDocumentLayout receiptHtml(const ReceiptPrint& r) {
    HtmlDocumentLayout l;
    l.title = QStringLiteral("Recibo");
    l.heading = QStringLiteral("RECIBO");
    l.values = valuesOf(r);
    // Each line of the receipt is followed by an empty one.
    const QStringList lines = {
        QStringLiteral("Recebemos de {cliente}"),
        QStringLiteral("Endereço : {endereco1|40} - Bairro : {bairro1|10} - Cidade : {cidade1|10} "
                       "- UF : {uf1|5}"),
        QStringLiteral("Telefone : {telefone1?} - C.N.P.J. / C.P.F. : {cnpj?} - Inscrição "
                       "Estadual / R.G. : {inscest}"),
        QStringLiteral("A quantia de {valor} - {extenso}"),
        QStringLiteral("Referente à {referente}"),
        QStringLiteral("Local {local}"),
    };
    l.head = {QStringLiteral("<div align=\"right\">Recibo No.: {recibo}</div><br>")};
    for (const QString& line : lines)
        l.head += {line + QStringLiteral(" <br>"), QStringLiteral(" <br>")};
    l.head += {QStringLiteral("<div align=\"right\">Data : {data?}</div><br>"),
               QStringLiteral("<hr Width=40% Align=Right Noshade>"),
               QStringLiteral("<div align=\"right\">ASSINATURA E CARIMBO DO CLIENTE</div><br>")};
    l.pixPayload = r.pixPayload;
    return l;
}

QString fillPlaceholders(const QString& line, const std::function<QString(const QString&)>& value) {
    QString out;
    qsizetype i = 0;
    while (i < line.size()) {
        const qsizetype open = line.indexOf(QLatin1Char('{'), i);
        const qsizetype close = open < 0 ? -1 : line.indexOf(QLatin1Char('}'), open);
        if (open < 0 || close < 0) {
            out += line.mid(i);
            break;
        }
        out += line.mid(i, open - i);
        out += value(line.mid(open + 1, close - open - 1));
        i = close + 1;
    }
    return out;
}

TextDocumentLayout serviceOrderTextLayout(const ServiceOrderPrint& o) {
    using L = TextDocumentLine;
    TextDocumentLayout l;
    l.title = blanks(24) + "O R D E M   D E   S E R V I C O";
    l.values = valuesOf(o);
    l.lines = {
        {L::Separator, {}},
        {L::Condensed, "Data : {data}" + blanks(106) + "1o. via cliente / 2o. via fornecedor"},
        {L::Separator, {}},
        {L::Condensed, blanks(126) + "Ordem de Servico No. : {comanda}"},
        {L::Condensed, QStringLiteral("Cliente: {codcli:6} - {cliente:60} - Endereco: {end}")},
        o.phones ? L{L::Condensed,
                     QStringLiteral("Bairro: {bairro:25} - Cid.: {cid:30} - UF: {uf:2} - CEP: "
                                    "{cep:9} - Telefones: ({ddd}) {fone1} / {fone2}")}
                 : L{L::Condensed, QStringLiteral("Bairro : {bairro:25} - Cidade : {cid:30} - UF : "
                                                  "{uf:2} - CEP : {cep:9}")},
        {L::Condensed, QStringLiteral("Solicitante: {solicit}")},
        {L::Condensed,
         QStringLiteral("Hora saida:   {hora1:5}  - Hora inicial:   {hora2:5}   - Hora final:   "
                        "{hora3:5}   - Tot. horas:   {hora4:5}  - Motoboy: {codmot} - {motoboy}")},
        {L::Condensed, QStringLiteral("Marca : {mar:20}  - Modelo : {mod:20}   - Ano : {ano:9}   - "
                                      "Placa : {plac:9}  - Telefone : {courierPhone}")},
        {L::Condensed, QStringLiteral("Observacoes:")},
        {L::Notes, {}},
        {L::Condensed, {}},
        {L::Condensed, blanks(105) + QString(54, QLatin1Char('_'))},
        {L::Emphasised,
         QStringLiteral(
             "NAO TRANSPORTAMOS VALORES EM ESPECIE                    ASSINATURA E CARIMBO")},
        {L::Condensed, {}},
        {L::Condensed,
         QStringLiteral(
             "NOTA: Com base nesta Ordem de Servico sera emitida a Nota Fiscal de acordo "
             "com o Decreto No.6879 de 24/04/67. O tempo de prestacao do servico sera "
             "contado des-")},
        {L::Condensed,
         QStringLiteral("de o inicio do veiculo no cliente, ate o ternmino do servico. A fracao "
                        "minima do tempo de servico e de 2 (duas) horas. Apos as 18:00hs, "
                        "acrescimo de 50% e apos")},
        {L::Condensed,
         QStringLiteral("as 22:00hs acrescimo de 100% sobre o valor normal contratado.")},
        {L::Condensed,
         QStringLiteral("A locatoria nao tem responsabilidade quanto a quebra, avaria ou extravio "
                        "das mercadorias ou documentos transportados, caso o cliente nao tenha "
                        "seguro.")},
    };
    l.pixPayload = o.pixPayload;
    return l;
}

TextDocumentLayout receiptTextLayout(const ReceiptPrint& r) {
    using L = TextDocumentLine;
    TextDocumentLayout l;
    l.title = blanks(34) + "R E C I B O";
    l.values = valuesOf(r);
    l.lines = {
        {L::Separator, {}},
        {L::Condensed, blanks(136) + "Recibo No. : {recibo}"},
        {L::Condensed, {}},
        {L::Condensed, QStringLiteral("Recebemos de : {cliente}")},
        {L::Condensed, {}},
        {L::Condensed, QStringLiteral("Endereco: {endereco1:50} - Bairro: {bairro1:30} - Cidade: "
                                      "{cidade1:30} - Estado: {uf1}")},
        {L::Condensed, QStringLiteral("CNPJ / CPF : {cnpj:18}    Inscricao Estadual / RG : "
                                      "{inscest}     Telefone : {telefone1}")},
        {L::Condensed, {}},
        {L::Condensed, QStringLiteral("A quantia de R$ {valor} - {extenso}")},
        {L::Condensed, {}},
        {L::Condensed, QStringLiteral("Referente a : {referente}")},
        {L::Condensed, {}},
        {L::Condensed, QStringLiteral("Local : {local:60} - Data : {data}")},
        {L::Condensed, {}},
        {L::Condensed, blanks(105) + QString(54, QLatin1Char('_'))},
        {L::Emphasised, blanks(56) + "ASSINATURA E CARIMBO"},
    };
    l.pixPayload = r.pixPayload;
    return l;
}

}  // namespace quelvarino
