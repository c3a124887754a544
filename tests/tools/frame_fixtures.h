// Frame images of the kinds authors make: a disc exported with an alpha channel, the same
// flattened onto the key color by hand, drawn on the key with a hard edge, on a plain
// background, as a JPEG, and files that only claim to be images.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Rgba {
    uint8_t r, g, b, a;
};

struct Picture {
    int width = 0, height = 0;
    std::vector<Rgba> pixels; // top-down rows
};

constexpr Rgba KEY_COLOR{255, 0, 255, 255};
constexpr Rgba CLEAR{0, 0, 0, 0};

// A disc of the color filling most of a square, on the background. Anti-aliased, its edge
// pixels take the share of them the disc covers as their alpha (over a clear background) or
// as their blend with the background; otherwise a pixel is the disc's when its centre is.
Picture Disc(int size, Rgba color, Rgba background, bool antiAliased);
// The picture composited onto a color, as "flatten" in an image editor does.
Picture FlattenedOnto(const Picture& picture, Rgba ground);

// The picture as a PNG file, with its alpha channel or without.
std::string PngOf(const Picture& picture, bool withAlpha);
// The picture as an RGB JPEG of the quality.
std::string JpegOf(const Picture& picture, int quality);
// A CMYK JPEG of a small picture.
std::string CmykJpeg();
// The PNG file with a private ancillary chunk of that many bytes put before its pixel data.
std::string PngPaddedBeforePixels(const std::string& png, uint32_t padding);
// A PNG whose header declares the size; its pixel data is that of a small image.
std::string PngDeclaring(uint32_t width, uint32_t height);

// The pixels of a PNG or JPEG file without alpha as 0xRRGGBB, top-down rows, through the game's
// decoders, with the image's width; none when they do not read it.
std::vector<uint32_t> DecodedPixels(const std::string& image, int32_t& width);
