#include "ui/wizard/WizardChartPictures.h"

#include <QPainter>

QPixmap WizardChartPictures::Draw(int kind, int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(QColor(0x30, 0x30, 0x30));
    QPainter p(&pixmap);
    int columns = 6, rows = 4;
    switch (kind) {
    case 1: columns = 7; rows = 5; break;
    case 2: columns = 11; rows = 2; break;
    case 6: columns = 8; rows = 6; break;
    default: break;
    }
    const double margin = 8;
    const double cw = (width - 2 * margin) / columns, ch = (height - 2 * margin) / rows;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const int i = r * columns + c;
            QColor colour;
            if (kind == 3 && r < 3)
                colour = QColor::fromHsv((i * 37) % 360, 150, 200);
            else if (kind == 6 && (c == 0 || c == columns - 1))
                colour = QColor::fromHsv((r * 60 + c * 7) % 360, 140, 210);
            else
                colour = QColor::fromHsv(0, 0, 20 + (235 * i) / (rows * columns - 1));
            p.fillRect(QRectF(margin + c * cw + 1, margin + r * ch + 1, cw - 2, ch - 2), colour);
        }
    }
    p.setPen(QPen(Qt::white, 2));
    p.drawRect(QRectF(2, 2, width - 4, height - 4));
    return pixmap;
}
