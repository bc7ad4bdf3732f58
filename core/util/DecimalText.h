// Typed decimal numbers as the user types them: digits with at most one decimal character (the
// locale's, noted at start-up) and at most three digits after it, no leading zero before a digit.
// Parsing reads the whole text with that decimal character, whatever the process locale is.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class DecimalText {
public:
    // True when the text may stand (the empty text may); every character is checked.
    static bool IsValid(std::string_view text, std::size_t maxLength, char decimal);
    // The value of a text that IsValid accepts and that holds at least one digit; false otherwise
    // (value untouched).
    static bool Parse(std::string_view text, std::size_t maxLength, char decimal, double* value);
    // The value of a whole committed text: an optional sign, digits and at most one decimal
    // character with digits around it (at least one digit in all), 32 characters at most. Anything
    // else, also text after the number, is no number: false (value untouched). Never depends on the
    // process locale.
    static bool ParseSigned(std::string_view text, char decimal, double* value);
    // A number written with "." (as printf writes it in the C locale) shown with `decimal`.
    static std::string WithDecimal(std::string text, char decimal);
};
