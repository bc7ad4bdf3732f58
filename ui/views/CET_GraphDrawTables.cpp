// The two extras of a graph drawn by layout: the EV strip under the plot and the side table left of it.
#include "ui/views/CET_GraphDraw.h"

#include "core/util/CLangTable.h"
#include "ui/views/ZarnDrawing.h"
#include "ui/views/ZarnTextDrawer.h"

#include <QPaintDevice>
#include <QPainter>

#include <cstdio>

namespace {

std::string RangeText(const std::string& caption, double width)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "  %.1fEV", width);
    return caption + buffer;
}

// Frames the upper half of a text rectangle, moved left by dx and up by 7 % of that half.
void FrameText(QPainter& dc, const RECT& r, int dx)
{
    const int half = RectHeight(r) / 2;
    const int up = static_cast<int>(0.07 * half);
    DrawRectOutline(dc, SolidPen(0x000000, 1), r.left - dx, r.top - up, r.right - dx, r.top + half - up);
}

} // namespace

void CET_GraphDraw::DrawEvList(QPainter& dc)
{
    const RECT s = m_rcStrip;
    const int sw = RectWidth(s);
    const int sh = RectHeight(s);
    const QFont oldFont = dc.font();
    dc.setFont(FontFor(dc, m_nLayout == 5 ? 80 : 60, 70));
    FillSolidRect(dc, s, m_style.stripColour);
    const int cw = static_cast<int>(sw / 4.01);
    const int rh = sh / 4;
    const int hr = rh / 2;
    static constexpr int kPoint[4] = {CharacteristicPoints::kCPM, CharacteristicPoints::kDRM, CharacteristicPoints::kDRP,
                                      CharacteristicPoints::kCPP};
    static constexpr int kCaption[4] = {5, 6, 8, 9};
    for (int i = 0; i < 4; ++i) {
        const int x = i < 2 ? s.left + i * cw : s.right - (4 - i) * cw;
        const RECT cell{x, s.top, x + cw, s.top + 2 * rh};
        FillSolidRect(dc, cell, m_style.tint[i]);
        if (i == 1) {
            FillSolidRect(dc, RECT{s.left, cell.bottom, cell.right, cell.bottom + hr}, m_style.tint[0]);
        } else if (i == 2) {
            FillSolidRect(dc, RECT{cell.left, cell.bottom, s.right, cell.bottom + hr}, m_style.tint[3]);
        }
        if (m_points.hidden) {
            continue;
        }
        const int split = x + static_cast<int>(0.7 * cw);
        ZarnTextDrawer::DrawText(dc, FormatEv(m_points.ev[kPoint[i]]), RECT{split, s.top, x + cw, s.top + 2 * rh},
                                 DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        const std::string& caption = m_style.caption[kCaption[i]];
        if (caption.find('\n') != std::string::npos) {
            const int cy = ZarnTextDrawer::LineHeight(dc);
            ZarnTextDrawer::DrawText(dc, caption, RECT{x, s.top + (2 * rh - 2 * cy) / 2, split, s.top + 2 * rh},
                                     DT_CENTER);
        } else {
            ZarnTextDrawer::DrawText(dc, caption, RECT{x, s.top, split, s.top + 2 * rh},
                                     DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    }
    FillSolidRect(dc, RECT{s.left, s.top + 2 * rh + hr, s.right, s.bottom + hr}, m_style.clipRowColour);
    const RECT dynamicRow{s.left + cw, s.top + 2 * rh + hr, s.right - cw, s.top + 3 * rh + hr};
    FillSolidRect(dc, dynamicRow, m_style.stripColour);
    if (!m_points.hidden) {
        const double* ev = m_points.ev;
        ZarnTextDrawer::DrawText(dc, RangeText(m_style.caption[11], RoundEv(ev[3]) - RoundEv(ev[1])), dynamicRow,
                                 DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ZarnTextDrawer::DrawText(dc, RangeText(m_style.caption[10], RoundEv(ev[4]) - RoundEv(ev[0])),
                                 RECT{s.left, s.top + 3 * rh + hr, s.right, s.top + 4 * rh + hr},
                                 DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    dc.setFont(oldFont);
}

void CET_GraphDraw::DrawSideTable(QPainter& dc, const RECT& t)
{
    const int tw = RectWidth(t);
    const int th = RectHeight(t);
    const int r = th / 24;
    const int shift = static_cast<int>(0.005 * tw);
    const int textRight = IsPrinter() ? t.right : t.right - static_cast<int>(0.02 * tw);
    const int pw = PenWidth(dc);
    const QFont oldFont = dc.font();
    const QPen oldPen = dc.pen();
    dc.setFont(FontFor(dc, 50, 70));
    const UINT textFormat = DT_LEFT | DT_TOP;

    // Info items, from the sixth row on.
    bool anyHeading = false;
    const int count = static_cast<int>(m_infos.size());
    for (int i = 0; i < count; ++i) {
        const CET_GraphDrawInfo& info = *m_infos[static_cast<std::size_t>(i)];
        const int top = t.top + (5 + i) * r;
        const int bottom = top + r;
        RECT valueRect;
        if (info.heading) {
            anyHeading = true;
            ZarnTextDrawer::DrawText(dc, info.caption,
                                     RECT{t.left + static_cast<int>(0.01 * tw), top - static_cast<int>(0.5 * r), t.right,
                                          bottom},
                                     textFormat);
            valueRect = RECT{t.left + static_cast<int>(0.02 * tw), top, textRight, bottom};
        } else {
            ZarnTextDrawer::DrawText(
                dc, info.caption,
                RECT{t.left + static_cast<int>(0.01 * tw), top, t.left + static_cast<int>(0.55 * tw), bottom},
                textFormat);
            valueRect = RECT{t.left + static_cast<int>(0.55 * tw), top, textRight, bottom};
        }
        ZarnTextDrawer::DrawText(dc, info.value, valueRect, textFormat);
        FrameText(dc, valueRect, shift);
    }

    const int m = t.top + th / 2;
    const int x1 = t.left + static_cast<int>(0.02 * tw);
    const int x2 = t.left + static_cast<int>(0.2 * tw);
    auto samplePen = [pw](const CET_GraphLine& line) {
        return line.dashed ? DashedPen(line.colour, 2 * pw / 3) : SolidPen(line.colour, pw);
    };
    if (m_nLayout == 3) {
        for (std::size_t i = 0; i < m_curves.size(); ++i) {
            const CET_GraphLine& line = *m_curves[i];
            const int row = m + static_cast<int>(i) * r;
            const int y = ((row + r / 4) + (row + r / 2)) / 2;
            dc.setPen(samplePen(line));
            DrawLineTo(dc, x1, y, x2, y);
            dc.setPen(oldPen);
            const RECT nameRect{x1, row + r / 2, textRight, row + r + r / 2};
            ZarnTextDrawer::DrawText(dc, line.name, nameRect, DT_LEFT | DT_TOP | DT_SINGLELINE);
            FrameText(dc, nameRect, static_cast<int>(0.005 * RectWidth(nameRect)));
        }
        DrawRectOutline(dc, SolidPen(0x000000, 1), t.left + shift, m - r / 2, t.right + shift, m + 6 * r - r / 2);
        const int halfRow = r / 2;
        for (std::size_t j = 0; j < m_lines.size(); ++j) {
            const CET_GraphLine& line = *m_lines[j];
            const int rowTop = m + 6 * r + static_cast<int>(j) * halfRow;
            const int y = rowTop + (halfRow / 2 - pw / 2);
            dc.setPen(samplePen(line));
            DrawLineTo(dc, x1, y, x2, y);
            dc.setPen(oldPen);
            ZarnTextDrawer::DrawText(dc, line.name,
                                     RECT{x2 + static_cast<int>(0.1 * (x2 - x1)), rowTop, textRight, rowTop + halfRow},
                                     DT_LEFT | DT_TOP | DT_SINGLELINE);
        }
    } else if (m_nLayout == 4 && !m_points.hidden) {
        ZarnTextDrawer::DrawText(dc, GetLangString(148),
                                 RECT{t.left + static_cast<int>(0.52 * tw) - 200, m,
                                      t.left + static_cast<int>(0.76 * tw), m + r},
                                 DT_RIGHT | DT_TOP);
        ZarnTextDrawer::DrawText(dc, GetLangString(149), RECT{t.left + static_cast<int>(0.77 * tw), m, t.right, m + r},
                                 DT_CENTER | DT_TOP);
        static constexpr int kOrder[5] = {CharacteristicPoints::kCPP, CharacteristicPoints::kDRP,
                                          CharacteristicPoints::kCNT, CharacteristicPoints::kDRM,
                                          CharacteristicPoints::kCPM};
        for (int k = 0; k < 5; ++k) {
            const int index = kOrder[k];
            const int top = m + (k + 1) * r;
            const int bottom = top + r;
            ZarnTextDrawer::DrawText(dc, m_style.caption[index],
                                     RECT{x1, top, t.left + static_cast<int>(0.54 * tw), bottom}, DT_LEFT | DT_TOP);
            char level[16];
            std::snprintf(level, sizeof level, "%d", m_points.level[index]);
            const RECT levelRect{t.left + static_cast<int>(0.54 * tw), top, t.left + static_cast<int>(0.74 * tw), bottom};
            ZarnTextDrawer::DrawText(dc, level, levelRect, DT_CENTER | DT_TOP);
            FrameText(dc, levelRect, shift);
            if (index != CharacteristicPoints::kCNT) {
                const RECT evRect{t.left + static_cast<int>(0.79 * tw), top, t.left + static_cast<int>(0.99 * tw),
                                  bottom};
                ZarnTextDrawer::DrawText(dc, FormatEv(m_points.ev[index]), evRect, DT_CENTER | DT_TOP);
                FrameText(dc, evRect, shift);
            }
        }
        DrawRectOutline(dc, SolidPen(0x000000, 1), t.left + shift, m - r / 2, t.right + shift, m + 6 * r);
    }

    const int lower = anyHeading ? 0 : static_cast<int>(0.5 * r);
    DrawRectOutline(dc, SolidPen(0x000000, 1), t.left + shift, t.top + 4 * r + lower, t.right + shift,
                    t.top + (count + 5) * r + lower);
    dc.setFont(oldFont);
    dc.setPen(oldPen);
}
