// Between the SDL2 backend's files.
#pragma once
#include <cstdint>

// Sets the hints every part of the backend needs before SDL starts a subsystem: SDL must not
// catch SIGINT and SIGTERM, which belong to the console's quit request, and relative mouse
// motion stays unscaled.
void Sdl2PrepareHints();
// The id of the screen's window, 0 when there is none.
uint32_t Sdl2WindowId();
// The display lost its contents (focus gone, device reset): the next present reports it.
void Sdl2DisplayLost();
