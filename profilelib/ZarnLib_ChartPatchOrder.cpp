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
