// Conversion of loaded images into the screen's pixel format, one row loop per pair of depths.
#include "runtime/display/sprite_conversion.h"

#include <cstring>

namespace {
void RowIndices(const uint8_t* in, uint8_t* out, int32_t width)
{
    std::memcpy(out, in, static_cast<size_t>(width));
}

void Row555To16(const uint8_t* in, uint8_t* out, int32_t width, bool keep555)
{
    if (keep555) {
        std::memcpy(out, in, static_cast<size_t>(width) * 2);
        return;
    }
    for (int32_t x = 0; x < width; ++x, in += 2, out += 2) {
        uint32_t p = in[0] | uint32_t(in[1]) << 8;
        uint32_t wide = ((p >> 5) << 6) | (p & 0x1F);
        out[0] = static_cast<uint8_t>(wide);
        out[1] = static_cast<uint8_t>(wide >> 8);
    }
}

void RowBgrTo16(const uint8_t* in, int32_t step, uint8_t* out, int32_t width, int32_t format)
{
    for (int32_t x = 0; x < width; ++x, in += step, out += 2)
        StorePixel(out, 2, PackChannels(format, in[2], in[1], in[0]));
}

void Row555ToBgr(const uint8_t* in, uint8_t* out, int32_t step, int32_t width)
{
    for (int32_t x = 0; x < width; ++x, in += 2, out += step) {
        uint32_t p = in[0] | uint32_t(in[1]) << 8;
        out[0] = static_cast<uint8_t>((p & 0x1F) << 3);
        out[1] = static_cast<uint8_t>(((p >> 5) & 0x1F) << 3);
        out[2] = static_cast<uint8_t>(((p >> 10) & 0x1F) << 3);
        if (step == 4)
            out[3] = 0;
    }
}

// The bytes are copied in the order they come, whatever the screen's channel order.
void RowBgrToBgr(const uint8_t* in, int32_t inStep, uint8_t* out, int32_t outStep, int32_t width,
                 bool alpha)
{
    if (inStep == 4 && outStep == 4 && alpha) {
        std::memcpy(out, in, static_cast<size_t>(width) * 4);
        return;
    }
    for (int32_t x = 0; x < width; ++x, in += inStep, out += outStep) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        if (outStep == 4)
            out[3] = alpha ? in[3] : 0;
    }
}
} // namespace

int32_t ConvertImageToSurface(const SourceImage& image, Surface& surface, int32_t useAlpha)
{
    int32_t screenDepth = FormatDepth(surface.format);
    int32_t depth = image.depth;
    if (image.width != surface.width || image.height != surface.height || !image.pixels)
        return 0;
    if (depth != 8 && depth != 16 && depth != 24 && depth != 32)
        return 0;
    if (depth != screenDepth && (depth < 16 || screenDepth < 16))
        return 0;
    int32_t inStep = depth / 8, outStep = surface.bytesPerPixel;
    bool alpha = useAlpha && depth == 32;
    for (int32_t y = 0; y < image.height; ++y) {
        int32_t sourceRow = image.bottomUp ? image.height - 1 - y : y;
        const uint8_t* in = image.pixels + static_cast<int64_t>(sourceRow) * image.pitch;
        uint8_t* out = SurfaceRow(surface, y);
        if (screenDepth == 8)
            RowIndices(in, out, image.width);
        else if (screenDepth == 16 && depth == 16)
            Row555To16(in, out, image.width, surface.format == FORMAT_555);
        else if (screenDepth == 16)
            RowBgrTo16(in, inStep, out, image.width, surface.format);
        else if (depth == 16)
            Row555ToBgr(in, out, outStep, image.width);
        else
            RowBgrToBgr(in, inStep, out, outStep, image.width, alpha);
    }
    return 1;
}
