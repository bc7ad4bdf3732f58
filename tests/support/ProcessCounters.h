// What this process has read and held, from /proc/self: a test shows that a file was refused
// without being read whole (few bytes read, little memory taken) instead of timing it.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

namespace ProcessCounters {

// The value of "name:" in a /proc/self file, or -1 where the system does not tell it.
inline long long Field(const char* file, const std::string& name)
{
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(name + ":", 0) == 0) return std::atoll(line.c_str() + name.size() + 1);
    }
    return -1;
}

// Bytes this process has read through read calls so far.
inline long long BytesRead()
{
    return Field("/proc/self/io", "rchar");
}

// Peak resident memory in KiB since the last ResetPeakMemory.
inline long long PeakMemoryKb()
{
    return Field("/proc/self/status", "VmHWM");
}

// Sets the peak to what the process holds now; false where the system cannot.
inline bool ResetPeakMemory()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return clear.good();
}

} // namespace ProcessCounters
