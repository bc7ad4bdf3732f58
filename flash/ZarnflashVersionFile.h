// The ".ver" companion of a firmware image: same folder and title, extension "ver". Line 1 the
// version (a radio image's first part), line 2 a radio image's second part, line 3 the release date
// as eight digits YYYYMMDD. CR, LF and CR LF all end a line.
#pragma once

#include <cstddef>
#include <string>

// Longest version part a companion may state (the versions are a few characters, like "18" or
// "12" and "0105"); a longer line 1 or 2 is no version.
constexpr std::size_t kVerMaxVersionLength = 16;
// Largest companion read: three short lines fit many times over.
constexpr std::size_t kVerMaxFileSize = 4096;

struct VerFileLines {
    std::string first;
    std::string second;
    std::string date;       // YYYY/MM/DD, or empty when line 3 is not exactly eight digits
    int lines = 0;          // lines found (at most 3 are read)
    bool badVersion = false; // line 1 or 2 holds a control character or is too long for a version
};

// Why a companion does not state an image's version and date.
enum class VerFileProblem {
    None,
    Missing,    // no companion, or it is no regular file or cannot be read
    FewLines,   // fewer than three lines
    BadDate,    // line 3 is not eight digits
    BadVersion, // a version line is empty (as the form needs it), too long or holds control characters
};

// Reads the lines of a companion's text (each kept to at most 255 characters).
VerFileLines ParseVerFileText(const std::string& bytes);

// The companion's path for folder + name; empty when the name has no extension.
std::string VerFilePath(const std::string& folder, const std::string& name);

// Main form: line 1; radio form: line 1 + "." + line 2. Empty without a readable companion, or when
// the companion lacks the lines the form needs or its version is malformed.
std::string ReadVersionFromVerFile(const std::string& folder, const std::string& name, bool radioForm);
// Line 3 as YYYY/MM/DD; empty without a readable companion or when line 3 is not eight digits.
std::string ReadDateFromVerFile(const std::string& folder, const std::string& name);
// Whether the companion states the image's version (in the given form) and its date.
VerFileProblem CheckVerFile(const std::string& folder, const std::string& name, bool radioForm);
