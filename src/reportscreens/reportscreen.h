#pragma once

#include "reports/criteria.h"
#include "widgets/screen.h"

#include <functional>
#include <memory>
#include <tuple>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quelvarino {

class MaskEdit;
struct ReportDefinition;

// A screen of the "Relatórios" menu: its criteria, today's date in
// `Lbdata` and in both date fields on activation, "&Imprimir" that checks
// the criteria and hands them to the report's print dialog, shown
// modally, "&Limpar" and "&Retornar" that reset the criteria. When the
// dialog closes the screen resets itself. The screen holds no data: the
// report collects its own when it is printed.
class ReportScreen : public Screen {
    Q_OBJECT
public:
    explicit ReportScreen(const ReportDefinition& report, QWidget* parent = nullptr);
    ~ReportScreen() override;

    void Btn_ImprimirClick();
    void Btn_LimparClick();
    void Btn_RetornarClick();
    const ReportDefinition& report() const { return report_; }
    // What the operator chose, as typed (a date that is no date throws).
    virtual Criteria criteria() const;
    // Checks the criteria as the report does; false: nothing to print (the
    // screen said why and put the focus where the operator must look).
    bool prepare();

    QLabel* Lbdata;
    MaskEdit* Eddata1;
    MaskEdit* Eddata2;
    QPushButton* Btn_Imprimir;
    QPushButton* Btn_Limpar;
    QPushButton* Btn_Retornar;

protected:
    // The criteria back to their start: dates today, query closed.
    virtual void reset();
    void FormActivate() override;
    void showEvent(QShowEvent* event) override;

    // The criteria area and the buttons, for the screens to fill.
    QGridLayout* criteriaGrid() const { return criteria_; }
    // The criteria row of a client or courier: its code (six characters,
    // upper case), its name (read-only, `nameChars` wide) and "C&onsultar".
    // `left` runs when the code is left, `consult` on the button.
    struct LookupRow {
        QString label;
        QString code, name, button;  // control names
        int nameChars;
    };
    std::tuple<QLineEdit*, QLineEdit*, QPushButton*> addLookupRow(int row,
                                                                  const LookupRow& lookup,
                                                                  std::function<void()> left,
                                                                  std::function<void()> consult);
    QString todayText() const;

private:
    void showDialog();

    const ReportDefinition& report_;
    QGridLayout* criteria_;
    bool buttonsLast_ = false;  // the buttons moved to the end of the tab order
    bool waitingForDialog_ = false;
};

// The "Ordenar por :" list of a report, nothing chosen.
QComboBox* orderCombo(QWidget* parent, const ReportDefinition& report);
// A date field's date; null when blank (a date that is no date throws).
QDate dateOf(const MaskEdit* field);

// A pair of payment radios ("À Vista" / "Outros") and the forms each
// selects: "À VISTA", or every other form ("FATURADO", "OUTROS").
struct PaymentChoice {
    QRadioButton* avista;
    QRadioButton* outros;
    Payment chosen() const;
    void uncheck();
};

}  // namespace quelvarino
