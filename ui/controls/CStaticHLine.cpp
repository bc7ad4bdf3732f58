#include "ui/controls/CStaticHLine.h"

#include "core/util/CThemeApi.h"
#include "platform/qt/ColorRef.h"

#include <QPainter>

namespace {

// The pen of a pen style number; an unknown style makes no pen, so the default black one draws.
QPen PenFor(int style, COLORREF colour)
{
    QPen pen(ColorRefToQColor(colour), 1);
    pen.setCosmetic(true);
    switch (style) {
    case 1: // dashed: 7 pixels on, 4 off
        pen.setDashPattern({7, 4});
        return pen;
    case 0: // solid
    case 6: // inside frame: solid at width 1
        return pen;
    case 2:
        pen.setStyle(Qt::DotLine);
        return pen;
    case 3:
        pen.setStyle(Qt::DashDotLine);
        return pen;
    case 4:
        pen.setStyle(Qt::DashDotDotLine);
        return pen;
    case 5:
        return QPen(Qt::NoPen);
    default:
        return QPen(Qt::black, 1);
    }
}

} // namespace

CStaticHLine::CStaticHLine(QWidget* parent) : QWidget(parent)
{
    CThemeApi* api = CThemeApi::GetInstance();
    if (api->IsThemeDialogTextureEnabled != nullptr && api->OpenThemeData != nullptr &&
        api->IsThemeDialogTextureEnabled(parentWidget()) == 1) {
        if (void* opened = api->OpenThemeData(this, u"TAB")) {
            themeData = opened;
        }
    }
}

CStaticHLine::~CStaticHLine()
{
    CThemeApi* api = CThemeApi::GetInstance();
    if (themeData != nullptr && api->CloseThemeData != nullptr) {
        api->CloseThemeData(themeData);
    }
    themeData = nullptr;
}

void CStaticHLine::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    CThemeApi* api = CThemeApi::GetInstance();
    if (api->DrawThemeBackground != nullptr) {
        if (themeData != nullptr) {
            const RECT area{0, 0, width(), height()};
            api->DrawThemeBackground(themeData, &painter, 10, 1, &area, nullptr);
        }
    } else {
        painter.fillRect(rect(), palette().color(QPalette::Window));
    }
    painter.setPen(PenFor(lineStyle, lineColour));
    for (int y = 0; y < height(); ++y) {
        painter.drawLine(0, y, width() - 1, y);
    }
}
