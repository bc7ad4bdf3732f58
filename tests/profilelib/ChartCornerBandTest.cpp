// The corner search works through each corner's rows in bands; a marker whose window starts on
// either side of a band seam must be found where the direct scan finds it, in every corner.
#include "profilelib/ZarnLib_ChartCorners.h"
#include "tests/profilelib/ImageTestFiles.h"
#include "tests/support/ZarnTest_DirectCornerScan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace imagetest;

namespace {

constexpr int kW = 120, kH = 400;

struct Origin {
    int x, y; // the window's pixel nearest the searched corner
    int sx, sy;
};

// Window origin of scan row i and scan column j of corner k (TL, TR, BR, BL).
Origin OriginOf(int k, int i, int j)
{
    const int sx = (k == 0 || k == 3) ? 1 : -1;
    const int sy = k < 2 ? 1 : -1;
    return {sx > 0 ? j : kW - 1 - j, sy > 0 ? i : kH - 1 - i, sx, sy};
}

TEST(ChartCornerBands, MarkersAtBandSeamsAgreeWithTheDirectScan)
{
    // Scan rows around the seams of both kinds of band.
    const int seamRows[] = {47, 48, 49, 127, 128, 129};
    for (int kind : {1, 4}) {
        const int n = MarkerWindowSize(kind);
        for (int shift = 0; shift < 6; ++shift) {
            Origin origins[4];
            for (int k = 0; k < 4; ++k)
                origins[k] = OriginOf(k, seamRows[(shift + k) % 6], 2 + 4 * k);
            std::mt19937 rng(static_cast<unsigned>(shift));
            auto bitmap = MakeBitmap(kW, kH, [&](int x, int y) {
                for (const Origin& o : origins) {
                    const int col = (x - o.x) * o.sx, row = (y - o.y) * o.sy;
                    if (col < 0 || row < 0 || col >= n || row >= n)
                        continue;
                    if (kind == 4)
                        return Rgb(90, 140, 60); // a uniform block filling the window
                    if (col == n / 2 || row == n / 2)
                        return Rgb(0, 0, 0); // a dark cross through the window's centre
                    return Rgb(255, 255, 255);
                }
                if (kind == 4) // noisy enough that no other window is uniform
                    return Rgb(88 + rng() % 81, 88 + rng() % 81, 88 + rng() % 81);
                return Rgb(255, 255, 255);
            });
            ZarnLib_Image image;
            ASSERT_EQ(0, LoadWithPlanes(*bitmap, "bands.tif", image));
            POINT fast[4] = {}, direct[4] = {};
            const bool ok = FindChartCorners(&image, kind, &fast[0], &fast[1], &fast[2], &fast[3]);
            ASSERT_EQ(ZarnTest_DirectCornerScan::Find(&image, kind, &direct[0], &direct[1], &direct[2], &direct[3]), ok);
            EXPECT_TRUE(ok) << "kind " << kind << " shift " << shift;
            for (int k = 0; k < 4; ++k) {
                const int d = kind == 4 ? 0 : n / 2;
                const POINT expected{origins[k].x + origins[k].sx * d, origins[k].y + origins[k].sy * d};
                EXPECT_EQ(direct[k], fast[k]) << "kind " << kind << " shift " << shift << " corner " << k;
                EXPECT_EQ(expected, fast[k]) << "kind " << kind << " shift " << shift << " corner " << k;
            }
        }
    }
}

} // namespace
