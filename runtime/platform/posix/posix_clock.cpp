// The POSIX clock: the monotonic time since boot and sleeps to an absolute time on it.
#include "runtime/platform/system.h"

#include <cerrno>
#include <ctime>

uint32_t SystemTicks()
{
    return static_cast<uint32_t>(SystemNanoseconds() / 1000000u);
}

uint64_t SystemNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return uint64_t(now.tv_sec) * 1000000000ull + uint64_t(now.tv_nsec);
}

void SystemSleepUntil(uint64_t deadline)
{
    timespec wake{static_cast<time_t>(deadline / 1000000000ull),
                  static_cast<long>(deadline % 1000000000ull)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR) {
    }
}

void SystemPreciseSleep(bool) {}
