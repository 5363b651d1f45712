#include "orders/serviceorder.h"

#include "core/clock.h"
#include "core/dates.h"
#include "core/money.h"
#include "core/registerchecks.h"
#include "data/datamodule.h"
#include "data/table.h"
#include "orders/accesspassword.h"
#include "orders/ordersearch.h"
#include "registers/clients.h"
#include "registers/codelookup.h"
#include "registers/couriers.h"
#include "registers/searchscreen.h"
#include "widgets/application.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/pixcodelabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>

namespace quelvarino {
namespace {

// The client's address and phones, as the client register has them today.
const QList<QPair<QString, QString>> kClientAddress = {
    {"Edend", "ENDERECO1"},     {"Edbairro", "BAIRRO1"},
    {"Edcid", "CIDADE1"},       {"Eduf", "UF1"},
    {"Edcep", "CEP1"},          {"Edddd", "DDD1"},
    {"Edfone1", "TELEFONE1_1"}, {"Edlinha1", "TIPOTEL1_1"},
    {"Edfone2", "TELEFONE1_2"}, {"Edlinha2", "TIPOTEL1_2"}};

}  // namespace

TQuelvarino0021_0::TQuelvarino0021_0(QWidget* parent)
    : RecordScreen(QStringLiteral("Quelvarino0021_0"),
                   QStringLiteral("Emissão da Ordem de Serviço (OS)"),
                   parent) {
    buildScreen();
    connectHandlers();
    Config c;
    c.table = [] { return DataModule1 ? DataModule1->TBOrdem : nullptr; };
    c.codeField = QStringLiteral("COMANDA");
    c.codeWidth = 10;
    c.codeEdit = Edcomanda;
    c.searchScreen = QStringLiteral("Quelvarino0021_1");
    c.callerName = QStringLiteral("ordem_servico");
    c.firstField = Edcodcli;
    c.pickOnlyCombos = {Cbpag};
    c.moneyOwnRules = true;  // the hours rules format and total them
    // Shown with the order but kept in the client register, and the choices.
    c.editableExtras = {Edend,   Edbairro, Edcid,   Eduf,    Edcep,   Edddd,    Edfone1, Edlinha1,
                        Edfone2, Edlinha2, Rbhora1, Rbhora2, Rbvalor, Rbvalmot, Rbtel};
    using K = Kind;
    const bool shown = false;  // copied from the registers or computed, never typed
    setUp(c, {{Edcomanda, "COMANDA", K::Text, shown},
              {Edcodcli, "CODCLI", K::Text},
              {Edcliente, "CLIENTE", K::Text, shown},
              {Eddata, "DATA", K::Mask},
              {Edsolicit, "SOLICITANTE", K::Text},
              {Edhora1, "HORA1", K::Time},
              {Edhora2, "HORA2", K::Time},
              {Edhora3, "HORA3", K::Time},
              {Edhora4, "HORA4", K::Time, shown},
              {Edvalor, "VALOR", K::Money, shown},  // opened by its check box
              {Edseguro, "SEGURO", K::Money},
              {Edtaxap, "TAXAPERIM", K::Money},
              {Edtotval, "TOTVAL", K::Money, shown},
              {Edcodmot, "CODMOT", K::Text},
              {Edmotoboy, "MOTOBOY", K::Text, shown},
              {Edvalmot, "VALMOT", K::Money, shown},  // opened by its check box
              {Edmar, "MARCA", K::Text, shown},
              {Edmod, "MODELO", K::Text, shown},
              {Edano, "ANO", K::Mask, shown},
              {Edplac, "PLACAM", K::Mask, shown},
              {Edveiculo, "VEICULO", K::Text},
              {Edplaca, "PLACA", K::Text},
              {Cbpag, "PAGAMENTO", K::Combo},
              {Edpag, "DESCPAG", K::Text},
              {Edobs, "OBSERVACAO", K::Memo}});
    // The client and courier searches hand their row to this screen.
    if (auto* search = TQuelvarino0011_1::instance()) {
        search->setReturn(QStringLiteral("ordem_servico"), [this](Table& row) -> QWidget* {
            fillClient(row);
            Eddata->setFocus();
            return this;
        });
    }
    if (auto* search = TQuelvarino0012_1::instance()) {
        search->setReturn(QStringLiteral("ordem_servico"), [this](Table& row) -> QWidget* {
            fillCourier(row, false);  // the search does not copy the hour rate
            return this;
        });
    }
    // The number is proposed on first show, once the data module exists.
}

QList<QWidget*> TQuelvarino0021_0::editableFields() const {
    return {Edcodcli, Eddata,   Edend,    Edbairro,  Edcid,     Edcep,   Edddd,   Eduf,
            Edfone1,  Edlinha1, Edfone2,  Edlinha2,  Edsolicit, Edhora1, Edhora2, Edhora3,
            Edtaxap,  Edseguro, Edcodmot, Edveiculo, Edplaca,   Cbpag,   Edpag,   Edobs,
            Rbhora1,  Rbhora2,  Rbvalor,  Rbvalmot,  Rbtel};
}

void TQuelvarino0021_0::connectHandlers() {
    auto on = [this](QPushButton* b, void (TQuelvarino0021_0::*handler)()) {
        connect(b, &QPushButton::clicked, this,
                [this, handler] { guarded([&] { (this->*handler)(); }); });
    };
    // The toolbar is connected by the base to the (overridden) handlers.
    on(Btn_ConsCli, &TQuelvarino0021_0::Btn_ConsCliClick);
    on(Btn_ConsMot, &TQuelvarino0021_0::Btn_ConsMotClick);

    onExit(Edcodcli, [this] { EdcodcliExit(); });
    onExit(Edcodmot, [this] { EdcodmotExit(); });
    onExit(Eddata, [this] { EddataExit(); });
    onExit(Edhora1, [this] { EdhoraExit(Edhora1); });
    onExit(Edhora2, [this] { EdhoraExit(Edhora2); });
    onExit(Edhora3, [this] { Edhora3Exit(); });
    onExit(Edvalor, [this] { EdvalorExit(); });
    onExit(Edseguro, [this] { EdseguroExit(); });
    onExit(Edtaxap, [this] { EdtaxapExit(); });
    onExit(Edvalmot, [this] { EdvalmotExit(); });
    onExit(Cbpag, [this] { CbpagChange(); });
    connect(Cbpag, &QComboBox::currentTextChanged, this,
            [this] { guarded([this] { CbpagChange(); }); });
    connect(Cbpag, &QComboBox::currentTextChanged, this, [this] { showPixCode(); });
    for (QLineEdit* e : {Edcomanda, Edtotval})
        connect(e, &QLineEdit::textChanged, this, [this] { showPixCode(); });
    for (QRadioButton* rb : {Rbhora1, Rbhora2}) {
        QRadioButton* other = rb == Rbhora1 ? Rbhora2 : Rbhora1;
        connect(rb, &QRadioButton::clicked, this, [this, rb, other] {
            // A radio stays checked when clicked again, and unchecks the other.
            setCheckedQuietly(rb, true);
            setCheckedQuietly(other, false);
            guarded([this] { RbhoraClick(); });
        });
    }
    connect(Rbvalor, &QCheckBox::toggled, this, [this] { guarded([this] { RbvalorClick(); }); });
    connect(Rbvalmot, &QCheckBox::toggled, this, [this] { guarded([this] { RbvalmotClick(); }); });
}

// ---- states -----------------------------------------------------------------

// The toolbar follows the registers; besides, "&Imprimir" waits for an order
// recorded or loaded, and the lookups and fields follow the state.
void TQuelvarino0021_0::stateChanged(bool edit) {
    if (!edit)
        Btn_Imprimir->setEnabled(false);
    Btn_ConsCli->setEnabled(edit);
    Btn_ConsMot->setEnabled(edit);
    // The value fields open only through their check boxes.
    setFieldEditable(Edvalor, edit && Rbvalor->isChecked());
    setFieldEditable(Edvalmot, edit && Rbvalmot->isChecked());
    if (edit)
        CbpagChange();
}

QString TQuelvarino0021_0::nextOrderNumber() {
    Table orders(QStringLiteral("tbordem"));
    orders.setIndexFieldNames(QStringLiteral("COMANDA"));
    orders.open();
    orders.last();
    return nextCode(orders.isEmpty() ? QString() : orders.fieldByName("COMANDA").asString(), 10);
}

void TQuelvarino0021_0::clearExtra() {
    for (QLineEdit* e : {Edend, Edbairro, Edcid, Edddd, Edfone1, Edfone2})
        e->clear();
    Edcep->clear();
    Eddata->setText(formatDate(Clock::today()));
    Lbtotval->setText(QStringLiteral("0,00"));
    Lbvalor->clear();
    for (QComboBox* combo : {Eduf, Edlinha1, Edlinha2}) {
        setPickOnly(combo, false);
        combo->setCurrentIndex(-1);
        combo->setEditText(QString());
    }
    for (QAbstractButton* b :
         std::initializer_list<QAbstractButton*>{Rbhora1, Rbhora2, Rbvalor, Rbvalmot, Rbtel})
        setCheckedQuietly(b, false);
    if (!inEditState()) {
        setFieldEditable(Edvalor, false);
        setFieldEditable(Edvalmot, false);
    }
    pendingProtected_.clear();
    if (DataModule1) {
        DataModule1->TBOrdem->close();  // abandons an insert or edit and its lock
        Edcomanda->setText(nextOrderNumber());
    }
}

void TQuelvarino0021_0::FormActivate() {
    Lbdata->setText(formatDate(Clock::today()));
    if (!inEditState() && Edcomanda->text().isEmpty() && DataModule1)
        clearScreen();
    if (DataModule1) {
        Lbpix->readCompany();
        showPixCode();
    }
}

void TQuelvarino0021_0::showPixCode() {
    // An order billed later ("FATURADO", or no form yet, which records as
    // FATURADO) is paid against its invoice: no code.
    const QString payment = Cbpag->currentText().trimmed();
    Lbpix->showFor(QStringLiteral("OS"), Edcomanda->text(), Edtotval->text(),
                   !payment.isEmpty() && payment != QLatin1String("FATURADO"));
}

// ---- lookups ------------------------------------------------------------------

void TQuelvarino0021_0::EdcodcliExit() {
    lookUpCode(Edcodcli, clientLookup([this](Table& row) { fillClient(row); }));
}

void TQuelvarino0021_0::EdcodmotExit() {
    lookUpCode(Edcodmot, courierLookup(QStringLiteral("Código do motorista inexistente."),
                                       QStringLiteral("Situação do Motorista BLOQUEADO."),
                                       [this](Table& row) { fillCourier(row, true); }));
}

void TQuelvarino0021_0::fillClient(Table& row) {
    SearchScreen::fillControls(this, {{"Edcodcli", "CODCLI"}, {"Edcliente", "RAZAOSOCIAL"}}, row);
    SearchScreen::fillControls(this, kClientAddress, row);
    if (Rbvalor->isChecked()) {
        // Fixed-value mode: the value typed for this order stays.
        setCheckedQuietly(Rbhora1, false);
        setCheckedQuietly(Rbhora2, false);
        setFieldEditable(Edvalor, true);
        Edvalor->setText(reformatMoney(Edvalor->text()));
    } else {
        Lbvalor->setText(row.fieldByName("VALOR").asString());
        Edvalor->setText(reformatMoney(row.fieldByName("VALOR").asString()));
    }
}

void TQuelvarino0021_0::fillCourier(Table& row, bool withRate) {
    Edcodmot->setText(row.fieldByName("COD").asString());
    Edmotoboy->setText(row.fieldByName("NOME").asString());
    if (Rbvalmot->isChecked()) {
        setFieldEditable(Edvalmot, true);
        Edvalmot->setText(reformatMoney(Edvalmot->text()));
    } else if (withRate) {
        Edvalmot->setText(reformatMoney(row.fieldByName("VALOR").asString()));
    } else {
        Edvalmot->setText(reformatMoney(Edvalmot->text()));
    }
    SearchScreen::fillControls(
        this, {{"Edmar", "MARCA"}, {"Edmod", "MODELO"}, {"Edano", "ANO"}, {"Edplac", "PLACA"}},
        row);
}

void TQuelvarino0021_0::Btn_ConsCliClick() {
    openSearchFor(TQuelvarino0011_1::instance(), QStringLiteral("ordem_servico"));
}

void TQuelvarino0021_0::Btn_ConsMotClick() {
    openSearchFor(TQuelvarino0012_1::instance(), QStringLiteral("ordem_servico"));
}

// ---- field checks -------------------------------------------------------------

void TQuelvarino0021_0::EddataExit() {
    if (!Eddata->isBlank())
        runDateCheck(Eddata);
}

void TQuelvarino0021_0::CbpagChange() {
    if (!inEditState())
        return;
    setFieldEditable(Edpag, Cbpag->currentText() != QStringLiteral("À VISTA"));
}

bool TQuelvarino0021_0::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edobs && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool newLine = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (newLine && Edobs->blockCount() >= kNotesLines) {
            MessageBox::question(
                QStringLiteral("Excedido a quantidade maxima de linhas permitido."));
            return true;
        }
    }
    return Screen::eventFilter(watched, event);
}

// ---- recording ----------------------------------------------------------------

QList<QWidget*> TQuelvarino0021_0::validationFields() const {
    return {Edcomanda, Edcodcli, Edcliente, Eddata,    Edend,   Edbairro, Edcep,
            Eduf,      Edddd,    Edfone1,   Edlinha1,  Edfone2, Edlinha2, Edsolicit,
            Edhora1,   Edvalor,  Edcodmot,  Edveiculo, Edplaca, Edpag,    Edobs};
}

bool TQuelvarino0021_0::validate() {
    if (refuseAllBlank(validationFields(), Edcodcli))
        return recordValid_ = false;
    if (Edcomanda->text().isEmpty() || Edcodcli->text().isEmpty() || Edcodmot->text().isEmpty()) {
        MessageBox::warning(
            QStringLiteral("O número da comanda, cliente e motoboy devem ser preenchidos."));
        Edcodcli->setFocus();
        return recordValid_ = false;
    }
    // A time changed after the end was checked may leave the end before the
    // start: such an order would be charged for time that never was.
    if (endsBeforeItStarts(hoursState())) {
        MessageBox::warning(QStringLiteral(
            "A hora final é anterior à hora de saída ou à hora inicial. Corrija os horários; "
            "o trabalho depois da meia-noite deve ser aberto em outra ordem de serviço."));
        Edhora3->setFocus();
        return recordValid_ = false;
    }
    return recordValid_ = true;
}

void TQuelvarino0021_0::beforeRecording() {
    // The courier's own hour rate, only for a courier with exactly this code.
    std::optional<QString> rate;
    {
        Table couriers(QStringLiteral("tbmotociclista"));
        if (couriers.findExact(QStringLiteral("COD"), Edcodmot->text()))
            rate = couriers.fieldByName("VALOR").asString();
    }
    const OrderRecomputation rec = recomputeForRecording(hoursState(), rate);
    applyHoursState(rec.screen);
    recordValues_ = rec.values;
}

// What the order stores besides its controls' texts.
void TQuelvarino0021_0::writeExtra(Table& t) {
    const OrderRecordValues& v = recordValues_;
    auto set = [&t](const char* field, const QString& text) {
        t.fieldByName(field).setAsString(text);
    };
    set("TOTVALMOT", v.totValMot);
    set("TOTHORN", v.totHorN);
    set("TOTHOR50", v.totHor50);
    set("TOTHOR100", v.totHor100);
    set("VALORN", v.valorN);
    set("VALOR50", v.valor50);
    set("VALOR100", v.valor100);
    set("VALMOT", v.valMot);
    if (Cbpag->currentText().isEmpty())
        set("PAGAMENTO", QStringLiteral("FATURADO"));
    if (Eddata->isBlank()) {
        Eddata->setText(formatDate(Clock::today()));
        set("DATA", Eddata->text());
    }
}

// A recorded order stays on the screen, ready to be printed.
void TQuelvarino0021_0::afterRecording() {
    setNewRecord(false);
    setBrowseState();
    Btn_Imprimir->setEnabled(!Edcomanda->text().isEmpty());
}

QString TQuelvarino0021_0::movedMessage(const QString& proposed, const QString& stored) const {
    return QStringLiteral(
               "A ordem de serviço nº %1 foi gravada por outro usuário; "
               "esta ordem foi gravada com o nº %2.")
        .arg(proposed, stored);
}

void TQuelvarino0021_0::Btn_ImprimirClick() {
    if (Edcomanda->text().trimmed().isEmpty()) {
        MessageBox::warning(QStringLiteral("Ordem de serviço inexistente."));
        return;
    }
    RecordScreen::Btn_ImprimirClick();
}

Criteria TQuelvarino0021_0::printCriteria() const {
    Criteria c = RecordScreen::printCriteria();
    for (const auto& [control, field] : kClientAddress) {
        QString text;
        if (auto* edit = findChild<QLineEdit*>(control))
            text = edit->text();
        else if (auto* combo = findChild<QComboBox*>(control))
            text = combo->currentText();
        c.record.insert(field, text);
    }
    c.record.insert(QStringLiteral("TELEFONES"),
                    Rbtel->isChecked() ? QStringLiteral("S") : QStringLiteral("N"));
    return c;
}

// ---- a recorded order: search, change and delete under the password -------

void TQuelvarino0021_0::loadOrder(Table& row) {
    loadFields(row);
    // The client's address as it is today, not as it was on the order's day.
    Table clients(QStringLiteral("tbclientes"));
    if (clients.findExact(QStringLiteral("CODCLI"), Edcodcli->text()))
        SearchScreen::fillControls(this, kClientAddress, clients);
    clients.close();
    setNewRecord(false);
    setBrowseState();
    Btn_Imprimir->setEnabled(!Edcomanda->text().isEmpty());
}

// The order on screen, locked in the data module's table; false (and the
// operator told) when it is no longer stored or another user holds it.
bool TQuelvarino0021_0::openStoredOrder(bool lock, const QString& missing) {
    // Only the order with exactly this number: another workstation may have
    // deleted it, and the nearest one is somebody else's.
    const QString number = Edcomanda->text().trimmed();
    Table* t = DataModule1->TBOrdem;
    return openOnCode(number, missing.arg(number)) &&
           (!lock || RecordScreen::lockedAction(*t, [t] { t->edit(); }));
}

void TQuelvarino0021_0::showPassword() {
    if (auto* password = TQuelvarino0021_3::instance())
        password->showScreen(QStringLiteral("Edsenha"));
}

void TQuelvarino0021_0::Btn_AlterarClick() {
    if (Edcomanda->text().isEmpty()) {
        MessageBox::warning(QStringLiteral("Selecione o registro que será alterado."));
        return;
    }
    if (!openStoredOrder(true, QStringLiteral("A ordem de serviço nº %1 não está gravada; "
                                              "nada foi alterado.")))
        return;
    pendingProtected_ = QStringLiteral("Alterar");
    showPassword();
}

void TQuelvarino0021_0::Btn_ExcluirClick() {
    if (Edcomanda->text().trimmed().isEmpty()) {
        MessageBox::warning(QStringLiteral("Selecione o registro que será excluído"));
        return;
    }
    if (!openStoredOrder(false, QStringLiteral("A ordem de serviço nº %1 não está gravada; "
                                               "nada foi excluído.")))
        return;
    DataModule1->TBOrdem->close();
    pendingProtected_ = QStringLiteral("Excluir");
    showPassword();
}

void TQuelvarino0021_0::passwordAcceptedForChange() {
    setEditState();
    // The lock taken by Alterar ends here; Gravar takes it again.
    DataModule1->TBOrdem->close();
    showScreen();
    setPickOnly(Cbpag, false);
    setNewRecord(false);
    Edcodcli->setFocus();
}

bool TQuelvarino0021_0::passwordAcceptedForDelete() {
    if (!MessageBox::confirm(QStringLiteral("Deseja excluir esta ordem de serviço?")))
        return false;
    if (openStoredOrder(false, QStringLiteral("A ordem de serviço nº %1 não está mais gravada; "
                                              "nada foi excluído."))) {
        Table* t = DataModule1->TBOrdem;
        if (!RecordScreen::lockedAction(*t, [t] { t->remove(); }))
            return true;
        t->saveChanges();
        t->flushBuffers();
        t->close();
    }
    // Cleared whole, with the next number: nothing of the deleted order is
    // left on the screen.
    clearScreen();
    showScreen();
    return true;
}

void TQuelvarino0021_0::showEvent(QShowEvent* event) {
    RecordScreen::showEvent(event);
    Lbdata->setText(formatDate(Clock::today()));
    // A cleared screen shows the number the next new order would get.
    if (!inEditState() && Edcomanda->text().isEmpty() && DataModule1)
        guarded([this] { clearScreen(); });
}

}  // namespace quelvarino
