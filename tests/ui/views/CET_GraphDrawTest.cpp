#include "ui/views/CET_GraphDraw.h"

#include "tests/ui/views/ViewImageProbe.h"
#include "ui/views/ZarnTextDrawer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kGrey = 0xA0A0A0;

// A graph of layout 0 at 1000 x 800 with aspect 30 : 15, as the editor shows it.
struct GraphRig {
    CET_GraphDraw graph;
    QImage image = BlankImage(1000, 800);

    void Set(const CharacteristicPoints* points, const std::vector<CET_GraphLine*>* curves = nullptr, int layout = 0,
             int kind = 0, const CET_GraphStyle* style = nullptr)
    {
        graph.SetGraph(kind, "Title", "Exposure", "Level", curves, points, layout, style, 30, 15);
    }
    void Draw()
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        graph.Draw(painter, RECT{0, 0, image.width(), image.height()});
    }
};

CET_GraphLine Curve(std::initializer_list<CET_PointW> points, COLORREF colour = 0x008000)
{
    CET_GraphLine line;
    line.name = "curve";
    line.colour = colour;
    line.points = points;
    return line;
}

} // namespace

TEST(CET_GraphDraw, BeforeSetGraphOnlyFillsWhite)
{
    GraphRig rig;
    ZarnTextLog log;
    rig.Draw();
    EXPECT_EQ(CountColour(rig.image, 0xFFFFFF), 1000 * 800);
    EXPECT_TRUE(log.texts.empty());
    EXPECT_EQ(rig.graph.GetXScale(), 0.0);
}

TEST(CET_GraphDraw, LayoutZeroPlotRectScalesAndConversions)
{
    GraphRig rig;
    CharacteristicPoints points;
    rig.Set(&points);
    rig.Draw();
    EXPECT_EQ(rig.graph.GetPlotRect(), (RECT{80, 141, 970, 586}));
    EXPECT_DOUBLE_EQ(rig.graph.GetXScale(), 44.5);
    EXPECT_DOUBLE_EQ(rig.graph.GetYScale(), 445.0 / 255.0);
    EXPECT_EQ(rig.graph.ValueToPoint(0.0, 0.0), (POINT{525, 586}));
    EXPECT_EQ(rig.graph.ValueToPoint(-10.0, 255.0), (POINT{80, 141}));
    EXPECT_EQ(rig.graph.ValueToPoint(-3.5, 20.0), (POINT{369, 551}));
    EXPECT_DOUBLE_EQ(rig.graph.PixelToX(525), 0.0);
    EXPECT_DOUBLE_EQ(rig.graph.PixelToX(80 + 89), -8.0);
    // Strip rectangle: 23 % of the plot height under it, a fifth of it high.
    EXPECT_EQ(rig.graph.GetStripRect(), (RECT{80, 586 + 102, 970, 586 + 102 + 89}));
    // Plot area colour inside, black frame on its edges, white background outside.
    EXPECT_EQ(PixelRef(rig.image, 200, 300), 0xC0C0C0u);
    EXPECT_EQ(PixelRef(rig.image, 80, 300), 0x000000u);
    EXPECT_EQ(PixelRef(rig.image, 970, 300), 0x000000u);
    EXPECT_EQ(PixelRef(rig.image, 500, 141), 0x000000u);
    EXPECT_EQ(PixelRef(rig.image, 990, 20), 0xFFFFFFu);
}

TEST(CET_GraphDraw, MarkersShowTheirColoursBelowAndAboveTheirLevel)
{
    GraphRig rig;
    CharacteristicPoints points; // CPM -3.5 at 20, DRM -2.5 at 35, DRP +2.5 at 230, CPP +3.5 at 245
    rig.Set(&points);
    rig.Draw();
    const RECT p = rig.graph.GetPlotRect();
    struct Marker {
        double ev;
        int level;
        COLORREF below;
        COLORREF above;
    };
    const Marker markers[] = {{-3.5, 20, kRed, 0x000000}, {-2.5, 35, kGreen, kGrey}, {2.5, 230, kGreen, kGrey},
                              {3.5, 245, kRed, 0x000000}};
    for (const Marker& m : markers) {
        const POINT pt = rig.graph.ValueToPoint(m.ev, m.level);
        EXPECT_GT(CountColour(rig.image, m.below, pt.x - 2, pt.y + 2, pt.x + 3, p.bottom - 1), pt.y - p.bottom)
            << m.ev;
        EXPECT_GT(CountColour(rig.image, m.above, pt.x - 2, p.top + 1, pt.x + 3, pt.y - 2), 0) << m.ev;
        // The horizontal line from the axis to the point.
        EXPECT_GT(CountColour(rig.image, m.below, p.left + 1, pt.y - 1, p.left + 40, pt.y + 2), 20) << m.ev;
    }
    // Triangles under the plot in black (kind 0 draws them).
    const POINT cpm = rig.graph.ValueToPoint(-3.5, 20);
    EXPECT_GT(CountColour(rig.image, 0x000000, cpm.x - 8, p.bottom + 13, cpm.x + 8, p.bottom + 27), 10);
}

TEST(CET_GraphDraw, HiddenPointsDrawNoMarkersAndNoTriangles)
{
    for (int layout : {0, 4, 5}) {
        GraphRig rig;
        rig.Set(nullptr, nullptr, layout);
        rig.Draw();
        EXPECT_TRUE(rig.graph.GetPoints().hidden);
        EXPECT_EQ(CountColour(rig.image, kRed), 0) << layout;
        EXPECT_EQ(CountColour(rig.image, kGreen), 0) << layout;
    }
    GraphRig rig;
    rig.Set(nullptr);
    rig.Draw();
    const RECT p = rig.graph.GetPlotRect();
    EXPECT_EQ(CountColour(rig.image, 0x000000, 360, p.bottom + 13, 380, p.bottom + 27), 0);
}

TEST(CET_GraphDraw, InteractiveKindDrawsNoTriangles)
{
    GraphRig rig;
    CharacteristicPoints points;
    rig.Set(&points, nullptr, 0, CET_GraphDraw::kInteractive);
    rig.Draw();
    const RECT p = rig.graph.GetPlotRect();
    const POINT cpm = rig.graph.ValueToPoint(-3.5, 20);
    EXPECT_EQ(CountColour(rig.image, 0x000000, cpm.x - 8, p.bottom + 13, cpm.x + 8, p.bottom + 27), 0);
    EXPECT_GT(CountColour(rig.image, kRed), 0);
}

TEST(CET_GraphDraw, AxisLabelsAndTitlesAreWritten)
{
    GraphRig rig;
    CharacteristicPoints points;
    ZarnTextLog log;
    rig.Set(&points);
    rig.Draw();
    std::vector<std::string> xLabels;
    std::vector<std::string> yLabels;
    for (const ZarnDrawnText& t : log.texts) {
        if (t.format == (DT_CENTER | DT_TOP | DT_SINGLELINE) && t.rect.top == 586 + 40) {
            xLabels.push_back(t.text);
        } else if (t.format == (DT_RIGHT | DT_VCENTER | DT_SINGLELINE)) {
            yLabels.push_back(t.text);
        }
    }
    const std::vector<std::string> expectedX = {"-10", "-9", "-8", "-7", "-6", "-5", "-4", "-3", "-2", "-1", "0",
                                                "+1",  "+2", "+3", "+4", "+5", "+6", "+7", "+8", "+9", "+10"};
    EXPECT_EQ(xLabels, expectedX);
    EXPECT_EQ(yLabels, (std::vector<std::string>{"0", "50", "100", "150", "200", "250"}));
    const auto zero = std::find_if(log.texts.begin(), log.texts.end(), [](const ZarnDrawnText& t) {
        return t.text == "0" && t.format == (DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    });
    ASSERT_NE(zero, log.texts.end());
    EXPECT_EQ(zero->rect.right, 80 - 5);
    EXPECT_EQ(zero->rect.top, 586 - 43);
    EXPECT_EQ(zero->fontPixels, 11); // 8 points at 96 dpi: 10.67 rounded
    const ZarnDrawnText* title = log.Find("Title");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->rect, (RECT{80, 0, 970, 141}));
    EXPECT_EQ(title->fontPixels, 16);
    const ZarnDrawnText* level = log.Find("Level");
    ASSERT_NE(level, nullptr);
    EXPECT_TRUE(level->turned);
    EXPECT_EQ(level->rect.left, 80 - 80 + 2);
}

TEST(CET_GraphDraw, CurvesSkipPointsOutsideTheAxesWithoutBreakingThePath)
{
    GraphRig rig;
    CET_GraphLine line = Curve({{-5.0, 100.0, 0}, {10.5, 200.0, 1}, {5.0, 100.0, 1}}, 0x008000);
    CET_GraphLine gap = Curve({{-5.0, 50.0, 0}, {5.0, 50.0, 0}}, 0x800000);
    std::vector<CET_GraphLine*> curves{&line, &gap};
    rig.Set(nullptr, &curves);
    rig.Draw();
    const POINT mid = rig.graph.ValueToPoint(0.0, 100.0);
    EXPECT_GT(CountColour(rig.image, 0x008000, mid.x - 5, mid.y - 2, mid.x + 5, mid.y + 3), 5);
    const POINT far = rig.graph.ValueToPoint(8.0, 150.0);
    EXPECT_EQ(CountColour(rig.image, 0x008000, far.x - 20, far.y - 20, far.x + 20, far.y + 20), 0);
    // Connect flag 0 starts a new piece: nothing between the two points of the second curve.
    const POINT gapMid = rig.graph.ValueToPoint(0.0, 50.0);
    EXPECT_EQ(CountColour(rig.image, 0x800000, gapMid.x - 50, gapMid.y - 3, gapMid.x + 50, gapMid.y + 3), 0);
}

TEST(CET_GraphDraw, LegendBoxesOfLayoutOneAndTwo)
{
    CET_GraphLine a = Curve({{-1.0, 10.0, 0}}, 0x800000);
    a.name = "A";
    CET_GraphLine b = a;
    b.name = "B";
    std::vector<CET_GraphLine*> curves{&a, &b, &a, &b};
    for (int layout : {1, 2}) {
        GraphRig rig;
        ZarnTextLog log;
        rig.Set(nullptr, &curves, layout);
        rig.Draw();
        const RECT p = rig.graph.GetPlotRect();
        const int pw = p.right - p.left;
        const int bw = layout == 1 ? pw / 10 : pw / 3;
        const int first = layout == 1 ? p.left + (pw - 4 * bw) / 2 : p.left + (pw - 3 * bw) / 2;
        const int bandTop = p.bottom + ((800 - p.bottom) / 3) * 2;
        std::vector<RECT> boxes;
        for (const ZarnDrawnText& t : log.texts) {
            if (t.text == "A" || t.text == "B") {
                boxes.push_back(t.rect);
            }
        }
        ASSERT_EQ(boxes.size(), 4u);
        const int d = layout == 2 ? 6 : 3;
        EXPECT_EQ(boxes[0].left, first + bw / d);
        EXPECT_EQ(boxes[0].top, bandTop);
        if (layout == 1) {
            EXPECT_EQ(boxes[3].left, first + 3 * bw + bw / d);
            EXPECT_EQ(boxes[3].bottom, 800);
        } else {
            // The fourth curve opens a second row in the lower half of the band.
            EXPECT_EQ(boxes[3].left, first + bw / d);
            EXPECT_EQ(boxes[3].top, bandTop + (800 - bandTop) / 2);
        }
    }
}

TEST(CET_GraphDraw, FormatEvRoundsTenthsHalfAwayFromZero)
{
    const std::pair<double, const char*> cases[] = {
        {-0.04, "0.0EV"}, {0.05, "+0.1EV"}, {-0.05, "-0.1EV"}, {0.0, "0.0EV"}, {2.44, "+2.4EV"}, {-3.5, "-3.5EV"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(CET_GraphDraw::FormatEv(value), text) << value;
    }
}

TEST(CET_GraphDraw, MarkerSettersKeepTheOrderAndTheFirstCurve)
{
    CET_GraphDraw graph;
    CharacteristicPoints points;
    CET_GraphLine first = Curve({{-8.3, 0.0, 0}, {6.0, 255.0, 1}});
    std::vector<CET_GraphLine*> curves{&first};
    graph.SetGraph(1, "", "", "", &curves, &points, 0, nullptr, 30, 15);
    EXPECT_DOUBLE_EQ(graph.SetMarkerLowClip(-12.0), -8.3);
    EXPECT_DOUBLE_EQ(graph.SetMarkerLow(5.0), 0.0);     // stops at CNT
    EXPECT_DOUBLE_EQ(graph.SetMarkerLow(-9.0), -8.3);   // stops at CPM
    EXPECT_DOUBLE_EQ(graph.SetMarkerHigh(-1.0), 0.0);   // stops at CNT
    EXPECT_DOUBLE_EQ(graph.SetMarkerHigh(9.0), 3.5);    // stops at CPP
    EXPECT_DOUBLE_EQ(graph.SetMarkerHighClip(9.5), 6.0); // the first curve ends at 6
    EXPECT_DOUBLE_EQ(graph.SetMarkerHighClip(1.0), 3.5); // not below DRP
    EXPECT_DOUBLE_EQ(graph.SetMarkerMid(7.25), 7.25);     // unchecked
    EXPECT_DOUBLE_EQ(points.ev[0], -3.5);                 // the caller's record is not touched

    CET_GraphDraw bare;
    bare.SetGraph(1, "", "", "", nullptr, &points, 0, nullptr, 30, 15);
    EXPECT_DOUBLE_EQ(bare.SetMarkerLowClip(-12.0), -10.0);
    EXPECT_DOUBLE_EQ(bare.SetMarkerHighClip(12.0), 10.0);
}

TEST(CET_GraphDraw, MarkerQueries)
{
    struct Case {
        double ev[5];
        int index;
        bool canMove, atLimit, tooClose;
    };
    const Case cases[] = {
        {{-3.5, -2.5, 0.0, 2.5, 3.5}, 0, true, false, false},
        {{-3.5, -2.5, 0.0, 2.5, 3.5}, 2, false, false, false},
        {{-2.0, -2.0, 0.0, 2.5, 3.5}, 0, true, true, false},
        {{-2.0, -2.0, 0.0, 2.5, 3.5}, 1, true, true, false},
        {{-0.2, -0.2, 0.0, 2.5, 3.5}, 0, true, true, true},   // exactly 0.2 from CNT
        {{-3.0, -10.0, 0.0, 2.5, 3.5}, 0, false, false, false}, // DRM on the axis minimum
        {{-3.0, -2.0, -3.0, 2.5, 3.5}, 1, false, false, true}, // CNT on CPM
        {{-3.5, -2.5, 0.0, 3.0, 3.0}, 4, true, true, false},
        {{-3.5, -2.5, 0.0, 9.98, 10.0}, 4, false, false, false},
        {{-3.5, -2.5, 0.0, 0.0, 0.03}, 3, false, false, true},
    };
    for (const Case& c : cases) {
        CET_GraphDraw graph;
        CharacteristicPoints points;
        std::copy(std::begin(c.ev), std::end(c.ev), points.ev);
        graph.SetGraph(1, "", "", "", nullptr, &points, 0, nullptr, 30, 15);
        EXPECT_EQ(graph.CanMoveMarker(c.index), c.canMove) << c.ev[0] << " " << c.index;
        EXPECT_EQ(graph.IsMarkerAtLimit(c.index), c.atLimit) << c.ev[0] << " " << c.index;
        EXPECT_EQ(graph.IsMarkerTooClose(c.index), c.tooClose) << c.ev[0] << " " << c.index;
    }
    // With a first curve the clipping points also need room to its ends.
    CET_GraphDraw graph;
    CharacteristicPoints points;
    points.ev[1] = -8.3;
    CET_GraphLine first = Curve({{-8.3, 0.0, 0}, {6.0, 255.0, 1}});
    std::vector<CET_GraphLine*> curves{&first};
    graph.SetGraph(1, "", "", "", &curves, &points, 0, nullptr, 30, 15);
    EXPECT_FALSE(graph.CanMoveMarker(0));
    EXPECT_TRUE(graph.CanMoveMarker(4));
}

TEST(CET_GraphDraw, CompactStripDrawsOnlyLabelsTicksAndTitleTwo)
{
    GraphRig rig;
    ZarnTextLog log;
    CharacteristicPoints points;
    rig.image = BlankImage(1000, 200);
    rig.Set(&points, nullptr, 0, CET_GraphDraw::kStrip);
    rig.Draw();
    EXPECT_LT(CountColour(rig.image, 0xC0C0C0), 50); // no plot area (a few glyph edges at most)
    EXPECT_EQ(CountColour(rig.image, kRed), 0);
    EXPECT_EQ(log.texts.size(), 22u); // 21 labels and title 2
    EXPECT_EQ(log.texts.back().text, "Exposure");
    EXPECT_EQ(log.Find("Title"), nullptr);
}

TEST(CET_GraphDraw, PlotRectangleByKindAndLayout)
{
    struct Case {
        int kind, layout, aspectW, aspectH;
        RECT expected;
    };
    // Drawing rectangle {0, 0, 1000, 800}.
    const Case cases[] = {
        {0, 0, 30, 15, {80, 141, 970, 586}},
        {0, 4, 30, 15, {340, 171, 1000, 501}},  // side-table margins, no right margin
        {0, 5, 30, 15, {80, 16, 970, 461}},     // moved up to 2 % of the height
        {2, 4, 30, 15, {80, 48, 970, 48}},      // the strip has no plot height and no aspect fit
        {0, 0, 0, 15, {80, 48, 970, 680}},      // without an aspect the margins alone decide
    };
    for (const Case& c : cases) {
        CET_GraphDraw graph;
        graph.SetGraph(c.kind, "", "", "", nullptr, nullptr, c.layout, nullptr, c.aspectW, c.aspectH);
        EXPECT_EQ(graph.CalcPlotRect(RECT{0, 0, 1000, 800}), c.expected) << c.kind << " " << c.layout;
    }
}
