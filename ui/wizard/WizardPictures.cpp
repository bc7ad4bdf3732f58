#include "ui/wizard/WizardPictures.h"

#include "core/util/CLangTable.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <string>

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

QIcon ChartMark(int resourceId)
{
    // The chart's name with the registered-mark sign its maker prints beside it, under the chart's
    // picture (ColorChecker on the left, SpyderCHECKR on the right), one line of 225 x 20.
    QPixmap pixmap = Blank(225, 20);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(Qt::black);
    std::string name = GetLangString(resourceId == WizardPictures::kChartMarkLeft ? 154 : 171);
    std::replace(name.begin(), name.end(), '\n', ' ');
    p.drawText(QRectF(0, 0, 225, 20), Qt::AlignCenter, QString::fromStdString(name) + QChar(0x00AE));
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
    case kChartMarkRight: return ChartMark(resourceId);
    default: return QIcon();
    }
}
