#include "meter/MeterVersionText.h"

#include "core/util/DecimalText.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

namespace {

// The number at the start of a version text, its fraction after a point, read without the C
// library's locale; blanks before it are skipped. A text that starts with no number is 0.
double VersionNumber(const std::string& text)
{
    const std::size_t start = std::min(text.find_first_not_of(" \t\n\v\f\r"), text.size());
    double value = 0.0;
    return DecimalText::ParseLeading(std::string_view(text).substr(start), '.', &value, nullptr) ? value : 0.0;
}

// One dot-separated part as a whole number, kept as its digits without leading zeros so that any
// length compares correctly; a part that does not start with a digit is 0.
std::string PartDigits(const std::string& part)
{
    std::size_t end = 0;
    while (end < part.size() && part[end] >= '0' && part[end] <= '9') ++end;
    std::size_t start = 0;
    while (start < end && part[start] == '0') ++start;
    return part.substr(start, end - start);
}

std::vector<std::string> SplitDots(const std::string& text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = text.find('.', start);
        parts.push_back(text.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    return parts;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

int MeterVersionText::CompareVersions(const std::string& a, const std::string& b)
{
    const std::vector<std::string> left = SplitDots(a);
    const std::vector<std::string> right = SplitDots(b);
    const std::size_t count = std::max(left.size(), right.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::string x = i < left.size() ? PartDigits(left[i]) : std::string();
        const std::string y = i < right.size() ? PartDigits(right[i]) : std::string();
        if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
        if (const int order = x.compare(y); order != 0) return order < 0 ? -1 : 1;
    }
    return 0;
}

bool MeterVersionText::VersionsDiffer(const std::string& a, const std::string& b)
{
    return VersionNumber(a) != VersionNumber(b);
}

std::string MeterVersionText::ConvertHexVersionText(const std::string& text)
{
    if (text.empty()) return {};
    const std::string head = text.substr(0, 2);
    const std::string tail = text.size() > 3 ? text.substr(3, 4) : std::string();
    if (tail.size() < 2) return {};
    unsigned major = 0;
    unsigned minor = 0;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const int digit = HexDigit(tail[i]);
        if (digit < 0) return {};
        if (i < 2) {
            major = major * 16 + static_cast<unsigned>(digit);
        } else {
            minor = minor * 16 + static_cast<unsigned>(digit);
        }
    }
    std::string newTail = tail;
    if (major != 0 || minor != 0) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%u%02u", major, minor);
        newTail = buffer;
    }
    return head + "." + newTail;
}
