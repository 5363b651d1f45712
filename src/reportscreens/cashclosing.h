#pragma once

#include "reportscreens/reportscreen.h"

class QButtonGroup;
class QProgressBar;

namespace quelvarino {

// The two cash closings: a form of payment ("À VISTA" or the others) and
// the order of the lines, under the period.
class CashClosingScreen : public ReportScreen {
    Q_OBJECT
public:
    QRadioButton* Rbavista;
    QRadioButton* Rboutros;
    QComboBox* Ed_Ord;

    Criteria criteria() const override;

protected:
    CashClosingScreen(const ReportDefinition& report, QWidget* parent);
    // The payment choice at `row` of the criteria, "Ordenar por :" below it.
    void addPaymentAndOrder(int row);
    PaymentChoice payment() const { return {Rbavista, Rboutros}; }
    void reset() override;  // the payment unchosen
};

// "Fechamento do  Caixa": the orders of a period paid in one form.
class TQuelvarino0041_0 : public CashClosingScreen, public OneScreen<TQuelvarino0041_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0041_0(QWidget* parent = nullptr);
    static const ReportDefinition& definition();
};

// "Fechamento do Caixa  por Cliente": the same for one client.
class TQuelvarino0042_0 : public CashClosingScreen, public OneScreen<TQuelvarino0042_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0042_0(QWidget* parent = nullptr);
    static const ReportDefinition& definition();
    void EdcodcliExit();
    void Btn_ConsCliClick();

    QLineEdit* Edcodcli;
    QLineEdit* Edcliente;
    QPushButton* Btn_ConsCli;

    Criteria criteria() const override;

protected:
    void reset() override;
};

// "Relatório Totalizador de Serviços por Período": the orders of a period
// grouped by client or by courier, through the two work tables; the bar
// shows how far they are filled.
class TQuelvarino0048_0 : public ReportScreen, public OneScreen<TQuelvarino0048_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0048_0(QWidget* parent = nullptr);
    static const ReportDefinition& definition();

    QRadioButton* Rbcli;
    QRadioButton* Rbmot;
    QButtonGroup* Edforma;  // 0 "À Vista", 1 "Outros", 2 "Total"
    QComboBox* Ed_Ord;
    QProgressBar* Ed_Bar;

    Criteria criteria() const override;

protected:
    void reset() override;
};

}  // namespace quelvarino
