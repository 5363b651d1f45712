#include "widgets/maskedit.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

namespace quelvarino {

MaskEdit::MaskEdit(const QString& mask, QWidget* parent) : QLineEdit(parent) {
    setMask(mask);
    connect(this, &QLineEdit::textChanged, this, [this] { normalizeCurrent(); });
}

void MaskEdit::setMask(const QString& mask) {
    mask_ = mask;
    slots_.clear();
    const QString pattern = mask.section(QLatin1Char(';'), 0, 0);
    Case current = Case::None;
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('!'))
            continue;
        if (c == QLatin1Char('>')) {
            current = Case::Upper;
            continue;
        }
        if (c == QLatin1Char('<')) {
            current = Case::Lower;
            continue;
        }
        if (c == QLatin1Char('\\') && i + 1 < pattern.size()) {
            slots_.append({pattern[++i], QChar(), current});
            continue;
        }
        if (QStringLiteral("90LlAaCc#").contains(c))
            slots_.append({QChar(), c, current});
        else
            slots_.append({c, QChar(), current});
    }
    setMaxLength(slots_.isEmpty() ? 32767 : slots_.size());
    if (!slots_.isEmpty()) {
        // Fixed-width digits keep the literals of the mask in place.
        QFont f = font();
        f.setFamily(QStringLiteral("DejaVu Sans Mono"));
        f.setStyleHint(QFont::Monospace);
        setFont(f);
    }
    if (!slots_.isEmpty())
        setMinimumWidth(
            fontMetrics().horizontalAdvance(QString(slots_.size() + 4, QLatin1Char('0'))));
    normalizing_ = true;
    QLineEdit::setText(normalized(text()));
    normalizing_ = false;
    if (isBlank())
        setCursorPosition(0);
}

QString MaskEdit::blankText() const {
    QString out;
    for (const Slot& s : slots_)
        out.append(s.literal.isNull() ? QChar(' ') : s.literal);
    return out;
}

bool MaskEdit::isComplete() const {
    if (slots_.isEmpty())
        return !text().isEmpty();
    const QString t = text();
    for (int i = 0; i < slots_.size(); ++i) {
        if (slots_[i].literal.isNull() && (i >= t.size() || t[i] == QLatin1Char(' ')))
            return false;
    }
    return true;
}

bool MaskEdit::fits(const Slot& slot, QChar c) const {
    switch (slot.kind.toLatin1()) {
        case '9':
        case '0':
            return c.isDigit();
        case '#':
            return c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-');
        case 'L':
        case 'l':
            return c.isLetter();
        case 'A':
        case 'a':
            return c.isLetterOrNumber();
        default:
            return c.isPrint();
    }
}

QChar MaskEdit::applyCase(const Slot& slot, QChar c) const {
    if (slot.letterCase == Case::Upper)
        return c.toUpper();
    if (slot.letterCase == Case::Lower)
        return c.toLower();
    return c;
}

QString MaskEdit::normalized(const QString& text) const {
    if (slots_.isEmpty())
        return text;  // no mask: a plain edit
    QString out = blankText();
    bool sameShape = text.size() == slots_.size();
    for (int i = 0; sameShape && i < slots_.size(); ++i) {
        if (!slots_[i].literal.isNull() && text[i] != slots_[i].literal)
            sameShape = false;
    }
    if (sameShape) {
        for (int i = 0; i < slots_.size(); ++i) {
            if (slots_[i].literal.isNull() && text[i] != QLatin1Char(' ') &&
                fits(slots_[i], text[i]))
                out[i] = applyCase(slots_[i], text[i]);
        }
        return out;
    }
    // Another shape (a plain "31012005", a stored "ABC1234", empty text):
    // fill the positions in order with the characters that fit them.
    int next = 0;
    for (int i = 0; i < slots_.size() && next < text.size(); ++i) {
        if (!slots_[i].literal.isNull()) {
            if (text[next] == slots_[i].literal)
                ++next;
            continue;
        }
        while (next < text.size() && !fits(slots_[i], text[next]))
            ++next;
        if (next < text.size())
            out[i] = applyCase(slots_[i], text[next++]);
    }
    return out;
}

void MaskEdit::normalizeCurrent() {
    if (normalizing_)
        return;
    const QString current = text();
    const QString shaped = normalized(current);
    if (shaped != current) {
        normalizing_ = true;
        const int cursor = cursorPosition();
        QLineEdit::setText(shaped);
        setCursorPosition(shaped == blankText() ? 0 : qMin(cursor, shaped.size()));
        normalizing_ = false;
    }
}

void MaskEdit::setTextKeepingCursor(const QString& text, int cursor) {
    normalizing_ = true;
    QLineEdit::setText(text);
    normalizing_ = false;
    setCursorPosition(qBound(0, cursor, text.size()));
}

void MaskEdit::clearRange(int from, int to) {
    QString t = text();
    for (int i = from; i < to && i < slots_.size(); ++i) {
        if (slots_[i].literal.isNull())
            t[i] = QLatin1Char(' ');
    }
    setTextKeepingCursor(t, from);
}

void MaskEdit::typeText(const QString& typed) {
    if (isReadOnly())
        return;
    // Typing into an empty mask starts at its first position.
    int pos = isBlank() ? 0 : cursorPosition();
    if (hasSelectedText()) {
        pos = selectionStart();
        clearRange(selectionStart(), selectionStart() + selectedText().size());
    }
    QString t = text();
    for (const QChar c : typed) {
        while (pos < slots_.size() && !slots_[pos].literal.isNull()) {
            if (c == slots_[pos].literal)
                break;
            ++pos;
        }
        if (pos >= slots_.size()) {
            QApplication::beep();
            break;
        }
        if (!slots_[pos].literal.isNull()) {  // typed the literal itself: step over it
            ++pos;
            continue;
        }
        if (!fits(slots_[pos], c)) {
            QApplication::beep();
            break;
        }
        t[pos] = applyCase(slots_[pos], c);
        ++pos;
    }
    while (pos < slots_.size() && !slots_[pos].literal.isNull())
        ++pos;
    setTextKeepingCursor(t, pos);
}

void MaskEdit::keyPressEvent(QKeyEvent* event) {
    if (isReadOnly() || slots_.isEmpty()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        typeText(QGuiApplication::clipboard()->text());
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        copy();
        clearRange(selectionStart(), selectionStart() + selectedText().size());
        return;
    }
    switch (event->key()) {
        case Qt::Key_Backspace: {
            if (hasSelectedText()) {
                clearRange(selectionStart(), selectionStart() + selectedText().size());
                return;
            }
            int pos = cursorPosition() - 1;
            while (pos >= 0 && !slots_[pos].literal.isNull())
                --pos;
            if (pos >= 0)
                clearRange(pos, pos + 1);
            return;
        }
        case Qt::Key_Delete: {
            if (hasSelectedText()) {
                clearRange(selectionStart(), selectionStart() + selectedText().size());
                return;
            }
            int pos = cursorPosition();
            while (pos < slots_.size() && !slots_[pos].literal.isNull())
                ++pos;
            if (pos < slots_.size()) {
                clearRange(pos, pos + 1);
                setCursorPosition(pos);
            }
            return;
        }
        default:
            break;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        typeText(typed);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void MaskEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // An empty mask is typed from its first position, wherever the click was.
    if (!slots_.isEmpty() && isBlank() && !hasSelectedText())
        setCursorPosition(0);
}

void MaskEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (slots_.isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    if (!event->commitString().isEmpty())
        typeText(event->commitString());
    event->accept();
}

}  // namespace quelvarino
