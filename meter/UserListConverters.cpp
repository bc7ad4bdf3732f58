#include "meter/UserListConverters.h"

#include <cmath>

namespace {

// value x scale rounded to the nearest whole number (halves away from zero): a value typed with
// three decimals such as 8.190 is 8189.999... thousandths in binary and must stay 8190. Values
// beyond any field (and NaN) are held to a range that converts without overflow, since only the
// field's low bits are stored anyway.
std::int64_t Scaled(double value, double scale)
{
    const double v = std::round(value * scale);
    if (std::isnan(v)) return 0;
    if (v > 9.0e15) return static_cast<std::int64_t>(9.0e15);
    if (v < -9.0e15) return static_cast<std::int64_t>(-9.0e15);
    return static_cast<std::int64_t>(v);
}

std::uint16_t Word(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void PutWord(std::uint8_t* p, std::uint32_t value)
{
    p[0] = static_cast<std::uint8_t>(value & 0xFF);
    p[1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void EncodeTenths(double value, std::uint8_t* record)
{
    if (!record) return;
    PutWord(record + 34, static_cast<std::uint32_t>(Scaled(value, 10.0)) & 0xFFFFu);
}

double DecodeTenths(const std::uint8_t* record)
{
    if (!record) return -1.0;
    return static_cast<std::int16_t>(Word(record + 34)) / 10.0;
}

void EncodeMilli19(double value, std::uint8_t* record)
{
    if (!record) return;
    const std::uint32_t v = static_cast<std::uint32_t>(Scaled(value, 1000.0)) & 0x7FFFFu;
    PutWord(record + 2, v);
    record[4] = static_cast<std::uint8_t>((v >> 16) & 0x7u);
}

double DecodeMilli19(const std::uint8_t* record)
{
    if (!record) return -1.0;
    const std::uint32_t v = Word(record + 2) | (static_cast<std::uint32_t>(record[4] & 0x7u) << 16);
    return v / 1000.0;
}

} // namespace

void EncodeTenthsA(double value, std::uint8_t* record) { EncodeTenths(value, record); }
void EncodeTenthsB(double value, std::uint8_t* record) { EncodeTenths(value, record); }
double DecodeTenthsA(const std::uint8_t* record) { return DecodeTenths(record); }
double DecodeTenthsB(const std::uint8_t* record) { return DecodeTenths(record); }

void EncodeMilli24(double value, std::uint8_t* record)
{
    if (!record) return;
    const std::uint32_t v = static_cast<std::uint32_t>(Scaled(value, 1000.0)) & 0xFFFFFFu;
    PutWord(record + 2, v);
    record[4] = static_cast<std::uint8_t>(v >> 16);
}

double DecodeMilli24(const std::uint8_t* record)
{
    if (!record) return -1.0;
    return (Word(record + 2) | (static_cast<std::uint32_t>(record[4]) << 16)) / 1000.0;
}

void EncodeMilli28(double value, std::uint8_t* record)
{
    if (!record) return;
    const std::uint32_t v = static_cast<std::uint32_t>(Scaled(value, 1000.0)) & 0xFFFFFFFu;
    PutWord(record + 2, v);
    PutWord(record + 4, (v >> 16) & 0xFFFu);
}

double DecodeMilli28(const std::uint8_t* record)
{
    if (!record) return -1.0;
    return (Word(record + 2) | (static_cast<std::uint32_t>(Word(record + 4) & 0xFFFu) << 16)) / 1000.0;
}

void EncodeMilli19A(double value, std::uint8_t* record) { EncodeMilli19(value, record); }
void EncodeMilli19B(double value, std::uint8_t* record) { EncodeMilli19(value, record); }
double DecodeMilli19A(const std::uint8_t* record) { return DecodeMilli19(record); }
double DecodeMilli19B(const std::uint8_t* record) { return DecodeMilli19(record); }

int BytesToWords(std::uint16_t* words, const std::uint8_t* bytes, int count)
{
    for (int i = 0; i < count; ++i) words[i] = Word(bytes + 2 * i);
    return count;
}

void WordsToBytes(std::uint8_t* bytes, const std::uint16_t* words, int count)
{
    for (int i = 0; i < count; ++i) PutWord(bytes + 2 * i, words[i]);
}
