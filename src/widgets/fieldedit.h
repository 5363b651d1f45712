#pragma once

#include <QComboBox>
#include <QLineEdit>

namespace quelvarino {

// An entry field whose size does not depend on the browse/edit state: browse
// draws it bold, edit regular, and a layout sized by the regular font would
// shift every time the state changes. Its hints are those of the bold font.
class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
};

// The longest text an operator may type into `edit`. Unlike QLineEdit's own
// maximum length it never cuts what the program writes: a loaded or computed
// value is shown whole however long it is; only typing stops at the limit.
void setTypingLimit(QLineEdit* edit, int limit);
int typingLimit(const QLineEdit* edit);  // 0: none

// Set on a field while the program rewrites text the operator has just
// typed (in capitals, say): the limit treats it as typed, not as written.
inline constexpr char kOperatorText[] = "operatorText";

}  // namespace quelvarino
