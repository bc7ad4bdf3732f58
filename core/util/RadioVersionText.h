// Radio-module versions as both programs read and show them: "12.0105" is the module's two prefix
// characters, a point and its four-digit hexadecimal value; shown as "12.261" (the value in
// decimal, three digits at least). Comparisons go by prefix and value, so "12.0105" read from a
// meter equals "12.105" written in hexadecimal without its leading zero.
#pragma once

#include <string>

// Seven characters: the first three + the last four read as hexadecimal, "%03d" (a character that is
// no hexadecimal digit gives 000). Any other length comes back unchanged.
std::string FormatVersionText(const std::string& text);

// True when both texts are radio versions (prefix, ".", one to four hexadecimal digits) with the same
// prefix and value; texts of another form compare byte for byte.
bool SameRadioVersion(const std::string& a, const std::string& b);
