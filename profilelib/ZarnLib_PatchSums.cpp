#include "profilelib/ZarnLib_PatchSums.h"

#include <algorithm>

ZarnLib_PatchSums::ZarnLib_PatchSums(int patchCount)
    : sums_(static_cast<std::size_t>(patchCount))
{
}

void ZarnLib_PatchSums::Add(int patch, std::uint32_t x, std::uint32_t y, std::uint32_t count)
{
    runs_.push_back({ y, x, count, patch });
    sums_[static_cast<std::size_t>(patch)].n += count;
}

void ZarnLib_PatchSums::Seal()
{
    std::sort(runs_.begin(), runs_.end(), [](const Run& a, const Run& b) { return a.y < b.y; });
    next_ = 0;
}

void ZarnLib_PatchSums::TakeRow(std::uint32_t y, const unsigned char* rgb)
{
    while (next_ < runs_.size() && runs_[next_].y < y)
        ++next_; // rows never delivered add nothing
    for (; next_ < runs_.size() && runs_[next_].y == y; ++next_) {
        const Run& run = runs_[next_];
        Sum& sum = sums_[static_cast<std::size_t>(run.patch)];
        const unsigned char* p = rgb + static_cast<std::size_t>(run.x) * 3;
        for (std::uint32_t k = 0; k < run.count; ++k, p += 3) {
            sum.r += p[0];
            sum.g += p[1];
            sum.b += p[2];
        }
    }
}

void ZarnLib_PatchSums::TakeBitmap(const ZarnLib_Bitmap& bitmap)
{
    for (const Run& run : runs_) {
        Sum& sum = sums_[static_cast<std::size_t>(run.patch)];
        const std::uint32_t* p = bitmap.Row(run.y) + run.x;
        for (std::uint32_t k = 0; k < run.count; ++k) {
            sum.r += (p[k] >> 16) & 0xFF;
            sum.g += (p[k] >> 8) & 0xFF;
            sum.b += p[k] & 0xFF;
        }
    }
    next_ = runs_.size();
}
