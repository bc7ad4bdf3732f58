// The measured levels along the exposure series. Every patch of the chart reads lighter the more a
// photograph is exposed, or the same where the camera clips. A picture that is not the chart and
// shows no steps at all ties like a chart beyond the camera's range where it reads black or white,
// so nothing in its own patches gives it away; among the series it does, unless its level lies
// where a clipped chart's would: at or beyond the neighbours' levels on the side of its exposure.
#pragma once

#include <vector>

class ZarnLib_SeriesLevels {
public:
    // exposures: the EV of each photograph (more is darker, as the profile joins them); levels:
    // each photograph's measured levels, point by point. Returns the index of a photograph out of
    // step with the one next to it in exposure, or -1: where a point reads darker in the photograph
    // exposed more by more than the chart's noise (ZarnLib_ChartPatchOrder::kNoiseLevels), the one
    // of the two whose levels spread least (the picture without steps).
    static int FindOutOfStep(const std::vector<double>& exposures, const std::vector<std::vector<double>>& levels);
};
