// Converters for the fields of the user-setting list records of the T-140 (variant A) and T-520
// (variant B) blocks. Encoders do nothing for a null record; decoders give -1.0 for one. Values are
// scaled, rounded to the nearest whole number, and only the bits that fit the field are stored.
#pragma once

#include <cstdint>

// Filter record: signed 16 bits at offset 34, in tenths.
void EncodeTenthsA(double value, std::uint8_t* record);
void EncodeTenthsB(double value, std::uint8_t* record);
double DecodeTenthsA(const std::uint8_t* record);
double DecodeTenthsB(const std::uint8_t* record);
// T-140 frame rate: unsigned 24 bits in thousandths (low 16 bits at offset 2, bits 16-23 at offset 4).
void EncodeMilli24(double value, std::uint8_t* record);
double DecodeMilli24(const std::uint8_t* record);
// T-520 frame rate: unsigned 28 bits in thousandths (bits 16-27 in the low 12 bits of the word at 4).
void EncodeMilli28(double value, std::uint8_t* record);
double DecodeMilli28(const std::uint8_t* record);
// Shutter angle: unsigned 19 bits in thousandths (bits 16-18 in the low 3 bits of the byte at 4).
void EncodeMilli19A(double value, std::uint8_t* record);
void EncodeMilli19B(double value, std::uint8_t* record);
double DecodeMilli19A(const std::uint8_t* record);
double DecodeMilli19B(const std::uint8_t* record);

// count 16-bit values from byte pairs (low half first); returns count.
int BytesToWords(std::uint16_t* words, const std::uint8_t* bytes, int count);
// The reverse: each value as two bytes, low half first.
void WordsToBytes(std::uint8_t* bytes, const std::uint16_t* words, int count);
