#include "profilelib/ZarnLib_ChartCorners.h"
#include "profilelib/ZarnLib_Image.h"
#include "tests/profilelib/ImageTestFiles.h"
#include "tests/support/ZarnTest_ChartPhoto.h"
#include "tests/support/ZarnTest_DirectCornerScan.h"

#include <gtest/gtest.h>

#include <random>

using namespace imagetest;

namespace {

// White picture with dark one-pixel crosses (arms of 12) centred on the given points.
std::unique_ptr<ZarnLib_Bitmap> Crosses(int w, int h, std::vector<POINT> centres)
{
    return MakeBitmap(w, h, [&](int x, int y) {
        for (const POINT& c : centres)
            if ((x == c.x && std::abs(y - c.y) <= 12) || (y == c.y && std::abs(x - c.x) <= 12))
                return Rgb(0, 0, 0);
        return Rgb(255, 255, 255);
    });
}

struct Found {
    bool ok;
    POINT p[4];
};

Found Search(const ZarnLib_Image& image, int kind)
{
    Found f{false, {}};
    f.ok = FindChartCorners(&image, kind, &f.p[0], &f.p[1], &f.p[2], &f.p[3]);
    Found d{false, {}};
    d.ok = ZarnTest_DirectCornerScan::Find(&image, kind, &d.p[0], &d.p[1], &d.p[2], &d.p[3]);
    EXPECT_EQ(d.ok, f.ok) << "the direct scan disagrees";
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(d.p[i], f.p[i]) << "corner " << i << " differs from the direct scan";
    return f;
}

TEST(ChartCorners, CrossMarkersWithCompletion)
{
    const struct {
        const char* name;
        std::vector<POINT> crosses;
        bool ok;
        POINT tl, tr, br, bl;
    } cases[] = {
        {"all four", {{10, 10}, {89, 12}, {88, 69}, {11, 68}}, true, {10, 10}, {89, 12}, {88, 69}, {11, 68}},
        {"TL missing", {{89, 12}, {88, 69}, {11, 68}}, true, {11, 12}, {89, 12}, {88, 69}, {11, 68}},
        {"TL and BR missing", {{89, 12}, {11, 68}}, true, {11, 12}, {89, 12}, {89, 68}, {11, 68}},
        {"TL and TR missing", {{88, 69}, {11, 68}}, false, {0, 0}, {0, 0}, {88, 69}, {11, 68}},
        {"two in TL, higher row wins", {{30, 20}, {12, 25}, {89, 12}, {88, 69}, {11, 68}}, true, {30, 20}, {89, 12},
         {88, 69}, {11, 68}},
        {"two in TL, same row, left wins", {{30, 20}, {14, 20}, {89, 12}, {88, 69}, {11, 68}}, true, {14, 20},
         {89, 12}, {88, 69}, {11, 68}},
    };
    for (const auto& c : cases) {
        ZarnLib_Image image;
        ASSERT_EQ(0, LoadWithPlanes(*Crosses(100, 80, c.crosses), "cross.tif", image));
        const Found f = Search(image, 1);
        EXPECT_EQ(c.ok, f.ok) << c.name;
        EXPECT_EQ(c.tl, f.p[0]) << c.name;
        EXPECT_EQ(c.tr, f.p[1]) << c.name;
        EXPECT_EQ(c.br, f.p[2]) << c.name;
        EXPECT_EQ(c.bl, f.p[3]) << c.name;
    }
}

TEST(ChartCorners, FitOriginIsAddedAndBottomRowLimitHolds)
{
    // Fitted load of a 100 x 80 picture into 140 x 80: origin (20, 0).
    const std::string path = TempFile("cross_fit.tif");
    ZarnTest_ExifWriter(false).WriteTiff(*Crosses(100, 80, {{10, 10}, {89, 12}, {88, 69}, {11, 68}}), path);
    ZarnLib_Image image;
    image.Reset();
    RECT rect{};
    double scale = 0;
    ASSERT_EQ(0, image.Load(Wide(path), kImageLoadFitPlanes, 140, 80, &rect, &scale));
    const Found f = Search(image, 2);
    EXPECT_TRUE(f.ok);
    EXPECT_EQ((POINT{30, 10}), f.p[0]);

    // A bottom marker whose window would start at row H - hh (= 40) is not tried: the cross centre
    // at row 30 needs the window at row 40.
    ZarnLib_Image low;
    ASSERT_EQ(0, LoadWithPlanes(*Crosses(100, 80, {{10, 10}, {89, 12}, {88, 69}, {11, 30}}), "cross_low.tif", low));
    const Found g = Search(low, 1);
    EXPECT_EQ((POINT{10, 69}), g.p[3]) << "BL completed from TL and BR instead";
}

TEST(ChartCorners, MarkerThresholds)
{
    // 21 x 21 window: centre colour on the cross, background in the quadrants.
    auto run = [](int cr, int cg, int cb, int br, int bg, int bb) {
        std::vector<unsigned char> data[3];
        std::vector<const unsigned char*> cols[3];
        const int centre[3] = {cr, cg, cb}, back[3] = {br, bg, bb};
        for (int c = 0; c < 3; ++c) {
            data[c].resize(21 * 21);
            for (int col = 0; col < 21; ++col)
                for (int row = 0; row < 21; ++row)
                    data[c][col * 21 + row] = static_cast<unsigned char>((col == 10 || row == 10) ? centre[c] : back[c]);
            for (int col = 0; col < 21; ++col)
                cols[c].push_back(data[c].data() + col * 21);
        }
        POINT pos{};
        return MarkerTest(21, 21, 1, cols[0].data(), cols[1].data(), cols[2].data(), &pos);
    };
    const struct {
        int c[3], b[3];
        bool ok;
    } cases[] = {
        {{100, 100, 100}, {220, 220, 220}, true},  {{100, 100, 100}, {219, 219, 219}, false}, // T = 120
        {{99, 200, 200}, {199, 0, 0}, true},       {{99, 200, 200}, {198, 0, 0}, false},      // T = 100
        {{180, 180, 180}, {110, 110, 110}, true},  {{180, 180, 180}, {111, 111, 111}, false}, // T = 70
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.ok, run(c.c[0], c.c[1], c.c[2], c.b[0], c.b[1], c.b[2])) << c.c[0] << " " << c.b[0];
}

TEST(ChartCorners, UniformBlocksForKindsFourAndFive)
{
    std::mt19937 rng(7);
    std::vector<std::uint32_t> noise(200 * 120);
    for (auto& v : noise)
        v = Rgb(rng() % 256, rng() % 256, rng() % 256);
    auto picture = [&](int offGreen) {
        return MakeBitmap(200, 120, [&, offGreen](int x, int y) {
            if (x < 35 && y < 35)
                return (x == 20 && y == 20) ? Rgb(90, 90 + offGreen, 90) : Rgb(90, 90, 90);
            return noise[y * 200 + x];
        });
    };
    ZarnLib_Image image;
    ASSERT_EQ(0, LoadWithPlanes(*picture(10), "uniform.tif", image));
    Found f = Search(image, 4);
    EXPECT_EQ((POINT{0, 0}), f.p[0]);
    ASSERT_EQ(0, LoadWithPlanes(*picture(11), "uniform11.tif", image));
    f = Search(image, 5);
    EXPECT_FALSE(f.ok);
    EXPECT_EQ((POINT{0, 0}), f.p[0]);
}

TEST(ChartCorners, SmallImagesAreRefusedWithoutReading)
{
    for (int size : {1, 20, 41, 69}) {
        ZarnLib_Image image;
        ASSERT_EQ(0, LoadWithPlanes(*MakeBitmap(size, 80, [](int, int) { return Rgb(255, 255, 255); }), "small.tif", image));
        POINT p[4] = {{5, 5}, {5, 5}, {5, 5}, {5, 5}};
        EXPECT_FALSE(FindChartCorners(&image, size < 42 ? 1 : 4, &p[0], &p[1], &p[2], &p[3]));
        EXPECT_EQ((POINT{5, 5}), p[0]);
    }
    ZarnLib_Image noPlanes;
    noPlanes.Reset();
    POINT p[4]{};
    EXPECT_FALSE(FindChartCorners(&noPlanes, 1, &p[0], &p[1], &p[2], &p[3]));
}

TEST(ChartCorners, SearchMatchesTheDirectScanOnChartsAndNoise)
{
    // Every kind at two of the angles, the angles taken in turn: each angle is met twice or more.
    const double angles[5] = {0.0, 2.5, 10.0, 60.0, 180.0};
    for (int kind = 1; kind <= 6; ++kind) {
        for (double angle : {angles[kind % 5], angles[(kind + 2) % 5]}) {
            ZarnTest_ChartSpec drawing;
            drawing.kind = kind;
            drawing.width = 240;
            drawing.height = 160;
            drawing.angle = angle;
            drawing.chartFraction = 0.6;
            drawing.crossArm = 14;
            drawing.crossHalfWidth = 1.5;
            drawing.stripePeriod = 12;
            drawing.toneCurve = [](double ev) { return 128 + 60 * ev; };
            ZarnTest_ChartPoint corners[4];
            auto bitmap = ZarnTest_ChartPhoto::Render(drawing, corners);
            ZarnLib_Image image;
            ASSERT_EQ(0, LoadWithPlanes(*bitmap, "oracle.tif", image));
            Search(image, kind);
        }
    }
    std::mt19937 rng(3);
    auto noise = MakeBitmap(160, 120, [&](int, int) { return Rgb(rng() % 256, rng() % 256, rng() % 256); });
    ZarnLib_Image image;
    ASSERT_EQ(0, LoadWithPlanes(*noise, "noise.tif", image));
    for (int kind : {1, 4, 7})
        EXPECT_FALSE(Search(image, kind).ok);
}

TEST(ChartOutline, ConvexityChecks)
{
    const struct {
        POINT p[4];
        int ok;
    } cases[] = {
        {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 1},
        {{{0, 0}, {10, 10}, {10, 0}, {0, 10}}, 0},   // TL, BR, TR, BL: crossed
        {{{0, 0}, {0, 10}, {10, 10}, {10, 0}}, 0},   // anticlockwise on screen
        {{{0, 0}, {5, 0}, {10, 0}, {0, 10}}, 0},     // three collinear points
        {{{0, 0}, {0, 0}, {10, 10}, {0, 10}}, 0},    // two equal points
        // Far-apart points: products beyond 32 and 64 bits keep their sign.
        {{{-2000000000, -2000000000}, {2000000000, -2000000000}, {2000000000, 2000000000}, {-2000000000, 2000000000}}, 1},
        {{{-2000000000, -2000000000}, {-2000000000, 2000000000}, {2000000000, 2000000000}, {2000000000, -2000000000}}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.ok, CheckChartCorners(c.p)) << c.p[1].x;
    EXPECT_TRUE(IsPositiveTurn(0, 0, 10, 0, 10, 10));
    EXPECT_FALSE(IsPositiveTurn(0, 0, 10, 0, 20, 0));
    EXPECT_TRUE(IsPositiveTurn(-2000000000, 0, 2000000000, 0, 2000000000, 2000000000));
}

} // namespace
