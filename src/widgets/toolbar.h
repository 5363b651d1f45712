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

}  // namespace quelvarino
