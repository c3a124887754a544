// Windows BMP images: header checks and the 24-bit expansion of palette images.
#include "runtime/display/bmp_reader.h"

#include "runtime/core/little_endian.h"
#include "runtime/display/image_codec.h"

#include <cstddef>
#include <cstring>

namespace {

bool SupportedFormat(int32_t bits, int32_t compression)
{
    switch (bits) {
    case 1:
    case 4:
        return compression == 0;
    case 8:
        return compression == 0 || compression == 1;
    case 16:
    case 32:
        return compression == 0 || compression == 3; // masks are not read: used as is
    case 24:
        return compression == 0;
    default:
        return false;
    }
}

void PutEntry(const BmpImage& image, uint32_t index, uint8_t* out)
{
    if (index < static_cast<uint32_t>(image.paletteEntries)) {
        std::memcpy(out, image.palette + index * 4, 3);
    } else {
        out[0] = out[1] = out[2] = 0;
    }
}

void ExpandRows(const BmpImage& image, uint8_t* out, int32_t pitch)
{
    int32_t bits = image.bitsPerPixel;
    for (int32_t y = 0; y < image.height; ++y) {
        const uint8_t* row = image.pixels + static_cast<int64_t>(y) * image.rowBytes;
        uint8_t* o = out + static_cast<int64_t>(y) * pitch;
        for (int32_t x = 0; x < image.width; ++x, o += 3) {
            if (bits == 1) {
                uint8_t v = (row[x / 8] >> (7 - x % 8)) & 1 ? 0xFF : 0;
                o[0] = o[1] = o[2] = v;
            } else if (bits == 4) {
                PutEntry(image, (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F, o);
            } else {
                PutEntry(image, row[x], o);
            }
        }
    }
}

// Run-length coded 8-bit data; runs and jumps that leave the image are cut off, and data that
// ends early ends the image.
void ExpandRle8(const BmpImage& image, uint8_t* out, int32_t pitch)
{
    const uint8_t* p = image.pixels;
    const uint8_t* end = image.pixels + image.pixelBytes;
    int64_t x = 0, y = 0;
    auto put = [&](uint32_t index) {
        if (x >= 0 && x < image.width && y >= 0 && y < image.height)
            PutEntry(image, index, out + y * pitch + x * 3);
        ++x;
    };
    while (end - p >= 2 && y < image.height) {
        uint32_t count = p[0], value = p[1];
        p += 2;
        if (count > 0) {
            for (uint32_t i = 0; i < count; ++i)
                put(value);
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (end - p < 2)
                return;
            x += p[0];
            y += p[1];
            p += 2;
        } else {
            if (end - p < static_cast<ptrdiff_t>(value))
                return;
            for (uint32_t i = 0; i < value; ++i)
                put(p[i]);
            p += value + (value % 2);
        }
    }
}
} // namespace

bool IsBmp(const uint8_t* data, int64_t length)
{
    return data && length >= 2 && data[0] == 'B' && data[1] == 'M';
}

int32_t ReadBmpHeader(const uint8_t* data, int64_t length, BmpImage* image)
{
    if (!IsBmp(data, length) || length < 34)
        return 0;
    BmpImage b;
    int32_t width = static_cast<int32_t>(LoadLittleEndian32(data + 18));
    int32_t height = static_cast<int32_t>(LoadLittleEndian32(data + 22));
    b.bitsPerPixel = static_cast<int32_t>(LoadLittleEndian16(data + 28));
    b.compression = static_cast<int32_t>(LoadLittleEndian32(data + 30));
    uint32_t offset = LoadLittleEndian32(data + 10);
    uint32_t headerSize = LoadLittleEndian32(data + 14);
    if (!ImageSizeAllowed(width, height) || !SupportedFormat(b.bitsPerPixel, b.compression) ||
        offset >= length)
        return 0;
    b.width = width;
    b.height = height;
    b.pixels = data + offset;
    b.pixelBytes = length - offset;
    b.rowBytes = static_cast<int32_t>((static_cast<int64_t>(width) * b.bitsPerPixel + 31) / 32 * 4);
    bool runLength = b.bitsPerPixel == 8 && b.compression == 1;
    if (!runLength && static_cast<int64_t>(b.rowBytes) * height > b.pixelBytes)
        return 0;
    int64_t paletteStart = 14 + static_cast<int64_t>(headerSize);
    if (b.bitsPerPixel <= 8 && paletteStart < offset) {
        b.palette = data + paletteStart;
        int64_t entries = (offset - paletteStart) / 4;
        b.paletteEntries = static_cast<int32_t>(entries < 256 ? entries : 256);
    }
    *image = b;
    return 1;
}

void ExpandBmpTo24(const BmpImage& image, uint8_t* out)
{
    int32_t pitch = ExpandedBmpPitch(image.width);
    std::memset(out, 0, static_cast<size_t>(pitch) * image.height);
    if (image.bitsPerPixel == 8 && image.compression == 1)
        ExpandRle8(image, out, pitch);
    else
        ExpandRows(image, out, pitch);
}
