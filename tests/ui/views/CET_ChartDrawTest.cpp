#include "ui/views/CET_ChartDraw.h"

#include "tests/ui/views/ViewImageProbe.h"
#include "ui/views/ZarnTextDrawer.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// 67 rows, one per ISO of the list, every second one with values.
struct ChartRows {
    std::vector<std::unique_ptr<CET_ChartData>> owned;
    std::vector<CET_ChartData*> rows;

    explicit ChartRows(int count)
    {
        for (int i = 0; i < count; ++i) {
            auto row = std::make_unique<CET_ChartData>();
            row->iso = 100 + i;
            row->hasValues = i % 2 == 0;
            for (int k = 0; k < 5; ++k) {
                row->values[k] = k - 2.0;
            }
            row->further = 9.0;
            row->ints[0] = 7;
            row->rowMark = i == 4;
            rows.push_back(row.get());
            owned.push_back(std::move(row));
        }
    }
};

const std::vector<std::string> kTitles = {"Profile", "Light", "Metering", "Studio", "Flash", "Incident"};
const std::vector<std::string> kHeaders = {"ISO", "CPM", "DRM", "Mid\ngrey", "DRP", "CPP", "ignored"};

} // namespace

TEST(CET_ChartData, GetTextRoundsTenthsAndLeavesEmptyCells)
{
    CET_ChartData row;
    row.hasValues = 1;
    const double values[5] = {-0.04, 0.05, -0.05, 2.449, -12.35};
    std::copy(std::begin(values), std::end(values), row.values);
    EXPECT_EQ(row.GetText(0), "0.0");
    EXPECT_EQ(row.GetText(1), "+0.1");
    EXPECT_EQ(row.GetText(2), "-0.1");
    EXPECT_EQ(row.GetText(3), "+2.4");
    EXPECT_EQ(row.GetText(4), "-12.4");
    EXPECT_EQ(row.GetText(5), "");
    EXPECT_EQ(row.GetText(-1), "");
    row.hasValues = 0;
    EXPECT_EQ(row.GetText(0), "");
}

TEST(CET_ChartDraw, SetDataCopiesWhatTheTableShows)
{
    ChartRows data(3);
    CET_ChartDraw chart;
    chart.SetData(1, kTitles, kHeaders, data.rows, 0x010203, 0x040506, 0x070809);
    data.rows[0]->iso = 1;
    ASSERT_EQ(chart.GetRows().size(), 3u);
    EXPECT_EQ(chart.GetRows()[0]->iso, 100);
    EXPECT_EQ(chart.GetRows()[0]->further, 0.0); // the forms' extra fields are not copied
    EXPECT_EQ(chart.GetRows()[0]->ints[0], 0);
    EXPECT_EQ(chart.GetHeader(5), "CPP");
    EXPECT_EQ(chart.GetTitle(3), "Studio");
    EXPECT_EQ(chart.GetBandColour(), 0x070809u);
    chart.SetData(0, {"only"}, {}, {}, 0xFFFFFF, 0xE1E1E1, 0xF0F0F0);
    EXPECT_TRUE(chart.GetRows().empty());
    EXPECT_EQ(chart.GetTitle(1), "");
    EXPECT_EQ(chart.GetHeader(0), "");
}

TEST(CET_ChartDraw, SixtySevenRowsFillTheSeventyTwoSlots)
{
    ChartRows data(67);
    CET_ChartDraw chart;
    chart.SetData(1, kTitles, kHeaders, data.rows, 0xFFFFFF, 0xE1E1E1, 0xF0F0F0);
    QImage image = BlankImage(1120, 740);
    ZarnTextLog log;
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        chart.Draw(painter, 0, 0, 1120, 740);
    }
    // rh = 720 / 72 = 10, cu = 1100 / 11 = 100, origin (10, 10).
    EXPECT_EQ(PixelRef(image, 12, 42), 0xE1E1E1u);  // header band
    EXPECT_EQ(PixelRef(image, 12, 62), 0xF0F0F0u);  // data row 0 banded
    EXPECT_EQ(PixelRef(image, 12, 72), 0xFFFFFFu);  // data row 1
    EXPECT_EQ(PixelRef(image, 12, 92), 0xF0F0F0u);  // data row 3 banded
    EXPECT_EQ(PixelRef(image, 12, 722), 0xF0F0F0u); // data row 66 banded
    EXPECT_EQ(PixelRef(image, 500, 730), 0x000000u); // last horizontal line at 72 slots
    EXPECT_EQ(PixelRef(image, 500, 732), 0xFF00FFu); // nothing under the table
    // The seven verticals, and nothing else black across a row between two lines.
    std::vector<int> blacks;
    for (int x = 0; x < 1120; ++x) {
        if (PixelRef(image, x, 61) == 0) {
            blacks.push_back(x);
        }
    }
    EXPECT_EQ(blacks, (std::vector<int>{10, 110, 310, 510, 710, 910, 1110}));
    // Verticals start at the header, not at the titles.
    EXPECT_NE(PixelRef(image, 110, 35), 0x000000u);
    EXPECT_EQ(PixelRef(image, 110, 41), 0x000000u);

    const ZarnDrawnText* two = log.Find("Mid\ngrey");
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->format, DT_CENTER);
    EXPECT_EQ(two->rect.left, 10 + 500);
    const ZarnDrawnText* one = log.Find("CPM");
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->format, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_EQ(one->rect, (RECT{110, 40, 310, 60}));
    EXPECT_EQ(log.Find("ignored"), nullptr);
    const ZarnDrawnText* title = log.Find("Flash");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->rect, (RECT{310, 20, 1110, 30}));
    EXPECT_EQ(title->fontPixels, 8); // 6 points at the reference 96 dpi
    // A row without values shows only its ISO.
    const ZarnDrawnText* iso101 = log.Find("101");
    ASSERT_NE(iso101, nullptr);
    EXPECT_EQ(iso101->rect, (RECT{10, 70, 110, 80}));
    EXPECT_EQ(log.Find("-2.0"), &*std::find_if(log.texts.begin(), log.texts.end(),
                                                [](const ZarnDrawnText& t) { return t.text == "-2.0"; }));
    EXPECT_EQ(std::count_if(log.texts.begin(), log.texts.end(), [](const ZarnDrawnText& t) { return t.text == "-2.0"; }),
              34);
}

TEST(CET_ChartDraw, SlackIsSplitEvenlyAboveAndBelow)
{
    ChartRows data(1);
    CET_ChartDraw chart;
    chart.SetData(1, kTitles, kHeaders, data.rows, 0xFFFFFF, 0xE1E1E1, 0xF0F0F0);
    QImage image = BlankImage(1120, 800);
    {
        QPainter painter(&image);
        chart.Draw(painter, 0, 20, 1120, 800); // 780 high: 760 = 72 * 10 + 40
    }
    // origin y = 20 + (40 + 20) / 2 = 50, so 30 pixels free above and 800 - (50 + 720) = 30 below;
    // the header band starts at 50 + 30.
    EXPECT_EQ(PixelRef(image, 1000, 79), 0xFF00FFu);
    EXPECT_EQ(PixelRef(image, 1000, 81), 0xE1E1E1u);
}
