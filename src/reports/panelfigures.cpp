#include "reports/panelfigures.h"

#include "core/dates.h"
#include "core/errors.h"
#include "core/money.h"
#include "core/reporttotals.h"
#include "data/query.h"
#include "data/table.h"

#include <QHash>
#include <algorithm>
#include <map>

namespace quelvarino {
namespace {

QDate dateOf(const QString& text) {
    if (isBlankDateText(text))
        return QDate();
    try {
        return parseDate(text);
    } catch (const ConversionError&) {
        return QDate();
    }
}

double moneyOf(const QString& text) {
    return isNumberText(text.trimmed()) ? parseMoney(text.trimmed()) : 0.0;
}

// "hhh:mm" of the courier totals, in minutes.
long long minutesOf(const QString& hours) {
    const int colon = int(hours.indexOf(QLatin1Char(':')));
    if (colon < 0)
        return 0;
    return hours.left(colon).trimmed().toLongLong() * 60 +
           hours.mid(colon + 1).trimmed().toLongLong();
}

QString monthKey(const QDate& d) {
    return d.toString(QStringLiteral("MM/yyyy"));
}

}  // namespace

double PanelFigures::billing() const {
    double sum = 0;
    for (int i = 0; i < buckets.size(); ++i)
        sum += cash[i] + invoiced[i] + others[i];
    return sum;
}

struct PanelReader::State {
    Query orders;
    int read = 0, total = 0;
    bool done = false;
    int date = -1, client = -1, clientName = -1, courier = -1, courierName = -1, payment = -1,
        start = -1, value = -1, normal = -1, fifty = -1, hundred = -1, fixed = -1;
    QList<MoneySum> cash, invoiced, others;
    QHash<QString, MoneySum> clientBilling;
    QHash<QString, QString> clientNames, courierNames;
    QHash<QString, QString> rates;  // the couriers' VALOR
    std::map<QString, CourierTotalizer> courierPeriod;
    std::map<QPair<int, QString>, CourierTotalizer> courierMonth;  // (month, courier)
    QList<MoneySum> monthBilling;

    QString rateOf(const QString& code) {
        auto it = rates.constFind(code);
        if (it != rates.constEnd())
            return it.value();
        Table couriers(QStringLiteral("tbmotociclista"));
        const QString rate = !code.isEmpty() && couriers.findExact(QStringLiteral("COD"), code)
                                 ? couriers.fieldByName("VALOR").asString()
                                 : QString();
        rates.insert(code, rate);
        return rate;
    }
    CourierTotalizer& totalizer(std::map<QString, CourierTotalizer>& m, const QString& code) {
        auto it = m.find(code);
        if (it == m.end())
            it = m.emplace(code, CourierTotalizer(rateOf(code))).first;
        return it->second;
    }
    CourierTotalizer& monthTotalizer(int month, const QString& code) {
        const auto key = qMakePair(month, code);
        auto it = courierMonth.find(key);
        if (it == courierMonth.end())
            it = courierMonth.emplace(key, CourierTotalizer(rateOf(code))).first;
        return it->second;
    }
};

PanelReader::PanelReader(const QDate& from, const QDate& to) : state_(std::make_unique<State>()) {
    PanelFigures& f = figures_;
    f.from = from;
    f.to = to;
    f.byMonth = from.daysTo(to) + 1 > 62;
    for (QDate m(from.year(), from.month(), 1); m <= to; m = m.addMonths(1))
        f.months.append(monthKey(m));
    if (f.byMonth)
        f.buckets = f.months;
    else
        for (QDate d = from; d <= to; d = d.addDays(1))
            f.buckets.append(d.toString(QStringLiteral("dd/MM")));
    State& s = *state_;
    for (int i = 0; i < f.buckets.size(); ++i) {
        s.cash.append(MoneySum());
        s.invoiced.append(MoneySum());
        s.others.append(MoneySum());
    }
    for (int i = 0; i < f.months.size(); ++i)
        s.monthBilling.append(MoneySum());
    {
        Query count;
        count.add(
            QStringLiteral("Select COUNT(*) AS N from TBOrdem Where DATA >= :de and "
                           "DATA <= :ate"));
        count.bindDate(QStringLiteral(":de"), from);
        count.bindDate(QStringLiteral(":ate"), to);
        count.open();
        s.total = int(moneyOf(count.fieldText(0)));
    }
    s.orders.add(
        QStringLiteral("Select COMANDA, DATA, CODCLI, CLIENTE, CODMOT, MOTOBOY, PAGAMENTO, HORA2, "
                       "TOTVAL, TOTHORN, TOTHOR50, TOTHOR100, VALMOT from TBOrdem Where DATA >= "
                       ":de and DATA <= :ate Order By DATA, COMANDA"));
    s.orders.bindDate(QStringLiteral(":de"), from);
    s.orders.bindDate(QStringLiteral(":ate"), to);
    s.orders.open();
    const auto col = [&s](const char* name) {
        return s.orders.fieldIndex(QString::fromLatin1(name));
    };
    s.date = col("DATA");
    s.client = col("CODCLI");
    s.clientName = col("CLIENTE");
    s.courier = col("CODMOT");
    s.courierName = col("MOTOBOY");
    s.payment = col("PAGAMENTO");
    s.start = col("HORA2");
    s.value = col("TOTVAL");
    s.normal = col("TOTHORN");
    s.fifty = col("TOTHOR50");
    s.hundred = col("TOTHOR100");
    s.fixed = col("VALMOT");
    s.orders.first();
}

PanelReader::~PanelReader() = default;

int PanelReader::read() const {
    return state_->read;
}

int PanelReader::total() const {
    return state_->total;
}

bool PanelReader::step(int count) {
    State& s = *state_;
    if (s.done)
        return true;
    PanelFigures& f = figures_;
    for (int n = 0; n < count && !s.orders.eof(); ++n, s.orders.next()) {
        const QDate day = dateOf(s.orders.fieldText(s.date));
        if (!day.isValid())
            continue;
        ++s.read;
        ++f.orders;
        const int month = (day.year() - f.from.year()) * 12 + day.month() - f.from.month();
        const int bucket = f.byMonth ? month : int(f.from.daysTo(day));
        const QString value = s.orders.fieldText(s.value);
        const QString payment = s.orders.fieldText(s.payment);
        if (bucket >= 0 && bucket < f.buckets.size()) {
            if (payment == QStringLiteral("À VISTA"))
                s.cash[bucket].add(value);
            else if (payment == QLatin1String("FATURADO"))
                s.invoiced[bucket].add(value);
            else
                s.others[bucket].add(value);
        }
        if (month >= 0 && month < f.months.size())
            s.monthBilling[month].add(value);
        const QString client = s.orders.fieldText(s.client);
        s.clientBilling[client].add(value);
        s.clientNames.insert(client, s.orders.fieldText(s.clientName));
        const QString courier = s.orders.fieldText(s.courier);
        if (!courier.isEmpty()) {
            s.courierNames.insert(courier, s.orders.fieldText(s.courierName));
            const QString n = s.orders.fieldText(s.normal), h50 = s.orders.fieldText(s.fifty),
                          h100 = s.orders.fieldText(s.hundred), fixed = s.orders.fieldText(s.fixed);
            s.totalizer(s.courierPeriod, courier).addOrder(n, h50, h100, fixed);
            if (month >= 0 && month < f.months.size())
                s.monthTotalizer(month, courier).addOrder(n, h50, h100, fixed);
        }
        const QString start = s.orders.fieldText(s.start).trimmed();
        const int hour = start.section(QLatin1Char(':'), 0, 0).trimmed().toInt();
        if (!start.section(QLatin1Char(':'), 0, 0).trimmed().isEmpty() && hour >= 0 && hour < 24)
            ++f.startHours[size_t(hour)];
    }
    if (!s.orders.eof())
        return false;
    finish();
    return true;
}

void PanelReader::finish() {
    State& s = *state_;
    PanelFigures& f = figures_;
    s.orders.close();
    // The expense entries of the period, each in its courier's month.
    Query expenses;
    expenses.add(
        QStringLiteral("Select CODMOT, VALOR, DATA from TBEntrDesp Where DATA >= :de and "
                       "DATA <= :ate"));
    expenses.bindDate(QStringLiteral(":de"), f.from);
    expenses.bindDate(QStringLiteral(":ate"), f.to);
    expenses.open();
    for (expenses.first(); !expenses.eof(); expenses.next()) {
        const QString courier = expenses.fieldText(QStringLiteral("CODMOT"));
        const QDate day = dateOf(expenses.fieldText(QStringLiteral("DATA")));
        if (courier.isEmpty() || !day.isValid())
            continue;
        const QString value = expenses.fieldText(QStringLiteral("VALOR"));
        const int month = (day.year() - f.from.year()) * 12 + day.month() - f.from.month();
        s.totalizer(s.courierPeriod, courier).addExpense(value);
        if (month >= 0 && month < f.months.size())
            s.monthTotalizer(month, courier).addExpense(value);
        if (!s.courierNames.contains(courier))
            s.courierNames.insert(courier, QString());
    }
    expenses.close();
    for (int i = 0; i < f.buckets.size(); ++i) {
        f.cash.append(s.cash[i].value());
        f.invoiced.append(s.invoiced[i].value());
        f.others.append(s.others[i].value());
    }
    for (auto it = s.clientBilling.constBegin(); it != s.clientBilling.constEnd(); ++it)
        f.topClients.append({it.key(), s.clientNames.value(it.key()), it.value().value()});
    std::sort(f.topClients.begin(), f.topClients.end(),
              [](const PanelFigures::Client& a, const PanelFigures::Client& b) {
                  return a.billing != b.billing ? a.billing > b.billing : a.code < b.code;
              });
    if (f.topClients.size() > 10)
        f.topClients.resize(10);
    // What a courier costs: the bands' values, the fixed values and the
    // expenses, as the courier closing prints them, and his salary.
    const auto cost = [](const CourierTotals& t) {
        return moneyOf(t.valueNormal) + moneyOf(t.value50) + moneyOf(t.value100) +
               moneyOf(t.fixed) + moneyOf(t.expenses);
    };
    // The salaried couriers cost their salary every month, orders or not.
    std::map<QString, double> salaries;
    {
        Query couriers;
        couriers.add(QStringLiteral("Select COD, NOME, SALARIO, SITUACAO from TBMotociclista"));
        couriers.open();
        for (couriers.first(); !couriers.eof(); couriers.next()) {
            const QString code = couriers.fieldText(QStringLiteral("COD"));
            const double salary = moneyOf(couriers.fieldText(QStringLiteral("SALARIO")));
            if (code.isEmpty() || salary <= 0 ||
                couriers.fieldText(QStringLiteral("SITUACAO")) == QLatin1String("BLOQUEADO"))
                continue;
            salaries[code] = salary;
            s.totalizer(s.courierPeriod, code);
            if (s.courierNames.value(code).isEmpty())
                s.courierNames.insert(code, couriers.fieldText(QStringLiteral("NOME")));
        }
    }
    for (auto& [code, totalizer] : s.courierPeriod) {
        const CourierTotals t = totalizer.totals();
        const double salary = salaries.count(code) ? salaries[code] : 0.0;
        f.couriers.append({code, s.courierNames.value(code), minutesOf(t.hoursNormal),
                           minutesOf(t.hours50), minutesOf(t.hours100),
                           cost(t) + salary * double(f.months.size()), salary});
    }
    QList<double> monthCost(f.months.size(), 0.0), monthSalaries(f.months.size(), 0.0);
    for (auto& [key, totalizer] : s.courierMonth)
        monthCost[key.first] += cost(totalizer.totals());
    for (const auto& [code, salary] : salaries)
        for (int i = 0; i < f.months.size(); ++i) {
            monthSalaries[i] += salary;
            monthCost[i] += salary;
        }
    f.monthCost = monthCost;
    f.monthSalaries = monthSalaries;
    for (int i = 0; i < f.months.size(); ++i)
        f.monthBilling.append(s.monthBilling[i].value());
    s.done = true;
}

PanelFigures readPanelFigures(const QDate& from, const QDate& to) {
    PanelReader reader(from, to);
    while (!reader.step(10000)) {
    }
    return reader.figures();
}

}  // namespace quelvarino
