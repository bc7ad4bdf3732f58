// Draws one exposure-profile graph (EV along x, 8-bit level along y) into any rectangle of any paint
// device: grid, tick labels, three captions, curves with optional legend boxes, the five
// characteristic points as marker lines, and by layout a side table and an EV strip. It also owns the
// five points while they are dragged: ordered, clamped setters and the queries the interactive graph
// window asks before it lets a marker move.
//
// Kinds: 0 window, 1 interactive window (the host draws the draggable triangles), 2 compact strip
// (x axis only), 3 printer page (pens and fonts follow the device's resolution).
// Layouts 0..5: 0 plain; 1 and 2 legend boxes; 3 side table with curve names; 4 side table with the
// five-point table and the EV strip; 5 EV strip under a plot moved up.
#pragma once

#include "platform/WinTypes.h"
#include "ui/views/CET_GraphDrawInfo.h"
#include "ui/views/CET_GraphLine.h"
#include "ui/views/CET_GraphStyle.h"
#include "ui/views/CharacteristicPoints.h"

#include <memory>
#include <string>
#include <vector>

class QFont;
class QPainter;
class ZarnFontBuilder;

class CET_GraphDraw {
public:
    enum Kind { kWindow = 0, kInteractive = 1, kStrip = 2, kPrinter = 3 };

    // fonts: where the text fonts start from (null: the process-wide default builder).
    explicit CET_GraphDraw(const ZarnFontBuilder* fonts = nullptr);
    virtual ~CET_GraphDraw();
    CET_GraphDraw(const CET_GraphDraw&) = delete;
    CET_GraphDraw& operator=(const CET_GraphDraw&) = delete;

    // Sets the graph: curves, points and style are copied; null points give the default points
    // hidden, null style the default style. Leaves the info items and listed lines as they are.
    void SetGraph(int kind, const std::string& title1, const std::string& title2, const std::string& title3,
                  const std::vector<CET_GraphLine*>* curves, const CharacteristicPoints* points, int layout,
                  const CET_GraphStyle* style, int aspectWidth, int aspectHeight);
    // The side table's info items (copied; null or empty: none).
    void SetDrawInfos(const std::vector<CET_GraphDrawInfo*>* infos);
    // The listed lines of the layout-3 side table (copied; null or empty: none); never drawn in the plot.
    void SetLines(const std::vector<CET_GraphLine*>* lines);
    void ClearCurves();
    void ClearDrawInfos();
    void ClearLines();

    // Draws everything into the rectangle; before any SetGraph only fills it white.
    void Draw(QPainter& dc, const RECT& rect);

    // Conversions with the scales of the last Draw.
    POINT ValueToPoint(double ev, double level) const;
    double PixelToX(int x) const;

    // Marker setters: each clamps, stores and returns the value kept.
    double SetMarkerLowClip(double ev);
    double SetMarkerLow(double ev);
    double SetMarkerMid(double ev);
    double SetMarkerHigh(double ev);
    double SetMarkerHighClip(double ev);
    // The setter of marker index 0..4 (CPM, DRM, CNT, DRP, CPP); other indexes change nothing and
    // return 0.
    double SetMarker(int index, double ev);

    // Marker queries by index 0 CPM, 1 DRM, 2 CNT, 3 DRP, 4 CPP.
    bool CanMoveMarker(int index) const;
    bool IsMarkerAtLimit(int index) const;
    bool IsMarkerTooClose(int index) const;

    // "%.1fEV" of a zero tenth, else "%+.1fEV", the EV rounded to tenths half away from zero.
    static std::string FormatEv(double ev);
    // The EV rounded to tenths as FormatEv rounds it.
    static double RoundEv(double ev);

    // The plot rectangle for a drawing rectangle (kind, layout and aspect as set).
    RECT CalcPlotRect(const RECT& rect) const;

    // What the interactive window and the tests read.
    int GetKind() const { return m_nKind; }
    int GetLayout() const { return m_nLayout; }
    const CET_GraphStyle& GetStyle() const { return m_style; }
    const CharacteristicPoints& GetPoints() const { return m_points; }
    const RECT& GetPlotRect() const { return m_rcPlot; }
    const RECT& GetStripRect() const { return m_rcStrip; }
    double GetXScale() const { return m_dXScale; }
    double GetYScale() const { return m_dYScale; }
    bool IsGraphSet() const { return m_bGraphSet != 0; }
    const std::vector<std::unique_ptr<CET_GraphLine>>& GetCurves() const { return m_curves; }
    const std::vector<std::unique_ptr<CET_GraphLine>>& GetLines() const { return m_lines; }
    const std::vector<std::unique_ptr<CET_GraphDrawInfo>>& GetDrawInfos() const { return m_infos; }

    // Part of Draw, exposed for the hosts that draw a strip or a table alone.
    void DrawAxes(QPainter& dc, const RECT& axis);
    void DrawAxesCompact(QPainter& dc, const RECT& axis);
    void DrawMarker(QPainter& dc, double ev, double level, COLORREF colour, COLORREF upper);
    void DrawLine(QPainter& dc, const CET_GraphLine& line, const RECT& box);
    void DrawEvList(QPainter& dc);
    void DrawSideTable(QPainter& dc, const RECT& table);

private:
    // The plot rectangle with the drawing rectangle's right edge moved in by rightInset before the
    // aspect is fitted.
    RECT PlotRectWithin(const RECT& rect, int rightInset) const;
    // The pixel height of H tenths of a point on screen kinds, or of N points on the printer kind.
    QFont FontFor(QPainter& dc, int screenTenths, int printerN, int weight = 0) const;
    // On the printer kind the font shrunk until the texts fit the room (see ZarnFontBuilder::FitToRoom);
    // the screen kinds keep their fonts as they are.
    QFont FitOnPaper(QPainter& dc, const QFont& font, const std::vector<std::string>& texts, int maxWidth,
                     int maxLineHeight) const;
    // The space kept between printed texts and their neighbours: a hundredth of an inch.
    int Clearance(QPainter& dc) const;
    // The x tick labels, from the minimum to the maximum.
    std::vector<std::string> XLabels() const;
    QFont XLabelFont(QPainter& dc) const;
    // The font of the legend names, fitted on paper to boxes of the given size.
    QFont LegendFont(QPainter& dc, const RECT& box) const;
    // The side table's font, fitted on paper to the table's rows, columns and frames.
    QFont SideTableFont(QPainter& dc, const RECT& table, int textRight, int listedLeft) const;
    int PenWidth(QPainter& dc) const;
    bool IsPrinter() const { return m_nKind == kPrinter; }
    bool IsSmallLayout() const { return m_nLayout == 3 || m_nLayout == 4; }
    const CET_GraphLine* FirstCurve() const { return m_curves.empty() ? nullptr : m_curves.front().get(); }

    int m_nKind = 0;
    std::vector<std::unique_ptr<CET_GraphLine>> m_curves;
    std::string m_title1;
    std::string m_title2;
    std::string m_title3;
    int m_nLayout = 1;
    CET_GraphStyle m_style;
    CharacteristicPoints m_points;
    std::vector<std::unique_ptr<CET_GraphLine>> m_lines;
    const ZarnFontBuilder* m_fonts;
    RECT m_rcPlot{};
    RECT m_rcStrip{};
    RECT m_rcDrawn{}; // the drawing rectangle of the last Draw
    double m_dXScale = 0.0;
    double m_dYScale = 0.0;
    int m_bGraphSet = 0;
    int m_nAspectW = 0;
    int m_nAspectH = 0;
    std::vector<std::unique_ptr<CET_GraphDrawInfo>> m_infos;
};
