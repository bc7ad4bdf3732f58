// The two extras of a graph drawn by layout: the EV strip under the plot and the side table left of it.
#include "ui/views/CET_GraphDraw.h"

#include "core/util/CLangTable.h"
#include "core/util/DecimalText.h"
#include "ui/controls/CCustomEdit.h"
#include "ui/views/ZarnDrawing.h"
#include "ui/views/ZarnFontBuilder.h"
#include "ui/views/ZarnTextDrawer.h"

#include <QPaintDevice>
#include <QPainter>

#include <cstdio>
#include <string>

namespace {

std::string RangeText(const std::string& caption, double width)
{
    return caption + "  " + DecimalText::Fixed(width, 1, CCustomEdit::ApplicationDecimalChar()) + "EV";
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
    FillSolidRect(dc, s, m_style.stripColour);
    const int cw = static_cast<int>(sw / 4.01);
    const int rh = sh / 4;
    const int hr = rh / 2;
    static constexpr int kPoint[4] = {CharacteristicPoints::kCPM, CharacteristicPoints::kDRM, CharacteristicPoints::kDRP,
                                      CharacteristicPoints::kCPP};
    static constexpr int kCaption[4] = {5, 6, 8, 9};
    const double* ev = m_points.ev;
    const std::string dynamicText = RangeText(m_style.caption[11], RoundEv(ev[3]) - RoundEv(ev[1]));
    const std::string clipText = RangeText(m_style.caption[10], RoundEv(ev[4]) - RoundEv(ev[0]));
    // On paper one font fits every text into its cell part and range row.
    const int clear = Clearance(dc);
    QFont font = FontFor(dc, m_nLayout == 5 ? 80 : 60, 70);
    std::vector<std::string> evTexts;
    std::vector<std::string> captions;
    for (int i = 0; i < 4; ++i) {
        evTexts.push_back(FormatEv(ev[kPoint[i]]));
        captions.push_back(m_style.caption[kCaption[i]]);
    }
    font = FitOnPaper(dc, font, evTexts, cw - static_cast<int>(0.7 * cw) - clear, rh - clear);
    font = FitOnPaper(dc, font, captions, static_cast<int>(0.7 * cw) - clear, rh - clear);
    font = FitOnPaper(dc, font, {dynamicText}, sw - 2 * cw - clear, rh - clear);
    font = FitOnPaper(dc, font, {clipText}, sw - clear, rh - clear);
    dc.setFont(font);
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
        ZarnTextDrawer::DrawText(dc, evTexts[static_cast<std::size_t>(i)], RECT{split, s.top, x + cw, s.top + 2 * rh},
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
        ZarnTextDrawer::DrawText(dc, dynamicText, dynamicRow, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ZarnTextDrawer::DrawText(dc, clipText, RECT{s.left, s.top + 3 * rh + hr, s.right, s.top + 4 * rh + hr},
                                 DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    dc.setFont(oldFont);
}

QFont CET_GraphDraw::SideTableFont(QPainter& dc, const RECT& t, int textRight, int listedLeft) const
{
    QFont font = FontFor(dc, 50, 70);
    if (!IsPrinter()) {
        return font;
    }
    // On paper every text must fit inside its frame (the upper half of its row, lifted a little) and
    // end before the next frame or column, so the table's one font shrinks until all of them do.
    const int tw = RectWidth(t);
    const int r = RectHeight(t) / 24;
    const int shift = static_cast<int>(0.005 * tw);
    const int clear = Clearance(dc);
    const int framed = r / 2 - static_cast<int>(0.07 * (r / 2)) - clear;
    const auto at = [&t, tw](double fraction) { return t.left + static_cast<int>(fraction * tw); };
    const auto fit = [&](const std::vector<std::string>& texts, int width, int height) {
        font = ZarnFontBuilder::FitToRoom(dc, font, texts, width - clear, height);
    };
    for (const auto& info : m_infos) {
        if (info->heading) {
            fit({info->caption}, t.right - at(0.01), framed);
            fit({info->value}, textRight - shift - at(0.02), framed);
        } else {
            fit({info->caption}, at(0.55) - shift - at(0.01), framed);
            fit({info->value}, textRight - shift - at(0.55), framed);
        }
    }
    if (m_nLayout == 3) {
        for (const auto& curve : m_curves) {
            fit({curve->name}, textRight - at(0.02), framed);
        }
        for (const auto& line : m_lines) {
            fit({line->name}, textRight - listedLeft, r / 2 - clear);
        }
    } else if (m_nLayout == 4 && !m_points.hidden) {
        fit({GetLangString(148)}, at(0.76) - (at(0.52) - 200), r - clear);
        fit({GetLangString(149)}, t.right - at(0.77), r - clear);
        std::vector<std::string> captions;
        std::vector<std::string> values;
        for (int k = 0; k < 5; ++k) {
            captions.push_back(m_style.caption[k]);
            values.push_back(std::to_string(m_points.level[k]));
            values.push_back(FormatEv(m_points.ev[k]));
        }
        fit(captions, at(0.54) - shift - at(0.02), r - clear);
        fit(values, at(0.74) - at(0.54), framed);
    }
    return font;
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
    const UINT textFormat = DT_LEFT | DT_TOP;
    const int m = t.top + th / 2;
    const int x1 = t.left + static_cast<int>(0.02 * tw);
    const int x2 = t.left + static_cast<int>(0.2 * tw);
    const int listedLeft = x2 + static_cast<int>(0.1 * (x2 - x1));
    dc.setFont(SideTableFont(dc, t, textRight, listedLeft));

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
            ZarnTextDrawer::DrawText(dc, line.name, RECT{listedLeft, rowTop, textRight, rowTop + halfRow},
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
