#include "orders/serviceorder.h"

#include "core/orderhours.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

// The order screen's times and values: a thin shell over the hours rules,
// which read and write the screen's texts as one state.

namespace quelvarino {

OrderHoursScreen TQuelvarino0021_0::hoursState() const {
    OrderHoursScreen s;
    s.hora1 = Edhora1->text();
    s.hora2 = Edhora2->text();
    s.hora3 = Edhora3->text();
    s.hora4 = Edhora4->text();
    s.rbHora1 = Rbhora1->isChecked();
    s.rbHora2 = Rbhora2->isChecked();
    s.rbValor = Rbvalor->isChecked();
    s.rbValmot = Rbvalmot->isChecked();
    s.valor = Edvalor->text();
    s.seguro = Edseguro->text();
    s.taxap = Edtaxap->text();
    s.totval = Edtotval->text();
    s.valmot = Edvalmot->text();
    s.lbTotval = Lbtotval->text();
    s.valorEnabled = Edvalor->isEnabled();
    s.valmotEnabled = Edvalmot->isEnabled();
    return s;
}

void TQuelvarino0021_0::applyHoursState(const OrderHoursScreen& s) {
    Edhora4->setText(s.hora4);
    setCheckedQuietly(Rbhora1, s.rbHora1);
    setCheckedQuietly(Rbhora2, s.rbHora2);
    setCheckedQuietly(Rbvalor, s.rbValor);
    setCheckedQuietly(Rbvalmot, s.rbValmot);
    Edvalor->setText(s.valor);
    Edseguro->setText(s.seguro);
    Edtaxap->setText(s.taxap);
    Edtotval->setText(s.totval);
    Edvalmot->setText(s.valmot);
    Lbtotval->setText(s.lbTotval);
    setFieldEditable(Edvalor, s.valorEnabled);
    setFieldEditable(Edvalmot, s.valmotEnabled);
}

void TQuelvarino0021_0::RbhoraClick() {
    const OrderStep step = selectStartBasis(hoursState());
    applyHoursState(step.screen);
    if (!step.message.isEmpty())
        MessageBox::question(step.message);
}

void TQuelvarino0021_0::RbvalorClick() {
    applyHoursState(setFixedValueMode(hoursState(), Rbvalor->isChecked()));
}

void TQuelvarino0021_0::RbvalmotClick() {
    applyHoursState(setFixedCourierPay(hoursState(), Rbvalmot->isChecked()));
}

void TQuelvarino0021_0::EdvalorExit() {
    applyHoursState(leaveValor(hoursState()));
}

void TQuelvarino0021_0::EdseguroExit() {
    applyHoursState(leaveSeguro(hoursState()));
}

void TQuelvarino0021_0::EdtaxapExit() {
    applyHoursState(leaveTaxap(hoursState()));
}

void TQuelvarino0021_0::EdvalmotExit() {
    applyHoursState(leaveValmot(hoursState()));
}

bool TQuelvarino0021_0::EdhoraExit(MaskEdit* field) {
    const QString t = field->text();
    if (t == QLatin1String("  :  "))
        return true;
    bool bad = false;
    auto complain = [&bad](const char* text) {
        MessageBox::information(QString::fromUtf8(text));
        bad = true;
    };
    if (t[0] == QLatin1Char(' ') || t[1] == QLatin1Char(' ') || t[3] == QLatin1Char(' ') ||
        t[4] == QLatin1Char(' ')) {
        complain("Hora invádlida!!!");
    } else {
        if (t.left(2).toInt() > 24)
            complain("Hora invádlida!!!");
        if (t.mid(3, 2).toInt() >= 60)
            complain("Hora inválida!!!");
    }
    if (bad) {
        recordValid_ = false;
        field->setFocus();
    }
    return !bad;
}

void TQuelvarino0021_0::Edhora3Exit() {
    if (!EdhoraExit(Edhora3))
        return;  // said already; the comparison needs a time
    // An order never crosses midnight: work after it is a second order. The
    // end is compared with each time that is filled, not only when both are.
    if (endsBeforeItStarts(hoursState())) {
        MessageBox::question(QStringLiteral("Deve ser aberto outra ordem de serviço."));
        Edhora3->setText(QStringLiteral("24:00"));
    }
}

}  // namespace quelvarino
