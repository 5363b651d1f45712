#include "widgets/passwordprompt.h"

#include "data/table.h"
#include "widgets/application.h"
#include "widgets/fieldedit.h"
#include "widgets/fields.h"
#include "widgets/messagebox.h"
#include "widgets/toolbar.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace quelvarino {

PasswordPrompt::PasswordPrompt(const QString& instance,
                               const QString& caption,
                               const QString& label,
                               bool checkWhenLeft,
                               QWidget* parent)
    : Screen(instance, caption, parent),
      table_(std::make_unique<Table>(QStringLiteral("tbsenha"))) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    table_->setObjectName(QStringLiteral("TBSenha"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(label, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edsenha = makeEdit(this, QStringLiteral("Edsenha"), 10, true);
    Edsenha->setEchoMode(QLineEdit::Password);
    Edsenha->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // "*"
    layout->addWidget(Label1);
    layout->addWidget(Edsenha);
    auto* buttons = new QHBoxLayout;
    auto button = [this, buttons](const char* name, const char* text, const char* hint) {
        QPushButton* b = namedButton(this, name, text, hint);
        buttons->addWidget(b);
        return b;
    };
    Btn_Limpar = button("Btn_Limpar", "&Limpar", "Limpar campos");
    Btn_Confirmar = button("Btn_Confirmar", "&Confirmar", "Confirmar senha");
    Btn_Retornar = button("Btn_Retornar", "&Retornar", "Retornar ao menu");
    layout->addLayout(buttons);
    connect(Btn_Limpar, &QPushButton::clicked, this,
            [this] { guarded([this] { Btn_LimparClick(); }); });
    connect(Btn_Confirmar, &QPushButton::clicked, this,
            [this] { guarded([this] { Btn_ConfirmarClick(); }); });
    connect(Btn_Retornar, &QPushButton::clicked, this,
            [this] { guarded([this] { Btn_RetornarClick(); }); });
    if (checkWhenLeft)
        onExit(Edsenha, [this] { Btn_ConfirmarClick(); });
    // 249 by 131 pixels, or what the fonts need to show every caption, and
    // the window's title whole in its title bar beside the window manager's
    // icon and buttons (which take about 110 pixels).
    const QSize need = sizeHint();
    const int title =
        QFontMetrics(QApplication::font()).horizontalAdvance(caption) + kTitleBarButtons;
    setFixedSize(std::max({249, need.width(), title}), qMax(131, need.height()));
}

PasswordPrompt::~PasswordPrompt() = default;

void PasswordPrompt::Btn_LimparClick() {
    Edsenha->clear();
    Edsenha->setFocus();
}

void PasswordPrompt::Btn_RetornarClick() {
    Edsenha->clear();
    table_->close();
    close();
}

void PasswordPrompt::showEvent(QShowEvent* event) {
    Screen::showEvent(event);
    refreshTables();
}

void PasswordPrompt::refreshTables() {
    if (table_->isOpen())
        table_->refresh();
}

void PasswordPrompt::closeMainWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("Quelvarino000_0")) {
            w->close();
            return;
        }
    }
}

void PasswordPrompt::refuseWrongPassword() {
    MessageBox::warning(QStringLiteral("Senha digitada está incorreta."));
    Edsenha->clear();
    Edsenha->setFocus();
    ++wrong_;
}

void PasswordPrompt::endAtTheThirdWrong() {
    if (wrong_ == 3)
        closeMainWindow();
}

}  // namespace quelvarino
