// Deterministic resampling of a bitmap: every destination pixel is the area-weighted mean of the
// source pixels it covers, computed in exact integer arithmetic; the same size gives an exact copy.
#pragma once

#include "profilelib/ZarnLib_Bitmap.h"

#include <cstdint>
#include <memory>

class ZarnLib_ImageResize {
public:
    // Null when the destination size is 0 or memory runs out. Alpha is set to 0xFF.
    static std::unique_ptr<ZarnLib_Bitmap> AreaResize(const ZarnLib_Bitmap& source, std::uint32_t width,
                                                      std::uint32_t height, int pixelFormat);
};
