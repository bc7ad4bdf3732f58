// Opening files that a user chose or a folder scan found. Only regular files are opened: a FIFO,
// a device or a folder given in their place is refused at once instead of blocking the caller (a
// FIFO's open waits for a writer, a device's read may never end).
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

class RegularFile {
public:
    static constexpr int kInvalid = -1;

    enum class ReadResult {
        Ok,
        Unreadable, // missing, not a regular file, or a read error
        TooLarge,   // larger than the caller's ceiling; nothing was read
    };

    // TRUE when the path (after following links) names a regular file. Opens nothing.
    static bool IsRegular(const std::string& path);

    // A blocking read-only descriptor of the regular file, or kInvalid. The open itself never blocks.
    static int Open(const std::string& path);

    // The same file as a C stream opened "rb", or nullptr.
    static std::FILE* OpenStream(const std::string& path);

    // Reads the whole regular file into out when it holds at most maxBytes; out is cleared otherwise.
    static ReadResult ReadAll(const std::string& path, std::size_t maxBytes, std::string& out);
};
