#include "data/schema.h"

namespace quelvarino {

int TableDef::fieldIndex(const QString& anyCase) const {
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].name.compare(anyCase, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

const IndexDef* TableDef::findIndex(const QString& anyCase) const {
    for (const IndexDef& index : indexes) {
        if (index.name.compare(anyCase, Qt::CaseInsensitive) == 0)
            return &index;
    }
    return nullptr;
}

namespace schema {
namespace {

using T = FieldType;

QList<FieldDef> texts(const QStringList& names) {
    QList<FieldDef> out;
    for (const QString& name : names)
        out.append({name, T::Text});
    return out;
}

QList<FieldDef> addressBlock(int n) {
    const QString s = QString::number(n);
    return texts({"ENDERECO" + s, "BAIRRO" + s, "CEP" + s, "CIDADE" + s, "UF" + s, "DDD" + s,
                  "TELEFONE" + s + "_1", "TIPOTEL" + s + "_1", "TELEFONE" + s + "_2",
                  "TIPOTEL" + s + "_2", "CONTATO" + s});
}

// Secondary indexes named like their field.
QList<IndexDef> namedIndexes(const QStringList& fields) {
    QList<IndexDef> out;
    for (const QString& f : fields)
        out.append({f, {f}, false});
    return out;
}

TableDef clients() {
    TableDef t;
    t.name = "tbclientes";
    t.fields = texts({"CODCLI", "RAZAOSOCIAL", "CNPJ", "INSCREST", "NOMEFAN"});
    t.fields += addressBlock(1);
    t.fields += addressBlock(2);
    t.fields += texts({"BANCO", "AGENCIA", "CONTAC", "SITUACAO"});
    t.fields += {{"VALOR", T::Money}, {"DATA", T::Date}};
    t.primaryKey = {"CODCLI"};
    t.indexes = namedIndexes({"RAZAOSOCIAL", "CNPJ", "INSCREST", "NOMEFAN", "ENDERECO1",
                              "ENDERECO2", "TELEFONE1_1", "TELEFONE2_1", "CONTAC", "DATA"});
    return t;
}

TableDef couriers() {
    TableDef t;
    t.name = "tbmotociclista";
    t.fields = texts({"COD",       "NOME",     "CPF",    "RG",        "CNH",      "CATEGORIA",
                      "ENDERECO",  "BAIRRO",   "CIDADE", "UF",        "CEP",      "DDD1",
                      "TELEFONE1", "TIPOTEL1", "DDD2",   "TELEFONE2", "TIPOTEL2", "MARCA",
                      "MODELO",    "ANO",      "PLACA",  "OBSERVACAO"});
    t.fields +=
        {{"VALOR", T::Money}, {"SALARIO", T::Money}, {"SITUACAO", T::Text}, {"DATA", T::Date}};
    t.primaryKey = {"COD"};
    t.indexes = namedIndexes(
        {"NOME", "CPF", "RG", "CNH", "CATEGORIA", "ENDERECO", "TELEFONE1", "TELEFONE2", "DATA"});
    return t;
}

TableDef expenseTypes() {
    TableDef t;
    t.name = "tbdespesa";
    t.fields = {{"COD", T::Text}, {"DESPESA", T::Text}, {"DATA", T::Date}};
    t.primaryKey = {"COD"};
    t.indexes = namedIndexes({"DESPESA", "DATA"});
    return t;
}

TableDef expenseEntries() {
    TableDef t;
    t.name = "tbentrdesp";
    t.fields = {{"CONT", T::AutoInc}, {"NUMDESP", T::Text}, {"CODMOT", T::Text},
                {"MOTOBOY", T::Text}, {"CODDESP", T::Text}, {"DESPESA", T::Text},
                {"VALOR", T::Money},  {"DATA", T::Date}};
    t.primaryKey = {"CONT"};
    t.indexes = namedIndexes({"NUMDESP", "MOTOBOY", "DESPESA"});
    return t;
}

TableDef orders() {
    TableDef t;
    t.name = "tbordem";
    t.fields =
        texts({"COMANDA", "CODCLI", "CLIENTE", "SOLICITANTE", "HORA1", "HORA2", "HORA3", "HORA4"});
    t.fields += {{"VALOR", T::Money},  {"TAXAPERIM", T::Money}, {"SEGURO", T::Money},
                 {"TOTVAL", T::Money}, {"CODMOT", T::Text},     {"MOTOBOY", T::Text},
                 {"VALMOT", T::Money}, {"TOTVALMOT", T::Money}};
    t.fields += texts({"MARCA", "MODELO", "ANO", "PLACAM", "VEICULO", "PLACA", "PAGAMENTO",
                       "DESCPAG", "OBSERVACAO"});
    t.fields += {{"DATA", T::Date},      {"TOTHORN", T::Text},    {"TOTHOR50", T::Text},
                 {"TOTHOR100", T::Text}, {"VALORN", T::Money},    {"VALOR50", T::Money},
                 {"VALOR100", T::Money}, {"PORCTAXA", T::Number}, {"TOTTAXA", T::Money},
                 {"TOTTAXAM", T::Money}};
    t.primaryKey = {"COMANDA"};
    t.indexes =
        namedIndexes({"COMANDA", "CLIENTE", "SOLICITANTE", "MOTOBOY", "VEICULO", "PLACA", "DATA"});
    t.indexes.append({"PAGAMENTO", {"PAGAMENTO", "DATA"}, false});
    t.indexes.append({"CODCLI", {"CODCLI", "PAGAMENTO", "DATA"}, false});
    t.indexes.append({"CODMOT", {"CODMOT", "DATA"}, false});
    return t;
}

TableDef receipts() {
    TableDef t;
    t.name = "tbrecibo";
    t.fields = texts({"RECIBO", "COD", "CLIENTE", "CNPJ", "INSCEST"});
    t.fields += {{"VALOR", T::Money},
                 {"EXTENSO", T::Text},
                 {"REFERENTE", T::Text},
                 {"LOCAL", T::Text},
                 {"DATA", T::Date}};
    t.primaryKey = {"RECIBO"};
    t.indexes = namedIndexes({"CLIENTE", "CNPJ", "INSCEST"});
    return t;
}

TableDef company() {
    TableDef t;
    t.name = "tbempresa";
    t.fields = {{"CODEMP", T::AutoInc}};
    t.fields += texts({"RAZAOSOCIAL", "CNPJ", "INSCREST", "NOMEFAN", "SITE", "EMAIL"});
    t.fields += addressBlock(1);
    t.fields += addressBlock(2);
    t.fields += texts({"BANCO", "AGENCIA", "CONTAC", "SOFTWARE"});
    t.fields += {{"DATA", T::Date}};
    for (const UpgradeStep& step : upgradeSteps()) {
        if (step.table == t.name)
            t.fields += step.fields;
    }
    t.indexes = namedIndexes({"RAZAOSOCIAL"});
    return t;
}

TableDef passwords() {
    TableDef t;
    t.name = "tbsenha";
    t.fields = {{"REF", T::Text}, {"SENHA", T::Bytes}};
    t.indexes = namedIndexes({"REF"});
    return t;
}

}  // namespace

const QList<TableDef>& mainTables() {
    static const QList<TableDef> tables = {clients(),        couriers(), orders(),
                                           receipts(),       company(),  expenseTypes(),
                                           expenseEntries(), passwords()};
    return tables;
}

const TableDef& workTable1() {
    static const TableDef t = [] {
        TableDef d;
        d.name = "tbrelatorio8_1";
        d.fields = {{"Cont", T::AutoInc}, {"Codigo", T::Text}, {"Cliente", T::Text}};
        d.primaryKey = {"Cont"};
        d.indexes = namedIndexes({"Codigo"});
        return d;
    }();
    return t;
}

const TableDef& workTable2() {
    static const TableDef t = [] {
        TableDef d;
        d.name = "tbrelatorio8_2";
        d.fields = {{"Cont", T::AutoInc},   {"Codigo", T::Text},      {"Cliente", T::Text},
                    {"Comanda", T::Text},   {"Solicitante", T::Text}, {"Hora1", T::Text},
                    {"Hora2", T::Text},     {"Hora3", T::Text},       {"Hora4", T::Text},
                    {"Valor", T::Money},    {"Taxa", T::Money},       {"TotVal", T::Money},
                    {"Pagamento", T::Text}, {"Data", T::Date}};
        d.primaryKey = {"Cont"};
        d.indexes = namedIndexes({"Codigo"});
        return d;
    }();
    return t;
}

int currentVersion() {
    return upgradeSteps().isEmpty() ? 1 : upgradeSteps().last().version;
}

const QList<UpgradeStep>& upgradeSteps() {
    // In version order; a step is never changed once it has shipped: a
    // later change is a step of its own.
    static const QList<UpgradeStep> steps = {
        // The company's PIX data, for the payment codes of receipts and orders.
        {2, "tbempresa", {{"PIXTIPO"}, {"PIXCHAVE"}, {"PIXNOME"}, {"PIXCIDADE"}, {"PIXIMPRIME"}}},
    };
    return steps;
}

QString versionTable() {
    return QStringLiteral("tbesquema");
}

bool addedByUpgrade(const QString& table, const QString& field) {
    for (const UpgradeStep& step : upgradeSteps()) {
        if (step.table.compare(table, Qt::CaseInsensitive) != 0)
            continue;
        for (const FieldDef& f : step.fields) {
            if (f.name.compare(field, Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}

bool isMainSchema(const QList<TableDef>& tables) {
    const QList<TableDef>& main = mainTables();
    if (tables.size() != main.size())
        return false;
    for (int i = 0; i < tables.size(); ++i) {
        if (tables[i].name != main[i].name)
            return false;
    }
    return true;
}

const TableDef* findMainTable(const QString& anyCase) {
    for (const TableDef& t : mainTables()) {
        if (t.name.compare(anyCase, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

FieldType typeOfField(const QString& anyCase) {
    QList<const TableDef*> all;
    for (const TableDef& t : mainTables())
        all.append(&t);
    all.append(&workTable1());
    all.append(&workTable2());
    for (const TableDef* t : all) {
        const int i = t->fieldIndex(anyCase);
        if (i >= 0)
            return t->fields[i].type;
    }
    return FieldType::Text;
}

}  // namespace schema
}  // namespace quelvarino
