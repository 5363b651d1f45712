#pragma once

#include "core/orderhours.h"
#include "widgets/screen.h"
#include "widgets/toolbar.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace quelvarino {

class MaskEdit;
class Table;

// "Emissão da Ordem de Serviço (OS)": one order per job a courier did for a
// client, priced by the hours worked.
class TQuelvarino0021_0 : public Screen {
    Q_OBJECT
public:
    explicit TQuelvarino0021_0(QWidget* parent = nullptr);
    static TQuelvarino0021_0* instance();  // the one instance, Quelvarino0021_0

    // Toolbar.
    void Btn_NovoClick();
    void Btn_GravarClick();
    void Btn_CancelClick();
    void Btn_LimparClick();
    void Btn_RetornarClick();
    void Btn_ImprimirClick();
    void Btn_AlterarClick();
    void Btn_ExcluirClick();
    void Btn_ConsultarClick();
    // The current row of the order search, into the screen (browse state).
    void loadOrder(Table& row);
    // The access password was right for the pending operation.
    QString pendingOperation() const { return pendingProtected_; }
    void passwordAcceptedForChange();
    bool passwordAcceptedForDelete();  // false: the operator said No
    // Lookups and field checks.
    void Btn_ConsCliClick();
    void Btn_ConsMotClick();
    void EdcodcliExit();
    void EdcodmotExit();
    void EddataExit();
    void EdhoraExit(MaskEdit* field);  // Edhora1Exit, Edhora2Exit
    void Edhora3Exit();
    void CbpagChange();
    // Hours and values.
    void RbhoraClick();  // Rbhora1Click, Rbhora2Click
    void RbvalorClick();
    void RbvalmotClick();
    void EdvalorExit();
    void EdseguroExit();
    void EdtaxapExit();
    void EdvalmotExit();

    void clearScreen();
    void setBrowseState();
    void setEditState();
    bool inEditState() const { return editState_; }
    // The next order number: the last COMANDA + 1 in ten digits.
    static QString nextOrderNumber();

    QLabel* Lbdata;
    QLineEdit* Edcomanda;
    QLineEdit* Edcodcli;
    QLineEdit* Edcliente;
    QPushButton* Btn_ConsCli;
    MaskEdit* Eddata;
    QLineEdit* Edend;
    QLineEdit* Edbairro;
    QLineEdit* Edcid;
    QComboBox* Eduf;
    MaskEdit* Edcep;
    QLineEdit* Edddd;
    QLineEdit* Edfone1;
    QComboBox* Edlinha1;
    QLineEdit* Edfone2;
    QComboBox* Edlinha2;
    QCheckBox* Rbtel;
    MaskEdit* Edhora1;
    QRadioButton* Rbhora1;
    MaskEdit* Edhora2;
    QRadioButton* Rbhora2;
    MaskEdit* Edhora3;
    MaskEdit* Edhora4;
    QLineEdit* Edvalor;
    QCheckBox* Rbvalor;
    QLineEdit* Edseguro;
    QLineEdit* Edtaxap;
    QLineEdit* Edtotval;
    QLineEdit* Edsolicit;
    QLineEdit* Edcodmot;
    QLineEdit* Edmotoboy;
    QPushButton* Btn_ConsMot;
    QLineEdit* Edvalmot;
    QCheckBox* Rbvalmot;
    QLineEdit* Edmar;
    QLineEdit* Edmod;
    MaskEdit* Edano;
    MaskEdit* Edplac;
    QLineEdit* Edveiculo;
    QLineEdit* Edplaca;
    QComboBox* Cbpag;
    QLineEdit* Edpag;
    QPlainTextEdit* Edobs;
    QLabel* Lbtotval;  // never visible: the hours value
    QLabel* Lbvalor;   // never visible: the client's hour price as stored

    QPushButton* Btn_Novo;
    QPushButton* Btn_Alterar;
    QPushButton* Btn_Gravar;
    QPushButton* Btn_Cancel;
    QPushButton* Btn_Excluir;
    QPushButton* Btn_Consultar;
    QPushButton* Btn_Limpar;
    QPushButton* Btn_Imprimir;
    QPushButton* Btn_Retornar;

    static constexpr int kNotesLines = 8;
    static constexpr int kNotesLength = 650;

protected:
    void FormActivate() override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildScreen();
    void connectHandlers();
    OrderHoursScreen hoursState() const;
    void applyHoursState(const OrderHoursScreen& s);
    bool validate();
    void fillClient(Table& row);
    void fillCourier(Table& row, bool withRate);
    void writeOrder(Table& table, const OrderRecordValues& values);
    bool openStoredOrder(bool lock, const QString& missing);
    void showPassword();
    QList<QWidget*> editableFields() const;
    QList<QWidget*> validationFields() const;

    bool editState_ = false;
    bool newOrder_ = false;     // begun with Novo: always inserted
    bool recordValid_ = false;  // cleared by a bad time
    QString pendingProtected_;  // "Alterar" or "Excluir" while the password is asked
};

}  // namespace quelvarino
