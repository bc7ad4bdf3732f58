#include "profilelib/ZarnLib_CurveTools.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "profilelib/ZarnLib_StorageFile.h"

namespace {

// Half away from zero; levels from damaged files may be anything, so the result is held inside
// the int range (NaN gives 0).
int RoundHalfAway(double v)
{
    if (std::isnan(v)) {
        return 0;
    }
    const double r = v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5);
    return static_cast<int>(std::clamp(r, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

double FirstX(const ZarnLib_CnvPolyLine& c) { return c.GetPoints()[0].x; }
double LastX(const ZarnLib_CnvPolyLine& c) { return c.GetPoints()[c.GetCount() - 1].x; }

} // namespace

int GetCurveYRanges(const ZarnLib_CurveList& curves, std::vector<ZarnLib_LevelRange>* ranges)
{
    if (ranges == nullptr) {
        return -1;
    }
    ranges->clear();
    for (int i = 0; i < curves.GetCount(); ++i) {
        const ZarnLib_CnvPolyLine& c = curves[i];
        if (c.GetCount() == 0) {
            continue;
        }
        double lo = c.GetPoints()[0].y;
        double hi = lo;
        for (int k = 1; k < c.GetCount(); ++k) {
            lo = std::min(lo, c.GetPoints()[k].y);
            hi = std::max(hi, c.GetPoints()[k].y);
        }
        ranges->emplace_back(RoundHalfAway(lo), RoundHalfAway(hi));
    }
    return 0;
}

int SnapToRanges(const std::vector<ZarnLib_LevelRange>& ranges, int* value)
{
    if (ranges.empty() || value == nullptr) {
        return 0;
    }
    const int v = *value;
    for (const ZarnLib_LevelRange& range : ranges) {
        if (range.first <= v && v <= range.second) {
            return 0;
        }
    }
    if (v < ranges.front().first) {
        *value = ranges.front().first;
        return 1;
    }
    for (std::size_t i = 1; i < ranges.size(); ++i) {
        const int below = ranges[i - 1].second;
        const int above = ranges[i].first;
        if (v > below && v < above) {
            const long long up = static_cast<long long>(above) - v;
            const long long down = static_cast<long long>(v) - below;
            if (up < down || (up == down && ranges.size() == 3 && i == 1)) {
                *value = above;
            } else {
                *value = below;
            }
            return 1;
        }
    }
    if (v > ranges.back().second) {
        *value = ranges.back().second;
        return 1;
    }
    return 0;
}

int ClampToCurveDomain(double* ev, double reference, const ZarnLib_CurveList& curves)
{
    if (ev == nullptr) {
        return -1;
    }
    int first = -1;
    int last = -1;
    for (int i = 0; i < curves.GetCount(); ++i) {
        if (curves[i].GetCount() > 0) {
            if (first < 0) {
                first = i;
            }
            last = i;
        }
    }
    if (first < 0) {
        return kStorageFailed;
    }
    const double e = *ev;
    if (e < FirstX(curves[first])) {
        *ev = FirstX(curves[first]);
        return 0;
    }
    if (e > LastX(curves[last])) {
        *ev = LastX(curves[last]);
        return 0;
    }
    for (int i = first; i < last; ++i) {
        const ZarnLib_CnvPolyLine& current = curves[i];
        const ZarnLib_CnvPolyLine& next = curves[i + 1];
        if (current.GetCount() == 0 || next.GetCount() == 0) {
            return -1;
        }
        if (e >= FirstX(current) && e <= LastX(current)) {
            return kStorageFailed;
        }
        if (e > LastX(current) && e < FirstX(next)) {
            *ev = reference > e ? FirstX(next) : LastX(current);
            return 0;
        }
    }
    return kStorageFailed;
}

bool IsWithinTolerance(double a, double b)
{
    return std::fabs(a) <= (b < 0 ? 0.0 : b);
}

int LevelAtAnyCurve(const ZarnLib_CurveList& curves, double ev, double* level)
{
    if (level == nullptr) {
        return -1;
    }
    bool havePrevious = false;
    double previousLast = 0.0;
    for (int i = 0; i < curves.GetCount(); ++i) {
        const ZarnLib_CnvPolyLine& c = curves[i];
        if (c.GetCount() < 2) {
            continue;
        }
        if (ev >= FirstX(c) && ev <= LastX(c)) {
            *level = c.Evaluate(ev, false);
            return 0;
        }
        if (havePrevious && ev > previousLast && ev < FirstX(c)) {
            return -1;
        }
        havePrevious = true;
        previousLast = LastX(c);
    }
    return -1;
}

int LevelAtInverseAnyCurve(const ZarnLib_CurveList& curves, double level, double* ev)
{
    if (ev == nullptr) {
        return -1;
    }
    int result = -1;
    bool havePrevious = false;
    double previousTop = 0.0;
    for (int i = 0; i < curves.GetCount(); ++i) {
        if (curves[i].GetCount() < 2) {
            continue;
        }
        ZarnLib_CnvPolyLine backwards;
        if (backwards.SetFromSwapped(curves[i]) != 0 || backwards.GetCount() < 2) {
            continue;
        }
        const double bottom = FirstX(backwards);
        const double top = LastX(backwards);
        if (level >= bottom && level <= top) {
            *ev = backwards.Evaluate(level, false);
            return 0;
        }
        if (havePrevious && level > previousTop && level < bottom) {
            return result;
        }
        *ev = backwards.Evaluate(top, false);
        result = 0;
        havePrevious = true;
        previousTop = top;
    }
    return result;
}
