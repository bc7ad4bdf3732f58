#include "profilelib/ZarnLib_Scales.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <numbers>
#include <string>

TEST(ZarnLibScales, ApexValuesAndExactValues)
{
    EXPECT_EQ(ApertureIndexToAv(0), -2.0);
    EXPECT_EQ(ApertureIndexToAv(6), 0.0);
    EXPECT_EQ(ApertureIndexToAv(7), 2.0 / 3.0);
    EXPECT_EQ(ApertureIndexToAv(8), 1.0);
    EXPECT_EQ(ApertureIndexToAv(49), 44.0 / 3.0);
    EXPECT_EQ(ApertureIndexToAv(50), -9999.9999);
    EXPECT_EQ(ApertureIndexToAv(-1), -9999.9999);
    EXPECT_EQ(ShutterIndexToTv(0), -11.0);
    EXPECT_EQ(ShutterIndexToTv(33), 0.0);
    EXPECT_EQ(ShutterIndexToTv(81), 16.0);
    EXPECT_EQ(ShutterIndexToTv(82), -9999.9999);
    EXPECT_EQ(ApertureIndexToFNumber(2), 0.63);
    EXPECT_EQ(ApertureIndexToFNumber(49), 161.2698);
    EXPECT_EQ(ApertureIndexToFNumber(50), -1);
    EXPECT_EQ(ShutterIndexToSeconds(-1), -1);
    EXPECT_EQ(ShutterIndexToSeconds(82), -1);
}

TEST(ZarnLibScales, SecondsRoundedToFiveSignificantDigits)
{
    const struct {
        int index;
        double seconds;
    } cases[] = {{0, 2048}, {1, 1625.5}, {2, 1290.2}, {3, 1024}, {4, 812.75}, {34, 0.7937},
                 {35, 0.62996}, {57, 0.0039063}, {80, 0.000019225}, {81, 0.000015259}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(ShutterIndexToSeconds(c.index), c.seconds) << c.index;
    }
}

TEST(ZarnLibScales, RoundToDecimals)
{
    const struct {
        double x;
        int decimals;
        bool ok;
        int out;
    } cases[] = {{1.25, 1, true, 13},     {-1.25, 1, true, -13}, {-0.5, 0, true, -1}, {2.7, -1, true, 2},
                 {1.0, 10, false, 99},    {3e9, 0, false, 99},  {-3e9, 0, false, 99}, {0.123456789, 9, true, 123456789},
                 {std::nan(""), 2, false, 99}};
    for (const auto& c : cases) {
        int out = 99;
        EXPECT_EQ(RoundToDecimals(c.x, c.decimals, &out), c.ok) << c.x << " " << c.decimals;
        EXPECT_EQ(out, c.out) << c.x << " " << c.decimals;
    }
}

TEST(ZarnLibScales, FNumberToApertureIndexAtBoundaries)
{
    const struct {
        double f;
        int index;
    } cases[] = {{1.2, 7},     {1.1, 7},     {0.4, -1},     {170.84, -1}, {170.8, 49}, {0.47205, 0},
                 {0.5, 0},     {1.0592, 7},  {1.05919, 6}, {5.6, 20},    {16, 29},    {152.22, 49},
                 {152.219, 48}};
    for (const auto& c : cases) {
        EXPECT_EQ(FNumberToApertureIndex(c.f), c.index) << c.f;
    }
    for (int i = 0; i <= 49; ++i) {
        EXPECT_EQ(FNumberToApertureIndex(ApertureIndexToFNumber(i)), i) << i;
    }
}

TEST(ZarnLibScales, SecondsToShutterIndexAtBoundaries)
{
    const struct {
        double seconds;
        int index;
    } cases[] = {{0.008, 54}, {1.0 / 60, 51}, {2100, -1}, {0, 81}, {1.0 / 100000, 81}, {2049, 0},
                 {1650, 0},   {1649.9, 1},   {1, 33},    {0.9, 33}, {0.0000140625, 81}, {-1, 81}};
    for (const auto& c : cases) {
        EXPECT_EQ(SecondsToShutterIndex(c.seconds), c.index) << c.seconds;
    }
    for (int i = 0; i <= 81; ++i) {
        EXPECT_EQ(SecondsToShutterIndex(ShutterIndexToSeconds(i)), i) << i;
    }
    EXPECT_EQ(CineShutterIndex(24, 180), 50);
    EXPECT_EQ(CineShutterIndex(0, 180), -1);
}

TEST(ZarnLibScales, ApexRangeTables)
{
    const ZarnLib_ScaleRange* tv = ApexTvRangeTable();
    EXPECT_EQ(tv[0].lo, -11.166);
    EXPECT_EQ(tv[0].hi, -10.833);
    EXPECT_EQ(tv[33].lo, -0.166);
    EXPECT_EQ(tv[33].hi, 0.166);
    EXPECT_EQ(tv[34].hi, 0.5);
    EXPECT_EQ(tv[81].lo, 15.833);
    EXPECT_EQ(tv[81].hi, 16.166);
    EXPECT_EQ(tv[82].index, -1);
    const ZarnLib_ScaleRange* av = ApexAvRangeTable();
    EXPECT_EQ(av[0].lo, -2.166);
    EXPECT_EQ(av[6].hi, 0.166);
    EXPECT_EQ(av[7].lo, 0.166);
    EXPECT_EQ(av[7].hi, 0.833);
    EXPECT_EQ(av[8].lo, 0.833);
    EXPECT_EQ(av[49].hi, 14.833);
    EXPECT_EQ(av[50].index, -1);
    EXPECT_EQ(LookupScaleRange(av, 0.5), 7);
    EXPECT_EQ(LookupScaleRange(tv, 7.0), 54);
    EXPECT_EQ(LookupScaleRange(tv, 20.0), -1);
}

TEST(ZarnLibScales, NominalIso)
{
    for (int iso : {3, 100, 13107200}) {
        EXPECT_EQ(IsoNominalValue(iso), iso);
    }
    for (int iso : {0, 7, 105, 13107201, -1}) {
        EXPECT_EQ(IsoNominalValue(iso), -1);
    }
}

TEST(ZarnLibScales, LineAngle)
{
    double a = 1;
    EXPECT_EQ(LineAngle(3, 3, 3, 3, &a), 0);
    EXPECT_EQ(a, 0.0);
    LineAngle(0, 0, 10, 10, &a); // atan2(-10, -10) = -3pi/4, folded to pi/4, negated
    EXPECT_DOUBLE_EQ(a, -std::numbers::pi / 4);
    LineAngle(0, 10, 10, 0, &a);
    EXPECT_DOUBLE_EQ(a, std::numbers::pi / 4);
}

namespace {

std::string Text(int (*fn)(int, ZarnLibString*), int code)
{
    ZarnLibString out("untouched");
    const int r = fn(code, &out);
    return r == 0 ? out.GetText() : "error:" + out.GetText();
}

struct TextCase {
    int (*fn)(int, ZarnLibString*);
    int code;
    const char* point;
    const char* comma;
};

const TextCase kTextCases[] = {
    {ApertureIndexToText, 0, "0.5", "0,5"},
    {ApertureIndexToText, 7, "1.3", "1,3"},
    {ApertureIndexToText, 20, "5.6", "5,6"},
    {ApertureIndexToText, 24, "9.0", "9,0"},
    {ApertureIndexToText, 30, "18", "18"},
    {ApertureIndexToText, 49, "161", "161"},
    {ApertureIndexToText, 50, "error:untouched", "error:untouched"},
    {ShutterIndexToText, 0, "30m", "30m"},
    {ShutterIndexToText, 10, "3.2m", "3,2m"},
    {ShutterIndexToText, 33, "1s", "1s"},
    {ShutterIndexToText, 35, "0.6s", "0,6s"},
    {ShutterIndexToText, 36, "2", "2"},
    {ShutterIndexToText, 38, "0.3s", "0,3s"},
    {ShutterIndexToText, 54, "125", "125"},
    {ShutterIndexToText, 81, "64000", "64000"},
    {ShutterIndexToText, 82, "error:untouched", "error:untouched"},
    {ShutterIndexToText, -1, "error:untouched", "error:untouched"},
    {IsoValueToText, 3, "3", "3"},
    {IsoValueToText, 13107200, "13107200", "13107200"},
    {IsoValueToText, 7, "error:untouched", "error:untouched"},
    {FrameRateCodeToText, 23, "23.976", "23,976"},
    {FrameRateCodeToText, 59, "59.94", "59,94"},
    {FrameRateCodeToText, 24, "24", "24"},
    {FrameRateCodeToText, 1000, "1000", "1000"},
    {FrameRateCodeToText, 5, "error:untouched", "error:untouched"},
    {ShutterAngleCodeToText, 1125, "11.25", "11,25"},
    {ShutterAngleCodeToText, 1728, "172.8", "172,8"},
    {ShutterAngleCodeToText, 180, "180", "180"},
    {ShutterAngleCodeToText, 13, "error:untouched", "error:untouched"},
};

} // namespace

TEST(ZarnLibScales, TextsWithDecimalPoint)
{
    ASSERT_FALSE(UsesDecimalComma());
    for (const TextCase& c : kTextCases) {
        EXPECT_EQ(Text(c.fn, c.code), c.point) << c.code;
    }
    EXPECT_EQ(ApertureIndexToText(20, nullptr), -1);
}

// Display texts follow the process locale: a locale that writes a decimal comma gives comma forms.
class ZarnLibScalesCommaLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* current = std::setlocale(LC_ALL, nullptr);
        saved = current != nullptr ? current : "C";
        if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
            GTEST_SKIP() << "de_DE.UTF-8 locale not installed";
        }
    }
    void TearDown() override { std::setlocale(LC_ALL, saved.c_str()); }

    std::string saved;
};

TEST_F(ZarnLibScalesCommaLocale, TextsWithDecimalComma)
{
    ASSERT_TRUE(UsesDecimalComma());
    for (const TextCase& c : kTextCases) {
        EXPECT_EQ(Text(c.fn, c.code), c.comma) << c.code;
    }
    // Conversions from numbers do not depend on the locale.
    EXPECT_EQ(FNumberToApertureIndex(5.6), 20);
    EXPECT_EQ(SecondsToShutterIndex(0.008), 54);
}
