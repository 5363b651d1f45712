#pragma once

#include "reportscreens/reportscreen.h"

class QComboBox;

namespace quelvarino {

// A report on one courier over a period: the courier by code (left-filled
// to six digits) or through the courier search, blocked couriers refused.
class CourierReportScreen : public ReportScreen {
    Q_OBJECT
public:
    CourierReportScreen(const ReportDefinition& report,
                        const QString& searchCaller,
                        QWidget* parent = nullptr);

    void EdcodmotExit();
    void Btn_ConsMotClick();
    Criteria criteria() const override;

    QLineEdit* Edcodmot;
    QLineEdit* Edmotoboy;
    QPushButton* Btn_ConsMot;
    QComboBox* Ed_Ord = nullptr;  // the reports that may be ordered

protected:
    void reset() override;
    // "Ordenar por :" under the courier.
    void addOrderChoice();
    // A courier this report refuses once found (empty: accepted).
    virtual QString refusal(const QString& salary) const;

private:
    QString caller_;
};

// "Fechamento do motoboy": the courier's hours, values, expenses and what
// is to be received, totals only.
class TQuelvarino0043_0 : public CourierReportScreen, public OneScreen<TQuelvarino0043_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0043_0(QWidget* parent = nullptr);
    static const ReportDefinition& definition();
};

// "Despesas do Motoboy": the courier's expense entries of a period.
class TQuelvarino0044_0 : public CourierReportScreen, public OneScreen<TQuelvarino0044_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0044_0(QWidget* parent = nullptr);
    static const ReportDefinition& definition();
};

// "Listagem das Horas do Motoboy": the courier's orders with the totals of
// the closing.
class TQuelvarino0045_0 : public CourierReportScreen, public OneScreen<TQuelvarino0045_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0045_0(QWidget* parent = nullptr);
    static const ReportDefinition& definition();
};

// "Pagamento do Motoboy Autônomo": a salaried courier's expenses and net pay.
class TQuelvarino0047_0 : public CourierReportScreen, public OneScreen<TQuelvarino0047_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0047_0(QWidget* parent = nullptr);
    static const ReportDefinition& definition();

protected:
    QString refusal(const QString& salary) const override;
};

// "Listagem das OS Emitidas": every order of a period.
class TQuelvarino0046_0 : public ReportScreen, public OneScreen<TQuelvarino0046_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0046_0(QWidget* parent = nullptr);
    static const ReportDefinition& definition();
};

}  // namespace quelvarino
