#include "network/ui/StateImages.h"

#include <QPainter>
#include <QPixmap>

namespace corvix::StateImages {

namespace {

constexpr int size = 32;

QPixmap blank()
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

}  // namespace

QIcon Missing()
{
    static const QIcon icon = [] {
        QPixmap pixmap = blank();
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(220, 0, 0), 4, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(6, 6, size - 6, size - 6);
        painter.drawLine(size - 6, 6, 6, size - 6);
        return QIcon(pixmap);
    }();
    return icon;
}

QIcon NoEdsFile()
{
    static const QIcon icon = [] {
        QPixmap pixmap = blank();
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(120, 90, 0), 1));
        painter.setBrush(QColor(255, 210, 0));
        painter.drawEllipse(1, 1, 15, 15);
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(12);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(1, 1, 15, 15), Qt::AlignCenter, QStringLiteral("?"));
        return QIcon(pixmap);
    }();
    return icon;
}

QIcon GenericDevice()
{
    static const QIcon icon = [] {
        QPixmap pixmap = blank();
        QPainter painter(&pixmap);
        painter.setPen(QColor(60, 60, 60));
        painter.setBrush(QColor(200, 200, 210));
        painter.drawRect(4, 6, size - 9, size - 13);
        painter.setBrush(QColor(0, 160, 0));
        painter.drawRect(8, 10, 4, 4);
        return QIcon(pixmap);
    }();
    return icon;
}

}  // namespace corvix::StateImages
