// Operations of the headless platform that tests use to drive it. Input is queued for the
// next polls; the display takes the focus when it opens, as a new full-screen window does.
#pragma once
#include <cstdint>

// Moves the virtual clock forward.
void HeadlessAdvanceClock(uint32_t milliseconds);
// Presses (down 1) or releases (down 0) a key given by its DirectInput key code (KEY_ESCAPE
// and the other names of runtime/input/keyboard.h): the code KeyDown reads. A release also reaches
// the screen's message pump. Codes outside 0..255 are ignored.
void HeadlessKey(int32_t scanCode, int32_t down);
// Relative motion: one event for x and one for y, each only when nonzero.
void HeadlessMouseMove(int32_t dx, int32_t dy);
// Button 1 left, 2 right, 3 middle, 4 the fourth button.
void HeadlessMouseButton(int32_t button, int32_t down);
// Wheel motion in device units; 120 is one notch.
void HeadlessMouseWheel(int32_t delta);
// The window gains (1) or loses (0) the input focus.
void HeadlessFocus(int32_t active);
// The last presented frame as 0x00RRGGBB pixels, row-major, valid until the next present;
// none (and 0 x 0) when nothing was presented since the display opened.
const uint32_t* HeadlessFrame(int32_t& width, int32_t& height);
// The number of frames presented since the display opened.
int32_t HeadlessFrameCount();
