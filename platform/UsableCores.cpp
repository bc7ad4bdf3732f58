#include "platform/UsableCores.h"

#include <algorithm>
#include <thread>

#include <sched.h>

int UsableCoreCount()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        const int count = CPU_COUNT(&set);
        if (count > 0)
            return count;
    }
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}
