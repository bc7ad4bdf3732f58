#include "ui/meter/MeterPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor kOutline(40, 40, 40);
const QColor kBody(70, 75, 85);
const QColor kDisplay(170, 210, 170);
const QColor kDome(245, 245, 240);

// A meter: a rounded body with a display and, on top, the white light-collecting dome.
void DrawMeter(QPainter& p, const QRectF& body, qreal domeRadius, bool sideDome)
{
    p.setPen(QPen(kOutline, 2));
    p.setBrush(kBody);
    p.drawRoundedRect(body, 6, 6);
    const QRectF display(body.left() + body.width() * 0.18, body.top() + body.height() * 0.35,
                         body.width() * 0.64, body.height() * 0.22);
    p.setBrush(kDisplay);
    p.drawRect(display);
    p.setBrush(QColor(120, 125, 135));
    p.drawEllipse(QPointF(body.center().x(), body.bottom() - body.height() * 0.18), body.width() * 0.12,
                  body.width() * 0.12);
    p.setBrush(kDome);
    if (sideDome) {
        p.drawEllipse(QPointF(body.right(), body.top() + body.height() * 0.2), domeRadius, domeRadius);
    } else {
        p.drawChord(QRectF(body.center().x() - domeRadius, body.top() - domeRadius, 2 * domeRadius, 2 * domeRadius),
                    0, 180 * 16);
    }
}

void DrawPc(QPainter& p, int s)
{
    p.setPen(QPen(kOutline, 2));
    p.setBrush(QColor(200, 200, 205));
    p.drawRoundedRect(QRectF(s * 0.08, s * 0.1, s * 0.84, s * 0.6), 4, 4);
    p.setBrush(QColor(70, 120, 190));
    p.drawRect(QRectF(s * 0.15, s * 0.17, s * 0.7, s * 0.46));
    p.setBrush(QColor(200, 200, 205));
    p.drawRect(QRectF(s * 0.42, s * 0.7, s * 0.16, s * 0.1));
    p.drawRoundedRect(QRectF(s * 0.22, s * 0.8, s * 0.56, s * 0.08), 2, 2);
}

void DrawServer(QPainter& p, int s)
{
    p.setPen(QPen(kOutline, 2));
    p.setBrush(QColor(120, 170, 220));
    p.drawEllipse(QRectF(s * 0.12, s * 0.12, s * 0.76, s * 0.76));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(s * 0.32, s * 0.12, s * 0.36, s * 0.76));
    p.drawLine(QPointF(s * 0.12, s * 0.5), QPointF(s * 0.88, s * 0.5));
    p.drawLine(QPointF(s * 0.5, s * 0.12), QPointF(s * 0.5, s * 0.88));
    QPainterPath arrow;
    arrow.moveTo(s * 0.62, s * 0.78);
    arrow.lineTo(s * 0.94, s * 0.78);
    arrow.lineTo(s * 0.78, s * 0.96);
    arrow.closeSubpath();
    p.setBrush(QColor(60, 160, 60));
    p.drawPath(arrow);
}

} // namespace

QIcon MeterPictures::Load(int resourceId)
{
    const int s = kDefaultSize;
    QPixmap pixmap(s, s);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (resourceId) {
    case kPc:
        DrawPc(p, s);
        break;
    case kT310: // tall and slim
        DrawMeter(p, QRectF(s * 0.3, s * 0.18, s * 0.4, s * 0.78), s * 0.12, false);
        break;
    case kT140: // wide, with the dome at the side
        DrawMeter(p, QRectF(s * 0.12, s * 0.22, s * 0.62, s * 0.72), s * 0.16, true);
        break;
    case kT520: // large, dome on top
        DrawMeter(p, QRectF(s * 0.18, s * 0.24, s * 0.64, s * 0.72), s * 0.18, false);
        break;
    case kUpdateServer:
        DrawServer(p, s);
        break;
    default:
        return QIcon();
    }
    p.end();
    return QIcon(pixmap);
}
