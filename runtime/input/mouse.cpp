// The mouse device: acquisition, the 24-event buffer, summing and clamping.
#include "runtime/input/mouse.h"
#include "runtime/input/input_device.h"
#include "runtime/input/mouse_internal.h"
#include "runtime/platform/platform.h"

#include <cstdint>

namespace {
constexpr int32_t BUFFER_EVENTS = 24;

struct MouseDevice {
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    int32_t deltaX = 0;
    int32_t deltaY = 0;
    int32_t wheelDelta = 0;
    int32_t button1 = 0;
    int32_t button2 = 0;
    int32_t button3 = 0;
    int32_t wheelGranularity = 1;
    int32_t mouseState = NO_DEVICE;
    int32_t mouseReleased = 0;
    int32_t screenWidth = 0; // as the screen last told
    int32_t screenHeight = 0;
    int32_t screenActive = 0;
    PlatformMouseEvent events[BUFFER_EVENTS];
};
MouseDevice Mouse;

// Sums wrap modulo 2^32, as every integer of the runtime does.
int32_t WrappingAdd(int32_t a, int32_t b)
{
    return int32_t(uint32_t(a) + uint32_t(b));
}

void ApplyEvent(const PlatformMouseEvent& event)
{
    int32_t down = event.value & MOUSE_BUTTON_DOWN ? 1 : 0;
    switch (event.offset) {
    case MOUSE_OFFSET_X:
        Mouse.deltaX = WrappingAdd(Mouse.deltaX, event.value);
        break;
    case MOUSE_OFFSET_Y:
        Mouse.deltaY = WrappingAdd(Mouse.deltaY, event.value);
        break;
    case MOUSE_OFFSET_WHEEL:
        Mouse.wheelDelta = WrappingAdd(Mouse.wheelDelta, event.value);
        break;
    case MouseButtonOffset(1):
        Mouse.button1 = down;
        break;
    case MouseButtonOffset(2):
        Mouse.button2 = down;
        break;
    case MouseButtonOffset(3):
        Mouse.button3 = down;
        break;
    default:
        break;
    }
}

// Summed in 64 bits, so that a position far outside (SetMousePosition) cannot wrap around.
int32_t Clamp(int32_t position, int32_t delta, int32_t size)
{
    int64_t sum = int64_t(position) + delta;
    if (sum < 0)
        return 0;
    if (sum >= size)
        return size - 1;
    return int32_t(sum);
}

void Acquire()
{
    if (!PlatformAcquireMouse())
        return;
    Mouse.mouseState = ACQUIRED;
    int32_t granularity = PlatformWheelGranularity();
    Mouse.wheelGranularity = granularity > 0 ? granularity : 1;
}
} // namespace

int32_t InitMouse()
{
    if (Mouse.mouseState == NO_DEVICE && !PlatformInitInput())
        return 0;
    Mouse.mouseState = TO_ACQUIRE;
    Mouse.mouseReleased = 0;
    return 1;
}

int32_t PollMouse()
{
    Mouse.deltaX = Mouse.deltaY = Mouse.wheelDelta = 0;
    if (Mouse.mouseState == NO_DEVICE)
        return 0;
    if (Mouse.mouseReleased || !Mouse.screenActive) {
        PlatformUnacquireMouse();
        return 0;
    }
    if (Mouse.mouseState == TO_ACQUIRE)
        Acquire();
    PlatformPumpEvents();
    PlatformCursor cursor{Mouse.mouseX, Mouse.mouseY, Mouse.screenWidth, Mouse.screenHeight,
                          Mouse.button1};
    int32_t count = PlatformReadMouse(Mouse.events, BUFFER_EVENTS, cursor);
    if (count == MOUSE_OVERFLOW) {
        Mouse.button1 = Mouse.button2 = 0;
        return 0;
    }
    if (count < 0) {
        if (Mouse.screenActive)
            PlatformAcquireMouse();
        return 0;
    }
    for (int32_t i = 0; i < count; ++i)
        ApplyEvent(Mouse.events[i]);
    Mouse.mouseX = Clamp(Mouse.mouseX, Mouse.deltaX, Mouse.screenWidth);
    Mouse.mouseY = Clamp(Mouse.mouseY, Mouse.deltaY, Mouse.screenHeight);
    return 1;
}

int32_t MouseX()
{
    return Mouse.mouseX;
}

int32_t MouseY()
{
    return Mouse.mouseY;
}

int32_t MouseDeltaX()
{
    return Mouse.deltaX;
}

int32_t MouseDeltaY()
{
    return Mouse.deltaY;
}

int32_t MouseWheel()
{
    int32_t granularity = Mouse.wheelGranularity != 0 ? Mouse.wheelGranularity : 1;
    return Mouse.wheelDelta / granularity;
}

int32_t MouseButton(int32_t button)
{
    switch (button) {
    case 1:
        return Mouse.button1;
    case 2:
        return Mouse.button2;
    case 3:
        return Mouse.button3;
    default:
        return 0;
    }
}

void SetMousePosition(int32_t x, int32_t y)
{
    Mouse.mouseX = x;
    Mouse.mouseY = y;
}

void ReleaseMouse(int32_t release)
{
    if (release != 1) {
        Mouse.mouseReleased = 0;
        return;
    }
    Mouse.mouseReleased = 1;
    if (Mouse.mouseState != NO_DEVICE)
        Mouse.mouseState = TO_ACQUIRE;
    PlatformUnacquireMouse();
}

void ReleaseMouseDevice()
{
    if (Mouse.mouseState == NO_DEVICE)
        return;
    PlatformUnacquireMouse();
    PlatformQuitInput();
    // What the device reported goes with it: a device made anew starts as the first one did,
    // not with a button held whose release no device was there to see. What the screen told
    // stays true.
    int32_t width = Mouse.screenWidth, height = Mouse.screenHeight, active = Mouse.screenActive;
    Mouse = MouseDevice{};
    SetMouseScreen(width, height, active);
}

void SetMouseScreen(int32_t width, int32_t height, int32_t active)
{
    Mouse.screenWidth = width;
    Mouse.screenHeight = height;
    Mouse.screenActive = active;
}
