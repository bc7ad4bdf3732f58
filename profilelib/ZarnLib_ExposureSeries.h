// The exposure series of a chart's photographs. The profile joins the photographs' curves by their
// exposures, so a series with a gap, a repeat or a photograph out of place gives a profile
// shifted off the camera's curve without any sign of it, and neighbours further apart than the
// chart's own patches reach leave exposures that no photograph measured, where the profile's
// points would be placed in empty space. A sound series steps evenly: neighbours differ by the
// series' step within a third of a stop, no two are alike, the exposures run one way, and no step
// is wider than the chart spans.
#pragma once

#include "profilelib/ZarnLib_SeriesRefusal.h"

#include <vector>

class ZarnLib_ExposureSeries {
public:
    // Exposures on the scales lie whole thirds apart, with room for the tenths they round to.
    static constexpr double kThird = 1.0 / 3.0 + 1e-6;

    // The refused pairs of neighbours (in the order given), repeats first, then breaks of the
    // series' step (the median size of the steps that are not repeats, the lower one of an even
    // count), then pairs further apart than the span of chart kind `chartKind` by more than half
    // a third (no such rule for a kind without a span). Empty for a sound series and for fewer
    // than two photographs.
    static std::vector<ZarnLib_SeriesRefusal> Judge(int chartKind, const std::vector<double>& exposures);
};
