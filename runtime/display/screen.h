// The screen: one full-screen display with a back buffer that everything is drawn into and
// that FlipBuffers presents, the window's message pump and the focus handling.
#pragma once
#include "runtime/display/drawing.h"
#include "runtime/display/surface.h"

#include <cstdint>
#include <string_view>

// ---- Runtime operations ----

// Once per process: resets the screen state, lets the sprite library make its table (below),
// makes the window and the keyboard device. Nonzero on success.
int32_t InitSprite();
// The refresh rate the next OpenScreen asks for (0: the monitor's own). FlipBuffers with bit 0
// never presents faster than this rate, or than the monitor's rate while it is 0.
void SetFrameRate(int32_t rate);
// The modes the display offers: width and height 1..SCREEN_MAX_SIDE, depth one of
// SCREEN_DEPTHS (the values as OpenScreen takes them, after the cut to 16 bits).
constexpr int32_t SCREEN_MAX_SIDE = 8192;
constexpr int32_t SCREEN_DEPTHS[] = {8, 16, 24, 32};
bool ScreenModeOffered(int32_t width, int32_t height, int32_t depth);
// Opens the full-screen display. width, height and depth are taken as 16-bit signed values;
// the modes of ScreenModeOffered are offered. A screen already open is
// closed first (with all sprites). Nonzero on success; 0 leaves the screen closed.
int32_t OpenScreen(int32_t width, int32_t height, int32_t depth, std::string_view title);
// Fills the whole draw buffer with the color (24-bit RGB, red in the low byte) converted by
// ScreenColor; on an 8-bit screen the value is the palette index itself.
void ClearScreen(int32_t color);
// Ends a screen drawing still held, selects the back buffer, handles the window's messages and,
// while the screen is active, presents the back buffer. Mode bit 0 waits for the vertical blank
// (paced to the asked rate); bit 1 asks for the raster wait, which the display layer does not
// offer, so it ends at once.
void FlipBuffers(int32_t mode = 1);
// 1 while the window has the focus.
int32_t IsScreenActive();
// -1 selects the back buffer; a sprite number selects that sprite's surface. Unknown numbers
// and memory sprites change nothing and give none; otherwise the selected surface.
Surface* SelectDrawBuffer(int32_t sprite);
// Lends the back buffer to 2D drawing; none while it is already held or no screen is open.
DrawTarget* ScreenDrawTarget();
// Closes the display: the 3D device and every sprite go with it.
void CloseScreen();
// The end-of-program release: the screen's objects and the display system, when InitSprite
// succeeded.
void EndSprite();

// A 24-bit RGB color as a pixel value of the open screen's depth.
uint32_t ScreenColor(int32_t color);

// 1 once InitSprite has succeeded, until EndSprite: the 3D sprites need it, and the game's
// hints tell a missing display from a refused mode by it.
int32_t ScreenLibraryInitialised();
// Pixel format code of the open screen (runtime/display/pixel_format.h), 0 while closed.
int32_t ScreenPixelFormat();
