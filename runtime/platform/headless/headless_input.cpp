// Headless keyboard and mouse: the tests' input goes straight into the platform queues.
#include "runtime/platform/headless.h"
#include "runtime/platform/headless/headless_display.h"
#include "runtime/platform/input_mapping.h"
#include "runtime/platform/platform.h"
#include "runtime/platform/platform_events.h"

#include <atomic>

namespace {
// The keys are atomic: a test may press and release them while the game polls them on
// another thread.
struct HeadlessInput {
    std::atomic<uint8_t> keys[256] = {};
};
HeadlessInput Input;
} // namespace

// The tests' input needs no device to open or close.
int32_t PlatformInitInput()
{
    return 1;
}

void PlatformQuitInput() {}

void PlatformPumpEvents() {}

int32_t PlatformReadKeys(uint8_t keys[256])
{
    if (!EventsFocused())
        return 0;
    for (int32_t i = 0; i < 256; ++i)
        keys[i] = Input.keys[i].load();
    MapKeys(keys);
    return 1;
}

int32_t PlatformAcquireMouse()
{
    return EventsAcquireMouse();
}

void PlatformUnacquireMouse()
{
    EventsUnacquireMouse();
}

int32_t PlatformWheelGranularity()
{
    return 120;
}

void HeadlessKey(int32_t scanCode, int32_t down)
{
    if (scanCode < 0 || scanCode > 255)
        return;
    // The release's window event first: a game thread that sees the key go up sees it too.
    if (!down)
        EventsKeyReleased(scanCode);
    Input.keys[scanCode].store(down ? 0x80 : 0);
}

void HeadlessMouseMove(int32_t dx, int32_t dy)
{
    EventsMouseMotion(dx, dy);
}

void HeadlessMouseButton(int32_t button, int32_t down)
{
    EventsMouseButton(button, down);
}

void HeadlessMouseWheel(int32_t delta)
{
    EventsMouseWheel(delta);
}

void HeadlessFocus(int32_t active)
{
    // A window that loses the focus sees every key go up, as the system keyboard does.
    if (!active)
        for (std::atomic<uint8_t>& key : Input.keys)
            key.store(0);
    EventsFocus(active);
    HeadlessDisplayFocus(active);
}
