#include "tests/support/SimulatedLineWaiter.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

SimulatedLineWaiter::SimulatedLineWaiter(ManualClock& clock) : clock_(clock)
{
    wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

SimulatedLineWaiter::~SimulatedLineWaiter()
{
    if (wakeFd_ >= 0) {
        ::close(wakeFd_);
    }
}

void SimulatedLineWaiter::Wake()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

void SimulatedLineWaiter::DeclareSilence()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        silent_ = true;
    }
    Wake();
}

void SimulatedLineWaiter::AdvanceClock(std::uint64_t ms)
{
    clock_.Advance(ms);
    Wake();
}

bool SimulatedLineWaiter::WaitForHostReading()
{
    std::unique_lock<std::mutex> lock(mutex_);
    return cv_.wait_for(lock, std::chrono::seconds(30), [this] { return hostReading_; });
}

FdWaiter::Result SimulatedLineWaiter::Wait(int fd, short events, std::uint64_t deadlineMs)
{
    const bool reading = (events & POLLIN) != 0;
    if (!reading) {
        return WaitOnce(fd, events, deadlineMs, false);
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        hostReading_ = true;
        cv_.notify_all();
    }
    const Result result = WaitOnce(fd, events, deadlineMs, true);
    std::lock_guard<std::mutex> lock(mutex_);
    hostReading_ = false;
    return result;
}

FdWaiter::Result SimulatedLineWaiter::WaitOnce(int fd, short events, std::uint64_t deadlineMs, bool reading)
{
    for (;;) {
        // The clock first: bytes that arrived after the deadline came too late.
        if (deadlineMs != kNoDeadline && clock_.NowMs() >= deadlineMs) {
            return Result::TimedOut;
        }
        pollfd now{fd, events, 0};
        const int r = ::poll(&now, 1, 0);
        if (r > 0) {
            return Result::Ready;
        }
        if (r < 0 && errno != EINTR) {
            return Result::Failed;
        }
        if (reading && deadlineMs != kNoDeadline) {
            std::lock_guard<std::mutex> lock(mutex_);
            if (silent_) {
                silent_ = false;
                const std::uint64_t t = clock_.NowMs();
                if (deadlineMs > t) {
                    clock_.Advance(deadlineMs - t);
                }
                return Result::TimedOut;
            }
        }
        pollfd both[2] = {{fd, events, 0}, {wakeFd_, POLLIN, 0}};
        if (::poll(both, 2, -1) < 0 && errno != EINTR) {
            return Result::Failed;
        }
        if (both[1].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &count, sizeof count);
        }
    }
}
