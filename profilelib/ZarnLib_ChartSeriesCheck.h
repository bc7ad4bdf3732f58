// The judgement of a measured series of chart photographs, made once, after every photograph has
// been measured and before the profile is calculated from them: which photographs cannot make a
// sound profile, and why. The exposures must make a series that covers the chart's range without
// gaps (ZarnLib_ExposureSeries); each picture must be the chart (its patches in the chart's order,
// flat between their steps, and with steps unless the camera clips them: black or white, or at the
// series' own extreme on a camera whose black or white lies inside the range); and its levels must be
// in step with its neighbours' (ZarnLib_SeriesLevels).
#pragma once

#include "profilelib/ZarnLib_ChartPatchFlatness.h"
#include "profilelib/ZarnLib_CnvPolyLine.h"
#include "profilelib/ZarnLib_SeriesRefusal.h"

#include <vector>

class ZarnLib_ChartSeriesCheck {
public:
    // One measured photograph.
    struct Photo {
        double exposure = 0;              // EV: more is darker, as the profile joins the curves
        ZarnLib_CnvPolyLine curve;        // the measured curve
        ZarnLib_ChartPatchFlatness flatness; // its used patches with the halves of their middles
    };

    // Every refusal, in the order the rules are judged: the exposure series (repeats, breaks,
    // gaps wider than the chart), then each picture on its own (order, flatness, steps), then the
    // levels along the series. Empty for a sound series. chartKind: the kind measured (1 to 6).
    static std::vector<ZarnLib_SeriesRefusal> Judge(int chartKind, const std::vector<Photo>& photos);
};
