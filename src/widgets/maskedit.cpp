#include "widgets/maskedit.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

namespace quelvarino {
namespace {

int meaningfulCount(const QString& text) {
    int n = 0;
    for (const QChar c : text)
        n += c.isLetterOrNumber() ? 1 : 0;
    return n;
}

QString meaningful(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c.isLetterOrNumber())
            out.append(c);
    }
    return out;
}

}  // namespace

MaskEdit::MaskEdit(const QString& mask, QWidget* parent) : MaskEdit(QStringList{mask}, parent) {}

MaskEdit::MaskEdit(const QStringList& masks, QWidget* parent) : FieldEdit(parent) {
    setMasks(masks);
    connect(this, &QLineEdit::textChanged, this, [this] { normalizeCurrent(); });
}

MaskEdit::Slots MaskEdit::parse(const QString& mask) {
    Slots out;
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
            out.append({pattern[++i], QChar(), current});
            continue;
        }
        if (QStringLiteral("90LlAaCc#").contains(c))
            out.append({QChar(), c, current});
        else
            out.append({c, QChar(), current});
    }
    return out;
}

void MaskEdit::setMask(const QString& mask) {
    setMasks({mask});
}

void MaskEdit::setMasks(const QStringList& masks) {
    masks_ = masks.isEmpty() ? QStringList{QString()} : masks;
    alternatives_.clear();
    for (const QString& m : masks_)
        alternatives_.append(parse(m));
    current_ = 0;
    applyLayout();
    normalizing_ = true;
    const QString before = text();
    current_ = chooseMask(before);
    QLineEdit::setText(fit(maskSlots(), before).text);
    normalizing_ = false;
    if (isBlank())
        setCursorPosition(0);
}

void MaskEdit::applyLayout() {
    int longest = 0;
    for (const Slots& s : alternatives_)
        longest = qMax(longest, int(s.size()));
    setMaxLength(longest == 0 ? 32767 : longest);
    if (longest > 0) {
        // Fixed-width digits keep the literals of the mask in place; the
        // field is as wide as its longest mask, so it never changes size.
        QFont f = font();
        f.setFamily(QStringLiteral("DejaVu Sans Mono"));
        f.setStyleHint(QFont::Monospace);
        setFont(f);
        QFont bold = f;
        bold.setBold(true);
        setMinimumWidth(
            QFontMetrics(bold).horizontalAdvance(QString(longest + 4, QLatin1Char('0'))));
    }
}

void MaskEdit::useMask(int index) {
    if (index == current_)
        return;
    current_ = index;
    setMaxLength(qMax(maxLength(), int(maskSlots().size())));
}

QString MaskEdit::blankOf(const Slots& s) {
    QString out;
    for (const Slot& slot : s)
        out.append(slot.literal.isNull() ? QChar(' ') : slot.literal);
    return out;
}

QString MaskEdit::blankText() const {
    return blankOf(alternatives_.first());
}

bool MaskEdit::isComplete() const {
    if (maskSlots().isEmpty())
        return !text().isEmpty();
    const QString t = text();
    for (int i = 0; i < maskSlots().size(); ++i) {
        if (maskSlots()[i].literal.isNull() && (i >= t.size() || t[i] == QLatin1Char(' ')))
            return false;
    }
    return true;
}

bool MaskEdit::fits(const Slot& slot, QChar c) {
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

QChar MaskEdit::applyCase(const Slot& slot, QChar c) {
    if (slot.letterCase == Case::Upper)
        return c.toUpper();
    if (slot.letterCase == Case::Lower)
        return c.toLower();
    return c;
}

MaskEdit::Fit MaskEdit::fit(const Slots& s, const QString& text) {
    Fit r;
    if (s.isEmpty()) {  // no mask: a plain edit
        r.text = text;
        r.complete = !text.isEmpty();
        return r;
    }
    r.text = blankOf(s);
    int inputs = 0;
    for (const Slot& slot : s)
        inputs += slot.literal.isNull() ? 1 : 0;
    bool sameShape = text.size() == s.size();
    for (int i = 0; sameShape && i < s.size(); ++i) {
        if (!s[i].literal.isNull() && text[i] != s[i].literal)
            sameShape = false;
    }
    if (sameShape) {
        for (int i = 0; i < s.size(); ++i) {
            if (!s[i].literal.isNull() || text[i] == QLatin1Char(' '))
                continue;
            if (fits(s[i], text[i])) {
                r.text[i] = applyCase(s[i], text[i]);
                ++r.filled;
            } else if (text[i].isLetterOrNumber()) {
                ++r.dropped;
            }
        }
    } else {
        // Another shape (a plain "31012005", a stored "ABC1234", empty text):
        // fill the positions in order with the characters that fit them.
        int next = 0;
        for (int i = 0; i < s.size() && next < text.size(); ++i) {
            if (!s[i].literal.isNull()) {
                if (text[next] == s[i].literal)
                    ++next;
                continue;
            }
            while (next < text.size() && !fits(s[i], text[next])) {
                if (text[next].isLetterOrNumber())
                    ++r.dropped;
                ++next;
            }
            if (next < text.size()) {
                r.text[i] = applyCase(s[i], text[next++]);
                ++r.filled;
            }
        }
        r.dropped += meaningfulCount(text.mid(next));
    }
    r.complete = r.filled == inputs;
    return r;
}

int MaskEdit::chooseMask(const QString& text) const {
    if (alternatives_.size() == 1 || meaningfulCount(text) == 0)
        return 0;
    for (int i = 0; i < alternatives_.size(); ++i) {
        const Fit f = fit(alternatives_[i], text);
        if (f.dropped == 0 && f.complete)
            return i;
    }
    if (fit(maskSlots(), text).dropped == 0)
        return current_;
    for (int i = 0; i < alternatives_.size(); ++i) {
        if (fit(alternatives_[i], text).dropped == 0)
            return i;
    }
    return current_;
}

QString MaskEdit::normalized(const QString& text) const {
    return fit(alternatives_[chooseMask(text)], text).text;
}

void MaskEdit::normalizeCurrent() {
    if (normalizing_)
        return;
    const QString current = text();
    const int chosen = chooseMask(current);
    const QString shaped = fit(alternatives_[chosen], current).text;
    useMask(chosen);
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
    for (int i = from; i < to && i < maskSlots().size(); ++i) {
        if (maskSlots()[i].literal.isNull())
            t[i] = QLatin1Char(' ');
    }
    setTextKeepingCursor(t, from);
}

// The typed character only fits another mask of the field (the ninth digit
// of a phone, the letter of a Mercosul plate): move the content there.
bool MaskEdit::typeIntoOtherMask(int pos, QChar c) {
    const QString t = text();
    const QString before = meaningful(t.left(pos));
    const QString content = before + c + meaningful(t.mid(pos));
    for (int j = 0; j < alternatives_.size(); ++j) {
        if (j == current_)
            continue;
        const Fit f = fit(alternatives_[j], content);
        if (f.dropped != 0)
            continue;
        useMask(j);
        // The cursor goes after the typed character.
        int seen = 0;
        int cursor = 0;
        for (int i = 0; i < maskSlots().size(); ++i) {
            if (maskSlots()[i].literal.isNull() && ++seen == before.size() + 1) {
                cursor = i + 1;
                break;
            }
        }
        while (cursor < maskSlots().size() && !maskSlots()[cursor].literal.isNull())
            ++cursor;
        setTextKeepingCursor(f.text, cursor);
        return true;
    }
    return false;
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
    for (const QChar c : typed) {
        QString t = text();
        while (pos < maskSlots().size() && !maskSlots()[pos].literal.isNull()) {
            if (c == maskSlots()[pos].literal)
                break;
            ++pos;
        }
        if (pos < maskSlots().size() && !maskSlots()[pos].literal.isNull()) {
            ++pos;  // typed the literal itself: step over it
            continue;
        }
        if (pos >= maskSlots().size() || !fits(maskSlots()[pos], c)) {
            if (alternatives_.size() > 1 && c.isLetterOrNumber() && typeIntoOtherMask(pos, c)) {
                pos = cursorPosition();
                continue;
            }
            QApplication::beep();
            break;
        }
        t[pos] = applyCase(maskSlots()[pos], c);
        ++pos;
        while (pos < maskSlots().size() && !maskSlots()[pos].literal.isNull())
            ++pos;
        setTextKeepingCursor(t, pos);
    }
}

// Leaving the field: a text that now fills a shorter mask completely takes
// it (a nine-digit phone that lost a digit reads "9999-9999" again).
void MaskEdit::reshape() {
    if (alternatives_.size() < 2)
        return;
    const QString current = text();
    const int chosen = chooseMask(current);
    if (chosen == current_ || !fit(alternatives_[chosen], current).complete)
        return;
    useMask(chosen);
    setTextKeepingCursor(fit(maskSlots(), current).text, 0);
}

void MaskEdit::keyPressEvent(QKeyEvent* event) {
    if (isReadOnly() || maskSlots().isEmpty()) {
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
            while (pos >= 0 && !maskSlots()[pos].literal.isNull())
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
            while (pos < maskSlots().size() && !maskSlots()[pos].literal.isNull())
                ++pos;
            if (pos < maskSlots().size()) {
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
    if (!maskSlots().isEmpty() && isBlank() && !hasSelectedText())
        setCursorPosition(0);
}

void MaskEdit::focusOutEvent(QFocusEvent* event) {
    reshape();
    QLineEdit::focusOutEvent(event);
}

void MaskEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (maskSlots().isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    if (!event->commitString().isEmpty())
        typeText(event->commitString());
    event->accept();
}

}  // namespace quelvarino
