// Typed decimal numbers as the user types them: digits with at most one decimal character (the
// locale's, noted at start-up) and at most three digits after it, no leading zero before a digit.
// Parsing reads the whole text with that decimal character, whatever the process locale is.
#pragma once

#include <cstddef>
#include <string_view>

class DecimalText {
public:
    // True when the text may stand (the empty text may); every character is checked.
    static bool IsValid(std::string_view text, std::size_t maxLength, char decimal);
    // The value of a text that IsValid accepts and that holds at least one digit; false otherwise
    // (value untouched).
    static bool Parse(std::string_view text, std::size_t maxLength, char decimal, double* value);
};
