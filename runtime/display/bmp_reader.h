// Windows BMP images as the sprite loader reads them: the header, the raw bottom-up pixel rows,
// and the expansion of palette images to 24 bits per pixel.
#pragma once
#include <cstdint>

struct BmpImage {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPerPixel = 0;
    int32_t compression = 0;
    const uint8_t* pixels = nullptr;  // the pixel data, bottom-up
    int64_t pixelBytes = 0;           // bytes from pixels to the end of the file
    int32_t rowBytes = 0;             // uncompressed rows: padded to a multiple of 4
    const uint8_t* palette = nullptr; // blue, green, red, reserved per entry
    int32_t paletteEntries = 0;       // entries present in the file
};

// Whether the data starts with the "BM" signature.
bool IsBmp(const uint8_t* data, int64_t length);
// Reads the header of a bottom-up BMP of 1, 4, 8 (plain or run-length coded), 16, 24 or 32
// bits per pixel whose pixel data lies inside the file; 0 for anything else (top-down
// images, 2 bits per pixel, run-length coded 4-bit images, truncated data, sizes over the
// image limits).
int32_t ReadBmpHeader(const uint8_t* data, int64_t length, BmpImage* image);
// Pitch of the 24-bit expansion: width * 3 + width mod 4, a multiple of 4.
inline int32_t ExpandedBmpPitch(int32_t width)
{
    return width * 3 + width % 4;
}
// Expands a palette image to blue, green, red rows of ExpandedBmpPitch, still bottom-up.
// 1-bit images are black and white whatever their palette; indices beyond the palette and
// pixels a run-length coded image leaves out are black. out holds pitch * height bytes.
void ExpandBmpTo24(const BmpImage& image, uint8_t* out);
