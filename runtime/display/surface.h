// Software surfaces: CPU pixel buffers in one of the screen's pixel formats. The back buffer,
// sprites and textures are all surfaces, so every pixel can be checked without a display.
#pragma once
#include "runtime/display/pixel_format.h"

#include <cstdint>

struct Surface {
    uint8_t* pixels = nullptr; // owned; pitch * height bytes
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;  // bytes from one row to the next
    int32_t format = 0; // a code of runtime/display/pixel_format.h
    int32_t bytesPerPixel = 0;
    int32_t hasColorKey = 0;
    uint32_t colorKey = 0; // a pixel value of the surface's format
};

// A zero-filled surface, or none when a side is not 1..16384, the format is unknown, or
// memory runs out.
Surface* CreateSurface(int32_t width, int32_t height, int32_t format);
void FreeSurface(Surface* surface);
// The first byte of row y.
inline uint8_t* SurfaceRow(const Surface& surface, int32_t y)
{
    return surface.pixels + static_cast<intptr_t>(y) * surface.pitch;
}
// The first byte of pixel (x, y).
inline uint8_t* PixelAddress(const Surface& surface, int32_t x, int32_t y)
{
    return SurfaceRow(surface, y) + static_cast<intptr_t>(x) * surface.bytesPerPixel;
}

// A pixel value of the surface's format at (x, y): the bytes of the pixel, little-endian.
// The plain, slow definition that the fast operations below must agree with; no bounds check.
uint32_t GetSurfacePixel(const Surface& surface, int32_t x, int32_t y);
void SetSurfacePixel(Surface& surface, int32_t x, int32_t y, uint32_t value);

// Sets every pixel to value (a pixel value of the surface's format).
void FillSurface(Surface& surface, uint32_t value);
// FillSurface for the rows first to last - 1 alone (clamped to the surface).
void FillSurfaceRows(Surface& surface, int32_t first, int32_t last, uint32_t value);
// Copies the width x height rectangle at (srcX, srcY) of source to (x, y) of target, the whole
// rectangle or, with useColorKey, only the source pixels that differ from the source's color
// key (32-bit formats compare the color bytes only, not the ignored fourth byte). Both
// surfaces must have the same bytes per pixel and both rectangles must lie inside their
// surfaces; otherwise nothing is copied and the result is 0. The surfaces must not overlap.
int32_t BlitSurface(Surface& target, int32_t x, int32_t y, const Surface& source, int32_t srcX,
                    int32_t srcY, int32_t width, int32_t height, int32_t useColorKey);
// Writes the surface as 32-bit pixels 0x00RRGGBB into rows pitch bytes apart (for presenting).
void ConvertSurfaceToRGB32(const Surface& surface, uint8_t* pixels, int32_t pitch);
