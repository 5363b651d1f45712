#pragma once

#include "widgets/fieldedit.h"

#include <QString>
#include <QStringList>

namespace quelvarino {

// An edit with a fixed mask in the old notation ("!99/99/9999;1;_"):
// `9` optional digit, `0` required digit, `L` letter, `l` optional letter,
// `A`/`a` letter or digit, `C`/`c` any character, `#` digit or sign,
// `>` upper case from here on, `<` lower case, `\` next is literal, `!` ignored;
// `;1` keeps the literals in the text and the last part is the blank.
// The text always reads as displayed, literals in place and unfilled
// positions as spaces: an empty date is "  /  /    ", an empty time "  :  ".
//
// A field may also take one of several masks (a phone of eight or nine
// digits, an old or a Mercosul plate): the first is the usual one and gives
// the blank form; a text takes the first mask it fills completely, and
// typing moves to another mask when the typed character only fits there.
//
// Why not QLineEdit::inputMask: in Qt's notation `9` is a required digit
// and `0` an optional one, the opposite of the masks the screens and the
// stored layouts are written in; QLineEdit::text() drops the blank
// positions, while the screens and their checks read a field as displayed
// ("  /  /    " is an empty date, "12/  /    " an incomplete one); and a
// QLineEdit takes one mask, where a phone or a plate takes one of two.
class MaskEdit : public FieldEdit {
    Q_OBJECT
public:
    explicit MaskEdit(const QString& mask, QWidget* parent = nullptr);
    MaskEdit(const QStringList& masks, QWidget* parent);

    void setMask(const QString& mask);
    void setMasks(const QStringList& masks);
    QString mask() const { return masks_.value(current_); }  // the mask in use
    QString blankText() const;
    bool isBlank() const { return text() == blankText(); }
    // True when every position is filled (or is a literal).
    bool isComplete() const;

    // The text that `text` becomes in this field.
    QString normalized(const QString& text) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    enum class Case { None, Upper, Lower };
    struct Slot {
        QChar literal;  // non-null for a literal position
        QChar kind;     // mask letter for an input position
        Case letterCase = Case::None;
    };
    using Slots = QList<Slot>;
    struct Fit {
        QString text;
        int filled = 0;   // input positions that got a character
        int dropped = 0;  // letters and digits of the text that found no place
        bool complete = false;
    };
    static Slots parse(const QString& mask);
    static bool fits(const Slot& slot, QChar c);
    static QChar applyCase(const Slot& slot, QChar c);
    static Fit fit(const Slots& slots, const QString& text);
    static QString blankOf(const Slots& slots);
    int chooseMask(const QString& text) const;
    const Slots& maskSlots() const { return alternatives_[current_]; }
    void useMask(int index);
    void applyLayout();
    bool typeIntoOtherMask(int pos, QChar c);
    void typeText(const QString& typed);
    void clearRange(int from, int to);
    void setTextKeepingCursor(const QString& text, int cursor);
    void reshape();
    void normalizeCurrent();

    QStringList masks_;
    QList<Slots> alternatives_;
    int current_ = 0;
    bool normalizing_ = false;
};

}  // namespace quelvarino
