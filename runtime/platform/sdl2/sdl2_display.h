// Between the SDL2 backend's files.
#pragma once
#include <SDL.h>
#include <cstdint>
#include <string>

// What the launcher chose for the desktop window, read once from the environment (the game
// itself reads no environment): VELLOMIRA_WINDOWED=1 asks for a resizable window instead of
// the full-screen default, VELLOMIRA_SCREENSHOT_DIR names the folder of the F12 screenshots
// (the working folder when unset), VELLOMIRA_POINTER=absolute has the cursor follow where the
// pointer is rather than its motion, for an absolute pointer the window system does not name.
struct Sdl2Settings {
    int32_t windowed = 0;
    std::string screenshotFolder = ".";
    int32_t absolutePointer = 0;
};
const Sdl2Settings& Sdl2Options();

// Sets the hints every part of the backend needs before SDL starts a subsystem: SDL must not
// catch SIGINT and SIGTERM, which belong to the console's quit request, and relative mouse
// motion stays unscaled.
void Sdl2PrepareHints();
// The id of the screen's window, 0 when there is none.
uint32_t Sdl2WindowId();
// 1 while the screen is a resizable window, 0 while it covers the desktop: the launcher's
// choice at first, then the player's, who switches with Alt+Enter.
int32_t Sdl2Windowed();
// Alt+Enter: from covering the desktop to a window, or back, while the screen is open.
void Sdl2SwitchWindowed();
// The display lost its contents (focus gone, device reset): the next present reports it.
void Sdl2DisplayLost();
// Shows the last presented frame again, as it is, after the window was uncovered or resized.
void Sdl2Repaint();
// F12 was pressed: the next presented frame is also saved as a PNG.
void Sdl2RequestScreenshot();
// A point of the picture in parts of its size (0 to 1: the renderer hands touches over so, a
// touch beside the picture at its edge) as a point of the logical screen; false while no
// display is open.
bool Sdl2PictureToLogical(float x, float y, int32_t& logicalX, int32_t& logicalY);
// Which kind of pointer moved last, told by the window system where it can (x11/, no_x11/
// elsewhere): watched from the first screen on, until the display system closes. 1 when it
// was an absolute one (a pen on a tablet, a virtual machine's pointer), which the cursor
// follows by its position.
void Sdl2WatchPointerKind(SDL_Window* window);
void Sdl2StopWatchingPointerKind();
int32_t Sdl2PointerIsAbsolute();
// Game controllers (sdl2_controllers.cpp): the subsystem, counted like the input system, and
// its events; true when the event was a controller's.
void Sdl2OpenControllers();
void Sdl2CloseControllers();
bool Sdl2ControllerEvent(const SDL_Event& event);
// Waits until the next frame time of the last asked rate. Nothing is presented while the
// window lacks the focus, so this stands in for the present's pacing then.
void Sdl2WaitFrame();
// The window's icon, 48 x 48 pixels 0xAARRGGBB, drawn from the sample world at build time.
extern const uint32_t SDL2_WINDOW_ICON[];
// Saves a presented frame (rows of 0x??RRGGBB, pitch bytes apart) as
// FOLDER/vellomira-YYYYMMDD-HHMMSS.png and names the file on standard error.
void Sdl2SaveScreenshot(const uint8_t* pixels, int32_t pitch, int32_t width, int32_t height);
