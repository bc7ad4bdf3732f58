#include "meter/UserSettingCodec.h"

#include "core/util/DecimalText.h"
#include "core/util/TextUtility.h"
#include "meter/UserListConverters.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <cstring>

std::size_t UserSettingCodec::RecordOffset(Family family, int group, int entry)
{
    const bool t520 = family == kT520;
    const auto n = static_cast<std::size_t>(entry);
    switch (group) {
    case 1:
        return entry >= 1 && entry <= 20 ? (t520 ? 60 : 50) + 6 * n : 0;
    case 2:
        return entry >= 1 && entry <= 20 ? (t520 ? 180 : 170) + 6 * n : 0;
    case 3:
        return entry >= 1 && entry <= 30 ? (t520 ? 270 : 260) + 36 * n : 0;
    default:
        return 0;
    }
}

std::string UserSettingCodec::Decode(Family family, const std::uint8_t* block, int group, int entry, int sub,
                                     char decimal)
{
    const std::size_t offset = RecordOffset(family, group, entry);
    if (offset == 0) return {};
    const std::uint8_t* record = block + offset;
    if (sub == 1) return std::to_string(record[0]);
    if (group == 1 && sub == 2) {
        return FormatNumber("%-.3f", family == kT520 ? DecodeMilli28(record) : DecodeMilli24(record), decimal);
    }
    if (group == 2 && sub == 2) {
        return FormatNumber("%-.3f", family == kT520 ? DecodeMilli19B(record) : DecodeMilli19A(record), decimal);
    }
    if (group == 3 && sub == 2) {
        const auto* name = reinterpret_cast<const char*>(record + 2);
        return std::string(name, ::strnlen(name, kNameBytes));
    }
    if (group == 3 && sub == 3) {
        return FormatNumber("%-.1f", family == kT520 ? DecodeTenthsB(record) : DecodeTenthsA(record), decimal);
    }
    return {};
}

void UserSettingCodec::Encode(Family family, std::uint8_t* block, int group, int entry, int sub,
                              const std::string& value, char decimal)
{
    const std::size_t offset = RecordOffset(family, group, entry);
    if (offset == 0) return;
    std::uint8_t* record = block + offset;
    if (sub == 1) {
        record[0] = static_cast<std::uint8_t>(std::strtol(value.c_str(), nullptr, 10) & 0xFF);
    } else if (group == 1 && sub == 2) {
        const double rate = ReadNumber(value, decimal);
        family == kT520 ? EncodeMilli28(rate, record) : EncodeMilli24(rate, record);
    } else if (group == 2 && sub == 2) {
        const double angle = ReadNumber(value, decimal);
        family == kT520 ? EncodeMilli19B(angle, record) : EncodeMilli19A(angle, record);
    } else if (group == 3 && sub == 2) {
        // At most the 32 bytes of the field, never ending inside a character.
        std::uint8_t name[kNameBytes] = {};
        std::memcpy(name, value.data(), CutAtCharacter(value, kNameBytes));
        std::memcpy(record + 2, name, kNameBytes);
    } else if (group == 3 && sub == 3) {
        const double compensation = ReadNumber(value, decimal);
        family == kT520 ? EncodeTenthsB(compensation, record) : EncodeTenthsA(compensation, record);
    }
}

std::string UserSettingCodec::FormatNumber(const char* format, double value, char decimal)
{
    // The tables' formats are "%.Nf" with an optional "-" flag (no width, so the flag changes
    // nothing): only the precision is taken from them, so no format text reaches printf.
    int precision = 6;
    if (const char* point = format != nullptr ? std::strchr(format, '.') : nullptr) {
        precision = std::atoi(point + 1);
    }
    // Written without the C library, so the user's locale plays no part.
    return DecimalText::Fixed(value, std::clamp(precision, 0, 9), decimal);
}

double UserSettingCodec::ReadNumber(const std::string& text, char decimal)
{
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    std::string plain;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') plain += '-';
        ++i;
    }
    // Only the number's own characters are taken over; the decimal character becomes ".".
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == decimal) {
            plain += '.';
        } else if (c == '.' || c == ',' || c == ' ') {
            break; // a separator that is not this application's decimal character ends the number
        } else {
            plain += c;
        }
    }
    double value = 0.0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    return result.ec == std::errc() ? value : 0.0;
}

std::string UserSettingCodec::Localise(const std::string& text, char decimal)
{
    std::string out = text;
    for (char& c : out) {
        if (c == '.') c = decimal;
    }
    return out;
}
