#pragma once

#include "registers/documentfield.h"
#include "widgets/screen.h"

#include <QList>
#include <QPair>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quelvarino {

class MaskEdit;

// "Dados da Empresa": the one record of the user's own company, printed in
// the header of every report.
class TQuelvarino00Emp_0 : public Screen {
    Q_OBJECT
public:
    explicit TQuelvarino00Emp_0(QWidget* parent = nullptr);
    static TQuelvarino00Emp_0* instance();  // the one instance, Quelvarino00Emp_0

    void Btn_NovoClick();
    void Btn_AlterarClick();
    void Btn_GravarClick();
    void Btn_CancelClick();
    void Btn_ExcluirClick();
    void Btn_LimparClick();
    void Btn_RetornarClick();
    void Rb_CnpjClick();
    void Rb_CpfClick();
    void Ed_CnpjExit();
    void copyAddressToLogistics();

    QLineEdit* Ed_Razsoc;
    QRadioButton* Rb_Cnpj;
    QRadioButton* Rb_Cpf;
    MaskEdit* Ed_Cnpj;
    QLineEdit* Ed_Inscest;
    QLineEdit* Ed_Nomefan;
    QLineEdit* Ed_Site;
    QLineEdit* Ed_Email;
    QLineEdit* Ed_End[2];
    QLineEdit* Ed_Bairro[2];
    MaskEdit* Ed_Cep[2];
    QLineEdit* Ed_Cid[2];
    QComboBox* Cb_Est[2];
    QLineEdit* Ed_Ddd[2];
    QLineEdit* Ed_Tel_1[2];
    QComboBox* Cb_Tipofone_1[2];
    QLineEdit* Ed_Tel_2[2];
    QComboBox* Cb_Tipofone_2[2];
    QLineEdit* Ed_Contato[2];
    QLineEdit* Ed_Banco;
    QLineEdit* Ed_Agencia;
    QLineEdit* Ed_CCor;
    MaskEdit* Ed_Data;

    QPushButton* Btn_Novo;
    QPushButton* Btn_Alterar;
    QPushButton* Btn_Gravar;
    QPushButton* Btn_Cancel;
    QPushButton* Btn_Excluir;
    QPushButton* Btn_Consultar;
    QPushButton* Btn_Limpar;
    QPushButton* Btn_Imprimir;
    QPushButton* Btn_Retornar;

protected:
    void FormActivate() override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    DocumentField document() const;
    void clearFields();
    void loadStored();  // the stored record into the screen, and the button states
    void setBrowsing(bool recordExists);
    void setEntering();
    bool validate();
    QList<QPair<QWidget*, QString>> dataFields() const;  // the 31 data fields

    bool entering_ = false;
};

}  // namespace quelvarino
