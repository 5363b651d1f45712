#pragma once

#include "reports/criteria.h"
#include "widgets/screen.h"
#include "widgets/toolbar.h"

#include <QList>
#include <functional>

class QBoxLayout;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quelvarino {

class MaskEdit;
class Table;
struct ReportDefinition;

// The scheme every data-entry screen follows: a toolbar of nine buttons,
// browse and edit states, unbound fields copied to and from the table field
// by field, a companion search and a print dialog. The handlers do what the
// registers do; a screen whose workflow differs (the service order, the
// company data, the expense entries) overrides the handlers and hooks that
// differ and keeps the rest: the toolbar, the states, the field kinds, the
// closing of the window.
class RecordScreen : public Screen, public Toolbar {
    Q_OBJECT
public:
    // Time: a time mask edit, stored empty when blank.
    // Check: a check box stored "S" when checked and "N" when not.
    enum class Kind { Text, Money, Mask, Time, Combo, Memo, Check };
    struct Binding {
        QWidget* widget;
        QString field;  // table field written from and loaded into the widget
        Kind kind;
        // False for a value shown and stored but never typed (copied from a
        // register, or computed): the states leave it as the screen sets it.
        bool typed = true;
    };

    RecordScreen(const QString& instance, const QString& caption, QWidget* parent = nullptr);

    virtual void Btn_NovoClick();
    virtual void Btn_AlterarClick();
    virtual void Btn_GravarClick();
    virtual void Btn_CancelClick();
    virtual void Btn_ExcluirClick();
    virtual void Btn_ConsultarClick();
    virtual void Btn_LimparClick();
    virtual void Btn_ImprimirClick();
    virtual void Btn_RetornarClick();

    void clearScreen();
    void setBrowseState();
    void setEditState();
    bool inEditState() const { return editState_; }
    bool hasPendingEdit() const override { return editState_; }
    // The screen now shows a stored record (found by its document): a
    // following Gravar updates it instead of inserting a new one.
    void showingStoredRecord() { newRecord_ = false; }
    bool isNewRecord() const { return newRecord_; }

    // Runs an edit or delete that takes the record lock; when another user
    // holds it, says so, closes the table and returns false.
    static bool lockedAction(Table& table, const std::function<void()>& action);
    // `code` when no record has it, else the code after the last one: a
    // proposed code that another workstation took meanwhile.
    static QString freeCode(Table& table, const QString& field, const QString& code, int width);
    static constexpr int kPostAttempts = 20;  // posts of one Gravar that meet a taken code

    // Copies the table's current record into the fields of `bindings` (all
    // of them when empty): money formatted, combos as free text.
    void loadFields(Table& table, const QStringList& fields = {});
    // The record as the screen shows it, by field name: each bound field's
    // text as it stands (a time as its mask shows it, a check box "S"/"N").
    QHash<QString, QString> shownRecord() const;
    // What "&Imprimir" hands the print dialog: the number and the record on
    // screen.
    virtual Criteria printCriteria() const;

    QLabel* Lbdata = nullptr;  // today's date, top right (screens that have it)
    // The toolbar's nine buttons (Btn_Novo … Btn_Retornar) come from Toolbar.

protected:
    struct Config {
        std::function<Table*()> table;  // the data module's table
        QString codeField;              // "COD", "CODCLI"
        int codeWidth = 6;
        QLineEdit* codeEdit = nullptr;
        QWidget* nameEdit = nullptr;       // focus of the validation messages
        QWidget* firstField = nullptr;     // focus after Novo
        QWidget* alterField = nullptr;     // focus after Alterar (firstField when unset)
        QList<QWidget*> editableExtras;    // enabled with the fields (document radios)
        MaskEdit* lastChange = nullptr;    // "Data ... Alteração", never enabled
        QString requiredMessage;           // code and name both empty
        QString deleteQuestion;            // "Deseja excluir esta despesa?"
        QString callerName;                // for the search
        QString searchScreen;              // instance of the search
        QList<QComboBox*> pickOnlyCombos;  // pick-only after Novo
        QComboBox* situation = nullptr;    // "ATIVO" after Novo
        bool dateLabel = false;            // Lbdata in the top right corner
        QString novoHint = QStringLiteral("Incluir novos dados");
        QString cancelHint = QStringLiteral("Cancelar a operação");
        bool moneyOwnRules = false;  // the screen formats its money fields itself
    };

    // Called by the concrete screen once its fields exist.
    void setUp(const Config& config, const QList<Binding>& bindings);
    QBoxLayout* toolbarLayout() const { return row; }

    // Extra steps of a screen: after clearing, after loading, when writing,
    // after a change of state, and its own validation before Gravar.
    virtual void clearExtra() {}
    virtual void stateChanged(bool /*edit*/) {}
    // A money field was left and formatted ("0,00" when it was empty).
    virtual void moneyLeft(QLineEdit* /*field*/, bool /*wasEmpty*/) {}
    virtual bool validate();
    // True (and the operator told, `focus` focused) when every one of
    // `fields` is empty: nothing to record.
    static bool refuseAllBlank(const QList<QWidget*>& fields, QWidget* focus);
    // Opens the table on the record with exactly this code, or says
    // `notFound`, closes the table and returns false.
    bool openOnCode(const QString& code, const QString& notFound);
    void setNewRecord(bool on) { newRecord_ = on; }
    // Loads the current record after Alterar has locked it.
    virtual void reloadForEdit(Table& table) { loadFields(table); }
    virtual void writeExtra(Table&) {}
    // Gravar: after the validation, before the record is looked up; after
    // the post (the registers clear the screen); and what is said when a
    // new record went under another code than the one proposed.
    virtual void beforeRecording() {}
    virtual void afterRecording();
    virtual QString movedMessage(const QString& proposed, const QString& stored) const;
    // Every field the "all fields are blank" test looks at.
    virtual QList<QWidget*> entryFields() const;

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void FormActivate() override;

private:
    void writeRecord(Table& table);
    QString fieldText(const Binding& b) const;
    void setFieldText(const Binding& b, const QString& text);

    Config config_;
    QList<Binding> bindings_;
    bool editState_ = false;
    bool newRecord_ = false;  // begun with Novo: always inserted
};

}  // namespace quelvarino
