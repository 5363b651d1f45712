#include "app/splash.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace quelvarino {

TQuelvarino00Inic_0::TQuelvarino00Inic_0(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Quelvarino00Inic_0"));
    setFixedSize(313, 121);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TQuelvarino00Inic_0::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(0x1f, 0x3b, 0x5c));
    QFont title = font();
    title.setPointSize(18);
    title.setBold(true);
    p.setFont(title);
    p.drawText(rect().adjusted(0, 18, 0, -50), Qt::AlignCenter, QStringLiteral("Quelvarino Basic"));
    QFont sub = font();
    sub.setPointSize(9);
    p.setFont(sub);
    p.drawText(rect().adjusted(0, 60, 0, -12), Qt::AlignCenter,
               QStringLiteral("Sistema para Controle de Empresa de MotoBoy\nCarregando..."));
    p.setPen(QColor(0x5b, 0x86, 0xb5));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace quelvarino
