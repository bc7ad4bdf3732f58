#include "core/util/TextUtility.h"

#include <cctype>
#include <climits>
#include <cstdarg>
#include <cstdio>

namespace {

// White space as the C library's locale test says; bytes 0x80 and above never count.
bool IsSpace(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b < 0x80 && std::isspace(b) != 0;
}

} // namespace

int StringToInt(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return static_cast<int>(value);
}

int ParseNumberText(const std::string& text)
{
    std::size_t start = 0;
    if (text.size() >= 2 && text[0] == '0' && text[1] == 'x') {
        start = 2;
    }
    std::uint32_t result = 0;
    std::size_t shift = 0;
    for (std::size_t i = text.size(); i > start; --i, shift += 4) {
        const char c = text[i - 1];
        std::uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        } else {
            return 0;
        }
        if (shift < 32) {
            result |= digit << shift; // digits beyond the eighth fall off the 32-bit value
        }
    }
    return static_cast<int>(result);
}

std::string FormatNumber(int value, const std::string& format)
{
    char buffer[256] = {};
    const char* fmt = format.empty() ? "%d" : format.c_str();
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    const int n = std::snprintf(buffer, sizeof buffer, fmt, value);
#pragma GCC diagnostic pop
    if (n < 0) {
        return {};
    }
    return buffer;
}

std::string FormatString(const char* format, ...)
{
    if (format == nullptr) {
        return {};
    }
    char buffer[8192] = {};
    va_list args;
    va_start(args, format);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
#pragma GCC diagnostic pop
    va_end(args);
    if (n < 0) {
        return {};
    }
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

void TrimTrailingNewlines(std::string& text)
{
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) {
        text.pop_back();
    }
}

void TrimLeadingSpaces(std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    text.erase(0, i);
}

std::size_t CutAtCharacter(const std::string& text, std::size_t limit)
{
    if (text.size() <= limit) {
        return text.size();
    }
    // Continuation bytes (10xxxxxx) never start a character: step back over them.
    std::size_t n = limit;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) {
        --n;
    }
    return n;
}

void TrimTrailingSpaces(std::string& text)
{
    while (!text.empty() && IsSpace(text.back())) {
        text.pop_back();
    }
}

void TrimSpaces(std::string& text)
{
    TrimLeadingSpaces(text);
    TrimTrailingSpaces(text);
}

std::string ReplaceAll(const std::string& text, const std::string& search, const std::string& replacement)
{
    if (search.empty()) {
        return text;
    }
    std::string out;
    std::size_t pos = 0;
    while (true) {
        const std::size_t hit = text.find(search, pos);
        if (hit == std::string::npos) {
            out.append(text, pos, std::string::npos);
            return out;
        }
        out.append(text, pos, hit - pos);
        out += replacement;
        pos = hit + search.size();
    }
}

bool SplitByChars(const std::string& text, const std::string& delimiters, std::vector<std::string>& out)
{
    if (text.empty()) {
        return false;
    }
    if (delimiters.empty()) {
        out.push_back(text);
        return true;
    }
    const std::string combined = text + delimiters;
    std::size_t pos = 0;
    while (pos < combined.size()) {
        std::size_t hit = combined.find_first_of(delimiters, pos);
        if (hit == std::string::npos) {
            hit = combined.size();
        }
        out.push_back(combined.substr(pos, hit - pos));
        pos = hit + 1;
    }
    return true;
}
