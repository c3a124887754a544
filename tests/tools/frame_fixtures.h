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
// A cell as drawn by hand in an editor: a disc of the color in a black outline whose outer
// edge is anti-aliased into a clear (transparent black) background.
Picture Outlined(int size, Rgba color);
// The picture composited onto a color, as "flatten" in an image editor does.
Picture FlattenedOnto(const Picture& picture, Rgba ground);

// The picture as a PNG file, with its alpha channel or without.
std::string PngOf(const Picture& picture, bool withAlpha);
// The picture as a palette PNG with transparent colours (a tRNS chunk), as indexed-color
// editors, PNG optimisers and ImageMagick write a drawing of few colors: an entry for each
// distinct pixel, the entries that are not opaque first (which keeps the chunk short), each
// with its alpha in the chunk. The picture has at most 256 distinct pixels.
std::string PalettePngOf(const Picture& picture);
// The picture as an RGB PNG, or a grey one (of its red channel), whose pixels of one color
// are transparent by a tRNS chunk: the picture's transparent pixels are written in that color.
std::string PngWithTransparentColor(const Picture& picture, Rgba color, bool grey);
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
