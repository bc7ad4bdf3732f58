// The wizard's calculation from chart photographs to the five result points: a series at known
// exposures must give the points of the tone curve it was drawn from; failures stop the run; the
// log holds the photographs, their corners and the curves.
#include "profilelib/ZarnLib_Profile.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/ZarnTest_PhotoFlaws.h"
#include "tests/ui/wizard/WizardPhotoSeries.h"
#include "ui/wizard/WizardCalculation.h"
#include "ui/wizard/WizardData.h"
#include "ui/wizard/WizardProfileSnapshot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

using namespace wizardtest;

namespace {

// The chart choice and ColorChecker variant that measure as a chart kind.
void ChooseChart(WizardData& data, int kind)
{
    switch (kind) {
    case 1: data.target = 0; break;
    case 2: data.target = 1; break;
    case 3: data.target = 2; data.colorCheckerVariant = 1; break;
    case 4: data.target = 2; data.colorCheckerVariant = 0; break;
    case 5: data.target = 2; data.colorCheckerVariant = 2; break;
    default: data.target = 5; break;
    }
}

struct Series {
    ScratchFolder folder;
    WizardData data;

    Series(int kind, bool jpeg)
    {
        ChooseChart(data, kind);
        const std::vector<double> exposures = Exposures(kind);
        for (std::size_t i = 0; i < exposures.size(); ++i) {
            const std::string path = folder.File("photo" + std::to_string(i) + (jpeg ? ".jpg" : ".tif"));
            data.chosenPhotos.push_back(WritePhoto(path, kind, exposures[i], jpeg).release());
        }
    }
};

// Levels inside the drawn tone range 15..150, in the settings' order CPM, DRM, DRP, CPP, CNT.
constexpr WizardUserLevels kLevels{30, 45, 120, 135, 80};

ZarnLib_PatchKey ConditionKey(const WizardData& data)
{
    ZarnLib_PatchKey key;
    key.SetIso(data.isoSpeed);
    key.SetLightSource(data.lightSource);
    return key;
}

struct Format {
    int kind;
    bool jpeg;
};

class CalculationSeries : public ::testing::TestWithParam<Format> {};

TEST_P(CalculationSeries, GivesThePointsOfTheToneCurve)
{
    Series series(GetParam().kind, GetParam().jpeg);
    for (CKZARN_WizFileData* photo : series.data.chosenPhotos)
        ASSERT_NE(nullptr, photo);
    ZarnLib_Profile profile;
    std::vector<std::pair<int, int>> progress;
    int resultCode = -1;
    WizardCalculation calculation(&series.data, &profile, kLevels, 1);
    ASSERT_EQ(0, calculation.Run([&](int done, int total) { progress.emplace_back(done, total); }, &resultCode));
    EXPECT_EQ(WizardCalculation::kResultOk, resultCode);
    const int count = static_cast<int>(series.data.chosenPhotos.size());
    ASSERT_EQ(static_cast<std::size_t>(count), progress.size());
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(std::make_pair(i + 1, count), progress[static_cast<std::size_t>(i)]);

    ZarnLib_Buffer<ZarnLib_CnvPolyLine> curves, evaluation;
    CharacteristicPoints points;
    ASSERT_EQ(0, WizardCalculation::ReadResult(series.data, &profile, &curves, &evaluation, &points));
    EXPECT_EQ(0, WizardCalculation::CheckReflectedBlock(series.data, &profile));
    EXPECT_EQ(count, curves.GetCount());

    // Screen order CPM, DRM, CNT, DRP, CPP.
    const int levels[5] = {kLevels.cpm, kLevels.drm, kLevels.cnt, kLevels.drp, kLevels.cpp};
    const double tolerance = GetParam().kind == 3 || GetParam().kind == 6 ? 0.3 : 0.08;
    EXPECT_EQ(0.0, points.ev[2]) << "the centre point is the reference";
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(levels[i], points.level[i]) << "point " << i;
        EXPECT_NEAR(ToneInverse(levels[i]) - ToneInverse(kLevels.cnt), points.ev[i], tolerance) << "point " << i;
    }

    // Both blocks of the table hold the same points.
    _ZARNLIB_VECTOR2 incident[5], reflected[5];
    double extra = 0;
    ASSERT_EQ(0, profile.GetTablePoints(ConditionKey(series.data), 0, incident, &extra));
    ASSERT_EQ(0, profile.GetTablePoints(ConditionKey(series.data), 1, reflected, &extra));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(incident[i].x, reflected[i].x);
        EXPECT_EQ(incident[i].y, reflected[i].y);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, CalculationSeries,
                         ::testing::Values(Format{1, true}, Format{1, false}, Format{2, true}, Format{2, false},
                                           Format{3, true}, Format{3, false}, Format{6, true}, Format{6, false}));

TEST(Calculation, LevelsOutsideTheMeasuredRangeAreMovedAndReported)
{
    Series series(2, true);
    ZarnLib_Profile profile;
    int resultCode = -1;
    // 5 lies below every measured level (15 and up); 250 above them all.
    WizardCalculation calculation(&series.data, &profile, WizardUserLevels{5, 45, 120, 250, 80}, 1);
    ASSERT_EQ(0, calculation.Run(nullptr, &resultCode));
    EXPECT_EQ(WizardCalculation::kResultLimited, resultCode);
    ZarnLib_Buffer<ZarnLib_CnvPolyLine> curves, evaluation;
    CharacteristicPoints points;
    ASSERT_EQ(0, WizardCalculation::ReadResult(series.data, &profile, &curves, &evaluation, &points));
    EXPECT_GE(points.level[0], 15);
    EXPECT_LE(points.level[4], 151);
    EXPECT_LE(points.ev[0], points.ev[1]);
    EXPECT_GE(points.ev[4], points.ev[3]);
}

TEST(Calculation, FirstPhotographThatCannotBeMeasuredStopsTheRun)
{
    Series series(2, true);
    // The second photograph is not a picture at all.
    std::ofstream(series.data.chosenPhotos[1]->path, std::ios::binary | std::ios::trunc) << "not a picture";
    ZarnLib_Profile profile;
    std::vector<int> done;
    int resultCode = -1;
    WizardCalculation calculation(&series.data, &profile, kLevels, 1);
    EXPECT_NE(0, calculation.Run([&](int d, int) { done.push_back(d); }, &resultCode));
    EXPECT_EQ(WizardCalculation::kResultFailed, resultCode);
    EXPECT_EQ(std::vector<int>{1}, done) << "progress stops at the failing photograph";
    ZarnLib_KestrinPatchElement* table = profile.FindTable(ConditionKey(series.data));
    ASSERT_NE(nullptr, table) << "the photographs before it stay in the table until the run is discarded";
    EXPECT_EQ(1, table->GetEntryCount());
}

TEST(Calculation, APictureThatIsNotTheChartIsRefusedAndNamed)
{
    // Every chart kind, the ramp both ways along the rows (one way follows the chart's order of
    // densities) and both ways across them.
    for (int kind = 1; kind <= 6; ++kind) {
        for (double degrees : {0.0, 180.0, 90.0, 270.0}) {
            SCOPED_TRACE("kind " + std::to_string(kind) + ", " + std::to_string(degrees) + " degrees");
            const bool jpeg = (kind + static_cast<int>(degrees) / 90) % 2 == 0;
            Series series(kind, jpeg);
            // The second photograph is a smooth gradient in place of the chart, with a sound exposure.
            const std::vector<double> exposures = Exposures(kind);
            ASSERT_TRUE(WriteGradient(series.data.chosenPhotos[1]->path, kind, exposures[1], jpeg, degrees));
            for (int threads : {1, 3}) {
                ZarnLib_Profile profile;
                int resultCode = -1;
                WizardCalculation calculation(&series.data, &profile, kLevels, threads);
                EXPECT_EQ(WizardCalculation::kRefused, calculation.Run(nullptr, &resultCode)) << threads;
                EXPECT_EQ(WizardCalculation::kResultFailed, resultCode);
                ASSERT_FALSE(calculation.Refusals().empty());
                const ZarnLib_SeriesRefusal first = calculation.Refusals().front();
                EXPECT_EQ(1u, first.photo);
                EXPECT_TRUE(first.reason == ZarnLib_SeriesReason::OutOfChartOrder || first.reason == ZarnLib_SeriesReason::NotFlat)
                    << static_cast<int>(first.reason);
                EXPECT_EQ(nullptr, profile.FindTable(ConditionKey(series.data))) << "nothing of the run stays";
            }
        }
    }
}

TEST(Calculation, AUniformPictureAmongTheSeriesIsRefusedAndNamed)
{
    // Black, white and greys, in the middle of the series and at its ends: a grey the camera does
    // not clip shows no steps and is no chart; black or white inside the series is out of step
    // with its neighbours; beyond the series' own ends (as the chart beyond the camera's range)
    // black or white cannot be told from the chart and passes.
    using Reason = ZarnLib_SeriesReason;
    const struct {
        int kind;
        int level;
        std::size_t photo;
        bool refused;
        Reason reason;
    } cases[] = {
        {2, 40, 1, true, Reason::NoSteps},      {2, 128, 1, true, Reason::NoSteps}, {2, 200, 1, true, Reason::NoSteps},
        {1, 80, 1, true, Reason::NoSteps},      {1, 15, 2, true, Reason::OutOfStep}, {1, 255, 1, true, Reason::OutOfStep},
        {3, 200, 0, true, Reason::NoSteps},     {6, 30, 2, true, Reason::NoSteps},  {4, 80, 1, true, Reason::NoSteps},
        {5, 80, 1, true, Reason::NoSteps},      {1, 15, 0, false, Reason::NoSteps}, {3, 255, 2, false, Reason::NoSteps},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.kind) + ", level " + std::to_string(c.level) + ", photograph " +
                     std::to_string(c.photo));
        Series series(c.kind, true);
        const std::vector<double> exposures = Exposures(c.kind);
        ASSERT_TRUE(WriteUniform(series.data.chosenPhotos[c.photo]->path, c.level, exposures[c.photo], c.photo % 2 == 0));
        for (int threads : {1, 3}) {
            ZarnLib_Profile profile;
            int resultCode = -1;
            WizardCalculation calculation(&series.data, &profile, kLevels, threads);
            const int error = calculation.Run(nullptr, &resultCode);
            if (c.refused) {
                EXPECT_EQ(WizardCalculation::kRefused, error) << threads;
                EXPECT_EQ(WizardCalculation::kResultFailed, resultCode);
                ASSERT_FALSE(calculation.Refusals().empty());
                EXPECT_EQ(c.photo, calculation.Refusals().front().photo);
                EXPECT_EQ(c.reason, calculation.Refusals().front().reason);
            } else {
                EXPECT_EQ(0, error) << threads;
                EXPECT_TRUE(calculation.Refusals().empty());
            }
        }
    }
}

TEST(Calculation, AGrainyBlurredTurnedUnevenlyLitSeriesGivesAProfile)
{
    for (int kind = 1; kind <= 6; ++kind) {
        SCOPED_TRACE(kind);
        Series series(kind, true);
        const std::vector<double> exposures = Exposures(kind);
        for (std::size_t i = 0; i < exposures.size(); ++i) {
            ZarnTest_ChartSpec drawing = Drawing(kind, exposures[i]);
            drawing.angle = -6.0;
            drawing.chartFraction *= 0.8;
            // Half a stop less light on the left, grain of up to 14 levels, then the lens's blur.
            drawing.lightFalloffEv = 0.5;
            ZarnTest_ChartPoint truth[4];
            auto bitmap = ZarnTest_ChartPhoto::Render(drawing, truth);
            ASSERT_TRUE(bitmap);
            photoflaws::AddGrain(*bitmap, 14, static_cast<std::uint32_t>(kind * 10 + static_cast<int>(i)));
            photoflaws::BoxBlur(*bitmap);
            ExifInputValues& record = series.data.chosenPhotos[i]->values;
            ASSERT_TRUE(WriteWithExposure(*bitmap, record.path, exposures[i], true));
            for (int k = 0; k < 4; ++k)
                record.corners[k] = POINT{static_cast<LONG>(std::lround(truth[k].x)), static_cast<LONG>(std::lround(truth[k].y))};
        }
        ZarnLib_Profile profile;
        int resultCode = -1;
        WizardCalculation calculation(&series.data, &profile, kLevels, 3);
        EXPECT_EQ(0, calculation.Run(nullptr, &resultCode));
        EXPECT_NE(WizardCalculation::kResultFailed, resultCode);
        EXPECT_TRUE(calculation.Refusals().empty());
    }
}

TEST(Calculation, AStreakOnOnePatchOutsideItsMeasuredSquareLeavesTheProfileAsItWas)
{
    // A light streak 8 pixels high across the centre patch of the middle photograph, inside the
    // patch's middle (178 pixels high here) but outside its measured square.
    CharacteristicPoints points[2];
    for (int streaked = 0; streaked < 2; ++streaked) {
        SCOPED_TRACE(streaked);
        Series series(2, true);
        if (streaked) {
            const std::vector<double> exposures = Exposures(2);
            ZarnTest_ChartSpec drawing = Drawing(2, exposures[1]);
            drawing.streakSlot = 12;
            drawing.streakOffset = 26;
            ZarnTest_ChartPoint truth[4];
            const auto bitmap = ZarnTest_ChartPhoto::Render(drawing, truth);
            ASSERT_TRUE(bitmap);
            ASSERT_TRUE(WriteWithExposure(*bitmap, series.data.chosenPhotos[1]->path, exposures[1], true));
        }
        ZarnLib_Profile profile;
        int resultCode = -1;
        WizardCalculation calculation(&series.data, &profile, kLevels, 3);
        ASSERT_EQ(0, calculation.Run(nullptr, &resultCode));
        EXPECT_TRUE(calculation.Refusals().empty());
        ZarnLib_Buffer<ZarnLib_CnvPolyLine> curves, evaluation;
        ASSERT_EQ(0, WizardCalculation::ReadResult(series.data, &profile, &curves, &evaluation, &points[streaked]));
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(points[0].ev[i], points[1].ev[i], 0.1) << "point " << i;
        EXPECT_EQ(points[0].level[i], points[1].level[i]) << "point " << i;
    }
}

TEST(Calculation, ChartWithoutCornersFails)
{
    Series series(2, true);
    for (CKZARN_WizFileData* photo : series.data.chosenPhotos)
        for (POINT& p : photo->values.corners)
            p = POINT{};
    ZarnLib_Profile profile;
    int resultCode = -1;
    WizardCalculation calculation(&series.data, &profile, kLevels, 1);
    EXPECT_NE(0, calculation.Run(nullptr, &resultCode));
    EXPECT_EQ(WizardCalculation::kResultFailed, resultCode);
}

TEST(Calculation, DiscardedFailedRunGivesBackTheEarlierTableOfTheCondition)
{
    Series good(2, false);
    ZarnLib_Profile profile;
    int resultCode = -1;
    ASSERT_EQ(0, WizardCalculation(&good.data, &profile, kLevels, 1).Run(nullptr, &resultCode));
    ZarnLib_Profile before;
    ASSERT_EQ(0, WizardProfileSnapshot::CopyProfile(profile, &before));

    Series bad(2, true);
    std::ofstream(bad.data.chosenPhotos[2]->path, std::ios::binary | std::ios::trunc) << "broken";
    WizardProfileSnapshot snapshot;
    ASSERT_EQ(0, snapshot.Take(profile));
    EXPECT_NE(0, WizardCalculation(&bad.data, &profile, kLevels, 1).Run(nullptr, &resultCode));
    EXPECT_FALSE(profile.IsEqual(&before)) << "the run replaced the table";
    ASSERT_TRUE(snapshot.RestoreInto(&profile));
    EXPECT_TRUE(profile.IsEqual(&before));
    _ZARNLIB_VECTOR2 a[5], b[5];
    double ea = 0, eb = 0;
    ASSERT_EQ(0, profile.GetTablePoints(ConditionKey(good.data), 0, a, &ea));
    ASSERT_EQ(0, before.GetTablePoints(ConditionKey(good.data), 0, b, &eb));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(a[i].x, b[i].x);
}

TEST(Calculation, ChartKindOfTheMeasurementFollowsTheColorCheckerVariant)
{
    struct Row {
        int target, variant, kind;
    };
    const Row rows[] = {{0, 0, 1}, {1, 0, 2}, {5, 0, 6}, {2, 0, 4}, {2, 1, 3}, {2, 2, 5}, {2, 7, 3}};
    for (const Row& row : rows) {
        WizardData data;
        data.target = row.target;
        data.colorCheckerVariant = row.variant;
        EXPECT_EQ(row.kind, WizardCalculation::MeasurementChartKind(data)) << row.target << "/" << row.variant;
        EXPECT_EQ(row.target + 1, WizardCalculation::TableKey(data).GetChartKind());
    }
}

TEST(Calculation, CineKeysTakeTypedValuesOrTheCodes)
{
    WizardData data;
    data.cineMode = 1;
    data.ilFrameRateCode = 23;
    data.ilShutterAngleCode = 1728;
    data.rlFrameRate = 25.5;
    data.rlShutterAngle = 90.0;
    const ZarnLib_PatchKey key = WizardCalculation::TableKey(data);
    EXPECT_EQ(1, key.GetCineMode());
    EXPECT_DOUBLE_EQ(23.976, key.GetIlFrameRate());
    EXPECT_DOUBLE_EQ(172.8, key.GetIlShutterAngle());
    EXPECT_DOUBLE_EQ(25.5, key.GetRlFrameRate());
    EXPECT_DOUBLE_EQ(90.0, key.GetRlShutterAngle());

    ExifInputValues record;
    record.frameRateCode = 59;
    record.shutterAngleCode = 432;
    record.brightnessAdjust = 0.5;
    const ZarnLib_EntryKey entry = WizardCalculation::EntryKeyOf(data, record);
    EXPECT_DOUBLE_EQ(59.94, entry.GetFrameRate());
    EXPECT_DOUBLE_EQ(43.2, entry.GetShutterAngle());
    EXPECT_DOUBLE_EQ(0.5, entry.GetExposureOffset());
}

TEST(CalculationLog, HoldsEveryPhotographWithItsCornersAndEveryCurvePoint)
{
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    ExifInputValues a;
    a.scale = 0.5;
    a.corners[0] = {10, 20};
    a.corners[1] = {30, 20};
    a.corners[2] = {30, 40};
    a.corners[3] = {10, 40};
    ExifInputValues b;
    b.scale = 1.0;
    CKZARN_WizFileData first("/photos/a.jpg", a), second("/photos/b.tif", b);
    ZarnLib_Buffer<ZarnLib_CnvPolyLine> curves;
    curves.Alloc(1, true);
    const _ZARNLIB_VECTOR2 points[2] = {{-1.5, 20}, {0.25, 118.5}};
    ASSERT_EQ(0, curves[0].SetPoints(points, 2, false));
    const std::string log = WizardCalculation::FormatLog(86400 * 366 + 3723, {&first, &second}, curves);
    EXPECT_EQ("---------- 1971/01/02  01:02:03 ----------\r\n"
              "FileName : /photos/a.jpg\r\n"
              "Corner   : [20, 40], [60, 40], [60, 80], [20, 80]\r\n"
              "FileName : /photos/b.tif\r\n"
              "Corner   : [0, 0], [0, 0], [0, 0], [0, 0]\r\n"
              "\r\n"
              "-1.5, 20\r\n"
              "0.25, 118.5\r\n"
              "------------------------------------------\r\n\r\n",
              log);
}

} // namespace
