#include "platform/WinTypes.h"

#include <gtest/gtest.h>

TEST(WinTypes, ColorRefKeepsRedInTheLowByte)
{
    constexpr COLORREF c = RGB(0x12, 0x34, 0x56);
    static_assert(c == 0x00563412u);
    EXPECT_EQ(GetRValue(c), 0x12);
    EXPECT_EQ(GetGValue(c), 0x34);
    EXPECT_EQ(GetBValue(c), 0x56);
}
