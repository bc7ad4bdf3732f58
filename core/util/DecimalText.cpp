#include "core/util/DecimalText.h"

#include <algorithm>
#include <charconv>
#include <system_error>

bool DecimalText::IsValid(std::string_view text, std::size_t maxLength, char decimal)
{
    if (text.size() > maxLength)
        return false;
    std::size_t decimals = 0;
    bool seenDecimal = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            if (seenDecimal)
                ++decimals;
        } else if (c == decimal && !seenDecimal) {
            seenDecimal = true;
        } else {
            return false;
        }
    }
    if (decimals > 3)
        return false;
    if (text.size() >= 2 && text[0] == '0' && text[1] != decimal)
        return false;
    return true;
}

namespace {

// The longest text read as a number: the fields that commit numbers hold a few characters, and a
// longer text is no number (nor can its digits overflow to infinity).
constexpr std::size_t kLongest = 32;

// The value of digits with at most one decimal character and at least one digit; false for any
// other text. The digits go to from_chars with a point: it reads no locale and rounds the decimal
// value once, to the nearest double.
bool DigitsValue(std::string_view text, char decimal, double* value)
{
    if (text.size() > kLongest)
        return false;
    char plain[kLongest];
    bool digits = false, afterDecimal = false;
    std::size_t n = 0;
    for (const char c : text) {
        if (c == decimal && !afterDecimal) {
            afterDecimal = true;
            plain[n++] = '.';
        } else if (c >= '0' && c <= '9') {
            digits = true;
            plain[n++] = c;
        } else {
            return false;
        }
    }
    if (!digits)
        return false;
    double parsed = 0.0;
    const auto [end, ec] = std::from_chars(plain, plain + n, parsed, std::chars_format::fixed);
    if (ec != std::errc() || end != plain + n)
        return false;
    *value = parsed;
    return true;
}

} // namespace

bool DecimalText::Parse(std::string_view text, std::size_t maxLength, char decimal, double* value)
{
    return IsValid(text, maxLength, decimal) && DigitsValue(text, decimal, value);
}

bool DecimalText::ParseSigned(std::string_view text, char decimal, double* value)
{
    if (text.size() > kLongest)
        return false;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    double magnitude = 0.0;
    if (!DigitsValue(text, decimal, &magnitude))
        return false;
    *value = negative ? -magnitude : magnitude;
    return true;
}

bool DecimalText::ParseTyped(std::string_view text, char decimal, double* value)
{
    return ParseSigned(text, decimal, value) || (decimal != '.' && ParseSigned(text, '.', value));
}

bool DecimalText::ParseLeading(std::string_view text, char decimal, double* value, std::size_t* used)
{
    std::size_t n = 0;
    if (n < text.size() && (text[n] == '+' || text[n] == '-'))
        ++n;
    const auto digitsFrom = [&text](std::size_t i) {
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i;
    };
    const std::size_t whole = digitsFrom(n);
    std::size_t end = whole;
    if (end < text.size() && text[end] == decimal)
        end = digitsFrom(end + 1);
    // Digits before or after the decimal character.
    if (end - n == (end > whole ? 1u : 0u))
        return false;
    double parsed = 0.0;
    if (!ParseSigned(text.substr(0, end), decimal, &parsed))
        return false;
    *value = parsed;
    if (used != nullptr)
        *used = end;
    return true;
}

std::string DecimalText::WithDecimal(std::string text, char decimal)
{
    if (decimal != 0 && decimal != '.')
        for (char& c : text)
            if (c == '.')
                c = decimal;
    return text;
}

namespace {

// Room for any double written in full ("%.17f" of DBL_MAX has 309 digits before the point).
constexpr std::size_t kRoom = 400;

std::string Written(const char* text, const char* end, char decimal)
{
    return DecimalText::WithDecimal(std::string(text, end), decimal);
}

} // namespace

std::string DecimalText::Fixed(double value, int precision, char decimal, bool plusSign)
{
    char text[kRoom + 1];
    char* first = text + 1; // room for the "+"
    const auto written = std::to_chars(first, text + sizeof text, value, std::chars_format::fixed,
                                       std::clamp(precision, 0, 17));
    if (written.ec != std::errc())
        return {};
    if (plusSign && *first != '-') {
        text[0] = '+';
        first = text;
    }
    return Written(first, written.ptr, decimal);
}

std::string DecimalText::General(double value, char decimal)
{
    char text[64];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6);
    if (written.ec != std::errc())
        return {};
    return Written(text, written.ptr, decimal);
}
