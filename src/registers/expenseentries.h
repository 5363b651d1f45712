#pragma once

#include "registers/recordscreen.h"
#include "registers/searchscreen.h"

class QLineEdit;
class QStandardItemModel;
class QTableView;

namespace quelvarino {

class MaskEdit;

// "Entrada das Despesas do Motoboy": the expenses charged to a courier. An
// entry is the set of item rows of tbentrdesp sharing its number; every
// item is stored the moment it is added, changed or removed.
class TQuelvarino0031_0 : public RecordScreen, public OneScreen<TQuelvarino0031_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0031_0(QWidget* parent = nullptr);

    void Btn_NovoClick() override;
    void Btn_AlterarClick() override;
    void Btn_GravarClick() override;
    void Btn_CancelClick() override;
    void Btn_ExcluirClick() override;
    void Btn_ConsultarClick() override;
    void Btn_IncDespClick();
    void Btn_AltDespClick();
    void Btn_ExcDespClick();
    void Btn_LimpDespClick();
    void Btn_ConsMotClick();
    void Btn_ConsDespClick();
    void EdcodmotExit();
    void EdcoddespExit();
    // The entry chosen in the entry search, into the screen (browse state).
    void loadEntry(const QString& number);
    // A grid row chosen by the operator becomes the selected item.
    void selectItem(int row);

    QLineEdit* Edentrada;
    QLineEdit* Edcodmot;
    QLineEdit* Edmotoboy;
    QLineEdit* Edcoddesp;
    QLineEdit* Eddespesa;
    QLineEdit* Edvalor;
    MaskEdit* Eddata;
    QPushButton* Btn_IncDesp;
    QPushButton* Btn_AltDesp;
    QPushButton* Btn_ExcDesp;
    QPushButton* Btn_LimpDesp;
    QPushButton* Btn_ConsMot;
    QPushButton* Btn_ConsDesp;
    QTableView* DBGrid1;
    QLineEdit* Edtotentr;

    int itemCount() const { return int(items_.size()); }

protected:
    void clearExtra() override;
    void stateChanged(bool edit) override;

private:
    QWidget* buildHead();
    struct Item {
        qlonglong cont = -1;
        QString codDesp, despesa, valor, data, codMot, motoboy;
    };
    void rebuildItems();  // the entry's items from the store, the grid and the total
    bool checkItem();
    void clearItemFields();
    bool takeFreeNumber();  // a new entry whose number another workstation took moves on
    void deleteItems();     // every item of this entry, by its own key

    QStandardItemModel* model_;
    QList<Item> items_;
    qlonglong selectedCont_ = -1;  // forgotten when the screen is cleared
    QString selectedValue_;
    bool numberTaken_ = false;  // a new entry's number is taken once an item is stored
};

// "Pesquisa de Entrada de Despesas do Motoboy".
class TQuelvarino0031_1 : public SearchScreen, public OneScreen<TQuelvarino0031_1> {
    Q_OBJECT
public:
    explicit TQuelvarino0031_1(QWidget* parent = nullptr);
};

}  // namespace quelvarino
