// Simulated HID meters standing in process behind the HID interface: any number of meters, each at
// its own device path with its vendor and product id, on a manual clock so that time-outs, busy
// waits and commit polls cost no real time. An unplugged meter drops out of the enumeration.
#pragma once

#include "platform/HidDeviceSystem.h"
#include "tests/support/ManualClock.h"
#include "tests/support/MeterSimulator.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class SimHidDeviceSystem final : public HidDeviceSystem {
public:
    // Adds a meter; returns its simulator (for faults, scripts and the command log).
    std::shared_ptr<MeterSimulator> AddMeter(const std::string& path, std::uint16_t vendorId, std::uint16_t productId,
                                             std::unique_ptr<SimMeterMode> mode);
    // Report ids of every output report written to the meter at path, in order.
    std::vector<std::uint8_t> ReportIds(const std::string& path) const;
    // Simulated time from a command until its reply is there (0 until set).
    void SetRoundTripMs(std::uint32_t ms) { roundTripMs_ = ms; }
    int OpenCount() const { return opens_; }
    ManualClock& Clock() { return clock_; }

    std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendorId, std::uint16_t productId) override;
    std::unique_ptr<MeterTransport> Open(const std::string& path, int* err) override;
    ::Clock& GetClock() override { return clock_; }

private:
    struct Device {
        HidDeviceInfo info;
        std::shared_ptr<MeterSimulator> meter;
        std::shared_ptr<std::vector<std::uint8_t>> reportIds;
    };
    std::vector<Device> devices_;
    ManualClock clock_;
    std::uint32_t roundTripMs_ = 0;
    int opens_ = 0;
};
