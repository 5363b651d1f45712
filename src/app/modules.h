#pragma once

#include "widgets/screen.h"

class QPlainTextEdit;
class QPushButton;

namespace quelvarino {

// "Descrição dos Módulos do Sistema Quelvarino": a guide to the menus.
class TQuelvarino00Sbr_0 : public Screen {
    Q_OBJECT
public:
    explicit TQuelvarino00Sbr_0(QWidget* parent = nullptr);
    static QString guideText();

private:
    QPlainTextEdit* text_;
    QPushButton* Btn_Retornar;
};

}  // namespace quelvarino
