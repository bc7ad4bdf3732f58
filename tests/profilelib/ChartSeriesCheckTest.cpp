// The one judgement of a measured series: every refused photograph with the rule that refused it,
// the exposure rules first, then each picture on its own, then the levels along the series; a
// sound series, clipped at its ends, passes.
#include "profilelib/ZarnLib_ChartSeriesCheck.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Photo = ZarnLib_ChartSeriesCheck::Photo;
using Reason = ZarnLib_SeriesReason;

// A Gradus I photograph at EV `ev` (more is darker) with the given levels; its patches change
// inside by `inside` levels from left to right.
Photo Shot(double ev, const std::vector<double>& levels, double inside = 0.0)
{
    Photo photo;
    photo.exposure = ev;
    std::vector<_ZARNLIB_VECTOR2> points;
    for (std::size_t k = 0; k < levels.size(); ++k) {
        points.push_back({static_cast<double>(k), levels[k]});
        photo.flatness.Add({0, static_cast<int>(levels.size() - 1 - k), levels[k], inside, 0.0});
    }
    photo.curve.SetPoints(points.data(), static_cast<int>(points.size()), false);
    return photo;
}

const std::vector<double> kDark = {20, 24, 28, 33, 38, 44, 50};
const std::vector<double> kMiddle = {52, 60, 69, 78, 88, 99, 110};
const std::vector<double> kLight = {112, 126, 140, 155, 170, 186, 202};

TEST(ChartSeriesCheck, NamesEveryRefusedPhotographWithItsRule)
{
    struct Case {
        const char* what;
        std::vector<Photo> photos;
        std::vector<ZarnLib_SeriesRefusal> refusals;
    } cases[] = {
        {"sound", {Shot(13, kDark), Shot(12, kMiddle), Shot(11, kLight)}, {}},
        {"clipped black and white at its ends",
         {Shot(15, std::vector<double>(7, 3)), Shot(14, kDark), Shot(13, kMiddle), Shot(12, kLight), Shot(11, std::vector<double>(7, 255))},
         {}},
        {"uniform grey 40 in the middle", {Shot(13, kDark), Shot(12, std::vector<double>(7, 40)), Shot(11, kLight)},
         {{1, Reason::NoSteps}, {1, Reason::OutOfStep}}},
        {"uniform grey 128 in the middle", {Shot(13, kDark), Shot(12, std::vector<double>(7, 128)), Shot(11, kLight)},
         {{1, Reason::NoSteps}, {1, Reason::OutOfStep}}},
        {"uniform grey 150 at the end", {Shot(13, kDark), Shot(12, kMiddle), Shot(11, std::vector<double>(7, 150))},
         {{2, Reason::NoSteps}}},
        // A video or log curve clips inside the 8-bit range: its black and white pass at the
        // series' ends, where no other photograph reads beyond them.
        {"a lifted black and a lowered white at its ends",
         {Shot(15, std::vector<double>(7, 30)), Shot(14, {31, 33, 36, 40, 45, 50, 56}), Shot(13, kMiddle),
          Shot(12, {112, 126, 140, 155, 170, 186, 200}), Shot(11, std::vector<double>(7, 206))},
         {}},
        {"grey 40 at the dark end, a photograph darker than it",
         {Shot(13, std::vector<double>(7, 40)), Shot(12, kDark), Shot(11, kLight)},
         {{0, Reason::NoSteps}, {0, Reason::OutOfStep}}},
        {"a gradient the chart's way", {Shot(13, kDark), Shot(12, kMiddle, 3.0), Shot(11, kLight)}, {{1, Reason::NotFlat}}},
        {"against the chart's order", {Shot(13, kDark), Shot(12, {110, 99, 88, 78, 69, 60, 52}), Shot(11, kLight)},
         {{1, Reason::OutOfChartOrder}}},
        {"lighter than the photograph given more light", {Shot(13, kDark), Shot(12, kLight), Shot(11, kMiddle)},
         {{2, Reason::OutOfStep}}},
        {"one exposure claimed twice",
         {Shot(13, kDark), Shot(13, kMiddle), Shot(12, kLight)},
         {{0, Reason::SameExposure, 1}}},
        {"further apart than the chart", {Shot(14, kDark), Shot(12, kMiddle), Shot(10, kLight)},
         {{0, Reason::BeyondChartSpan, 1}, {1, Reason::BeyondChartSpan, 2}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.refusals, ZarnLib_ChartSeriesCheck::Judge(1, c.photos)) << c.what;
}

} // namespace
