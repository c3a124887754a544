// The thin platform interface: the only calls the runtime makes to the system beneath it.
// Three backends implement it and one is linked: SDL2 for the desktop game, web for the browser
// game, headless for the tests.
// Nothing here prints, throws or exits; every failure is a result.
#pragma once
#include <cstdint>

// ---- Clock ----

// Milliseconds of a monotonic clock since boot (headless: a virtual clock that only sleeping
// and the tests move).
uint32_t PlatformTicks();
// Sleeps that many milliseconds (headless: advances the virtual clock at once).
void PlatformSleep(uint32_t milliseconds);

// ---- Display ----

// Takes one reference on the display system and makes the hidden window that owns the
// display. 1 on success, 0 when there is no display to talk to.
int32_t PlatformInitDisplay();
// Drops the reference; the last one closes the window and the display system.
void PlatformQuitDisplay();
// Shows the window full-screen on the desktop with a logical screen of width x height pixels,
// scaled to fit with its aspect kept and black bars, the system cursor hidden, and shows one
// black frame. The title is UTF-8. 1 on success, 0 on failure (nothing stays open).
int32_t PlatformOpenDisplay(int32_t width, int32_t height, const char* title);
// Hides the window again and shows the cursor; does nothing when no display is open.
void PlatformCloseDisplay();
// The monitor's refresh rate in Hz, 0 when unknown.
int32_t PlatformDisplayRefreshRate();

constexpr int32_t PRESENT_FAILED = 0;
constexpr int32_t PRESENT_SHOWN = 1;
constexpr int32_t PRESENT_LOST = -1;
// Shows a finished frame of the open display's size: rows of 32-bit pixels 0x??RRGGBB (the top
// byte is ignored), pitch bytes apart. With a rate above 0 the call waits for the vertical
// blank where the driver offers it and never returns sooner than 1/rate seconds after the
// previous paced present; with 0 it shows at once. PRESENT_LOST when the display lost its
// contents (the focus went away, or the device was reset) and must be restored first.
int32_t PlatformPresent(const uint8_t* pixels, int32_t pitch, int32_t rate);
// Brings a lost display back: full-screen again, its texture made anew. 1 on success.
int32_t PlatformRestoreDisplay();

// ---- Window events (the screen's message pump) ----

// Moves the system's pending events into the platform's queues (window events, mouse events,
// key table). Cheap when nothing is pending.
void PlatformPumpEvents();

constexpr int32_t WINDOW_FOCUS_GAINED = 1;
constexpr int32_t WINDOW_FOCUS_LOST = 2;
constexpr int32_t WINDOW_KEY_RELEASED = 3; // keyCode: the released key's DirectInput code
constexpr int32_t WINDOW_CLOSE_REQUESTED = 4;
struct PlatformWindowEvent {
    int32_t kind = 0;
    int32_t keyCode = 0;
};
// Takes the oldest pending window event: 1, or 0 when there is none.
int32_t PlatformNextWindowEvent(PlatformWindowEvent* event);

// ---- Keyboard ----

// Key codes are DirectInput key codes (1 Escape, 25 P, 31 S, ...) everywhere above the
// platform; the SDL backend maps SDL scancodes to them through KeyCodeFromScancode.

// Takes one reference on the input system. 1 on success, 0 when there is none.
int32_t PlatformInitInput();
void PlatformQuitInput();
// Fills keys[code] with 0x80 for every key down and 0 for every other key. 0 (keys untouched)
// while the display does not have the input focus.
int32_t PlatformReadKeys(uint8_t keys[256]);

// ---- Mouse ----

// One buffered mouse event, as the game's input layer knows them: what changed, by the offset
// of its field in the device's state record, and the motion or the button's state.
struct PlatformMouseEvent {
    int32_t offset = 0;
    int32_t value = 0;
};
constexpr int32_t MOUSE_OFFSET_X = 0;     // relative motion in x
constexpr int32_t MOUSE_OFFSET_Y = 4;     // relative motion in y
constexpr int32_t MOUSE_OFFSET_WHEEL = 8; // wheel motion in device units
// Buttons 1 (left), 2 (right), 3 (middle) and 4 at offsets 12 to 15, valued MOUSE_BUTTON_DOWN
// while down and 0 when up.
constexpr int32_t MouseButtonOffset(int32_t button)
{
    return 11 + button;
}
constexpr int32_t MOUSE_BUTTON_DOWN = 0x80;
constexpr int32_t MOUSE_NOT_ACQUIRED = -1;
constexpr int32_t MOUSE_OVERFLOW = -2;
// Takes the mouse: relative motion from now on, no system cursor. 0 while no display is open
// or it lacks the focus.
int32_t PlatformAcquireMouse();
// Gives the mouse back to the system and drops the pending events.
void PlatformUnacquireMouse();
// Where the mouse's reader keeps its cursor before a read: its position, the size of the
// screen it keeps it in, and whether it has the left button down. Touch and controllers aim
// the cursor from there (runtime/platform/input_mapping.h).
struct PlatformCursor {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t leftButton = 0;
};
// Takes the pending events, oldest first, and returns their number. MOUSE_NOT_ACQUIRED when
// the mouse is not acquired (never, given back, or lost with the focus); MOUSE_OVERFLOW when
// more than capacity events were pending: then all of them are dropped.
int32_t PlatformReadMouse(PlatformMouseEvent* events, int32_t capacity,
                          const PlatformCursor& cursor);
// Wheel device units per notch.
int32_t PlatformWheelGranularity();

// ---- Audio ----

// Opens the default audio output. 1 on success; 0 at once when there is no device.
int32_t PlatformOpenAudio();
void PlatformCloseAudio();

// ---- Messages ----

// Shows a message in a box of the system's own and waits until the person closes it: for a
// failure where nobody watches a console. The texts are UTF-8. 1 when it was shown; 0 when
// there is nothing to show it on (no graphical session, or a display that shows nothing).
int32_t PlatformShowMessage(const char* title, const char* text);
