// The order of a measured chart curve: levels that rise, tie where the photograph clips or dip by
// a few levels of noise follow the chart; a fall beyond the noise does not.
#include "profilelib/ZarnLib_ChartPatchOrder.h"
#include "profilelib/ZarnLib_CnvPolyLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

ZarnLib_CnvPolyLine Curve(const std::vector<double>& levels)
{
    std::vector<_ZARNLIB_VECTOR2> points;
    for (std::size_t k = 0; k < levels.size(); ++k)
        points.push_back({static_cast<double>(k), levels[k]});
    ZarnLib_CnvPolyLine curve;
    curve.SetPoints(points.data(), static_cast<int>(points.size()), false);
    return curve;
}

TEST(ChartPatchOrder, RisingTiedAndNoisyCurvesFollowTheChartAFallDoesNot)
{
    struct Case {
        const char* what;
        std::vector<double> levels;
        bool follows;
    } cases[] = {
        {"rising", {12, 30, 61, 98, 140, 190, 231}, true},
        {"clipped at both ends", {0, 0, 0, 40, 120, 255, 255}, true},
        {"all clipped", {255, 255, 255, 255, 255, 255}, true},
        {"a dip of five levels", {20, 60, 100, 95, 140, 180, 220}, true},
        {"a dip of six levels", {20, 60, 100, 94, 140, 180, 220}, false},
        {"below an earlier point, not the one before", {20, 60, 100, 98, 94, 180, 220}, false},
        {"falling, as a gradient the other way round", {231, 190, 140, 98, 61, 30, 12}, false},
        {"one point", {128}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.follows, ZarnLib_ChartPatchOrder::FollowsTheChart(Curve(c.levels))) << c.what;
}

} // namespace

TEST(ChartPatchOrder, APictureWithoutStepsIsTheChartOnlyWhereTheCameraClips)
{
    struct Case {
        const char* what;
        std::vector<double> levels;
        bool shows;
    } cases[] = {
        {"a chart", {12, 30, 61, 98, 140, 190, 231}, true},
        {"uniform grey 40", {40, 40, 40, 40, 40, 40, 40}, false},
        {"uniform grey 128, a level of compression", {128, 127, 128, 129, 128, 128}, false},
        {"uniform grey 200", {200, 200, 200, 200, 200, 200}, false},
        {"clipped black", {24, 24, 24, 23, 24, 24}, true},
        {"clipped white", {232, 233, 232, 232, 232, 232}, true},
        {"a step of four levels at the toe", {40, 40, 41, 42, 43, 44}, true},
        {"no points", {}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.shows, ZarnLib_ChartPatchOrder::ShowsStepsOrClips(Curve(c.levels))) << c.what;
}
