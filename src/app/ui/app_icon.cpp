#include "app/ui/app_icon.h"

#include <QPainter>
#include <QPainterPath>

namespace quisk {

// Drawn on a 64 x 64 grid and scaled; resources/quisk.svg has the same
// picture for the desktop's menus.
QPixmap quiskIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    p.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), 2));
    p.setBrush(QColor(0xf4, 0xf8, 0xff));
    p.drawRoundedRect(QRectF(6, 4, 40, 54), 4, 4);

    p.setPen(QPen(QColor(0x6b, 0x8c, 0xb8), 3, Qt::SolidLine, Qt::RoundCap));
    for (int y = 14; y <= 46; y += 8)
        p.drawLine(QPointF(13, y), QPointF(39, y));
    p.setPen(QPen(QColor(0xd9, 0x48, 0x2b), 2, Qt::DashLine));
    p.drawLine(QPointF(26, 9), QPointF(26, 53));

    QPainterPath arrow;
    arrow.moveTo(38, 30);
    arrow.lineTo(50, 30);
    arrow.lineTo(50, 22);
    arrow.lineTo(62, 36);
    arrow.lineTo(50, 50);
    arrow.lineTo(50, 42);
    arrow.lineTo(38, 42);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(0x1d, 0x6b, 0x2e), 1.5));
    p.setBrush(QColor(0x3c, 0xa8, 0x55));
    p.drawPath(arrow);
    return pixmap;
}

QIcon quiskIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(quiskIconPixmap(size));
    return icon;
}

} // namespace quisk
