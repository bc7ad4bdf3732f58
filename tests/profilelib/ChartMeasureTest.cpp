#include "profilelib/ZarnLib_ChartCorners.h"
#include "profilelib/ZarnLib_ChartMeasure.h"
#include "profilelib/ZarnLib_ChartPatchFlatness.h"
#include "profilelib/ZarnLib_CnvPolyLine.h"
#include "profilelib/ZarnLib_Image.h"
#include "profilelib/ZarnLib_KestrinPatchElement.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_ProfileEntry.h"
#include "tests/profilelib/ImageTestFiles.h"
#include "tests/support/ZarnTest_ChartPhoto.h"
#include "tests/support/ZarnTest_ChartSeries.h"
#include "tests/support/ZarnTest_PhotoFlaws.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace imagetest;

namespace {

double Tone(double ev) { return 30 + 200 / (1 + std::exp(-1.2 * ev)); }

ZarnTest_ChartSpec ChartDrawing(int kind, double angle)
{
    ZarnTest_ChartSpec drawing;
    drawing.kind = kind;
    drawing.width = 1500;
    drawing.height = 1000;
    drawing.angle = angle;
    drawing.chartFraction = (kind == 4 || kind == 5) ? 0.8 : (std::fabs(angle) > 45 && angle < 170 ? 0.5 : 0.7);
    // Marker sizes for a view of 420 x 280: arm 14, half width 1.5, stripes 12 view pixels.
    drawing.crossArm = 50;
    drawing.crossHalfWidth = 5.4;
    drawing.stripePeriod = 43;
    drawing.toneCurve = Tone;
    drawing.exposure = 0.3;
    return drawing;
}

ZarnLib_PatchKey TableKey()
{
    ZarnLib_PatchKey key;
    key.SetIso(100);
    key.SetIlShutter(40);
    key.SetIlAperture(20);
    key.SetRlShutter(40);
    key.SetRlAperture(20);
    return key;
}

ZarnLib_EntryKey PhotoKey()
{
    ZarnLib_EntryKey key;
    key.SetIso(100);
    key.SetShutter(40);
    key.SetAperture(20);
    return key;
}

bool MeasuredCurve(const ZarnLib_Profile& profile, ZarnLib_CnvPolyLine* curve)
{
    ZarnLib_KestrinPatchElement* table = profile.GetTableAt(0);
    return table && table->GetEntryCount() == 1 && table->GetEntry(0)->GetCurve(curve) == 0;
}

struct Trip {
    int kind;
    double angle;
    bool jpeg;
    bool search; // corners from the search (else the chart's own corners, as a user would place them)
};

class ChartPhotoTrip : public ::testing::TestWithParam<Trip> {};

// Photograph -> fitted load -> corner search -> full-resolution corners -> measurement: the
// measured curve holds the tone-curve levels of the patches.
TEST_P(ChartPhotoTrip, MeasuredLevelsFollowTheToneCurve)
{
    const Trip t = GetParam();
    const ZarnTest_ChartSpec drawing = ChartDrawing(t.kind, t.angle);
    ZarnTest_ChartPoint truth[4];
    auto bitmap = ZarnTest_ChartPhoto::Render(drawing, truth);
    ASSERT_TRUE(bitmap);
    ZarnTest_ExifWriter writer(t.jpeg);
    writer.AddExposure(100, 1, 60, 56, 10);
    const std::string path = TempFile(std::string("trip") + (t.jpeg ? ".jpg" : ".tif"));
    ASSERT_TRUE(t.jpeg ? writer.WriteJpeg(*bitmap, path, 92) : writer.WriteTiff(*bitmap, path));

    POINT corners[4];
    for (int i = 0; i < 4; ++i)
        corners[i] = POINT{static_cast<LONG>(std::lround(truth[i].x)), static_cast<LONG>(std::lround(truth[i].y))};
    if (t.search) {
        ZarnLib_Image view;
        view.Reset();
        RECT rect{};
        double scale = 0;
        ASSERT_EQ(0, view.Load(Wide(path), kImageLoadFitPlanes | kImageLoadExif, 420, 300, &rect, &scale));
        POINT found[4] = {};
        ASSERT_TRUE(FindChartCorners(&view, t.kind, &found[0], &found[1], &found[2], &found[3]));
        // Each found point, back in photograph pixels, lies near one marker; the user's labels
        // (chart corners) follow the chart, not the picture.
        for (const POINT& p : found) {
            const double x = (p.x - rect.left) / scale, y = (p.y - rect.top) / scale;
            int best = 0;
            for (int i = 1; i < 4; ++i)
                if (std::hypot(truth[i].x - x, truth[i].y - y) < std::hypot(truth[best].x - x, truth[best].y - y))
                    best = i;
            EXPECT_LT(std::hypot(truth[best].x - x, truth[best].y - y), 4 / scale) << "corner " << best;
            corners[best] = POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
        }
        EXPECT_EQ(1, CheckChartCorners(corners));
    }

    ZarnLib_Profile profile;
    ASSERT_EQ(0, MeasureChartPhoto(Wide(path), corners[0], corners[1], corners[2], corners[3], t.kind, TableKey(),
                                   PhotoKey(), &profile));
    ZarnLib_CnvPolyLine curve;
    ASSERT_TRUE(MeasuredCurve(profile, &curve));
    ASSERT_EQ(ZarnTest_ChartPhoto::SlotCount(t.kind), curve.GetCount());
    for (int k = 0; k < curve.GetCount(); ++k) {
        _ZARNLIB_VECTOR2 p{};
        curve.GetPoint(&p, k);
        EXPECT_EQ(k, p.x);
        EXPECT_NEAR(ZarnTest_ChartPhoto::ExpectedLevel(drawing, k), p.y, t.jpeg ? 3 : 1) << "point " << k;
    }
}

std::vector<Trip> Trips()
{
    std::vector<Trip> trips;
    for (bool jpeg : {false, true}) {
        for (int kind : {1, 2, 3, 6}) {
            // The search runs where the synthetic markers are found reliably (upright and upside
            // down, kinds 1, 3 and 6); the other angles start from the chart's own corners.
            for (double angle : {0.0, 1.9, -1.9, 2.5, 10.0, 60.0, -60.0, 180.0}) {
                const bool upright = angle == 0.0 || angle == 180.0;
                trips.push_back({kind, angle, jpeg, upright && kind != 2});
            }
        }
        trips.push_back({4, 0.0, jpeg, true});
        trips.push_back({5, 0.0, jpeg, false});
    }
    return trips;
}

std::string TripName(const ::testing::TestParamInfo<Trip>& trip)
{
    const Trip& p = trip.param;
    std::string angle = std::to_string(static_cast<int>(std::lround(p.angle * 10)));
    for (char& c : angle)
        if (c == '-')
            c = 'm';
    return "kind" + std::to_string(p.kind) + "_deg10x" + angle + (p.jpeg ? "_jpeg" : "_tiff");
}

INSTANTIATE_TEST_SUITE_P(Charts, ChartPhotoTrip, ::testing::ValuesIn(Trips()), TripName);

class ChartMeasure : public ::testing::Test {
protected:
    void SetUp() override
    {
        grey = MakeBitmap(800, 500, [](int, int) { return Rgb(128, 128, 128); });
        path = TempFile("grey.tif");
        ZarnTest_ExifWriter(false).WriteTiff(*grey, path);
    }
    int Measure(POINT tl, POINT tr, POINT br, POINT bl, int kind, ZarnLib_Profile* profile,
                ZarnLib_PatchKey key = TableKey(), ZarnLib_EntryKey photo = PhotoKey(), const std::string& file = "")
    {
        return MeasureChartPhoto(Wide(file.empty() ? path : file), tl, tr, br, bl, kind, key, photo, profile);
    }
    std::unique_ptr<ZarnLib_Bitmap> grey;
    std::string path;
};

TEST_F(ChartMeasure, SizeLimitsKindsAndBounds)
{
    const struct {
        const char* name;
        POINT tl, tr, br, bl;
        int kind;
        int result;
    } cases[] = {
        {"359 wide", {100, 100}, {459, 100}, {459, 300}, {100, 300}, 1, -1},
        {"360 wide", {100, 100}, {460, 100}, {460, 300}, {100, 300}, 1, 0},
        {"119 high", {100, 100}, {500, 100}, {500, 219}, {100, 219}, 1, -1},
        {"159 high, ColorChecker", {100, 100}, {500, 100}, {500, 259}, {100, 259}, 3, -1},
        {"160 high, ColorChecker", {100, 100}, {500, 100}, {500, 260}, {100, 260}, 3, 0},
        {"kind 7 refused", {100, 100}, {500, 100}, {500, 300}, {100, 300}, 7, -1},
        {"squares outside the photograph", {500, 300}, {1000, 300}, {1000, 700}, {500, 700}, 2, -1},
    };
    for (const auto& c : cases) {
        ZarnLib_Profile profile;
        EXPECT_EQ(c.result, Measure(c.tl, c.tr, c.br, c.bl, c.kind, &profile)) << c.name;
        EXPECT_EQ(c.result == 0 ? 1 : 0, profile.TableCount()) << c.name;
        ZarnLib_CnvPolyLine curve;
        if (c.result == 0 && MeasuredCurve(profile, &curve)) {
            for (int k = 0; k < curve.GetCount(); ++k) {
                _ZARNLIB_VECTOR2 p{};
                curve.GetPoint(&p, k);
                EXPECT_EQ(128, p.y) << c.name;
            }
        }
    }
}

TEST_F(ChartMeasure, FailuresLeaveTheProfileAlone)
{
    ZarnLib_Profile profile;
    const POINT tl{100, 100}, tr{600, 100}, br{600, 400}, bl{100, 400};
    EXPECT_EQ(0, Measure(tl, tr, br, bl, 2, nullptr)) << "a null profile only measures";

    ZarnLib_PatchKey cine = TableKey();
    cine.SetCineMode(1);
    ZarnLib_EntryKey photo = PhotoKey();
    photo.SetFrameRate(0);
    EXPECT_EQ(-1, Measure(tl, tr, br, bl, 2, &profile, cine, photo, TempFile("never-opened.jpg")));
    photo.SetFrameRate(24);
    photo.SetShutterAngle(-180);
    EXPECT_EQ(-1, Measure(tl, tr, br, bl, 2, &profile, cine, photo)) << "a negative time is no shutter index";

    const std::string broken = TempFile("broken.jpg");
    WriteBytes(broken, {0xFF, 0xD8, 0xFF, 0xD9});
    EXPECT_EQ(kImageErrorNoBitmap, Measure(tl, tr, br, bl, 2, &profile, TableKey(), PhotoKey(), broken))
        << "an unreadable photograph is an error, not a curve of zeros";
    EXPECT_EQ(0, profile.TableCount());
}

TEST(ChartMath, DegreesAndAffine)
{
    const double pi = 3.141592653589793;
    EXPECT_DOUBLE_EQ(pi / 2, DegreesToRadians(90));
    EXPECT_DOUBLE_EQ(-pi / 2, DegreesToRadians(-90));
    EXPECT_DOUBLE_EQ(-pi / 2, DegreesToRadians(270));
    EXPECT_DOUBLE_EQ(-pi, DegreesToRadians(-540));
    EXPECT_EQ(0.0, DegreesToRadians(0));
    const double translate[9] = {1, 0, 0, 0, 1, 0, 5, 7, 1};
    const double scale[9] = {2, 0, 0, 0, 2, 0, 0, 0, 1};
    double out[9];
    MultiplyAffine(scale, translate, out); // translate first, then scale
    EXPECT_EQ(10, out[6]);
    EXPECT_EQ(14, out[7]);
}

// Flat patches between steps: a photograph of the chart, even grainy, blurred, turned and unevenly
// lit, has patches that barely change inside next to the steps between them; a smooth gradient in
// place of the chart changes inside a patch as it does between patches, whichever way it runs.
// Writes the picture as a JPEG and measures it at the markers the corner search finds (else at
// the drawn markers, as a user would place them).
void Measure(const ZarnLib_Bitmap& bitmap, const ZarnTest_ChartPoint truth[4], int kind, bool search,
             ZarnLib_ChartPatchFlatness* flatness, ZarnLib_CnvPolyLine* curve = nullptr)
{
    const std::string path = TempFile("flatness.jpg");
    ASSERT_TRUE(ZarnTest_ExifWriter(false).WriteJpeg(bitmap, path, 92));
    POINT corners[4];
    for (int i = 0; i < 4; ++i)
        corners[i] = POINT{static_cast<LONG>(std::lround(truth[i].x)), static_cast<LONG>(std::lround(truth[i].y))};
    if (search) {
        ZarnLib_Image view;
        view.Reset();
        RECT rect{};
        double scale = 0;
        ASSERT_EQ(0, view.Load(Wide(path), kImageLoadFitPlanes, 420, 280, &rect, &scale));
        POINT found[4] = {};
        ASSERT_TRUE(FindChartCorners(&view, kind, &found[0], &found[1], &found[2], &found[3]));
        for (int i = 0; i < 4; ++i) {
            const double x = (found[i].x - rect.left) / scale, y = (found[i].y - rect.top) / scale;
            ASSERT_LT(std::hypot(truth[i].x - x, truth[i].y - y), 4 / scale) << "corner " << i;
            corners[i] = POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
        }
    }
    ZarnLib_Profile profile;
    ASSERT_EQ(0, MeasureChartPhoto(Wide(path), corners[0], corners[1], corners[2], corners[3], kind, TableKey(),
                                   PhotoKey(), &profile, flatness));
    ASSERT_FALSE(flatness->Patches().empty());
    if (curve != nullptr) {
        ASSERT_TRUE(MeasuredCurve(profile, curve));
    }
}

class ChartPatchFlatnessOf : public ::testing::TestWithParam<int> {};

TEST_P(ChartPatchFlatnessOf, AGradientAnyWayRoundIsNotTheChart)
{
    const int kind = GetParam();
    // Both ways along the rows (one of them the chart's own order of densities), both ways
    // across them, and slanting.
    for (double degrees : {0.0, 180.0, 90.0, 270.0, 35.0, 215.0}) {
        SCOPED_TRACE(degrees);
        ZarnTest_ChartSpec drawing = chartseries::Drawing(kind, 0.0);
        drawing.gradientDegrees = degrees;
        ZarnTest_ChartPoint truth[4];
        const auto bitmap = ZarnTest_ChartPhoto::Render(drawing, truth);
        ASSERT_TRUE(bitmap);
        ZarnLib_ChartPatchFlatness flatness;
        // Kinds 4 and 5 lose their markers with their corner patches: the user places the corners.
        Measure(*bitmap, truth, kind, kind != 4 && kind != 5, &flatness);
        EXPECT_FALSE(flatness.FlatBetweenSteps())
            << "inside " << flatness.InnerChange() << ", step " << flatness.MeanStep();
    }
}

TEST_P(ChartPatchFlatnessOf, AGrainyBlurredTurnedUnevenlyLitChartIsFlatBetweenSteps)
{
    const int kind = GetParam();
    for (double exposure : chartseries::Exposures(kind)) {
        SCOPED_TRACE(exposure);
        ZarnTest_ChartSpec drawing = chartseries::Drawing(kind, exposure);
        drawing.angle = 5.0;
        drawing.chartFraction *= 0.8;
        // Half a stop less light on the left, against the chart's own steps where it is light on
        // the left.
        drawing.lightFalloffEv = 0.5;
        ZarnTest_ChartPoint truth[4];
        const auto bitmap = ZarnTest_ChartPhoto::Render(drawing, truth);
        ASSERT_TRUE(bitmap);
        // Grain of up to 12 levels, then the lens's blur.
        photoflaws::AddGrain(*bitmap, 12, 7);
        photoflaws::BoxBlur(*bitmap);
        ZarnLib_ChartPatchFlatness flatness;
        Measure(*bitmap, truth, kind, false, &flatness);
        EXPECT_TRUE(flatness.FlatBetweenSteps()) << "inside " << flatness.InnerChange() << ", step " << flatness.MeanStep();
    }
}

// One patch of a sound chart disturbed inside its middle half but outside its measured 40 x 40
// square (a streak of light 8 pixels high, or a dark marker reaching into a corner patch): the
// measured levels are those of the undisturbed chart, and one patch does not decide its flatness.
TEST(ChartPatchFlatness, APatchDisturbedOutsideItsMeasuredSquareDoesNotSinkASoundChart)
{
    // Gradus II at 1260 x 840: a patch 178 pixels high, its middle half reaching 44 below and
    // above its centre, the square 20.
    const struct {
        const char* what;
        int slot;
        double offset;
        int level;
    } cases[] = {
        {"a light streak below the middle of the centre patch", 12, 26, 255},
        {"a dark marker above the middle of the top-left corner patch", 0, -36, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ZarnTest_ChartSpec drawing = chartseries::Drawing(2, 0.0);
        ZarnTest_ChartPoint truth[4];
        const auto plain = ZarnTest_ChartPhoto::Render(drawing, truth);
        drawing.streakSlot = c.slot;
        drawing.streakOffset = c.offset;
        drawing.streakLevel = c.level;
        const auto disturbed = ZarnTest_ChartPhoto::Render(drawing, truth);
        ASSERT_TRUE(plain && disturbed);
        ZarnLib_ChartPatchFlatness plainFlatness, flatness;
        ZarnLib_CnvPolyLine plainCurve, curve;
        Measure(*plain, truth, 2, false, &plainFlatness, &plainCurve);
        Measure(*disturbed, truth, 2, false, &flatness, &curve);
        EXPECT_TRUE(curve.IsEqual(plainCurve)) << "the square does not see the disturbance";
        // The disturbance lies inside the patch's middle half: that patch alone changes inside
        // by far more than the whole chart may.
        double largest = 0.0;
        for (const ZarnLib_ChartPatchFlatness::Patch& p : flatness.Patches())
            largest = std::max(largest, std::fabs(p.down));
        EXPECT_GT(largest, 10 * (ZarnLib_ChartPatchFlatness::kInnerShare * flatness.MeanStep() +
                                 ZarnLib_ChartPatchFlatness::kGrainLevels));
        EXPECT_TRUE(flatness.FlatBetweenSteps()) << "inside " << flatness.InnerChange() << ", step " << flatness.MeanStep();
        EXPECT_NEAR(plainFlatness.InnerChange(), flatness.InnerChange(), 0.5);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ChartPatchFlatnessOf, ::testing::Values(1, 2, 3, 4, 5, 6));

} // namespace
