#include "profilelib/ZarnLib_CnvPolyLine.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

namespace {

int CompareX(const void* a, const void* b)
{
    const auto* pa = static_cast<const _ZARNLIB_VECTOR2*>(a);
    const auto* pb = static_cast<const _ZARNLIB_VECTOR2*>(b);
    return pa->x > pb->x ? 1 : -1;
}

bool IsAscending(const _ZARNLIB_VECTOR2* p, int n)
{
    for (int i = 0; i + 1 < n; ++i) {
        if (p[i].x > p[i + 1].x) {
            return false;
        }
    }
    return true;
}

void SortByX(_ZARNLIB_VECTOR2* p, int n)
{
    if (IsAscending(p, n)) {
        return;
    }
    if (n >= 16) {
        std::qsort(p, static_cast<std::size_t>(n), sizeof(_ZARNLIB_VECTOR2), CompareX);
        return;
    }
    for (int i = 0; i < n - 1; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (p[i].x > p[j].x) {
                std::swap(p[i], p[j]);
            }
        }
    }
}

} // namespace

ZarnLib_CnvPolyLine::ZarnLib_CnvPolyLine(const ZarnLib_CnvPolyLine& other)
{
    SetPoints(other.points, other.count, false);
}

ZarnLib_CnvPolyLine& ZarnLib_CnvPolyLine::operator=(const ZarnLib_CnvPolyLine& other)
{
    if (&other != this) {
        SetPoints(other.points, other.count, false);
    }
    return *this;
}

ZarnLib_CnvPolyLine::~ZarnLib_CnvPolyLine()
{
    FreePoints();
}

void ZarnLib_CnvPolyLine::FreePoints()
{
    delete[] points;
    points = nullptr;
    count = 0;
}

int ZarnLib_CnvPolyLine::SetPoints(const _ZARNLIB_VECTOR2* source, int n, bool sort)
{
    if (n == 0) {
        FreePoints();
        cachedSegment = -1;
        modified = 0;
        return 0;
    }
    if (n < 2 || source == nullptr) {
        return -1;
    }
    if (n != count) {
        auto* fresh = new (std::nothrow) _ZARNLIB_VECTOR2[static_cast<std::size_t>(n)];
        if (fresh == nullptr) {
            return -1;
        }
        // The source may be our own array; copy before freeing it.
        std::copy(source, source + n, fresh);
        FreePoints();
        points = fresh;
        count = n;
    } else if (source != points) {
        std::copy(source, source + n, points);
    }
    if (sort) {
        SortByX(points, count);
    }
    LevelEnds();
    cachedSegment = -1;
    modified = 0;
    return 0;
}

void ZarnLib_CnvPolyLine::LevelEnds()
{
    // Leading run of equal x: every point but the first gets the run's lowest y.
    int end = 0;
    double lowest = points[0].y;
    while (end < count && !(points[end].x > points[0].x)) {
        lowest = std::min(lowest, points[end].y);
        ++end;
    }
    for (int i = 1; i < end; ++i) {
        points[i].y = lowest;
    }
    // Trailing run: every point but the last gets the run's highest y.
    const int last = count - 1;
    int begin = last;
    double highest = points[last].y;
    while (begin >= 0 && !(points[begin].x < points[last].x)) {
        highest = std::max(highest, points[begin].y);
        --begin;
    }
    for (int i = begin + 1; i < last; ++i) {
        points[i].y = highest;
    }
}

double ZarnLib_CnvPolyLine::Evaluate(double x, bool clamp) const
{
    if (count < 2) {
        return x;
    }
    if (clamp) {
        if (x < points[0].x) {
            return std::clamp(points[0].y, 0.0, 1.0);
        }
        if (x > points[count - 1].x) {
            return std::clamp(points[count - 1].y, 0.0, 1.0);
        }
    }
    int lo = 0;
    int hi = count - 2;
    int mid = (cachedSegment >= 0 && cachedSegment <= count - 2) ? cachedSegment : (count - 1) / 2;
    for (;;) {
        if (x >= points[mid].x) {
            if (mid >= hi || x < points[mid + 1].x) {
                break;
            }
            lo = mid;
            mid = (mid + hi + 1) / 2;
        } else {
            if (lo >= mid) {
                break;
            }
            hi = mid - 1;
            if (x >= points[mid - 1].x) {
                mid = mid - 1;
                break;
            }
            mid = (hi + lo) / 2;
        }
    }
    cachedSegment = mid;
    const _ZARNLIB_VECTOR2& a = points[mid];
    const _ZARNLIB_VECTOR2& b = points[mid + 1];
    const double width = b.x - a.x;
    double y = width == 0.0 ? a.y : a.y + (b.y - a.y) * (x - a.x) / width;
    if (clamp) {
        y = std::clamp(y, 0.0, 1.0);
    }
    return y;
}

int ZarnLib_CnvPolyLine::SetFromSwapped(const ZarnLib_CnvPolyLine& other)
{
    if (other.count < 2) {
        return SetPoints(nullptr, 0, true);
    }
    auto* swapped = new (std::nothrow) _ZARNLIB_VECTOR2[static_cast<std::size_t>(other.count)];
    if (swapped == nullptr) {
        return -1;
    }
    for (int i = 0; i < other.count; ++i) {
        swapped[i].x = other.points[i].y;
        swapped[i].y = other.points[i].x;
    }
    const int result = SetPoints(swapped, other.count, true);
    delete[] swapped;
    return result;
}

int ZarnLib_CnvPolyLine::GetPoint(_ZARNLIB_VECTOR2* out, int index) const
{
    if (out == nullptr || index < 0 || index >= count) {
        return -1;
    }
    *out = points[index];
    return 0;
}

bool ZarnLib_CnvPolyLine::IsEqual(const ZarnLib_CnvPolyLine& other) const
{
    if (count != other.count) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        // The library's relative tolerance is 0: a point passes only when identical.
        const double dx = points[i].x - other.points[i].x;
        const double dy = points[i].y - other.points[i].y;
        const double distance = std::sqrt(dx * dx + dy * dy);
        const double magnitude = std::sqrt(points[i].x * points[i].x + points[i].y * points[i].y);
        if (!(distance <= magnitude * 0.0)) {
            return false;
        }
    }
    return true;
}

int GetCurveListXRange(const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& curves, double* first, double* last)
{
    const int n = curves.GetCount();
    if (n < 1 || first == nullptr || last == nullptr) {
        return -1;
    }
    const ZarnLib_CnvPolyLine& head = curves[0];
    const ZarnLib_CnvPolyLine& tail = curves[n - 1];
    if (head.GetCount() < 2 || tail.GetCount() < 2) {
        return -1;
    }
    *first = head.GetPoints()[0].x;
    *last = tail.GetPoints()[tail.GetCount() - 1].x;
    return 0;
}
