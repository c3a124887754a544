// SDL2 input: the event pump, the key table through the scancode mapping, relative mouse mode,
// and fingers and controllers through the input mapping. In a window the close request and
// Alt+F4 hold Escape down, so the game ends as if the player had pressed it; full-screen, the
// request is ignored and the game alone decides when to end. Alt+Enter switches between the
// two.
#include "runtime/platform/input_mapping.h"
#include "runtime/platform/key_codes.h"
#include "runtime/platform/platform.h"
#include "runtime/platform/platform_events.h"
#include "runtime/platform/sdl2/sdl2_display.h"

#include <SDL.h>
#include <cmath>
#include <cstring>

static_assert(SDL_SCANCODE_ESCAPE == 41 && SDL_SCANCODE_P == 19 && SDL_SCANCODE_S == 22 &&
                  SDL_SCANCODE_TAB == 43 && SDL_SCANCODE_LALT == 226 && SDL_SCANCODE_RALT == 230 &&
                  SDL_SCANCODE_KP_0 == 98 && SDL_SCANCODE_AUDIONEXT == 258 &&
                  SDL_SCANCODE_SLEEP == 282 && SDL_NUM_SCANCODES == 512,
              "the scancode table is written in SDL's scancode numbers");

namespace {
struct Sdl2Input {
    int32_t references = 0;
    int32_t closeRequested = 0; // windowed: Escape reads as held from now on
    int32_t mouseTaken = 0;     // the game holds the mouse (relative, or following a pointer)
    int32_t noRelativeMode = 0; // the display has no relative mode (SDL's dummy one on Windows)
};
Sdl2Input Input;

// An absolute pointer is followed by its position, which SDL gives outside its relative mode
// (there it would take the positions for motion); a mouse by its relative motion, unless the
// display has no relative mode, where the mouse too is followed where it points.
bool PointerAbsolute()
{
    return Sdl2Options().absolutePointer || Input.noRelativeMode || Sdl2PointerIsAbsolute();
}

void HandleMotion(const SDL_MouseMotionEvent& motion)
{
    if (motion.which == SDL_TOUCH_MOUSEID)
        return;
    if (!PointerAbsolute())
        EventsMouseMotion(motion.xrel, motion.yrel);
    else if (!SDL_GetRelativeMouseMode())
        MapPointerAt(motion.x, motion.y);
}

// The mouse the game holds follows the kind of pointer that moved last.
void FollowPointerKind()
{
    SDL_bool relative = PointerAbsolute() ? SDL_FALSE : SDL_TRUE;
    if (Input.mouseTaken && EventsFocused() && SDL_GetRelativeMouseMode() != relative)
        SDL_SetRelativeMouseMode(relative);
}

void HandleWindowEvent(const SDL_WindowEvent& event)
{
    if (event.windowID != Sdl2WindowId())
        return;
    switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        EventsFocus(1);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        EventsFocus(0);
        // A window keeps its contents; only the full-screen display must be restored.
        if (!Sdl2Windowed())
            Sdl2DisplayLost();
        break;
    case SDL_WINDOWEVENT_CLOSE:
        EventsCloseRequested();
        if (Sdl2Windowed())
            Input.closeRequested = 1;
        break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        Sdl2Repaint();
        break;
    default:
        break;
    }
}

// The queue's button number of an SDL button; 0 for buttons the mouse operations lack.
int32_t ButtonNumber(uint8_t button)
{
    switch (button) {
    case SDL_BUTTON_LEFT:
        return 1;
    case SDL_BUTTON_RIGHT:
        return 2;
    case SDL_BUTTON_MIDDLE:
        return 3;
    case SDL_BUTTON_X1:
        return 4;
    default:
        return 0;
    }
}

void HandleKeyDown(const SDL_KeyboardEvent& key)
{
    if (key.repeat)
        return;
    if (key.keysym.scancode == SDL_SCANCODE_F12)
        Sdl2RequestScreenshot();
    // Alt+Enter switches between a window and the whole desktop, as players expect on a PC.
    // Both keys still reach the key table as any key does: the game gives neither a meaning.
    if ((key.keysym.scancode == SDL_SCANCODE_RETURN ||
         key.keysym.scancode == SDL_SCANCODE_KP_ENTER) &&
        (key.keysym.mod & KMOD_ALT))
        Sdl2SwitchWindowed();
    // Alt+F4 is the window manager's close request; without one, the window makes it itself.
    if (key.keysym.scancode == SDL_SCANCODE_F4 && (key.keysym.mod & KMOD_ALT) && Sdl2Windowed())
        Input.closeRequested = 1;
}

// A finger on a touch screen, in parts of the picture's size. The mouse events that SDL makes
// up for it are left aside: the finger speaks for itself.
void HandleFinger(const SDL_TouchFingerEvent& finger, bool lifted)
{
    int32_t x = 0, y = 0;
    if (lifted)
        MapFingerUp(finger.fingerId);
    else if (Sdl2PictureToLogical(finger.x, finger.y, x, y))
        MapFinger(finger.fingerId, x, y);
}

void HandleEvent(const SDL_Event& event)
{
    if (Sdl2ControllerEvent(event))
        return;
    switch (event.type) {
    case SDL_KEYDOWN:
        HandleKeyDown(event.key);
        break;
    case SDL_WINDOWEVENT:
        HandleWindowEvent(event.window);
        break;
    case SDL_KEYUP:
        if (int32_t code = KeyCodeFromScancode(event.key.keysym.scancode))
            EventsKeyReleased(code);
        break;
    case SDL_MOUSEMOTION:
        HandleMotion(event.motion);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (event.button.which != SDL_TOUCH_MOUSEID)
            EventsMouseButton(ButtonNumber(event.button.button), event.type == SDL_MOUSEBUTTONDOWN);
        break;
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP:
        HandleFinger(event.tfinger, event.type == SDL_FINGERUP);
        break;
    case SDL_MOUSEWHEEL: {
        float notches = event.wheel.preciseY;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        if (int32_t units = int32_t(std::lround(notches * 120.0f)))
            EventsMouseWheel(units);
        break;
    }
    case SDL_RENDER_DEVICE_RESET:
        Sdl2DisplayLost();
        break;
    default:
        // SDL_QUIT among them: the window cannot be closed from outside.
        break;
    }
}
} // namespace

int32_t PlatformInitInput()
{
    Sdl2PrepareHints();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) < 0)
        return 0;
    ++Input.references;
    // Without controllers the keyboard and the mouse still play.
    Sdl2OpenControllers();
    return 1;
}

void PlatformQuitInput()
{
    if (Input.references == 0)
        return;
    --Input.references;
    Sdl2CloseControllers();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void PlatformPumpEvents()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return;
    SDL_Event event;
    while (SDL_PollEvent(&event))
        HandleEvent(event);
    FollowPointerKind();
}

int32_t PlatformReadKeys(uint8_t keys[256])
{
    if (!EventsFocused()) {
        // Nothing is presented without the focus, so nothing else paces the game's passes:
        // the keyboard, read once a pass, waits for the frame time instead.
        if (EventsDisplayOpen())
            Sdl2WaitFrame();
        if (!Input.closeRequested)
            return 0;
        std::memset(keys, 0, 256);
        keys[KEY_ESCAPE] = 0x80;
        return 1;
    }
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    std::memset(keys, 0, 256);
    for (int scancode = 0; scancode < count; ++scancode)
        if (state[scancode])
            if (int32_t code = KeyCodeFromScancode(scancode))
                keys[code] = 0x80;
    MapKeys(keys);
    if (Input.closeRequested)
        keys[KEY_ESCAPE] = 0x80;
    return 1;
}

int32_t PlatformAcquireMouse()
{
    if (!EventsAcquireMouse())
        return 0;
    if (!PointerAbsolute() && SDL_SetRelativeMouseMode(SDL_TRUE) < 0)
        Input.noRelativeMode = 1;
    if (PointerAbsolute() && SDL_SetRelativeMouseMode(SDL_FALSE) < 0) {
        EventsUnacquireMouse();
        return 0;
    }
    Input.mouseTaken = 1;
    return 1;
}

void PlatformUnacquireMouse()
{
    Input.mouseTaken = 0;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_SetRelativeMouseMode(SDL_FALSE);
    EventsUnacquireMouse();
}

int32_t PlatformWheelGranularity()
{
    return 120;
}
