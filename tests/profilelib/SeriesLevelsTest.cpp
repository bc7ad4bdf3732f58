// Levels along the exposure series: each point reads lighter the more a photograph is exposed, or
// ties where the camera clips; a photograph out of step is named, the flat one of a pair first.
#include "profilelib/ZarnLib_SeriesLevels.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(SeriesLevels, PhotographsOutOfStepAreNamedTheFlatOneFirst)
{
    const struct {
        const char* what;
        std::vector<double> exposures; // EV: more is darker
        std::vector<std::vector<double>> levels;
        int outOfStep;
    } cases[] = {
        {"rising", {12, 11, 10}, {{20, 30, 40}, {40, 60, 80}, {90, 120, 150}}, -1},
        {"clipped flat at both ends", {13, 12, 11, 10}, {{15, 15, 15}, {15, 20, 30}, {100, 140, 150}, {150, 150, 150}}, -1},
        {"a point five levels darker", {12, 11}, {{20, 30, 40}, {15, 40, 60}}, -1},
        {"uniform grey in the middle", {12, 11, 10}, {{20, 30, 40}, {80, 80, 80}, {60, 90, 120}}, 1},
        {"uniform black in the middle", {12, 11, 10}, {{20, 30, 40}, {10, 10, 10}, {60, 90, 120}}, 1},
        {"uniform grey at the dark end", {12, 11, 10}, {{80, 80, 80}, {40, 60, 80}, {90, 120, 150}}, 0},
        {"given lightest first", {10, 11, 12}, {{90, 120, 150}, {200, 200, 200}, {20, 30, 40}}, 1},
        {"one photograph", {11}, {{80, 80, 80}}, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.outOfStep, ZarnLib_SeriesLevels::FindOutOfStep(c.exposures, c.levels)) << c.what;
}

} // namespace
