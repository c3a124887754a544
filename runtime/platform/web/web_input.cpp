// Web input: the page's key, mouse, touch, controller and focus events, delivered by
// web_browser.js, into the shared queues, the input mapping and the key table; and the pause
// while the page lacks the focus.
#include "runtime/platform/input_mapping.h"
#include "runtime/platform/key_codes.h"
#include "runtime/platform/platform.h"
#include "runtime/platform/platform_events.h"
#include "runtime/platform/web/web_browser.h"

#include <cstring>
#include <emscripten.h>

namespace {
constexpr int32_t BUTTONS = 4; // left, right, middle, fourth

struct WebInput {
    uint8_t held[256] = {};   // 0x80 for every key down, by DirectInput code
    uint8_t tapped[256] = {}; // 0x80 for every key pressed since the last read
    int32_t buttonsHeld = 0;  // bit b: button b is down now
    int32_t buttonsTold = 0;  // bit b: the queue was last told that button b is down
};
WebInput Input;

// A button let go while the mouse was away (the pointer lock lost, the page paused) never
// reached the queue: whenever the mouse is taken again, the game hears of the release. The
// release stays owed until the button is pressed again, since the screen's focus handling may
// give the mouse back once more and drop it with the queue; a second release changes nothing.
void ReleaseButtonsLetGo()
{
    for (int32_t b = 0; b < BUTTONS; ++b) {
        int32_t bit = 1 << b;
        if ((Input.buttonsTold & bit) && !(Input.buttonsHeld & bit))
            EventsMouseButton(b + 1, 0);
    }
}
} // namespace

extern "C" {
// A key went down or up; scancode is the key table's scancode number of KeyboardEvent.code.
EMSCRIPTEN_KEEPALIVE void WebKey(int32_t scancode, int32_t down)
{
    int32_t code = KeyCodeFromScancode(scancode);
    if (code == 0)
        return;
    if (down) {
        Input.held[code] = 0x80;
        Input.tapped[code] = 0x80;
    } else {
        Input.held[code] = 0;
        EventsKeyReleased(code);
    }
}

// The page gave (1) or took away (0) the input; only while the screen is open.
EMSCRIPTEN_KEEPALIVE void WebFocus(int32_t active)
{
    if (!EventsDisplayOpen())
        return;
    if (!active) {
        // Keys let go while the page is away are never heard of.
        std::memset(Input.held, 0, sizeof Input.held);
        std::memset(Input.tapped, 0, sizeof Input.tapped);
    }
    EventsFocus(active);
}

EMSCRIPTEN_KEEPALIVE void WebMouseMotion(int32_t dx, int32_t dy)
{
    EventsMouseMotion(dx, dy);
}

// Button 0 left, 1 right, 2 middle, 3 the fourth: the queue's buttons 1 to 4.
EMSCRIPTEN_KEEPALIVE void WebMouseButton(int32_t button, int32_t down)
{
    if (button < 0 || button >= BUTTONS)
        return;
    int32_t bit = 1 << button;
    Input.buttonsHeld = down ? Input.buttonsHeld | bit : Input.buttonsHeld & ~bit;
    if (!EventsFocused())
        return;
    EventsMouseButton(button + 1, down);
    Input.buttonsTold = down ? Input.buttonsTold | bit : Input.buttonsTold & ~bit;
}

EMSCRIPTEN_KEEPALIVE void WebMouseWheel(int32_t units)
{
    if (units != 0)
        EventsMouseWheel(units);
}

// A finger (id) touched the canvas or moved on it, at x, y of the logical screen (down 1), or
// was lifted (down 0).
EMSCRIPTEN_KEEPALIVE void WebFinger(int32_t id, int32_t x, int32_t y, int32_t down)
{
    if (down)
        MapFinger(id, x, y);
    else
        MapFingerUp(id);
}

EMSCRIPTEN_KEEPALIVE void WebFingersGone()
{
    MapFingersGone();
}

// A controller's state in a slot: the left stick, the further pressed trigger, and the
// buttons as the mapping's PAD_* bits.
EMSCRIPTEN_KEEPALIVE void WebPad(int32_t slot, float stickX, float stickY, float trigger,
                                 int32_t buttons)
{
    MapPad(slot, PadState{stickX, stickY, trigger, buttons});
}

// The page's buttons for a finger: pause and play on, and end (held while down).
EMSCRIPTEN_KEEPALIVE void WebTogglePause()
{
    MapTogglePause();
}

EMSCRIPTEN_KEEPALIVE int32_t WebPaused()
{
    return MapPaused();
}

EMSCRIPTEN_KEEPALIVE void WebEndKey(int32_t down)
{
    MapEndKey(down);
}
}

// The page's listeners exist from the start; there is nothing to open or close.
int32_t PlatformInitInput()
{
    return 1;
}

void PlatformQuitInput() {}

void PlatformPumpEvents()
{
    // The events arrive as the browser delivers them. A page without the focus pauses the game
    // here, while the browser runs; the loss and the return of the focus then reach the
    // screen's message pump one after the other.
    if (EventsDisplayOpen() && !EventsFocused())
        WebWaitForFocus();
}

int32_t PlatformReadKeys(uint8_t keys[256])
{
    if (!EventsFocused())
        return 0;
    // A key pressed and let go between two reads still reads as down once: the browser hands
    // over a quick tap whole between two frames.
    for (int32_t code = 0; code < 256; ++code)
        keys[code] = Input.held[code] | Input.tapped[code];
    std::memset(Input.tapped, 0, sizeof Input.tapped);
    MapKeys(keys);
    return 1;
}

int32_t PlatformAcquireMouse()
{
    // The pointer lock itself needs a gesture of the player, so the page asks for it; the
    // mouse is the game's whenever the page has the focus.
    if (!EventsAcquireMouse())
        return 0;
    ReleaseButtonsLetGo();
    return 1;
}

void PlatformUnacquireMouse()
{
    EventsUnacquireMouse();
}

int32_t PlatformWheelGranularity()
{
    return 120;
}
