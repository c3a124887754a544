// The Windows clock: the tick count since the system started, the performance counter for
// pacing, and sleeps that the raised timer resolution makes precise to a millisecond.
#include "runtime/platform/system.h"

#include <windows.h>
// After windows.h, which it needs.
#include <timeapi.h>

namespace {
struct WindowsClock {
    int64_t frequency = 0; // performance counter ticks per second
    bool precise = false;  // the timer resolution is raised
};
WindowsClock Clock;
} // namespace

uint32_t SystemTicks()
{
    return uint32_t(GetTickCount64());
}

uint64_t SystemNanoseconds()
{
    if (Clock.frequency == 0) {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        Clock.frequency = frequency.QuadPart;
    }
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    uint64_t ticks = uint64_t(now.QuadPart), rate = uint64_t(Clock.frequency);
    return ticks / rate * 1000000000ull + ticks % rate * 1000000000ull / rate;
}

void SystemSleepUntil(uint64_t deadline)
{
    // Sleep takes whole milliseconds and may wake late, never early: rounded up, the wake is
    // never before the deadline.
    for (uint64_t now = SystemNanoseconds(); now < deadline; now = SystemNanoseconds())
        Sleep(DWORD((deadline - now + 999999) / 1000000));
}

void SystemPreciseSleep(bool on)
{
    if (on == Clock.precise)
        return;
    if (on)
        timeBeginPeriod(1);
    else
        timeEndPeriod(1);
    Clock.precise = on;
}
