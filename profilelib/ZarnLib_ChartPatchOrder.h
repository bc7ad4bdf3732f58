// Whether a measured curve can come from a photograph of the chart. Every chart's measured patches
// run from its densest patch to its lightest (the curve's points ascend in exposure), so their
// levels never fall along the curve: where the photograph clips, neighbours tie, and a few levels
// of noise (grain, compression, uneven light) may lower a patch below one before it. A picture
// that is not the chart (a scene, a gradient running against the chart) breaks that order; a
// gradient running the chart's way keeps it, and ZarnLib_ChartPatchFlatness tells it apart.
// The chart's patches differ by a few stops, so they show steps between them unless the camera
// clips them all black or white: a picture whose patches show no step at a level between those
// (a uniform grey) is not the chart either.
#pragma once

class ZarnLib_CnvPolyLine;

class ZarnLib_ChartPatchOrder {
public:
    // How far (in 8-bit levels) a patch may lie below a denser one and still count as in order.
    static constexpr double kNoiseLevels = 5.0;
    // Levels by which the patches of a picture without steps spread (compression).
    static constexpr double kNoStepLevels = 3.0;
    // Levels at or below which, and at or above which, a photograph counts as clipped black or
    // white: a chart far beyond the camera's range reads there without a step.
    static constexpr double kClippedDark = 24.0;
    static constexpr double kClippedLight = 232.0;

    // True when no point lies more than kNoiseLevels below a point before it.
    static bool FollowsTheChart(const ZarnLib_CnvPolyLine& curve);
    // True when the points spread by more than kNoStepLevels, or their mean lies where the camera
    // clips; an empty curve counts as showing steps.
    static bool ShowsStepsOrClips(const ZarnLib_CnvPolyLine& curve);
};
