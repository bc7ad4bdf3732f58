#include "core/util/ScrambleText.h"

#include "core/util/TextUtility.h"

#include <cstdint>

namespace {

constexpr std::uint8_t kMask = 0xA5;

std::uint8_t Forward(std::uint8_t b)
{
    const std::uint8_t x = b ^ kMask;
    return static_cast<std::uint8_t>((x << 3) | (x >> 5));
}

std::uint8_t Backward(std::uint8_t b)
{
    const std::uint8_t x = static_cast<std::uint8_t>((b >> 3) | (b << 5));
    return x ^ kMask;
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

std::string ScrambleText(const std::string& plain)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(plain.size() * 2);
    for (char c : plain) {
        const std::uint8_t s = Forward(static_cast<std::uint8_t>(c));
        out.push_back(kDigits[s >> 4]);
        out.push_back(kDigits[s & 0x0F]);
    }
    return out;
}

std::string UnscrambleText(const std::string& stored)
{
    if (stored.size() % 2 != 0) return {};
    std::string out;
    out.reserve(stored.size() / 2);
    for (size_t i = 0; i < stored.size(); i += 2) {
        if (!IsHexDigit(stored[i]) || !IsHexDigit(stored[i + 1])) return {};
        const int value = ParseNumberText(stored.substr(i, 2));
        out.push_back(static_cast<char>(Backward(static_cast<std::uint8_t>(value))));
    }
    return out;
}
