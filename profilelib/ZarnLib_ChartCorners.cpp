#include "profilelib/ZarnLib_ChartCorners.h"

#include "profilelib/ZarnLib_Image.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

__extension__ typedef __int128 Wide;

constexpr int kCrossSpan = 21;

int ContrastThreshold(int r, int g, int b)
{
    if (r < 100 || g < 100 || b < 100)
        return 100;
    if (r >= 180 && g >= 180 && b >= 180)
        return 70;
    return 120;
}

// Summed-area table of one plane with unsigned wrap-around: every rectangle sum the search asks
// for is far below 2^32, so the modular differences are exact whatever the image size.
class IntegralPlane {
public:
    // Rebuilds the table for a w x h plane, reusing the storage of the previous build.
    void Build(const unsigned char* plane, int w, int h)
    {
        w_ = static_cast<std::size_t>(w) + 1;
        sums_.assign(w_ * (static_cast<std::size_t>(h) + 1), 0);
        for (int y = 0; y < h; ++y) {
            std::uint32_t run = 0;
            const unsigned char* row = plane + static_cast<std::size_t>(y) * w;
            std::uint32_t* out = &sums_[static_cast<std::size_t>(y + 1) * w_ + 1];
            const std::uint32_t* above = &sums_[static_cast<std::size_t>(y) * w_ + 1];
            for (int x = 0; x < w; ++x) {
                run += row[x];
                out[x] = above[x] + run;
            }
        }
    }
    // Sum over x in [x0, x1], y in [y0, y1] (inclusive).
    std::uint32_t Sum(int x0, int y0, int x1, int y1) const
    {
        const std::size_t a = static_cast<std::size_t>(y0) * w_ + x0;
        const std::size_t b = static_cast<std::size_t>(y0) * w_ + x1 + 1;
        const std::size_t c = static_cast<std::size_t>(y1 + 1) * w_ + x0;
        const std::size_t d = static_cast<std::size_t>(y1 + 1) * w_ + x1 + 1;
        return sums_[d] - sums_[b] - sums_[c] + sums_[a];
    }

private:
    std::size_t w_ = 1;
    std::vector<std::uint32_t> sums_;
};

// The cross test of a 21 x 21 window centred on pixel (px, py): depends only on the centre,
// whichever corner the window is mirrored for.
class CrossTester {
public:
    void Build(const unsigned char* const planes[3], int w, int h)
    {
        w_ = w;
        for (int c = 0; c < 3; ++c) {
            planes_[c] = planes[c];
            sat_[c].Build(planes[c], w, h);
        }
    }
    bool Test(int px, int py) const
    {
        int centre[3];
        const std::size_t at = static_cast<std::size_t>(py) * w_ + px;
        for (int c = 0; c < 3; ++c)
            centre[c] = planes_[c][at];
        // Every condition must hold, so the order is free: the quadrant contrast comes first because
        // it refuses nearly every window of a picture without markers.
        const int t = ContrastThreshold(centre[0], centre[1], centre[2]);
        const int quadrants[4][4] = {{px - 10, py - 10, px - 1, py - 1},
                                     {px + 1, py - 10, px + 10, py - 1},
                                     {px + 1, py + 1, px + 10, py + 10},
                                     {px - 10, py + 1, px - 1, py + 10}};
        for (const auto& q : quadrants) {
            for (int c = 0; c < 3; ++c) {
                const int mean = static_cast<int>(sat_[c].Sum(q[0], q[1], q[2], q[3]) / 100);
                if (std::abs(centre[c] - mean) < t)
                    return false;
            }
        }
        for (int c = 0; c < 3; ++c) {
            const std::uint32_t cross = sat_[c].Sum(px - 10, py, px + 10, py) + sat_[c].Sum(px, py - 10, px, py + 10) -
                                        static_cast<std::uint32_t>(centre[c]);
            if (std::abs(centre[c] - static_cast<int>(cross / 41)) >= 25)
                return false;
        }
        return true;
    }

private:
    int w_ = 0;
    const unsigned char* planes_[3] = {};
    IntegralPlane sat_[3];
};

// Extremes of n consecutive values, in place, in a plane whose rows lie `stride` apart: along
// each of `count` rows of `len` values, or (`rows` set) down each of `count` columns of `len`
// rows. Afterwards value i holds the extreme of values i to i + n - 1 (for i + n <= len). Runs of
// 1, 2, 4, ... values double up to the largest power of two within n; one more overlapping step
// covers the rest. Each pass reads ahead of what it writes; the column passes go a whole row at a
// time, so that every pass is a plain loop over contiguous bytes.
void SlidingExtremes(unsigned char* mx, unsigned char* mn, int len, int n, std::size_t stride, int count, bool rows)
{
    auto pass = [&](int shift, int last) {
        for (int line = 0; line < count; ++line) {
            unsigned char* a = mx + stride * line;
            unsigned char* b = mn + stride * line;
            if (!rows) {
                for (int i = 0; i <= last; ++i) {
                    a[i] = std::max(a[i], a[i + shift]);
                    b[i] = std::min(b[i], b[i + shift]);
                }
            }
        }
        if (rows) {
            // Lines are columns here: whole rows at a time, `stride` apart.
            for (int i = 0; i <= last; ++i) {
                unsigned char* a = mx + stride * i;
                unsigned char* b = mn + stride * i;
                const unsigned char* a2 = a + stride * shift;
                const unsigned char* b2 = b + stride * shift;
                for (int x = 0; x < count; ++x) {
                    a[x] = std::max(a[x], a2[x]);
                    b[x] = std::min(b[x], b2[x]);
                }
            }
        }
    };
    int k = 1;
    while (2 * k <= n) {
        pass(k, len - 2 * k);
        k *= 2;
    }
    if (k < n)
        pass(n - k, len - n);
}

// Max and min of every n x n block of one plane, indexed by the block's top-left pixel.
void BlockExtremes(const unsigned char* plane, int w, int h, int n, std::vector<unsigned char>& blockMax,
                   std::vector<unsigned char>& blockMin)
{
    const int bw = w - n + 1;
    const int bh = h - n + 1;
    blockMax.assign(plane, plane + static_cast<std::size_t>(w) * h);
    blockMin.assign(plane, plane + static_cast<std::size_t>(w) * h);
    // Along the rows, then down the columns; the result is then packed to bw values a row.
    SlidingExtremes(blockMax.data(), blockMin.data(), w, n, static_cast<std::size_t>(w), h, false);
    SlidingExtremes(blockMax.data(), blockMin.data(), h, n, static_cast<std::size_t>(w), w, true);
    for (int y = 0; y < bh; ++y) {
        std::copy_n(&blockMax[static_cast<std::size_t>(y) * w], bw, &blockMax[static_cast<std::size_t>(y) * bw]);
        std::copy_n(&blockMin[static_cast<std::size_t>(y) * w], bw, &blockMin[static_cast<std::size_t>(y) * bw]);
    }
    blockMax.resize(static_cast<std::size_t>(bw) * bh);
    blockMin.resize(blockMax.size());
}

// The uniform test of an n x n window: every pixel within 10 of the reference pixel, which is the
// window's pixel nearest the searched image corner.
class UniformTester {
public:
    void Build(const unsigned char* const planes[3], int w, int h, int n)
    {
        w_ = w;
        bw_ = w - n + 1;
        for (int c = 0; c < 3; ++c) {
            planes_[c] = planes[c];
            BlockExtremes(planes_[c], w, h, n, max_[c], min_[c]);
        }
    }
    bool Test(int refX, int refY, int blockX, int blockY) const
    {
        const std::size_t ref = static_cast<std::size_t>(refY) * w_ + refX;
        const std::size_t block = static_cast<std::size_t>(blockY) * bw_ + blockX;
        for (int c = 0; c < 3; ++c) {
            const int v = planes_[c][ref];
            if (max_[c][block] - v > 10 || v - min_[c][block] > 10)
                return false;
        }
        return true;
    }

private:
    int w_ = 0;
    int bw_ = 0;
    const unsigned char* planes_[3] = {};
    std::vector<unsigned char> max_[3];
    std::vector<unsigned char> min_[3];
};

struct CornerScan {
    int sx; // +1: window extends to the right of x0, -1: to the left
    int sy; // +1: window extends below y0, -1: above
};

// Scan rows handled together. A corner's rows are taken in bands: each band is copied mirrored,
// so that every window reaches right and down from its origin as at the top-left corner, and the
// tests are prepared from that copy alone. The buffers stay small (in cache, no fresh pages on
// every call) and the work ends with the band of the first hit.
constexpr int kCrossBandRows = 48;
constexpr int kUniformBandRows = 128; // its windows reach 34 rows past the band

// The band's pixels in scan order: element (col, row) is the image pixel col columns and row rows
// away from the searched corner, starting at scan row r0.
class MirroredBand {
public:
    void Fill(const ZarnLib_ImagePlanes& planes, int w, int h, CornerScan s, int r0, int rows, int cols)
    {
        const unsigned char* src[3] = {planes.red.get(), planes.green.get(), planes.blue.get()};
        for (int c = 0; c < 3; ++c) {
            data_[c].resize(static_cast<std::size_t>(rows) * cols);
            for (int row = 0; row < rows; ++row) {
                const int y = s.sy > 0 ? r0 + row : h - 1 - (r0 + row);
                const unsigned char* in = src[c] + static_cast<std::size_t>(y) * w;
                unsigned char* out = data_[c].data() + static_cast<std::size_t>(row) * cols;
                if (s.sx > 0)
                    std::copy(in, in + cols, out);
                else
                    std::reverse_copy(in + w - cols, in + w, out);
            }
            planes_[c] = data_[c].data();
        }
    }
    const unsigned char* const* Planes() const { return planes_; }

private:
    std::vector<unsigned char> data_[3];
    const unsigned char* planes_[3] = {};
};

} // namespace

int MarkerWindowSize(int chartKind) { return (chartKind == 4 || chartKind == 5) ? 35 : 21; }

bool UsesCrossMarker(int chartKind) { return chartKind == 1 || chartKind == 2 || chartKind == 3 || chartKind == 6; }

bool MarkerTest(int width, int height, int chartKind, const unsigned char* const* red,
                const unsigned char* const* green, const unsigned char* const* blue, POINT* position)
{
    if (width <= 0 || height <= 0 || !red || !green || !blue)
        return false;
    const unsigned char* const* planes[3] = {red, green, blue};
    if (!UsesCrossMarker(chartKind)) {
        for (int col = 0; col < width; ++col) {
            for (int row = 0; row < height; ++row) {
                for (int c = 0; c < 3; ++c) {
                    if (std::abs(planes[c][col][row] - planes[c][0][0]) > 10)
                        return false;
                }
            }
        }
        return true;
    }
    const int cx = width / 2;
    const int cy = height / 2;
    int centre[3];
    long long crossSum[3] = {}, quad[4][3] = {};
    long long crossCount = 0, quadCount[4] = {};
    for (int c = 0; c < 3; ++c)
        centre[c] = planes[c][cx][cy];
    for (int col = std::max(0, width - kCrossSpan); col < width; ++col) {
        for (int row = std::max(0, height - kCrossSpan); row < height; ++row) {
            int q = -1;
            if (col == cx || row == cy) {
                ++crossCount;
                for (int c = 0; c < 3; ++c)
                    crossSum[c] += planes[c][col][row];
                continue;
            }
            if (col < cx && row < cy)
                q = 0;
            else if (col > cx && row < cy)
                q = 1;
            else if (col > cx && row > cy)
                q = 2;
            else
                q = 3;
            ++quadCount[q];
            for (int c = 0; c < 3; ++c)
                quad[q][c] += planes[c][col][row];
        }
    }
    if (crossCount == 0)
        return false;
    for (int c = 0; c < 3; ++c) {
        if (std::abs(centre[c] - crossSum[c] / crossCount) >= 25)
            return false;
    }
    const int t = ContrastThreshold(centre[0], centre[1], centre[2]);
    for (int q = 0; q < 4; ++q) {
        if (quadCount[q] == 0)
            return false;
        for (int c = 0; c < 3; ++c) {
            if (std::abs(centre[c] - quad[q][c] / quadCount[q]) < t)
                return false;
        }
    }
    if (position)
        *position = POINT{cx, cy};
    return true;
}

bool FindChartCorners(const ZarnLib_Image* image, int chartKind, POINT* tl, POINT* tr, POINT* br, POINT* bl)
{
    if (!image || !tl || !tr || !br || !bl)
        return false;
    unsigned uw = 0, uh = 0;
    const ZarnLib_ImagePlanes* planes = nullptr;
    RECT fit{};
    if (image->GetWidth(&uw) != 0 || image->GetHeight(&uh) != 0 || image->GetPlanes(&planes) != 0 ||
        image->GetFitRect(&fit) != 0)
        return false;
    const int n = MarkerWindowSize(chartKind);
    // The scan ranges need room for a whole window from each corner to the middle.
    if (uw < static_cast<unsigned>(2 * n) || uh < static_cast<unsigned>(2 * n) || uw > 0x7FFFFFFF || uh > 0x7FFFFFFF)
        return false;
    const int w = static_cast<int>(uw);
    const int h = static_cast<int>(uh);
    const int hw = w / 2;
    const int hh = h / 2;
    const bool cross = UsesCrossMarker(chartKind);

    const int centre = n / 2;
    CrossTester crossTester;
    UniformTester uniformTester;
    MirroredBand band;

    POINT* outs[4] = {tl, tr, br, bl};
    const CornerScan scans[4] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
    bool found[4] = {};
    // Columns of a band: every window origin of a row and the window's reach past the last one.
    const int cols = hw + n - 1;
    for (int k = 0; k < 4; ++k) {
        const CornerScan s = scans[k];
        const int rows = s.sy > 0 ? hh : hh - 1;
        const int bandStep = cross ? kCrossBandRows : kUniformBandRows;
        for (int r0 = 0; r0 < rows && !found[k]; r0 += bandStep) {
            const int bandRows = std::min(bandStep, rows - r0);
            band.Fill(*planes, w, h, s, r0, bandRows + n - 1, cols);
            if (cross)
                crossTester.Build(band.Planes(), cols, bandRows + n - 1);
            else
                uniformTester.Build(band.Planes(), cols, bandRows + n - 1, n);
            for (int i = 0; i < bandRows && !found[k]; ++i) {
                for (int j = 0; j < hw; ++j) {
                    const bool hit = cross ? crossTester.Test(j + centre, i + centre) : uniformTester.Test(j, i, j, i);
                    if (!hit)
                        continue;
                    const int x0 = s.sx > 0 ? j : w - 1 - j;
                    const int y0 = s.sy > 0 ? r0 + i : h - 1 - (r0 + i);
                    // The cross test marks the window's centre; the uniform test its [0][0] pixel.
                    const int d = cross ? centre : 0;
                    *outs[k] = POINT{fit.left + x0 + s.sx * d, fit.top + y0 + s.sy * d};
                    found[k] = true;
                    break;
                }
            }
        }
    }

    if (!found[0] && found[1] && found[3]) {
        *tl = POINT{bl->x, tr->y};
        found[0] = true;
    }
    if (!found[1] && found[0] && found[2]) {
        *tr = POINT{br->x, tl->y};
        found[1] = true;
    }
    if (!found[2] && found[1] && found[3]) {
        *br = POINT{tr->x, bl->y};
        found[2] = true;
    }
    if (!found[3] && found[0] && found[2]) {
        *bl = POINT{tl->x, br->y};
        found[3] = true;
    }
    return found[0] && found[1] && found[2] && found[3];
}

bool IsConvexQuad(LONG x1, LONG y1, LONG x2, LONG y2, LONG x3, LONG y3, LONG x4, LONG y4)
{
    // Wide differences and products: 32-bit ones overflow for far-apart points.
    const std::int64_t ex[4] = {std::int64_t(x2) - x1, std::int64_t(x3) - x2, std::int64_t(x4) - x3,
                                std::int64_t(x1) - x4};
    const std::int64_t ey[4] = {std::int64_t(y2) - y1, std::int64_t(y3) - y2, std::int64_t(y4) - y3,
                                std::int64_t(y1) - y4};
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        if (Wide(ex[i]) * ey[j] - Wide(ey[i]) * ex[j] <= 0)
            return false;
    }
    return true;
}

int CheckChartCorners(const POINT corners[4])
{
    if (!corners)
        return 0;
    return IsConvexQuad(corners[0].x, corners[0].y, corners[1].x, corners[1].y, corners[2].x, corners[2].y,
                        corners[3].x, corners[3].y)
               ? 1
               : 0;
}

bool IsPositiveTurn(LONG x1, LONG y1, LONG x2, LONG y2, LONG x3, LONG y3)
{
    const Wide a = Wide(std::int64_t(x2) - x1) * (std::int64_t(y3) - y2);
    const Wide b = Wide(std::int64_t(y2) - y1) * (std::int64_t(x3) - x2);
    return a - b > 0;
}
