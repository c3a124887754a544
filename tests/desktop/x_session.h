// A virtual X screen of its own for a test (Xvfb on a free display, 1024 x 768 x 24, set as
// DISPLAY for the programs the test starts), and what a test does on it as a window manager or
// a player would: find the game's window, ask it to close, read its properties, press keys.
#pragma once
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

// Xlib's names (None, Bool, Window, ...) are macros and types that clash with the test
// framework's, so this header speaks of them only as these.
struct _XDisplay;
using WindowId = unsigned long;

struct XSession {
    pid_t server = -1;
    _XDisplay* display = nullptr;
    std::string name; // ":N"

    XSession();
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;
};

// The first mapped top-level window with that title, within the time; 0 when none came.
WindowId WaitForWindow(XSession& session, const std::string& title, int milliseconds = 10000);
// The WM_DELETE_WINDOW message a window manager sends when the player closes a window.
void SendCloseRequest(XSession& session, WindowId window);
// The window's _NET_WM_ICON property as 32-bit values: width, height, pixels; empty if unset.
std::vector<uint32_t> WindowIcon(XSession& session, WindowId window);
// Holds the key down for a tenth of a second, long enough for a game that reads the key
// states once a frame (keysym names as X knows them: "F12", "Escape").
void PressKey(XSession& session, const char* keysym);
// Presses (down true) or releases the key.
void SetKey(XSession& session, const char* keysym, bool down);
// The same with a modifier held around it ("Alt_L", "F4").
void PressKeyWith(XSession& session, const char* modifier, const char* keysym);
// Puts the pointer at a point of the screen, as an absolute pointer (a tablet, a virtual
// machine's pointer) does, and presses (down true) or releases one of its buttons (1 left).
void MovePointer(XSession& session, int32_t x, int32_t y);
void SetButton(XSession& session, int32_t button, bool down);
// Moves the input focus away from every window, as clicking elsewhere would, or gives it to
// the window.
void FocusNothing(XSession& session);
void FocusWindow(XSession& session, WindowId window);
// Resizes the window, as a player dragging its border would.
void ResizeWindow(XSession& session, WindowId window, int32_t width, int32_t height);
// Whether another program could take the pointer now: false while a window holds it captured.
bool PointerIsFree(XSession& session);
// The screen's pixels as 0x00RRGGBB, row-major.
std::vector<uint32_t> ScreenPixels(XSession& session, int32_t& width, int32_t& height);
// The window's size as the X server has it.
void WindowSize(XSession& session, WindowId window, int32_t& width, int32_t& height);
