#pragma once

#include "widgets/passwordprompt.h"

namespace quelvarino {

// "Parametros Iniciais": the current password opens the change screen; the
// first text ever confirmed becomes the password. Three wrong passwords in
// one run end the program.
class TQuelvarino0014_0 : public PasswordPrompt, public OneScreen<TQuelvarino0014_0> {
    Q_OBJECT
public:
    explicit TQuelvarino0014_0(QWidget* parent = nullptr);
    void Btn_ConfirmarClick() override;  // also EdsenhaExit
};

// "Alteração da Senha de Acesso".
class TQuelvarino0014_1 : public PasswordPrompt, public OneScreen<TQuelvarino0014_1> {
    Q_OBJECT
public:
    explicit TQuelvarino0014_1(QWidget* parent = nullptr);
    void Btn_ConfirmarClick() override;
    void Btn_LimparClick() override;
    void Btn_RetornarClick() override;

private:
    void closeBoth();
};

}  // namespace quelvarino
