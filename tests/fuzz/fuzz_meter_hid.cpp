// Arbitrary meter replies for every query and command of the HID families: byte 0 picks the
// operation, the rest is the script of replies (SimScriptedReplies). No reply may crash a link,
// overrun a buffer or keep it polling without end.
#include "tests/support/HidOperationTable.h"
#include "tests/support/SimHidDeviceSystem.h"
#include "tests/support/SimScriptedReplies.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const std::size_t op = data[0] % HidOperationTable::Count();
    SimHidDeviceSystem system;
    auto meter = system.AddMeter("/dev/hidraw0", 0x1F3C, static_cast<std::uint16_t>(HidOperationTable::ProductId(op)),
                                 std::make_unique<SimScriptedReplies>(data + 1, size - 1));
    HidOperationTable::Run(op, system);
    // Every wait goes through the manual clock; a link that polls without end shows up here.
    if (system.Clock().NowMs() > 1000 + 10ull * 60 * 1000) std::abort();
    return 0;
}
