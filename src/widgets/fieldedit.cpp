#include "widgets/fieldedit.h"

#include "widgets/messagebox.h"

#include <QFontMetrics>
#include <QPointer>
#include <QTimer>
#include <QValidator>

namespace quelvarino {
namespace {

QFont boldOf(const QFont& f) {
    QFont b = f;
    b.setBold(true);
    return b;
}

// How much wider the bold font measures than the current one.
int boldExtra(const QWidget* w, int (*measure)(const QFontMetrics&)) {
    if (w->font().bold())
        return 0;
    return qMax(0, measure(QFontMetrics(boldOf(w->font()))) - measure(w->fontMetrics()));
}

class TypingLimitValidator : public QValidator {
public:
    TypingLimitValidator(QLineEdit* edit, int limit)
        : QValidator(edit), limit_(limit), written_(edit->text().size()) {
        setObjectName(QStringLiteral("typingLimit"));
        // Qt tells a typed change (textEdited, first) from any change
        // (textChanged): what the program writes sets how long the text may
        // stay while the operator corrects it.
        connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString& text) {
            typed_ = true;
            if (text.size() > room())
                cutPaste(edit);
        });
        connect(edit, &QLineEdit::textChanged, this, [this, edit](const QString& text) {
            if (edit->property(kOperatorText).toBool())
                return;  // the typed text recased: textEdited says what was typed
            if (!typed_)
                written_ = text.size();
            else if (text.isEmpty())
                written_ = 0;  // typed anew: the limit holds again
            typed_ = false;
            shown_ = text.size();
        });
        shown_ = written_;
    }
    int limit() const { return limit_; }
    State validate(QString& input, int&) const override {
        // Typing may not go past the limit; a longer text that the program
        // wrote may be corrected up to its own length. Several characters
        // at once (a paste, or the program writing) are let in and a paste
        // is cut to fit right after.
        if (input.size() <= room())
            return Acceptable;
        return int(input.size()) - shown_ > 1 ? Intermediate : Invalid;
    }

private:
    int room() const { return qMax(limit_, written_); }

    // A paste that does not fit: what fits is kept, from its start, and
    // the operator is told how much was left out.
    void cutPaste(QLineEdit* edit) {
        QPointer<QLineEdit> field(edit);
        QTimer::singleShot(0, this, [this, field] {
            if (!field || field->text().size() <= room())
                return;
            QString text = field->text();
            const int excess = int(text.size()) - room();
            const int cursor = field->cursorPosition();
            const int from = qMax(0, cursor - excess);
            text.remove(from, cursor - from);
            if (text.size() > room())
                text.truncate(room());
            const int limit = room();
            typed_ = true;  // still the operator's text
            field->setText(text);
            field->setCursorPosition(from);
            MessageBox::information(
                QStringLiteral("O texto colado não cabe no campo, que aceita até %1 caracteres: "
                               "%2 caracteres do fim ficaram de fora. Confira o campo antes de "
                               "gravar.")
                    .arg(limit)
                    .arg(excess));
        });
    }

    int limit_;
    int written_;
    int shown_ = 0;
    bool typed_ = false;
};

}  // namespace

QSize FieldEdit::sizeHint() const {
    QSize s = QLineEdit::sizeHint();
    s.rwidth() += 17 * boldExtra(this, [](const QFontMetrics& fm) {
                      return fm.horizontalAdvance(QLatin1Char('x'));
                  });
    return s;
}

QSize FieldEdit::minimumSizeHint() const {
    QSize s = QLineEdit::minimumSizeHint();
    s.rwidth() += boldExtra(this, [](const QFontMetrics& fm) { return fm.maxWidth(); });
    return s;
}

void setTypingLimit(QLineEdit* edit, int limit) {
    if (auto* old = qobject_cast<const QValidator*>(edit->validator());
        old && old->objectName() == QLatin1String("typingLimit")) {
        edit->setValidator(nullptr);
        delete old;
    }
    edit->setMaxLength(32767);  // Qt's own limit cuts setText: never used
    if (limit > 0)
        edit->setValidator(new TypingLimitValidator(edit, limit));
}

int typingLimit(const QLineEdit* edit) {
    auto* v = dynamic_cast<const TypingLimitValidator*>(edit->validator());
    return v ? v->limit() : 0;
}

}  // namespace quelvarino
