#pragma once

#include "widgets/screen.h"

#include <QMap>
#include <functional>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace quelvarino {

class Table;
class TableModel;

// One search screen serves every register: a table of its own shown in a
// grid, radio buttons that each choose an index and a prompt, `Ed_Desc`
// positioning the grid on the nearest key as the operator types, and the
// return of the chosen row to whichever screen asked, by caller name.
class SearchScreen : public Screen {
    Q_OBJECT
public:
    struct Option {
        QString radio;    // control name, e.g. "Rbdesp"
        QString caption;  // "Despesa"
        QString index;    // index name or field list
        QString prompt;   // text of Label1
    };
    struct Column {
        QString field;
        QString title;
        bool money = false;
    };
    // Copies the current row into the caller and returns the caller screen
    // to show; null refuses the row (the search stays open).
    using ReturnHandler = std::function<QWidget*(Table& row)>;

    SearchScreen(const QString& instance,
                 const QString& caption,
                 const QString& tableName,
                 const QString& tableObjectName,
                 const QList<Option>& options,
                 const QList<Column>& columns,
                 QWidget* parent = nullptr);
    ~SearchScreen() override;

    void openSearch(const QString& callerName);
    QString callerName() const { return caller_; }
    Table* table() const { return table_.get(); }
    void setReturn(const QString& callerName, ReturnHandler handler);
    // Says why a row may not go to a caller (empty: it may); the message is
    // shown and the search stays open.
    void setRefusal(std::function<QString(const QString& caller, Table& row)> refusal);
    // The newest record (the last of the index) is current on opening and
    // after each change of index, instead of the first.
    void setStartAtLast(bool on) { startAtLast_ = on; }
    // The search kind checked on opening (the first radio by default).
    void setDefaultOption(int option) { defaultOption_ = option; }

    // Puts `text` into the control named `control` of `screen` (edit, mask
    // edit, combo or label), whatever its kind.
    static void setControlText(QWidget* screen, const QString& control, const QString& text);
    // The same for several controls from the row's fields.
    static void fillControls(QWidget* screen,
                             const QList<QPair<QString, QString>>& controlFields,
                             Table& row);

    void Ed_DescChange();
    void Btn_CancelClick();
    void Btn_RetornarClick();
    void selectOption(int option);

    QLineEdit* Ed_Desc;
    QLabel* Label1;
    QTableView* DBGrid1;
    QPushButton* Btn_Cancel;
    QPushButton* Btn_Retornar;

protected:
    void FormActivate() override;
    void refreshTables() override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openTable();
    // Columns as wide as their content; the room left goes to the column
    // of the default search (the name), not to whichever column is last.
    void fitColumns();
    void closeSearch();
    void showCurrentRow();
    void gridRowChosen(int row);

    std::unique_ptr<Table> table_;
    TableModel* model_;
    QList<Option> options_;
    QList<QRadioButton*> radios_;
    int option_ = 0;
    QString caller_;
    QMap<QString, ReturnHandler> returns_;
    std::function<QString(const QString&, Table&)> refusal_;
    bool positioning_ = false;
    int nameColumn_ = 0;
    bool startAtLast_ = false;
    int defaultOption_ = 0;
};

}  // namespace quelvarino
