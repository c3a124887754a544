// What the screen tells the mouse, so that the mouse need not look up to the display: the
// size its position is kept inside and whether the display has the focus.
#pragma once
#include <cstdint>

// The screen's size (0 x 0 while closed) and focus (1 active, 0 not), after every change.
void SetMouseScreen(int32_t width, int32_t height, int32_t active);
