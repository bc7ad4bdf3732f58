#include "meter/CKZARN_TransferData.h"
#include "meter/UserListConverters.h"
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_PatchKey.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "profilelib/ZarnLib_Vector2.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <memory>
#include <string>

namespace {

struct TenthsCase {
    double value;
    int byte;
};

TEST(TransferDataTenths, EncodesNearestTenthHalfTowardZeroAndClampsToTheByte)
{
    const TenthsCase cases[] = {
        {0.05, 0},   {0.06, 1},     {-0.06, -1},   {2.25, 22},      {2.26, 23},     {-2.25, -22},
        {12.7, 127}, {-12.7, -127}, {13.0, 127},   {-12.8, -127},   {-13.0, -127},  {1e300, 127},
        {-1e300, -127}, {DBL_MAX, -128}, {std::nan(""), -128}, {0.0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CKZARN_TransferData::EncodeTenths(c.value), c.byte) << c.value;
    }
    EXPECT_EQ(CKZARN_TransferData::DecodeTenths(-128), DBL_MAX);
    EXPECT_DOUBLE_EQ(CKZARN_TransferData::DecodeTenths(-127), -12.7);
}

TEST(TransferDataTenths, DifferencesAreRoundedBeforeSubtractingAndClamped)
{
    EXPECT_EQ(CKZARN_TransferData::EncodeDifference(-3.5, -2.5), -10);
    EXPECT_EQ(CKZARN_TransferData::EncodeDifference(-3.46, -2.54), -10);
    EXPECT_EQ(CKZARN_TransferData::EncodeDifference(DBL_MAX, -2.5), -128);
    EXPECT_EQ(CKZARN_TransferData::EncodeDifference(-3.5, DBL_MAX), -128);
    // 12.7 - (-12.7) would wrap; it is held at the largest difference the byte holds.
    EXPECT_EQ(CKZARN_TransferData::EncodeDifference(12.7, -12.7), 127);
    EXPECT_EQ(CKZARN_TransferData::EncodeDifference(-12.7, 12.7), -127);
    // A limit point beyond the byte over a base at the byte's limit: taken from the base byte held.
    EXPECT_EQ(CKZARN_TransferData::EncodeDifference(25.4, 12.7), 127);
    EXPECT_EQ(CKZARN_TransferData::EncodeDifference(14.0, 13.0), 13);
    EXPECT_EQ(CKZARN_TransferData::EncodeDifference(-25.4, -12.7), -127);
    EXPECT_EQ(CKZARN_TransferData::EncodeDifference(1e300, 0.0), 127);
}

TEST(TransferDataTable, NewTableHasNoValuesEmptyNamesAndDefaultLimitsBeyondTheT310Rows)
{
    CKZARN_TransferData t;
    EXPECT_EQ(t.GetFamily(), 0);
    EXPECT_EQ(t.GetHeaderText(), "");
    for (int s = 0; s < 10; ++s) {
        EXPECT_EQ(t.GetProfileName(s), "");
        const ProfileRow* rows = t.GetProfileRows(s);
        for (int r = 0; r < 67; ++r) {
            for (const ExposureRange& g : rows[r].group) {
                if (s < 3 && r >= 35) {
                    EXPECT_EQ(g.centre, 0.0);
                    EXPECT_EQ(g.cpm, -3.5);
                    EXPECT_EQ(g.drm, -2.5);
                    EXPECT_EQ(g.drp, 2.5);
                    EXPECT_EQ(g.cpp, 3.5);
                } else {
                    ASSERT_EQ(g.centre, DBL_MAX);
                    ASSERT_EQ(g.cpm, DBL_MAX);
                    ASSERT_EQ(g.cpp, DBL_MAX);
                }
            }
        }
    }
    // A new table written to a meter block gives "no value" bytes, never garbage.
    T140TransferBlock block;
    t.SetFamily(1);
    ASSERT_EQ(t.WriteT140Image(&block), 1);
    EXPECT_EQ(static_cast<std::int8_t>(block.bytes[T140TransferBlock::ProfileByte(4, 10, 2, 2)]), -128);
}

TEST(TransferDataTable, IndexRulesAndCounts)
{
    CKZARN_TransferData t;
    t.SetProfileName(0, "zero");
    t.SetProfileName(9, "nine");
    EXPECT_EQ(t.GetProfileName(10), "zero");
    EXPECT_EQ(t.GetProfileName(-1), "zero");
    EXPECT_EQ(t.GetProfileName(9), "nine");
    EXPECT_EQ(t.GetProfileRows(10), nullptr);
    EXPECT_EQ(t.GetProfileRows(-1), nullptr);
    EXPECT_EQ(CKZARN_TransferData::GetProfileCount(0), 3);
    EXPECT_EQ(CKZARN_TransferData::GetProfileCount(2), 10);
    EXPECT_EQ(CKZARN_TransferData::GetProfileCount(7), 3);
    EXPECT_EQ(CKZARN_TransferData::GetRowCount(1), 52);
    EXPECT_EQ(CKZARN_TransferData::GetRowCount(2), 67);
    EXPECT_EQ(CKZARN_TransferData::GetRowCount(-3), 35);
}

TEST(TransferDataTable, TextsAreCutTo31BytesWithoutSplittingACharacter)
{
    CKZARN_TransferData t;
    t.SetHeaderText(std::string(40, 'A'));
    EXPECT_EQ(t.GetHeaderText(), std::string(31, 'A'));
    // 30 ASCII bytes and a two-byte character: the character does not fit and is left out whole.
    t.SetHeaderText(std::string(30, 'B') + "\xC3\xA9");
    EXPECT_EQ(t.GetHeaderText(), std::string(30, 'B'));
    t.SetHeaderText(std::string(29, 'C') + "\xC3\xA9" + "D");
    EXPECT_EQ(t.GetHeaderText(), std::string(29, 'C') + "\xC3\xA9");
}

// A table whose every value differs, within what a HID meter stores.
void FillPattern(CKZARN_TransferData& t, int rows)
{
    for (int s = 0; s < 10; ++s) {
        t.SetProfileName(s, "Slot " + std::to_string(s));
        ProfileRow* r = t.GetProfileRows(s);
        for (int k = 0; k < rows; ++k) {
            for (int g = 0; g < 4; ++g) {
                const double base = ((s * 7 + k * 3 + g) % 40) / 10.0;
                r[k].group[g] = ExposureRange{base - 2.0, -base - 1.5, -base, base + 0.2, base + 1.1};
            }
        }
    }
    t.SetHeaderText("HEADER");
}

void ExpectTenthsEqual(double a, double b)
{
    if (a == DBL_MAX || b == DBL_MAX) {
        EXPECT_EQ(a, b);
    } else {
        EXPECT_NEAR(a, b, 1e-9);
    }
}

TEST(TransferDataImage, HidImagesRoundTripAndPlaceTheBytes)
{
    CKZARN_TransferData t;
    t.SetFamily(2);
    FillPattern(t, 67);
    t.GetProfileRows(3)[5].group[1] = ExposureRange{1.0, DBL_MAX, -2.0, 2.0, DBL_MAX};
    T520TransferBlock block;
    block.bytes.fill(0x55);
    ASSERT_EQ(t.WriteT520Image(&block), 1);
    // Bytes of slot 3, row 5, group 1: CPP-DRP, DRP, centre, DRM, CPM-DRM.
    EXPECT_EQ(block.bytes[T520TransferBlock::ProfileByte(3, 5, 1, 0)], 0x80);
    EXPECT_EQ(block.bytes[T520TransferBlock::ProfileByte(3, 5, 1, 1)], 20);
    EXPECT_EQ(block.bytes[T520TransferBlock::ProfileByte(3, 5, 1, 2)], 10);
    EXPECT_EQ(static_cast<std::int8_t>(block.bytes[T520TransferBlock::ProfileByte(3, 5, 1, 3)]), -20);
    EXPECT_EQ(block.bytes[T520TransferBlock::ProfileByte(3, 5, 1, 4)], 0x80);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&block.bytes[1386 + 1372 * 3])), "Slot 3");
    EXPECT_EQ(block.bytes[40], 0x55); // outside the profile part: untouched

    CKZARN_TransferData back;
    ASSERT_EQ(back.ReadT520Image(&block), 1);
    EXPECT_EQ(back.GetFamily(), 2);
    EXPECT_EQ(back.GetHeaderText(), "HEADER");
    for (int s = 0; s < 10; ++s) {
        EXPECT_EQ(back.GetProfileName(s), t.GetProfileName(s));
        for (int k = 0; k < 67; ++k) {
            for (int g = 0; g < 4; ++g) {
                const ExposureRange& a = t.GetProfileRows(s)[k].group[g];
                const ExposureRange& b = back.GetProfileRows(s)[k].group[g];
                ExpectTenthsEqual(a.centre, b.centre);
                ExpectTenthsEqual(a.cpm, b.cpm);
                ExpectTenthsEqual(a.drm, b.drm);
                ExpectTenthsEqual(a.drp, b.drp);
                ExpectTenthsEqual(a.cpp, b.cpp);
            }
        }
    }
}

TEST(TransferDataImage, T140ReadKeepsTheRowsItDoesNotCarry)
{
    CKZARN_TransferData src;
    src.SetFamily(2);
    FillPattern(src, 67);
    T520TransferBlock b520;
    src.WriteT520Image(&b520);
    CKZARN_TransferData t;
    t.ReadT520Image(&b520);
    const ExposureRange before = t.GetProfileRows(6)[60].group[3];
    T140TransferBlock b140;
    ASSERT_EQ(t.ReadT140Image(&b140), 1);
    EXPECT_EQ(t.GetFamily(), 1);
    EXPECT_EQ(t.GetProfileRows(6)[60].group[3].drp, before.drp);
    EXPECT_EQ(t.GetProfileRows(6)[51].group[3].drp, 0.0); // carried: from the zero block
}

TEST(TransferDataImage, WrongFamilyOrNullBlockChangesNothing)
{
    CKZARN_TransferData t;
    FillPattern(t, 67);
    T140TransferBlock b140;
    T520TransferBlock b520;
    t.SetFamily(0);
    EXPECT_EQ(t.WriteT140Image(&b140), 0);
    EXPECT_EQ(t.WriteT520Image(&b520), 0);
    t.SetFamily(1);
    EXPECT_EQ(t.WriteT520Image(&b520), 0);
    EXPECT_EQ(t.WriteT140Image(nullptr), 0);
    EXPECT_EQ(t.ReadT310Image(nullptr), 0);
    EXPECT_EQ(t.GetFamily(), 1);
    for (const std::uint8_t byte : b140.bytes) ASSERT_EQ(byte, 0);
    for (const std::uint8_t byte : b520.bytes) ASSERT_EQ(byte, 0);
}

struct T310Case {
    const char* what;
    ExposureRange in;
    int drp, drm, centre, cppDiff, cpmDiff;
};

TEST(TransferDataImage, T310EncoderHoldsLimitsWithinSevenEvAndKeepsMissingValuesMissing)
{
    const T310Case cases[] = {
        {"ordinary", {0.3, -3.5, -2.5, 2.5, 3.5}, 25, -25, 3, 10, -10},
        {"DRP 8.0", {0, -3.5, -2.5, 8.0, 9.0}, 70, -25, 0, 0, -10},
        {"CPP 9 over DRP 6", {0, -3.5, -2.5, 6.0, 9.0}, 60, -25, 0, 10, -10},
        {"CPP 9 over DRP 7.2", {0, -3.5, -2.5, 7.2, 9.0}, 70, -25, 0, 0, -10},
        {"DRM -7.05", {0, -7.5, -7.05, 2.5, 3.5}, 25, -70, 0, 10, 0},
        {"CPM -9 under DRM -6", {0, -9.0, -6.0, 2.5, 3.5}, 25, -60, 0, 10, -10},
        {"DRP without value", {0, -3.5, -2.5, DBL_MAX, 3.5}, 70, -25, 0, -128, -10},
        {"DRP and CPP without value", {0, -3.5, -2.5, DBL_MAX, DBL_MAX}, 70, -25, 0, 0, -10},
        {"CPP 9 over DRP without value", {0, -3.5, -2.5, DBL_MAX, 9.0}, 70, -25, 0, 0, -10},
        {"DRM without value", {0, -3.5, DBL_MAX, 2.5, 3.5}, 25, -128, 0, 10, -128},
        {"CPP without value", {0, -3.5, -2.5, 6.0, DBL_MAX}, 60, -25, 0, 0, -10},
        {"CPM without value", {0, DBL_MAX, -2.5, 2.5, 3.5}, 25, -25, 0, 10, -128},
        {"centre out of range", {20.0, -3.5, -2.5, 2.5, 3.5}, 25, -25, 127, 10, -10},
    };
    for (const auto& c : cases) {
        CKZARN_TransferData t;
        t.GetProfileRows(2)[34].group[3] = c.in;
        T310TransferBlock block;
        ASSERT_EQ(t.WriteT310Image(&block), 1);
        const std::size_t s = 36 + 1024 * 2;
        const std::size_t p = s + 32 + 140 * 3 + 4 * 34;
        const std::size_t d = s + 600 + 70 * 3 + 2 * 34;
        EXPECT_EQ(static_cast<std::int8_t>(block.bytes[p]), c.drp) << c.what;
        EXPECT_EQ(static_cast<std::int8_t>(block.bytes[p + 1]), c.drm) << c.what;
        EXPECT_EQ(static_cast<std::int8_t>(block.bytes[p + 2]), c.centre) << c.what;
        EXPECT_EQ(block.bytes[p + 3], 0) << c.what;
        EXPECT_EQ(static_cast<std::int8_t>(block.bytes[d]), c.cppDiff) << c.what;
        EXPECT_EQ(static_cast<std::int8_t>(block.bytes[d + 1]), c.cpmDiff) << c.what;
    }
}

TEST(TransferDataImage, T310ImageRoundTripsAndLeavesUnusedBytes)
{
    CKZARN_TransferData t;
    FillPattern(t, 35);
    T310TransferBlock block;
    block.bytes.fill(0x33);
    ASSERT_EQ(t.WriteT310Image(&block), 1);
    EXPECT_EQ(block.bytes[32], 0x33);               // custom settings
    EXPECT_EQ(block.bytes[36 + 592], 0x33);         // between the groups and the differences
    EXPECT_EQ(block.bytes[36 + 1024 + 880], 0x33);  // after the differences
    CKZARN_TransferData back;
    back.SetFamily(2);
    ASSERT_EQ(back.ReadT310Image(&block), 1);
    EXPECT_EQ(back.GetFamily(), 0);
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(back.GetProfileName(s), t.GetProfileName(s));
        for (int k = 0; k < 35; ++k) {
            for (int g = 0; g < 4; ++g) {
                const ExposureRange& a = t.GetProfileRows(s)[k].group[g];
                const ExposureRange& b = back.GetProfileRows(s)[k].group[g];
                ExpectTenthsEqual(a.cpm, b.cpm);
                ExpectTenthsEqual(a.cpp, b.cpp);
                ExpectTenthsEqual(a.centre, b.centre);
            }
        }
    }
}

TEST(UserListConverters, FieldsTakeOnlyTheirBits)
{
    std::uint8_t rec[36] = {};
    EncodeMilli24(23.976, rec);
    EXPECT_EQ(rec[2], 0xA8);
    EXPECT_EQ(rec[3], 0x5D);
    EXPECT_EQ(rec[4], 0x00);
    EXPECT_DOUBLE_EQ(DecodeMilli24(rec), 23.976);

    std::uint8_t r28[36] = {};
    r28[5] = 0xFF;
    EncodeMilli28(268435.455, r28); // 0xFFFFFFF thousandths
    EXPECT_EQ(r28[4], 0xFF);
    EXPECT_EQ(r28[5], 0x0F); // top four bits written as 0
    EXPECT_DOUBLE_EQ(DecodeMilli28(r28), 268435.455);

    std::uint8_t r19[36] = {};
    r19[4] = 0xF8;
    EncodeMilli19A(360.0, r19); // 360000 = 0x57E40
    EXPECT_EQ(r19[4], 0x05);
    EXPECT_DOUBLE_EQ(DecodeMilli19B(r19), 360.0);
    r19[4] |= 0xF8; // other bits of the byte are not part of the field
    EXPECT_DOUBLE_EQ(DecodeMilli19A(r19), 360.0);

    std::uint8_t f[36] = {};
    EncodeTenthsA(-1.27, f); // -13 (nearest)
    EXPECT_EQ(f[34], 0xF3);
    EXPECT_EQ(f[35], 0xFF);
    EXPECT_DOUBLE_EQ(DecodeTenthsB(f), -1.3);

    EXPECT_EQ(DecodeTenthsA(nullptr), -1.0);
    EXPECT_EQ(DecodeMilli24(nullptr), -1.0);
    EncodeMilli28(1.0, nullptr);

    const std::uint8_t bytes[4] = {0xC1, 0x41, 0x00, 0x80};
    std::uint16_t words[2];
    EXPECT_EQ(BytesToWords(words, bytes, 2), 2);
    EXPECT_EQ(words[0], 0x41C1);
    EXPECT_EQ(words[1], 0x8000);
    std::uint8_t again[4];
    WordsToBytes(again, words, 2);
    EXPECT_EQ(std::memcmp(again, bytes, 4), 0);
}

TEST(UserListConverters, ScaledValuesRoundToTheNearestUnit)
{
    // Each of these is a hair below its whole number of thousandths or tenths in binary.
    const struct {
        double value;
        std::uint32_t milli;
    } rates[] = {{23.976, 23976}, {8.190, 8190}, {2.002, 2002}, {1.001, 1001}, {0.001, 1}, {9999.999, 9999999}};
    for (const auto& c : rates) {
        std::uint8_t r24[36] = {};
        EncodeMilli24(c.value, r24);
        EXPECT_EQ(r24[2] | (r24[3] << 8) | (r24[4] << 16), static_cast<int>(c.milli)) << c.value;
        EXPECT_DOUBLE_EQ(DecodeMilli24(r24), c.milli / 1000.0);
        std::uint8_t r28[36] = {};
        EncodeMilli28(c.value, r28);
        EXPECT_DOUBLE_EQ(DecodeMilli28(r28), c.milli / 1000.0) << c.value;
        if (c.milli <= 0x7FFFF) { // fits the shutter angle's 19 bits
            std::uint8_t r19[36] = {};
            EncodeMilli19B(c.value, r19);
            EXPECT_DOUBLE_EQ(DecodeMilli19B(r19), c.milli / 1000.0) << c.value;
        }
    }
    const struct {
        double value;
        int tenths;
    } compensations[] = {{2.3, 23}, {-2.3, -23}, {4.1, 41}, {-0.05, -1}, {0.04, 0}, {-12.0, -120}};
    for (const auto& c : compensations) {
        std::uint8_t f[36] = {};
        EncodeTenthsB(c.value, f);
        EXPECT_EQ(static_cast<std::int16_t>(f[34] | (f[35] << 8)), c.tenths) << c.value;
    }
}

TEST(TransferDataProfile, FillsASlotFromATableAndPresetsWhereNothingIsKnown)
{
    ScratchFolder dir;
    ZarnLib_Profile profile;
    profile.SetVersion(3);
    profile.SetSubVersion(1);
    ZarnLib_PatchKey key;
    key.SetIso(100);
    key.SetLightSource(0);
    const _ZARNLIB_VECTOR2 il[4] = {{-4.0, 20}, {-3.0, 35}, {3.0, 230}, {4.2, 245}};
    const _ZARNLIB_VECTOR2 rl[4] = {{-5.0, 20}, {-2.0, 35}, {2.0, 230}, {5.0, 245}};
    ASSERT_EQ(profile.SetTablePointsOrCreate(key, 0, il, 0.3), 0);
    ASSERT_EQ(profile.SetTablePointsOrCreate(key, 1, rl, -0.7), 0);
    const std::string path = dir.Path() + "/one.kpf";
    const ZarnLibString file(path.c_str());
    ASSERT_EQ(SaveProfile(&file, &profile), 0);

    CKZARN_TransferData t;
    EXPECT_EQ(t.BuildFromProfileFile(path, "one", 10), 0);
    EXPECT_EQ(t.BuildFromProfileFile(dir.Path() + "/missing.kpf", "x", 1), 0);
    EXPECT_EQ(t.GetProfileName(1), "");
    ASSERT_EQ(t.BuildFromProfileFile(path, "one", 4), 1);
    EXPECT_EQ(t.GetProfileName(4), "one");
    const ProfileRow& iso100 = t.GetProfileRows(4)[15];
    const ExposureRange& g0 = iso100.group[0];
    EXPECT_DOUBLE_EQ(g0.centre, 0.3);
    EXPECT_DOUBLE_EQ(g0.cpm, -4.0);
    EXPECT_DOUBLE_EQ(g0.drm, -3.0);
    EXPECT_DOUBLE_EQ(g0.drp, 3.0);
    EXPECT_DOUBLE_EQ(g0.cpp, 4.2);
    EXPECT_DOUBLE_EQ(iso100.group[2].cpm, -5.0);
    EXPECT_DOUBLE_EQ(iso100.group[2].centre, -0.7);
    // Light source 1 has no table in a profile of sub-version 1: the presets.
    const ExposureRange& g1 = iso100.group[1];
    EXPECT_EQ(g1.centre, 0.0);
    EXPECT_EQ(g1.cpm, -3.5);
    EXPECT_EQ(g1.cpp, 3.5);
}

} // namespace
