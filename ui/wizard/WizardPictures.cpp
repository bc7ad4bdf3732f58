#include "ui/wizard/WizardPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap Blank(int w, int h)
{
    QPixmap pixmap(w, h);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QIcon StepMark(int id)
{
    QPixmap pixmap = Blank(32, 32);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (id == WizardPictures::kStepDone) {
        p.setPen(QPen(QColor(0x2E, 0x8B, 0x3A), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(6, 17), QPointF(13, 24), QPointF(26, 8)}));
    } else if (id == WizardPictures::kStepCurrent) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x1F, 0x5F, 0xC8));
        p.drawPolygon(QPolygonF({QPointF(8, 4), QPointF(28, 16), QPointF(8, 28)}));
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xB0, 0xB0, 0xB0));
        p.drawEllipse(QPointF(16, 16), 7, 7);
    }
    return QIcon(pixmap);
}

QIcon Light(int id)
{
    QPixmap pixmap = Blank(63, 69);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (id == WizardPictures::kDaylight) {
        p.setPen(QPen(QColor(0xE0, 0x9A, 0x10), 3));
        for (int k = 0; k < 12; ++k) {
            p.save();
            p.translate(31.5, 34.5);
            p.rotate(30.0 * k);
            p.drawLine(QPointF(0, 17), QPointF(0, 27));
            p.restore();
        }
        p.setBrush(QColor(0xF8, 0xC8, 0x30));
        p.drawEllipse(QPointF(31.5, 34.5), 13, 13);
    } else {
        p.setPen(QPen(QColor(0x40, 0x40, 0x40), 2));
        p.setBrush(QColor(0xF0, 0xE0, 0x40));
        p.drawPolygon(QPolygonF({QPointF(36, 4), QPointF(14, 38), QPointF(30, 38), QPointF(24, 65), QPointF(50, 26),
                                 QPointF(33, 26)}));
    }
    return QIcon(pixmap);
}

QIcon ChartMark()
{
    // The registered-mark sign the chart makers print beside their names. The picture is shown at
    // 225 x 40 centred on a static of 15 x 20, so the sign sits in its middle.
    QPixmap pixmap = Blank(225, 40);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.0));
    p.drawEllipse(QRectF(106.5, 14, 12, 12));
    QFont font = p.font();
    font.setPixelSize(8);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(106.5, 14, 12, 12), Qt::AlignCenter, QStringLiteral("R"));
    return QIcon(pixmap);
}

} // namespace

QIcon WizardPictures::Load(int resourceId)
{
    switch (resourceId) {
    case kStepLater:
    case kStepCurrent:
    case kStepDone: return StepMark(resourceId);
    case kFlash:
    case kDaylight: return Light(resourceId);
    case kChartMarkLeft:
    case kChartMarkRight: return ChartMark();
    default: return QIcon();
    }
}
