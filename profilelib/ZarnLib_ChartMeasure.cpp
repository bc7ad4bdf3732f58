#include "profilelib/ZarnLib_ChartMeasure.h"

#include "profilelib/ZarnLib_ChartPatchFlatness.h"
#include "profilelib/ZarnLib_CnvPolyLine.h"
#include "profilelib/ZarnLib_Image.h"
#include "profilelib/ZarnLib_ImageRowReader.h"
#include "profilelib/ZarnLib_PatchSums.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_Scales.h"
#include "profilelib/ZarnLib_Vector2.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;
constexpr int kSquare = 40;
constexpr int kMaxSlots = 25;
// Lines of each half of a patch's middle sampled whole on an upright chart, and points per side of
// the grid that samples it on a turned one (a run of its own each): enough for grain to average
// out, few next to the decoding of the photograph.
constexpr int kHalfLines = 48;
constexpr int kHalfGrid = 16;
// The four halves of a patch's middle, in the order their sums follow the patches' own.
enum { kLeftHalf, kRightHalf, kUpperHalf, kLowerHalf, kHalves };

struct Geometry {
    double w, h, a, b, pw, ph, g;
};

// Chart kinds 1 to 6 in the chart's own unit: patch area, marker distances, patch size and gap.
constexpr Geometry kGeometry[6] = {
    {175, 109, 27.5, 45, 25, 40, 0},     {310, 160, 3, 3, 30, 50, 5},     {273.5, 178.5, 1, 1, 41, 40.5, 5.5},
    {87, 57, 1.5, 1.5, 12, 12, 3},       {72, 47, 0, 0, 9.5, 9.5, 3},     {180, 118.4, 1, 1, 26, 26, 4.8},
};

// One sampled patch: its row, its column and the slot that keeps it (-1: read, not kept).
struct PatchRef {
    int row;
    int column;
    int slot;
};

std::vector<PatchRef> PatchesOf(int kind)
{
    std::vector<PatchRef> list;
    switch (kind) {
    case 1:
        for (int i = 0; i < 7; ++i)
            list.push_back({1, i, i});
        break;
    case 2: {
        for (int i = 0; i < 9; ++i)
            list.push_back({0, i, i});
        int slot = 9;
        for (int i = 0; i < 9; ++i)
            list.push_back({1, i, (i == 3 || i == 5) ? -1 : slot++});
        for (int i = 0; i < 9; ++i)
            list.push_back({2, i, 16 + i});
        break;
    }
    case 3:
    case 4:
    case 5:
        for (int i = 0; i < 6; ++i)
            list.push_back({3, i, i});
        break;
    case 6: {
        // Rows in ascending order: row 0 first (its patch 0 is slot 3), then row 3.
        for (int i = 0; i < 6; ++i)
            list.push_back({0, i, i == 0 ? 3 : -1});
        const int bottomSlots[6] = {0, 1, 2, 4, 5, 6};
        for (int i = 0; i < 6; ++i)
            list.push_back({3, i, bottomSlots[i]});
        break;
    }
    default:
        break;
    }
    return list;
}

int CurveLength(int kind)
{
    if (kind == 2)
        return 25;
    if (kind >= 3 && kind <= 5)
        return 6;
    return 7;
}

// The shutter index of a cine setting; -1 when it has none.
int CineIndex(double frameRate, double shutterAngle)
{
    if (frameRate == 0.0)
        return -1;
    const double seconds = shutterAngle / (frameRate * 360.0);
    // A time of 0, below 0 or not finite has no index (it is not the shortest shutter step).
    if (!std::isfinite(seconds) || seconds <= 0.0)
        return -1;
    return SecondsToShutterIndex(seconds);
}

struct Rotation {
    double m[9];
    void Apply(double x, double y, double* ox, double* oy) const
    {
        *ox = x * m[0] + y * m[3] + m[6];
        *oy = x * m[1] + y * m[4] + m[7];
    }
};

// Rotation by theta about (cx, cy): translate by -c, then the rotation whose third row is c.
Rotation RotationAbout(double theta, double cx, double cy)
{
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    const double translate[9] = {1, 0, 0, 0, 1, 0, -cx, -cy, 1};
    const double rotate[9] = {c, -s, 0, s, c, 0, cx, cy, 1};
    Rotation r{};
    MultiplyAffine(rotate, translate, r.m);
    return r;
}

// Sum index of half h of patch p's middle, after the patches' own sums.
int HalfIndex(const std::vector<PatchRef>& patches, std::size_t p, int h)
{
    return static_cast<int>(patches.size() + p * kHalves + static_cast<std::size_t>(h));
}

// Lists the samples of every patch for a photograph of width x height: in the chart's upright
// frame a 40 x 40 square centred on the patch, mapped back into the photograph. -1 when the chart
// is too small or a sample lies outside the photograph (it would read made-up pixels). With
// `halves`, the middle half of each used patch (half its width by half its height) is sampled as
// well, split into its left and right halves and into its upper and lower halves: a quarter of
// the patch away from its edges, where blur, a marker placed a little off or a slightly slanted
// view do not reach. Their samples outside the photograph are left out.
int PlanSamples(POINT tl, POINT tr, POINT br, POINT bl, int chartKind, std::uint32_t width, std::uint32_t height,
                const std::vector<PatchRef>& patches, bool halves, ZarnLib_PatchSums* sums)
{
    const Geometry& geo = kGeometry[chartKind - 1];
    // Chart angle from the top edge.
    const double dx = static_cast<double>(tl.x) - tr.x;
    const double dy = static_cast<double>(tl.y) - tr.y;
    double a = 0.0;
    if (std::sqrt(dx * dx + dy * dy) != 0.0) {
        a = std::atan2(dy, dx);
        if (a > kHalfPi)
            a -= kPi;
        else if (a < -kHalfPi)
            a += kPi;
    }
    double deg = -a * 57.29577951308232;
    if (tl.x > tr.x)
        deg -= 180.0;
    if (tl.y > br.y)
        deg -= 360.0;
    const bool rotated = std::fabs(deg) > 2.0;

    const double cx = width * 0.5;
    const double cy = height * 0.5;
    long long left = 0, top = 0, right = 0, bottom = 0;
    if (!rotated) {
        left = std::min(tl.x, bl.x);
        right = std::max(tr.x, br.x);
        top = std::min(tl.y, tr.y);
        bottom = std::max(bl.y, br.y);
    } else {
        const Rotation toUpright = RotationAbout(DegreesToRadians(-deg), cx, cy);
        const POINT corners[4] = {tl, tr, br, bl};
        double minX = 0, maxX = 0, minY = 0, maxY = 0;
        for (int i = 0; i < 4; ++i) {
            double x = 0, y = 0;
            toUpright.Apply(corners[i].x, corners[i].y, &x, &y);
            minX = i == 0 ? x : std::min(minX, x);
            maxX = i == 0 ? x : std::max(maxX, x);
            minY = i == 0 ? y : std::min(minY, y);
            maxY = i == 0 ? y : std::max(maxY, y);
        }
        left = static_cast<long long>(std::trunc(minX));
        right = static_cast<long long>(std::trunc(maxX));
        top = static_cast<long long>(std::trunc(minY));
        bottom = static_cast<long long>(std::trunc(maxY));
    }

    const long long w = right - left;
    const long long h = bottom - top;
    if (w < 360)
        return -1;
    if ((chartKind <= 2 && h < 120) || (chartKind >= 3 && h < 160))
        return -1;

    const long long mx = geo.a == 0.0 ? 0 : static_cast<long long>(std::trunc(w / ((geo.a + geo.a + geo.w) / geo.a)));
    const long long my = geo.b == 0.0 ? 0 : static_cast<long long>(std::trunc(h / ((geo.b + geo.b + geo.h) / geo.b)));
    const long long left2 = left + mx;
    const long long w2 = w - 2 * mx;
    const long long top2 = top + my;
    const long long bottom2 = bottom - my;
    const long long h2 = h - 2 * my;
    const long long half = h2 / 2;

    long long pw = 0, gp = 0, hp = 0;
    if (chartKind == 2) {
        pw = static_cast<long long>(std::trunc(w2 / ((geo.g * 8 + geo.pw * 9) / geo.pw)));
        gp = static_cast<long long>(std::trunc(w2 / ((geo.g * 8 + geo.pw * 9) / geo.g)));
        hp = static_cast<long long>(std::trunc(h2 / ((geo.g + geo.g + geo.ph * 3) / (geo.ph * 0.5))));
    } else if (chartKind >= 3) {
        pw = static_cast<long long>(std::trunc(w2 / ((geo.g * 5 + geo.pw * 6) / geo.pw)));
        gp = static_cast<long long>(std::trunc(w2 / ((geo.g * 5 + geo.pw * 6) / geo.g)));
        hp = static_cast<long long>(std::trunc(h2 / ((geo.g * 3 + geo.ph * 4) / (geo.ph * 0.5))));
    } else {
        pw = w2 / 7;
        gp = 0;
        hp = h2 / 9;
    }
    auto rowTop = [&](int row) {
        if (row == 0)
            return top2 + hp - 20;
        if (row == 1)
            return top2 + half - 20;
        return bottom2 - hp - 20;
    };

    // The sampling maps the chart's upright frame back into the photograph: the inverse of the
    // rotation that made the bounding box, whatever the angle.
    const Rotation toPhoto = RotationAbout(-DegreesToRadians(-deg), cx, cy);
    const auto inside = [&](long long x, long long y) {
        return x >= 0 && y >= 0 && x < static_cast<long long>(width) && y < static_cast<long long>(height);
    };
    const double patchW = static_cast<double>(w2) * geo.pw / geo.w;
    const double patchH = static_cast<double>(h2) * geo.ph / geo.h;
    // Samples [x0, x1) x [y0, y1) of the upright frame: upright, at most kHalfLines of its lines,
    // each whole; turned, a grid of at most kHalfGrid x kHalfGrid points, each pixel a run of its own.
    const auto sampleHalf = [&](int index, double x0, double y0, double x1, double y1) {
        if (!rotated) {
            const auto from = static_cast<long long>(std::ceil(x0)), to = static_cast<long long>(std::ceil(x1));
            const int lines = std::clamp(static_cast<int>(y1 - y0), 1, kHalfLines);
            for (int j = 0; j < lines; ++j) {
                const auto y = static_cast<long long>(std::floor(y0 + (j + 0.5) * (y1 - y0) / lines));
                if (to > from && inside(from, y) && inside(to - 1, y))
                    sums->Add(index, static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(y),
                              static_cast<std::uint32_t>(to - from));
            }
            return;
        }
        const int nx = std::clamp(static_cast<int>(x1 - x0), 1, kHalfGrid);
        const int ny = std::clamp(static_cast<int>(y1 - y0), 1, kHalfGrid);
        for (int j = 0; j < ny; ++j) {
            for (int i = 0; i < nx; ++i) {
                double x = 0, y = 0;
                toPhoto.Apply(x0 + (i + 0.5) * (x1 - x0) / nx, y0 + (j + 0.5) * (y1 - y0) / ny, &x, &y);
                const auto px = static_cast<long long>(std::floor(x)), py = static_cast<long long>(std::floor(y));
                if (inside(px, py))
                    sums->Add(index, static_cast<std::uint32_t>(px), static_cast<std::uint32_t>(py), 1);
            }
        }
    };

    for (std::size_t p = 0; p < patches.size(); ++p) {
        const PatchRef& patch = patches[p];
        const int index = static_cast<int>(p);
        const long long x0 = left2 - 20 + pw / 2 + patch.column * (pw + gp);
        const long long y0 = rowTop(patch.row);
        if (halves && patch.slot >= 0) {
            const double px = static_cast<double>(x0 + kSquare / 2), py = static_cast<double>(y0 + kSquare / 2);
            const double w4 = patchW / 4, h4 = patchH / 4;
            sampleHalf(HalfIndex(patches, p, kLeftHalf), px - w4, py - h4, px, py + h4);
            sampleHalf(HalfIndex(patches, p, kRightHalf), px, py - h4, px + w4, py + h4);
            sampleHalf(HalfIndex(patches, p, kUpperHalf), px - w4, py - h4, px + w4, py);
            sampleHalf(HalfIndex(patches, p, kLowerHalf), px - w4, py, px + w4, py + h4);
        }
        if (!rotated) {
            if (!inside(x0, y0) || !inside(x0 + kSquare - 1, y0 + kSquare - 1))
                return -1;
            for (int j = 0; j < kSquare; ++j)
                sums->Add(index, static_cast<std::uint32_t>(x0), static_cast<std::uint32_t>(y0 + j), kSquare);
            continue;
        }
        // Each line of the square is walked from its mapped start to its mapped end; the start
        // pixel is taken twice and the end once more.
        for (int j = 0; j < kSquare; ++j) {
            double sx = 0, sy = 0, ex = 0, ey = 0;
            toPhoto.Apply(static_cast<double>(x0), static_cast<double>(y0 + j), &sx, &sy);
            toPhoto.Apply(static_cast<double>(x0 + kSquare), static_cast<double>(y0 + j), &ex, &ey);
            const long long x1 = static_cast<long long>(std::trunc(sx)), y1 = static_cast<long long>(std::trunc(sy));
            const long long x2 = static_cast<long long>(std::trunc(ex)), y2 = static_cast<long long>(std::trunc(ey));
            const long long ddx = x2 - x1, ddy = y2 - y1;
            auto take = [&](long long x, long long y) {
                if (!inside(x, y))
                    return false;
                sums->Add(index, static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), 1);
                return true;
            };
            if (!take(x1, y1))
                return -1;
            if (std::llabs(ddx) > std::llabs(ddy)) {
                const long long step = ddx > 0 ? 1 : -1;
                for (long long k = 0; k != ddx; k += step) {
                    if (!take(x1 + k, y1 + (k * ddy) / ddx))
                        return -1;
                }
            } else if (ddy != 0) {
                const long long step = ddy > 0 ? 1 : -1;
                for (long long k = 0; k != ddy; k += step) {
                    if (!take(x1 + (k * ddx) / ddy, y1 + k))
                        return -1;
                }
            }
            if (!take(x2, y2))
                return -1;
        }
    }
    return 0;
}

} // namespace

double DegreesToRadians(double degrees)
{
    const double s = degrees > 0 ? 1.0 : -1.0;
    double a = std::fmod(std::fabs(degrees), 360.0);
    while (a > 180.0)
        a -= 360.0;
    return s * a * kPi / 180.0;
}

void MultiplyAffine(const double self[9], const double other[9], double out[9])
{
    double r[9];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 3; ++k)
                sum += other[3 * i + k] * self[3 * k + j];
            r[3 * i + j] = sum;
        }
    }
    std::copy(r, r + 9, out);
}

int MeasureChartPhoto(std::wstring path, POINT tl, POINT tr, POINT br, POINT bl, int chartKind,
                      ZarnLib_PatchKey tableKey, ZarnLib_EntryKey photoKey, ZarnLib_Profile* profile,
                      ZarnLib_ChartPatchFlatness* flatness)
{
    if (tableKey.GetCineMode() == 1) {
        const int photoIndex = CineIndex(photoKey.GetFrameRate(), photoKey.GetShutterAngle());
        if (photoIndex == -1)
            return -1;
        photoKey.SetShutter(photoIndex);
        const int il = CineIndex(tableKey.GetIlFrameRate(), tableKey.GetIlShutterAngle());
        if (il == -1 || il > kShutterIndexMax || tableKey.SetIlShutter(il) != 0)
            return -1;
        const int rl = CineIndex(tableKey.GetRlFrameRate(), tableKey.GetRlShutterAngle());
        if (rl == -1 || rl > kShutterIndexMax || tableKey.SetRlShutter(rl) != 0)
            return -1;
    }
    // Only kinds 1 to 6 have a chart geometry and a slot table that fits the curve.
    if (chartKind < 1 || chartKind > 6)
        return -1;

    // The photograph is decoded row by row and only the sampled pixels are summed, so the
    // measurement never holds the whole picture. Layouts that cannot be streamed are loaded whole.
    // A photograph that cannot be read is reported before any fault of the chart's placement.
    const std::vector<PatchRef> patches = PatchesOf(chartKind);
    const bool halves = flatness != nullptr;
    ZarnLib_PatchSums sums(static_cast<int>(patches.size() * (halves ? 1 + kHalves : 1)));
    int plan = -1;
    const auto planFor = [&](std::uint32_t width, std::uint32_t height) {
        plan = PlanSamples(tl, tr, br, bl, chartKind, width, height, patches, halves, &sums);
        sums.Seal();
    };
    const auto read = ZarnLib_ImageRowReader::Read(path, planFor, [&](std::uint32_t y, const unsigned char* rgb) {
        if (plan == 0)
            sums.TakeRow(y, rgb);
    });
    if (read == ZarnLib_ImageRowReader::Result::Failed)
        return kImageErrorNoBitmap;
    if (read == ZarnLib_ImageRowReader::Result::NotStreamable) {
        ZarnLib_Image image;
        int r = image.Reset();
        if (r == 0)
            r = image.Load(path, 0, 0, 0, nullptr, nullptr);
        unsigned width = 0, height = 0;
        if (r == 0)
            r = image.GetWidth(&width);
        if (r == 0)
            r = image.GetHeight(&height);
        if (r != 0)
            return r;
        planFor(width, height);
        const ZarnLib_Bitmap* bitmap = nullptr;
        if (plan == 0) {
            if (image.GetBitmap(&bitmap) != 0 || !bitmap || bitmap->GetWidth() != width ||
                bitmap->GetHeight() != height)
                return kImageErrorNoBitmap;
            sums.TakeBitmap(*bitmap);
        }
    }
    if (plan != 0)
        return plan;

    unsigned char slots[kMaxSlots][3] = {};
    for (std::size_t p = 0; p < patches.size(); ++p) {
        const int slot = patches[p].slot;
        const ZarnLib_PatchSums::Sum& sum = sums.Of(static_cast<int>(p));
        if (slot >= 0 && slot < kMaxSlots && sum.n > 0) {
            slots[slot][0] = static_cast<unsigned char>(sum.r / sum.n);
            slots[slot][1] = static_cast<unsigned char>(sum.g / sum.n);
            slots[slot][2] = static_cast<unsigned char>(sum.b / sum.n);
        }
    }

    if (profile) {
        const int count = CurveLength(chartKind);
        std::vector<_ZARNLIB_VECTOR2> points(static_cast<std::size_t>(count));
        for (int k = 0; k < count; ++k) {
            points[k].x = k;
            points[k].y = slots[count - 1 - k][1];
        }
        ZarnLib_CnvPolyLine curve;
        if (curve.SetPoints(points.data(), count, false) != 0)
            return -1;
        if (profile->AddEntry(tableKey, photoKey, curve) != 0)
            return -1;
    }
    if (flatness != nullptr) {
        flatness->Clear();
        const auto greenMean = [&](int index) {
            const ZarnLib_PatchSums::Sum& sum = sums.Of(index);
            return sum.n > 0 ? static_cast<double>(sum.g) / static_cast<double>(sum.n) : 0.0;
        };
        for (std::size_t p = 0; p < patches.size(); ++p) {
            if (patches[p].slot < 0)
                continue;
            ZarnLib_ChartPatchFlatness::Patch patch;
            patch.row = patches[p].row;
            patch.column = patches[p].column;
            patch.level = greenMean(static_cast<int>(p));
            patch.across = greenMean(HalfIndex(patches, p, kRightHalf)) - greenMean(HalfIndex(patches, p, kLeftHalf));
            patch.down = greenMean(HalfIndex(patches, p, kLowerHalf)) - greenMean(HalfIndex(patches, p, kUpperHalf));
            flatness->Add(patch);
        }
    }
    return 0;
}
