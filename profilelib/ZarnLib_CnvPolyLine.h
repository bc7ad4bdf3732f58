// A piecewise-linear curve of (x, y) points sorted by x, evaluated by binary search with a cached
// segment. The measured curve of every photograph and the element of every curve list.
#pragma once

#include "profilelib/ZarnLib_Buffer.h"
#include "profilelib/ZarnLib_Spline.h"
#include "profilelib/ZarnLib_Vector2.h"

class ZarnLib_CnvPolyLine {
public:
    ZarnLib_CnvPolyLine() = default;
    ZarnLib_CnvPolyLine(const ZarnLib_CnvPolyLine& other);
    ZarnLib_CnvPolyLine& operator=(const ZarnLib_CnvPolyLine& other);
    ~ZarnLib_CnvPolyLine();

    // Replaces the points; count 0 empties the curve, count 1 or negative is refused (-1).
    // With `sort` the points are ordered by x first; the runs of equal x at both ends are levelled.
    int SetPoints(const _ZARNLIB_VECTOR2* source, int n, bool sort);
    // y at x; outside the points the end segments are extended, unless `clamp` is set, which holds
    // the end values and limits the result to 0..1. With fewer than 2 points the result is x.
    double Evaluate(double x, bool clamp) const;
    // This curve becomes the other one with x and y exchanged (read a level curve backwards).
    int SetFromSwapped(const ZarnLib_CnvPolyLine& other);
    int GetPoint(_ZARNLIB_VECTOR2* out, int index) const;
    bool IsEqual(const ZarnLib_CnvPolyLine& other) const;

    int GetCount() const { return count; }
    const _ZARNLIB_VECTOR2* GetPoints() const { return points; }

private:
    void FreePoints();
    void LevelEnds();

    int count = 0;
    _ZARNLIB_VECTOR2* points = nullptr;
    mutable int cachedSegment = -1; // written by Evaluate: one thread per curve
    unsigned char modified = 0;
    ZarnLib_Spline spline;
};

// The x range of a list of curves: the first x of the first curve and the last x of the last.
// -1 when the list is empty or either end curve has fewer than 2 points.
int GetCurveListXRange(const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& curves, double* first, double* last);
