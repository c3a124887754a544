// The keyboard device's state machine and its key table.
#include "runtime/input/keyboard.h"
#include "runtime/input/input_device.h"
#include "runtime/platform/platform.h"

#include <cstring>

namespace {
struct KeyboardDevice {
    uint8_t keyState[256] = {};
    int32_t keyboardState = NO_DEVICE;
};
KeyboardDevice Keyboard;
} // namespace

int32_t InitKeyboard()
{
    if (Keyboard.keyboardState != NO_DEVICE)
        return 1;
    if (!PlatformInitInput())
        return 0;
    std::memset(Keyboard.keyState, 0, sizeof Keyboard.keyState);
    Keyboard.keyboardState = TO_ACQUIRE;
    return 1;
}

int32_t PollKeyboard()
{
    if (Keyboard.keyboardState == NO_DEVICE)
        return 0;
    // The system keyboard needs no acquiring: reading it succeeds exactly while the window has
    // the focus, which is when an acquired foreground device could be read.
    Keyboard.keyboardState = ACQUIRED;
    PlatformPumpEvents();
    if (PlatformReadKeys(Keyboard.keyState))
        return 1;
    Keyboard.keyboardState = TO_ACQUIRE;
    return 0;
}

int32_t KeyDown(int32_t code)
{
    if (Keyboard.keyboardState != ACQUIRED)
        return 0;
    if (code == -1) {
        for (int32_t i = 0; i < 255; ++i)
            if (Keyboard.keyState[i] & 0x80)
                return 1;
        return 0;
    }
    if (code < 0 || code > 255)
        return 0;
    return Keyboard.keyState[code] & 0x80 ? 128 : 0;
}

void ReleaseKeyboard()
{
    if (Keyboard.keyboardState == NO_DEVICE)
        return;
    Keyboard.keyboardState = NO_DEVICE;
    PlatformQuitInput();
}
