#include "reports/definitionparts.h"

#include "core/dates.h"
#include "core/money.h"
#include "data/datafolder.h"
#include "data/table.h"

#include <QFileInfo>

namespace quelvarino {

void placeIn(ReportDefinition& e, const MenuReportPlace& place) {
    e.kind = ReportKind::Menu;
    e.requester = QString::fromLatin1(place.requester);
    e.caption = QString::fromUtf8(place.caption);
    e.menu = place.menu;
    e.dialog = QString::fromLatin1(place.dialog);
    e.fileStem = QString::fromLatin1(place.stem);
    e.command = QString::fromLatin1(place.command);
    e.parameters = QString::fromLatin1(place.parameters);
}

ReportData reportBase(const QString& id) {
    ReportData d;
    d.id = id;
    d.company = CompanyHeader::fromStore();
    const QString logo = DataFolder::path() + QStringLiteral("/logo.bmp");
    if (QFileInfo::exists(logo))
        d.logoFile = logo;
    return d;
}

void putPeriod(ReportData& d, const Criteria& c) {
    d.periodFrom = c.from.isValid() ? formatDate(c.from) : QString();
    d.periodTo = c.to.isValid() ? formatDate(c.to) : QString();
    d.totals.insert(QStringLiteral("DE"), d.periodFrom);
    d.totals.insert(QStringLiteral("ATE"), d.periodTo);
}

Refusal nothingFound() {
    return {QStringLiteral("Intervalos inexistentes."), {}};
}

QString sixDigits(const QString& code) {
    return code.size() >= 6 ? code : QString(6 - code.size(), QLatin1Char('0')) + code;
}

namespace {

QString fieldOf(const char* table, const char* key, const QString& code, const char* field) {
    if (code.isEmpty())
        return QString();
    Table t(QString::fromLatin1(table));
    if (!t.findExact(QString::fromLatin1(key), sixDigits(code)))
        return QString();
    return t.fieldByName(QString::fromLatin1(field)).asString();
}

bool exists(const char* table, const char* key, const QString& code) {
    if (code.isEmpty())
        return false;
    Table t(QString::fromLatin1(table));
    return t.findExact(QString::fromLatin1(key), sixDigits(code));
}

}  // namespace

QString clientName(const QString& code) {
    return fieldOf("tbclientes", "CODCLI", code, "RAZAOSOCIAL");
}

QString courierName(const QString& code) {
    return fieldOf("tbmotociclista", "COD", code, "NOME");
}

QString courierField(const QString& code, const char* field) {
    return fieldOf("tbmotociclista", "COD", code, field);
}

bool anyOrder() {
    Table orders(QStringLiteral("tbordem"));
    orders.setIndexFieldNames(QStringLiteral("COMANDA"));
    orders.open();
    return !orders.isEmpty() && !orders.fieldByName("COMANDA").asString().isEmpty();
}

Refusal clientRefusal(const QString& code) {
    const QString focus = QStringLiteral("Edcodcli");
    if (!exists("tbclientes", "CODCLI", code))
        return {QStringLiteral("Código do cliente inexistente."), focus};
    if (fieldOf("tbclientes", "CODCLI", code, "SITUACAO") == QLatin1String("BLOQUEADO"))
        return {QStringLiteral("Situação do Cliente BLOQUEADO."), focus};
    return {};
}

QString salaryRefusal(const QString& salary) {
    const QString shown =
        salary.isEmpty() || !isNumberText(salary) ? QStringLiteral("0,00") : reformatMoney(salary);
    return shown == QLatin1String("0,00")
               ? QStringLiteral("Este motociclista não tem salário fixo.")
               : QString();
}

Refusal courierRefusal(const QString& code, bool salaried) {
    const QString focus = QStringLiteral("Edcodmot");
    if (!exists("tbmotociclista", "COD", code))
        return {QStringLiteral("Código do motoboy inexistente."), focus};
    if (courierField(code, "SITUACAO") == QLatin1String("BLOQUEADO"))
        return {QStringLiteral("Situação do Motoboy BLOQUEADO."), focus};
    if (salaried) {
        const QString why = salaryRefusal(courierField(code, "SALARIO"));
        if (!why.isEmpty())
            return {why, focus};
    }
    return {};
}

}  // namespace quelvarino
