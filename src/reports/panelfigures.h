#pragma once

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>

namespace quelvarino {

class Query;

// The figures behind the management panel's charts for one period, added
// by the rules of the reports: the orders' totals as the cash closings add
// them, the couriers' hours and pay as the courier closing computes them
// (an order with a fixed courier value counts its value, not its hours).
struct PanelFigures {
    QDate from, to;
    bool byMonth = false;  // the period is longer than 62 days
    int orders = 0;

    // 1. billing per day (or month): "À VISTA", "FATURADO", every other form.
    QStringList buckets;  // "dd/mm" or "mm/aaaa"
    QList<double> cash, invoiced, others;

    // 2. the ten clients of the highest billing, highest first.
    struct Client {
        QString code, name;
        double billing = 0;
    };
    QList<Client> topClients;

    // 3. the hours worked by band, per courier (minutes), in code order.
    struct Courier {
        QString code, name;
        long long normal = 0, fifty = 0, hundred = 0;
        double pay = 0;     // the bands' values, the fixed values, the expenses, the salary
        double salary = 0;  // a month's fixed salary (SALARIO), 0 for an hourly courier
    };
    QList<Courier> couriers;

    // 4. per month of the period: the orders' totals and the couriers' cost,
    // which holds the fixed salaries of the couriers not blocked, a whole
    // salary in every month the period touches, as the salaried courier's
    // payment prints it whatever the period.
    QStringList months;  // "mm/aaaa"
    QList<double> monthBilling, monthCost, monthSalaries;

    // 5. orders by the hour they started (HORA2), 0 to 23.
    std::array<int, 24> startHours{};

    bool empty() const { return orders == 0; }
    double billing() const;  // of the whole period
};

// Reads the figures a slice of orders at a time, so the window answers
// meanwhile: step() until it returns true, then figures().
class PanelReader {
public:
    PanelReader(const QDate& from, const QDate& to);
    ~PanelReader();
    PanelReader(const PanelReader&) = delete;
    PanelReader& operator=(const PanelReader&) = delete;

    // Reads up to `orders` orders; true when every figure is known.
    bool step(int orders);
    int read() const;   // orders read so far
    int total() const;  // orders of the period
    const PanelFigures& figures() const { return figures_; }

private:
    struct State;
    void finish();
    std::unique_ptr<State> state_;
    PanelFigures figures_;
};

// The whole period at once (tests, the page report).
PanelFigures readPanelFigures(const QDate& from, const QDate& to);

}  // namespace quelvarino
