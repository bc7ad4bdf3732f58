#include "ui/views/CET_ChartDraw.h"

#include "ui/views/ZarnDrawing.h"
#include "ui/views/ZarnFontBuilder.h"
#include "ui/views/ZarnTextDrawer.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cstdio>

namespace {

// Column 0 shows the ISO speed, columns 1-5 the row's values.
std::string CellText(const CET_ChartData& row, int column)
{
    if (column > 0) {
        return row.GetText(column - 1);
    }
    char iso[16];
    std::snprintf(iso, sizeof iso, "%d", row.iso);
    return iso;
}

} // namespace

CET_ChartDraw::CET_ChartDraw(const ZarnFontBuilder* fonts) : m_fonts(fonts ? fonts : &ZarnFontBuilder::Default()) {}

CET_ChartDraw::~CET_ChartDraw() = default;

void CET_ChartDraw::Clear()
{
    m_rows.clear();
    for (std::string& t : m_titles) {
        t.clear();
    }
}

void CET_ChartDraw::SetData(int preview, const std::vector<std::string>& titles,
                            const std::vector<std::string>& headers, const std::vector<CET_ChartData*>& rows,
                            COLORREF background, COLORREF header, COLORREF band)
{
    Clear();
    m_nPreview = preview;
    m_background = background;
    m_header = header;
    m_band = band;
    for (int i = 0; i < kTitleCount; ++i) {
        m_titles[i] = i < static_cast<int>(titles.size()) ? titles[static_cast<std::size_t>(i)] : std::string();
    }
    for (int i = 0; i < kHeaderCount; ++i) {
        m_headers[i] = i < static_cast<int>(headers.size()) ? headers[static_cast<std::size_t>(i)] : std::string();
    }
    for (const CET_ChartData* row : rows) {
        auto copy = std::make_unique<CET_ChartData>();
        if (row) {
            copy->iso = row->iso;
            copy->hasValues = row->hasValues;
            for (int k = 0; k < 5; ++k) {
                copy->values[k] = row->values[k];
            }
            copy->rowMark = row->rowMark;
            copy->sourceFlag = row->sourceFlag;
        }
        m_rows.push_back(std::move(copy));
    }
}

void CET_ChartDraw::Draw(QPainter& dc, int left, int top, int right, int bottom)
{
    dc.save();
    dc.setBackgroundMode(Qt::TransparentMode);
    const int rh = (bottom - top - 20) / kRowSlots;
    const int cu = (right - left - 20) / 11;
    const int tw = 11 * cu;
    const int x0 = left + (right - left - tw) / 2;
    const int y0 = top + ((bottom - top - 20) % kRowSlots + 20) / 2;
    // Every rectangle below is relative to the table's origin.
    auto at = [x0, y0](int l, int t, int r, int b) { return RECT{x0 + l, y0 + t, x0 + r, y0 + b}; };

    // Screen: 6 points; printer: 8 points at the printer's resolution, both converted at the pinned
    // reference resolution.
    const QPaintDevice* device = dc.device();
    const int dpiY = device ? device->logicalDpiY() : ZarnFontBuilder::kReferenceDpi;
    const int height = m_nPreview ? 60 : -MulDiv(80, dpiY, 72);
    QFont font = m_fonts->Make(height);
    auto columnLeft = [cu](int j) { return j == 0 ? 0 : (2 * j - 1) * cu; };
    auto columnRight = [cu](int j) { return j == 0 ? cu : (2 * j + 1) * cu; };
    if (!m_nPreview) {
        // On paper the rows are shallower than the font's lines and the longest ISO speeds and headers
        // are wider than their columns: the font shrinks until every text stands clear of the grid
        // lines around its cell, and every title line ends above the next.
        const int clear = std::max(1, dpiY / 100);
        const int lineRoom = rh - 2 * clear;
        for (int j = 0; j < kHeaderCount; ++j) {
            std::vector<std::string> texts{m_headers[j]};
            for (const auto& row : m_rows) {
                texts.push_back(CellText(*row, j));
            }
            font = ZarnFontBuilder::FitToRoom(dc, font, texts, columnRight(j) - columnLeft(j) - 2 * clear, lineRoom);
        }
        font = ZarnFontBuilder::FitToRoom(dc, font, {m_titles[0], m_titles[1], m_titles[2]}, 3 * cu - clear, lineRoom);
        font = ZarnFontBuilder::FitToRoom(dc, font, {m_titles[3], m_titles[4], m_titles[5]}, tw - 3 * cu, lineRoom);
    }
    dc.setFont(font);

    for (int k = 0; k < 3; ++k) {
        ZarnTextDrawer::DrawText(dc, m_titles[k], at(0, k * rh, 3 * cu, (k + 1) * rh),
                                 DT_LEFT | DT_TOP | DT_SINGLELINE);
        ZarnTextDrawer::DrawText(dc, m_titles[k + 3], at(3 * cu, k * rh, tw, (k + 1) * rh),
                                 DT_LEFT | DT_TOP | DT_SINGLELINE);
    }
    const int n = static_cast<int>(m_rows.size());
    FillSolidRect(dc, at(0, 3 * rh, tw, 5 * rh), m_header);
    FillSolidRect(dc, at(0, 5 * rh, tw, (n + 5) * rh), m_background);

    for (int j = 0; j < kHeaderCount; ++j) {
        const RECT cell = at(columnLeft(j), 3 * rh, columnRight(j), 5 * rh);
        const std::string& text = m_headers[j];
        if (text.find('\n') != std::string::npos) {
            // Two centred lines, the block centred by its measured height.
            const int textHeight = ZarnTextDrawer::DrawText(dc, text, cell, DT_CENTER | DT_CALCRECT);
            const int blockTop = cell.top + (RectHeight(cell) - textHeight) / 2;
            ZarnTextDrawer::DrawText(dc, text, RECT{cell.left, blockTop, cell.right, cell.bottom}, DT_CENTER);
        } else {
            ZarnTextDrawer::DrawText(dc, text, cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    }

    for (int i = 0; i < n; ++i) {
        const CET_ChartData& row = *m_rows[static_cast<std::size_t>(i)];
        const int rowTop = (i + 5) * rh;
        if (i % 3 == 0) {
            FillSolidRect(dc, at(0, rowTop, tw, rowTop + rh), m_band);
        }
        for (int j = 0; j <= 5; ++j) {
            ZarnTextDrawer::DrawText(dc, CellText(row, j), at(columnLeft(j), rowTop, columnRight(j), rowTop + rh),
                                     DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    }

    // Grid lines with the current pen (black, one pixel).
    dc.setPen(SolidPen(0x000000, 1));
    static constexpr int kVerticals[7] = {0, 1, 3, 5, 7, 9, 11};
    for (int v : kVerticals) {
        DrawLineTo(dc, x0 + v * cu, y0 + 3 * rh, x0 + v * cu, y0 + (n + 5) * rh);
    }
    DrawLineTo(dc, x0, y0 + 3 * rh, x0 + tw, y0 + 3 * rh);
    for (int i = 0; i <= n; ++i) {
        DrawLineTo(dc, x0, y0 + (i + 5) * rh, x0 + tw, y0 + (i + 5) * rh);
    }
    dc.restore();
}
