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

bool DecimalText::Parse(std::string_view text, std::size_t maxLength, char decimal, double* value)
{
    if (!IsValid(text, maxLength, decimal))
        return false;
    double whole = 0.0, fraction = 0.0, scale = 1.0;
    bool digits = false, afterDecimal = false;
    for (const char c : text) {
        if (c == decimal) {
            afterDecimal = true;
            continue;
        }
        digits = true;
        if (afterDecimal) {
            scale /= 10.0;
            fraction += (c - '0') * scale;
        } else {
            whole = whole * 10.0 + (c - '0');
        }
    }
    if (!digits)
        return false;
    *value = whole + fraction;
    return true;
}
