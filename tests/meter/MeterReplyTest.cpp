#include "meter/MeterReply.h"

#include <gtest/gtest.h>

namespace {

TEST(MeterReply, FieldsAreReadFromTheRightUpToTheFirstNonDigit)
{
    struct Case {
        const char* reply;
        int width;
        unsigned value;
    };
    const Case cases[] = {
        {"W0000F", 1, 15}, {"W000A5", 2, 0xA5}, {"W00123", 3, 0x123}, {"W0BEEF", 4, 0xBEEF},
        {"W000a5", 2, 0xA5}, {"W0003X", 2, 3}, // stops at the first non-digit
        {"W000X3", 2, 0},  {"G0000?", 1, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(MeterReply::ReadField(c.reply, c.width), c.value) << c.reply;
}

TEST(MeterReply, EchoNeedsEveryCharacterToBeADigit)
{
    struct Case {
        const char* reply;
        int width;
        unsigned sent;
        bool match;
    };
    const Case cases[] = {
        {"W00000", 1, 0, true}, {"W0000?", 1, 0, false}, {"W000 0", 2, 0, false}, {"W000X0", 2, 0, false},
        {"W00012", 2, 0x12, true}, {"W00013", 2, 0x12, false}, {"W0ABCD", 4, 0xABCD, true}, {"W0ABC", 4, 0xABC, false},
    };
    for (const Case& c : cases) EXPECT_EQ(MeterReply::EchoMatches(c.reply, c.width, c.sent), c.match) << c.reply;
}

TEST(MeterReply, TwelveBitRule)
{
    EXPECT_EQ(MeterReply::Read12Bit("W009FF"), 0x9FFu);
    EXPECT_EQ(MeterReply::Read12Bit("W00123"), 0x123u);
    EXPECT_TRUE(MeterReply::Echo12BitMatches("W009FF", 0x9FF));
    // 0xA00 and above cannot be echoed: character 3 counts from "0".
    EXPECT_FALSE(MeterReply::Echo12BitMatches("W00A00", 0xA00));
    EXPECT_FALSE(MeterReply::Echo12BitMatches("W00:00", 0xA00));
    EXPECT_FALSE(MeterReply::Echo12BitMatches("W009F?", 0x9F0));
}

TEST(MeterReply, UpperCaseTouchesOnlyLetters)
{
    char reply[8] = "w0a1?z";
    MeterReply::UpperCase(reply);
    EXPECT_STREQ(reply, "W0A1?Z");
    EXPECT_TRUE(MeterReply::HasLetter(reply, 'W'));
    EXPECT_FALSE(MeterReply::HasLetter(reply, 'G'));
}

} // namespace
