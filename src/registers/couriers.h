#pragma once

#include "registers/recordscreen.h"
#include "registers/searchscreen.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace quelvarino {

class MaskEdit;

// "Cadastro de Motociclistas".
class TQuelvarino0012_0 : public RecordScreen, public OneScreen<TQuelvarino0012_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0012_0(QWidget* parent = nullptr);

    QLineEdit* Ed_Cod;
    QLineEdit* Ed_Nome;
    MaskEdit* Ed_Cpf;
    QLineEdit* Ed_Rg;
    QLineEdit* Ed_Cnh;
    QLineEdit* Ed_Cat;
    QLineEdit* Ed_End;
    QLineEdit* Ed_Bairro;
    QLineEdit* Ed_Cid;
    QComboBox* Cb_Est;
    MaskEdit* Ed_Cep;
    QLineEdit* Ed_Ddd1;
    MaskEdit* Ed_Tel1;
    QComboBox* Cb_Tipofone1;
    QLineEdit* Ed_Ddd2;
    MaskEdit* Ed_Tel2;
    QComboBox* Cb_Tipofone2;
    QLineEdit* Ed_Mar;
    QLineEdit* Ed_Mod;
    MaskEdit* Ed_Ano;
    MaskEdit* Ed_Plac;
    QLineEdit* Ed_Valor;
    QLineEdit* Ed_Salario;
    QComboBox* Cb_Sit;
    MaskEdit* Ed_Data;
    QPlainTextEdit* Ed_Obs;

    static constexpr int kRemarksLength = 650;

private:
    QWidget* buildPayBox();
    QWidget* buildMotoBox();
    QWidget* buildAddressBox();
    QWidget* buildPersonBox();
};

// "Pesquisa de Motociclista".
class TQuelvarino0012_1 : public SearchScreen, public OneScreen<TQuelvarino0012_1> {
    Q_OBJECT
public:
    explicit TQuelvarino0012_1(QWidget* parent = nullptr);
};

}  // namespace quelvarino
