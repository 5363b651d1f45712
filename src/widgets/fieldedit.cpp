#include "widgets/fieldedit.h"

#include <QFontMetrics>
#include <QPointer>
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
        connect(edit, &QLineEdit::textEdited, this, [this] { typed_ = true; });
        connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) {
            if (!typed_)
                written_ = text.size();
            else if (text.isEmpty())
                written_ = 0;  // typed anew: the limit holds again
            typed_ = false;
        });
    }
    int limit() const { return limit_; }
    State validate(QString& input, int&) const override {
        // Typing may not go past the limit; a longer text that the program
        // wrote may be corrected up to its own length.
        return input.size() <= qMax(limit_, written_) ? Acceptable : Invalid;
    }

private:
    int limit_;
    int written_;
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
