#pragma once

#include "widgets/passwordprompt.h"

namespace quelvarino {

// "Senha de Acesso": the password that guards changing and deleting a
// recorded order. Its count of wrong passwords is its own and lasts the run;
// at three the program ends.
class TQuelvarino0021_3 : public PasswordPrompt, public OneScreen<TQuelvarino0021_3> {
    Q_OBJECT
public:
    explicit TQuelvarino0021_3(QWidget* parent = nullptr);
    void Btn_ConfirmarClick() override;  // also EdsenhaExit
    void Btn_LimparClick() override;
    void Btn_RetornarClick() override;

private:
    void leave();
};

}  // namespace quelvarino
