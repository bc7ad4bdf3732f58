#include "ui/wizard/WizardMarkPictures.h"

#include <QPainter>

namespace {

QPixmap CheckBox(bool checked)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.setBrush(Qt::white);
    p.drawRect(1, 1, 13, 13);
    if (checked) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x10, 0x10, 0x10), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(4, 8), QPointF(7, 11), QPointF(12, 4)}));
    }
    return pixmap;
}

QPixmap Confirmed()
{
    QPixmap pixmap(105, 70);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x30, 0xD0, 0x50), 3));
    // Four corner brackets around a tick: the chart's corners are confirmed.
    const int l = 6, t = 6, r = 99, b = 64, a = 14;
    p.drawPolyline(QPolygon({QPoint(l, t + a), QPoint(l, t), QPoint(l + a, t)}));
    p.drawPolyline(QPolygon({QPoint(r - a, t), QPoint(r, t), QPoint(r, t + a)}));
    p.drawPolyline(QPolygon({QPoint(r, b - a), QPoint(r, b), QPoint(r - a, b)}));
    p.drawPolyline(QPolygon({QPoint(l + a, b), QPoint(l, b), QPoint(l, b - a)}));
    p.setPen(QPen(QColor(0x30, 0xD0, 0x50), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(38, 36), QPointF(49, 47), QPointF(68, 24)}));
    return pixmap;
}

// A corner marker: two arms along the chart's edges meeting at the centre of the 32 x 32 picture.
QPixmap Marker(int dx, int dy)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    for (int pass = 0; pass < 2; ++pass) {
        p.setPen(QPen(pass == 0 ? QColor(Qt::black) : QColor(0xFF, 0x30, 0x30), pass == 0 ? 4 : 2));
        p.drawLine(16, 16, 16 + dx * 14, 16);
        p.drawLine(16, 16, 16, 16 + dy * 14);
    }
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(10, 16, 22, 16);
    p.drawLine(16, 10, 16, 22);
    return pixmap;
}

// A hand-held meter seen from the front: incident readings with the white dome on top, reflected
// readings with the lens window.
QPixmap Meter(bool incident)
{
    QPixmap pixmap(63, 69);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
    p.setBrush(QColor(0x50, 0x50, 0x58));
    p.drawRoundedRect(QRectF(14, 18, 35, 48), 6, 6);
    p.setBrush(QColor(0xC8, 0xE0, 0xC0));
    p.drawRect(QRectF(20, 30, 23, 12));
    if (incident) {
        p.setBrush(Qt::white);
        p.drawChord(QRectF(19, 4, 25, 26), 0, 180 * 16);
    } else {
        p.setBrush(QColor(0x20, 0x40, 0x80));
        p.drawEllipse(QPointF(31.5, 12), 7, 7);
    }
    return pixmap;
}

QPixmap StoredMark()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2E, 0x8B, 0x3A));
    p.drawEllipse(QPointF(8, 8), 6, 6);
    p.setPen(QPen(Qt::white, 2));
    p.drawPolyline(QPolygonF({QPointF(5, 8), QPointF(7.5, 10.5), QPointF(11, 5.5)}));
    return pixmap;
}

} // namespace

QPixmap WizardMarkPictures::Load(int resourceId)
{
    switch (resourceId) {
    case kChecked: return CheckBox(true);
    case kUnchecked: return CheckBox(false);
    case kCornersConfirmed: return Confirmed();
    case kMarkerTopLeft: return Marker(1, 1);
    case kMarkerTopRight: return Marker(-1, 1);
    case kMarkerBottomRight: return Marker(-1, -1);
    case kMarkerBottomLeft: return Marker(1, -1);
    case kStoredResult: return StoredMark();
    case kReflectedMeter: return Meter(false);
    case kIncidentMeter: return Meter(true);
    default: return QPixmap();
    }
}
