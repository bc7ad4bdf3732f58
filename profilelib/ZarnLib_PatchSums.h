// Per-patch colour sums of a chart measurement, gathered from rows as they are
// decoded: the samples of every patch are listed first (runs of pixels on one
// row), then each row adds the samples that lie on it. Only the listed pixels
// are read.
#pragma once

#include "profilelib/ZarnLib_Bitmap.h"

#include <cstdint>
#include <vector>

class ZarnLib_PatchSums {
public:
    struct Sum {
        long long r = 0, g = 0, b = 0;
        long long n = 0; // samples taken
    };

    explicit ZarnLib_PatchSums(int patchCount);

    // Samples `count` pixels from (x, y) rightwards for the patch; a pixel listed
    // twice counts twice.
    void Add(int patch, std::uint32_t x, std::uint32_t y, std::uint32_t count);
    // Orders the samples by row; call after the last Add and before the rows.
    void Seal();
    // Adds the samples of row y from 3-byte RGB pixels. Rows must come in
    // ascending order.
    void TakeRow(std::uint32_t y, const unsigned char* rgb);
    // Adds every sample from a whole bitmap.
    void TakeBitmap(const ZarnLib_Bitmap& bitmap);

    const Sum& Of(int patch) const { return sums_[static_cast<std::size_t>(patch)]; }

private:
    struct Run {
        std::uint32_t y, x, count;
        int patch;
    };
    std::vector<Sum> sums_;
    std::vector<Run> runs_;
    std::size_t next_ = 0; // first run not yet taken
};
