// The worker's command queue: first in, first out, guarded by its own mutex, with a semaphore of
// count at most 1 that every push releases. The semaphore only says that something may have been
// pushed; Pop looks at the queue under the mutex before every wait, so pushes made while the count
// is already 1 are not lost and a burst is taken one record per call without waiting.
#pragma once

#include "meter/BinarySemaphore.h"
#include "meter/CommandSemaphore.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

template <typename T>
class CThreadMsgQueue {
public:
    explicit CThreadMsgQueue(std::unique_ptr<CommandSemaphore> semaphore = nullptr)
        : semaphore_(semaphore ? std::move(semaphore) : std::make_unique<BinarySemaphore>())
    {
    }
    virtual ~CThreadMsgQueue() = default; // records still queued are freed with the deque
    CThreadMsgQueue(const CThreadMsgQueue&) = delete;
    CThreadMsgQueue& operator=(const CThreadMsgQueue&) = delete;

    void Push(std::unique_ptr<T> record)
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            queue_.push_back(std::move(record));
        }
        semaphore_->Release();
    }

    // The front record, or null when the queue stayed empty for timeoutMs.
    std::unique_ptr<T> Pop(std::uint32_t timeoutMs)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        while (queue_.empty()) {
            lock.unlock();
            if (!semaphore_->Wait(timeoutMs)) {
                return nullptr;
            }
            lock.lock();
        }
        std::unique_ptr<T> front = std::move(queue_.front());
        queue_.pop_front();
        return front;
    }

    // The front record if there is one; never waits.
    std::unique_ptr<T> TryPop()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (queue_.empty()) {
            return nullptr;
        }
        std::unique_ptr<T> front = std::move(queue_.front());
        queue_.pop_front();
        return front;
    }

private:
    std::deque<std::unique_ptr<T>> queue_;
    std::mutex mutex_;
    std::unique_ptr<CommandSemaphore> semaphore_;
};
