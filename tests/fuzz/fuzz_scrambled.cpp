// The scrambled registry strings (the stored proxy password): a stored text of any bytes. A text
// that unscrambles scrambles back to itself in lower case, and any plain text survives the trip.
#include "core/util/ScrambleText.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string plain = UnscrambleText(input);
    if (!plain.empty()) {
        std::string lower = input;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (ScrambleText(plain) != lower) std::abort();
    }
    const std::string stored = ScrambleText(input);
    if (stored.size() != 2 * input.size() || UnscrambleText(stored) != input) std::abort();
    return 0;
}
