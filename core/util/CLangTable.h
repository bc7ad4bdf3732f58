// The process-wide table of UI texts by number, loaded from "String.txt" (UTF-16LE lines of a
// five-digit id, a TAB and the text). Filled on the user-interface thread before other threads start
// and only read afterwards, so it has no lock.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

class CLangTable {
public:
    // The singleton, created empty when absent.
    static CLangTable* GetInstance();
    // Deletes the singleton; a later GetInstance creates a new, empty one.
    static void Free();

    // The text file is some tens of KB; a file over this size is not read.
    static constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024;

    // Adds the entries of the file (ids already present keep their texts). 0 when the file cannot be
    // opened, is no regular file or is larger than kMaxFileBytes, else 1.
    int Load(const std::string& path);
    // Adds the entries of a file image already in memory, read exactly as Load reads a file.
    void LoadFromBytes(const std::string& bytes);
    // The text of the id, or "" when the table has none.
    std::string Lookup(int id) const;
    void Clear();
    std::size_t Count() const { return texts_.size(); }

private:
    CLangTable() = default;
    void AddLine(const std::u16string& line);

    std::map<int, std::string> texts_;
};

// The text of the id from the table (created when absent); "" for a missing id.
std::string GetLangString(int id);
// The text of the id used as a format whose conversions are all "%s": each takes the next argument
// (none left: nothing), "%%" gives "%". No printf: a text file's conversions never reach varargs.
std::string FormatLangString(int id, const std::vector<std::string>& args);
