// Test images made in memory with the libraries' writers, and hand-built BMP files.
#include "image_fixtures.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace {
void AppendToVector(png_structp png, png_bytep data, size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void NoFlush(png_structp) {}

int ChannelsOf(int colorType)
{
    switch (colorType) {
    case 0:
        return 1;
    case 2:
        return 3;
    case 3:
        return 1;
    case 4:
        return 2;
    default:
        return 4;
    }
}

// Packs one row of unpacked samples into PNG row bytes (big-endian, MSB first).
Bytes PackRow(const PngDescription& description, int y)
{
    int channels = ChannelsOf(description.colorType);
    int count = description.width * channels;
    Bytes row((static_cast<size_t>(count) * description.bitDepth + 7) / 8);
    for (int i = 0; i < count; ++i) {
        uint32_t sample = description.samples[static_cast<size_t>(y) * count + i];
        if (description.bitDepth == 16) {
            row[i * 2] = static_cast<uint8_t>(sample >> 8);
            row[i * 2 + 1] = static_cast<uint8_t>(sample);
        } else if (description.bitDepth == 8) {
            row[i] = static_cast<uint8_t>(sample);
        } else {
            int bit = i * description.bitDepth;
            row[bit / 8] |= static_cast<uint8_t>(sample << (8 - description.bitDepth - bit % 8));
        }
    }
    return row;
}
} // namespace

Bytes MakePng(const PngDescription& description)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, AppendToVector, NoFlush);
    png_set_IHDR(png, info, description.width, description.height, description.bitDepth,
                 description.colorType,
                 description.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (size_t i = 0; i + 2 < description.palette.size(); i += 3)
        palette.push_back(
            {description.palette[i], description.palette[i + 1], description.palette[i + 2]});
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!description.alphas.empty())
        png_set_tRNS(png, info, description.alphas.data(),
                     static_cast<int>(description.alphas.size()), nullptr);
    if (!description.transparentColor.empty()) {
        const std::vector<uint16_t>& c = description.transparentColor;
        png_color_16 color{};
        color.gray = c[0];
        if (c.size() >= 3)
            color.red = c[0], color.green = c[1], color.blue = c[2];
        png_set_tRNS(png, info, nullptr, 0, &color);
    }
    std::vector<Bytes> rows;
    std::vector<png_bytep> pointers;
    for (int y = 0; y < description.height; ++y)
        rows.push_back(PackRow(description, y));
    for (Bytes& row : rows)
        pointers.push_back(row.data());
    png_set_rows(png, info, pointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes MakeJpeg(int width, int height, int components, const std::vector<uint8_t>& samples,
               int quality)
{
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPLE*>(samples.data() + static_cast<size_t>(info.next_scanline) *
                                                              width * components);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

namespace {
void Put16(Bytes& b, size_t at, uint32_t v)
{
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v)
{
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}
} // namespace

Bytes MakeBmp(int width, int height, int bitsPerPixel, int compression,
              const std::vector<uint32_t>& paletteRgb, const Bytes& pixelData)
{
    size_t offset = 14 + 40 + paletteRgb.size() * 4;
    Bytes b(offset);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(offset + pixelData.size()));
    Put32(b, 10, static_cast<uint32_t>(offset));
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<uint32_t>(width));
    Put32(b, 22, static_cast<uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<uint32_t>(bitsPerPixel));
    Put32(b, 30, static_cast<uint32_t>(compression));
    Put32(b, 34, static_cast<uint32_t>(pixelData.size()));
    Put32(b, 46, static_cast<uint32_t>(paletteRgb.size()));
    for (size_t i = 0; i < paletteRgb.size(); ++i) {
        uint32_t c = paletteRgb[i];
        b[54 + i * 4] = static_cast<uint8_t>(c >> 16); // blue
        b[54 + i * 4 + 1] = static_cast<uint8_t>(c >> 8);
        b[54 + i * 4 + 2] = static_cast<uint8_t>(c);
    }
    b.insert(b.end(), pixelData.begin(), pixelData.end());
    return b;
}
