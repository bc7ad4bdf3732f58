// An FdWaiter for serial links that talk to a simulated meter on a pseudo-terminal with a
// ManualClock. Time moves only when the simulator says so, so a test never waits for a time-out:
// - the simulator declares silence after swallowing a command it will not answer; the next read
//   wait then jumps the clock to its deadline and times out (the silence is used up by it);
// - the simulator advances the clock (a slow answer) and wakes the waiter, which then finds its
//   deadline passed before it looks at any bytes that came after it;
// - WaitForHostReading lets the simulator hold an answer back until the host is waiting for it, so
//   a delay always falls inside the read's time-out window.
#pragma once

#include "platform/FdWaiter.h"
#include "tests/support/ManualClock.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>

class SimulatedLineWaiter final : public FdWaiter {
public:
    explicit SimulatedLineWaiter(ManualClock& clock);
    ~SimulatedLineWaiter() override;
    SimulatedLineWaiter(const SimulatedLineWaiter&) = delete;
    SimulatedLineWaiter& operator=(const SimulatedLineWaiter&) = delete;

    Result Wait(int fd, short events, std::uint64_t deadlineMs) override;

    // Simulator side.
    void DeclareSilence();
    void AdvanceClock(std::uint64_t ms);
    // Blocks until the host is inside a read wait (or returns false after a generous safety limit,
    // which only a broken test reaches). Called after a command was received, the wait it finds is
    // the one for that command's answer: the host reads nothing else before that answer.
    bool WaitForHostReading();

    ManualClock& GetClock() { return clock_; }

private:
    void Wake();
    Result WaitOnce(int fd, short events, std::uint64_t deadlineMs, bool reading);

    ManualClock& clock_;
    int wakeFd_ = -1;
    std::mutex mutex_;
    std::condition_variable cv_;
    bool silent_ = false;
    bool hostReading_ = false;
};
