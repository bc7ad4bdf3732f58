// Wraps a simulated meter's mode so that a test can hold the meter in the middle of an operation:
// once closed, the gate stops the exchange that reaches it until the test opens it again, and the
// test can wait until an exchange is held. Used to show what other threads can do while a meter
// transfer is under way.
#pragma once

#include "tests/support/SimMeterMode.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

class GatedMeterMode final : public SimMeterMode {
public:
    explicit GatedMeterMode(std::unique_ptr<SimMeterMode> inner);

    std::optional<std::string> Answer(const std::string& command, MeterSimulator& meter) override;
    void OnLinkClosed() override;

    // Holds the exchange after `after` more commands have been answered.
    void Close(int after = 0);
    void Open();
    // Blocks until an exchange is held at the gate; false after the real-time limit.
    bool WaitUntilHeld(std::uint32_t limitMs = 20000);
    SimMeterMode& Inner() { return *inner_; }

private:
    std::unique_ptr<SimMeterMode> inner_;
    std::mutex mutex_;
    std::condition_variable cv_;
    bool closed_ = false;
    int pass_ = 0;
    bool held_ = false;
};
