// What a frame image is before the game loads it: its kind and size from its header, and its
// pixels as the game's own decoders deliver them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// "png", "jpg", "bmp" or "" by the first bytes of the data.
std::string ImageKind(const std::vector<uint8_t>& data);
// "PNG" for the kind "png": the name of an image format as people write it.
std::string FormatName(std::string kind);

struct ImageHeader {
    std::string kind;  // as ImageKind
    int64_t width = 0; // 0 when the header could not be read
    int64_t height = 0;
    int32_t components = 0; // of a JPEG: 1 grey, 3 color, 4 CMYK (0 when unknown)
};
// The size a PNG's or JPEG's header declares, read without decoding.
ImageHeader ReadImageHeader(const std::vector<uint8_t>& data);

struct FramePixels {
    int32_t width = 0;
    int32_t height = 0;
    // Transparency as an image editor shows it: an alpha channel, which the game's decoder
    // delivers and the game ignores, or a PNG's transparent colors, which it leaves out.
    bool alpha = false;
    bool transparentColors = false; // the transparency is that of transparent colors
    std::vector<uint8_t> rgba;      // top-down rows, red, green, blue, alpha (255 without)
};
// Why the game cannot make a sprite of the image, or "" when it can, with its pixels: no
// image, a kind the decoders do not read, above their size limits, a CMYK JPEG, a file whose
// image does not end within the bytes the game reads, a broken file.
std::string ImageProblem(const std::vector<uint8_t>& data, FramePixels& pixels);
// Decodes the image with the registered decoders, as the sprite loader does (offering them at
// most SPRITE_IMAGE_BOUND bytes), with the alpha of its transparent colors added as an image
// editor shows them; false when none reads it.
bool DecodeFrame(const std::vector<uint8_t>& data, FramePixels& pixels);
// The pixels as a PNG file (8-bit RGB, alpha left out) through the runtime's PNG encoder; an
// error or "".
std::string EncodePng(const FramePixels& pixels, std::vector<uint8_t>& png);
