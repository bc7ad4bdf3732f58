// A firmware script (".dlf"): text lines in file order, each without its trailing CR and LF. The
// lines are kept in one buffer with the end of each line beside it, so a script costs little more
// than its file; a string object per line would cost some 32 bytes even for an empty line, and a
// file of nothing but line ends would grow thirtyfold. The reader keeps every line whole;
// CheckDlfScript decides whether the script may be played at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

// Longest line the player's buffer takes; a longer line makes the script unplayable.
constexpr std::size_t kDlfMaxLineLength = 25600;
// Largest script file read (about 2000 times the largest image known).
constexpr std::size_t kDlfMaxFileSize = 64u * 1024u * 1024u;
// Most lines a script may have: fourteen times the longest script the progress scale was made for
// (70,000 lines). A file of more lines is refused as it is read, before it costs more memory.
constexpr std::size_t kDlfMaxLines = 1000000;

class DlfScript {
public:
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        const_iterator(const DlfScript* script, std::size_t index) : script_(script), index_(index) {}
        std::string_view operator*() const { return (*script_)[index_]; }
        const_iterator& operator++()
        {
            ++index_;
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator old = *this;
            ++index_;
            return old;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }
        bool operator!=(const const_iterator& other) const { return index_ != other.index_; }

    private:
        const DlfScript* script_ = nullptr;
        std::size_t index_ = 0;
    };
    using iterator = const_iterator;
    using value_type = std::string_view;

    DlfScript() = default;
    DlfScript(std::initializer_list<std::string_view> lines);

    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t index) const;
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size()); }
    void clear();
    void push_back(std::string_view line);
    // Bytes the script holds in memory (its text and line table), for checks of its cost.
    std::size_t MemoryBytes() const;
    bool operator==(const DlfScript& other) const;

private:
    std::string text_;
    std::vector<std::uint32_t> ends_; // end of each line in text_ (the file ceiling fits 32 bits)
};

// Splits a file image into lines: LF ends a line, trailing CR and LF characters are removed, every
// line is kept (empty ones too); a final line without LF counts, an empty file gives no lines.
// FALSE (script then empty) when a line is longer than kDlfMaxLineLength or there are more than
// kDlfMaxLines lines.
bool ParseDlfScript(const std::string& bytes, DlfScript& script);

enum class DlfReadResult {
    Ok,
    Unreadable, // missing, no regular file (a FIFO, a device, a folder) or a read error
    TooLarge,   // larger than kDlfMaxFileSize, a line longer than kDlfMaxLineLength or too many lines
};

// Empties script and reads the file; on any result but Ok the script is left empty. The file is read
// in pieces, so a refused file costs no more memory than the lines read before the limit was reached.
DlfReadResult ReadDlfScriptFile(const std::string& path, DlfScript& script);

// The same read: 1 when the file was read, 0 otherwise.
int ReadDlfScript(const std::string& path, DlfScript& script);
