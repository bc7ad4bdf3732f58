// Where HID meters are found and opened: hidapi on a real system, the meter simulator in tests.
#pragma once

#include "platform/Clock.h"
#include "platform/MeterTransport.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct HidDeviceInfo {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

class HidDeviceSystem {
public:
    virtual ~HidDeviceSystem() = default;
    // HID interfaces present now whose ids match (0 matches any id), in enumeration order.
    virtual std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendorId, std::uint16_t productId) = 0;
    // Opens a device path for reports; null with *err set (when err is given) on failure.
    virtual std::unique_ptr<MeterTransport> Open(const std::string& path, int* err) = 0;
    // The clock that the protocol's waits and time-outs use.
    virtual Clock& GetClock() = 0;
};
