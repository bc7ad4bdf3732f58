// User-list records as the meter sends them: any bytes in a block, every field decoded to its text,
// encoded into a fresh block and decoded again; the texts must not change. Typed numbers of any
// bytes are read too.
#include "meter/T520TransferBlock.h"
#include "meter/UserSettingCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2) return 0;
    const auto family = (data[0] & 1) != 0 ? UserSettingCodec::kT520 : UserSettingCodec::kT140;
    const char decimal = (data[0] & 2) != 0 ? ',' : '.';
    const uint8_t* body = data + 1;
    const size_t length = size - 1;

    // The bytes repeat over the list area, so short inputs reach every record.
    std::vector<uint8_t> block(T520TransferBlock::kSize, 0);
    for (size_t i = 0; i < 1400; ++i) block[i] = body[i % length];
    std::vector<uint8_t> again(T520TransferBlock::kSize, 0);
    for (int group = 1; group <= 3; ++group) {
        for (int entry = 1; entry <= 30; ++entry) {
            for (int sub = 1; sub <= 3; ++sub) {
                const std::string text = UserSettingCodec::Decode(family, block.data(), group, entry, sub, decimal);
                UserSettingCodec::Encode(family, again.data(), group, entry, sub, text, decimal);
                if (UserSettingCodec::Decode(family, again.data(), group, entry, sub, decimal) != text) std::abort();
            }
        }
    }
    const std::string typed(reinterpret_cast<const char*>(body), length);
    const double value = UserSettingCodec::ReadNumber(typed, decimal);
    (void)UserSettingCodec::FormatNumber("%.3f", value, decimal);
    return 0;
}
