#include "meter/BinarySemaphore.h"

#include <chrono>

void BinarySemaphore::Release()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        count_ = true;
    }
    cv_.notify_one();
}

bool BinarySemaphore::Wait(std::uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (!cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return count_; })) {
        return false;
    }
    count_ = false;
    return true;
}
