#include "profilelib/ZarnLib_ChartPatchOrder.h"

#include "profilelib/ZarnLib_CnvPolyLine.h"

#include <algorithm>

bool ZarnLib_ChartPatchOrder::FollowsTheChart(const ZarnLib_CnvPolyLine& curve)
{
    const _ZARNLIB_VECTOR2* points = curve.GetPoints();
    double highest = 0.0;
    for (int i = 0; i < curve.GetCount(); ++i) {
        if (i > 0 && points[i].y < highest - kNoiseLevels)
            return false;
        highest = i == 0 ? points[i].y : std::max(highest, points[i].y);
    }
    return true;
}

bool ZarnLib_ChartPatchOrder::ShowsStepsOrClips(const ZarnLib_CnvPolyLine& curve)
{
    const _ZARNLIB_VECTOR2* points = curve.GetPoints();
    if (curve.GetCount() == 0)
        return true;
    double low = points[0].y, high = points[0].y, sum = 0.0;
    for (int i = 0; i < curve.GetCount(); ++i) {
        low = std::min(low, points[i].y);
        high = std::max(high, points[i].y);
        sum += points[i].y;
    }
    const double mean = sum / curve.GetCount();
    return high - low > kNoStepLevels || mean <= kClippedDark || mean >= kClippedLight;
}
