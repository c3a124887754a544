// The system clock: the monotonic time since boot and a precise sleep.
#include "runtime/platform/platform.h"

#include <cerrno>
#include <ctime>

uint32_t PlatformTicks()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t ms = uint64_t(now.tv_sec) * 1000u + uint64_t(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

void PlatformSleep(uint32_t milliseconds)
{
    timespec wait{static_cast<time_t>(milliseconds / 1000),
                  static_cast<long>(milliseconds % 1000) * 1000000L};
    while (clock_nanosleep(CLOCK_MONOTONIC, 0, &wait, &wait) == EINTR) {
    }
}
