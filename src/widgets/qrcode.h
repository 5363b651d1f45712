#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <QVector>

class QPainter;

namespace quelvarino {

// A QR code of a text, made by libqrencode (error correction level M, the
// text as 8-bit bytes): its modules, row by row, true for dark.
struct QrCode {
    int width = 0;  // modules per side; 0 when the text could not be encoded
    QVector<bool> dark;
    bool isNull() const { return width == 0; }
    bool at(int x, int y) const { return dark[y * width + x]; }
};
QrCode encodeQr(const QString& text);

// The code drawn dark on white inside `area` (the largest square that
// fits, centred), with the four-module quiet zone readers need. Drawn as
// rectangles, so a PDF keeps it sharp at any zoom.
void paintQr(QPainter& painter, const QRectF& area, const QrCode& code);
// The code as an image, `scale` pixels per module, quiet zone included.
QImage qrImage(const QrCode& code, int scale);

}  // namespace quelvarino
