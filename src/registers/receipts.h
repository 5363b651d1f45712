#pragma once

#include "registers/recordscreen.h"
#include "registers/searchscreen.h"

class QLineEdit;

namespace quelvarino {

class MaskEdit;
class PixCodeLabel;

// "Emissão de Recibo  dos Clientes": numbered payment receipts with the
// amount written out in words.
class TQuelvarino0022_0 : public RecordScreen, public OneScreen<TQuelvarino0022_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0022_0(QWidget* parent = nullptr);

    void Btn_ImprimirClick() override;
    void Btn_ConsCliClick();
    void EdcodcliExit();

    QLineEdit* Edrecibo;
    QLineEdit* Edcodcli;
    QLineEdit* Edcliente;
    MaskEdit* Edcnpj;
    QLineEdit* Edinscest;
    QLineEdit* Edvalor;
    PixCodeLabel* Lbpix;  // the receipt's PIX code, beside it
    QLineEdit* Edextenso;
    QLineEdit* Edref;
    QLineEdit* Edlocal;
    MaskEdit* Eddata;
    QPushButton* Btn_ConsCli;

protected:
    void FormActivate() override;
    void clearExtra() override;
    void stateChanged(bool edit) override;
    bool validate() override;
    void moneyLeft(QLineEdit* field, bool wasEmpty) override;
};

// "Pesquisa de Recibo dos Clientes".
class TQuelvarino0022_1 : public SearchScreen, public OneScreen<TQuelvarino0022_1> {
    Q_OBJECT
public:
    explicit TQuelvarino0022_1(QWidget* parent = nullptr);
};

}  // namespace quelvarino
