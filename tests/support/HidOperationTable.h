// Every query and command of the two HID families as a numbered list, each run once on a freshly
// opened link to the meter at a given path; shared by the reply fuzzer, its seed generator and the
// benchmark.
#pragma once

#include "platform/HidDeviceSystem.h"

#include <cstddef>
#include <string>

class HidOperationTable {
public:
    static std::size_t Count();
    static std::string Name(std::size_t index);
    // The product id of the family the operation belongs to.
    static unsigned ProductId(std::size_t index);
    // Opens the meter of the operation's family, runs the operation, closes; returns its success.
    static bool Run(std::size_t index, HidDeviceSystem& system);
};
