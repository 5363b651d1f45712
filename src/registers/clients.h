#pragma once

#include "registers/addressgroup.h"
#include "registers/documentfield.h"
#include "registers/recordscreen.h"
#include "registers/searchscreen.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace quelvarino {

class AddressGroup;
class MaskEdit;

// "Cadastro de Clientes".
class TQuelvarino0011_0 : public RecordScreen,
                          public TwoAddresses,
                          public OneScreen<TQuelvarino0011_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0011_0(QWidget* parent = nullptr);

    void Rb_CnpjClick();
    void Rb_CpfClick();
    void Ed_CnpjExit();
    void copyAddressToBilling();

    QLineEdit* Ed_Codcli;
    QRadioButton* Rb_Cnpj;
    QRadioButton* Rb_Cpf;
    MaskEdit* Ed_Cnpj;
    QLineEdit* Ed_Inscest;
    MaskEdit* Ed_Data;
    QLineEdit* Ed_Razsoc;
    QLineEdit* Ed_Nomefan;
    QLineEdit* Ed_Valor;
    QComboBox* Cb_Situacli;
    // The addresses (TwoAddresses): administrative [0] and billing [1].
    QLineEdit* Ed_Banco;
    QLineEdit* Ed_Agencia;
    QLineEdit* Ed_CCor;

protected:
    void clearExtra() override;

private:
    QWidget* buildIdentification();
    DocumentField document() const;
};

// "Pesquisa de Clientes".
class TQuelvarino0011_1 : public SearchScreen, public OneScreen<TQuelvarino0011_1> {
    Q_OBJECT
public:
    explicit TQuelvarino0011_1(QWidget* parent = nullptr);
};

}  // namespace quelvarino
