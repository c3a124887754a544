// Test images made in memory with the libraries' writers, and hand-built BMP files.
#pragma once
#include <cstdint>
#include <vector>

using Bytes = std::vector<uint8_t>;

// A PNG of any color type and bit depth; samples holds the samples of each row in order
// (channels per pixel by color type), each 8 or 16 bits as the depth says, unpacked.
struct PngDescription {
    int width = 1;
    int height = 1;
    int colorType = 2;
    int bitDepth = 8;
    int interlaced = 0;
    std::vector<uint32_t> samples;
    std::vector<uint8_t> palette; // r, g, b per entry (color type 3)
    std::vector<uint8_t> alphas;  // tRNS entries for a palette image
    // The tRNS colour of an RGB image (red, green, blue) or a grey one (its first sample).
    std::vector<uint16_t> transparentColor;
};
Bytes MakePng(const PngDescription& description);

// A JPEG of width x height from top-down rows of r, g, b (components 3), grey (1) or
// c, m, y, k (4).
Bytes MakeJpeg(int width, int height, int components, const std::vector<uint8_t>& samples,
               int quality);

// A BMP file: header, info header of 40 bytes, palette (colors with red in the low byte,
// stored as b, g, r, 0 entries), pixel data as
// given (bottom-up, rows already padded).
Bytes MakeBmp(int width, int height, int bitsPerPixel, int compression,
              const std::vector<uint32_t>& paletteRgb, const Bytes& pixelData);
