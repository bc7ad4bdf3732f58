#include "profilelib/ZarnLib_ImageResize.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

// Source index and overlap weight for every destination index of one axis. Source pixel j spans
// [j*dst, (j+1)*dst) and destination pixel i spans [i*src, (i+1)*src) on a common integer scale, so
// the weights of one destination pixel sum to src exactly.
struct AxisWeights {
    std::vector<std::uint32_t> first; // index into taps, per destination pixel (+1 sentinel)
    std::vector<std::uint32_t> index;
    std::vector<std::uint32_t> weight;
};

AxisWeights BuildAxis(std::uint32_t src, std::uint32_t dst)
{
    AxisWeights w;
    w.first.reserve(dst + 1);
    for (std::uint64_t i = 0; i < dst; ++i) {
        w.first.push_back(static_cast<std::uint32_t>(w.index.size()));
        const std::uint64_t lo = i * src;
        const std::uint64_t hi = lo + src;
        for (std::uint64_t j = lo / dst; j < src && j * dst < hi; ++j) {
            const std::uint64_t a = std::max(lo, j * dst);
            const std::uint64_t b = std::min(hi, (j + 1) * dst);
            if (b > a) {
                w.index.push_back(static_cast<std::uint32_t>(j));
                w.weight.push_back(static_cast<std::uint32_t>(b - a));
            }
        }
    }
    w.first.push_back(static_cast<std::uint32_t>(w.index.size()));
    return w;
}

} // namespace

std::unique_ptr<ZarnLib_Bitmap> ZarnLib_ImageResize::AreaResize(const ZarnLib_Bitmap& source, std::uint32_t width,
                                                                std::uint32_t height, int pixelFormat)
{
    const std::uint32_t sw = source.GetWidth();
    const std::uint32_t sh = source.GetHeight();
    if (width == sw && height == sh)
        return source.Clone(pixelFormat);
    auto out = ZarnLib_Bitmap::Create(width, height, pixelFormat);
    // The 32-bit row sums below hold up to 255 * sw.
    if (!out || sw == 0 || sh == 0 || sw >= (1u << 24))
        return nullptr;

    const AxisWeights wx = BuildAxis(sw, width);
    const AxisWeights wy = BuildAxis(sh, height);

    // Horizontal pass: per source row, per destination column, the weighted channel sums
    // (at most 255 * sw each).
    std::vector<std::uint32_t> rows;
    try {
        rows.assign(static_cast<std::size_t>(width) * sh * 3, 0u);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    for (std::uint32_t y = 0; y < sh; ++y) {
        const std::uint32_t* in = source.Row(y);
        std::uint32_t* acc = rows.data() + static_cast<std::size_t>(y) * width * 3;
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint32_t r = 0, g = 0, b = 0;
            for (std::uint32_t t = wx.first[x]; t < wx.first[x + 1]; ++t) {
                const std::uint32_t p = in[wx.index[t]];
                const std::uint32_t w = wx.weight[t];
                r += ((p >> 16) & 0xFF) * w;
                g += ((p >> 8) & 0xFF) * w;
                b += (p & 0xFF) * w;
            }
            acc[3 * x] = r;
            acc[3 * x + 1] = g;
            acc[3 * x + 2] = b;
        }
    }

    // Vertical pass in 64 bits; the total weight of every pixel is sw * sh.
    const std::uint64_t total = static_cast<std::uint64_t>(sw) * sh;
    std::vector<std::uint64_t> sums(static_cast<std::size_t>(width) * 3);
    for (std::uint32_t y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (std::uint32_t t = wy.first[y]; t < wy.first[y + 1]; ++t) {
            const std::uint32_t* acc = rows.data() + static_cast<std::size_t>(wy.index[t]) * width * 3;
            const std::uint64_t w = wy.weight[t];
            for (std::size_t k = 0; k < sums.size(); ++k)
                sums[k] += acc[k] * w;
        }
        std::uint32_t* dst = out->Row(y);
        for (std::uint32_t x = 0; x < width; ++x) {
            const auto r = static_cast<std::uint32_t>((sums[3 * x] + total / 2) / total);
            const auto g = static_cast<std::uint32_t>((sums[3 * x + 1] + total / 2) / total);
            const auto b = static_cast<std::uint32_t>((sums[3 * x + 2] + total / 2) / total);
            dst[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
    return out;
}
