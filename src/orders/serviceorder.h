#pragma once

#include "core/orderhours.h"
#include "registers/recordscreen.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace quelvarino {

class MaskEdit;
class Table;

// "Emissão da Ordem de Serviço (OS)": one order per job a courier did for a
// client, priced by the hours worked.
class PixCodeLabel;

class TQuelvarino0021_0 : public RecordScreen, public OneScreen<TQuelvarino0021_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0021_0(QWidget* parent = nullptr);

    // Toolbar (Novo, Gravar, Cancelar, Consultar, Limpar and Retornar are
    // the registers' own; Alterar and Excluir ask the access password).
    void Btn_ImprimirClick() override;
    // The order on screen with the address and phones it shows.
    Criteria printCriteria() const override;
    void Btn_AlterarClick() override;
    void Btn_ExcluirClick() override;
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
    bool EdhoraExit(MaskEdit* field);  // Edhora1Exit, Edhora2Exit; false: said invalid
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

    // The next order number: the last COMANDA + 1 in ten digits.
    static QString nextOrderNumber();

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
    PixCodeLabel* Lbpix;  // the order's PIX code, beside the notes
    QLabel* Lbtotval;     // never visible: the hours value
    QLabel* Lbvalor;      // never visible: the client's hour price as stored

    static constexpr int kNotesLines = 8;
    static constexpr int kNotesLength = 650;

protected:
    void FormActivate() override;
    void showPixCode();
    void showEvent(QShowEvent* event) override;
    void clearExtra() override;
    void stateChanged(bool edit) override;
    bool validate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void beforeRecording() override;
    void writeExtra(Table& table) override;
    void afterRecording() override;
    QString movedMessage(const QString& proposed, const QString& stored) const override;

private:
    // The form (serviceorderform.cpp).
    void buildScreen();
    QLayout* buildHead();
    QWidget* buildClientBox();
    QWidget* buildHoursBox();
    QWidget* buildCourierBox();
    QWidget* buildOtherBox();
    void connectHandlers();
    OrderHoursScreen hoursState() const;
    void applyHoursState(const OrderHoursScreen& s);
    void fillClient(Table& row);
    void fillCourier(Table& row, bool withRate);
    bool openStoredOrder(bool lock, const QString& missing);
    void showPassword();
    QList<QWidget*> editableFields() const;
    QList<QWidget*> validationFields() const;

    OrderRecordValues recordValues_;  // computed for the post under way
    bool recordValid_ = false;        // cleared by a bad time
    QString pendingProtected_;        // "Alterar" or "Excluir" while the password is asked
};

}  // namespace quelvarino
