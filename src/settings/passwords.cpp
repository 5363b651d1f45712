#include "settings/passwords.h"

#include "data/passwordstore.h"
#include "data/table.h"
#include "widgets/messagebox.h"

#include <QLineEdit>

namespace quelvarino {
namespace {

TQuelvarino0014_0* prompt() {
    return TQuelvarino0014_0::instance();
}

TQuelvarino0014_1* change() {
    return TQuelvarino0014_1::instance();
}

}  // namespace

TQuelvarino0014_0::TQuelvarino0014_0(QWidget* parent)
    : PasswordPrompt(QStringLiteral("Quelvarino0014_0"),
                     QStringLiteral("Parametros Iniciais"),
                     QStringLiteral("Digite a Senha"),
                     true,
                     parent) {}

void TQuelvarino0014_0::Btn_ConfirmarClick() {
    const QString typed = Edsenha->text();
    if (typed.isEmpty())
        return;
    const QString stored = PasswordStore::stored(*TBSenha());
    if (!stored.isEmpty() && typed != stored) {
        refuseWrongPassword();
    } else {
        if (stored.isEmpty())
            PasswordStore::store(*TBSenha(), typed);  // the first text becomes the password
        Edsenha->clear();
        if (TQuelvarino0014_1* next = change())
            next->showScreen(QStringLiteral("Edsenha"));
    }
    endAtTheThirdWrong();
    TBSenha()->close();
}

TQuelvarino0014_1::TQuelvarino0014_1(QWidget* parent)
    : PasswordPrompt(QStringLiteral("Quelvarino0014_1"),
                     QStringLiteral("Alteração da Senha de Acesso"),
                     QStringLiteral("Nova Senha"),
                     false,
                     parent) {}  // only "&Confirmar" stores the new password

void TQuelvarino0014_1::closeBoth() {
    TBSenha()->close();
    Edsenha->clear();
    close();
    if (TQuelvarino0014_0* first = prompt()) {
        first->TBSenha()->close();
        first->Edsenha->clear();
        first->close();
    }
}

void TQuelvarino0014_1::Btn_ConfirmarClick() {
    // An empty new password leaves the stored one.
    if (!Edsenha->text().isEmpty())
        PasswordStore::store(*TBSenha(), Edsenha->text());
    closeBoth();
}

void TQuelvarino0014_1::Btn_LimparClick() {
    TBSenha()->close();
    Edsenha->clear();
    if (TQuelvarino0014_0* first = prompt()) {
        first->TBSenha()->close();
        first->Edsenha->clear();
    }
    Edsenha->setFocus();
}

void TQuelvarino0014_1::Btn_RetornarClick() {
    closeBoth();
}

}  // namespace quelvarino
