// Conversion of loaded images into the screen's pixel format, once, when a sprite is made.
#pragma once
#include "runtime/display/surface.h"

#include <cstdint>

// An image as the loader has it: palette indices (8 bits), 5-5-5 pixels (16 bits), or bytes
// blue, green, red (24 bits) and alpha (32 bits).
struct SourceImage {
    const uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;
    int32_t depth = 0;    // 8, 16, 24 or 32
    int32_t bottomUp = 0; // rows stored from the bottom up, as in BMP files
};

// Writes every pixel of the image into the surface (of the image's size, in the screen's
// format): palette indices are copied, 16-bit screens get 5-5-5 or 5-6-5, deeper screens get
// the bytes blue, green, red and, on 32-bit screens, the alpha byte when useAlpha is set and 0
// otherwise. 0 when depths do not fit: palette images need an 8-bit screen and back.
int32_t ConvertImageToSurface(const SourceImage& image, Surface& surface, int32_t useAlpha);
