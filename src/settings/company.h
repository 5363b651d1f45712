#pragma once

#include "registers/addressgroup.h"
#include "registers/documentfield.h"
#include "registers/recordscreen.h"

#include <QList>
#include <QPair>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace quelvarino {

class AddressGroup;
class MaskEdit;

// "Dados da Empresa": the one record of the user's own company, printed in
// the header of every report.
class TQuelvarino00Emp_0 : public RecordScreen,
                           public TwoAddresses,
                           public OneScreen<TQuelvarino00Emp_0> {
    Q_OBJECT
public:
    explicit TQuelvarino00Emp_0(QWidget* parent = nullptr);

    void Btn_NovoClick() override;
    void Btn_AlterarClick() override;
    void Btn_GravarClick() override;
    void Btn_CancelClick() override;
    void Btn_ExcluirClick() override;
    void Btn_LimparClick() override;
    void Btn_RetornarClick() override;
    void Rb_CnpjClick();
    void Rb_CpfClick();
    void Ed_CnpjExit();
    void copyAddressToLogistics();
    // Leaving the PIX key: checked for its kind, kept as the bank keeps it.
    void EdpixchaveExit();

    QLineEdit* Ed_Razsoc;
    QRadioButton* Rb_Cnpj;
    QRadioButton* Rb_Cpf;
    MaskEdit* Ed_Cnpj;
    QLineEdit* Ed_Inscest;
    QLineEdit* Ed_Nomefan;
    QLineEdit* Ed_Site;
    QLineEdit* Ed_Email;
    // The addresses (TwoAddresses): administrative [0] and logistics [1].
    QLineEdit* Ed_Banco;
    QLineEdit* Ed_Agencia;
    QLineEdit* Ed_CCor;
    MaskEdit* Ed_Data;
    // The company's PIX data, for the payment codes of receipts and orders.
    QComboBox* Cbpixtipo;
    QLineEdit* Edpixchave;
    QLineEdit* Edpixnome;
    QLineEdit* Edpixcidade;
    QCheckBox* Ckpiximprime;
    QLabel* Lbpixcodigo;  // the name and city as the code carries them

protected:
    void FormActivate() override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void clearExtra() override;
    void stateChanged(bool edit) override;
    bool validate() override;

private:
    QWidget* buildIdentification();
    QWidget* buildPix();
    void showPixText();
    bool pixValid();  // with its message and the focus on the field to mend
    DocumentField document() const;
    void loadStored();              // the stored record into the screen, and the button states
    bool openTheRecord(bool lock);  // the one record, locked for a change
    QList<QPair<QWidget*, QString>> dataFields() const;  // the 36 data fields

    bool recordExists_ = false;
};

}  // namespace quelvarino
