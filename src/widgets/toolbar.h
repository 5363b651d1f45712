#pragma once

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace quelvarino {

// The nine buttons every record screen has, with their captions and hints.
struct Toolbar {
    QPushButton* Btn_Novo;
    QPushButton* Btn_Alterar;
    QPushButton* Btn_Gravar;
    QPushButton* Btn_Cancel;
    QPushButton* Btn_Excluir;
    QPushButton* Btn_Consultar;
    QPushButton* Btn_Limpar;
    QPushButton* Btn_Imprimir;
    QPushButton* Btn_Retornar;
    QHBoxLayout* layout;
};

Toolbar makeToolbar(QWidget* parent);

// Makes the toolbar of `screen` and keeps its buttons in the screen's own
// members of the same names; returns the toolbar's layout.
template <typename Screen>
QHBoxLayout* takeToolbar(Screen* screen) {
    const Toolbar bar = makeToolbar(screen);
    screen->Btn_Novo = bar.Btn_Novo;
    screen->Btn_Alterar = bar.Btn_Alterar;
    screen->Btn_Gravar = bar.Btn_Gravar;
    screen->Btn_Cancel = bar.Btn_Cancel;
    screen->Btn_Excluir = bar.Btn_Excluir;
    screen->Btn_Consultar = bar.Btn_Consultar;
    screen->Btn_Limpar = bar.Btn_Limpar;
    screen->Btn_Imprimir = bar.Btn_Imprimir;
    screen->Btn_Retornar = bar.Btn_Retornar;
    return bar.layout;
}

}  // namespace quelvarino
