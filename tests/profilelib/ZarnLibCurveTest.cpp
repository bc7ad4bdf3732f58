#include "profilelib/ZarnLib_CurveTools.h"
#include "profilelib/ZarnLib_Profile.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

namespace {

constexpr double kEps = 1e-9;

ZarnLib_CnvPolyLine Levels(const std::vector<double>& levels)
{
    std::vector<_ZARNLIB_VECTOR2> p;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        p.push_back({static_cast<double>(i), levels[i]});
    }
    ZarnLib_CnvPolyLine c;
    c.SetPoints(p.data(), static_cast<int>(p.size()), false);
    return c;
}

ZarnLib_CnvPolyLine Line(std::vector<_ZARNLIB_VECTOR2> p)
{
    ZarnLib_CnvPolyLine c;
    c.SetPoints(p.data(), static_cast<int>(p.size()), false);
    return c;
}

// A table key with both readings at shutter 33 (Tv 0) and aperture 11 (Av 2): metered EV 2.
ZarnLib_PatchKey Key(int iso, int kind)
{
    ZarnLib_PatchKey k;
    k.SetIso(iso);
    k.SetChartKind(kind);
    k.SetIlShutter(33);
    k.SetIlAperture(11);
    k.SetRlShutter(33);
    k.SetRlAperture(11);
    return k;
}

ZarnLib_EntryKey Photo(int shutter, double offset = 0)
{
    ZarnLib_EntryKey e;
    e.SetIso(100);
    e.SetShutter(shutter);
    e.SetAperture(11);
    e.SetExposureOffset(offset);
    return e;
}

void SetCentreLevel(ZarnLib_Profile& p, const ZarnLib_PatchKey& key, double level)
{
    const _ZARNLIB_VECTOR2 five[5] = {{-3.5, 20}, {-2.5, 35}, {2.5, 230}, {3.5, 245}, {0, level}};
    ASSERT_EQ(p.SetTablePoints(key, 0, five), 0);
}

struct Reference {
    bool found;
    int kind;
    int entry;
    int point;
    double x;
};

Reference FindReference(const ZarnLib_KestrinPatchElement& t, int block)
{
    Reference r{};
    r.found = t.FindReferencePoint(block, &r.kind, &r.entry, &r.point, &r.x);
    return r;
}

ZarnLib_CurveList List(const std::vector<ZarnLib_CnvPolyLine>& curves)
{
    ZarnLib_CurveList list(static_cast<int>(curves.size()), true);
    for (std::size_t i = 0; i < curves.size(); ++i) {
        list[static_cast<int>(i)] = curves[i];
    }
    return list;
}

} // namespace

TEST(ZarnLibCurve, ReferencePointOfUnevenAndEvenCharts)
{
    const struct {
        int kind;
        std::vector<double> levels;
        double centre;
        int point;
        double x;
    } cases[] = {
        // Levels 100 and 140 around 118: E = 0.55, x = (4 - 3 - 0.55) / 6.
        {1, {10, 30, 60, 100, 140, 200, 250}, 118, 4, 0.075},
        // Kind 3: E = (130 - 118) / 40 = 0.3, x = 0.1353 - 0.3 * (0.1353 + 1.0).
        {3, {50, 90, 130, 170, 210, 250}, 118, 2, 0.1353 - 0.3 * 1.1353},
        // Kind 6: E = 0.5 between 0.0082 and 0.4783.
        {6, {10, 40, 80, 100, 140, 180, 220}, 90, 3, 0.4783 - 0.5 * (0.4783 - 0.0082)},
        // Kind 2 (25 patches): E = 0.25 at patch 13, x = (13 - 12 - 0.25) / 6.
        {2, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 100, 140, 150, 160, 170, 180, 190, 200, 210, 220, 230, 240, 250},
         130, 13, 0.125},
        // A first level of exactly 255 passes a centre level of 255 at once: x is 0.
        {1, {255, 255, 255, 255, 255, 255, 255}, 255, 0, 0.0},
    };
    for (const auto& c : cases) {
        ZarnLib_Profile p;
        const ZarnLib_PatchKey key = Key(100, c.kind);
        p.AddEntry(key, Photo(33), Levels(c.levels));
        SetCentreLevel(p, key, c.centre);
        const Reference r = FindReference(*p.GetTableAt(0), 0);
        ASSERT_TRUE(r.found) << c.kind;
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_EQ(r.entry, 0);
        EXPECT_EQ(r.point, c.point) << c.kind;
        EXPECT_NEAR(r.x, c.x, kEps) << c.kind;
    }
}

TEST(ZarnLibCurve, FreshTableSearchesForAnyLevelAboveZero)
{
    ZarnLib_Profile p;
    const ZarnLib_PatchKey key = Key(100, 1);
    p.AddEntry(key, Photo(36), Levels({0, 0, 0, 0, 0, 0, 0}));
    p.AddEntry(key, Photo(33), Levels({0, 0, 5, 9, 9, 9, 9}));
    const Reference r = FindReference(*p.GetTableAt(0), 0);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.entry, 1);
    EXPECT_EQ(r.point, 2);
    EXPECT_NEAR(r.x, (2 - 3 - 1.0) / 6, kEps); // E = 1: the whole step lies above level 0
    EXPECT_FALSE(FindReference(*p.GetTableAt(0), 1).found == false && false);
}

// A reference at the first patch of a later photograph: the step before it comes from the previous
// photograph's last level, and the uneven charts take the width of their first step.
TEST(ZarnLibCurve, ReferenceAtTheFirstPatchOfALaterPhotograph)
{
    ZarnLib_Profile p;
    const ZarnLib_PatchKey key = Key(100, 3);
    p.AddEntry(key, Photo(36), Levels({10, 20, 30, 40, 50, 60}));
    p.AddEntry(key, Photo(33), Levels({150, 160, 170, 180, 190, 200}));
    SetCentreLevel(p, key, 118);
    const Reference r = FindReference(*p.GetTableAt(0), 0);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.entry, 1);
    EXPECT_EQ(r.point, 0);
    const double e = (150.0 - 118.0) / (150.0 - 60.0);
    EXPECT_NEAR(r.x, -2.5238 - e * (2.5238 - 1.0), kEps);
}

// A file may name a chart whose curves have another point count: the count decides, and nothing
// reads past the curves (AddressSanitizer would report it).
TEST(ZarnLibCurve, ChartKindThatDoesNotFitTheCurvesIsTakenFromTheCount)
{
    for (int namedKind : {4, 5, 1, 6}) {
        ZarnLib_Profile p;
        const ZarnLib_PatchKey key = Key(100, namedKind);
        p.AddEntry(key, Photo(36), Levels({200, 220, 230, 240, 250, 250}));
        p.AddEntry(key, Photo(33), Levels({50, 90, 130, 170, 210, 250}));
        SetCentreLevel(p, key, 118);
        ZarnLib_KestrinPatchElement& t = *p.GetTableAt(0);
        t.SetChartKind(namedKind);
        const Reference r = FindReference(t, 0);
        ASSERT_TRUE(r.found) << namedKind;
        EXPECT_EQ(r.kind, 3) << namedKind;
        ZarnLib_CurveList out;
        ZarnLib_CurveList trimmed;
        ASSERT_EQ(t.BuildOutputCurves(0, &out, &trimmed), 0) << namedKind;
        ASSERT_EQ(out.GetCount(), 2);
        EXPECT_EQ(out[0].GetCount(), 6);
        EXPECT_NEAR(out[0].GetPoints()[5].x, 2.32295, kEps); // kind 3's last position
    }
}

TEST(ZarnLibCurve, UnknownPointCountsUseTheMeasuredCurves)
{
    ZarnLib_Profile p;
    const ZarnLib_PatchKey key = Key(100, 0);
    p.AddEntry(key, Photo(33), Levels({10, 200, 250}));
    const Reference r = FindReference(*p.GetTableAt(0), 0);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.kind, 0);
    ZarnLib_CurveList out;
    ASSERT_EQ(p.GetTableAt(0)->BuildOutputCurves(0, &out, nullptr), 0);
    EXPECT_TRUE(out[0].IsEqual(Levels({10, 200, 250})));
}

TEST(ZarnLibCurve, BlockEvOffsetAcceptance)
{
    const struct {
        double profileOffset;
        int result;
    } cases[] = {{0.0, 0}, {5.04, 0}, {-5.04, 0}, {5.05, -1}, {-5.05, -1}, {5.1, -1}, {5.2, -1}};
    for (const auto& c : cases) {
        ZarnLib_Profile p;
        const ZarnLib_PatchKey key = Key(100, 1);
        p.AddEntry(key, Photo(33), Levels({255, 255, 255, 255, 255, 255, 255}));
        SetCentreLevel(p, key, 255); // reference x 0, reference EV 2 = metered EV
        double d = 99;
        EXPECT_EQ(p.GetTableAt(0)->GetBlockEvOffset(0, c.profileOffset, &d), c.result) << c.profileOffset;
        if (c.result == 0) {
            EXPECT_EQ(d, c.profileOffset);
        }
    }
}

TEST(ZarnLibCurve, BlockEvOffsetOfOrdinaryReading)
{
    ZarnLib_Profile p;
    ZarnLib_PatchKey key = Key(100, 1);
    key.SetIlTenths(3);
    p.AddEntry(key, Photo(36, 0.25), Levels({10, 30, 60, 100, 140, 200, 250}));
    SetCentreLevel(p, key, 118);
    p.SetIlOffset(0.5);
    ZarnLib_KestrinPatchElement& t = *p.GetTableAt(0);
    // (Av 2 + Tv 1 - 0.25 - 0.075) - (0 + 2 + 0.3) + P.
    double d = 0;
    ASSERT_EQ(t.GetBlockEvOffsetRaw(0, &d), 0);
    EXPECT_NEAR(d, 2.675 - 2.3, kEps);
    _ZARNLIB_VECTOR2 five[5];
    ASSERT_EQ(p.GetTablePoints(key, 0, five, &d), 0);
    EXPECT_NEAR(d, 2.675 - 2.3 + 0.5, kEps);
    EXPECT_EQ(five[4].y, 118); // CNT comes last
    t.Key().SetRlShutter(33);
    ZarnLib_PatchKey unset = Key(100, 1);
    unset.SetRlShutter(33);
    t.Key() = ZarnLib_PatchKey();
    t.Key().SetIso(100);
    EXPECT_EQ(t.GetBlockEvOffsetRaw(0, &d), -1); // the reading is unset
}

TEST(ZarnLibCurve, CineMeteredEv)
{
    const struct {
        double frameRate;
        double angle;
        int shutter;
        double expected;
        double correction;
    } cases[] = {
        // TvCine = 4.6 + 1.0; correction 5.6 - Tv(50).
        {24, 180, 50, 5.6 + 2 + 0.3, 5.6 - (50 / 3.0 - 11)},
        // 1/360000 s is shorter than the shutter scale: the correction counts twice.
        {1000, 1, 81, 16 + 2 * 2.5 + 2 + 0.3, 2.5},
    };
    for (const auto& c : cases) {
        ZarnLib_KestrinPatchElement t;
        t.Key().SetIlFrameRate(c.frameRate);
        t.Key().SetIlShutterAngle(c.angle);
        t.Key().SetIlShutter(c.shutter);
        t.Key().SetIlAperture(11);
        t.Key().SetIlTenths(3);
        EXPECT_NEAR(t.GetCineMeteredEv(0), c.expected, kEps) << c.frameRate;
        EXPECT_NEAR(t.Key().GetCineCorrection(), c.correction, kEps);
        EXPECT_EQ(t.GetCineMeteredEv(2), 0.0);
    }
}

TEST(ZarnLibCurve, OutputCurvesAreRelativeToTheReference)
{
    ZarnLib_Profile p;
    const ZarnLib_PatchKey key = Key(100, 1);
    p.AddEntry(key, Photo(36), Levels({40, 80, 110, 130, 160, 200, 240})); // EV 3
    p.AddEntry(key, Photo(33), Levels({10, 30, 50, 80, 100, 120, 150}));   // EV 2
    SetCentreLevel(p, key, 118);
    // Reference: entry 0, point 3, E = 0.6, x = -0.1.
    ZarnLib_CurveList out;
    ASSERT_EQ(p.GetTableCurve(key, 0, &out, nullptr), 0);
    ASSERT_EQ(out.GetCount(), 2);
    for (int k = 0; k < 7; ++k) {
        EXPECT_NEAR(out[0].GetPoints()[k].x, -2.0 / 3 + 0.1 + (k + 1) / 6.0, kEps) << k;
        EXPECT_NEAR(out[1].GetPoints()[k].x, 1 - 2.0 / 3 + 0.1 + (k + 1) / 6.0, kEps) << k;
    }
    double ev = 9;
    ASSERT_EQ(p.LevelAtInverse(key, 0, &ev, 118, &out), 0);
    EXPECT_NEAR(ev, 0.0, kEps); // the centre level sits at EV 0
    double level = 0;
    ASSERT_EQ(p.LevelAt(key, 0, &level, 0.0, &out), 0);
    EXPECT_NEAR(level, 118, kEps);
    // Outside the reference curve the other curves answer.
    ASSERT_EQ(p.LevelAt(key, 0, &level, 1.0, &out), 0);
    EXPECT_NEAR(level, 62, kEps); // entry 1: patches 2 (50) and 3 (80) at EV 0.9333 and 1.1
    EXPECT_EQ(p.GetTableCurve(Key(200, 1), 0, &out, nullptr), -1);
    double difference = 0;
    ASSERT_EQ(p.GetTableAt(0)->EntryEvDifference(&difference, 0, 1, 0.25, 0.5), 0);
    EXPECT_NEAR(difference, 2 - 3 - 0.75, kEps);
    EXPECT_EQ(p.GetTableAt(0)->EntryEvDifference(&difference, 0, 2, 0, 0), -1);
}

TEST(ZarnLibCurve, TrimmingTheFlatRuns)
{
    const struct {
        std::vector<double> first;
        std::vector<double> second;
        std::vector<int> counts; // points of each trimmed curve
        std::vector<double> firstLevels;
        std::vector<double> lastLevels;
    } cases[] = {
        // Start (0, 2), end (1, 4).
        {{5, 5, 5, 40, 120, 200, 250}, {5, 10, 20, 60, 250, 250, 250}, {5, 5}, {5, 5}, {250, 250}},
        // End (1, 0): the list stops after entry 0, which gets entry 1's first point appended.
        {{5, 5, 5, 40, 120, 200, 240}, {250, 250, 250, 250, 250, 250, 250}, {6, 0}, {5}, {250}},
        // No flat runs.
        {{4, 5, 6, 40, 120, 200, 240}, {1, 10, 20, 60, 100, 150, 200}, {7, 7}, {4, 1}, {240, 200}},
    };
    for (const auto& c : cases) {
        ZarnLib_Profile p;
        const ZarnLib_PatchKey key = Key(100, 1);
        p.AddEntry(key, Photo(36), Levels(c.first));
        p.AddEntry(key, Photo(33), Levels(c.second));
        SetCentreLevel(p, key, 118);
        ZarnLib_CurveList out;
        ZarnLib_CurveList trimmed;
        ASSERT_EQ(p.GetTableCurve(key, 0, &out, &trimmed), 0);
        ASSERT_EQ(trimmed.GetCount(), 2);
        for (int m = 0; m < 2; ++m) {
            const ZarnLib_CnvPolyLine& t = trimmed[m];
            EXPECT_EQ(t.GetCount(), c.counts[static_cast<std::size_t>(m)]) << m;
            if (t.GetCount() > 0) {
                EXPECT_EQ(t.GetPoints()[0].y, c.firstLevels[static_cast<std::size_t>(m)]);
                EXPECT_EQ(t.GetPoints()[t.GetCount() - 1].y, c.lastLevels[static_cast<std::size_t>(m)]);
            }
        }
    }
}

// The five points as the calculation finds them on one hand-made curve: levels 20, 40, ..., 240
// at patches 0..6 with the centre 118 between patches 2 and 3 (E = 0.05), so patch k sits at
// EV (k - 3 + 0.05) / 6.
TEST(ZarnLibCurve, CharacteristicPointsOfAHandMadeCurve)
{
    ZarnLib_Profile p;
    const ZarnLib_PatchKey key = Key(100, 1);
    p.AddEntry(key, Photo(33), Levels({20, 40, 80, 120, 160, 200, 240}));
    SetCentreLevel(p, key, 118);
    ZarnLib_CurveList out;
    ZarnLib_CurveList trimmed;
    ASSERT_EQ(p.GetTableCurve(key, 0, &out, &trimmed), 0);
    std::vector<ZarnLib_LevelRange> ranges;
    ASSERT_EQ(GetCurveYRanges(trimmed, &ranges), 0);
    ASSERT_EQ(ranges, (std::vector<ZarnLib_LevelRange>{{20, 240}}));
    const struct {
        int level;
        int snapped;
        double ev;
    } points[] = {{20, 20, -2.95 / 6}, {35, 35, -2.2 / 6}, {118, 118, 0.0}, {230, 230, 2.8 / 6}, {245, 240, 3.05 / 6}};
    for (const auto& c : points) {
        int level = c.level;
        EXPECT_EQ(SnapToRanges(ranges, &level), c.level != c.snapped ? 1 : 0);
        EXPECT_EQ(level, c.snapped);
        double ev = 99;
        ASSERT_EQ(p.LevelAtInverse(key, 0, &ev, level, &trimmed), 0);
        EXPECT_NEAR(ev, c.ev, kEps) << c.level;
        double back = 0;
        ASSERT_EQ(p.LevelAt(key, 0, &back, ev, &trimmed), 0);
        EXPECT_NEAR(back, level, kEps);
    }
}

TEST(ZarnLibCurve, InterpolationBetweenIsoSpeedsSamplesWhereBothHaveData)
{
    ZarnLib_Profile p;
    const ZarnLib_PatchKey low = Key(100, 1);
    const ZarnLib_PatchKey high = Key(400, 2);
    p.AddEntry(low, Photo(33), Levels({20, 40, 80, 120, 160, 200, 240}));
    std::vector<double> wide;
    for (int i = 0; i < 25; ++i) {
        wide.push_back(10 + 10 * i);
    }
    p.AddEntry(high, Photo(33), Levels(wide));
    const _ZARNLIB_VECTOR2 lowFive[5] = {{-3.5, 20}, {-2.5, 40}, {2.5, 200}, {3.5, 240}, {0, 118}};
    const _ZARNLIB_VECTOR2 highFive[5] = {{-3.5, 40}, {-2.5, 60}, {2.5, 220}, {3.5, 240}, {0, 118}};
    ASSERT_EQ(p.SetTablePoints(low, 0, lowFive), 0);
    ASSERT_EQ(p.SetTablePoints(high, 0, highFive), 0);

    ZarnLib_PatchKey between = low;
    between.SetIso(200); // halfway in stops: dI = 2, w = 1
    ZarnLib_CurveList curve;
    ASSERT_EQ(p.GetCurveForSettings(between, 0, &curve), 0);
    ASSERT_EQ(curve.GetCount(), 1);
    const ZarnLib_CnvPolyLine& c = curve[0];
    ASSERT_GE(c.GetCount(), 2);
    // The low table covers (k - 2.95) / 6 for k = 0..6 only; no sample may lie outside it or be 0.
    for (int i = 0; i < c.GetCount(); ++i) {
        EXPECT_GE(c.GetPoints()[i].x, -2.95 / 6 - kEps);
        EXPECT_LE(c.GetPoints()[i].x, 3.05 / 6 + kEps);
        EXPECT_GT(c.GetPoints()[i].y, 0);
    }

}

// Both tables hold the same hand-made curve, patch k at EV (k - 2.95) / 6 with levels 20, 40, 80,
// 120, 160, 200, 240; the interpolated curve samples it at 1/6 EV from patch 0 on (the points
// asked for lie below patch 5, so the rounding of the sample count does not matter).
TEST(ZarnLibCurve, PointsBetweenIsoSpeeds)
{
    ZarnLib_Profile p;
    const ZarnLib_PatchKey low = Key(100, 1);
    const ZarnLib_PatchKey high = Key(400, 1);
    for (const ZarnLib_PatchKey& key : {low, high}) {
        p.AddEntry(key, Photo(33), Levels({20, 40, 80, 120, 160, 200, 240}));
    }
    const _ZARNLIB_VECTOR2 lowFive[5] = {{-3.5, 20}, {-2.5, 40}, {2.5, 140}, {3.5, 160}, {0, 118}};
    const _ZARNLIB_VECTOR2 highFive[5] = {{-3.5, 40}, {-2.5, 60}, {2.5, 160}, {3.5, 160}, {0, 118}};
    ASSERT_EQ(p.SetTablePoints(low, 0, lowFive), 0);
    ASSERT_EQ(p.SetTablePoints(high, 0, highFive), 0);
    p.SetIlOffset(0.5);
    ZarnLib_PatchKey between = low;
    between.SetIso(200);
    _ZARNLIB_VECTOR2 five[5];
    double offset = 0;
    ASSERT_EQ(p.GetPointsForSettings(between, 0, five, &offset), 0);
    const _ZARNLIB_VECTOR2 expected[5] = {
        {-2.45 / 6, 30}, {-1.7 / 6, 50}, {0.8 / 6, 150}, {1.05 / 6, 160}, {0, 118}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(five[i].x, expected[i].x, kEps) << i;
        EXPECT_NEAR(five[i].y, expected[i].y, kEps) << i;
    }
    // Reference EV 2 - 0.05 / 6 against the metered EV 2, plus the profile's IL offset.
    EXPECT_NEAR(offset, 0.05 / 6 + 0.5, kEps);
    // A table's own ISO gives its stored points.
    ASSERT_EQ(p.GetPointsForSettings(high, 0, five, &offset), 0);
    EXPECT_EQ(five[0].y, 40);
    EXPECT_EQ(p.GetPointsForSettings(between, 1, five, &offset), -1); // RL blocks not valid
}

TEST(ZarnLibCurve, LimitPointsBetweenIsoSpeedsSetEveryOutput)
{
    ZarnLib_Profile p;
    const _ZARNLIB_VECTOR2 low[4] = {{-3, 20}, {-2, 40}, {2, 200}, {3, 240}};
    const _ZARNLIB_VECTOR2 high[4] = {{-4, 30}, {-3, 50}, {3, 210}, {4, 250}};
    p.SetTablePointsOrCreate(Key(100, 1), 0, low, 1.0);
    p.SetTablePointsOrCreate(Key(400, 1), 0, high, 2.0);
    ZarnLib_PatchKey between = Key(200, 1);
    between.SetLightSource(0);
    _ZARNLIB_VECTOR2 four[4] = {{999, 999}, {999, 999}, {999, 999}, {999, 999}};
    double adjustment = 0;
    ASSERT_EQ(p.GetPointsForSettingsAlt(between, 0, four, &adjustment), 0);
    const _ZARNLIB_VECTOR2 expected[4] = {{-3.5, 25}, {-2.5, 45}, {2.5, 205}, {3.5, 245}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(four[i].x, expected[i].x, kEps) << i;
        EXPECT_NEAR(four[i].y, expected[i].y, kEps) << i;
    }
    EXPECT_NEAR(adjustment, 1.5, kEps);
    EXPECT_EQ(p.GetPointsForSettingsAlt(between, 1, four, &adjustment), -1); // no valid RL block
}

TEST(ZarnLibCurve, NarrowSpanGivesOneEmptyCurve)
{
    ZarnLib_Profile p;
    p.AddEntry(Key(100, 0), Photo(33), Levels({10, 200, 250}));             // kind 0: x 0..2
    p.AddEntry(Key(400, 0), Photo(33), Line({{1.8, 10}, {1.9, 20}}));       // x 1.8..1.9
    ZarnLib_CurveList curve;
    ASSERT_EQ(p.GetCurveForSettings(Key(200, 0), 0, &curve), 0);
    ASSERT_EQ(curve.GetCount(), 1);
    EXPECT_EQ(curve[0].GetCount(), 0);
}

TEST(ZarnLibCurve, SnapToRanges)
{
    const std::vector<ZarnLib_LevelRange> two = {{0, 10}, {20, 30}};
    const std::vector<ZarnLib_LevelRange> three = {{0, 10}, {20, 30}, {40, 50}};
    const struct {
        const std::vector<ZarnLib_LevelRange>* ranges;
        int value;
        int moved;
        int result;
    } cases[] = {{&two, 15, 1, 10},   {&three, 15, 1, 20}, {&three, 35, 1, 30}, {&two, 12, 1, 10},
                 {&two, 18, 1, 20},   {&two, -4, 1, 0},    {&two, 31, 1, 30},   {&two, 10, 0, 10},
                 {&three, 45, 0, 45}};
    for (const auto& c : cases) {
        int v = c.value;
        EXPECT_EQ(SnapToRanges(*c.ranges, &v), c.moved) << c.value;
        EXPECT_EQ(v, c.result) << c.value;
    }
    int v = 7;
    EXPECT_EQ(SnapToRanges({}, &v), 0);
}

TEST(ZarnLibCurve, ClampToCurveDomain)
{
    const ZarnLib_CurveList list = List({Line({{-2, 0}, {-1, 1}}), Line({{0, 0}, {1, 1}})});
    const struct {
        double ev;
        double reference;
        int result;
        double out;
    } cases[] = {{-3, 0, 0, -2}, {2, 0, 0, 1}, {-0.5, 0, 0, 0}, {-0.5, -1, 0, -1}, {0.5, 0, -10001, 0.5}};
    for (const auto& c : cases) {
        double e = c.ev;
        EXPECT_EQ(ClampToCurveDomain(&e, c.reference, list), c.result) << c.ev;
        EXPECT_EQ(e, c.out) << c.ev;
    }
    const ZarnLib_CurveList holed = List({Line({{-2, 0}, {-1, 1}}), ZarnLib_CnvPolyLine(), Line({{0, 0}, {1, 1}})});
    double e = 0.5;
    EXPECT_EQ(ClampToCurveDomain(&e, 0, holed), -1);
    const ZarnLib_CurveList empty = List({ZarnLib_CnvPolyLine()});
    EXPECT_EQ(ClampToCurveDomain(&e, 0, empty), -10001);
}

TEST(ZarnLibCurve, LookupsAcrossCurveLists)
{
    const ZarnLib_CurveList list = List({Line({{-2, 10}, {-1, 50}}), Line({{0, 100}, {1, 200}})});
    double y = 0;
    ASSERT_EQ(LevelAtAnyCurve(list, 0.5, &y), 0);
    EXPECT_EQ(y, 150);
    EXPECT_EQ(LevelAtAnyCurve(list, -0.5, &y), -1); // in the gap
    EXPECT_EQ(LevelAtAnyCurve(list, 3, &y), -1);
    double x = 0;
    ASSERT_EQ(LevelAtInverseAnyCurve(list, 150, &x), 0);
    EXPECT_EQ(x, 0.5);
    ASSERT_EQ(LevelAtInverseAnyCurve(list, 70, &x), 0); // gap: the top of the curve below
    EXPECT_EQ(x, -1);
    ASSERT_EQ(LevelAtInverseAnyCurve(list, 250, &x), 0); // above all: the top of the last curve
    EXPECT_EQ(x, 1);
    EXPECT_EQ(LevelAtInverseAnyCurve(List({ZarnLib_CnvPolyLine()}), 10, &x), -1);
    EXPECT_TRUE(IsWithinTolerance(-0.5, 0.5));
    EXPECT_FALSE(IsWithinTolerance(1e-300, -1));
    EXPECT_TRUE(IsWithinTolerance(0, -1));
}

// Levels read from a damaged file can be anything: ranges and snapping stay defined.
TEST(ZarnLibCurve, LevelRangesOfDamagedCurves)
{
    const ZarnLib_CurveList list =
        List({Line({{0, -1e300}, {1, HUGE_VAL}}), Line({{0, std::nan("")}, {1, 5.5}})});
    std::vector<ZarnLib_LevelRange> ranges;
    ASSERT_EQ(GetCurveYRanges(list, &ranges), 0);
    ASSERT_EQ(ranges.size(), 2u);
    EXPECT_EQ(ranges[0], (ZarnLib_LevelRange{INT_MIN, INT_MAX}));
    const std::vector<ZarnLib_LevelRange> extremes = {{INT_MIN, INT_MIN + 1}, {INT_MAX - 1, INT_MAX}};
    int v = 0;
    EXPECT_EQ(SnapToRanges(extremes, &v), 1);
    EXPECT_EQ(v, INT_MAX - 1);
}
