#pragma once

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
class Query;

// A screen of the "Relatórios" menu: its criteria, today's date in
// `Lbdata` and in both date fields on activation, "&Imprimir" that prepares
// the rows and shows the report's print dialog modally, "&Limpar" and
// "&Retornar" that reset the criteria. When the dialog closes the screen
// resets itself.
class ReportScreen : public Screen {
    Q_OBJECT
public:
    ReportScreen(const QString& instance,
                 const QString& caption,
                 const QString& dialog,
                 QWidget* parent = nullptr);
    ~ReportScreen() override;

    void Btn_ImprimirClick();
    void Btn_LimparClick();
    void Btn_RetornarClick();
    Query* Query1() const { return query_.get(); }
    // Checks the criteria and prepares the rows; false: nothing to print
    // (the screen said why).
    virtual bool prepare() = 0;

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
    QGridLayout* criteria() const { return criteria_; }
    bool datesFilled() const;
    // "Intervalos inexistentes.": the refusals of an empty selection. Each
    // returns false for the screen's prepare() to return; the first closes
    // `query` when given, the second puts the focus on the first date.
    bool refuseNothing(Query* query = nullptr);
    bool refuseUnfilledDates();
    // False, after refusing, when the orders' query found nothing.
    bool ordersFound(Query& query);
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

    QString dialog_;
    QGridLayout* criteria_;
    bool buttonsLast_ = false;  // the buttons moved to the end of the tab order
    std::unique_ptr<Query> query_;
    bool waitingForDialog_ = false;
};

// The "Ordenar por :" list, nothing chosen.
QComboBox* orderCombo(QWidget* parent, const QStringList& items);
// The period of the where line: :de and :ate bound from the date fields.
void bindPeriod(Query& query, const MaskEdit* from, const MaskEdit* to);

// A pair of payment radios ("À Vista" / "Outros") and the forms each
// selects: "À VISTA", or every other form ("FATURADO", "OUTROS").
struct PaymentChoice {
    QRadioButton* avista;
    QRadioButton* outros;
    bool chosen() const;
    // The where line's condition on PAGAMENTO, with :forma bound.
    QString condition() const;
    void uncheck();
};

}  // namespace quelvarino
