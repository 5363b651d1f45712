#include "registers/recordscreen.h"

#include "core/clock.h"
#include "core/dates.h"
#include "core/errors.h"
#include "core/money.h"
#include "core/registerchecks.h"
#include "data/table.h"
#include "registers/searchscreen.h"
#include "reports/reportcatalog.h"
#include "reportscreens/printdialog.h"
#include "widgets/application.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/toolbar.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace quelvarino {
namespace {

const char* const kLockedMessage = "Este registro está sendo alterado por outro usuário.";

}  // namespace

RecordScreen::RecordScreen(const QString& instance, const QString& caption, QWidget* parent)
    : Screen(instance, caption, parent) {
    static_cast<Toolbar&>(*this) = makeToolbar(this);
    const QList<QPair<QPushButton*, void (RecordScreen::*)()>> handlers = {
        {Btn_Novo, &RecordScreen::Btn_NovoClick},
        {Btn_Alterar, &RecordScreen::Btn_AlterarClick},
        {Btn_Gravar, &RecordScreen::Btn_GravarClick},
        {Btn_Cancel, &RecordScreen::Btn_CancelClick},
        {Btn_Excluir, &RecordScreen::Btn_ExcluirClick},
        {Btn_Consultar, &RecordScreen::Btn_ConsultarClick},
        {Btn_Limpar, &RecordScreen::Btn_LimparClick},
        {Btn_Imprimir, &RecordScreen::Btn_ImprimirClick},
        {Btn_Retornar, &RecordScreen::Btn_RetornarClick},
    };
    for (const auto& [button, handler] : handlers) {
        connect(button, &QPushButton::clicked, this,
                [this, handler = handler] { guarded([&] { (this->*handler)(); }); });
    }
}

void RecordScreen::setUp(const Config& config, const QList<Binding>& bindings) {
    config_ = config;
    bindings_ = bindings;
    Btn_Novo->setToolTip(config_.novoHint);
    Btn_Cancel->setToolTip(config_.cancelHint);
    for (const Binding& b : bindings_) {
        if (!b.typed)
            continue;
        enterMovesOn(b.widget);
        if (b.kind == Kind::Money && !config_.moneyOwnRules) {
            auto* field = static_cast<QLineEdit*>(b.widget);
            moneyKeys(field);
            onExit(field, [this, field] {
                const bool empty = field->text().trimmed().isEmpty();
                field->setText(empty ? QStringLiteral("0,00")
                                     : formatMoney(parseMoney(field->text())));  // throws: kept
                moneyLeft(field, empty);
            });
        }
    }
    // The code is never typed, so it has no input limit: the code after
    // 999999 is 1000000 and must be shown and stored whole.
    if (config_.codeEdit)
        setFieldEditable(config_.codeEdit, false);
    if (config_.dateLabel) {
        Lbdata = makeDateLabel(this);
        Lbdata->setText(formatDate(Clock::today()));
        if (auto* box = qobject_cast<QBoxLayout*>(layout()))
            box->insertWidget(0, Lbdata);
    }
    if (config_.lastChange)
        setFieldEditable(config_.lastChange, false);
    clearScreen();
    setBrowseState();
}

QString RecordScreen::fieldText(const Binding& b) const {
    switch (b.kind) {
        case Kind::Combo:
            return static_cast<QComboBox*>(b.widget)->currentText();
        case Kind::Memo:
            return static_cast<QPlainTextEdit*>(b.widget)->toPlainText();
        case Kind::Check:
            return static_cast<QAbstractButton*>(b.widget)->isChecked() ? QStringLiteral("S")
                                                                        : QStringLiteral("N");
        case Kind::Time: {
            auto* time = static_cast<MaskEdit*>(b.widget);
            return time->isBlank() ? QString() : time->text();
        }
        default:
            return static_cast<QLineEdit*>(b.widget)->text();
    }
}

void RecordScreen::setFieldText(const Binding& b, const QString& text) {
    switch (b.kind) {
        case Kind::Combo:
            setComboText(static_cast<QComboBox*>(b.widget), text);
            break;
        case Kind::Memo:
            static_cast<QPlainTextEdit*>(b.widget)->setPlainText(text);
            break;
        case Kind::Check:
            setCheckedQuietly(static_cast<QAbstractButton*>(b.widget),
                              text.trimmed() == QLatin1String("S"));
            break;
        case Kind::Money:
            static_cast<QLineEdit*>(b.widget)->setText(
                text.trimmed().isEmpty() ? QStringLiteral("0,00") : formatMoney(parseMoney(text)));
            break;
        default:
            static_cast<QLineEdit*>(b.widget)->setText(text);  // a mask edit takes its shape
            break;
    }
}

QList<QWidget*> RecordScreen::entryFields() const {
    QList<QWidget*> out;
    for (const Binding& b : bindings_) {
        if (b.widget != config_.lastChange)  // never enabled: not an entry field
            out.append(b.widget);
    }
    return out;
}

void RecordScreen::loadFields(Table& table, const QStringList& fields) {
    for (const Binding& b : bindings_) {
        if (!fields.isEmpty() && !fields.contains(b.field, Qt::CaseInsensitive))
            continue;
        if (b.kind == Kind::Combo)
            setPickOnly(static_cast<QComboBox*>(b.widget), false);
        setFieldText(b, table.fieldByName(b.field).asString());
    }
}

void RecordScreen::clearScreen() {
    for (const Binding& b : bindings_) {
        if (b.kind == Kind::Combo) {
            auto* combo = static_cast<QComboBox*>(b.widget);
            setPickOnly(combo, false);
            combo->setCurrentIndex(-1);
            combo->setEditText(QString());
        } else if (b.kind == Kind::Money) {
            static_cast<QLineEdit*>(b.widget)->setText(QStringLiteral("0,00"));
        } else {
            setFieldText(b, QString());
        }
    }
    if (config_.lastChange)
        config_.lastChange->setText(formatDate(Clock::today()));
    clearExtra();
    if (config_.table && config_.table())
        config_.table()->close();  // abandons an edit and its lock
    newRecord_ = false;
}

void RecordScreen::FormActivate() {
    if (Lbdata)
        Lbdata->setText(formatDate(Clock::today()));
}

void RecordScreen::showEvent(QShowEvent* event) {
    Screen::showEvent(event);
    FormActivate();
}

void RecordScreen::setBrowseState() {
    const bool wasEditing = editState_;
    editState_ = false;
    for (QPushButton* b : {Btn_Novo, Btn_Alterar, Btn_Excluir, Btn_Consultar, Btn_Limpar,
                           Btn_Imprimir, Btn_Retornar})
        b->setEnabled(true);
    Btn_Gravar->setEnabled(false);
    Btn_Cancel->setEnabled(false);
    for (const Binding& b : bindings_) {
        if (b.typed && b.widget != config_.codeEdit && b.widget != config_.lastChange)
            setFieldEditable(b.widget, false);
    }
    for (QWidget* w : config_.editableExtras)
        setFieldEditable(w, false);
    stateChanged(false);
    // Gravar and Cancelar turn themselves off: the focus would wander to
    // whichever button follows them. The next thing done is a new record.
    if (wasEditing) {
        for (QPushButton* b : {Btn_Novo, Btn_Alterar, Btn_Retornar}) {
            if (b->isEnabled()) {
                b->setFocus(Qt::OtherFocusReason);
                break;
            }
        }
    }
}

void RecordScreen::setEditState() {
    editState_ = true;
    for (QPushButton* b : {Btn_Novo, Btn_Alterar, Btn_Excluir, Btn_Consultar, Btn_Limpar,
                           Btn_Imprimir, Btn_Retornar})
        b->setEnabled(false);
    Btn_Gravar->setEnabled(true);
    Btn_Cancel->setEnabled(true);
    for (const Binding& b : bindings_) {
        if (b.typed && b.widget != config_.codeEdit && b.widget != config_.lastChange)
            setFieldEditable(b.widget, true);
    }
    for (QWidget* w : config_.editableExtras)
        setFieldEditable(w, true);
    stateChanged(true);
}

void RecordScreen::Btn_NovoClick() {
    clearScreen();
    setEditState();
    Table* t = config_.table();
    t->close();
    t->setIndexFieldNames(config_.codeField);
    t->open();
    t->last();
    const QString last = t->isEmpty() ? QString() : t->fieldByName(config_.codeField).asString();
    t->close();
    config_.codeEdit->setText(nextCode(last, config_.codeWidth));
    for (QComboBox* combo : config_.pickOnlyCombos)
        setPickOnly(combo, true);
    if (config_.situation) {
        setPickOnly(config_.situation, true);
        setComboText(config_.situation, QStringLiteral("ATIVO"));
    }
    newRecord_ = true;
    if (config_.firstField)
        config_.firstField->setFocus();
}

bool RecordScreen::lockedAction(Table& table, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const RecordLockedError&) {
        table.close();
        MessageBox::warning(QString::fromUtf8(kLockedMessage));
        return false;
    }
}

QString RecordScreen::freeCode(Table& table, const QString& field, const QString& code, int width) {
    QString free = code;
    while (table.findKey(free)) {
        table.last();
        free = nextCode(table.fieldByName(field).asString(), width);
    }
    return free;
}

bool RecordScreen::openOnCode(const QString& code, const QString& notFound) {
    Table* t = config_.table();
    if (!t->findExact(config_.codeField, code)) {
        // Never lock, change or delete a record other than the one shown.
        t->close();
        MessageBox::warning(notFound);
        return false;
    }
    return true;
}

void RecordScreen::Btn_AlterarClick() {
    const QString code = config_.codeEdit->text().trimmed();
    if (code.isEmpty()) {
        MessageBox::warning(QStringLiteral("Selecione o registro que será alterado."));
        return;
    }
    Table* t = config_.table();
    if (!openOnCode(code, QStringLiteral("Este registro não foi encontrado; nada foi alterado.")) ||
        !lockedAction(*t, [t] { t->edit(); }))
        return;
    reloadForEdit(*t);  // what is stored now, under our lock
    setEditState();
    newRecord_ = false;
    if (QWidget* focus = config_.alterField ? config_.alterField : config_.firstField)
        focus->setFocus();
}

bool RecordScreen::refuseAllBlank(const QList<QWidget*>& fields, QWidget* focus) {
    for (QWidget* w : fields) {
        QString text;
        if (auto* combo = qobject_cast<QComboBox*>(w))
            text = combo->currentText();
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
            text = memo->toPlainText();
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            text = edit->text();
        if (!text.isEmpty())
            return false;
    }
    MessageBox::warning(
        QStringLiteral("Impossível gravar este registro, pois todos os campos estão em branco"));
    if (focus)
        focus->setFocus();
    return true;
}

bool RecordScreen::validate() {
    if (refuseAllBlank(entryFields(), config_.nameEdit))
        return false;
    const bool hasCode = !config_.codeEdit->text().isEmpty();
    bool hasName = false;
    if (auto* name = qobject_cast<QLineEdit*>(config_.nameEdit))
        hasName = !name->text().isEmpty();
    if (!hasCode && !hasName) {
        MessageBox::warning(config_.requiredMessage);
        if (config_.nameEdit)
            config_.nameEdit->setFocus();
        return false;
    }
    return true;
}

void RecordScreen::writeRecord(Table& table) {
    for (const Binding& b : bindings_) {
        if (b.widget == config_.lastChange)
            continue;
        table.fieldByName(b.field).setAsString(fieldText(b));
    }
    if (config_.lastChange)
        table.fieldByName(QStringLiteral("DATA")).setAsString(formatDate(Clock::today()));
    writeExtra(table);
}

void RecordScreen::afterRecording() {
    setBrowseState();
    clearScreen();
}

QString RecordScreen::movedMessage(const QString& proposed, const QString& stored) const {
    return QStringLiteral(
               "O código %1 foi usado por outro usuário; este registro "
               "foi gravado com o código %2.")
        .arg(proposed, stored);
}

void RecordScreen::Btn_GravarClick() {
    if (!validate())
        return;
    beforeRecording();
    Table* t = config_.table();
    const QString code = config_.codeEdit->text().trimmed();
    QString movedFrom;
    const bool heldByAlterar = t->isOpen() && t->state() == Table::State::Edit &&
                               t->fieldByName(config_.codeField).asString() == code;
    if (!heldByAlterar) {
        t->close();
        t->setIndexFieldNames(config_.codeField);
        t->open();
        if (newRecord_) {
            // A record begun with Novo is always a new one: when another
            // workstation took its code meanwhile, it goes under the next
            // free code and nothing stored is changed.
            const QString free = freeCode(*t, config_.codeField, code, config_.codeWidth);
            if (free != code) {
                movedFrom = code;
                config_.codeEdit->setText(free);
            }
            t->insert();
        } else if (t->findKey(code)) {
            if (!lockedAction(*t, [t] { t->edit(); }))
                return;
        } else {
            t->insert();
        }
    }
    // Another workstation may take the code between the look-up and the
    // post: a new record then moves on to the next free code, on the same
    // Gravar.
    for (int attempt = 1;; ++attempt) {
        writeRecord(*t);
        try {
            t->post();
            break;
        } catch (const KeyExistsError&) {
            if (!newRecord_ || heldByAlterar || attempt >= kPostAttempts)
                throw;
            t->cancel();
            const QString taken = config_.codeEdit->text();
            if (movedFrom.isEmpty())
                movedFrom = taken;
            config_.codeEdit->setText(freeCode(*t, config_.codeField, taken, config_.codeWidth));
            t->insert();
        }
    }
    t->saveChanges();
    t->flushBuffers();
    t->close();
    const QString stored = config_.codeEdit->text();
    afterRecording();
    if (!movedFrom.isEmpty())
        MessageBox::warning(movedMessage(movedFrom, stored));
}

void RecordScreen::Btn_CancelClick() {
    setBrowseState();
    clearScreen();
}

void RecordScreen::Btn_LimparClick() {
    setBrowseState();
    clearScreen();
}

void RecordScreen::Btn_ExcluirClick() {
    const QString code = config_.codeEdit->text().trimmed();
    if (code.isEmpty()) {
        MessageBox::warning(QStringLiteral("Selecione o registro que será excluído"));
        return;
    }
    if (!MessageBox::confirm(config_.deleteQuestion))
        return;
    Table* t = config_.table();
    if (!openOnCode(code, QStringLiteral("Este registro não foi encontrado; nada foi excluído.")) ||
        !lockedAction(*t, [t] { t->remove(); }))
        return;
    t->saveChanges();
    t->flushBuffers();
    t->close();
    clearScreen();
}

void RecordScreen::Btn_ConsultarClick() {
    clearScreen();
    if (auto* search = Screens::get<SearchScreen>(config_.searchScreen)) {
        search->table()->close();
        search->openSearch(config_.callerName);
    }
}

QHash<QString, QString> RecordScreen::shownRecord() const {
    QHash<QString, QString> record;
    for (const Binding& b : bindings_) {
        const QString field = b.field.toUpper();
        switch (b.kind) {
            case Kind::Time:
            case Kind::Mask:
                record.insert(field, static_cast<MaskEdit*>(b.widget)->text());
                break;
            default:
                record.insert(field, fieldText(b));
        }
    }
    return record;
}

Criteria RecordScreen::printCriteria() const {
    Criteria c;
    if (config_.codeEdit)
        c.number = config_.codeEdit->text();
    c.record = shownRecord();
    return c;
}

// The report a record screen prints is the one it asks for.
void RecordScreen::Btn_ImprimirClick() {
    const ReportDefinition* report = ReportCatalog::byRequester(objectName());
    if (!report)
        return;
    if (auto* dialog = qobject_cast<PrintDialog*>(Screens::find(report->dialog))) {
        dialog->setCriteria(printCriteria());
        dialog->showScreen();
    }
}

void RecordScreen::Btn_RetornarClick() {
    clearScreen();
    close();
}

void RecordScreen::closeEvent(QCloseEvent* event) {
    // Retornar is disabled while editing; the window's own close asks,
    // and abandons the edit as Cancelar does only when told so, so no
    // record stays locked behind a hidden screen.
    if (!mayAbandonPendingEdit()) {
        event->ignore();
        return;
    }
    if (editState_)
        setBrowseState();
    clearScreen();
    event->accept();
}

}  // namespace quelvarino
