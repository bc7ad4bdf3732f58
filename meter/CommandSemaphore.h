// The command queue's wake-up signal: a semaphore of count at most 1. A release while the count is
// already 1 changes nothing; a wait takes the count or gives up after the time-out. Abstract so that
// tests can decide when a wait runs out instead of waiting real seconds.
#pragma once

#include <cstdint>

class CommandSemaphore {
public:
    virtual ~CommandSemaphore() = default;
    virtual void Release() = 0;
    // TRUE when the count was taken, false when the time-out ran out first.
    virtual bool Wait(std::uint32_t timeoutMs) = 0;
};
