#include "widgets/qrcode.h"

#include <qrencode.h>

#include <QPainter>
#include <memory>

namespace quelvarino {
namespace {

constexpr int kQuietZone = 4;  // modules of white around the code

}  // namespace

QrCode encodeQr(const QString& text) {
    QrCode out;
    const QByteArray bytes = text.toUtf8();
    if (bytes.isEmpty())
        return out;
    std::unique_ptr<QRcode, void (*)(QRcode*)> code(
        QRcode_encodeData(int(bytes.size()),
                          reinterpret_cast<const unsigned char*>(bytes.constData()), 0,
                          QR_ECLEVEL_M),
        QRcode_free);
    if (!code)
        return out;
    out.width = code->width;
    out.dark.resize(out.width * out.width);
    for (int i = 0; i < out.dark.size(); ++i)
        out.dark[i] = (code->data[i] & 1) != 0;  // the lowest bit: dark module
    return out;
}

void paintQr(QPainter& painter, const QRectF& area, const QrCode& code) {
    if (code.isNull())
        return;
    const int modules = code.width + 2 * kQuietZone;
    const double side = qMin(area.width(), area.height());
    const double unit = side / modules;
    const QPointF origin(area.center().x() - side / 2, area.center().y() - side / 2);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(origin, QSizeF(side, side)));
    painter.setBrush(Qt::black);
    // One rectangle per run of dark modules in a row: fewer shapes, and no
    // hairline gaps between neighbours in a viewer.
    for (int y = 0; y < code.width; ++y) {
        int x = 0;
        while (x < code.width) {
            if (!code.at(x, y)) {
                ++x;
                continue;
            }
            int end = x;
            while (end < code.width && code.at(end, y))
                ++end;
            painter.drawRect(QRectF(origin.x() + (kQuietZone + x) * unit,
                                    origin.y() + (kQuietZone + y) * unit, (end - x) * unit, unit));
            x = end;
        }
    }
    painter.restore();
}

QImage qrImage(const QrCode& code, int scale) {
    if (code.isNull() || scale < 1)
        return QImage();
    const int side = (code.width + 2 * kQuietZone) * scale;
    QImage image(side, side, QImage::Format_Mono);
    image.setColor(0, qRgb(255, 255, 255));
    image.setColor(1, qRgb(0, 0, 0));
    image.fill(0);
    for (int y = 0; y < code.width; ++y)
        for (int x = 0; x < code.width; ++x)
            if (code.at(x, y))
                for (int dy = 0; dy < scale; ++dy)
                    for (int dx = 0; dx < scale; ++dx)
                        image.setPixel((kQuietZone + x) * scale + dx, (kQuietZone + y) * scale + dy,
                                       1);
    return image;
}

}  // namespace quelvarino
