#include "platform/PollFdWaiter.h"

#include <cerrno>
#include <poll.h>

FdWaiter::Result PollFdWaiter::Wait(int fd, short events, std::uint64_t deadlineMs)
{
    for (;;) {
        int timeoutMs = -1;
        if (deadlineMs != kNoDeadline) {
            const std::uint64_t now = clock_.NowMs();
            if (now >= deadlineMs) {
                return Result::TimedOut;
            }
            const std::uint64_t left = deadlineMs - now;
            timeoutMs = left > 60000 ? 60000 : static_cast<int>(left);
        }
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, timeoutMs);
        if (r > 0) {
            return Result::Ready;
        }
        if (r < 0 && errno != EINTR) {
            return Result::Failed;
        }
        // Time-out slice or signal: the clock decides whether the deadline has passed.
    }
}
