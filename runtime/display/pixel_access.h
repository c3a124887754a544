// Single pixels of a software surface as values of its format, and colours in those formats.
#pragma once
#include "runtime/display/surface.h"

// A 24-bit colour (red in the low byte) as a pixel value of a format, the way the drawing
// layer maps it: palette surfaces take the low byte, the 16-bit formats drop low bits, the
// 24 and 32-bit formats keep the channel order of their bytes.
inline uint32_t ColorToPixel(int32_t format, uint32_t color)
{
    uint32_t r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
    switch (format) {
    case 1: return r;
    case 2: return (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
    case 3: return (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
    case 4:
    case 6: return r | g << 8 | b << 16;
    default: return b | g << 8 | r << 16;
    }
}

// The bits of a pixel value that carry colour: what an inverting raster operation flips.
inline uint32_t ColorBitsOf(int32_t format)
{
    static const uint32_t masks[] = {0, 0xFF, 0x7FFF, 0xFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    return format >= 1 && format <= 7 ? masks[format] : 0;
}

// Pixel values are stored little-endian in bytesPerPixel bytes: byte by byte, as a copy of a
// variable size may be a library call for every pixel.
inline void PutPixelValue(uint8_t* at, int32_t bytesPerPixel, uint32_t value)
{
    for (int32_t i = 0; i < bytesPerPixel; ++i)
        at[i] = static_cast<uint8_t>(value >> (8 * i));
}

inline uint32_t GetPixelValue(const uint8_t* at, int32_t bytesPerPixel)
{
    uint32_t value = 0;
    for (int32_t i = bytesPerPixel - 1; i >= 0; --i)
        value = value << 8 | at[i];
    return value;
}

inline uint8_t* PixelAddress(const Surface& surface, int32_t x, int32_t y)
{
    return SurfaceRow(surface, y) + static_cast<intptr_t>(x) * surface.bytesPerPixel;
}

inline uint32_t ReadPixel(const Surface& surface, int32_t x, int32_t y)
{
    return GetPixelValue(PixelAddress(surface, x, y), surface.bytesPerPixel);
}
