// The pixel formats: the depth a screen asks for, and colors for presenting.
#include "runtime/display/pixel_format.h"

int32_t FormatOfDepth(int32_t depth)
{
    switch (depth) {
    case 16:
        return FORMAT_565;
    case 24:
        return FORMAT_BGR24;
    case 32:
        return FORMAT_BGR32;
    default:
        return FORMAT_PALETTE;
    }
}

uint32_t PixelToRGB32(int32_t format, uint32_t value)
{
    if (format == FORMAT_PALETTE) {
        uint32_t r = ((value >> 5) & 7) * 255 / 7, g = ((value >> 2) & 7) * 255 / 7,
                 b = (value & 3) * 85;
        return (r << 16) | (g << 8) | b;
    }
    if (!KnownFormat(format))
        return 0;
    uint32_t bgr[3];
    UnpackChannels(format, value, bgr);
    return (bgr[2] << 16) | (bgr[1] << 8) | bgr[0];
}
