// Waits until a file descriptor is ready or a deadline on the link's clock has passed. The serial
// port waits only through this, so tests that run on a clock of their own can decide when a
// time-out has run out instead of waiting real milliseconds.
#pragma once

#include <cstdint>
#include <limits>

class FdWaiter {
public:
    enum class Result { Ready, TimedOut, Failed };

    static constexpr std::uint64_t kNoDeadline = std::numeric_limits<std::uint64_t>::max();

    virtual ~FdWaiter() = default;
    // events: POLLIN or POLLOUT. A hang-up or error on the descriptor counts as Ready, so that the
    // following read or write reports it. Failed leaves errno set.
    virtual Result Wait(int fd, short events, std::uint64_t deadlineMs) = 0;
};
