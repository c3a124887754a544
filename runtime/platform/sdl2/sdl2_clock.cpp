// The desktop's clock: the system's milliseconds since it started, and sleeps on its clock.
#include "runtime/platform/platform.h"
#include "runtime/platform/system.h"

uint32_t PlatformTicks()
{
    return SystemTicks();
}

void PlatformSleep(uint32_t milliseconds)
{
    SystemSleepUntil(SystemNanoseconds() + uint64_t(milliseconds) * 1000000u);
}
