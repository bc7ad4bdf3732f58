// Time as the protocol, worker and launcher code see it. Production code uses SystemClock; tests
// inject a clock that advances only when told, so no test waits real seconds.
#pragma once

#include <cstdint>

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary fixed start (monotonic), like GetTickCount.
    virtual std::uint64_t NowMs() = 0;
    // Blocks the calling thread for the given time, like Sleep.
    virtual void SleepMs(std::uint32_t ms) = 0;
};

class SystemClock final : public Clock {
public:
    std::uint64_t NowMs() override;
    void SleepMs(std::uint32_t ms) override;
    // The process-wide real clock.
    static SystemClock& Instance();
};
