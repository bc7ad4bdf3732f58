// The real command signal: a mutex and condition variable holding a count of 0 or 1; waits run out
// on the steady clock.
#pragma once

#include "meter/CommandSemaphore.h"

#include <condition_variable>
#include <mutex>

class BinarySemaphore final : public CommandSemaphore {
public:
    void Release() override;
    bool Wait(std::uint32_t timeoutMs) override;

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool count_ = true; // starts at 1, as the queue's semaphore does
};
