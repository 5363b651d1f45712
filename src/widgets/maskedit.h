#pragma once

#include <QLineEdit>
#include <QString>

namespace quelvarino {

// An edit with a fixed mask in the old notation ("!99/99/9999;1;_"):
// `9` optional digit, `0` required digit, `L` letter, `l` optional letter,
// `A`/`a` letter or digit, `C`/`c` any character, `#` digit or sign,
// `>` upper case from here on, `<` lower case, `\` next is literal, `!` ignored;
// `;1` keeps the literals in the text and the last part is the blank.
// The text always reads as displayed, literals in place and unfilled
// positions as spaces: an empty date is "  /  /    ", an empty time "  :  ".
class MaskEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskEdit(const QString& mask, QWidget* parent = nullptr);

    void setMask(const QString& mask);
    QString mask() const { return mask_; }
    QString blankText() const;
    bool isBlank() const { return text() == blankText(); }
    // True when every position is filled (or is a literal).
    bool isComplete() const;

    // The text that `text` becomes in this mask.
    QString normalized(const QString& text) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    enum class Case { None, Upper, Lower };
    struct Slot {
        QChar literal;  // non-null for a literal position
        QChar kind;     // mask letter for an input position
        Case letterCase = Case::None;
    };
    bool fits(const Slot& slot, QChar c) const;
    QChar applyCase(const Slot& slot, QChar c) const;
    void typeText(const QString& typed);
    void clearRange(int from, int to);
    void setTextKeepingCursor(const QString& text, int cursor);
    void normalizeCurrent();

    QString mask_;
    QList<Slot> slots_;
    bool normalizing_ = false;
};

}  // namespace quelvarino
