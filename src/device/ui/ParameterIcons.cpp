#include "device/ui/ParameterIcons.h"

#include <QPainter>
#include <QPainterPath>

namespace corvix::ParameterIcons {

namespace {

// The device is a dark bar along the bottom; the arrow's colour tells the direction at a glance
// (green: the value comes to us, blue: it goes to the device).
QPixmap arrow(bool pointsUp, const QColor& colour)
{
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(2, 13, 12, 2), QColor(70, 70, 70));

    // The arrow's head spans the upper or lower half; its shaft reaches the other end.
    const qreal tip = pointsUp ? 1 : 12;
    const qreal headBase = 6.5;
    const qreal tail = pointsUp ? 11.5 : 1;
    QPainterPath path;
    path.moveTo(8, tip);
    path.lineTo(13.5, headBase);
    path.lineTo(10, headBase);
    path.lineTo(10, tail);
    path.lineTo(6, tail);
    path.lineTo(6, headBase);
    path.lineTo(2.5, headBase);
    path.closeSubpath();
    painter.setPen(QPen(colour.darker(160), 1));
    painter.setBrush(colour);
    painter.drawPath(path);
    return pixmap;
}

}  // namespace

const QPixmap& Upload()
{
    static const QPixmap pixmap = arrow(true, QColor(40, 170, 60));
    return pixmap;
}

const QPixmap& Download()
{
    static const QPixmap pixmap = arrow(false, QColor(40, 110, 210));
    return pixmap;
}

}  // namespace corvix::ParameterIcons
