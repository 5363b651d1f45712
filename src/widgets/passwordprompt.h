#pragma once

#include "widgets/screen.h"

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quelvarino {

class Table;

// The small password screens ("Parametros Iniciais", "Alteração da Senha de
// Acesso", "Senha de Acesso"): a caption, `Edsenha` (upper case, at most
// ten characters, one "*" each), "&Limpar", "&Confirmar", "&Retornar", a
// table object TBSenha of their own, a fixed size and a title bar without
// buttons. The check runs when Edsenha is left and on "&Confirmar"; the
// field is emptied after every check, so it runs once.
class PasswordPrompt : public Screen {
    Q_OBJECT
public:
    PasswordPrompt(const QString& instance,
                   const QString& caption,
                   const QString& label,
                   bool checkWhenLeft,
                   QWidget* parent = nullptr);
    ~PasswordPrompt() override;

    QLabel* Label1;
    QLineEdit* Edsenha;
    QPushButton* Btn_Limpar;
    QPushButton* Btn_Confirmar;
    QPushButton* Btn_Retornar;
    Table* TBSenha() const { return table_.get(); }

    // The screens' own steps. By default "&Limpar" empties the field for
    // another try and "&Retornar" empties it, releases the table and closes.
    virtual void Btn_ConfirmarClick() = 0;
    virtual void Btn_LimparClick();
    virtual void Btn_RetornarClick();

    // Room the window manager takes in a title bar besides the title.
    static constexpr int kTitleBarButtons = 110;

    // Ends the program as every other end does: by closing the main window.
    static void closeMainWindow();

    // This screen's wrong passwords in the run, never lowered.
    int wrongPasswords() const { return wrong_; }

protected:
    // "Senha digitada está incorreta.", the field emptied for another try.
    void refuseWrongPassword();
    // The third wrong password of this screen ends the program.
    void endAtTheThirdWrong();

    void showEvent(QShowEvent* event) override;
    void refreshTables() override;

private:
    std::unique_ptr<Table> table_;
    int wrong_ = 0;
};

}  // namespace quelvarino
