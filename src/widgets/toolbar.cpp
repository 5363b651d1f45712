#include "widgets/toolbar.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace quelvarino {

QPushButton* namedButton(QWidget* parent, const char* name, const char* caption, const char* hint) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    if (hint)
        b->setToolTip(QString::fromUtf8(hint));
    return b;
}

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, const char* hint) {
    QPushButton* b = namedButton(parent, name, caption, hint);
    b->setMinimumWidth(82);
    return b;
}

}  // namespace

Toolbar makeToolbar(QWidget* parent) {
    Toolbar t;
    t.row = new QHBoxLayout;
    t.Btn_Novo = makeButton(parent, "Btn_Novo", "&Novo", "Incluir novos dados");
    t.Btn_Alterar = makeButton(parent, "Btn_Alterar", "&Alterar", nullptr);
    t.Btn_Gravar = makeButton(parent, "Btn_Gravar", "&Gravar", "Gravar dados digitados");
    t.Btn_Cancel = makeButton(parent, "Btn_Cancel", "&Cancelar", "Cancelar a operação");
    t.Btn_Excluir = makeButton(parent, "Btn_Excluir", "&Excluir", "Exclusão de dados");
    t.Btn_Consultar = makeButton(parent, "Btn_Consultar", "&Consultar", "Consultar dados");
    t.Btn_Limpar = makeButton(parent, "Btn_Limpar", "&Limpar", "Limpar campos");
    t.Btn_Imprimir = makeButton(parent, "Btn_Imprimir", "&Imprimir", "Imprimir relatório");
    t.Btn_Retornar = makeButton(parent, "Btn_Retornar", "&Retornar", "Retornar ao menu");
    for (QPushButton* b : {t.Btn_Novo, t.Btn_Alterar, t.Btn_Gravar, t.Btn_Cancel, t.Btn_Excluir,
                           t.Btn_Consultar, t.Btn_Limpar, t.Btn_Imprimir, t.Btn_Retornar})
        t.row->addWidget(b);
    return t;
}

}  // namespace quelvarino
