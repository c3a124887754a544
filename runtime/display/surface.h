// Software surfaces: CPU pixel buffers in one of the screen's pixel formats. The back buffer,
// sprites and textures are all surfaces, so every pixel can be checked without a display.
#pragma once
#include <cstdint>

// Pixel format codes: 1 palette index per byte, 2 16-bit 5-5-5, 3 16-bit 5-6-5, 4 24-bit
// bytes R G B, 5 24-bit bytes B G R, 6 32-bit bytes R G B x, 7 32-bit bytes B G R x.
struct Surface {
    uint8_t* pixels = nullptr; // owned; pitch * height bytes
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0; // bytes from one row to the next
    int32_t format = 0;
    int32_t bytesPerPixel = 0;
    int32_t hasColorKey = 0;
    uint32_t colorKey = 0; // a pixel value of the surface's format
};

// Bytes per pixel of a format code; 0 for an unknown code.
int32_t FormatBytesPerPixel(int32_t format);
// A zero-filled surface, or none when a side is not 1..16384, the format is unknown, or
// memory runs out.
Surface* CreateSurface(int32_t width, int32_t height, int32_t format);
void FreeSurface(Surface* surface);
// The first byte of row y.
inline uint8_t* SurfaceRow(const Surface& surface, int32_t y)
{
    return surface.pixels + static_cast<intptr_t>(y) * surface.pitch;
}
