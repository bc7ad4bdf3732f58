#include "core/util/TextUtility.h"

#include <gtest/gtest.h>

TEST(TextUtility, ParseNumberTextCases)
{
    const struct {
        const char* text;
        int expected;
    } cases[] = {{"1F", 31}, {"0x1F", 31}, {"0x", 0}, {"", 0}, {"10", 16}, {"1g", 0},
                 {"0X1F", 0}, {"FFFFFFFF", -1}, {"0xffffffff", -1}, {"aB", 171}, {"0x7FFFFFFF", 0x7FFFFFFF}};
    for (const auto& c : cases) {
        EXPECT_EQ(ParseNumberText(c.text), c.expected) << c.text;
    }
}

TEST(TextUtility, StringToIntReadsLikeTheCLibrary)
{
    EXPECT_EQ(StringToInt(" 42abc"), 42);
    EXPECT_EQ(StringToInt("abc"), 0);
    EXPECT_EQ(StringToInt("-17"), -17);
    EXPECT_EQ(StringToInt("99999999999"), 2147483647); // saturates instead of overflowing
    EXPECT_EQ(StringToInt("-99999999999"), -2147483647 - 1);
}

TEST(TextUtility, FormatNumberAndFormatStringStayBounded)
{
    EXPECT_EQ(FormatNumber(-5, ""), "-5");
    EXPECT_EQ(FormatNumber(7, "%03d"), "007");
    EXPECT_EQ(FormatNumber(1, "%0300d").size(), 255u);
    EXPECT_EQ(FormatString("%s-%d", "a", 3), "a-3");
    EXPECT_EQ(FormatString("%9000d", 1).size(), 8191u);
    EXPECT_EQ(FormatString(nullptr), "");
}

TEST(TextUtility, Trimming)
{
    std::string s = "a\r\n\r\n";
    TrimTrailingNewlines(s);
    EXPECT_EQ(s, "a");
    s = "a \r";
    TrimTrailingNewlines(s);
    EXPECT_EQ(s, "a ");
    s = " \t \t";
    TrimSpaces(s);
    EXPECT_EQ(s, "");
    s = "\t x y \n";
    TrimSpaces(s);
    EXPECT_EQ(s, "x y");
    s = "\xA0x\xA0"; // bytes 0x80 and above are never white space
    TrimSpaces(s);
    EXPECT_EQ(s, "\xA0x\xA0");
}

TEST(TextUtility, ReplaceAllNeverSearchesItsReplacement)
{
    EXPECT_EQ(ReplaceAll("aaaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceAll("aa", "a", "aa"), "aaaa");
    EXPECT_EQ(ReplaceAll("x%1y%1", "%1", "Z"), "xZyZ");
    EXPECT_EQ(ReplaceAll("abc", "", "Z"), "abc");
}

TEST(TextUtility, SplitByCharsCases)
{
    const struct {
        const char* text;
        const char* delimiters;
        std::vector<std::string> expected;
    } cases[] = {
        {"a,b", ",", {"a", "b"}},
        {"a,,b", ",", {"a", "", "b"}},
        {"a,b,", ",", {"a", "b", ""}},
        {"a;b", ",;", {"a", "b", ""}}, // one empty element per further appended delimiter
        {"abc", "", {"abc"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> out{"kept"};
        EXPECT_TRUE(SplitByChars(c.text, c.delimiters, out));
        std::vector<std::string> expected{"kept"};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(out, expected) << c.text;
    }
    std::vector<std::string> out;
    EXPECT_FALSE(SplitByChars("", ",", out));
    EXPECT_TRUE(out.empty());
}
