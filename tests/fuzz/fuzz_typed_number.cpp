// Feeds arbitrary bytes to the reading of numbers typed into the profile views' fields and grids: the
// first byte is the decimal character, the rest the typed text. An accepted number is made of a
// sign, digits and the decimal character or a point only, is finite, and formats and rounds without
// trouble.
#include "core/util/DecimalText.h"
#include "ui/views/CKZARN_EditValueRules.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    const char decimal = static_cast<char>(data[0]);
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    double value = 0.0;
    if (DecimalText::ParseTyped(text, decimal, &value)) {
        if (!std::isfinite(value)) {
            std::abort();
        }
        if (text.find_first_not_of(std::string("+-.0123456789") + decimal) != std::string::npos) {
            std::abort();
        }
        (void)CKZARN_EditValueRules::FormatEv(value, decimal);
        (void)CKZARN_EditValueRules::RoundLevel(value);
    }
    return 0;
}
