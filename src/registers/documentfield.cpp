#include "registers/documentfield.h"

#include "widgets/maskedit.h"

#include <QFontMetrics>
#include <QRadioButton>

namespace quelvarino {
namespace {

const char* const kCnpjMask = "!99.999.999/9999-99;1;";
const char* const kCpfMask = "!999.999.999-99;1;";

void setChecked(QRadioButton* rb, bool on) {
    rb->setAutoExclusive(false);
    rb->setChecked(on);
    rb->setAutoExclusive(true);
}

int digitCount(const QString& text) {
    int n = 0;
    for (const QChar c : text)
        n += c.isDigit() ? 1 : 0;
    return n;
}

}  // namespace

void DocumentField::keepWidth() const {
    QFont f = edit->font();
    f.setFamily(QStringLiteral("DejaVu Sans Mono"));
    f.setStyleHint(QFont::Monospace);
    edit->setFont(f);
    f.setBold(true);
    edit->setFixedWidth(QFontMetrics(f).horizontalAdvance(QString(22, QLatin1Char('0'))));
}

void DocumentField::chooseCnpj() const {
    edit->setMask(QString());
    edit->clear();
    edit->setMask(QString::fromLatin1(kCnpjMask));
    keepWidth();
}

void DocumentField::chooseCpf() const {
    edit->setMask(QString());
    edit->clear();
    edit->setMask(QString::fromLatin1(kCpfMask));
    keepWidth();
}

void DocumentField::reset() const {
    edit->setMask(QString());
    edit->clear();
    setChecked(cnpj, false);
    setChecked(cpf, false);
    keepWidth();
}

void DocumentField::showKindWhileBrowsing() const {
    QRadioButton* onCnpj = cnpj;
    QRadioButton* onCpf = cpf;
    MaskEdit* field = edit;
    QObject::connect(edit, &QLineEdit::textChanged, cnpj, [field, onCnpj, onCpf] {
        if (field->isEnabled())
            return;  // while editing the operator's choice stands
        const int digits = digitCount(field->text());
        setChecked(onCnpj, digits == 14);
        setChecked(onCpf, digits == 11);
    });
}

bool DocumentField::takeKindFromDigits() const {
    QString digits;
    for (const QChar c : edit->text()) {
        if (c.isDigit())
            digits.append(c);
    }
    if (digits.size() == 14) {
        chooseCnpj();
        setChecked(cnpj, true);
    } else if (digits.size() == 11) {
        chooseCpf();
        setChecked(cpf, true);
    } else {
        return false;
    }
    edit->setText(digits);  // takes the mask's punctuation
    return true;
}

}  // namespace quelvarino
