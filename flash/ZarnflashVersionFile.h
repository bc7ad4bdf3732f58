// The ".ver" companion of a firmware image: same folder and title, extension "ver". Line 1 the
// version (a radio image's first part), line 2 a radio image's second part, line 3 the release date
// as eight digits YYYYMMDD.
#pragma once

#include <string>

struct VerFileLines {
    std::string first;
    std::string second;
    std::string date; // YYYY/MM/DD, or empty when line 3 is not exactly eight digits
    int lines = 0;    // lines found (at most 3 are read)
};

// Reads the lines of a companion's text (each at most 255 characters; trailing CR and LF removed).
VerFileLines ParseVerFileText(const std::string& bytes);

// The companion's path for folder + name; empty when the name has no extension.
std::string VerFilePath(const std::string& folder, const std::string& name);

// Main form: line 1; radio form: line 1 + "." + line 2. Empty without a readable companion, or when
// the companion lacks the lines the form needs.
std::string ReadVersionFromVerFile(const std::string& folder, const std::string& name, bool radioForm);
// Line 3 as YYYY/MM/DD; empty without a readable companion or when line 3 is not eight digits.
std::string ReadDateFromVerFile(const std::string& folder, const std::string& name);
