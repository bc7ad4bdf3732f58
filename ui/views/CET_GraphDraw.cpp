#include "ui/views/CET_GraphDraw.h"

#include "core/util/DecimalText.h"
#include "ui/controls/CCustomEdit.h"
#include "ui/views/ZarnDrawing.h"
#include "ui/views/ZarnFontBuilder.h"
#include "ui/views/ZarnTextDrawer.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

int DeviceDpiY(QPainter& dc)
{
    const QPaintDevice* device = dc.device();
    return device ? device->logicalDpiY() : ZarnFontBuilder::kReferenceDpi;
}

// Steps of an axis; a zero or negative step draws only the first tick.
int StepCount(double span, double step)
{
    if (!(step > 0.0) || !(span >= 0.0)) {
        return 0;
    }
    return static_cast<int>(span / step);
}

// "%d", or "+%d" for a positive value when signed is asked for.
std::string IntText(int value, bool withPlus)
{
    char buffer[32];
    if (withPlus && value > 0) {
        std::snprintf(buffer, sizeof buffer, "+%d", value);
    } else {
        std::snprintf(buffer, sizeof buffer, "%d", value);
    }
    return buffer;
}

} // namespace

CET_GraphDraw::CET_GraphDraw(const ZarnFontBuilder* fonts) : m_fonts(fonts ? fonts : &ZarnFontBuilder::Default()) {}

CET_GraphDraw::~CET_GraphDraw() = default;

void CET_GraphDraw::SetGraph(int kind, const std::string& title1, const std::string& title2, const std::string& title3,
                             const std::vector<CET_GraphLine*>* curves, const CharacteristicPoints* points,
                             int layout, const CET_GraphStyle* style, int aspectWidth, int aspectHeight)
{
    m_bGraphSet = 1;
    ClearCurves();
    m_nKind = kind;
    if (curves) {
        for (const CET_GraphLine* line : *curves) {
            auto copy = std::make_unique<CET_GraphLine>();
            if (line) {
                copy->Copy(*line);
            }
            m_curves.push_back(std::move(copy));
        }
    }
    m_title1 = title1;
    m_title2 = title2;
    m_title3 = title3;
    m_nLayout = layout;
    m_nAspectW = aspectWidth;
    m_nAspectH = aspectHeight;
    if (style) {
        m_style = *style;
    } else {
        m_style.SetDefaults();
    }
    if (points) {
        m_points = *points;
    } else {
        m_points.SetDefaults();
        m_points.hidden = 1;
        m_points.further = 0.0;
    }
}

void CET_GraphDraw::SetDrawInfos(const std::vector<CET_GraphDrawInfo*>* infos)
{
    ClearDrawInfos();
    if (!infos) {
        return;
    }
    for (const CET_GraphDrawInfo* info : *infos) {
        m_infos.push_back(std::make_unique<CET_GraphDrawInfo>(info ? *info : CET_GraphDrawInfo()));
    }
}

void CET_GraphDraw::SetLines(const std::vector<CET_GraphLine*>* lines)
{
    ClearLines();
    if (!lines) {
        return;
    }
    for (const CET_GraphLine* line : *lines) {
        auto copy = std::make_unique<CET_GraphLine>();
        if (line) {
            copy->Copy(*line);
        }
        m_lines.push_back(std::move(copy));
    }
}

void CET_GraphDraw::ClearCurves() { m_curves.clear(); }
void CET_GraphDraw::ClearDrawInfos() { m_infos.clear(); }
void CET_GraphDraw::ClearLines() { m_lines.clear(); }

QFont CET_GraphDraw::FontFor(QPainter& dc, int screenTenths, int printerN, int weight) const
{
    const int height = IsPrinter() ? ZarnFontBuilder::PrinterHeight(printerN, DeviceDpiY(dc)) : screenTenths;
    return m_fonts->Make(height, weight);
}

int CET_GraphDraw::PenWidth(QPainter& dc) const
{
    return IsPrinter() ? DeviceDpiY(dc) / 60 : 2;
}

QFont CET_GraphDraw::FitOnPaper(QPainter& dc, const QFont& font, const std::vector<std::string>& texts, int maxWidth,
                                int maxLineHeight) const
{
    return IsPrinter() ? ZarnFontBuilder::FitToRoom(dc, font, texts, maxWidth, maxLineHeight) : font;
}

int CET_GraphDraw::Clearance(QPainter& dc) const
{
    return std::max(1, DeviceDpiY(dc) / 100);
}

std::vector<std::string> CET_GraphDraw::XLabels() const
{
    std::vector<std::string> labels;
    const int nx = StepCount(m_style.xMax - m_style.xMin, m_style.xStep);
    for (int i = 0; i <= nx; ++i) {
        labels.push_back(IntText(static_cast<int>(i * m_style.xStep + m_style.xMin), true));
    }
    return labels;
}

QFont CET_GraphDraw::XLabelFont(QPainter& dc) const
{
    return FontFor(dc, IsSmallLayout() ? 90 : 120, 110);
}

QFont CET_GraphDraw::LegendFont(QPainter& dc, const RECT& box) const
{
    std::vector<std::string> names;
    for (const auto& curve : m_curves) {
        names.push_back(curve->name);
    }
    const int bw = RectWidth(box);
    const int clear = Clearance(dc);
    return FitOnPaper(dc, FontFor(dc, 60, 80), names, bw - bw / (m_nLayout == 2 ? 6 : 3) - clear,
                      RectHeight(box) - clear);
}

RECT CET_GraphDraw::CalcPlotRect(const RECT& r) const
{
    return PlotRectWithin(r, 0);
}

RECT CET_GraphDraw::PlotRectWithin(const RECT& r, int rightInset) const
{
    const int w = RectWidth(r);
    const int h = RectHeight(r);
    RECT p;
    if (m_nKind == kStrip) {
        p.left = r.left + PixelRound(0.08 * w);
        p.top = r.top + PixelRound(0.06 * h);
        p.right = r.right - PixelRound(0.03 * w);
        p.bottom = p.top;
        return p;
    }
    const bool small = IsSmallLayout();
    p.left = r.left + PixelRound((small ? 0.34 : 0.08) * w);
    p.top = r.top + PixelRound(0.06 * h);
    p.right = r.right - rightInset - (small ? 0 : PixelRound(0.03 * w));
    p.bottom = r.bottom - PixelRound((small ? 0.22 : 0.15) * h);
    // Without a usable aspect the margins alone give the plot.
    if (m_nAspectW > 0 && m_nAspectH > 0) {
        p = FitRectKeepAspect(p, RECT{0, 0, m_nAspectW, m_nAspectH});
    }
    if (m_nLayout == 5) {
        p = OffsetRect(p, 0, r.top + static_cast<int>(0.02 * h) - p.top);
    }
    return p;
}

void CET_GraphDraw::Draw(QPainter& dc, const RECT& rect)
{
    if (!m_bGraphSet) {
        FillSolidRect(dc, rect, 0xFFFFFF);
        return;
    }
    dc.save();
    dc.setBackgroundMode(Qt::TransparentMode);
    dc.setPen(SolidPen(0x000000, 1));
    dc.setBrush(Qt::NoBrush);
    FillSolidRect(dc, rect, m_style.background);

    const RECT axis = IsSmallLayout() ? rect : FitRectKeepAspect(rect, RECT{0, 0, 250, 200});
    m_rcDrawn = rect;
    m_rcPlot = CalcPlotRect(rect);
    {
        // No text goes past the drawing rectangle (on paper and in the preview it is the printable
        // area): where half the widest x label would reach beyond its right edge (the plot of the
        // side-table layouts ends there), the plot gives way.
        dc.setFont(XLabelFont(dc));
        int widest = 0;
        for (const std::string& label : XLabels()) {
            widest = std::max(widest, static_cast<int>(ZarnTextDrawer::TextExtent(dc, label).cx));
        }
        const int overhang = (widest + 1) / 2 + Clearance(dc) - (rect.right - m_rcPlot.right);
        if (overhang > 0) {
            m_rcPlot = PlotRectWithin(rect, overhang);
        }
    }
    const RECT& p = m_rcPlot;
    const int h = RectHeight(rect);
    if (m_nKind == kStrip) {
        m_rcStrip = RECT{p.left, rect.top + static_cast<int>(0.55 * h), p.right,
                         rect.bottom - static_cast<int>(0.06 * h)};
    } else {
        const int ph = RectHeight(p);
        const int top = p.bottom + static_cast<int>(0.23 * ph);
        m_rcStrip = RECT{p.left, top, p.right, top + ph / 5};
    }
    const double xSpan = m_style.xMax - m_style.xMin;
    const double ySpan = m_style.yMax - m_style.yMin;
    m_dXScale = xSpan != 0.0 ? RectWidth(p) / xSpan : 0.0;
    m_dYScale = ySpan != 0.0 ? RectHeight(p) / ySpan : 0.0;

    if (m_nKind == kStrip) {
        DrawAxesCompact(dc, axis);
    } else {
        DrawAxes(dc, axis);
        if (!m_points.hidden) {
            const CharacteristicPoints& cp = m_points;
            const COLORREF* mc = m_style.markerColour;
            DrawMarker(dc, cp.ev[CharacteristicPoints::kDRM], cp.level[CharacteristicPoints::kDRM], mc[1], 0xA0A0A0);
            DrawMarker(dc, cp.ev[CharacteristicPoints::kCPM], cp.level[CharacteristicPoints::kCPM], mc[0], 0x000000);
            DrawMarker(dc, cp.ev[CharacteristicPoints::kDRP], cp.level[CharacteristicPoints::kDRP], mc[3], 0xA0A0A0);
            DrawMarker(dc, cp.ev[CharacteristicPoints::kCPP], cp.level[CharacteristicPoints::kCPP], mc[4], 0x000000);
            DrawMarker(dc, cp.ev[CharacteristicPoints::kCNT], cp.level[CharacteristicPoints::kCNT], mc[2], 0x000000);
        }
        // Curves, with legend boxes in layouts 1 and 2.
        const int pw = RectWidth(p);
        const int count = static_cast<int>(m_curves.size());
        const int bw = m_nLayout == 1 ? pw / 10 : (m_nLayout == 2 ? pw / 3 : 0);
        const bool twoRows = m_nLayout == 2 && count > 3;
        const int firstLeft = twoRows ? p.left + (pw - 3 * bw) / 2 : p.left + (pw - count * bw) / 2;
        const int bandTop = p.bottom + ((rect.bottom - p.bottom) / 3) * 2;
        const int bandMid = bandTop + (rect.bottom - bandTop) / 2;
        for (int i = 0; i < count; ++i) {
            RECT box{};
            if (bw > 0) {
                if (twoRows) {
                    const int column = i % 3;
                    box = i < 3 ? RECT{firstLeft + column * bw, bandTop, firstLeft + (column + 1) * bw, bandMid}
                                : RECT{firstLeft + column * bw, bandMid, firstLeft + (column + 1) * bw, rect.bottom};
                } else {
                    box = RECT{firstLeft + i * bw, bandTop, firstLeft + (i + 1) * bw, rect.bottom};
                }
            }
            DrawLine(dc, *m_curves[static_cast<std::size_t>(i)], box);
        }
        if (IsSmallLayout()) {
            const int aw = RectWidth(axis);
            const int gap = static_cast<int>((IsPrinter() ? 0.07 : 0.08) * aw);
            DrawSideTable(dc, RECT{axis.left, axis.top, p.left - gap, axis.bottom});
        }
    }
    if (m_nLayout == 4 || m_nLayout == 5) {
        DrawEvList(dc);
    }
    dc.restore();
}

POINT CET_GraphDraw::ValueToPoint(double ev, double level) const
{
    return POINT{m_rcPlot.left + PixelRound((ev - m_style.xMin) * m_dXScale),
                 m_rcPlot.bottom - PixelRound((level - m_style.yMin) * m_dYScale)};
}

double CET_GraphDraw::PixelToX(int x) const
{
    if (m_dXScale == 0.0) {
        return m_style.xMin;
    }
    return (x - m_rcPlot.left) / m_dXScale + m_style.xMin;
}

void CET_GraphDraw::DrawAxes(QPainter& dc, const RECT& a)
{
    const RECT& p = m_rcPlot;
    const int pw = RectWidth(p);
    const int ph = RectHeight(p);
    const bool small = IsSmallLayout();
    FillSolidRect(dc, p, m_style.plotColour);
    const QPen oldPen = dc.pen();
    dc.setPen(SolidPen(m_style.gridColour, 1));

    // x ticks, grid lines between the first and the last, labels and tick blocks. On paper the labels
    // shrink to fit between their neighbours and above title 2.
    const int clear = Clearance(dc);
    const int nx = StepCount(m_style.xMax - m_style.xMin, m_style.xStep);
    const int hw = static_cast<int>(m_dXScale * m_style.xStep) / 2;
    const std::vector<std::string> xLabels = XLabels();
    const int labelsTop = p.bottom + static_cast<int>(0.09 * ph);
    const int title2Top = p.bottom + static_cast<int>(0.16 * ph);
    dc.setFont(FitOnPaper(dc, XLabelFont(dc), xLabels, 2 * hw - clear, title2Top - labelsTop - clear));
    const int blockW = static_cast<int>(0.015 * pw);
    const int blockH = static_cast<int>(0.012 * ph);
    int x0 = p.left;
    int x1 = p.left;
    for (int i = 0; i <= nx; ++i) {
        const double v = i * m_style.xStep + m_style.xMin;
        const int xi = ValueToPoint(v, m_style.yMin).x;
        if (i == 0) {
            x0 = x1 = xi;
        } else if (i == 1) {
            x1 = xi;
        }
        if (i > 0 && i < nx) {
            DrawLineTo(dc, xi, p.bottom, xi, p.top);
        }
        ZarnTextDrawer::DrawText(dc, xLabels[static_cast<std::size_t>(i)], RECT{xi - hw, labelsTop, xi + hw, a.bottom},
                                 DT_CENTER | DT_TOP | DT_SINGLELINE);
        const int top = p.bottom + static_cast<int>(0.07 * ph);
        FillSolidRect(dc, RECT{xi - blockW / 2, top, xi - blockW / 2 + blockW, top + blockH}, 0x000000);
    }

    // Short ticks on the y axis, a fifth of an x step long.
    const int nMinor = StepCount(m_style.yMax - m_style.yMin, m_style.yMinorStep);
    for (int i = 0; i <= nMinor; ++i) {
        const int y = ValueToPoint(m_style.xMin, i * m_style.yMinorStep + m_style.yMin).y;
        DrawLineTo(dc, x0, y, x0 + (x1 - x0) / 5, y);
    }

    // y labels and grid lines; the left edge of the widest label is kept for the turned caption.
    const int ny = StepCount(m_style.yMax - m_style.yMin, m_style.yLabelStep);
    const int hh = static_cast<int>(m_dYScale * m_style.yLabelStep) / 2;
    std::vector<std::string> yLabels;
    for (int i = 0; i <= ny; ++i) {
        yLabels.push_back(IntText(static_cast<int>(i * m_style.yLabelStep + m_style.yMin), false));
    }
    dc.setFont(FitOnPaper(dc, FontFor(dc, 80, 80, 400), yLabels, 0, 2 * hh - clear));
    const int yLabelsRight = p.left - (IsPrinter() ? 20 : 5);
    int yLabelsLeft = yLabelsRight;
    for (int i = 0; i <= ny; ++i) {
        const double v = i * m_style.yLabelStep + m_style.yMin;
        const int yi = ValueToPoint(m_style.xMin, v).y;
        if (i > 0 && i < ny) {
            DrawLineTo(dc, p.left, yi, p.right, yi);
        }
        const std::string& label = yLabels[static_cast<std::size_t>(i)];
        yLabelsLeft = std::min(yLabelsLeft, yLabelsRight - static_cast<int>(ZarnTextDrawer::TextExtent(dc, label).cx));
        ZarnTextDrawer::DrawText(dc, label, RECT{0, yi - hh, yLabelsRight, yi + hh},
                                 DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    }

    // Titles: above the plot, under the x labels, and turned along the y axis. On paper title 1
    // shrinks to the room above the plot. On paper and on screen titles 2 and 3 share a font that
    // fits title 2 above whatever lies under it (legend boxes, EV strip) and the turned title 3
    // between the left edge of its band and the y labels; where they fit, the font stays as it is.
    const QFont titleFont = FontFor(dc, small ? 100 : 120, 120, 400);
    dc.setFont(FitOnPaper(dc, titleFont, {m_title1}, RectWidth(p), p.top - a.top - clear));
    ZarnTextDrawer::DrawText(dc, m_title1, RECT{p.left, a.top, p.right, p.top}, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    int title2Bottom = a.bottom;
    if (m_nLayout == 4 || m_nLayout == 5) {
        title2Bottom = std::min<int>(title2Bottom, m_rcStrip.top);
    } else if ((m_nLayout == 1 || m_nLayout == 2) && !m_curves.empty()) {
        title2Bottom = std::min<int>(title2Bottom, p.bottom + ((m_rcDrawn.bottom - p.bottom) / 3) * 2);
    }
    const int bandLeft = p.left - static_cast<int>(0.08 * RectWidth(a));
    QFont axisFont = ZarnFontBuilder::FitToRoom(dc, titleFont, {m_title2}, pw, title2Bottom - title2Top - clear);
    axisFont = ZarnFontBuilder::FitToRoom(dc, axisFont, {m_title3}, ph, yLabelsLeft - clear - bandLeft);
    dc.setFont(axisFont);
    ZarnTextDrawer::DrawText(dc, m_title2, RECT{p.left, title2Top, p.right, a.bottom},
                             DT_CENTER | DT_TOP | DT_SINGLELINE);
    if (!m_title3.empty()) {
        const SIZE extent = ZarnTextDrawer::TextExtent(dc, m_title3);
        // On screen the caption stands 2 pixels into its band where that leaves it clear of the y
        // labels; otherwise, and always on paper, where the labels are wider, it is centred in the
        // band left of them.
        const int centred = bandLeft + (yLabelsLeft - clear - extent.cy - bandLeft) / 2;
        const bool leftFits = bandLeft + 2 + extent.cy <= yLabelsLeft - clear;
        const int x = !IsPrinter() && leftFits ? bandLeft + 2 : centred;
        const int y = p.bottom - (p.bottom - extent.cx - p.top) / 2;
        ZarnTextDrawer::TextOut(dc, x, y, m_title3, true);
    }

    dc.setPen(oldPen);
    DrawRectOutline(dc, SolidPen(0x000000, 1), p.left, p.top, p.right, p.bottom);
}

void CET_GraphDraw::DrawAxesCompact(QPainter& dc, const RECT& a)
{
    const RECT& p = m_rcPlot;
    const int pw = RectWidth(p);
    const int ah = RectHeight(a);
    const int labelsTop = p.bottom + static_cast<int>(0.17 * ah);
    dc.setFont(FontFor(dc, IsSmallLayout() ? 100 : 120, 120));
    const int nx = StepCount(m_style.xMax - m_style.xMin, m_style.xStep);
    const int hw = static_cast<int>(m_dXScale * m_style.xStep) / 2;
    const int blockW = static_cast<int>(0.015 * pw);
    for (int i = 0; i <= nx; ++i) {
        const double v = i * m_style.xStep + m_style.xMin;
        const int xi = ValueToPoint(v, m_style.yMin).x;
        const int iv = static_cast<int>(v);
        ZarnTextDrawer::DrawText(dc, IntText(iv, true), RECT{xi - hw, labelsTop + 3, xi + hw, a.bottom},
                                 DT_CENTER | DT_TOP | DT_SINGLELINE);
        FillSolidRect(dc, RECT{xi - blockW / 2, labelsTop, xi - blockW / 2 + blockW, labelsTop + 3}, 0x000000);
    }
    const int titleTop = p.top + static_cast<int>(0.35 * ah);
    ZarnTextDrawer::DrawText(dc, m_title2, RECT{p.left, titleTop, p.right, titleTop + 25},
                             DT_CENTER | DT_TOP | DT_SINGLELINE);
}

void CET_GraphDraw::DrawMarker(QPainter& dc, double ev, double level, COLORREF colour, COLORREF upper)
{
    if (ev < m_style.xMin || ev > m_style.xMax || level < m_style.yMin || level > m_style.yMax) {
        return;
    }
    const RECT& p = m_rcPlot;
    const POINT pt = ValueToPoint(ev, level);
    const int pw = PenWidth(dc);
    const QPen oldPen = dc.pen();
    dc.setPen(SolidPen(upper, pw));
    DrawLineTo(dc, pt.x, pt.y, pt.x, p.top);
    dc.setPen(SolidPen(colour, pw));
    DrawLineTo(dc, pt.x, p.bottom, pt.x, pt.y);
    dc.setPen(SolidPen(colour, pw / 2));
    DrawLineTo(dc, p.left, pt.y, pt.x, pt.y);
    dc.setPen(oldPen);
    if (m_nKind != kInteractive) {
        const double v = 0.03 * RectHeight(p);
        const int d = static_cast<int>(v + 0.499999999);
        const int side = static_cast<int>(v / 1.6 + 0.499999999);
        QPolygon triangle;
        triangle << QPoint(pt.x, p.bottom + d) << QPoint(pt.x - side / 2, p.bottom + 2 * d)
                 << QPoint(pt.x - side / 2 + side, p.bottom + 2 * d);
        const QBrush oldBrush = dc.brush();
        dc.setBrush(Qt::black);
        dc.drawPolygon(triangle);
        dc.setBrush(oldBrush);
    }
}

void CET_GraphDraw::DrawLine(QPainter& dc, const CET_GraphLine& line, const RECT& box)
{
    const int pw = PenWidth(dc);
    const QPen oldPen = dc.pen();
    dc.setPen(line.dashed ? DashedPen(line.colour, pw / 2) : SolidPen(line.colour, pw));
    bool drawn = false;
    POINT last{};
    for (const CET_PointW& pt : line.points) {
        if (pt.x < m_style.xMin || pt.x > m_style.xMax || pt.y < m_style.yMin || pt.y > m_style.yMax) {
            continue;
        }
        const POINT q = ValueToPoint(pt.x, pt.y);
        if (drawn && pt.connect != 0) {
            DrawLineTo(dc, last.x, last.y, q.x, q.y);
        }
        last = q;
        drawn = true;
    }
    if (!IsRectEmpty(box)) {
        const int d = m_nLayout == 2 ? 6 : 3;
        const int bw = RectWidth(box);
        const int mid = box.top + RectHeight(box) / 2;
        DrawLineTo(dc, box.left + 5, mid, box.left + bw / d - 5, mid);
        dc.setFont(LegendFont(dc, box));
        ZarnTextDrawer::DrawText(dc, line.name, RECT{box.left + bw / d, box.top, box.right, box.bottom},
                                 DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
    dc.setPen(oldPen);
}

double CET_GraphDraw::SetMarkerLowClip(double ev)
{
    double kept = std::max(m_style.xMin, std::min(m_points.ev[CharacteristicPoints::kDRM], ev));
    if (const CET_GraphLine* first = FirstCurve(); first && kept < first->GetFirstX()) {
        kept = first->GetFirstX();
    }
    return m_points.ev[CharacteristicPoints::kCPM] = kept;
}

double CET_GraphDraw::SetMarkerLow(double ev)
{
    return m_points.ev[CharacteristicPoints::kDRM] =
               std::max(m_points.ev[CharacteristicPoints::kCPM], std::min(m_points.ev[CharacteristicPoints::kCNT], ev));
}

double CET_GraphDraw::SetMarkerMid(double ev)
{
    return m_points.ev[CharacteristicPoints::kCNT] = ev;
}

double CET_GraphDraw::SetMarkerHigh(double ev)
{
    return m_points.ev[CharacteristicPoints::kDRP] =
               std::min(m_points.ev[CharacteristicPoints::kCPP], std::max(m_points.ev[CharacteristicPoints::kCNT], ev));
}

double CET_GraphDraw::SetMarkerHighClip(double ev)
{
    double kept = std::min(m_style.xMax, std::max(m_points.ev[CharacteristicPoints::kDRP], ev));
    if (const CET_GraphLine* first = FirstCurve(); first && kept > first->GetLastX()) {
        kept = first->GetLastX();
    }
    return m_points.ev[CharacteristicPoints::kCPP] = kept;
}

double CET_GraphDraw::SetMarker(int index, double ev)
{
    switch (index) {
    case 0: return SetMarkerLowClip(ev);
    case 1: return SetMarkerLow(ev);
    case 2: return SetMarkerMid(ev);
    case 3: return SetMarkerHigh(ev);
    case 4: return SetMarkerHighClip(ev);
    default: return 0.0;
    }
}

bool CET_GraphDraw::CanMoveMarker(int index) const
{
    const double* ev = m_points.ev;
    const CET_GraphLine* first = FirstCurve();
    switch (index) {
    case 0:
        return std::fabs(ev[1] - m_style.xMin) > 0.05 && (!first || std::fabs(ev[1] - first->GetFirstX()) > 0.05);
    case 1: return std::fabs(ev[2] - ev[0]) > 0.05;
    case 3: return std::fabs(ev[4] - ev[2]) > 0.05;
    case 4:
        return std::fabs(m_style.xMax - ev[3]) > 0.05 && (!first || std::fabs(first->GetLastX() - ev[3]) > 0.05);
    default: return false;
    }
}

bool CET_GraphDraw::IsMarkerAtLimit(int index) const
{
    const double* ev = m_points.ev;
    if (index == 0 || index == 1) {
        return ev[1] == ev[0];
    }
    if (index == 3 || index == 4) {
        return ev[3] == ev[4];
    }
    return false;
}

bool CET_GraphDraw::IsMarkerTooClose(int index) const
{
    const double* ev = m_points.ev;
    if (index == 0 || index == 1) {
        return std::fabs(ev[2] - ev[0]) <= 0.2;
    }
    if (index == 3 || index == 4) {
        return std::fabs(ev[4] - ev[2]) <= 0.2;
    }
    return false;
}

double CET_GraphDraw::RoundEv(double ev)
{
    const double t = std::trunc(std::fabs(ev) * 10.0 + 0.5);
    return (ev < 0.0 ? -t : t) * 0.1;
}

std::string CET_GraphDraw::FormatEv(double ev)
{
    const double t = std::trunc(std::fabs(ev) * 10.0 + 0.5);
    // Shown with the application's decimal character, written without the C library's locale.
    return DecimalText::Fixed(t == 0.0 ? 0.0 : (ev < 0.0 ? -t : t) * 0.1, 1, CCustomEdit::ApplicationDecimalChar(),
                              t != 0.0) +
           "EV";
}
