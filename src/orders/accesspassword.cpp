#include "orders/accesspassword.h"

#include "data/datamodule.h"
#include "data/passwordstore.h"
#include "data/table.h"
#include "orders/serviceorder.h"
#include "widgets/messagebox.h"

#include <QLineEdit>

namespace quelvarino {
namespace {

TQuelvarino0021_0* orderScreen() {
    return TQuelvarino0021_0::instance();
}

}  // namespace

TQuelvarino0021_3::TQuelvarino0021_3(QWidget* parent)
    : PasswordPrompt(QStringLiteral("Quelvarino0021_3"),
                     QStringLiteral("Senha de Acesso"),
                     QStringLiteral("Digite a Senha"),
                     true,
                     parent) {
    setToolTip(QStringLiteral("Senha de acesso"));
}

void TQuelvarino0021_3::Btn_ConfirmarClick() {
    const QString typed = Edsenha->text();
    if (typed.isEmpty())
        return;
    TQuelvarino0021_0* os = orderScreen();
    const QString stored = PasswordStore::stored(*TBSenha());
    if (stored.isEmpty()) {
        // Without a password every text would be "wrong" and three tries
        // would end the program: say what is missing instead.
        MessageBox::warning(
            QStringLiteral("Nenhuma senha de acesso foi cadastrada. Cadastre-a em "
                           "Cadastro > Parametros Iniciais."));
        Edsenha->clear();
        TBSenha()->close();
        return;
    }
    if (typed != stored) {
        refuseWrongPassword();
    } else if (os && os->pendingOperation() == QLatin1String("Alterar")) {
        Edsenha->clear();
        hide();
        os->passwordAcceptedForChange();
    } else if (os && os->pendingOperation() == QLatin1String("Excluir")) {
        // No: nothing is deleted and this screen stays with the password typed.
        if (os->passwordAcceptedForDelete()) {
            Edsenha->clear();
            hide();
        }
    }
    endAtTheThirdWrong();
    TBSenha()->close();
}

void TQuelvarino0021_3::leave() {
    Edsenha->clear();
    hide();
    if (DataModule1)
        DataModule1->TBOrdem->close();  // releases a lock taken by Alterar
    TBSenha()->close();
}

void TQuelvarino0021_3::Btn_LimparClick() {
    leave();
}

void TQuelvarino0021_3::Btn_RetornarClick() {
    leave();
}

}  // namespace quelvarino
