// The EV strip and the side table that layouts 3 to 5 add to a graph.
#include "ui/views/CET_GraphDraw.h"

#include "core/util/CLangTable.h"
#include "tests/ui/views/ViewImageProbe.h"
#include "ui/views/ZarnTextDrawer.h"

#include <gtest/gtest.h>

namespace {

CET_GraphStyle CaptionedStyle()
{
    CET_GraphStyle style;
    const char* names[] = {"CPM", "DRM", "CNT", "DRP", "CPP", "Low\nclip", "Low", "Mid", "High", "High clip",
                           "Clip range", "Dynamic range"};
    for (int i = 0; i < CET_GraphStyle::kCaptionCount; ++i) {
        style.caption[i] = names[i];
    }
    return style;
}

struct TableRig {
    CET_GraphDraw graph;
    QImage image = BlankImage(1200, 700);
    ZarnTextLog log;

    void Draw(int layout, const CharacteristicPoints* points, int kind = 0)
    {
        const CET_GraphStyle style = CaptionedStyle();
        graph.SetGraph(kind, "t1", "t2", "t3", nullptr, points, layout, &style, 30, 15);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        graph.Draw(painter, RECT{0, 0, image.width(), image.height()});
    }
};

} // namespace

TEST(CET_GraphDrawTables, EvStripShowsRoundedRangesAndPointTexts)
{
    TableRig rig;
    rig.image = BlankImage(1000, 800);
    CharacteristicPoints points;
    points.ev[CharacteristicPoints::kDRM] = -2.46;
    points.ev[CharacteristicPoints::kDRP] = 2.44;
    rig.Draw(5, &points);
    EXPECT_NE(rig.log.Find("Dynamic range  4.9EV"), nullptr);
    EXPECT_NE(rig.log.Find("Clip range  7.0EV"), nullptr);
    EXPECT_NE(rig.log.Find("-2.5EV"), nullptr);
    EXPECT_NE(rig.log.Find("+2.4EV"), nullptr);
    EXPECT_EQ(rig.log.Find("Mid"), nullptr); // caption 7 is never drawn
    // A caption with a line feed is written as centred lines, one without on a single line.
    const ZarnDrawnText* twoLines = rig.log.Find("Low\nclip");
    ASSERT_NE(twoLines, nullptr);
    EXPECT_EQ(twoLines->format, DT_CENTER);
    const ZarnDrawnText* oneLine = rig.log.Find("High clip");
    ASSERT_NE(oneLine, nullptr);
    EXPECT_EQ(oneLine->format, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    // Colours: strip background, the CPM tint in the first cell, the clipping row.
    const RECT s = rig.graph.GetStripRect();
    const int cw = static_cast<int>((s.right - s.left) / 4.01);
    const int rh = (s.bottom - s.top) / 4;
    EXPECT_EQ(PixelRef(rig.image, s.left + 2, s.top + 2), 0x7A7AFFu);
    EXPECT_EQ(PixelRef(rig.image, s.left + cw + 2, s.top + 2), 0x7AFF7Au);
    EXPECT_EQ(PixelRef(rig.image, s.left + cw + 2, s.top + 2 * rh + 1), 0x7A7AFFu); // band under CPM and DRM
    EXPECT_EQ(PixelRef(rig.image, s.left + 2, s.top + 3 * rh), 0xFFAF95u);
    EXPECT_EQ(PixelRef(rig.image, s.left + cw + 2, s.top + 3 * rh), 0x7AFFFFu); // dynamic-range row
}

TEST(CET_GraphDrawTables, HiddenPointsLeaveColoursButNoTexts)
{
    TableRig rig;
    rig.Draw(4, nullptr);
    for (const ZarnDrawnText& t : rig.log.texts) {
        EXPECT_EQ(t.text.find("EV"), std::string::npos) << t.text;
    }
    EXPECT_EQ(rig.log.Find(GetLangString(148)), nullptr);
    EXPECT_EQ(rig.log.Find("CPP"), nullptr);
    const RECT s = rig.graph.GetStripRect();
    EXPECT_EQ(PixelRef(rig.image, s.left + 2, s.top + 2), 0x7A7AFFu);
}

TEST(CET_GraphDrawTables, LayoutFourSideTableListsInfoItemsAndTheFivePoints)
{
    TableRig rig;
    CET_GraphDrawInfo name{"Profile", "Studio", 0};
    CET_GraphDrawInfo iso{"ISO", "100", 1};
    std::vector<CET_GraphDrawInfo*> infos{&name, &iso};
    rig.graph.SetDrawInfos(&infos);
    CharacteristicPoints points;
    rig.Draw(4, &points);
    // Side table T = {0, 0, P.left - trunc(0.08 * 1200), 700}; r = 700 / 24 = 29.
    const int tw = rig.graph.GetPlotRect().left - 96;
    const ZarnDrawnText* studio = rig.log.Find("Studio");
    ASSERT_NE(studio, nullptr);
    EXPECT_EQ(studio->rect, (RECT{static_cast<int>(0.55 * tw), 5 * 29, tw - static_cast<int>(0.02 * tw), 6 * 29}));
    const ZarnDrawnText* heading = rig.log.Find("ISO");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->rect.top, 6 * 29 - 14);
    ASSERT_FALSE(GetLangString(148).empty());
    EXPECT_NE(rig.log.Find(GetLangString(148)), nullptr);
    EXPECT_NE(rig.log.Find(GetLangString(149)), nullptr);
    // Rows CPP, DRP, CNT, DRM, CPM from the middle down; CNT has a level but no EV.
    std::vector<std::string> captions;
    for (const ZarnDrawnText& t : rig.log.texts) {
        if (t.format == (DT_LEFT | DT_TOP) && t.text.size() == 3 && t.text != "ISO" && t.text != "100" && t.text.find("EV") == std::string::npos &&
            t.text[0] >= 'A') {
            captions.push_back(t.text);
        }
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"CPP", "DRP", "CNT", "DRM", "CPM"}));
    EXPECT_NE(rig.log.Find("118"), nullptr);
    EXPECT_EQ(rig.log.Find("0.0EV"), nullptr);
    EXPECT_NE(rig.log.Find("+3.5EV"), nullptr);
}

TEST(CET_GraphDrawTables, LayoutThreeListsCurveAndLineNamesButNoPointTable)
{
    TableRig rig;
    CET_GraphLine listed;
    listed.name = "Reference";
    listed.colour = 0x0000FF;
    std::vector<CET_GraphLine*> lines{&listed};
    rig.graph.SetLines(&lines);
    CharacteristicPoints points;
    rig.Draw(3, &points);
    EXPECT_NE(rig.log.Find("Reference"), nullptr);
    EXPECT_EQ(rig.log.Find("CPP"), nullptr);
    EXPECT_EQ(rig.log.Find(GetLangString(148)), nullptr);
    // The listed line's sample is drawn in its colour inside the side table only.
    const int tableRight = rig.graph.GetPlotRect().left;
    EXPECT_GT(CountColour(rig.image, 0x0000FF, 0, 350, tableRight, 700), 0);
}

TEST(CET_GraphDrawTables, PrinterKindRunsValuesToTheTableEdge)
{
    TableRig rig;
    CET_GraphDrawInfo name{"Profile", "Studio", 0};
    std::vector<CET_GraphDrawInfo*> infos{&name};
    rig.graph.SetDrawInfos(&infos);
    CharacteristicPoints points;
    rig.Draw(4, &points, CET_GraphDraw::kPrinter);
    const int tw = rig.graph.GetPlotRect().left - static_cast<int>(0.07 * 1200);
    const ZarnDrawnText* studio = rig.log.Find("Studio");
    ASSERT_NE(studio, nullptr);
    EXPECT_EQ(studio->rect.right, tw);
}
