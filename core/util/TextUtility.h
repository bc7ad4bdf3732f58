// Number and text helpers of the utility layer shared by both programs. Texts are 8-bit strings in
// the ANSI code page; none of these functions keeps state, so all may run on any thread.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The C library's decimal conversion: leading white space, optional sign, digits up to the first
// other character; 0 when there are none. Out-of-range values saturate instead of overflowing.
int StringToInt(const std::string& text);
// Hexadecimal digits with an optional "0x" prefix (lower-case x only); any other byte gives 0.
// More than eight digits keep the low 32 bits.
int ParseNumberText(const std::string& text);
// The value printed with a printf format taking one int ("%d" when the format is empty). The result
// is cut to 255 bytes.
std::string FormatNumber(int value, const std::string& format);
// printf-style formatting; the result holds at most 8191 bytes; a null format gives "".
std::string FormatString(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The length of the longest start of the UTF-8 text that holds at most limit bytes and does not end
// inside a character: where a text is cut to a field of limit bytes.
std::size_t CutAtCharacter(const std::string& text, std::size_t limit);

void TrimTrailingNewlines(std::string& text);
void TrimLeadingSpaces(std::string& text);
void TrimTrailingSpaces(std::string& text);
void TrimSpaces(std::string& text);
// Every occurrence of search replaced, scanning on behind each replacement; an empty search text
// returns the text unchanged.
std::string ReplaceAll(const std::string& text, const std::string& search, const std::string& replacement);
// Splits at every byte of the delimiter set, appending the pieces to out (empty pieces included);
// false with nothing added for an empty text.
bool SplitByChars(const std::string& text, const std::string& delimiters, std::vector<std::string>& out);
