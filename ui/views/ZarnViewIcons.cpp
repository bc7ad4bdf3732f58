#include "ui/views/ZarnViewIcons.h"

#include <QPainter>
#include <QPixmap>

QIcon ZarnViewIcons::TableMark()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xE0, 0xE8, 0xFF), 1.0));
    painter.setBrush(QColor(0x20, 0x40, 0xA0));
    painter.drawEllipse(QRectF(3.5, 3.5, 9, 9));
    painter.end();
    return QIcon(pixmap);
}
