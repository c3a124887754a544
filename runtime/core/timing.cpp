// Timing goes through the platform, so that the headless platform can run a virtual clock.
#include "runtime/core/timing.h"

#include "runtime/platform/platform.h"

uint32_t ElapsedMilliseconds()
{
    return PlatformTicks();
}

void Delay(int32_t milliseconds)
{
    if (milliseconds > 0)
        PlatformSleep(static_cast<uint32_t>(milliseconds));
}
