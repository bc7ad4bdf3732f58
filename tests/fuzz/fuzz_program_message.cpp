// Feeds bytes from another program's socket to the window-message stream reader, in two parts.
#include "core/util/ProgramMessageStream.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    ProgramMessageStream reader;
    std::vector<ProgramMessageStream::Message> out;
    reader.Feed(bytes, cut, &out);
    reader.Feed(bytes + cut, size - cut, &out);
    if (out.size() > size / ProgramMessageStream::kFrameSize) {
        __builtin_trap();
    }
    return 0;
}
