// Version texts from meters and from the update list: two texts of any bytes, split at the first
// zero byte. The hexadecimal form converts without fault, and the comparisons are consistent:
// a text equals itself, and the order of two texts reverses with their places.
#include "meter/MeterVersionText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string all(reinterpret_cast<const char*>(data), size);
    const std::size_t split = all.find('\0');
    const std::string a = all.substr(0, split);
    const std::string b = split == std::string::npos ? std::string() : all.substr(split + 1);

    const std::string converted = MeterVersionText::ConvertHexVersionText(a);
    if (!converted.empty() && converted.find('.') == std::string::npos) std::abort();
    if (MeterVersionText::CompareVersions(a, a) != 0 || MeterVersionText::VersionsDiffer(a, a)) std::abort();
    if (MeterVersionText::CompareVersions(a, b) != -MeterVersionText::CompareVersions(b, a)) std::abort();
    if (MeterVersionText::VersionsDiffer(a, b) != MeterVersionText::VersionsDiffer(b, a)) std::abort();
    (void)MeterVersionText::VersionsDiffer(converted, b);
    return 0;
}
