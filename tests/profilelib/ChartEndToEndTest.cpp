// A series of chart photographs at known exposures, from the file to the stored profile: fitted
// load, corner search, corners back in photograph pixels, measurement, output curves, the five
// characteristic points, save and load. The points must sit where the tone curve puts them.
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_ChartCorners.h"
#include "profilelib/ZarnLib_ChartMeasure.h"
#include "profilelib/ZarnLib_CurveTools.h"
#include "profilelib/ZarnLib_Image.h"
#include "profilelib/ZarnLib_ImageFunctions.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "profilelib/ZarnLib_ResultBlock.h"
#include "tests/profilelib/ImageTestFiles.h"
#include "tests/support/ZarnTest_ChartPhoto.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace imagetest;

namespace {

constexpr int kPhotoW = 1260, kPhotoH = 840; // fitted into the 420 x 280 view at scale 1/3
constexpr int kViewW = 420, kViewH = 280;
constexpr double kPi = 3.141592653589793;

// Patch levels 15..150: the crosses are light (235) on a dark card, so a corner patch next to a
// marker must stay darker than about 150 for the marker to keep the search's contrast.
double Tone(double ev) { return 15 + 135 / (1 + std::exp(-1.1 * ev)); }
double ToneInverse(double level) { return -std::log(135 / (level - 15) - 1) / 1.1; }

// Marker rectangle of each kind in chart units: patch area plus the margins to the markers.
const double kBox[6][2] = {{230, 199}, {316, 166}, {275.5, 180.5}, {90, 60}, {72, 47}, {182, 120.4}};

ZarnTest_ChartSpec Layout(int kind, double angle, double exposure)
{
    const double scale = static_cast<double>(kViewW) / kPhotoW;
    const double arm = 14, half = 2; // view pixels: arms past the 10-pixel reach of the window, 4 wide
    ZarnTest_ChartSpec drawing;
    drawing.kind = kind;
    drawing.width = kPhotoW;
    drawing.height = kPhotoH;
    drawing.angle = angle;
    // The largest chart whose turned marker rectangle keeps every marker window inside the view.
    const double phi = angle * kPi / 180, c = std::fabs(std::cos(phi)), s = std::fabs(std::sin(phi));
    const double bw = kBox[kind - 1][0], bh = kBox[kind - 1][1];
    const double margin = (arm + 8) / scale;
    const double unit = std::min((kPhotoW - 2 * margin) / (bw * c + bh * s), (kPhotoH - 2 * margin) / (bw * s + bh * c));
    drawing.chartFraction = unit * bw / kPhotoW;
    drawing.crossArm = arm / scale;
    drawing.crossHalfWidth = half / scale;
    drawing.stripePeriod = 12 / scale;
    drawing.crossLevel = 235;
    drawing.cardLevel = 25;
    drawing.toneCurve = Tone;
    drawing.exposure = exposure;
    return drawing;
}

struct Trip {
    int kind;
    double angle;
    // The corners come from the search (else from the chart itself, as the user places them).
    bool search;
};

std::string TripName(const ::testing::TestParamInfo<Trip>& info)
{
    std::string angle = std::to_string(static_cast<int>(std::lround(info.param.angle * 10)));
    std::replace(angle.begin(), angle.end(), '-', 'm');
    return "kind" + std::to_string(info.param.kind) + "_deg10x" + angle;
}

// Exposure series covering the configured levels without gaps between the curves: kind 1 spans 1
// EV per photograph, the others 4 EV or more (kinds 4 and 5 carry kind 3's six grey patches).
std::vector<double> Exposures(int kind)
{
    if (kind == 1)
        return {-2, -1, 0, 1, 2};
    if (kind == 2)
        return {-2, -1, 0, 1};
    // The bottom-left patch of kinds 3 and 6 is the brightest and nearly fills the inner quarter of
    // its marker's window; on a chart turned by 10 degrees it outshines the light cross from
    // exposure +1 on, and the corner would be completed (wrongly for a turned chart) instead.
    return {-2, -1, 0};
}

ZarnLib_PatchKey TableKey(int kind)
{
    ZarnLib_PatchKey key;
    key.SetIso(100);
    key.SetChartKind(kind);
    key.SetIlShutter(45);
    key.SetIlAperture(20);
    key.SetRlShutter(45);
    key.SetRlAperture(20);
    return key;
}

class ChartEndToEnd : public ::testing::TestWithParam<Trip> {};

TEST_P(ChartEndToEnd, PointsFollowTheToneCurveThroughSaveAndLoad)
{
    const Trip trip = GetParam();
    const ZarnLib_PatchKey key = TableKey(trip.kind);
    ZarnLib_Profile profile;
    profile.SetChartKind(trip.kind);
    profile.SetVersion(3);
    profile.SetSubVersion(1);
    const std::vector<double> exposures = Exposures(trip.kind);
    for (std::size_t i = 0; i < exposures.size(); ++i) {
        const double e = exposures[i];
        const bool jpeg = i % 2 == 0; // each series mixes both file types
        SCOPED_TRACE("exposure " + std::to_string(e) + (jpeg ? " jpeg" : " tiff"));
        const ZarnTest_ChartSpec drawing = Layout(trip.kind, trip.angle, e);
        ZarnTest_ChartPoint truth[4];
        auto bitmap = ZarnTest_ChartPhoto::Render(drawing, truth);
        ASSERT_TRUE(bitmap);
        // More exposure is a longer time: Tv = 4 - e, the time 2^-Tv written as a fraction.
        const double seconds = std::pow(2.0, e - 4);
        ZarnTest_ExifWriter writer(i % 3 == 1);
        writer.AddExposure(100, 100000, static_cast<std::uint32_t>(std::lround(100000 / seconds)), 56, 10);
        const std::string path = TempFile("e2e" + std::to_string(i) + (jpeg ? ".jpg" : ".tif"));
        ASSERT_TRUE(jpeg ? writer.WriteJpeg(*bitmap, path, 92) : writer.WriteTiff(*bitmap, path));

        ZarnLib_Image view;
        view.Reset();
        RECT rect{};
        double scale = 0;
        ASSERT_EQ(0, view.Load(Wide(path), kImageLoadFitPlanes | kImageLoadExif, kViewW, kViewH, &rect, &scale));
        ZarnLib_EntryKey photo;
        int iso = 0, shutter = 0, aperture = 0;
        ASSERT_EQ(0, GetExifIso(&view, &iso));
        ASSERT_EQ(0, GetExifShutterIndex(&view, &shutter));
        ASSERT_EQ(0, GetExifApertureIndex(&view, &aperture));
        EXPECT_EQ(100, iso);
        EXPECT_EQ(std::lround(3 * (4 - e + 11)), shutter) << "Tv = index / 3 - 11";
        photo.SetIso(iso);
        photo.SetShutter(shutter);
        photo.SetAperture(aperture);

        POINT corners[4];
        for (int k = 0; k < 4; ++k)
            corners[k] = POINT{static_cast<LONG>(std::lround(truth[k].x)), static_cast<LONG>(std::lround(truth[k].y))};
        if (trip.search) {
            POINT found[4] = {};
            ASSERT_TRUE(FindChartCorners(&view, trip.kind, &found[0], &found[1], &found[2], &found[3]));
            // Back to photograph pixels: less the fit origin, divided by the fit scale. The search
            // labels corners by their place in the picture, the chart labels them by its own sides.
            for (const POINT& p : found) {
                const double x = (p.x - rect.left) / scale, y = (p.y - rect.top) / scale;
                int best = 0;
                for (int k = 1; k < 4; ++k)
                    if (std::hypot(truth[k].x - x, truth[k].y - y) < std::hypot(truth[best].x - x, truth[best].y - y))
                        best = k;
                EXPECT_LT(std::hypot(truth[best].x - x, truth[best].y - y) * scale, 3.5) << "corner " << best;
                corners[best] = POINT{static_cast<LONG>(std::lround(x)), static_cast<LONG>(std::lround(y))};
            }
        }
        ASSERT_EQ(1, CheckChartCorners(corners));
        ASSERT_EQ(0, MeasureChartPhoto(Wide(path), corners[0], corners[1], corners[2], corners[3], trip.kind, key, photo,
                                       &profile));
    }
    ZarnLib_KestrinPatchElement* table = profile.FindTable(key);
    ASSERT_NE(nullptr, table);
    ASSERT_EQ(static_cast<int>(exposures.size()), table->GetEntryCount());

    // The configured levels, in the pass order CPM, DRM, DRP, CPP, CNT; CNT is the reference level.
    const double levels[5] = {30, 45, 120, 135, 80};
    _ZARNLIB_VECTOR2 five[5];
    for (int i = 0; i < 5; ++i)
        five[i] = {0, levels[i]};
    ASSERT_EQ(0, profile.SetTablePoints(key, 0, five));
    ZarnLib_CurveList curves, trimmed;
    ASSERT_EQ(0, profile.GetTableCurve(key, 0, &curves, &trimmed));
    std::vector<ZarnLib_LevelRange> ranges;
    ASSERT_EQ(0, GetCurveYRanges(trimmed, &ranges));
    for (int i = 0; i < 5; ++i) {
        int level = static_cast<int>(levels[i]);
        EXPECT_EQ(0, SnapToRanges(ranges, &level)) << "level " << levels[i] << " lies inside the measured curves";
        double ev = 0;
        ASSERT_EQ(0, profile.LevelAtInverse(key, 0, &ev, level, &trimmed));
        five[i] = {ev, static_cast<double>(level)};
    }
    ASSERT_EQ(0, profile.SetTablePoints(key, 0, five));

    const std::string file = TempFile("e2e_" + std::to_string(trip.kind) + ".kpf");
    const ZarnLibString kpf(file.c_str());
    ASSERT_EQ(0, SaveProfile(&kpf, &profile));
    ZarnLib_Profile loaded;
    ASSERT_EQ(0, LoadProfile(&kpf, &loaded));
    _ZARNLIB_VECTOR2 back[5];
    double offset = 0;
    ASSERT_EQ(0, loaded.GetTablePoints(key, 0, back, &offset));
    // Relative to the reference, the exposure at level y is Tone^-1(y) - Tone^-1(CNT level). Kinds 3
    // to 6 space their patches up to 1.8 EV apart, and the straight lines between them miss the
    // curve by more.
    const double tolerance = (trip.kind >= 3 && trip.kind <= 6) ? 0.3 : 0.08;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(levels[i], back[i].y);
        EXPECT_NEAR(five[i].x, back[i].x, 1e-9) << "the file keeps the point";
        EXPECT_NEAR(ToneInverse(levels[i]) - ToneInverse(levels[4]), back[i].x, tolerance) << "point " << i;
    }
}

std::vector<Trip> Trips()
{
    std::vector<Trip> trips;
    for (int kind : {1, 2, 3, 6}) {
        for (double angle : {0.0, 1.9, -1.9, 2.5, 10.0, 180.0})
            trips.push_back({kind, angle, true});
        // A cross turned by 60 degrees (30 from upright) leaves the window's middle row and column
        // within two pixels of the centre; no cross is found, the user places the corners.
        trips.push_back({kind, 60.0, false});
    }
    return trips;
}

// Kinds 4 and 5: the uniform corner blocks are found on upright charts; a turned block is met
// first by a window inside a neighbouring patch, so there the user places the corners.
std::vector<Trip> BlockTrips()
{
    std::vector<Trip> trips;
    for (int kind : {4, 5}) {
        trips.push_back({kind, 0.0, true});
        trips.push_back({kind, 180.0, true});
        for (double angle : {1.9, -1.9, 2.5, 10.0, 60.0})
            trips.push_back({kind, angle, false});
    }
    return trips;
}

INSTANTIATE_TEST_SUITE_P(Series, ChartEndToEnd, ::testing::ValuesIn(Trips()), TripName);
INSTANTIATE_TEST_SUITE_P(BlockSeries, ChartEndToEnd, ::testing::ValuesIn(BlockTrips()), TripName);

} // namespace
