// Operations on software surfaces: pixel access, color fill, blits and conversion to 32 bits.
#include "runtime/display/surface.h"

#include <algorithm>
#include <cstring>

namespace {
// Pixel widths the fast paths are written for: 16-bit keyed copies, 24-bit byte triples and
// 32-bit words whose ignored byte never takes part in the key test.
template <typename Pixel>
void CopyKeyedRow(uint8_t* target, const uint8_t* source, int32_t width, uint32_t key,
                  uint32_t mask)
{
    Pixel* out = reinterpret_cast<Pixel*>(target);
    const Pixel* in = reinterpret_cast<const Pixel*>(source);
    for (int32_t x = 0; x < width; ++x) {
        Pixel p;
        std::memcpy(&p, in + x, sizeof p);
        if ((uint32_t(p) & mask) != key)
            std::memcpy(out + x, &p, sizeof p);
    }
}

void CopyKeyedRow24(uint8_t* target, const uint8_t* source, int32_t width, uint32_t key)
{
    for (int32_t x = 0; x < width; ++x, source += 3, target += 3) {
        uint32_t p = source[0] | (uint32_t(source[1]) << 8) | (uint32_t(source[2]) << 16);
        if (p != key) {
            target[0] = source[0];
            target[1] = source[1];
            target[2] = source[2];
        }
    }
}

bool RectangleInside(const Surface& surface, int32_t x, int32_t y, int32_t width, int32_t height)
{
    return x >= 0 && y >= 0 && width >= 0 && height >= 0 && x <= surface.width - width &&
           y <= surface.height - height;
}

void FillRow(uint8_t* row, int32_t width, int32_t bytes, uint32_t value)
{
    switch (bytes) {
    case 1:
        std::memset(row, int(value & 0xFF), size_t(width));
        break;
    case 2: {
        uint16_t v = uint16_t(value);
        for (int32_t x = 0; x < width; ++x)
            std::memcpy(row + 2 * x, &v, 2);
        break;
    }
    case 4:
        for (int32_t x = 0; x < width; ++x)
            std::memcpy(row + 4 * x, &value, 4);
        break;
    default:
        for (int32_t x = 0; x < width; ++x)
            StorePixel(row + intptr_t(x) * bytes, bytes, value);
    }
}
} // namespace

uint32_t GetSurfacePixel(const Surface& surface, int32_t x, int32_t y)
{
    return LoadPixel(PixelAddress(surface, x, y), surface.bytesPerPixel);
}

void SetSurfacePixel(Surface& surface, int32_t x, int32_t y, uint32_t value)
{
    StorePixel(PixelAddress(surface, x, y), surface.bytesPerPixel, value);
}

void FillSurface(Surface& surface, uint32_t value)
{
    FillSurfaceRows(surface, 0, surface.height, value);
}

void FillSurfaceRows(Surface& surface, int32_t first, int32_t last, uint32_t value)
{
    first = std::max(first, 0);
    last = std::min(last, surface.height);
    if (!surface.pixels || first >= last)
        return;
    uint8_t* firstRow = SurfaceRow(surface, first);
    FillRow(firstRow, surface.width, surface.bytesPerPixel, value);
    size_t rowBytes = size_t(surface.width) * size_t(surface.bytesPerPixel);
    for (int32_t y = first + 1; y < last; ++y)
        std::memcpy(SurfaceRow(surface, y), firstRow, rowBytes);
}

int32_t BlitSurface(Surface& target, int32_t x, int32_t y, const Surface& source, int32_t srcX,
                    int32_t srcY, int32_t width, int32_t height, int32_t useColorKey)
{
    int32_t bytes = source.bytesPerPixel;
    if (!target.pixels || !source.pixels || bytes != target.bytesPerPixel ||
        !RectangleInside(source, srcX, srcY, width, height) ||
        !RectangleInside(target, x, y, width, height))
        return 0;
    for (int32_t row = 0; row < height; ++row) {
        uint8_t* out = SurfaceRow(target, y + row) + intptr_t(x) * bytes;
        const uint8_t* in = SurfaceRow(source, srcY + row) + intptr_t(srcX) * bytes;
        if (!useColorKey || !source.hasColorKey) {
            std::memcpy(out, in, size_t(width) * size_t(bytes));
            continue;
        }
        switch (bytes) {
        case 1:
            CopyKeyedRow<uint8_t>(out, in, width, source.colorKey & 0xFF, 0xFF);
            break;
        case 2:
            CopyKeyedRow<uint16_t>(out, in, width, source.colorKey & 0xFFFF, 0xFFFF);
            break;
        case 3:
            CopyKeyedRow24(out, in, width, source.colorKey & 0xFFFFFF);
            break;
        default:
            CopyKeyedRow<uint32_t>(out, in, width, source.colorKey & 0xFFFFFF, 0xFFFFFF);
        }
    }
    return 1;
}

void ConvertSurfaceToRGB32(const Surface& surface, uint8_t* pixels, int32_t pitch)
{
    for (int32_t y = 0; y < surface.height; ++y) {
        const uint8_t* in = SurfaceRow(surface, y);
        auto* out = reinterpret_cast<uint32_t*>(pixels + intptr_t(y) * pitch);
        // The screen's own formats have loops of their own; the others go pixel by pixel.
        switch (surface.format) {
        case FORMAT_BGR32:
            for (int32_t x = 0; x < surface.width; ++x) {
                uint32_t p;
                std::memcpy(&p, in + 4 * x, 4);
                out[x] = p & 0x00FFFFFFu;
            }
            break;
        case FORMAT_BGR24:
            for (int32_t x = 0; x < surface.width; ++x, in += 3)
                out[x] = in[0] | (uint32_t(in[1]) << 8) | (uint32_t(in[2]) << 16);
            break;
        case FORMAT_565:
            for (int32_t x = 0; x < surface.width; ++x) {
                uint16_t p;
                std::memcpy(&p, in + 2 * x, 2);
                out[x] = (Widen5(p >> 11) << 16) | (Widen6((p >> 5) & 63) << 8) | Widen5(p & 31);
            }
            break;
        default:
            for (int32_t x = 0; x < surface.width; ++x)
                out[x] =
                    PixelToRGB32(surface.format, LoadPixel(in + intptr_t(x) * surface.bytesPerPixel,
                                                           surface.bytesPerPixel));
        }
    }
}
