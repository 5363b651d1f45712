#include "reports/pixcodelabel.h"

#include "reports/qrcode.h"
#include "reports/reportdata.h"

#include <QPixmap>

namespace quelvarino {

PixCodeLabel::PixCodeLabel(const QString& name, int side, QWidget* parent)
    : QLabel(parent), side_(side) {
    setObjectName(name);
    setFixedSize(side, side);
    setAlignment(Qt::AlignCenter);
    hide();
}

void PixCodeLabel::readCompany() {
    company_ = companyPixFromStore();
    setVisible(company_.print && !company_.key.trimmed().isEmpty());
}

void PixCodeLabel::showFor(const QString& prefix,
                           const QString& number,
                           const QString& money,
                           bool allowed) {
    const QString payload =
        allowed ? documentPixPayload(company_, prefix, number, money) : QString();
    if (payload == payload_)
        return;
    payload_ = payload;
    const QrCode code = encodeQr(payload);
    if (code.isNull()) {
        clear();
        setToolTip(QString());
        return;
    }
    // Whole pixels per module: a scaled code blurs and phones misread it.
    const int modules = code.width + 8;
    const QImage image = qrImage(code, qMax(1, side_ / modules));
    setPixmap(QPixmap::fromImage(image));
    setToolTip(QStringLiteral("Pague com PIX: R$ %1").arg(money.trimmed()));
}

}  // namespace quelvarino
