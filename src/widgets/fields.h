#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>

class QGridLayout;

class QAbstractButton;
class QLabel;

namespace quelvarino {

class MaskEdit;

// Field behaviours, each written once and attached by field kind.

// Enter moves to the next field as Tab does.
void enterMovesOn(QWidget* field);
// Notes of at most `limit` characters typed or pasted (line breaks count);
// a longer stored text is shown and kept whole.
void notesLimit(QPlainTextEdit* notes, int limit);
// Enter moves on from every control of a window that takes the focus with
// Tab (buttons and radio buttons too), except notes and grids.
void installEnterFlow(QWidget* window);
// Disabled entry fields (browse state) keep dark, readable text.
void installReadableBrowseState();
// Runs `handler` when Enter is pressed in the field (before it moves on).
void onEnter(QWidget* field, std::function<void()> handler);
// Typed letters become capitals.
void upperCaseField(QLineEdit* field);
void upperCaseField(QComboBox* combo);
// Typed letters become small letters (site and e-mail).
void lowerCaseField(QLineEdit* field);
// Money: digits, Backspace and "," only (others beep); "##0.00" when left,
// empty becomes "0,00"; a text that is no number gives the conversion
// error and stays as typed.
void moneyField(QLineEdit* field);
// Only the keys of a money field; the screen formats it when it is left.
void moneyKeys(QLineEdit* field);
// Runs `handler` when the field is left for another field of its window
// (not when the window itself loses the focus to a message box).
void onExit(QWidget* field, std::function<void()> handler);
// The date check when the field is left; the focus goes back on a failure.
// Returns through `ok` whether the date passed (may be null).
bool runDateCheck(MaskEdit* field);
void dateField(MaskEdit* field);

// One row of a form's grid, left to right: captions (plain labels) and
// controls, each over `span` columns; gap(n) leaves columns empty.
struct GridCell {
    GridCell(const char* caption, int span = 1, Qt::Alignment align = {})
        : caption(QString::fromUtf8(caption)), span(span), align(align) {}
    GridCell(const QString& caption, int span = 1, Qt::Alignment align = {})
        : caption(caption), span(span), align(align) {}
    GridCell(QWidget* widget, int span = 1) : widget(widget), span(span) {}
    QString caption;
    QWidget* widget = nullptr;
    int span = 1;
    Qt::Alignment align;
};
inline GridCell gap(int columns) {
    return GridCell(static_cast<QWidget*>(nullptr), columns);
}
void gridRow(QGridLayout* grid, int row, std::initializer_list<GridCell> cells);

// The day's date at the top right of a window: bold, right-aligned ("Lbdata").
QLabel* makeDateLabel(QWidget* parent);

// Fixed lists.
QStringList ufList();
QStringList phoneKinds();
QStringList situations();  // "ATIVO", "BLOQUEADO" and an empty item

// An edit of at most `length` characters (0: no limit), upper case when asked.
QLineEdit* makeEdit(QWidget* parent, const QString& name, int length, bool upper);
MaskEdit* makeMaskEdit(QWidget* parent, const QString& name, const QString& mask);
// A phone of eight ("9999-9999") or nine ("99999-9999") digits.
MaskEdit* makePhoneEdit(QWidget* parent, const QString& name);
// A plate of the old ("ABC-1234") or the Mercosul ("ABC1D23") form.
MaskEdit* makePlateEdit(QWidget* parent, const QString& name);

QComboBox* makeCombo(const QString& name, const QStringList& items, int maxLength, QWidget* parent);
// Pick-only: only the list's items can be chosen (after Novo). Free text:
// any text can stand in it (after clearing or loading).
void setPickOnly(QComboBox* combo, bool pickOnly);
void setComboText(QComboBox* combo, const QString& text);

// Browse state draws entry fields disabled and bold; edit state enabled and regular.
void setFieldEditable(QWidget* field, bool editable);
// Checks or unchecks a radio or check box without its handlers running and
// without unchecking the others of its group.
void setCheckedQuietly(QAbstractButton* button, bool on);

}  // namespace quelvarino
