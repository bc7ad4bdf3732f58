// Typed decimal numbers: any text, any limit and decimal character; an accepted text parses to a
// finite value in range of its digits, and a refused one never parses; a signed committed text
// parses only when it is made of a sign, digits and the decimal character.
#include "core/util/DecimalText.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const char decimal = data[0] % 2 == 0 ? '.' : ',';
    const std::size_t maxLength = data[1] % 12;
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    const bool valid = DecimalText::IsValid(text, maxLength, decimal);
    double value = -1.0;
    const bool parsed = DecimalText::Parse(text, maxLength, decimal, &value);
    if (parsed && (!valid || !std::isfinite(value) || value < 0.0 || value >= 1e12))
        std::abort();
    if (!valid && value != -1.0)
        std::abort();
    // A committed text, signed: whatever parses is finite, and only sign, digits and the decimal
    // character make a number.
    double committed = 0.0;
    if (DecimalText::ParseSigned(text, decimal, &committed)) {
        if (!std::isfinite(committed) || text.find_first_not_of(std::string("+-0123456789") + decimal) != std::string_view::npos)
            std::abort();
    }
    return 0;
}
