// One curve point.
#pragma once

struct _ZARNLIB_VECTOR2 {
    double x = 0.0;
    double y = 0.0;
};

inline bool operator==(const _ZARNLIB_VECTOR2& a, const _ZARNLIB_VECTOR2& b)
{
    return a.x == b.x && a.y == b.y;
}
