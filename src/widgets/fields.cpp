#include "widgets/fields.h"

#include "core/errors.h"
#include "core/money.h"
#include "core/registerchecks.h"
#include "widgets/application.h"
#include "widgets/fieldedit.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QTimer>

namespace quelvarino {
namespace {

// The buttons beside a code that open its search (Btn_ConsCli,
// Btn_ConsMot, Btn_ConsDesp); not the toolbar's Btn_Consultar.
bool isLookupButton(const QWidget* w) {
    const QString name = w->objectName();
    return qobject_cast<const QPushButton*>(w) && name.startsWith(QLatin1String("Btn_Cons")) &&
           name != QLatin1String("Btn_Consultar");
}

class EnterFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                key->modifiers() == Qt::NoModifier) {
                auto* w = static_cast<QWidget*>(watched);
                // Leave the combo's own popup alone.
                if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->view()->isVisible())
                    return false;
                // A focused button is pressed, as everywhere else on the desktop.
                if (auto* button = qobject_cast<QPushButton*>(w)) {
                    if (button->isEnabled())
                        button->click();
                    return true;
                }
                QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                QApplication::sendEvent(w, &tab);
                // From a field Enter goes on to the next field: the lookup
                // button beside a code ("C&onsultar") is for Tab and the
                // mouse, or Enter would open its search on the way.
                for (int i = 0; i < 3; ++i) {
                    QWidget* at = QApplication::focusWidget();
                    if (!at || at == w || !isLookupButton(at))
                        break;
                    QKeyEvent again(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                    QApplication::sendEvent(at, &again);
                }
                return true;
            }
        }
        return false;
    }
};

class MoneyKeys : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.isEmpty() || !text.at(0).isPrint())
            return false;  // Backspace, arrows, Delete, Tab, Enter...
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        const QChar c = text.at(0);
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char(','))
            return false;
        QApplication::beep();
        return true;
    }
};

class ExitFilter : public QObject {
public:
    ExitFilter(QObject* parent, std::function<void()> handler)
        : QObject(parent), handler_(std::move(handler)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                !running_) {
                running_ = true;
                guarded(handler_);
                running_ = false;
            }
        }
        return false;
    }

private:
    std::function<void()> handler_;
    bool running_ = false;
};

}  // namespace

void enterMovesOn(QWidget* field) {
    if (qobject_cast<QPlainTextEdit*>(field) || qobject_cast<QTextEdit*>(field))
        return;  // Enter starts a new line in notes
    if (field->property("enterMovesOn").toBool())
        return;
    field->setProperty("enterMovesOn", true);
    field->installEventFilter(new EnterFilter(field));
}

namespace {

// Typing and pasting stop at the limit; a longer text loaded from the store
// stays whole.
class NotesLimit : public QObject {
public:
    NotesLimit(QPlainTextEdit* notes, int limit) : QObject(notes), notes_(notes), limit_(limit) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const int selected = notes_->textCursor().selectedText().size();
        const int room = limit_ - (int(notes_->toPlainText().size()) - selected);
        if (key->matches(QKeySequence::Paste)) {
            const QString pasted = QGuiApplication::clipboard()->text();
            if (room <= 0 && selected == 0)
                return true;
            notes_->insertPlainText(pasted.left(qMax(0, room)));
            if (pasted.size() > qMax(0, room)) {
                const int limit = limit_;
                const int left = int(pasted.size()) - qMax(0, room);
                QTimer::singleShot(0, notes_, [limit, left] {
                    MessageBox::information(
                        QStringLiteral("O texto colado não cabe no campo, que aceita até %1 "
                                       "caracteres: %2 caracteres do fim ficaram de fora. Confira "
                                       "o campo antes de gravar.")
                            .arg(limit)
                            .arg(left));
                });
            }
            return true;
        }
        const bool newLine = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool adds = newLine || (!key->text().isEmpty() && key->text().at(0).isPrint() &&
                                      !(key->modifiers() & Qt::ControlModifier));
        return adds && room <= 0;
    }

private:
    QPlainTextEdit* notes_;
    int limit_;
};

}  // namespace

void notesLimit(QPlainTextEdit* notes, int limit) {
    notes->installEventFilter(new NotesLimit(notes, limit));
}

void installEnterFlow(QWidget* window) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus))
            continue;
        if (qobject_cast<QAbstractItemView*>(w) || qobject_cast<QAbstractScrollArea*>(w))
            continue;  // grids and notes keep their own Enter
        bool insideCombo = false;
        for (QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
            insideCombo = insideCombo || qobject_cast<QComboBox*>(p);
        if (!insideCombo)
            enterMovesOn(w);
    }
}

void installReadableBrowseState() {
    // Browse state draws entry fields disabled and bold; the style's grey on
    // grey would leave the recorded data unreadable, so their text stays dark.
    const QColor text(0x1e, 0x1e, 0x1e);
    for (const char* kind : {"QLineEdit", "QComboBox", "QPlainTextEdit", "QTextEdit"}) {
        QPalette p = QApplication::palette(kind);
        p.setColor(QPalette::Disabled, QPalette::Text, text);
        p.setColor(QPalette::Disabled, QPalette::ButtonText, text);
        p.setColor(QPalette::Disabled, QPalette::WindowText, text);
        QApplication::setPalette(p, kind);
    }
    // The captions of the document and value choices.
    for (const char* kind : {"QRadioButton", "QCheckBox"}) {
        QPalette p = QApplication::palette(kind);
        p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x4a, 0x4a, 0x4a));
        p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x4a, 0x4a, 0x4a));
        QApplication::setPalette(p, kind);
    }
}

void onEnter(QWidget* field, std::function<void()> handler) {
    class EnterHandler : public QObject {
    public:
        EnterHandler(QObject* parent, std::function<void()> h)
            : QObject(parent), h_(std::move(h)) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::KeyPress) {
                const int key = static_cast<QKeyEvent*>(event)->key();
                if (key == Qt::Key_Return || key == Qt::Key_Enter)
                    guarded(h_);
            }
            return false;
        }

    private:
        std::function<void()> h_;
    };
    field->installEventFilter(new EnterHandler(field, std::move(handler)));
}

namespace {

// What the operator typed or pasted, in capitals or small letters: still
// the operator's text, so a paste longer than the field is cut as any other.
void recaseTyped(QLineEdit* field, QString (QString::*recase)() const&) {
    QObject::connect(field, &QLineEdit::textEdited, field, [field, recase](const QString& text) {
        const QString changed = (text.*recase)();
        if (changed != text) {
            const int cursor = field->cursorPosition();
            field->setProperty(kOperatorText, true);
            field->setText(changed);
            field->setProperty(kOperatorText, false);
            field->setCursorPosition(cursor);
        }
    });
}

}  // namespace

void upperCaseField(QLineEdit* field) {
    recaseTyped(field, &QString::toUpper);
}

void lowerCaseField(QLineEdit* field) {
    recaseTyped(field, &QString::toLower);
}

void upperCaseField(QComboBox* combo) {
    if (combo->lineEdit())
        upperCaseField(combo->lineEdit());
}

void onExit(QWidget* field, std::function<void()> handler) {
    field->installEventFilter(new ExitFilter(field, std::move(handler)));
}

void moneyKeys(QLineEdit* field) {
    field->installEventFilter(new MoneyKeys(field));
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void moneyField(QLineEdit* field) {
    moneyKeys(field);
    onExit(field, [field] {
        if (field->text().trimmed().isEmpty()) {
            field->setText(QStringLiteral("0,00"));
            return;
        }
        field->setText(formatMoney(parseMoney(field->text())));  // throws: text kept
    });
}

bool runDateCheck(MaskEdit* field) {
    const DateCheck check = checkDateText(field->text());
    for (const DateCheckMessage& m : check.messages) {
        switch (m.kind) {
            case DateCheckMessage::Information:
                MessageBox::information(m.text);
                break;
            case DateCheckMessage::Warning:
                MessageBox::warning(m.text);
                break;
            case DateCheckMessage::ConversionError:
                MessageBox::error(m.text);
                break;
        }
    }
    if (!check.ok())
        field->setFocus();
    return check.ok();
}

void dateField(MaskEdit* field) {
    onExit(field, [field] { runDateCheck(field); });
}

QStringList ufList() {
    return {"AC", "AL", "AM", "AP", "BA", "CE", "DF", "ES", "GO", "MA", "MG", "MS", "MT", "PA",
            "PB", "PE", "PI", "PR", "RJ", "RN", "RO", "RR", "RS", "SC", "SE", "SP", "TO"};
}

QStringList phoneKinds() {
    return {"Linha", "Celular", "Fax"};
}

QStringList situations() {
    return {"ATIVO", "BLOQUEADO", ""};
}

QLineEdit* makeEdit(QWidget* parent, const QString& name, int length, bool upper) {
    auto* e = new FieldEdit(parent);
    e->setObjectName(name);
    if (length > 0) {
        setTypingLimit(e, length);
        // Short fields show all they hold, in bold too; long ones take what
        // the layout gives.
        QFont bold = e->font();
        bold.setBold(true);
        e->setMinimumWidth(
            QFontMetrics(bold).horizontalAdvance(QString(qMin(length, 10) + 3, QLatin1Char('0'))));
    }
    if (upper)
        upperCaseField(e);
    return e;
}

MaskEdit* makeMaskEdit(QWidget* parent, const QString& name, const QString& mask) {
    auto* e = new MaskEdit(mask, parent);
    e->setObjectName(name);
    return e;
}

MaskEdit* makePhoneEdit(QWidget* parent, const QString& name) {
    // Landlines have eight digits, mobiles nine.
    auto* e = new MaskEdit(QStringList{"9999-9999;1;_", "99999-9999;1;_"}, parent);
    e->setObjectName(name);
    return e;
}

MaskEdit* makePlateEdit(QWidget* parent, const QString& name) {
    // The old plate ABC-1234 and the Mercosul one ABC1D23.
    auto* e = new MaskEdit(QStringList{">LLL-9999;1;_", ">LLL9L99;1;_"}, parent);
    e->setObjectName(name);
    return e;
}

QComboBox* makeCombo(const QString& name,
                     const QStringList& items,
                     int maxLength,
                     QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->addItems(items);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setProperty("maxTextLength", maxLength);
    setTypingLimit(combo->lineEdit(), maxLength);
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
    // As wide in browse (bold) as in edit state, and as in pick-only mode.
    QFont regular = combo->font();
    QFont bold = regular;
    bold.setBold(true);
    combo->setFont(bold);
    int width = combo->sizeHint().width();
    combo->setEditable(false);
    width = qMax(width, combo->sizeHint().width());
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    setTypingLimit(combo->lineEdit(), maxLength);
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
    combo->setFont(regular);
    combo->setFixedWidth(width);
    enterMovesOn(combo);
    return combo;
}

void setPickOnly(QComboBox* combo, bool pickOnly) {
    const QString text = combo->currentText();
    if (pickOnly) {
        combo->setEditable(false);
        combo->setCurrentIndex(combo->findText(text));
    } else {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        setTypingLimit(combo->lineEdit(), combo->property("maxTextLength").toInt());
        combo->setEditText(text);
    }
}

void setComboText(QComboBox* combo, const QString& text) {
    if (combo->isEditable()) {
        combo->setCurrentIndex(combo->findText(text));
        combo->setEditText(text);
    } else {
        combo->setCurrentIndex(combo->findText(text));
    }
}

void setCheckedQuietly(QAbstractButton* button, bool on) {
    const bool exclusive = button->autoExclusive();
    const QSignalBlocker quiet(button);
    button->setAutoExclusive(false);
    button->setChecked(on);
    button->setAutoExclusive(exclusive);
}

void setFieldEditable(QWidget* field, bool editable) {
    // A captioned choice is as wide in bold as in regular type, so that the
    // fields beside it stay where they are in both states.
    if (auto* choice = qobject_cast<QAbstractButton*>(field);
        choice && !choice->text().isEmpty() && !choice->property("stableWidth").toBool()) {
        QFont bold = choice->font();
        bold.setBold(true);
        const QFont regular = choice->font();
        choice->setFont(bold);
        choice->setMinimumWidth(choice->sizeHint().width());
        choice->setFont(regular);
        choice->setProperty("stableWidth", true);
    }
    field->setEnabled(editable);
    QFont f = field->font();
    f.setBold(!editable);
    field->setFont(f);
}

void gridRow(QGridLayout* grid, int row, std::initializer_list<GridCell> cells) {
    int column = 0;
    for (const GridCell& cell : cells) {
        if (!cell.caption.isEmpty())
            grid->addWidget(new QLabel(cell.caption, grid->parentWidget()), row, column, 1,
                            cell.span, cell.align);
        else if (cell.widget)
            grid->addWidget(cell.widget, row, column, 1, cell.span);
        column += cell.span;
    }
}

QLabel* makeDateLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("Lbdata"));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

}  // namespace quelvarino
