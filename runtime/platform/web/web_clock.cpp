// The browser's clock: the page's monotonic milliseconds, and sleeping that lets the browser run.
#include "runtime/platform/platform.h"
#include "runtime/platform/web/web_browser.h"

#include <emscripten.h>

uint32_t PlatformTicks()
{
    // Milliseconds since 1970 rather than since the page loaded, so that the random generator,
    // which seeds itself from this clock, does not start alike on every load.
    return static_cast<uint32_t>(static_cast<uint64_t>(WebClockMilliseconds()));
}

void PlatformSleep(uint32_t milliseconds)
{
    emscripten_sleep(milliseconds);
}
