#pragma once

class QBoxLayout;
class QPushButton;
class QWidget;

namespace quelvarino {

// A push button of `parent` with its control name, caption ("&Imprimir")
// and hint (none when null).
QPushButton* namedButton(QWidget* parent, const char* name, const char* caption, const char* hint);

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
    QBoxLayout* row;  // the nine in order
};

Toolbar makeToolbar(QWidget* parent);

}  // namespace quelvarino
