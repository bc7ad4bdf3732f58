#include "core/util/DecimalText.h"

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

// The value of digits with at most one decimal character and at least one digit; false for any
// other text.
bool DigitsValue(std::string_view text, char decimal, double* value)
{
    double whole = 0.0, fraction = 0.0, scale = 1.0;
    bool digits = false, afterDecimal = false;
    for (const char c : text) {
        if (c == decimal && !afterDecimal) {
            afterDecimal = true;
        } else if (c >= '0' && c <= '9') {
            digits = true;
            if (afterDecimal) {
                scale /= 10.0;
                fraction += (c - '0') * scale;
            } else {
                whole = whole * 10.0 + (c - '0');
            }
        } else {
            return false;
        }
    }
    if (!digits)
        return false;
    *value = whole + fraction;
    return true;
}

} // namespace

bool DecimalText::Parse(std::string_view text, std::size_t maxLength, char decimal, double* value)
{
    return IsValid(text, maxLength, decimal) && DigitsValue(text, decimal, value);
}

bool DecimalText::ParseSigned(std::string_view text, char decimal, double* value)
{
    // The fields that commit signed numbers hold a few characters; a longer text is no number
    // (and its digits could not overflow to infinity).
    constexpr std::size_t kLongest = 32;
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

std::string DecimalText::WithDecimal(std::string text, char decimal)
{
    if (decimal != 0 && decimal != '.')
        for (char& c : text)
            if (c == '.')
                c = decimal;
    return text;
}
