// What the family-independent HID tests need to know about each family.
#pragma once

#include "meter/CCommT140.h"
#include "meter/CCommT520.h"
#include "tests/support/SimRegisterMeter.h"

#include <memory>

struct T520Traits {
    using Comm = CCommT520;
    using Block = T520TransferBlock;
    static constexpr bool kT520 = true;
    static constexpr std::uint16_t kProductId = 0x7004;
    static constexpr int kCustomItems = 34;      // revision "16"
    static constexpr int kCustomWriteTotal = 36; // the items, the commit and the completion
    static std::unique_ptr<SimRegisterMeter> Make() { return SimRegisterMeter::T520(); }
    static Transcript CustomPrefix() { return {"G00001"}; }
};

struct T140Traits {
    using Comm = CCommT140;
    using Block = T140TransferBlock;
    static constexpr bool kT520 = false;
    static constexpr std::uint16_t kProductId = 0x7002;
    static constexpr int kCustomItems = 23;
    static constexpr int kCustomWriteTotal = 25;
    static std::unique_ptr<SimRegisterMeter> Make() { return SimRegisterMeter::T140(); }
    static Transcript CustomPrefix() { return {}; }
};
