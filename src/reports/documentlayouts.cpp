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

}  // namespace quelvarino
