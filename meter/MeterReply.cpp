#include "meter/MeterReply.h"

bool MeterReply::IsHexDigit(char c)
{
    return HexValue(c) >= 0;
}

int MeterReply::HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

void MeterReply::UpperCase(char* reply)
{
    for (int i = 0; i < 6; ++i) {
        if (reply[i] >= 'a' && reply[i] <= 'z') reply[i] = static_cast<char>(reply[i] - 'a' + 'A');
    }
}

bool MeterReply::HasLetter(const char* reply, char letter)
{
    return reply[0] == letter;
}

unsigned MeterReply::ReadField(const char* reply, int width)
{
    unsigned value = 0;
    for (int i = 6 - width; i < 6; ++i) {
        const int digit = HexValue(reply[i]);
        if (digit < 0) break;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return value;
}

bool MeterReply::EchoMatches(const char* reply, int width, unsigned value)
{
    for (int i = 6 - width; i < 6; ++i) {
        if (!IsHexDigit(reply[i])) return false;
    }
    return ReadField(reply, width) == value;
}

unsigned MeterReply::Read12Bit(const char* reply)
{
    // The meter's rule: character 3 counts from '0' even when it is not a digit.
    return static_cast<unsigned>((static_cast<int>(static_cast<unsigned char>(reply[3])) - '0') * 256) +
           ReadField(reply, 2);
}

bool MeterReply::Echo12BitMatches(const char* reply, unsigned value)
{
    if (reply[3] < '0' || reply[3] > '9') return false;
    if (!IsHexDigit(reply[4]) || !IsHexDigit(reply[5])) return false;
    return Read12Bit(reply) == value;
}
