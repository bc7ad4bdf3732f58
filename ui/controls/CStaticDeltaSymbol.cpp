#include "ui/controls/CStaticDeltaSymbol.h"

#include "platform/qt/ColorRef.h"

#include <QPainter>

CStaticDeltaSymbol::CStaticDeltaSymbol(QWidget* parent) : QWidget(parent) {}

void CStaticDeltaSymbol::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setBrush(ColorRefToQColor(fillColour));
    painter.setPen(QPen(Qt::black, 1));
    const int left = 0;
    const int top = 0;
    const int right = width();
    const int bottom = height();
    const QPoint corners[] = {{(left + right) / 2, top}, {left, bottom}, {right, bottom}};
    painter.drawPolygon(corners, 3);
}
