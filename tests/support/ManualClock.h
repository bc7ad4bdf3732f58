// A clock for tests: time stands still until a sleep or Advance moves it, so protocol time-outs and
// waits run instantly and deterministically.
#pragma once

#include "platform/Clock.h"

#include <atomic>
#include <cstdint>

class ManualClock final : public Clock {
public:
    std::uint64_t NowMs() override { return now_.load(); }
    void SleepMs(std::uint32_t ms) override
    {
        now_ += ms;
        slept_ += ms;
    }
    void Advance(std::uint64_t ms) { now_ += ms; }
    // Total time asked for through SleepMs.
    std::uint64_t SleptMs() const { return slept_.load(); }

private:
    std::atomic<std::uint64_t> now_{1000};
    std::atomic<std::uint64_t> slept_{0};
};
