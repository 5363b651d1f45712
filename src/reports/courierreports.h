#pragma once

#include "reports/reportscreen.h"

#include <QStringList>
#include <memory>

class QComboBox;

namespace quelvarino {

// The fields the courier reports read from the orders and the expense
// entries.
const QStringList& courierOrderFields();
const QStringList& courierExpenseFields();

// A report on one courier over a period: the courier by code (left-filled
// to six digits) or through the courier search, blocked couriers refused.
class CourierReportScreen : public ReportScreen {
    Q_OBJECT
public:
    CourierReportScreen(const QString& instance,
                        const QString& caption,
                        const QString& dialog,
                        const QString& searchCaller,
                        QWidget* parent = nullptr);
    ~CourierReportScreen() override;

    void EdcodmotExit();
    void Btn_ConsMotClick();
    Query* Query2() const { return query2_.get(); }

    QLineEdit* Edcodmot;
    QLineEdit* Edmotoboy;
    QPushButton* Btn_ConsMot;

protected:
    void reset() override;
    // The courier chosen and both dates filled; otherwise the screen says so.
    bool criteriaGiven();
    // A courier this report refuses once found (empty: accepted).
    virtual QString refusal(const QString& salary) const;
    // The orders of the courier in the period (Query1), ordered as given.
    bool selectOrders(const QString& orderBy);
    // The expense entries of the courier in `query`, in the period or all.
    bool selectExpenses(Query& query, bool inPeriod, const QString& orderBy);

private:
    QString caller_;
    std::unique_ptr<Query> query2_;
};

// "Fechamento do motoboy": the courier's hours, values, expenses and what
// is to be received, totals only.
class TQuelvarino0043_0 : public CourierReportScreen, public OneScreen<TQuelvarino0043_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0043_0(QWidget* parent = nullptr);
    bool prepare() override;
};

// "Despesas do Motoboy": the courier's expense entries of a period.
class TQuelvarino0044_0 : public CourierReportScreen, public OneScreen<TQuelvarino0044_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0044_0(QWidget* parent = nullptr);
    bool prepare() override;
};

// "Listagem das Horas do Motoboy": the courier's orders with the totals of
// the closing.
class TQuelvarino0045_0 : public CourierReportScreen, public OneScreen<TQuelvarino0045_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0045_0(QWidget* parent = nullptr);
    bool prepare() override;
    QComboBox* Ed_Ord;
};

// "Pagamento do Motoboy Autônomo": a salaried courier's expenses and net pay.
class TQuelvarino0047_0 : public CourierReportScreen, public OneScreen<TQuelvarino0047_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0047_0(QWidget* parent = nullptr);
    bool prepare() override;
    QComboBox* Ed_Ord;

protected:
    QString refusal(const QString& salary) const override;
};

// "Listagem das OS Emitidas": every order of a period.
class TQuelvarino0046_0 : public ReportScreen, public OneScreen<TQuelvarino0046_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0046_0(QWidget* parent = nullptr);
    bool prepare() override;
};

}  // namespace quelvarino
