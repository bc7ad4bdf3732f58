// One point of a graph curve: EV, level, and whether it joins the previously drawn point.
#pragma once

#include <cstdint>

class CET_PointW {
public:
    double x = 0.0;          // EV
    double y = 0.0;          // 8-bit level
    std::int32_t connect = 0; // 0 starts a new piece here; non-zero joins it to the previous drawn point
};
