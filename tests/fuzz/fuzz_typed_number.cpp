// Feeds arbitrary bytes to the reader of numbers typed into the profile views' fields and grids: the
// first byte is the decimal character, the rest the typed text. An accepted number must be finite and
// format and round without trouble.
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
    if (CKZARN_EditValueRules::ParseTypedNumber(text, decimal, &value)) {
        if (!std::isfinite(value)) {
            std::abort();
        }
        (void)CKZARN_EditValueRules::FormatEv(value);
        (void)CKZARN_EditValueRules::RoundLevel(value);
    }
    return 0;
}
