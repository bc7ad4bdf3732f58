// Decimal numbers as the user types them and as files and fields hold them: digits with at most
// one decimal character (the locale's, noted at start-up, or "." in files). Every typed or read
// number goes through here, and so does every number written into a file or a field: the C
// library's conversions follow the process locale (set from the user's settings at start-up), these
// never do. Values are read exactly: a text gives the double nearest to its decimal value.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class DecimalText {
public:
    // Typed digits: at most one decimal character, at most three digits after it, no leading zero
    // before a digit. True when the text may stand (the empty text may); every character is checked.
    static bool IsValid(std::string_view text, std::size_t maxLength, char decimal);
    // The value of a text that IsValid accepts and that holds at least one digit; false otherwise
    // (value untouched).
    static bool Parse(std::string_view text, std::size_t maxLength, char decimal, double* value);
    // The value of a whole committed text: an optional sign, digits and at most one decimal
    // character with digits around it (at least one digit in all), 32 characters at most. Anything
    // else, also text after the number, is no number: false (value untouched).
    static bool ParseSigned(std::string_view text, char decimal, double* value);
    // A committed text as ParseSigned reads it with the decimal character, or else with ".": a
    // point is what a user pastes from elsewhere, and in a number it can mean nothing else.
    static bool ParseTyped(std::string_view text, char decimal, double* value);
    // The number at the start of a text read from a file: the longest beginning made of an optional
    // sign, digits and at most one decimal character, holding at least one digit (as the C library
    // reads a number's beginning, without exponents); its length in *used. False when the text
    // starts with no number, or with one longer than ParseSigned reads (value untouched).
    static bool ParseLeading(std::string_view text, char decimal, double* value, std::size_t* used);

    // A number written with "." (as Fixed and General write it) shown with `decimal`.
    static std::string WithDecimal(std::string text, char decimal);
    // The value with `precision` (0 to 17) digits after the decimal character, rounded as printf's
    // "%.Nf" rounds in the C locale; with `plusSign` a positive value (and +0) gets "+", as "%+.Nf".
    static std::string Fixed(double value, int precision, char decimal, bool plusSign = false);
    // The value as printf's "%g" writes it in the C locale (six significant digits, an exponent for
    // very large or small values), with `decimal` as the decimal character.
    static std::string General(double value, char decimal);
};
