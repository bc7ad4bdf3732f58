// The version texts of meters and of the update list: the list's hexadecimal firmware form made
// decimal as the meter reports it, and the two comparisons the update checks make. Texts come
// from the meter and from the update server, so any text is handled.
#pragma once

#include <string>

class MeterVersionText {
public:
    // "MM.hhhh" of the update list (hexadecimal tail) to the decimal form the meter reports.
    static std::string ConvertHexVersionText(const std::string& text);
    // Compares two version texts part by part (parts separated by "."), each part as a whole
    // number: <0, 0 or >0. A missing part counts as 0, a part that is not a number as 0.
    static int CompareVersions(const std::string& a, const std::string& b);
    // True when the two texts differ as decimal numbers (their fraction after a point, whatever the
    // locale).
    static bool VersionsDiffer(const std::string& a, const std::string& b);
};
