#pragma once

#include "registers/recordscreen.h"
#include "registers/searchscreen.h"

class QLineEdit;

namespace quelvarino {

class MaskEdit;

// "Cadastro de Despesas": the catalogue of expense kinds.
class TQuelvarino0013_0 : public RecordScreen, public OneScreen<TQuelvarino0013_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0013_0(QWidget* parent = nullptr);

    QLineEdit* Ed_Cod;
    QLineEdit* Ed_Desp;
    MaskEdit* Ed_Data;

protected:
    void reloadForEdit(Table& table) override;
};

// "Pesquisa de Despesas".
class TQuelvarino0013_1 : public SearchScreen, public OneScreen<TQuelvarino0013_1> {
    Q_OBJECT
public:
    explicit TQuelvarino0013_1(QWidget* parent = nullptr);
};

}  // namespace quelvarino
