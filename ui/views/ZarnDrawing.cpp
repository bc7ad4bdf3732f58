#include "ui/views/ZarnDrawing.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstdint>

QColor ColorFromRef(COLORREF colour)
{
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

COLORREF RefFromColor(const QColor& colour)
{
    return RGB(static_cast<BYTE>(colour.red()), static_cast<BYTE>(colour.green()), static_cast<BYTE>(colour.blue()));
}

int MulDiv(int a, int b, int c)
{
    if (c == 0) {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const std::uint64_t num = product < 0 ? static_cast<std::uint64_t>(-product) : static_cast<std::uint64_t>(product);
    const std::uint64_t den = c < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(c))
                                    : static_cast<std::uint64_t>(c);
    const std::uint64_t q = (num + den / 2) / den;
    if (q > static_cast<std::uint64_t>(INT_MAX)) {
        return -1;
    }
    return negative ? -static_cast<int>(q) : static_cast<int>(q);
}

QPen SolidPen(COLORREF colour, int width)
{
    QPen pen(ColorFromRef(colour));
    pen.setWidth(std::max(1, width));
    pen.setStyle(Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QPen DashedPen(COLORREF colour, int width)
{
    QPen pen = SolidPen(colour, width);
    pen.setStyle(Qt::DashLine);
    return pen;
}

void FillSolidRect(QPainter& painter, const RECT& rect, COLORREF colour)
{
    if (IsRectEmpty(rect)) {
        return;
    }
    painter.fillRect(ToQRect(rect), ColorFromRef(colour));
}

void DrawLineTo(QPainter& painter, int x1, int y1, int x2, int y2)
{
    if (x1 == x2 && y1 == y2) {
        return;
    }
    // Thin straight lines are set pixel by pixel from the start up to, not including, the end point,
    // in either direction, as the platform does; Qt would drop the larger end instead.
    const QPen pen = painter.pen();
    if (pen.width() <= 1 && pen.style() == Qt::SolidLine && (x1 == x2 || y1 == y2)) {
        const QColor colour = pen.color();
        if (y1 == y2) {
            const int from = x1 < x2 ? x1 : x2 + 1;
            painter.fillRect(QRect(from, y1, std::abs(x2 - x1), 1), colour);
        } else {
            const int from = y1 < y2 ? y1 : y2 + 1;
            painter.fillRect(QRect(x1, from, 1, std::abs(y2 - y1)), colour);
        }
        return;
    }
    // The renderers' pens have flat ends, with which Qt leaves out one end pixel as the platform does.
    painter.drawLine(x1, y1, x2, y2);
}

void DrawRectOutline(QPainter& painter, const QPen& pen, int left, int top, int right, int bottom)
{
    const QPen old = painter.pen();
    painter.setPen(pen);
    DrawLineTo(painter, left, top, right, top);
    DrawLineTo(painter, right, top, right, bottom);
    DrawLineTo(painter, right, bottom, left, bottom);
    DrawLineTo(painter, left, bottom, left, top);
    painter.setPen(old);
}

RECT FitRectKeepAspect(const RECT& outer, const RECT& source, int* flag)
{
    const int ow = RectWidth(outer);
    const int oh = RectHeight(outer);
    const double sw = RectWidth(source);
    const double sh = RectHeight(source);
    double rx = 1.0;
    double ry = 1.0;
    if (ow >= 1 && oh >= 1) {
        rx = sw / ow;
        ry = sh / oh;
    }
    RECT out{};
    if (rx < ry) {
        const int width = ry != 0.0 ? static_cast<int>(sw / ry) : 0;
        out.left = outer.left + (ow - width) / 2;
        out.right = out.left + width;
        out.top = outer.top;
        out.bottom = outer.bottom;
        if (flag) {
            *flag = 1;
        }
    } else {
        const int height = rx != 0.0 ? static_cast<int>(sh / rx) : 0;
        out.top = outer.top + (oh - height) / 2;
        out.bottom = out.top + height;
        out.left = outer.left;
        out.right = outer.right;
        if (flag) {
            *flag = 0;
        }
    }
    out.left = std::clamp<LONG>(out.left, outer.left, std::max(outer.left, outer.right));
    out.right = std::clamp<LONG>(out.right, outer.left, std::max(outer.left, outer.right));
    out.top = std::clamp<LONG>(out.top, outer.top, std::max(outer.top, outer.bottom));
    out.bottom = std::clamp<LONG>(out.bottom, outer.top, std::max(outer.top, outer.bottom));
    return out;
}

void DrawDoubleBuffered(QPainter& target, const RECT& rect, DoubleBufferedPaint paint, void* context, int value,
                        const QImage* background)
{
    const RECT grown = InflateRect(rect, 1, 1);
    const int w = RectWidth(grown);
    const int h = RectHeight(grown);
    if (w <= 0 || h <= 0 || !paint) {
        return;
    }
    QImage memory(w, h, QImage::Format_RGB32);
    if (memory.isNull()) {
        return;
    }
    memory.fill(Qt::white);
    {
        QPainter mp(&memory);
        if (background) {
            mp.drawImage(0, 0, *background);
        }
        // The callback works in the grown rectangle's own coordinates, as on the window.
        mp.translate(-grown.left, -grown.top);
        paint(mp, grown.left, grown.top, grown.right, grown.bottom, context, value);
    }
    target.drawImage(grown.left, grown.top, memory);
}

int MinimumMarginPixels(int dpi)
{
    return static_cast<int>(dpi * 16 / 25.4);
}

RECT PrintableRectOnPage(const PageGeometry& p)
{
    const int mx = MinimumMarginPixels(p.dpiX);
    const int my = MinimumMarginPixels(p.dpiY);
    RECT r;
    r.left = std::max(mx, p.offX);
    r.top = std::max(my, p.offY);
    r.right = p.pageW - std::max(mx, p.pageW - p.printW - p.offX);
    r.bottom = p.pageH - std::max(my, p.pageH - p.printH - p.offY);
    return r;
}

RECT PrintableRectInDevice(const PageGeometry& p)
{
    return OffsetRect(PrintableRectOnPage(p), -p.offX, -p.offY);
}
