// Registry store file reader: any input parses without fault, and whatever parsed writes back to a
// text that reads again to the same contents.
#include "platform/RegistryDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RegistryDocument doc;
    if (!doc.Parse(std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
    const std::string once = doc.Serialize();
    RegistryDocument again;
    if (!again.Parse(once) || again.Serialize() != once) std::abort();
    return 0;
}
