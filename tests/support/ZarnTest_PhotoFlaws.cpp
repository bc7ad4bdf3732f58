#include "tests/support/ZarnTest_PhotoFlaws.h"

#include <algorithm>

namespace photoflaws {

namespace {

std::uint32_t NextRandom(std::uint32_t* state)
{
    *state = *state * 1664525u + 1013904223u;
    return *state >> 8;
}

std::uint32_t Grey(int level)
{
    const auto c = static_cast<std::uint32_t>(std::clamp(level, 0, 255));
    return 0xFF000000u | (c << 16) | (c << 8) | c;
}

} // namespace

void AddGrain(ZarnLib_Bitmap& bitmap, int amplitude, std::uint32_t seed)
{
    std::uint32_t state = seed;
    for (std::uint32_t y = 0; y < bitmap.GetHeight(); ++y) {
        std::uint32_t* row = bitmap.Row(y);
        for (std::uint32_t x = 0; x < bitmap.GetWidth(); ++x) {
            const int delta = static_cast<int>(NextRandom(&state) % static_cast<std::uint32_t>(2 * amplitude + 1)) - amplitude;
            row[x] = Grey(static_cast<int>(row[x] & 0xFF) + delta);
        }
    }
}

void BoxBlur(ZarnLib_Bitmap& bitmap)
{
    const auto copy = bitmap.Clone(bitmap.GetPixelFormat());
    const auto w = static_cast<std::int64_t>(bitmap.GetWidth()), h = static_cast<std::int64_t>(bitmap.GetHeight());
    for (std::int64_t y = 1; y + 1 < h; ++y)
        for (std::int64_t x = 1; x + 1 < w; ++x) {
            int sum = 0;
            for (std::int64_t dy = -1; dy <= 1; ++dy)
                for (std::int64_t dx = -1; dx <= 1; ++dx)
                    sum += static_cast<int>(copy->Row(static_cast<std::uint32_t>(y + dy))[x + dx] & 0xFF);
            bitmap.Row(static_cast<std::uint32_t>(y))[x] = Grey((sum + 4) / 9);
        }
}

} // namespace photoflaws
