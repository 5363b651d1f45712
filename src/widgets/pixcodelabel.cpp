#include "widgets/pixcodelabel.h"

#include "data/companypix.h"
#include "widgets/qrcode.h"

#include <QFontMetrics>
#include <QPainter>
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
        caption_.clear();
        clear();
        setToolTip(QString());
        return;
    }
    // The amount over the code, so the client sees what the code charges
    // before scanning it.
    caption_ = pix::caption(payload);
    QFont captionFont = font();
    captionFont.setBold(true);
    captionFont.setPointSize(8);
    const int captionHeight = QFontMetrics(captionFont).height() + 2;
    // Whole pixels per module: a scaled code blurs and phones misread it.
    const int modules = code.width + 8;
    const QImage qr = qrImage(code, qMax(1, (side_ - captionHeight) / modules));
    QImage image(side_, side_, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(captionFont);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, side_, captionHeight), Qt::AlignCenter, caption_);
    p.drawImage((side_ - qr.width()) / 2, captionHeight, qr);
    p.end();
    setPixmap(QPixmap::fromImage(image));
    setToolTip(caption_);
    setAccessibleName(caption_);
}

}  // namespace quelvarino
