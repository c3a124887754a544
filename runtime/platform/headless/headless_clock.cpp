// The headless clock: virtual milliseconds, so that tests never wait and always agree.
#include "runtime/platform/headless.h"
#include "runtime/platform/platform.h"

namespace {
struct HeadlessClock {
    uint32_t now = 1000;
};
HeadlessClock Clock;
} // namespace

uint32_t PlatformTicks()
{
    return Clock.now;
}

void PlatformSleep(uint32_t milliseconds)
{
    Clock.now += milliseconds;
}

void HeadlessAdvanceClock(uint32_t milliseconds)
{
    Clock.now += milliseconds;
}
