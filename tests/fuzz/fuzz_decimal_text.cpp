// Typed and file numbers: any text, any limit and decimal character. An accepted text parses to a
// finite value in range of its digits, and a refused one never parses; a signed committed text
// parses only when it is made of a sign, digits and the decimal character. Every parsed value is the
// one the C library reads in the C locale (the harness never changes the locale), and a number as
// the fields write it back reads as the same value.
#include "core/util/DecimalText.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// The C library's reading of the text with the decimal character made a point; NaN when the
// reading does not take the whole text.
double CReading(std::string_view text, char decimal)
{
    std::string plain(text);
    for (char& c : plain)
        if (c == decimal)
            c = '.';
    char* end = nullptr;
    const double value = std::strtod(plain.c_str(), &end);
    return end == plain.c_str() + plain.size() ? value : std::nan("");
}

} // namespace

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
    if (parsed) {
        if (value != CReading(text, decimal))
            std::abort();
        // At most three decimals and eleven characters: written with three decimals, the value
        // reads back exactly.
        double back = -1.0;
        if (!DecimalText::Parse(DecimalText::Fixed(value, 3, decimal), 32, decimal, &back) || back != value)
            std::abort();
    }
    // A committed text, signed: whatever parses is finite, only sign, digits and the decimal
    // character make a number, and its value is the C library's.
    double committed = 0.0;
    if (DecimalText::ParseSigned(text, decimal, &committed)) {
        if (!std::isfinite(committed) ||
            text.find_first_not_of(std::string("+-0123456789") + decimal) != std::string_view::npos)
            std::abort();
        if (committed != CReading(text, decimal))
            std::abort();
        // Of 1 or more, written with 17 decimals (more than the 17 significant digits any double
        // needs) and read again: the same value.
        const std::string full = DecimalText::Fixed(committed, 17, decimal, true);
        double again = 0.0;
        if (std::fabs(committed) >= 1.0 && full.size() <= 32 &&
            (!DecimalText::ParseSigned(full, decimal, &again) || again != committed))
            std::abort();
    }
    // A typed text: read with the decimal character or a point, never anything else.
    double typed = 0.0;
    if (DecimalText::ParseTyped(text, decimal, &typed)) {
        double either = 0.0;
        if (!(DecimalText::ParseSigned(text, decimal, &either) || DecimalText::ParseSigned(text, '.', &either)) ||
            either != typed)
            std::abort();
    }
    return 0;
}
