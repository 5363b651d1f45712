#pragma once

#include "reports/panelfigures.h"
#include "widgets/screen.h"

#include <memory>

class QChart;
class QChartView;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace quelvarino {

class MaskEdit;

// "Painel Gerencial": the period's billing per day (or month) by payment
// form, the ten best clients, the couriers' hours by band, the couriers'
// cost against billing per month and the orders by the hour they started.
// The figures are read a slice at a time beside the window, with the
// progress shown; a new period replaces the reading under way.
class TQuelvarino0049_0 : public Screen, public OneScreen<TQuelvarino0049_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0049_0(QWidget* parent = nullptr);
    ~TQuelvarino0049_0() override;

    void Btn_AtualizarClick();
    void Btn_SalvarClick();
    void Btn_ImprimirClick();
    void Btn_PlanilhaClick();
    // The figures behind each chart, a sheet each.
    void saveSheets(const QString& path) const;
    void Btn_RetornarClick();

    // Saves the charts as a PNG; false when the file could not be written.
    bool saveImage(const QString& path);
    bool reading() const { return reader_ != nullptr; }
    // Test seam: the orders read between two looks at the window.
    static void setSliceForTests(int orders);
    const PanelFigures& figures() const { return figures_; }
    QChart* chart(int n) const;  // 1 to 5

    QLabel* Lbdata;
    MaskEdit* Eddata1;
    MaskEdit* Eddata2;
    QPushButton* Btn_Atualizar;
    QPushButton* Btn_Salvar;
    QPushButton* Btn_Imprimir;
    QPushButton* Btn_Planilha;
    QPushButton* Btn_Retornar;
    QProgressBar* Ed_Bar;

protected:
    void FormActivate() override;

private:
    void readSlice();
    void showFigures();
    QString periodText() const;
    QWidget* chartsArea_;
    QChartView* views_[5];
    std::unique_ptr<PanelReader> reader_;
    PanelFigures figures_;
    bool openingRead_ = false;  // the default period read as the panel opened
    QTimer* timer_;
};

// "R$ 1.234,56"
QString panelMoney(double value);
// "hhh:mm" of minutes
QString panelHours(double minutes);

}  // namespace quelvarino
