#include "core/NumberDateUtility.h"

#include <gtest/gtest.h>

TEST(NumberDateUtility, SplitTokensKeepsEmptyPieces)
{
    std::vector<std::string> out{"kept"};
    EXPECT_EQ(SplitTokens(" a ;; b ", ";", out), 4);
    EXPECT_EQ(out, (std::vector<std::string>{"kept", "a", "", "b"}));
    out.clear();
    EXPECT_EQ(SplitTokens("a;", ";", out), 2);
    EXPECT_EQ(out, (std::vector<std::string>{"a", ""}));
    out.clear();
    EXPECT_EQ(SplitTokens("a::b", "::", out), 2);
}

TEST(NumberDateUtility, FormatUInt64Cases)
{
    EXPECT_EQ(FormatUInt64(255, 4, TRUE), "00FF");
    EXPECT_EQ(FormatUInt64(255, 4, FALSE), "0255");
    EXPECT_EQ(FormatUInt64(1ull << 32, 0, TRUE), "100000000");
    EXPECT_EQ(FormatUInt64(1ull << 32, 0, FALSE), "4294967296");
    EXPECT_EQ(FormatUInt64(1ull << 32, 12, TRUE), "000100000000");
    EXPECT_EQ(FormatUInt64(18446744073709551615ull, 30, FALSE), "18446744073709551615");
}

TEST(NumberDateUtility, DigitTextToUInt64Cases)
{
    EXPECT_EQ(DigitTextToUInt64("0042"), 42u);
    EXPECT_EQ(DigitTextToUInt64("12a"), 0u);
    EXPECT_EQ(DigitTextToUInt64("-1"), 0u);
    EXPECT_EQ(DigitTextToUInt64(""), 0u);
    EXPECT_EQ(DigitTextToUInt64("18446744073709551615"), 18446744073709551615ull);
    // The leading 2 would overflow: the sum of the lower digits is kept.
    EXPECT_EQ(DigitTextToUInt64("28446744073709551615"), 8446744073709551615ull);
    EXPECT_EQ(DigitTextToUInt64(std::string(40, '0') + "7"), 7u);
}

TEST(NumberDateUtility, ParseDateTimeValidatesTheFields)
{
    COleDateTime date;
    ParseDateTime(date, "2020:02:30 10:00:00", 1);
    EXPECT_EQ(date.m_status, COleDateTime::invalid);
    ParseDateTime(date, "2020:02:29 10:00:00", 1);
    EXPECT_EQ(date.m_status, COleDateTime::valid);
    EXPECT_DOUBLE_EQ(date.m_dt, 43890.0 + 10.0 / 24.0);
    ParseDateTime(date, "1899:12:30:00:00:00", 0);
    EXPECT_EQ(date.m_status, COleDateTime::valid);
    EXPECT_EQ(date.m_dt, 0.0);
    ParseDateTime(date, "2020:13:01 00:00:00", 1);
    EXPECT_EQ(date.m_status, COleDateTime::invalid);
    ParseDateTime(date, "garbage", 1);
    EXPECT_EQ(date.m_status, COleDateTime::invalid);
}

TEST(NumberDateUtility, FitPictureInRect)
{
    RECT out;
    int flag = -1;
    FitPictureInRect(out, RECT{0, 0, 100, 100}, RECT{0, 0, 200, 100}, &flag);
    EXPECT_EQ(out, (RECT{0, 25, 100, 75}));
    EXPECT_EQ(flag, 0);
    FitPictureInRect(out, RECT{10, 10, 110, 60}, RECT{0, 0, 50, 100}, &flag);
    EXPECT_EQ(out, (RECT{47, 10, 72, 60}));
    EXPECT_EQ(flag, 1);
    // A picture without area gives an empty rectangle at the centre instead of dividing by zero.
    FitPictureInRect(out, RECT{0, 0, 100, 50}, RECT{0, 0, 0, 0}, nullptr);
    EXPECT_EQ(out, (RECT{50, 25, 50, 25}));
}

TEST(NumberDateUtility, ScaleRect)
{
    RECT out;
    ScaleRect(out, RECT{1, 3, 5, 7}, 0.5);
    EXPECT_EQ(out, (RECT{0, 1, 2, 3}));
    ScaleRect(out, RECT{1, 3, 0, 0}, -1.0);
    EXPECT_EQ(out.left, 0);
    EXPECT_EQ(out.top, -2);
}
