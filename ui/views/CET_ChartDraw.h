// Draws a profile's data table (one row per ISO speed with five EV values) into any rectangle of any
// paint device: the table window, its preview and the printed page use the same code. The rectangle
// holds 72 row slots: three title lines, two header rows and up to 67 data rows.
#pragma once

#include "platform/WinTypes.h"
#include "ui/views/CET_ChartData.h"

#include <memory>
#include <string>
#include <vector>

class QPainter;
class ZarnFontBuilder;

class CET_ChartDraw {
public:
    static constexpr int kTitleCount = 6;
    static constexpr int kHeaderCount = 6;
    static constexpr int kRowSlots = 72;

    // fonts: where the text font starts from (null: the process-wide default builder).
    explicit CET_ChartDraw(const ZarnFontBuilder* fonts = nullptr);
    virtual ~CET_ChartDraw();
    CET_ChartDraw(const CET_ChartDraw&) = delete;
    CET_ChartDraw& operator=(const CET_ChartDraw&) = delete;

    // preview: 1 screen, 0 printer. titles: three left texts, then three right texts (missing ones
    // empty); headers: the first six are taken. Rows are copied (ISO, has-values flag, the five values,
    // row mark and source flag).
    void SetData(int preview, const std::vector<std::string>& titles, const std::vector<std::string>& headers,
                 const std::vector<CET_ChartData*>& rows, COLORREF background, COLORREF header, COLORREF band);
    void Draw(QPainter& dc, int left, int top, int right, int bottom);
    // Deletes the rows and empties the titles.
    void Clear();

    int GetPreview() const { return m_nPreview; }
    const std::vector<std::unique_ptr<CET_ChartData>>& GetRows() const { return m_rows; }
    const std::string& GetTitle(int i) const { return m_titles[i]; }
    const std::string& GetHeader(int i) const { return m_headers[i]; }
    COLORREF GetBackgroundColour() const { return m_background; }
    COLORREF GetHeaderColour() const { return m_header; }
    COLORREF GetBandColour() const { return m_band; }

private:
    const ZarnFontBuilder* m_fonts;
    int m_nPreview = 0;
    COLORREF m_background = 0xFFFFFF;
    COLORREF m_header = 0xE1E1E1;
    COLORREF m_band = 0xF0F0F0;
    std::string m_titles[kTitleCount];
    std::string m_headers[kHeaderCount];
    std::vector<std::unique_ptr<CET_ChartData>> m_rows;
};
