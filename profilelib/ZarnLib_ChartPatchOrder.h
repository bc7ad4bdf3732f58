// Whether a measured curve can come from a photograph of the chart. Every chart's measured patches
// run from its densest patch to its lightest (the curve's points ascend in exposure), so their
// levels never fall along the curve: where the photograph clips, neighbours tie, and a few levels
// of noise (grain, compression, uneven light) may lower a patch below one before it. A picture
// that is not the chart (a scene, a gradient running against the chart) breaks that order; a
// gradient running the chart's way keeps it, and ZarnLib_ChartPatchFlatness tells it apart.
#pragma once

class ZarnLib_CnvPolyLine;

class ZarnLib_ChartPatchOrder {
public:
    // How far (in 8-bit levels) a patch may lie below a denser one and still count as in order.
    static constexpr double kNoiseLevels = 5.0;

    // True when no point lies more than kNoiseLevels below a point before it.
    static bool FollowsTheChart(const ZarnLib_CnvPolyLine& curve);
};
