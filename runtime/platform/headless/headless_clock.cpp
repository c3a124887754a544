// The headless clock: virtual milliseconds, so that tests never wait and always agree.
#include "runtime/platform/headless.h"
#include "runtime/platform/platform.h"

#include <atomic>

namespace {
// Atomic: a test may read the clock or move it on while the game sleeps on another thread.
struct HeadlessClock {
    std::atomic<uint32_t> now{1000};
};
HeadlessClock Clock;
} // namespace

uint32_t PlatformTicks()
{
    return Clock.now.load();
}

void PlatformSleep(uint32_t milliseconds)
{
    Clock.now.fetch_add(milliseconds);
}

void HeadlessAdvanceClock(uint32_t milliseconds)
{
    Clock.now.fetch_add(milliseconds);
}
