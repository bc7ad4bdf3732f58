// The ordinary FdWaiter: poll(2) for the time left until the deadline on the given clock.
#pragma once

#include "platform/Clock.h"
#include "platform/FdWaiter.h"

class PollFdWaiter final : public FdWaiter {
public:
    explicit PollFdWaiter(Clock& clock) : clock_(clock) {}
    Result Wait(int fd, short events, std::uint64_t deadlineMs) override;

private:
    Clock& clock_;
};
