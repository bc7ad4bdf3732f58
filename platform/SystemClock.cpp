#include "platform/Clock.h"

#include <chrono>
#include <thread>

std::uint64_t SystemClock::NowMs()
{
    using namespace std::chrono;
    return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SystemClock::SleepMs(std::uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

SystemClock& SystemClock::Instance()
{
    static SystemClock clock;
    return clock;
}
