// Committed numbers read whole with a given decimal character, whatever the process locale.
#include "core/util/DecimalText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

TEST(DecimalText, SignedNumbersAreReadWholeWithTheGivenDecimalCharacter)
{
    struct Case {
        const char* text;
        char decimal;
        bool number;
        double value;
    } cases[] = {
        {"1,5", ',', true, 1.5},     {"-2,4", ',', true, -2.4},  {"+0,3", ',', true, 0.3},  {"12", ',', true, 12},
        {",5", ',', true, 0.5},      {"7,", ',', true, 7},       {"1.5", '.', true, 1.5},   {"1.5", ',', false, 0},
        {"1,5x", ',', false, 0},     {"1,5,", ',', false, 0},    {"-", ',', false, 0},      {"", ',', false, 0},
        {"+-1", ',', false, 0},      {" 1", ',', false, 0},      {",", ',', false, 0},
        {"123456789012345678901234567890123", '.', false, 0},
    };
    // Under a locale whose decimal point is the comma, the C library would read "1.5" as 1.
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    for (const Case& c : cases) {
        double value = -99;
        EXPECT_EQ(c.number, DecimalText::ParseSigned(c.text, c.decimal, &value)) << c.text;
        EXPECT_DOUBLE_EQ(c.number ? c.value : -99, value) << c.text;
    }
    std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST(DecimalText, NumbersAreShownWithTheGivenDecimalCharacter)
{
    EXPECT_EQ("-2,4", DecimalText::WithDecimal("-2.4", ','));
    EXPECT_EQ("23.976", DecimalText::WithDecimal("23.976", '.'));
    EXPECT_EQ("23.976", DecimalText::WithDecimal("23.976", 0));
}

} // namespace
