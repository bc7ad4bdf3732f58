// A command signal for worker tests: a wait never runs out by itself. It ends when a command is
// posted (Release) or when the test lets the pending wait run out (Expire), as if its whole
// time-out had passed. Tests can also wait until the worker sits idle in a wait.
#pragma once

#include "meter/CommandSemaphore.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>

class ManualSemaphore final : public CommandSemaphore {
public:
    void Release() override;
    bool Wait(std::uint32_t timeoutMs) override;

    // Lets the wait in progress (or the next one) run out.
    void Expire();
    // Blocks until a wait is in progress with no count to take; false after the real-time limit.
    bool WaitUntilIdle(std::uint32_t limitMs = 10000);
    // Waits that ran out, and the time-out the last wait was given.
    int TimeoutCount() const;
    std::uint32_t LastTimeoutMs() const;
    int WaitCount() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    bool count_ = true;
    int expire_ = 0;
    bool waiting_ = false;
    int timeouts_ = 0;
    int waits_ = 0;
    std::uint32_t lastTimeout_ = 0;
};
