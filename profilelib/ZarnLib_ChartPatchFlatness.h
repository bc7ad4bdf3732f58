// How flat the used patches of a chart photograph are inside, next to the steps between them.
// A printed patch has one tone: across the middle of a patch its level changes only with uneven
// light and grain, far less than from one patch to the next. A smooth gradient in place of the
// chart changes inside a patch as it does between patches: from one half of a patch's middle to
// the other (a quarter of the patch apart) by a fifth to a quarter of the step to the neighbour,
// and more where it runs across the rows. So a gradient is told from the chart whichever way it
// runs, even where its levels follow the chart's order.
#pragma once

#include <vector>

class ZarnLib_ChartPatchFlatness {
public:
    // One used patch as measured, in the chart's upright frame.
    struct Patch {
        int row = 0;
        int column = 0;
        double level = 0;  // mean green level of the patch's sampling square
        double across = 0; // mean level of the right half of the patch's middle less the left half's
        double down = 0;   // the same, the lower half less the upper half (the middle: half the
                           // patch's width by half its height)
    };

    // Share of the mean step between neighbouring patches by which the level may change from one
    // half of a patch's middle to the other: light that falls off by half a stop over the chart
    // stays below half of it, a gradient (a fifth of the step or more) above it.
    static constexpr double kInnerShare = 0.12;
    // Levels of grain and compression left in that change once it is taken over the patches;
    // a chart clipped flat shows no step, and its patches may change inside by this much.
    static constexpr double kGrainLevels = 0.5;

    void Clear() { patches_.clear(); }
    void Add(const Patch& patch) { patches_.push_back(patch); }
    const std::vector<Patch>& Patches() const { return patches_; }

    // The change inside a patch: the median of the patches' signed changes in each direction, the
    // two added as sizes. A gradient pushes every patch the same way, grain points every way, and
    // a single patch disturbed where it is not measured (a streak of light, a marker reaching into
    // a corner patch) moves the median no further than to its neighbour among the changes.
    double InnerChange() const;
    // The mean step between patches side by side in one row; 0 when no two are.
    double MeanStep() const;
    // True when the patches are flat next to their steps: InnerChange is at most kInnerShare of
    // MeanStep plus kGrainLevels. No patches count as flat.
    bool FlatBetweenSteps() const;

private:
    std::vector<Patch> patches_;
};
