// Operations on lists of output curves (x = EV relative to the reference, y = 8-bit level): level
// ranges, keeping levels and exposures inside what the curves cover, and reading a level or an
// exposure off the first curve that covers it.
#pragma once

#include <utility>
#include <vector>

#include "profilelib/ZarnLib_Buffer.h"
#include "profilelib/ZarnLib_CnvPolyLine.h"

using ZarnLib_CurveList = ZarnLib_Buffer<ZarnLib_CnvPolyLine>;
using ZarnLib_LevelRange = std::pair<int, int>;

// Empties `ranges`, then appends the lowest and highest level (rounded half away from zero) of
// every curve that has points. -1 for a null output.
int GetCurveYRanges(const ZarnLib_CurveList& curves, std::vector<ZarnLib_LevelRange>* ranges);
// Moves `*value` into the nearest of the ascending ranges; 1 when it was moved, 0 otherwise.
int SnapToRanges(const std::vector<ZarnLib_LevelRange>& ranges, int* value);
// Moves an exposure outside the curves' x ranges onto the nearest covered end (in a gap, towards
// the reference). 0 when moved, -10001 when already covered or no curve has points, -1 when a
// curve without points lies between the first and the last curve with points.
int ClampToCurveDomain(double* ev, double reference, const ZarnLib_CurveList& curves);
// |a| <= b; a negative b stands for the library's relative tolerance, 0.
bool IsWithinTolerance(double a, double b);
// The level at `ev` on the first curve (of 2 points or more) whose x range holds it; -1 when none
// does or `ev` falls in a gap between two curves.
int LevelAtAnyCurve(const ZarnLib_CurveList& curves, double ev, double* level);
// The exposure at `level` on the first curve whose level range holds it. A level in a gap gives
// the exposure at the top of the curve below the gap, a level above every curve the exposure at
// the top of the last one; -1 only when no curve is usable.
int LevelAtInverseAnyCurve(const ZarnLib_CurveList& curves, double level, double* ev);
