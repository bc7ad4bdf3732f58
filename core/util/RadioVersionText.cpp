#include "core/util/RadioVersionText.h"

#include <cctype>
#include <cstdio>

namespace {

bool ParseRadio(const std::string& text, std::string* prefix, unsigned* value)
{
    const std::size_t dot = text.find('.');
    if (dot == std::string::npos || dot == 0) return false;
    const std::size_t digits = text.size() - dot - 1;
    if (digits < 1 || digits > 4) return false;
    unsigned v = 0;
    for (std::size_t i = dot + 1; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!std::isxdigit(c)) return false;
        v = v * 16 + static_cast<unsigned>(std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10);
    }
    *prefix = text.substr(0, dot);
    *value = v;
    return true;
}

} // namespace

std::string FormatVersionText(const std::string& text)
{
    if (text.size() != 7) return text;
    unsigned value = 0;
    for (std::size_t i = 3; i < 7; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!std::isxdigit(c)) {
            value = 0;
            break;
        }
        value = value * 16 + static_cast<unsigned>(std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10);
    }
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03u", value);
    return text.substr(0, 3) + digits;
}

bool SameRadioVersion(const std::string& a, const std::string& b)
{
    std::string pa, pb;
    unsigned va = 0, vb = 0;
    if (ParseRadio(a, &pa, &va) && ParseRadio(b, &pb, &vb)) return pa == pb && va == vb;
    return a == b;
}
