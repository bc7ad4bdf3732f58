// Writes a profile over its file for the editor and the manual entry. A file marked read-only (one
// that no write permission bit allows anybody to write) is refused before anything is written; the write itself goes through the library's SaveProfile, which replaces the file
// atomically, so a failed write leaves the old file as it was.
#pragma once

#include <string>

class ZarnLib_Profile;

class CKZARN_ProfileFileSaver {
public:
    static constexpr int kSaved = 0;
    static constexpr int kReadOnly = 1;
    static constexpr int kWriteFailed = 2;

    static int Save(const std::string& path, const ZarnLib_Profile& profile);
    // True when the file exists and carries no write permission bit.
    static bool IsReadOnlyFile(const std::string& path);
};
