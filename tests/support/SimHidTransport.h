// An open link to a simulated HID meter: each output report is delivered to the meter's simulator
// at once, and its reply becomes an input report that arrives after the simulated round trip (plus
// any injected delay). Reads wait on the manual clock up to the same bound as real HID reads, so a
// late or missing reply shows up as a read of 0 bytes.
#pragma once

#include "platform/Clock.h"
#include "platform/MeterTransport.h"
#include "tests/support/MeterSimulator.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

class SimHidTransport final : public MeterTransport {
public:
    SimHidTransport(std::shared_ptr<MeterSimulator> meter, Clock& clock, std::uint32_t roundTripMs,
                    std::shared_ptr<std::vector<std::uint8_t>> reportIds);

    int Read(void* buffer, std::size_t length, std::size_t* actual) override;
    int Write(const void* buffer, std::size_t length, std::size_t* actual) override;
    int SetTimeouts(const COMMTIMEOUTS& timeouts) override;
    int GetTimeouts(COMMTIMEOUTS* timeouts) override;
    int Purge() override;
    void Sleep(std::uint32_t ms) override;
    int Close() override;

private:
    struct Pending {
        std::string report;
        std::uint64_t readyAt;
    };
    std::shared_ptr<MeterSimulator> meter_;
    Clock& clock_;
    std::uint32_t roundTripMs_;
    std::shared_ptr<std::vector<std::uint8_t>> reportIds_;
    COMMTIMEOUTS timeouts_{};
    std::deque<Pending> pending_;
    bool closed_ = false;
};
