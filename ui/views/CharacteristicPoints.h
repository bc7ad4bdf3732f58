// The five characteristic points of one profile block, in the order CPM (lower clipping point),
// DRM (lower end of the dynamic range), CNT (medium grey), DRP (upper end of the dynamic range),
// CPP (upper clipping point). Index constants name the places in both arrays.
#pragma once

#include <cstdint>

class CharacteristicPoints {
public:
    static constexpr int kCPM = 0;
    static constexpr int kDRM = 1;
    static constexpr int kCNT = 2;
    static constexpr int kDRP = 3;
    static constexpr int kCPP = 4;
    static constexpr int kCount = 5;

    double ev[kCount] = {-3.5, -2.5, 0.0, 2.5, 3.5}; // exposure of each point, EV
    double further = 0.0;                            // carried along and copied, not drawn
    std::int32_t hidden = 0;                         // 1: the graph shows no points
    std::int32_t level[kCount] = {20, 35, 118, 230, 245}; // 8-bit output level of each point

    // The defaults above.
    void SetDefaults() { *this = CharacteristicPoints(); }
};
