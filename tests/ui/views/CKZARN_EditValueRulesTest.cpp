#include "ui/views/CKZARN_EditValueRules.h"

#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "profilelib/ZarnLib_Profile.h"
#include "tests/support/ScratchFolder.h"
#include "tests/ui/views/LinearTable.h"
#include "ui/views/CKZARN_ProfileTableAccess.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Rules = CKZARN_EditValueRules;
constexpr int kDrag = Rules::kModeDragged;
constexpr int kEnter = Rules::kModeEntered;
constexpr int kLeave = Rules::kModeLeft;

// The linear table's points: CPM -5/18, DRM -4/38, CNT 0/118, DRP +4/198, CPP +5/218; the curve runs
// from -5.9 EV (level 0) to +6.85 EV (level 255).
struct LinearFixture {
    LinearTable table;
    Rules rules;
    LinearFixture()
    {
        rules.Attach(&table);
        rules.ReadTable();
    }
};

struct EvCase {
    const char* what;
    int field;
    double value;
    int mode;
    bool refused;
    bool changed;
    double ev;  // the point's EV afterwards
    int level;  // and its level
};

} // namespace

TEST(EditValueRules, ReadsPointsOntoTheCurve)
{
    LinearFixture f;
    ASSERT_TRUE(f.rules.HasCurve());
    EXPECT_DOUBLE_EQ(f.rules.MinEv(), -5.9);
    EXPECT_DOUBLE_EQ(f.rules.MaxEv(), 6.85);
    const std::vector<double> ev(f.rules.Points().ev, f.rules.Points().ev + 5);
    const std::vector<int> level(f.rules.Points().level, f.rules.Points().level + 5);
    EXPECT_EQ(level, (std::vector<int>{18, 38, 118, 198, 218}));
    EXPECT_NEAR(ev[kEditCpm], -5.0, 1e-12);
    EXPECT_NEAR(ev[kEditCpp], 5.0, 1e-12);
    EXPECT_DOUBLE_EQ(f.rules.Points().further, 0.25);

    // Without a curve the points are the defaults and every edit is refused.
    f.table.failCurve = true;
    EXPECT_FALSE(f.rules.ReadTable());
    EXPECT_EQ(f.rules.Points().level[kEditCnt], 118);
    EXPECT_TRUE(f.rules.Apply(Rules::kEvCpp, 4.0, kEnter).refused);
}

TEST(EditValueRules, EvFieldsRoundSnapOrRefuse)
{
    const EvCase cases[] = {
        {"typed value rounded", Rules::kEvCpp, 4.53, kEnter, false, true, 4.5, 208},
        {"dragged value kept", Rules::kEvCpp, 4.53, kDrag, false, true, 4.53, 209},
        {"typed CPM above DRM keeps old", Rules::kEvCpm, -3.9, kEnter, false, false, -5.0, 18},
        {"dragged CPM near DRM snaps", Rules::kEvCpm, -3.96, kDrag, false, true, -4.0, 38},
        {"CPM below the curve keeps old", Rules::kEvCpm, -7.0, kEnter, false, false, -5.0, 18},
        {"DRM above CNT keeps old", Rules::kEvDrm, 0.1, kEnter, false, false, -4.0, 38},
        {"dragged DRM near CNT snaps", Rules::kEvDrm, 0.03, kDrag, false, true, 0.0, 118},
        {"DRM at CPM takes its EV", Rules::kEvDrm, -5.0, kEnter, false, true, -5.0, 18},
        {"DRP beyond CPP keeps old", Rules::kEvDrp, 5.1, kEnter, false, false, 4.0, 198},
        {"DRP below CNT snaps", Rules::kEvDrp, -0.04, kDrag, false, true, 0.0, 118},
        {"CPP above the curve keeps old", Rules::kEvCpp, 11.0, kEnter, false, false, 5.0, 218},
        {"CPP off the curve on leaving", Rules::kEvCpp, 6.9, kLeave, true, false, 5.0, 218},
        {"CPP off the curve on Enter clamps", Rules::kEvCpp, 6.9, kEnter, false, true, 6.85, 255},
        {"drag below 1e-6 is no change", Rules::kEvCpp, 5.0 + 1e-7, kDrag, false, false, 5.0, 218},
        {"same tenth typed is no change", Rules::kEvCpp, 5.04, kEnter, false, false, 5.0, 218},
        {"CPP dragged off the curve clamps", Rules::kEvCpp, 6.88, kDrag, false, true, 6.85, 255},
    };
    for (const EvCase& c : cases) {
        LinearFixture f;
        const Rules::Outcome out = f.rules.Apply(c.field, c.value, c.mode);
        EXPECT_EQ(out.refused, c.refused) << c.what;
        EXPECT_EQ(out.changed, c.changed) << c.what;
        EXPECT_NEAR(f.rules.Points().ev[out.point], c.ev, 1e-9) << c.what;
        EXPECT_EQ(f.rules.Points().level[out.point], c.level) << c.what;
    }
}

TEST(EditValueRules, LevelFieldsSnapOrRefuse)
{
    const EvCase cases[] = {
        {"CPP below DRP by 0.5 or more keeps old", Rules::kLevelCpp, 190, kEnter, false, false, 5.0, 218},
        {"CPP above 255 keeps old", Rules::kLevelCpp, 300, kEnter, false, false, 5.0, 218},
        {"CPP accepted", Rules::kLevelCpp, 230, kEnter, false, true, 5.6, 230},
        {"CPM above DRM by 0.5 or more keeps old", Rules::kLevelCpm, 50, kEnter, false, false, -5.0, 18},
        {"CPM below 0 keeps old", Rules::kLevelCpm, -3, kEnter, false, false, -5.0, 18},
        {"CPM accepted", Rules::kLevelCpm, 30, kEnter, false, true, -4.4, 30},
        {"DRP at CPP's EV takes CPP's level", Rules::kLevelDrp, 218, kEnter, false, true, 5.0, 218},
        {"DRP 0.05 EV beyond CPP takes CPP's EV", Rules::kLevelDrp, 219, kEnter, false, true, 5.0, 218},
        {"DRP below CNT keeps old", Rules::kLevelDrp, 100, kEnter, false, false, 4.0, 198},
        {"DRM at CPM's EV takes CPM's level", Rules::kLevelDrm, 18, kEnter, false, true, -5.0, 18},
        {"DRM 0.05 EV below CPM takes CPM's EV", Rules::kLevelDrm, 17, kEnter, false, true, -5.0, 18},
        {"DRM above CNT by 0.5 or more keeps old", Rules::kLevelDrm, 140, kEnter, false, false, -4.0, 38},
        {"same level is no change", Rules::kLevelDrm, 38, kEnter, false, false, -4.0, 38},
        {"CNT below DRM refused", Rules::kLevelCnt, 20, kEnter, true, false, 0.0, 118},
        {"CNT unchanged accepted", Rules::kLevelCnt, 118, kEnter, false, false, 0.0, 118},
    };
    for (const EvCase& c : cases) {
        LinearFixture f;
        const Rules::Outcome out = f.rules.Apply(c.field, c.value, c.mode);
        EXPECT_EQ(out.refused, c.refused) << c.what;
        EXPECT_EQ(out.changed, c.changed) << c.what;
        EXPECT_NEAR(f.rules.Points().ev[out.point], c.ev, 1e-9) << c.what;
        EXPECT_EQ(f.rules.Points().level[out.point], c.level) << c.what;
    }
}

TEST(EditValueRules, NewCentreLevelRebuildsTheCurveAndKeepsTheOtherLevels)
{
    LinearFixture f;
    const Rules::Outcome out = f.rules.Apply(Rules::kLevelCnt, 150, kEnter);
    ASSERT_FALSE(out.refused);
    EXPECT_TRUE(out.changed);
    EXPECT_TRUE(out.centreAccepted);
    const CharacteristicPoints& p = f.rules.Points();
    EXPECT_EQ(std::vector<int>(p.level, p.level + 5), (std::vector<int>{18, 38, 150, 198, 218}));
    const double expected[5] = {-6.6, -5.6, 0.0, 2.4, 3.4};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(p.ev[i], expected[i], 1e-9) << i;
        EXPECT_NEAR(f.table.ev[i], expected[i], 1e-9) << i;
    }
    EXPECT_EQ(f.table.level[kEditCnt], 150);
}

TEST(EditValueRules, FailedLookUpsRefuseWithoutTouchingPointsOrTable)
{
    struct Case {
        const char* what;
        int field;
        double value;
        int inverseBudget;
        bool failGetPoints;
    } cases[] = {
        {"CNT: the second EV cannot be taken from its level", Rules::kLevelCnt, 150, 1, false},
        {"CNT: the rebuilt curve cannot be read back", Rules::kLevelCnt, 150, -1, true},
        {"DRP: the EV at the level cannot be found", Rules::kLevelDrp, 210, 0, false},
        {"CPP: the EV at the level cannot be found", Rules::kLevelCpp, 230, 0, false},
    };
    for (const Case& c : cases) {
        LinearFixture f;
        const CharacteristicPoints before = f.rules.Points();
        const std::vector<double> tableBefore(f.table.ev, f.table.ev + 5);
        const std::vector<double> tableLevels(f.table.level, f.table.level + 5);
        f.table.inverseBudget = c.inverseBudget;
        f.table.failGetPoints = c.failGetPoints;
        const Rules::Outcome out = f.rules.Apply(c.field, c.value, kEnter);
        EXPECT_TRUE(out.refused) << c.what;
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(f.rules.Points().ev[i], before.ev[i]) << c.what << " point " << i;
            EXPECT_EQ(f.rules.Points().level[i], before.level[i]) << c.what << " point " << i;
        }
        for (int i = 0; i < 5; ++i) {
            EXPECT_NEAR(f.table.ev[i], tableBefore[static_cast<std::size_t>(i)], 1e-9) << c.what << " point " << i;
            EXPECT_EQ(f.table.level[i], tableLevels[static_cast<std::size_t>(i)]) << c.what << " point " << i;
        }
    }
}

TEST(EditValueRules, RebuildRefusesACentreOutsideTheRange)
{
    LinearFixture f;
    // A centre at level 250 lies at +6.6 EV, beyond DRP and CPP: the ordering around it fails.
    EXPECT_EQ(f.rules.RebuildCurve(250), 0);
    EXPECT_EQ(f.table.setCalls, 0);
    EXPECT_EQ(f.rules.RebuildCurve(128), 1);
    EXPECT_EQ(f.rules.Points().level[kEditCnt], 128);
}

TEST(EditValueRules, RoundingAndFormatting)
{
    const struct {
        double ev;
        const char* text;
    } cases[] = {{-0.04, "0.0"}, {-0.05, "-0.1"}, {0.25, "+0.3"}, {2.53, "+2.5"}, {0.0, "0.0"}, {-3.46, "-3.5"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Rules::FormatEv(c.ev, '.'), c.text) << c.ev;
    }
    EXPECT_EQ(Rules::FormatEv(-3.46, ','), "-3,5");
    EXPECT_EQ(Rules::FormatEv(-0.04, ','), "0,0");
    EXPECT_EQ(Rules::RoundLevel(117.5), 118);
    EXPECT_EQ(Rules::RoundLevel(-0.5), -1);
    EXPECT_EQ(Rules::Tenths(-0.04), 0);
    // A huge typed number saturates instead of overflowing.
    EXPECT_EQ(Rules::Tenths(1e30), 1000000000);
    EXPECT_EQ(Rules::RoundLevel(-1e30), -1000000000);
}

namespace {

// A table of chart kind 1 (seven patches a sixth of a stop apart) from one photograph, its CNT at
// level 118, saved by the library and read back.
struct KpfFixture {
    ScratchFolder folder;
    ZarnLib_Profile profile;
    ZarnLib_PatchKey key;
    std::string path;

    KpfFixture()
    {
        key.SetIso(100);
        key.SetChartKind(1);
        key.SetIlShutter(33);
        key.SetIlAperture(11);
        key.SetRlShutter(33);
        key.SetRlAperture(11);
        ZarnLib_Profile made;
        made.SetVersion(3);
        made.SetSubVersion(0);
        made.SetChartKind(1);
        std::vector<_ZARNLIB_VECTOR2> patches;
        const double levels[7] = {20, 50, 90, 118, 160, 210, 245};
        for (int i = 0; i < 7; ++i) {
            patches.push_back({static_cast<double>(i), levels[i]});
        }
        ZarnLib_CnvPolyLine curve;
        curve.SetPoints(patches.data(), 7, false);
        ZarnLib_EntryKey photo;
        photo.SetIso(100);
        photo.SetShutter(33);
        photo.SetAperture(11);
        made.AddEntry(key, photo, curve);
        const _ZARNLIB_VECTOR2 five[5] = {{-0.4, 30}, {-0.3, 50}, {0.2, 190}, {0.4, 230}, {0, 118}};
        made.SetTablePoints(key, 0, five);
        path = folder.File("Linear.kpf");
        const ZarnLibString kpf(path.c_str());
        EXPECT_EQ(SaveProfile(&kpf, &made), 0);
        EXPECT_EQ(LoadProfile(&kpf, &profile), 0);
    }
};

} // namespace

TEST(EditValueRules, EditsASavedProfileAndSavesTheNewPoint)
{
    KpfFixture f;
    CKZARN_ProfileTableAccess access(&f.profile, f.key, 0);
    Rules rules;
    rules.Attach(&access);
    ASSERT_TRUE(rules.ReadTable());
    ASSERT_EQ(rules.Points().level[kEditCpp], 230);
    // A CPP level between DRP and 255 is accepted; its EV comes from the table's curve.
    const Rules::Outcome out = rules.Apply(Rules::kLevelCpp, 240, kEnter);
    ASSERT_FALSE(out.refused);
    ASSERT_TRUE(out.changed);
    ASSERT_EQ(rules.StorePoints(), 0);
    const double cppEv = rules.Points().ev[kEditCpp];
    double level = 0;
    ASSERT_EQ(access.LevelAt(rules.ConversionCurves(), cppEv, &level), 0);
    EXPECT_NEAR(level, 240, 1e-6);
    // A typed EV between DRP and CPP for DRP is stored rounded.
    ASSERT_FALSE(rules.Apply(Rules::kEvDrp, Rules::RoundEv(cppEv) - 0.1, kEnter).refused);
    ASSERT_EQ(rules.StorePoints(), 0);

    const ZarnLibString kpf(f.path.c_str());
    ASSERT_EQ(SaveProfile(&kpf, &f.profile), 0);
    ZarnLib_Profile again;
    ASSERT_EQ(LoadProfile(&kpf, &again), 0);
    _ZARNLIB_VECTOR2 five[5];
    double extra = 0;
    ASSERT_EQ(again.GetTablePoints(f.key, 0, five, &extra), 0);
    EXPECT_NEAR(five[3].y, 240, 1e-9);           // CPP level
    EXPECT_NEAR(five[3].x, cppEv, 1e-12);        // CPP EV
    EXPECT_NEAR(five[2].x, Rules::RoundEv(cppEv) - 0.1, 1e-12); // DRP EV
}

TEST(EditValueRules, CentreLevelOfASavedProfileKeepsTheOtherLevels)
{
    KpfFixture f;
    CKZARN_ProfileTableAccess access(&f.profile, f.key, 0);
    Rules rules;
    rules.Attach(&access);
    ASSERT_TRUE(rules.ReadTable());
    const CharacteristicPoints before = rules.Points();
    const Rules::Outcome out = rules.Apply(Rules::kLevelCnt, 130, kEnter);
    ASSERT_FALSE(out.refused);
    ASSERT_TRUE(out.centreAccepted);
    ASSERT_TRUE(rules.ReadTable());
    const CharacteristicPoints& after = rules.Points();
    EXPECT_EQ(after.level[kEditCnt], 130);
    EXPECT_NEAR(after.ev[kEditCnt], 0.0, 1e-12);
    for (const int i : {kEditCpm, kEditDrm, kEditDrp, kEditCpp}) {
        EXPECT_EQ(after.level[i], before.level[i]) << i;
    }
    // The points moved left relative to the new, brighter reference.
    EXPECT_LT(after.ev[kEditCpp], before.ev[kEditCpp]);
    // Outside [DRM, DRP] it beeps and leaves the table alone.
    EXPECT_TRUE(rules.Apply(Rules::kLevelCnt, 250, kEnter).refused);
}
