// The pixel formats of the screen and of every surface: their codes and every conversion
// between pixel values, their bytes and colors. The display files use these and no copies.
#pragma once
#include <cstdint>
#include <cstring>

// Format codes, chosen by the screen from its depth when it opens. A pixel value is the
// pixel's bytes read little-endian.
constexpr int32_t FORMAT_PALETTE = 1; // one palette index per byte
constexpr int32_t FORMAT_555 = 2;     // 16 bits: red 10-14, green 5-9, blue 0-4, bit 15 unused
constexpr int32_t FORMAT_565 = 3;     // 16 bits: red 11-15, green 5-10, blue 0-4
constexpr int32_t FORMAT_RGB24 = 4;   // bytes red, green, blue
constexpr int32_t FORMAT_BGR24 = 5;   // bytes blue, green, red
constexpr int32_t FORMAT_RGB32 = 6;   // bytes red, green, blue, then one that is ignored
constexpr int32_t FORMAT_BGR32 = 7;   // bytes blue, green, red, then one that is ignored

inline bool KnownFormat(int32_t format)
{
    return format >= FORMAT_PALETTE && format <= FORMAT_BGR32;
}

// Bytes per pixel; 0 for an unknown code.
inline int32_t FormatBytesPerPixel(int32_t format)
{
    constexpr int32_t bytes[] = {0, 1, 2, 2, 3, 3, 4, 4};
    return KnownFormat(format) ? bytes[format] : 0;
}

// Bits per pixel of a screen of the format; 0 for an unknown code.
inline int32_t FormatDepth(int32_t format)
{
    return FormatBytesPerPixel(format) * 8;
}

// The format a screen of that depth gets: 16 bits 5-6-5, 24 and 32 bits blue first, and a
// palette for every other depth.
int32_t FormatOfDepth(int32_t depth);

// The bits of a pixel value that carry color: what a color key compares and an inverting
// raster operation flips. 0 for an unknown code.
inline uint32_t FormatColorBits(int32_t format)
{
    constexpr uint32_t masks[] = {0, 0xFF, 0x7FFF, 0xFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    return KnownFormat(format) ? masks[format] : 0;
}

// The 24 and 32-bit formats whose first byte is red.
inline bool FormatRedFirst(int32_t format)
{
    return format == FORMAT_RGB24 || format == FORMAT_RGB32;
}

// The value of the pixel whose bytes start at at. A case per size, so that each becomes one
// load or store of its width.
inline uint32_t LoadPixel(const uint8_t* at, int32_t bytesPerPixel)
{
    switch (bytesPerPixel) {
    case 4:
        return at[0] | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
    case 3:
        return at[0] | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16;
    case 2:
        return at[0] | uint32_t(at[1]) << 8;
    default:
        return at[0];
    }
}

inline void StorePixel(uint8_t* at, int32_t bytesPerPixel, uint32_t value)
{
    const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                              uint8_t(value >> 24)};
    switch (bytesPerPixel) {
    case 4:
        std::memcpy(at, bytes, 4);
        break;
    case 3:
        std::memcpy(at, bytes, 3);
        break;
    case 2:
        std::memcpy(at, bytes, 2);
        break;
    default:
        at[0] = bytes[0];
        break;
    }
}

// A 5 or 6-bit channel widened to 0..255, its top bits repeated below, so that the largest
// value becomes 255.
inline uint32_t Widen5(uint32_t v)
{
    return (v << 3) | (v >> 2);
}

inline uint32_t Widen6(uint32_t v)
{
    return (v << 2) | (v >> 4);
}

// Channels of 0..255 as the color bits of a pixel value of a format of 16 bits or more: the
// 16-bit formats drop the low bits, the others keep the channel order of their bytes.
inline uint32_t PackChannels(int32_t format, uint32_t red, uint32_t green, uint32_t blue)
{
    switch (format) {
    case FORMAT_555:
        return (red >> 3) << 10 | (green >> 3) << 5 | (blue >> 3);
    case FORMAT_565:
        return (red >> 3) << 11 | (green >> 2) << 5 | (blue >> 3);
    case FORMAT_RGB24:
    case FORMAT_RGB32:
        return red | green << 8 | blue << 16;
    default:
        return blue | green << 8 | red << 16;
    }
}

// Blue, green and red of a pixel value of a format of 16 bits or more, 0..255 each.
inline void UnpackChannels(int32_t format, uint32_t value, uint32_t bgr[3])
{
    switch (format) {
    case FORMAT_555:
        bgr[0] = Widen5(value & 31), bgr[1] = Widen5((value >> 5) & 31);
        bgr[2] = Widen5((value >> 10) & 31);
        break;
    case FORMAT_565:
        bgr[0] = Widen5(value & 31), bgr[1] = Widen6((value >> 5) & 63);
        bgr[2] = Widen5((value >> 11) & 31);
        break;
    case FORMAT_RGB24:
    case FORMAT_RGB32:
        bgr[0] = (value >> 16) & 255, bgr[1] = (value >> 8) & 255, bgr[2] = value & 255;
        break;
    default:
        bgr[0] = value & 255, bgr[1] = (value >> 8) & 255, bgr[2] = (value >> 16) & 255;
        break;
    }
}

// A 24-bit color (red in the low byte) as a pixel value of a format, the way drawing maps it:
// a palette surface takes the low byte as the index.
inline uint32_t ColorToPixel(int32_t format, uint32_t color)
{
    if (format == FORMAT_PALETTE)
        return color & 0xFF;
    return PackChannels(format, color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

// 0x00RRGGBB of a pixel value of a format. Palette indices show through a fixed 3-3-2
// palette: red bits 5-7, green 2-4, blue 0-1. 0 for an unknown code.
uint32_t PixelToRGB32(int32_t format, uint32_t value);
