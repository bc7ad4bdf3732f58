// Flat patches between steps: a photograph of the chart, even grainy, blurred, turned and unevenly
// lit, has patches that barely change inside next to the steps between them; a smooth gradient in
// place of the chart changes inside a patch as it does between patches, whichever way it runs.
#include "profilelib/ZarnLib_ChartCorners.h"
#include "profilelib/ZarnLib_ChartMeasure.h"
#include "profilelib/ZarnLib_ChartPatchFlatness.h"
#include "profilelib/ZarnLib_Image.h"
#include "profilelib/ZarnLib_Profile.h"
#include "tests/profilelib/ImageTestFiles.h"
#include "tests/support/ZarnTest_ChartSeries.h"
#include "tests/support/ZarnTest_PhotoFlaws.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace imagetest;

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
        {"uneven light: a fifth of a step inside", Row({20, 30, 40, 50}, 2.0, 0.0), true},
        {"a gradient: half the step inside", Row({20, 30, 40, 50}, 5.0, 0.0), false},
        {"a gradient across the row: no steps, change inside", Row({80, 80, 80, 80}, 0.0, 6.0), false},
        {"clipped flat, grain inside", Row({255, 255, 255, 255}, 0.3, -0.2), true},
        {"grain beyond the tolerance without steps", Row({80, 80, 80, 80}, 0.4, 0.3), false},
        {"no patches", ZarnLib_ChartPatchFlatness{}, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.flat, c.flatness.FlatBetweenSteps()) << c.what;

    // Grain points every way and cancels; steps count only between patches side by side in a row.
    ZarnLib_ChartPatchFlatness grain;
    grain.Add(Patch{0, 0, 20, 3.0, -3.0});
    grain.Add(Patch{0, 1, 30, -3.0, 3.0});
    grain.Add(Patch{1, 2, 90, 0.0, 0.0});
    EXPECT_DOUBLE_EQ(0.0, grain.InnerChange());
    EXPECT_DOUBLE_EQ(10.0, grain.MeanStep());
}

ZarnLib_PatchKey TableKey()
{
    ZarnLib_PatchKey key;
    key.SetIso(100);
    key.SetIlShutter(40);
    key.SetIlAperture(20);
    key.SetRlShutter(40);
    key.SetRlAperture(20);
    return key;
}

ZarnLib_EntryKey PhotoKey()
{
    ZarnLib_EntryKey key;
    key.SetIso(100);
    key.SetShutter(40);
    key.SetAperture(20);
    return key;
}

// Writes the picture as a JPEG and measures it at the markers the corner search finds (else at
// the drawn markers, as a user would place them).
void Measure(const ZarnLib_Bitmap& bitmap, const ZarnTest_ChartPoint truth[4], int kind, bool search,
             ZarnLib_ChartPatchFlatness* flatness)
{
    const std::string path = TempFile("flatness.jpg");
    ASSERT_TRUE(ZarnTest_ExifWriter(false).WriteJpeg(bitmap, path, 92));
    POINT corners[4];
    for (int i = 0; i < 4; ++i)
        corners[i] = POINT{static_cast<LONG>(std::lround(truth[i].x)), static_cast<LONG>(std::lround(truth[i].y))};
    if (search) {
        ZarnLib_Image view;
        view.Reset();
        RECT rect{};
        double scale = 0;
        ASSERT_EQ(0, view.Load(Wide(path), kImageLoadFitPlanes, 420, 280, &rect, &scale));
        POINT found[4] = {};
        ASSERT_TRUE(FindChartCorners(&view, kind, &found[0], &found[1], &found[2], &found[3]));
        for (int i = 0; i < 4; ++i) {
            const double x = (found[i].x - rect.left) / scale, y = (found[i].y - rect.top) / scale;
            ASSERT_LT(std::hypot(truth[i].x - x, truth[i].y - y), 4 / scale) << "corner " << i;
            corners[i] = POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
        }
    }
    ZarnLib_Profile profile;
    ASSERT_EQ(0, MeasureChartPhoto(Wide(path), corners[0], corners[1], corners[2], corners[3], kind, TableKey(),
                                   PhotoKey(), &profile, flatness));
    ASSERT_FALSE(flatness->Patches().empty());
}

class ChartPatchFlatnessOf : public ::testing::TestWithParam<int> {};

TEST_P(ChartPatchFlatnessOf, AGradientAnyWayRoundIsNotTheChart)
{
    const int kind = GetParam();
    // Both ways along the rows (one of them the chart's own order of densities), both ways
    // across them, and slanting.
    for (double degrees : {0.0, 180.0, 90.0, 270.0, 35.0, 215.0}) {
        SCOPED_TRACE(degrees);
        ZarnTest_ChartSpec drawing = chartseries::Drawing(kind, 0.0);
        drawing.gradientDegrees = degrees;
        ZarnTest_ChartPoint truth[4];
        const auto bitmap = ZarnTest_ChartPhoto::Render(drawing, truth);
        ASSERT_TRUE(bitmap);
        ZarnLib_ChartPatchFlatness flatness;
        // Kinds 4 and 5 lose their markers with their corner patches: the user places the corners.
        Measure(*bitmap, truth, kind, kind != 4 && kind != 5, &flatness);
        EXPECT_FALSE(flatness.FlatBetweenSteps())
            << "inside " << flatness.InnerChange() << ", step " << flatness.MeanStep();
    }
}

TEST_P(ChartPatchFlatnessOf, AGrainyBlurredTurnedUnevenlyLitChartIsFlatBetweenSteps)
{
    const int kind = GetParam();
    for (double exposure : chartseries::Exposures(kind)) {
        SCOPED_TRACE(exposure);
        ZarnTest_ChartSpec drawing = chartseries::Drawing(kind, exposure);
        drawing.angle = 5.0;
        drawing.chartFraction *= 0.8;
        // Half a stop less light on the left, against the chart's own steps where it is light on
        // the left.
        drawing.lightFalloffEv = 0.5;
        ZarnTest_ChartPoint truth[4];
        const auto bitmap = ZarnTest_ChartPhoto::Render(drawing, truth);
        ASSERT_TRUE(bitmap);
        // Grain of up to 12 levels, then the lens's blur.
        photoflaws::AddGrain(*bitmap, 12, 7);
        photoflaws::BoxBlur(*bitmap);
        ZarnLib_ChartPatchFlatness flatness;
        Measure(*bitmap, truth, kind, false, &flatness);
        EXPECT_TRUE(flatness.FlatBetweenSteps()) << "inside " << flatness.InnerChange() << ", step " << flatness.MeanStep();
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ChartPatchFlatnessOf, ::testing::Values(1, 2, 3, 4, 5, 6));

} // namespace
