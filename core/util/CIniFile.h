// A settings file of "[section]" headers and "key=value" lines, read and written the way the
// program's INI files always were: section and key names ignore ASCII letter case, the first of
// two equal keys wins, an absent key gives the caller's default, integers are decimal with an
// optional sign, and texts are cut at 1023 characters. Writing keeps every other line of the file.
#pragma once

#include <string>
#include <vector>

class CIniFile {
public:
    static constexpr std::size_t kMaxText = 1023;
    // Settings files are a few hundred bytes; a file over this size is not read.
    static constexpr std::size_t kMaxFileBytes = 1024 * 1024;

    // Reads the file; false (and an empty document) when it cannot be read, is no regular file or
    // is larger than kMaxFileBytes.
    bool Load(const std::string& path);
    // Takes a file image already in memory.
    void Parse(const std::string& bytes);
    // Replaces the file with the document (AtomicFileWriter); false when that fails.
    bool Save(const std::string& path) const;
    std::string Text() const;

    bool HasKey(const std::string& section, const std::string& key) const;
    std::string GetString(const std::string& section, const std::string& key, const std::string& fallback) const;
    // Leading digits after an optional sign; a value without digits reads as 0, one beyond the
    // range of int as the nearest end of it.
    int GetInt(const std::string& section, const std::string& key, int fallback) const;
    static int ParseInt(const std::string& text);

    // Replaces the first value of the key or adds the key at the end of its section (adding the
    // section at the end of the file). A line break ends the stored value.
    void SetString(const std::string& section, const std::string& key, const std::string& value);
    void SetInt(const std::string& section, const std::string& key, int value);

private:
    struct Line {
        std::string raw;     // the line as read, for lines this class does not rewrite
        std::string section; // "[name]" lines: the name
        std::string key;     // key lines: the key and value, trimmed
        std::string value;
        bool isSection = false;
        bool isKey = false;
    };

    // Index of the key's first line, or -1.
    long FindKey(const std::string& section, const std::string& key) const;

    std::vector<Line> lines_;
};
