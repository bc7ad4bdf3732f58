// The rule that tells patches from a gradient: flat patches next to steps pass, a change inside
// the patches like the steps between them does not, and neither does one without any steps; a
// single disturbed patch does not decide.
// Measured photographs are in ChartMeasureTest.
#include "profilelib/ZarnLib_ChartPatchFlatness.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Patch = ZarnLib_ChartPatchFlatness::Patch;

ZarnLib_ChartPatchFlatness Row(const std::vector<double>& levels, double across, double down)
{
    ZarnLib_ChartPatchFlatness flatness;
    for (std::size_t i = 0; i < levels.size(); ++i)
        flatness.Add(Patch{0, static_cast<int>(i), levels[i], across, down});
    return flatness;
}

TEST(ChartPatchFlatness, FlatPatchesBetweenStepsPassChangesLikeTheStepsDoNot)
{
    const struct {
        const char* what;
        ZarnLib_ChartPatchFlatness flatness;
        bool flat;
    } cases[] = {
        {"steps of 10, flat inside", Row({20, 30, 40, 50}, 0.0, 0.0), true},
        {"uneven light: a tenth of a step inside", Row({20, 30, 40, 50}, 1.0, 0.0), true},
        {"a gradient: a fifth of the step inside", Row({20, 30, 40, 50}, 2.0, 0.0), false},
        {"a gradient across the row: no steps, change inside", Row({80, 80, 80, 80}, 0.0, 6.0), false},
        {"clipped flat, grain inside", Row({255, 255, 255, 255}, 0.3, -0.2), true},
        {"grain beyond the tolerance without steps", Row({80, 80, 80, 80}, 0.4, 0.3), false},
        {"no patches", ZarnLib_ChartPatchFlatness{}, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.flat, c.flatness.FlatBetweenSteps()) << c.what;

    // One patch disturbed where it is not measured does not decide; most patches changing does.
    ZarnLib_ChartPatchFlatness oneStreak = Row({20, 30, 40, 50, 60, 70, 80}, 0.0, 0.0);
    oneStreak.Add(Patch{1, 0, 90, 0.0, 40.0});
    EXPECT_TRUE(oneStreak.FlatBetweenSteps()) << oneStreak.InnerChange();
    ZarnLib_ChartPatchFlatness mostChange = Row({20, 30, 40, 50, 60}, 2.0, 0.0);
    mostChange.Add(Patch{1, 0, 90, 0.0, 0.0});
    mostChange.Add(Patch{1, 1, 100, 0.0, 0.0});
    EXPECT_FALSE(mostChange.FlatBetweenSteps()) << mostChange.InnerChange();

    // Grain points every way and cancels; steps count only between patches side by side in a row.
    ZarnLib_ChartPatchFlatness grain;
    grain.Add(Patch{0, 0, 20, 3.0, -3.0});
    grain.Add(Patch{0, 1, 30, -3.0, 3.0});
    grain.Add(Patch{1, 2, 90, 0.0, 0.0});
    EXPECT_DOUBLE_EQ(0.0, grain.InnerChange());
    EXPECT_DOUBLE_EQ(10.0, grain.MeanStep());
}

} // namespace
