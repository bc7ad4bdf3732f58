// Checks and field reads of the six-character replies that every meter command gets. Fields are
// right-aligned at the end of the reply: a field of width w is reply characters 6 - w to 5.
#pragma once

#include "platform/WinTypes.h"

class MeterReply {
public:
    // ASCII upper case of the six reply characters.
    static void UpperCase(char* reply);
    // Reply character 0 equals the command letter.
    static bool HasLetter(const char* reply, char letter);
    // The field of the given width (1 to 4) read as hexadecimal; reading stops at the first character
    // that is not a hexadecimal digit, and a field without digits reads 0.
    static unsigned ReadField(const char* reply, int width);
    // The echo of a value sent: every character of the field is a hexadecimal digit and the field
    // equals the value. (A lax read would let garbage pass as an echo of 0.)
    static bool EchoMatches(const char* reply, int width, unsigned value);
    // The 12-bit field of some lists: (character 3 - '0') * 256 + the two-digit field.
    static unsigned Read12Bit(const char* reply);
    // The echo of a 12-bit value: character 3 a decimal digit, characters 4 and 5 hexadecimal digits,
    // and the value they give equals the value sent.
    static bool Echo12BitMatches(const char* reply, unsigned value);
    static bool IsHexDigit(char c);
    static int HexValue(char c);
};
