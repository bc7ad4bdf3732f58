// Typed and file numbers read exactly with a given decimal character, and numbers written with one,
// whatever the process locale.
#include "core/util/DecimalText.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <string>

namespace {

// The process under a locale whose decimal point is the comma, where the C library would read
// "1.5" as 1 and write 1.5 as "1,5". Skips the test where the machine lacks the locale.
class CommaNumericLocale {
public:
    CommaNumericLocale() : previous_(std::setlocale(LC_NUMERIC, nullptr))
    {
        available_ = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    }
    ~CommaNumericLocale() { std::setlocale(LC_NUMERIC, previous_.c_str()); }
    bool Available() const { return available_; }

private:
    std::string previous_;
    bool available_ = false;
};

#define REQUIRE_COMMA(locale)                                                                                    \
    if (!(locale).Available())                                                                                   \
    GTEST_SKIP() << "locale de_DE.UTF-8 is missing (scripts/setup.sh generates it)"

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
        {"+-1", ',', false, 0},      {" 1", ',', false, 0},      {",", ',', false, 0},      {"1e3", '.', false, 0},
        {"-,", ',', false, 0},       {"inf", '.', false, 0},     {"nan", '.', false, 0},    {"0x10", '.', false, 0},
        {"123456789012345678901234567890123", '.', false, 0},
    };
    CommaNumericLocale locale;
    REQUIRE_COMMA(locale);
    for (const Case& c : cases) {
        double value = -99;
        EXPECT_EQ(c.number, DecimalText::ParseSigned(c.text, c.decimal, &value)) << c.text;
        EXPECT_DOUBLE_EQ(c.number ? c.value : -99, value) << c.text;
    }
}

TEST(DecimalText, ATypedNumberTakesTheDecimalCharacterOrAPoint)
{
    struct Case {
        const char* text;
        char decimal;
        bool number;
        double value;
    } cases[] = {
        {"1,5", ',', true, 1.5},  {"1.5", ',', true, 1.5},   {"-0,3", ',', true, -0.3}, {"+2,5", ',', true, 2.5},
        {"-0.3", '.', true, -0.3}, {"7.", '.', true, 7},     {"12", '.', true, 12},     {"1,5", '.', false, 0},
        {"1.2,5", ',', false, 0}, {"1,2,5", ',', false, 0},  {"1.2.3", '.', false, 0},  {"", ',', false, 0},
        {"+", ',', false, 0},     {"-", '.', false, 0},      {".", ',', false, 0},      {"-.", '.', false, 0},
        {"1e3", '.', false, 0},   {" 1", '.', false, 0},     {"--1", ',', false, 0},
    };
    CommaNumericLocale locale;
    REQUIRE_COMMA(locale);
    for (const Case& c : cases) {
        double value = -99;
        EXPECT_EQ(c.number, DecimalText::ParseTyped(c.text, c.decimal, &value)) << c.text << " " << c.decimal;
        EXPECT_DOUBLE_EQ(c.number ? c.value : -99, value) << c.text;
    }
}

TEST(DecimalText, ATextGivesTheNearestDouble)
{
    // Adding up digits as doubles gives 2.6750000000000003 for "2.675"; the nearest double is the
    // one the compiler makes of the same literal.
    const struct {
        const char* text;
        double nearest;
    } cases[] = {{"2.675", 2.675},           {"0.1", 0.1}, {"1.005", 1.005}, {"123456.789", 123456.789},
                 {"0.3", 0.3},               {"-4.35", -4.35}, {"9007199254740993", 9007199254740993.0},
                 {"0.000000000000000000001", 1e-21}};
    for (const auto& c : cases) {
        double value = 0;
        ASSERT_TRUE(DecimalText::ParseSigned(c.text, '.', &value)) << c.text;
        EXPECT_EQ(value, c.nearest) << c.text;
    }
    double value = 0;
    ASSERT_TRUE(DecimalText::ParseSigned("2,675", ',', &value));
    EXPECT_EQ(value, 2.675);
    ASSERT_TRUE(DecimalText::Parse("2,675", 8, ',', &value));
    EXPECT_EQ(value, 2.675);
}

TEST(DecimalText, TheNumberAtTheStartOfAFileTextIsReadWithItsLength)
{
    struct Case {
        const char* text;
        char decimal;
        bool number;
        double value;
        std::size_t used;
    } cases[] = {
        {"1.05.03", '.', true, 1.05, 4}, {"0.4,0.45", '.', true, 0.4, 3}, {"0,4,0,4", ',', true, 0.4, 3},
        {"-.5x", '.', true, -0.5, 3},    {"7.", '.', true, 7, 2},         {"+3 ", '.', true, 3, 2},
        {"1e3", '.', true, 1, 1},        {".", '.', false, 0, 0},         {"-x", '.', false, 0, 0},
        {"", '.', false, 0, 0},          {" 1", '.', false, 0, 0},        {"nan", '.', false, 0, 0},
        {"123456789012345678901234567890123.5", '.', false, 0, 0},
    };
    CommaNumericLocale locale;
    REQUIRE_COMMA(locale);
    for (const Case& c : cases) {
        double value = -99;
        std::size_t used = 99;
        EXPECT_EQ(c.number, DecimalText::ParseLeading(c.text, c.decimal, &value, &used)) << c.text;
        EXPECT_EQ(c.number ? c.value : -99, value) << c.text;
        EXPECT_EQ(c.number ? c.used : 99u, used) << c.text;
    }
}

TEST(DecimalText, NumbersAreShownWithTheGivenDecimalCharacter)
{
    EXPECT_EQ("-2,4", DecimalText::WithDecimal("-2.4", ','));
    EXPECT_EQ("23.976", DecimalText::WithDecimal("23.976", '.'));
    EXPECT_EQ("23.976", DecimalText::WithDecimal("23.976", 0));
}

TEST(DecimalText, NumbersAreWrittenAsTheCLocaleWritesThemWhateverTheProcessLocale)
{
    struct Case {
        double value;
        int precision;
        bool plus;
        char decimal;
        const char* text;
    } fixed[] = {
        {1.5, 1, true, ',', "+1,5"},     {-0.3, 1, true, ',', "-0,3"},   {0.0, 1, true, '.', "+0.0"},
        {0.0, 1, false, ',', "0,0"},     {2.675, 2, false, '.', "2.67"}, {0.125, 2, false, '.', "0.12"},
        {24.0, 3, false, ',', "24,000"}, {-12.75, 0, false, '.', "-13"}, {1e20, 1, false, '.', "100000000000000000000.0"},
        {-0.04, 1, true, '.', "-0.0"},
    };
    struct GeneralCase {
        double value;
        const char* text;
    } general[] = {{0.0, "0"}, {2.675, "2.675"}, {1.0 / 3.0, "0.333333"}, {1234567.0, "1.23457e+06"},
                   {1e-5, "1e-05"}, {-117.5, "-117.5"}, {255.0, "255"}};
    CommaNumericLocale locale;
    REQUIRE_COMMA(locale);
    for (const Case& c : fixed)
        EXPECT_EQ(c.text, DecimalText::Fixed(c.value, c.precision, c.decimal, c.plus)) << c.value;
    for (const GeneralCase& c : general) {
        EXPECT_EQ(c.text, DecimalText::General(c.value, '.')) << c.value;
        EXPECT_EQ(DecimalText::WithDecimal(c.text, ','), DecimalText::General(c.value, ',')) << c.value;
    }
    // The largest double in full fits.
    EXPECT_EQ(DecimalText::Fixed(DBL_MAX, 17, '.').size(), 309u + 1u + 17u);
}

} // namespace
