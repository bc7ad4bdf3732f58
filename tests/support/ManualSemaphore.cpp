#include "tests/support/ManualSemaphore.h"

#include <chrono>

void ManualSemaphore::Release()
{
    std::lock_guard<std::mutex> lock(mutex_);
    count_ = true;
    cv_.notify_all();
}

bool ManualSemaphore::Wait(std::uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    ++waits_;
    lastTimeout_ = timeoutMs;
    waiting_ = true;
    cv_.notify_all();
    cv_.wait(lock, [this] { return count_ || expire_ > 0; });
    waiting_ = false;
    if (count_) {
        count_ = false;
        return true;
    }
    --expire_;
    ++timeouts_;
    return false;
}

void ManualSemaphore::Expire()
{
    std::lock_guard<std::mutex> lock(mutex_);
    ++expire_;
    cv_.notify_all();
}

bool ManualSemaphore::WaitUntilIdle(std::uint32_t limitMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return cv_.wait_for(lock, std::chrono::milliseconds(limitMs),
                        [this] { return waiting_ && !count_ && expire_ == 0; });
}

int ManualSemaphore::TimeoutCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return timeouts_;
}

std::uint32_t ManualSemaphore::LastTimeoutMs() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return lastTimeout_;
}

int ManualSemaphore::WaitCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return waits_;
}
