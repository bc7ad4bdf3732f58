#include "profilelib/ZarnLib_Profile.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

ZarnLib_PatchKey Key(int iso, int light = 0)
{
    ZarnLib_PatchKey k;
    k.SetIso(iso);
    k.SetLightSource(light);
    return k;
}

// An entry key whose EV is Tv(shutter) + Av(aperture) with aperture index 11 (Av 2).
ZarnLib_EntryKey EntryWithEv(int ev, int iso = 100)
{
    ZarnLib_EntryKey e;
    e.SetIso(iso);
    e.SetAperture(11);
    e.SetShutter(3 * (ev - 2) + 33);
    return e;
}

ZarnLib_CnvPolyLine SevenPatches(double base)
{
    std::vector<_ZARNLIB_VECTOR2> points;
    for (int i = 0; i < 7; ++i) {
        points.push_back({static_cast<double>(i), base + 10 * i});
    }
    ZarnLib_CnvPolyLine c;
    c.SetPoints(points.data(), 7, false);
    return c;
}

std::vector<int> Isos(const ZarnLib_Profile& p)
{
    std::vector<int> isos;
    for (int i = 0; i < p.TableCount(); ++i) {
        isos.push_back(p.GetTableAt(i)->Key().GetIso());
    }
    return isos;
}

const _ZARNLIB_VECTOR2 kFive[5] = {{-3.5, 20}, {-2.5, 35}, {2.5, 230}, {3.5, 245}, {0, 118}};
const _ZARNLIB_VECTOR2 kFour[4] = {{-3, 21}, {-2, 36}, {2, 229}, {3, 244}};

} // namespace

TEST(ZarnLibProfile, TablesStayInIsoOrder)
{
    ZarnLib_Profile p;
    for (int iso : {400, 100, 200, 100}) {
        ASSERT_EQ(p.AddEntry(Key(iso), EntryWithEv(10, iso), SevenPatches(20)), 0);
    }
    ZarnLib_PatchKey otherLight = Key(100, 3);
    otherLight.SetChartKind(2);
    ASSERT_EQ(p.AddEntry(otherLight, EntryWithEv(10), SevenPatches(20)), 0);
    EXPECT_EQ(Isos(p), (std::vector<int>{100, 100, 200, 400}));
    EXPECT_EQ(p.GetTableAt(0)->GetEntryCount(), 2);
    EXPECT_EQ(p.GetTableAt(1)->Key().GetLightSource(), 3);
    EXPECT_EQ(p.GetChartKind(), 2);
    EXPECT_EQ(p.GetTableKinds(), (std::vector<int>{1, 2, 1, 1})); // 7-point curves imply kind 1
}

TEST(ZarnLibProfile, EntriesStayInDescendingEv)
{
    ZarnLib_Profile p;
    for (int ev : {10, 12, 11}) {
        p.AddEntry(Key(100), EntryWithEv(ev), SevenPatches(ev));
    }
    p.AddEntry(Key(100), EntryWithEv(11), SevenPatches(99)); // newest of equal EVs goes first
    const ZarnLib_KestrinPatchElement* t = p.GetTableAt(0);
    ASSERT_EQ(t->GetEntryCount(), 4);
    const double expectedEv[4] = {12, 11, 11, 10};
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(t->GetEntry(i)->GetKey().GetEv(), expectedEv[i]) << i;
    }
    EXPECT_EQ(t->GetEntry(1)->Curve().GetPoints()[0].y, 99);
}

TEST(ZarnLibProfile, PointsAreMatchedByIsoAndLightSource)
{
    ZarnLib_Profile p;
    p.AddEntry(Key(100, 1), EntryWithEv(10), SevenPatches(20));
    EXPECT_EQ(p.SetTablePoints(Key(100, 2), 0, kFive), -1);
    EXPECT_EQ(p.SetTablePoints(Key(100, 1), 2, kFive), -1);
    ASSERT_EQ(p.SetTablePoints(Key(100, 1), 1, kFive), 0);
    const ZarnLib_ResultBlock* rl = p.GetTableAt(0)->GetBlock(1);
    EXPECT_EQ(rl->valid, 1);
    // Stored in ascending EV: CPM, DRM, CNT, DRP, CPP.
    EXPECT_EQ(rl->points[kSlotCnt].x, 0);
    EXPECT_EQ(rl->points[kSlotDrp].y, 230);
    _ZARNLIB_VECTOR2 four[4];
    double adjustment = 1;
    ASSERT_EQ(p.GetTableLimits(Key(100, 1), 1, four, &adjustment), 0);
    EXPECT_EQ(four[3].x, 3.5);
    EXPECT_EQ(adjustment, 0);
    EXPECT_EQ(p.GetTableLimits(Key(100, 1), 0, four, &adjustment), -1); // block not valid
    EXPECT_EQ(p.GetTableLimits(Key(100, 1), 1, nullptr, &adjustment), -1);
}

TEST(ZarnLibProfile, HandEnteredTablesKeepCentreAndHaveNoEntries)
{
    ZarnLib_Profile p;
    ZarnLib_PatchKey k = Key(200);
    ASSERT_EQ(p.SetTablePointsOrCreate(k, 0, kFour, 1.5), 0);
    ASSERT_EQ(p.SetTablePointsOrCreate(Key(50), 1, kFour, -2), 0);
    EXPECT_EQ(Isos(p), (std::vector<int>{50, 200}));
    EXPECT_EQ(p.GetChartKind(), 0);
    const ZarnLib_KestrinPatchElement* t = p.FindTable(k);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetEntryCount(), 0);
    EXPECT_EQ(t->GetChartKind(), 0);
    EXPECT_EQ(t->GetBlock(0)->adjustment, 1.5);
    EXPECT_EQ(t->GetBlock(0)->points[kSlotCnt].x, 0); // CNT untouched
    EXPECT_EQ(t->GetBlock(0)->points[kSlotCpp].x, 3);
    EXPECT_EQ(p.SetTablePointsOrCreate(k, 2, kFour, 0), -1);
}

TEST(ZarnLibProfile, ClearingBothBlocksRemovesTheTable)
{
    ZarnLib_Profile p;
    p.SetTablePointsOrCreate(Key(100), 0, kFour, 0);
    p.SetTablePointsOrCreate(Key(100), 1, kFour, 0);
    EXPECT_EQ(p.ClearTableBlock(Key(100), 0), 0);
    EXPECT_EQ(p.TableCount(), 1);
    EXPECT_EQ(p.ClearTableBlock(Key(100), 7), -1);
    EXPECT_EQ(p.TableCount(), 1);
    EXPECT_EQ(p.ClearTableBlock(Key(100), 1), 0);
    EXPECT_EQ(p.TableCount(), 0);
    EXPECT_EQ(p.ClearTableBlock(Key(100), 1), -1);
    EXPECT_EQ(p.RemoveTable(Key(100)), -1);
}

TEST(ZarnLibProfile, FindTablesForIsoBrackets)
{
    ZarnLib_Profile p;
    p.SetTablePointsOrCreate(Key(100, 1), 0, kFour, 0);
    p.SetTablePointsOrCreate(Key(400, 1), 0, kFour, 0);
    const struct {
        int iso;
        int light;
        std::vector<int> isos;
    } cases[] = {{200, 1, {100, 400}}, {200, 9, {100, 400}}, {50, 1, {100}}, {800, 1, {400}},
                 {400, 1, {400}},      {100, 1, {100}},      {400, 2, {400}}};
    for (const auto& c : cases) {
        ZarnLib_Buffer<ZarnLib_KestrinPatchElement*> found;
        int first = -1;
        int second = -1;
        ASSERT_EQ(p.FindTablesForIso(Key(c.iso, c.light), &found, &first, &second), 0) << c.iso;
        std::vector<int> isos;
        for (int i = 0; i < found.GetCount(); ++i) {
            isos.push_back(found[i]->Key().GetIso());
        }
        EXPECT_EQ(isos, c.isos) << c.iso << "/" << c.light;
        EXPECT_EQ(first, c.isos[0]);
        EXPECT_EQ(second, c.isos.size() == 2 ? c.isos[1] : -1);
    }

    ZarnLib_Profile single;
    single.SetTablePointsOrCreate(Key(400, 5), 0, kFour, 0);
    ZarnLib_Buffer<ZarnLib_KestrinPatchElement*> found;
    ASSERT_EQ(single.FindTablesForIso(Key(100, 1), &found, nullptr, nullptr), 0);
    EXPECT_EQ(found.GetCount(), 1);
    ZarnLib_Profile empty;
    EXPECT_EQ(empty.FindTablesForIso(Key(100), &found, nullptr, nullptr), -1);
}

TEST(ZarnLibProfile, FindValidTablesForIsoFiltersLightAndBlock)
{
    ZarnLib_Profile p;
    p.SetTablePointsOrCreate(Key(100, 1), 0, kFour, 0);
    p.SetTablePointsOrCreate(Key(200, 2), 0, kFour, 0);
    p.SetTablePointsOrCreate(Key(400, 1), 1, kFour, 0);
    p.SetTablePointsOrCreate(Key(800, 1), 0, kFour, 0);
    ZarnLib_Buffer<ZarnLib_KestrinPatchElement*> found;
    int first = 0;
    int second = 0;
    ASSERT_EQ(p.FindValidTablesForIso(Key(300, 1), &found, &first, &second, 0), 0);
    EXPECT_EQ(first, 100);
    EXPECT_EQ(second, 800);
    EXPECT_EQ(p.FindValidTablesForIso(Key(300, 3), &found, &first, &second, 0), -1);
    EXPECT_EQ(p.FindValidTablesForIso(Key(300, 1), &found, &first, &second, 2), -1);
}

TEST(ZarnLibProfile, KeyReadingsAreRangeChecked)
{
    ZarnLib_PatchKey k;
    ASSERT_EQ(k.SetIlShutter(81), 0);
    EXPECT_EQ(k.SetIlShutter(82), -1);
    EXPECT_EQ(k.SetIlShutter(-1), -1);
    EXPECT_EQ(k.GetIlShutter(), 81);
    EXPECT_EQ(k.SetRlAperture(50), -1);
    EXPECT_EQ(k.SetRlTenths(10), -1);
    EXPECT_FALSE(k.IsMeteringValid(0)); // aperture still unset
    k.SetIlAperture(49);
    EXPECT_TRUE(k.IsMeteringValid(0));
    EXPECT_FALSE(k.IsMeteringValid(1));
    EXPECT_FALSE(k.IsMeteringValid(2));
    k.SetIlFrameRate(24);
    k.SetIlShutterAngle(180);
    ASSERT_EQ(k.SetShutterFromCine(0), 0);
    EXPECT_EQ(k.GetIlShutter(), 50);
    EXPECT_EQ(k.SetShutterFromCine(1), -1); // frame rate 0
}

TEST(ZarnLibProfile, CineEvOfAPhotograph)
{
    ZarnLib_EntryKey e;
    e.SetFrameRate(24);
    e.SetShutterAngle(180);
    e.SetAperture(20);
    EXPECT_DOUBLE_EQ(e.GetCineEv(), 10.6);
    e.SetShutter(50); // Tv 5.666..; correction 5.6 - Tv
    EXPECT_DOUBLE_EQ(e.GetCineIndexEv(0.25), 5 + 50 / 3.0 - 11 + 0.25);
    EXPECT_DOUBLE_EQ(e.GetCineCorrection(), 5.6 - (50 / 3.0 - 11) - 0.25);
    ZarnLib_EntryKey copy;
    EXPECT_EQ(e.CopyTo(&copy), 0);
    EXPECT_EQ(e.CopyTo(nullptr), -1);
    EXPECT_EQ(copy.GetApertureIndex(), 20);
}

TEST(ZarnLibProfile, EqualityIgnoresVersionAndOffsets)
{
    ZarnLib_Profile a;
    ZarnLib_Profile b;
    for (ZarnLib_Profile* p : {&a, &b}) {
        p->AddEntry(Key(100), EntryWithEv(10), SevenPatches(20));
        p->SetTablePoints(Key(100), 0, kFive);
    }
    b.SetVersion(3);
    b.SetIlOffset(0.5);
    EXPECT_TRUE(a.IsEqual(&b));
    EXPECT_FALSE(a.IsEqual(nullptr));
    b.GetTableAt(0)->GetBlock(0)->points[kSlotCnt].y = 119;
    EXPECT_FALSE(a.IsEqual(&b));
}
