// ".ver" companion reader: any bytes; the date is eight digits made into YYYY/MM/DD or nothing, and
// no line is longer than the reader's buffer, and a version it accepts holds no control character.
#include "flash/ZarnflashVersionFile.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const VerFileLines lines = ParseVerFileText(std::string(reinterpret_cast<const char*>(data), size));
    if (lines.lines < 0 || lines.lines > 3) std::abort();
    if (lines.first.size() > 255 || lines.second.size() > 255) std::abort();
    // A version the reader accepts is short plain text.
    if (!lines.badVersion) {
        for (const std::string* part : {&lines.first, &lines.second}) {
            if (part->size() > kVerMaxVersionLength) std::abort();
            for (char c : *part) {
                if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) == 0x7F) std::abort();
            }
        }
    }
    if (!lines.date.empty()) {
        if (lines.date.size() != 10 || lines.date[4] != '/' || lines.date[7] != '/') std::abort();
        for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u}) {
            if (!std::isdigit(static_cast<unsigned char>(lines.date[i]))) std::abort();
        }
    }
    return 0;
}
