#include "registers/receipts.h"

#include "core/amountinwords.h"
#include "core/clock.h"
#include "core/dates.h"
#include "core/registerchecks.h"
#include "data/datamodule.h"
#include "data/table.h"
#include "registers/clients.h"
#include "registers/codelookup.h"
#include "widgets/application.h"
#include "widgets/fieldedit.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/pixcodelabel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quelvarino {
namespace {

QString nextReceiptNumber() {
    Table receipts(QStringLiteral("tbrecibo"));
    receipts.setIndexFieldNames(QStringLiteral("RECIBO"));
    receipts.open();
    receipts.last();
    return nextCode(receipts.isEmpty() ? QString() : receipts.fieldByName("RECIBO").asString(), 10);
}

}  // namespace

TQuelvarino0022_0::TQuelvarino0022_0(QWidget* parent)
    : RecordScreen(QStringLiteral("Quelvarino0022_0"),
                   QStringLiteral("Emissão de Recibo  dos Clientes"),
                   parent) {
    auto* layout = new QVBoxLayout(this);
    auto* box = new QGroupBox(this);
    auto* g = new QGridLayout(box);
    Edrecibo = makeEdit(box, QStringLiteral("Edrecibo"), 10, false);
    setTypingLimit(Edrecibo, 0);  // never typed
    Edrecibo->setFixedWidth(Edrecibo->minimumWidth());
    Edcodcli = makeEdit(box, QStringLiteral("Edcodcli"), 6, true);
    Edcodcli->setFixedWidth(Edcodcli->minimumWidth());
    Edcliente = makeEdit(box, QStringLiteral("Edcliente"), 0, true);
    Btn_ConsCli = new QPushButton(QStringLiteral("C&onsultar"), box);
    Btn_ConsCli->setObjectName(QStringLiteral("Btn_ConsCli"));
    Btn_ConsCli->setToolTip(QStringLiteral("Consultar dados"));
    Edcnpj = makeMaskEdit(box, QStringLiteral("Edcnpj"), QString());
    Edinscest = makeEdit(box, QStringLiteral("Edinscest"), 15, true);
    Edvalor = makeEdit(box, QStringLiteral("Edvalor"), 10, false);
    Edvalor->setMinimumWidth(Edvalor->minimumWidth() + 30);
    // Computed: never cut to the 80 characters of the field.
    Edextenso = makeEdit(box, QStringLiteral("Edextenso"), 0, true);
    Edref = makeEdit(box, QStringLiteral("Edref"), 80, true);
    Edlocal = makeEdit(box, QStringLiteral("Edlocal"), 60, true);
    Eddata = makeMaskEdit(box, QStringLiteral("Eddata"), QStringLiteral("!99/99/9999;1;"));
    Eddata->setMaximumWidth(Eddata->minimumWidth());
    gridRow(g, 0, {"Recibo Nº. :", Edrecibo});
    gridRow(g, 1, {"Cliente :", Edcodcli, {Edcliente, 3}, Btn_ConsCli});
    gridRow(g, 2,
            {"C.N.P.J. / C.P.F. :", {Edcnpj, 2}, "Inscrição Estadual / R.G. :", {Edinscest, 2}});
    gridRow(g, 3, {"Valor :", Edvalor});
    // The words have a row of their own: long amounts take some 96 characters.
    g->addWidget(Edextenso, 4, 1, 1, 5);
    gridRow(g, 5, {"Referente à :", {Edref, 5}});
    gridRow(g, 6, {"Local :", {Edlocal, 3}, {"Data :", 1, Qt::AlignRight}, Eddata});
    Lbpix = new PixCodeLabel(QStringLiteral("Lbpix"), 170, box);
    g->addWidget(Lbpix, 0, 6, 7, 1, Qt::AlignCenter);
    for (QLineEdit* e : {Edrecibo, Edvalor})
        connect(e, &QLineEdit::textChanged, this, [this] {
            Lbpix->showFor(QStringLiteral("RC"), Edrecibo->text(), Edvalor->text());
        });
    g->setColumnStretch(2, 1);
    g->setColumnStretch(4, 1);
    layout->addWidget(box);
    layout->addStretch();
    layout->addLayout(toolbarLayout());

    connect(Btn_ConsCli, &QPushButton::clicked, this,
            [this] { guarded([this] { Btn_ConsCliClick(); }); });
    onExit(Edcodcli, [this] { EdcodcliExit(); });
    dateField(Eddata);

    Config c;
    c.table = [] { return DataModule1 ? DataModule1->TBRecibo : nullptr; };
    c.codeField = QStringLiteral("RECIBO");
    c.codeWidth = 10;
    c.codeEdit = Edrecibo;
    c.nameEdit = Edcodcli;
    c.firstField = Edcodcli;
    c.dateLabel = true;
    c.deleteQuestion = QStringLiteral("Deseja excluir este recibo?");
    c.callerName = QStringLiteral("recibo");
    c.searchScreen = QStringLiteral("Quelvarino0022_1");
    setUp(c, {{Edrecibo, "RECIBO", Kind::Text},
              {Edcodcli, "COD", Kind::Text},
              {Edcliente, "CLIENTE", Kind::Text},
              {Edcnpj, "CNPJ", Kind::Mask},
              {Edinscest, "INSCEST", Kind::Text},
              {Edvalor, "VALOR", Kind::Money},
              {Edextenso, "EXTENSO", Kind::Text},
              {Edref, "REFERENTE", Kind::Text},
              {Edlocal, "LOCAL", Kind::Text},
              {Eddata, "DATA", Kind::Mask}});
}

void TQuelvarino0022_0::clearExtra() {
    Eddata->setText(formatDate(Clock::today()));
    // A cleared screen shows the number the next receipt would get.
    if (DataModule1)
        Edrecibo->setText(nextReceiptNumber());
}

void TQuelvarino0022_0::FormActivate() {
    RecordScreen::FormActivate();
    if (DataModule1) {
        Lbpix->readCompany();
        Lbpix->showFor(QStringLiteral("RC"), Edrecibo->text(), Edvalor->text());
    }
    // The number the next receipt would get, once the data module exists.
    if (!inEditState() && Edrecibo->text().isEmpty() && DataModule1)
        clearScreen();
}

void TQuelvarino0022_0::stateChanged(bool edit) {
    // A receipt is printed from edit state: a new one, or an old one after
    // Consultar and Alterar.
    Btn_Imprimir->setEnabled(edit);
    Btn_ConsCli->setEnabled(edit);
    for (QLineEdit* e : {Edcliente, Edextenso})
        setFieldEditable(e, false);
}

bool TQuelvarino0022_0::validate() {
    bool allBlank = true;
    for (QLineEdit* e : {Edrecibo, Edcodcli, Edcliente, Edinscest, Edvalor, Edextenso, Edlocal})
        allBlank = allBlank && e->text().isEmpty();
    allBlank = allBlank && Eddata->text().isEmpty() && Edcnpj->text().isEmpty();
    if (allBlank) {
        MessageBox::warning(QStringLiteral(
            "Impossível gravar este registro, pois todos os campos estão em branco"));
        Edcodcli->setFocus();
        return false;
    }
    if (Edrecibo->text().isEmpty() || Edcodcli->text().isEmpty()) {
        MessageBox::warning(QStringLiteral("Número da comanda e cliente deve ser preenchido."));
        Edcodcli->setFocus();
        return false;
    }
    return true;
}

void TQuelvarino0022_0::moneyLeft(QLineEdit* field, bool wasEmpty) {
    // Changing the value writes the words again; an emptied value keeps them.
    if (field == Edvalor && !wasEmpty)
        Edextenso->setText(amountInWords(Edvalor->text()));
}

void TQuelvarino0022_0::EdcodcliExit() {
    lookUpCode(Edcodcli, clientLookup([this](Table& row) {
                   SearchScreen::fillControls(this,
                                              {{"Edcodcli", "CODCLI"},
                                               {"Edcliente", "RAZAOSOCIAL"},
                                               {"Edcnpj", "CNPJ"},
                                               {"Edinscest", "INSCREST"}},
                                              row);
               }));
}

void TQuelvarino0022_0::Btn_ConsCliClick() {
    openSearchFor(TQuelvarino0011_1::instance(), QStringLiteral("recibo"));
}

void TQuelvarino0022_0::Btn_ImprimirClick() {
    if (Edrecibo->text().trimmed().isEmpty()) {
        MessageBox::warning(QStringLiteral("Recibo inexistente."));
        return;
    }
    RecordScreen::Btn_ImprimirClick();
}

TQuelvarino0022_1::TQuelvarino0022_1(QWidget* parent)
    : SearchScreen(QStringLiteral("Quelvarino0022_1"),
                   QStringLiteral("Pesquisa de Recibo dos Clientes"),
                   QStringLiteral("tbrecibo"),
                   QStringLiteral("TBRecibo"),
                   {{"Rbcliente", "Cliente", "CLIENTE", "Digite o nome do cliente ou sequência :"},
                    {"Rbrecibo", "Nº Recibo", "RECIBO", "Digite o número do recibo ou sequência :"},
                    {"Rbcnpj", "C.N.P.J.", "CNPJ", "Digite o número do CNPJ ou sequência :"},
                    {"Rbinscest", "Inscr. Estadual", "INSCEST",
                     "Digite o número da inscrição estadual ou sequência :"}},
                   {{"RECIBO", "Recibo"},
                    {"CLIENTE", "Cliente"},
                    {"CNPJ", "C.N.P.J."},
                    {"INSCEST", "Insc. estadual"},
                    {"VALOR", "Valor", true},
                    {"REFERENTE", "Referente"},
                    {"LOCAL", "Local"},
                    {"DATA", "Data"}},
                   parent) {
    setDefaultOption(1);
    setReturn(QStringLiteral("recibo"), [](Table& row) -> QWidget* {
        TQuelvarino0022_0* screen = TQuelvarino0022_0::instance();
        if (screen)
            screen->loadFields(row);  // the words as stored: not computed again
        return screen;
    });
}

}  // namespace quelvarino
