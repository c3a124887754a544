// The descriptor of a surface lent to 2D drawing: the screen's back buffer (ScreenDrawTarget)
// or a sprite (SpriteDrawTarget). The lender keeps the descriptor and records whether the
// surface is held for drawing (1), locked for direct pixel writes (-1) or free (0).
#pragma once
#include "runtime/display/surface.h"

#include <cstdint>

constexpr int32_t DRAW_TARGET_SURFACE = 7;

struct DrawTarget {
    int32_t kind = 0;                  // DRAW_TARGET_SURFACE
    int32_t window = 0;                // not used for surfaces
    Surface* deviceContext = nullptr;  // the surface drawn on, already taken
    void (*release)() = nullptr;       // ends drawing: the surface is free again
    int32_t width = 0;
    int32_t height = 0;
    int32_t depth = 0;                 // the screen depth
    int32_t pixelFormat = 0;           // ScreenPixelFormat, 1..7
    Surface* (*getContext)() = nullptr; // takes the surface for drawing again after a lock
    // Locks the surface for direct writes: its first pixel, and its pitch through the argument;
    // none when it cannot be locked.
    uint8_t* (*lock)(int32_t* pitch) = nullptr;
};
