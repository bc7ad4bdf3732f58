// How much memory a piece of work needs at its peak: the work runs in a child process (a fork of
// the test), which reports the growth of its peak resident size, so what the test process used
// before does not hide it and nothing the work allocates stays behind.
#pragma once

#include <cstdint>
#include <functional>

struct PeakMemoryGrowth {
    bool ran = false;      // the child ran the work and reported
    bool result = false;   // what the work returned
    std::int64_t bytes = 0; // growth of the peak resident size while the work ran

    static PeakMemoryGrowth Of(const std::function<bool()>& work);
};
