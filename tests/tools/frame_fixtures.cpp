// Frame images of the kinds authors make, for the tests of the frame checks and the key tool.
#include "tests/tools/frame_fixtures.h"

#include "runtime/display/image_codec.h"
#include "tests/runtime/image_fixtures.h"

#include <algorithm>
#include <cmath>
#include <zlib.h>

namespace {
std::string Text(const Bytes& bytes)
{
    return {bytes.begin(), bytes.end()};
}

uint8_t Mix(uint8_t over, uint8_t under, double share)
{
    return uint8_t(std::lround(over * share + under * (1 - share)));
}
} // namespace

Picture Disc(int size, Rgba color, Rgba background, bool antiAliased)
{
    Picture picture{size, size, {}};
    double centre = size / 2.0, radius = size * 0.4;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double distance = std::hypot(x + 0.5 - centre, y + 0.5 - centre);
            double cover = antiAliased          ? std::clamp(radius + 0.5 - distance, 0.0, 1.0)
                           : distance <= radius ? 1.0
                                                : 0.0;
            Rgba pixel = background;
            if (background.a == 0 && cover > 0)
                pixel = {color.r, color.g, color.b, uint8_t(std::lround(255 * cover))};
            else if (cover > 0)
                pixel = {Mix(color.r, background.r, cover), Mix(color.g, background.g, cover),
                         Mix(color.b, background.b, cover), 255};
            picture.pixels.push_back(pixel);
        }
    return picture;
}

Picture Outlined(int size, Rgba color)
{
    Picture picture{size, size, {}};
    double centre = size / 2.0, radius = size * 0.4;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double distance = std::hypot(x + 0.5 - centre, y + 0.5 - centre);
            double cover = std::clamp(radius + 0.5 - distance, 0.0, 1.0);
            picture.pixels.push_back(distance < radius - 2 ? color
                                                           : Rgba{0, 0, 0, uint8_t(255 * cover)});
        }
    return picture;
}

Picture FlattenedOnto(const Picture& picture, Rgba ground)
{
    Picture flat = picture;
    for (Rgba& p : flat.pixels) {
        double share = p.a / 255.0;
        p = {Mix(p.r, ground.r, share), Mix(p.g, ground.g, share), Mix(p.b, ground.b, share), 255};
    }
    return flat;
}

std::string PngOf(const Picture& picture, bool withAlpha)
{
    PngDescription png;
    png.width = picture.width;
    png.height = picture.height;
    png.colorType = withAlpha ? 6 : 2;
    for (const Rgba& p : picture.pixels) {
        png.samples.insert(png.samples.end(), {p.r, p.g, p.b});
        if (withAlpha)
            png.samples.push_back(p.a);
    }
    return Text(MakePng(png));
}

std::string PalettePngOf(const Picture& picture)
{
    auto code = [](Rgba p) { return uint32_t(p.r) << 24 | p.g << 16 | p.b << 8 | p.a; };
    std::vector<uint32_t> entries;
    for (const Rgba& p : picture.pixels)
        if (std::find(entries.begin(), entries.end(), code(p)) == entries.end())
            entries.push_back(code(p));
    std::stable_partition(entries.begin(), entries.end(),
                          [](uint32_t entry) { return (entry & 0xFF) < 255; });
    PngDescription png;
    png.width = picture.width;
    png.height = picture.height;
    png.colorType = 3;
    for (uint32_t entry : entries) {
        png.palette.insert(png.palette.end(),
                           {uint8_t(entry >> 24), uint8_t(entry >> 16), uint8_t(entry >> 8)});
        if ((entry & 0xFF) < 255)
            png.alphas.push_back(uint8_t(entry));
    }
    for (const Rgba& p : picture.pixels)
        png.samples.push_back(
            uint32_t(std::find(entries.begin(), entries.end(), code(p)) - entries.begin()));
    return Text(MakePng(png));
}

std::string PngWithTransparentColor(const Picture& picture, Rgba color, bool grey)
{
    PngDescription png;
    png.width = picture.width;
    png.height = picture.height;
    png.colorType = grey ? 0 : 2;
    png.transparentColor = {color.r, color.g, color.b};
    for (Rgba p : picture.pixels) {
        if (p.a == 0)
            p = color;
        png.samples.insert(png.samples.end(), {p.r, p.g, p.b});
        if (grey)
            png.samples.resize(png.samples.size() - 2);
    }
    return Text(MakePng(png));
}

std::string JpegOf(const Picture& picture, int quality)
{
    std::vector<uint8_t> samples;
    for (const Rgba& p : picture.pixels)
        samples.insert(samples.end(), {p.r, p.g, p.b});
    return Text(MakeJpeg(picture.width, picture.height, 3, samples, quality));
}

std::string CmykJpeg()
{
    std::vector<uint8_t> samples(16 * 16 * 4, 0);
    for (size_t i = 0; i < samples.size(); i += 4)
        samples[i + 1] = 200; // magenta ink
    return Text(MakeJpeg(16, 16, 4, samples, 90));
}

std::string PngPaddedBeforePixels(const std::string& png, uint32_t padding)
{
    std::string chunk(4, '\0');
    for (int i = 0; i < 4; ++i)
        chunk[size_t(i)] = char(padding >> (24 - 8 * i));
    chunk += "vpAd" + std::string(padding, '\0');
    uint32_t crc = uint32_t(
        crc32(0, reinterpret_cast<const Bytef*>(chunk.data() + 4), uInt(chunk.size() - 4)));
    for (int i = 0; i < 4; ++i)
        chunk += char(crc >> (24 - 8 * i));
    // After the signature (8 bytes) and the IHDR chunk (25 bytes).
    return png.substr(0, 33) + chunk + png.substr(33);
}

std::string PngDeclaring(uint32_t width, uint32_t height)
{
    std::string png = PngOf(Disc(8, {0, 200, 0, 255}, KEY_COLOR, false), false);
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = char(width >> (24 - 8 * i));
        png[20 + i] = char(height >> (24 - 8 * i));
    }
    uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17));
    for (int i = 0; i < 4; ++i)
        png[29 + i] = char(crc >> (24 - 8 * i));
    return png;
}

std::vector<uint32_t> DecodedPixels(const std::string& image, int32_t& width)
{
    RegisterPngDecoder();
    RegisterJpegDecoder();
    std::vector<uint32_t> pixels;
    width = 0;
    if (FindImageDecoder(image.data(), int64_t(image.size())) != 1)
        return pixels;
    int32_t columns = CurrentImageWidth(), rows = CurrentImageHeight(),
            pitch = columns * 3 + columns % 4;
    std::vector<uint8_t> bytes(size_t(pitch) * size_t(rows + 1));
    if (!DecodeCurrentImage(bytes.data(), pitch))
        return pixels;
    for (int32_t y = 0; y < rows; ++y)
        for (int32_t x = 0; x < columns; ++x) {
            const uint8_t* p = &bytes[size_t(y) * size_t(pitch) + size_t(x) * 3];
            pixels.push_back(uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]);
        }
    width = columns;
    return pixels;
}
