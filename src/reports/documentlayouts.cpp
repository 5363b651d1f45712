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

DocumentLayout serviceOrderLayout(const ReportRow& o) {
    const Format hours = Format::Hours;
    DocumentLayout l;
    l.title = QStringLiteral("ORDEM DE SERVIÇO");
    l.sheetName = QStringLiteral("Ordem de Serviço");
    l.number = field("Ordem de Serviço Nº. :", o.text(QStringLiteral("COMANDA")));
    l.rows = {
        {{QStringLiteral("Cliente :"),
          {{Format::Text, o.text(QStringLiteral("CODCLI"))},
           {Format::Text, o.text(QStringLiteral("CLIENTE"))}},
          0.75},
         field("Data :", Format::Date, o.text(QStringLiteral("DATA")), 0.25)},
        {field("Endereço :", o.text(QStringLiteral("ENDERECO1")))},
        {field("Bairro :", o.text(QStringLiteral("BAIRRO1")), 0.3),
         field("Cidade :", o.text(QStringLiteral("CIDADE1")), 0.35),
         field("UF :", o.text(QStringLiteral("UF1")), 0.1),
         field("CEP :", o.text(QStringLiteral("CEP1")), 0.25)},
    };
    if ((o.text(QStringLiteral("TELEFONES")) == QLatin1String("S")))
        l.rows.append({field("Telefones :", "(" + o.text(QStringLiteral("DDD1")) + ") " +
                                                o.text(QStringLiteral("TELEFONE1_1")) + " / " +
                                                o.text(QStringLiteral("TELEFONE1_2")))});
    l.rows += {
        {field("Solicitante :", o.text(QStringLiteral("SOLICITANTE")))},
        {field("Hora Saída :", hours, o.text(QStringLiteral("HORA1")), 0.25),
         field("Hora Inicial :", hours, o.text(QStringLiteral("HORA2")), 0.25),
         field("Hora Final :", hours, o.text(QStringLiteral("HORA3")), 0.25),
         field("Total de Horas :", hours, o.text(QStringLiteral("HORA4")), 0.25)},
        {{QStringLiteral("Motoboy :"),
          {{Format::Text, o.text(QStringLiteral("CODMOT"))},
           {Format::Text, o.text(QStringLiteral("MOTOBOY"))}},
          0.65},
         field("Telefone do Motoboy :", o.text(QStringLiteral("TELEFONEMOTOBOY")), 0.35)},
        {field("Marca :", o.text(QStringLiteral("MARCA")), 0.3),
         field("Modelo :", o.text(QStringLiteral("MODELO")), 0.3),
         field("Ano :", o.text(QStringLiteral("ANO")), 0.2),
         field("Placa :", o.text(QStringLiteral("PLACAM")), 0.2)},
    };
    l.notes = field("Observações :", o.text(QStringLiteral("OBSERVACAO")));
    l.pixPayload = o.text(QStringLiteral("PIX"));
    return l;
}

DocumentLayout receiptLayout(const ReportRow& r) {
    DocumentLayout l;
    l.title = QStringLiteral("RECIBO");
    l.sheetName = QStringLiteral("Recibo");
    l.number = field("Recibo Nº. :", r.text(QStringLiteral("RECIBO")));
    l.rows = {
        {{QStringLiteral("Recebemos de :"),
          {{Format::Text, r.text(QStringLiteral("COD")), false},
           {Format::Text, r.text(QStringLiteral("CLIENTE"))}},
          1.0}},
        {field("Endereço :", r.text(QStringLiteral("ENDERECO1")), 0.4),
         field("Bairro :", r.text(QStringLiteral("BAIRRO1")), 0.22),
         field("Cidade :", r.text(QStringLiteral("CIDADE1")), 0.26),
         field("UF :", r.text(QStringLiteral("UF1")), 0.12)},
        {field("Telefone :", r.text(QStringLiteral("TELEFONE1_1")), 0.25),
         field("C.N.P.J./C.P.F. :", r.text(QStringLiteral("CNPJ")), 0.38),
         field("Inscrição Estadual/R.G. :", r.text(QStringLiteral("INSCEST")), 0.37)},
        {{QStringLiteral("A quantia de R$"),
          {{Format::Money, r.text(QStringLiteral("VALOR"))},
           {Format::Text, r.text(QStringLiteral("EXTENSO"))}},
          1.0}},
        {field("Referente à :", r.text(QStringLiteral("REFERENTE")))},
        {field("Local :", r.text(QStringLiteral("LOCAL")), 0.7),
         field("Data :", Format::Date, r.text(QStringLiteral("DATA")), 0.3)},
    };
    l.pixPayload = r.text(QStringLiteral("PIX"));
    return l;
}

namespace {

QString blanks(int n) {
    return QString(n, QLatin1Char(' '));
}

}  // namespace

HtmlDocumentLayout serviceOrderHtml(const ReportRow& o) {
    const QString gap = QStringLiteral("&nbsp").repeated(10);
    HtmlDocumentLayout l;
    l.title = QStringLiteral("Ordem de Serviço");
    l.heading = QStringLiteral("ORDEM DE SERVIÇO");
    l.values = o.values();
    l.head = {
        QStringLiteral("<div align=\"right\">Ordem de Serviço No.: {COMANDA}</div><br>"),
        QStringLiteral("Cliente : {CODCLI} - {CLIENTE} <br>"),
        QStringLiteral(
            "Endereço : {ENDERECO1|40} - Bairro : {BAIRRO1|10} - Cidade : {CIDADE1|10} - UF : "
            "{UF1|5} - CEP : {CEP1?}<br>"),
        (o.text(QStringLiteral("TELEFONES")) == QLatin1String("S"))
            ? QStringLiteral("Solicitante : {SOLICITANTE|20} - Telefones : {TELEFONE1_1?} / "
                             "{TELEFONE1_2?}<br>")
            : QStringLiteral("Solicitante : {SOLICITANTE}<br>"),
        "Hora Saida : {HORA1?}" + gap + " - Hora Inicial : {HORA2?}" + gap +
            " - Hora Final : {HORA3?}" + gap + " - Total de Horas : {HORA4?}<br>",
        QStringLiteral("Motoboy : {CODMOT} - {MOTOBOY} - Telefone : {TELEFONEMOTOBOY?}<br>"),
        QStringLiteral(
            "Marca : {MARCA|40} - Modelo : {MODELO|40} - Ano : {ANO|10} - Placa : {PLACAM?}<br>"),
        QStringLiteral("<div align=\"right\">Data : {DATA?}</div><br>"),
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
    l.pixPayload = o.text(QStringLiteral("PIX"));
    return l;
}

HtmlDocumentLayout receiptHtml(const ReportRow& r) {
    HtmlDocumentLayout l;
    l.title = QStringLiteral("Recibo");
    l.heading = QStringLiteral("RECIBO");
    l.values = r.values();
    // Each line of the receipt is followed by an empty one.
    const QStringList lines = {
        QStringLiteral("Recebemos de {CLIENTE}"),
        QStringLiteral("Endereço : {ENDERECO1|40} - Bairro : {BAIRRO1|10} - Cidade : {CIDADE1|10} "
                       "- UF : {UF1|5}"),
        QStringLiteral("Telefone : {TELEFONE1_1?} - C.N.P.J. / C.P.F. : {CNPJ?} - Inscrição "
                       "Estadual / R.G. : {INSCEST}"),
        QStringLiteral("A quantia de {VALOR} - {EXTENSO}"),
        QStringLiteral("Referente à {REFERENTE}"),
        QStringLiteral("Local {LOCAL}"),
    };
    l.head = {QStringLiteral("<div align=\"right\">Recibo No.: {RECIBO}</div><br>")};
    for (const QString& line : lines)
        l.head += {line + QStringLiteral(" <br>"), QStringLiteral(" <br>")};
    l.head += {QStringLiteral("<div align=\"right\">Data : {DATA?}</div><br>"),
               QStringLiteral("<hr Width=40% Align=Right Noshade>"),
               QStringLiteral("<div align=\"right\">ASSINATURA E CARIMBO DO CLIENTE</div><br>")};
    l.pixPayload = r.text(QStringLiteral("PIX"));
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

TextDocumentLayout serviceOrderTextLayout(const ReportRow& o) {
    using L = TextDocumentLine;
    TextDocumentLayout l;
    l.title = blanks(24) + "O R D E M   D E   S E R V I C O";
    l.values = o.values();
    l.lines = {
        {L::Separator, {}},
        {L::Condensed, "Data : {DATA}" + blanks(106) + "1o. via cliente / 2o. via fornecedor"},
        {L::Separator, {}},
        {L::Condensed, blanks(126) + "Ordem de Servico No. : {COMANDA}"},
        {L::Condensed,
         QStringLiteral("Cliente: {CODCLI:6} - {CLIENTE:60} - Endereco: {ENDERECO1}")},
        (o.text(QStringLiteral("TELEFONES")) == QLatin1String("S"))
            ? L{L::Condensed,
                QStringLiteral("Bairro: {BAIRRO1:25} - Cid.: {CIDADE1:30} - UF: {UF1:2} - CEP: "
                               "{CEP1:9} - Telefones: ({DDD1}) {TELEFONE1_1} / {TELEFONE1_2}")}
            : L{L::Condensed, QStringLiteral("Bairro : {BAIRRO1:25} - Cidade : {CIDADE1:30} - UF : "
                                             "{UF1:2} - CEP : {CEP1:9}")},
        {L::Condensed, QStringLiteral("Solicitante: {SOLICITANTE}")},
        {L::Condensed,
         QStringLiteral("Hora saida:   {HORA1:5}  - Hora inicial:   {HORA2:5}   - Hora final:   "
                        "{HORA3:5}   - Tot. horas:   {HORA4:5}  - Motoboy: {CODMOT} - {MOTOBOY}")},
        {L::Condensed,
         QStringLiteral("Marca : {MARCA:20}  - Modelo : {MODELO:20}   - Ano : {ANO:9}   - "
                        "Placa : {PLACAM:9}  - Telefone : {TELEFONEMOTOBOY}")},
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
    l.pixPayload = o.text(QStringLiteral("PIX"));
    return l;
}

TextDocumentLayout receiptTextLayout(const ReportRow& r) {
    using L = TextDocumentLine;
    TextDocumentLayout l;
    l.title = blanks(34) + "R E C I B O";
    l.values = r.values();
    l.lines = {
        {L::Separator, {}},
        {L::Condensed, blanks(136) + "Recibo No. : {RECIBO}"},
        {L::Condensed, {}},
        {L::Condensed, QStringLiteral("Recebemos de : {CLIENTE}")},
        {L::Condensed, {}},
        {L::Condensed, QStringLiteral("Endereco: {ENDERECO1:50} - Bairro: {BAIRRO1:30} - Cidade: "
                                      "{CIDADE1:30} - Estado: {UF1}")},
        {L::Condensed, QStringLiteral("CNPJ / CPF : {CNPJ:18}    Inscricao Estadual / RG : "
                                      "{INSCEST}     Telefone : {TELEFONE1_1}")},
        {L::Condensed, {}},
        {L::Condensed, QStringLiteral("A quantia de R$ {VALOR} - {EXTENSO}")},
        {L::Condensed, {}},
        {L::Condensed, QStringLiteral("Referente a : {REFERENTE}")},
        {L::Condensed, {}},
        {L::Condensed, QStringLiteral("Local : {LOCAL:60} - Data : {DATA}")},
        {L::Condensed, {}},
        {L::Condensed, blanks(105) + QString(54, QLatin1Char('_'))},
        {L::Emphasised, blanks(56) + "ASSINATURA E CARIMBO"},
    };
    l.pixPayload = r.text(QStringLiteral("PIX"));
    return l;
}

}  // namespace quelvarino
