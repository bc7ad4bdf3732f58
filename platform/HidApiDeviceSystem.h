// The real HID devices, through hidapi's hidraw back-end.
#pragma once

#include "platform/HidDeviceSystem.h"

class HidApiDeviceSystem final : public HidDeviceSystem {
public:
    explicit HidApiDeviceSystem(Clock& clock);

    std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendorId, std::uint16_t productId) override;
    std::unique_ptr<MeterTransport> Open(const std::string& path, int* err) override;
    Clock& GetClock() override { return clock_; }

    // The process-wide instance on the system clock.
    static HidApiDeviceSystem& Instance();

private:
    Clock& clock_;
};
