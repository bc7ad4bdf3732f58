// Small drawing helpers shared by the profile renderers: RECT and COLORREF on QPainter, MulDiv
// (a * b / c in 64 bits, rounded half away from zero; -1 when c is 0 or the result overflows), rectangle outlines, aspect
// fitting, double-buffered painting and the printable rectangle of a page.
#pragma once

#include "platform/WinTypes.h"

#include <QColor>
#include <QPen>
#include <QRect>

class QImage;
class QPainter;

// RECT {l, t, r, b} covers the pixels l..r-1 and t..b-1, as QRect(l, t, r - l, b - t) does.
inline QRect ToQRect(const RECT& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }
inline RECT ToRect(const QRect& r) { return RECT{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }
inline RECT MakeRect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }
inline int RectWidth(const RECT& r) { return r.right - r.left; }
inline int RectHeight(const RECT& r) { return r.bottom - r.top; }
inline bool IsRectEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
inline RECT OffsetRect(RECT r, int dx, int dy) { return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }
inline RECT InflateRect(RECT r, int dx, int dy) { return RECT{r.left - dx, r.top - dy, r.right + dx, r.bottom + dy}; }

// COLORREF is 0x00BBGGRR.
QColor ColorFromRef(COLORREF colour);
COLORREF RefFromColor(const QColor& colour);

// a * b / c rounded half away from zero in 64-bit arithmetic; -1 when c is 0 or the result does not
// fit in an int, as the platform routine does.
int MulDiv(int a, int b, int c);

// Truncating pixel rounding of the renderers: trunc(v + 0.4999999).
inline int PixelRound(double v) { return static_cast<int>(v + 0.4999999); }

// A solid pen of the colour and width; width 0 and 1 both give one-pixel lines.
QPen SolidPen(COLORREF colour, int width);
// A dashed pen of the colour and width with flat ends, for dashed curves.
QPen DashedPen(COLORREF colour, int width);

// Fills {l, t, r, b} with a solid colour.
void FillSolidRect(QPainter& painter, const RECT& rect, COLORREF colour);
// A line from (x1, y1) to (x2, y2); with the flat-ended pens above the end point is not drawn, as with
// the platform's LineTo.
void DrawLineTo(QPainter& painter, int x1, int y1, int x2, int y2);

// Draws the four edges of {l, t, r, b} clockwise from the top-left corner with the pen, then
// restores the painter's previous pen. The right and bottom edges lie on r and b.
void DrawRectOutline(QPainter& painter, const QPen& pen, int left, int top, int right, int bottom);

// The largest rectangle of the source's aspect ratio centred in the outer one and clipped to it.
// flag (when given) becomes 1 when the height decided, 0 when the width did. A ratio of an outer
// side below 1 pixel counts as 1.
RECT FitRectKeepAspect(const RECT& outer, const RECT& source, int* flag = nullptr);

// Paints through an off-screen image: the rectangle is grown by one pixel on every side, an image of
// that size gets the background (the given image at (0, 0), else white), the callback draws into it
// with the grown rectangle's coordinates, and the result is copied to the target in one transfer.
using DoubleBufferedPaint = void (*)(QPainter& memory, int left, int top, int right, int bottom, void* context,
                                     int value);
void DrawDoubleBuffered(QPainter& target, const RECT& rect, DoubleBufferedPaint paint, void* context, int value,
                        const QImage* background = nullptr);

// The part of a page that printing uses, in page coordinates: the page less, on each side, the larger
// of 16 mm and the printer's own unprintable margin. The sides use the horizontal resolution, top and
// bottom the vertical one. pageW/pageH: physical size; offX/offY: physical offsets of the printable
// area; printW/printH: its size; all in device pixels.
struct PageGeometry {
    int pageW = 0;
    int pageH = 0;
    int offX = 0;
    int offY = 0;
    int printW = 0;
    int printH = 0;
    int dpiX = 0;
    int dpiY = 0;
};
// 16 mm at the given resolution, truncated.
int MinimumMarginPixels(int dpi);
RECT PrintableRectOnPage(const PageGeometry& page);
// The same rectangle in the coordinates of the printable area (origin at the physical offsets).
RECT PrintableRectInDevice(const PageGeometry& page);
