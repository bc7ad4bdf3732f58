// Moves the values of the user-settings page between item texts and the user-list records of the
// T-140 and T-520 transfer blocks, and reads and writes the numbers of those texts with the
// application's decimal character (whatever the C library's locale says).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class UserSettingCodec {
public:
    enum Family { kT140 = 1, kT520 = 2 };

    // The byte offset of the record of an entry (1-based) of a list (group 1 frame rates, 2 shutter
    // angles, 3 filters) in the family's block; 0 for a group or entry out of range.
    static std::size_t RecordOffset(Family family, int group, int entry);

    // The text of one field, or empty when the item has none (headers, unknown sub-items).
    static std::string Decode(Family family, const std::uint8_t* block, int group, int entry, int sub, char decimal);
    // Stores one field from its text; nothing for headers and unknown sub-items.
    static void Encode(Family family, std::uint8_t* block, int group, int entry, int sub, const std::string& value,
                       char decimal);

    // A number written as a "%.Nf" format gives it ("%.3f", "%-.1f"; only the precision counts),
    // with decimal as the decimal character.
    static std::string FormatNumber(const char* format, double value, char decimal);
    // The number at the start of the text as the C library's text-to-double conversion reads it
    // (leading blanks, a sign, digits, decimal, digits, an exponent), with decimal as the decimal
    // character; 0 when the text starts with no number.
    static double ReadNumber(const std::string& text, char decimal);
    // A text of the tables (written with ".") in the application's decimal character.
    static std::string Localise(const std::string& text, char decimal);

    static constexpr std::size_t kNameBytes = 32;
};
