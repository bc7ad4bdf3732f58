#include "tests/support/PeakMemoryGrowth.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::int64_t PeakResidentBytes()
{
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::int64_t>(usage.ru_maxrss) * 1024; // kilobytes on Linux
}

} // namespace

PeakMemoryGrowth PeakMemoryGrowth::Of(const std::function<bool()>& work)
{
    PeakMemoryGrowth out;
    int fds[2];
    if (::pipe(fds) != 0) return out;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return out;
    }
    if (child == 0) {
        ::close(fds[0]);
        // A forked child starts with its peak at its present size.
        const std::int64_t before = PeakResidentBytes();
        const std::int64_t report[2] = {work() ? 1 : 0, PeakResidentBytes() - before};
        const ssize_t written = ::write(fds[1], report, sizeof report);
        ::_exit(written == static_cast<ssize_t>(sizeof report) ? 0 : 1);
    }
    ::close(fds[1]);
    std::int64_t report[2] = {0, 0};
    std::size_t got = 0;
    while (got < sizeof report) {
        const ssize_t n = ::read(fds[0], reinterpret_cast<char*>(report) + got, sizeof report - got);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (got == sizeof report && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        out.ran = true;
        out.result = report[0] != 0;
        out.bytes = report[1];
    }
    return out;
}
