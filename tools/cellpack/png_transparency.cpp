// A PNG's transparent colors, read with libpng for the frame checks and the key tool alone:
// the game's own decoder leaves them out, and stays so.
//
// libpng reports errors by longjmp. The function that calls setjmp keeps its state in the
// record below, never in locals, and holds no object with a destructor, so that a jump back
// skips nothing that must run and the clean-up finds everything to release.
#include "tools/cellpack/png_transparency.h"

#include "runtime/display/image_codec.h"

#include <png.h>

#include <csetjmp>
#include <cstddef>
#include <cstring>

namespace {
struct TransparencyReading {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const uint8_t* cursor = nullptr; // next byte to hand to the library
    const uint8_t* end = nullptr;
};
TransparencyReading Reading;

[[noreturn]] void ReadingError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}
void ReadingWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep out, size_t count)
{
    if (count > static_cast<size_t>(Reading.end - Reading.cursor))
        png_error(png, "read beyond the image");
    std::memcpy(out, Reading.cursor, count);
    Reading.cursor += count;
}

void ReleaseReading()
{
    if (Reading.png)
        png_destroy_read_struct(&Reading.png, Reading.info ? &Reading.info : nullptr, nullptr);
    Reading = TransparencyReading{};
}

// Reads the image as red, green, blue, alpha rows into the pixels' own buffer: the colors
// come out as the game's decoder gave them, with the alpha the transparent colors give.
bool ReadRgbaRows(const uint8_t* data, int64_t length, FramePixels& pixels)
{
    Reading.png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, ReadingError, ReadingWarning);
    if (!Reading.png)
        return false;
    Reading.info = png_create_info_struct(Reading.png);
    if (!Reading.info)
        return false;
    if (setjmp(png_jmpbuf(Reading.png)))
        return false;
    png_set_user_limits(Reading.png, MAX_IMAGE_SIDE, MAX_IMAGE_SIDE);
    Reading.cursor = data;
    Reading.end = data + length;
    png_set_read_fn(Reading.png, nullptr, ReadFromMemory);
    png_read_info(Reading.png, Reading.info);
    if (png_get_image_width(Reading.png, Reading.info) != png_uint_32(pixels.width) ||
        png_get_image_height(Reading.png, Reading.info) != png_uint_32(pixels.height) ||
        (png_get_color_type(Reading.png, Reading.info) & PNG_COLOR_MASK_ALPHA) ||
        !png_get_valid(Reading.png, Reading.info, PNG_INFO_tRNS))
        return false;
    // Palette to RGB, grey to 8 bits and the transparent colors to an alpha channel.
    png_set_expand(Reading.png);
    png_set_gray_to_rgb(Reading.png);
    png_set_strip_16(Reading.png);
    int passes = png_set_interlace_handling(Reading.png);
    png_read_update_info(Reading.png, Reading.info);
    size_t pitch = size_t(pixels.width) * 4;
    if (png_get_rowbytes(Reading.png, Reading.info) != pitch ||
        pixels.rgba.size() != pitch * size_t(pixels.height))
        return false;
    for (int pass = 0; pass < passes; ++pass)
        for (int32_t y = 0; y < pixels.height; ++y)
            png_read_row(Reading.png, &pixels.rgba[size_t(y) * pitch], nullptr);
    return true;
}
} // namespace

bool ReadTransparentColors(const uint8_t* data, int64_t length, FramePixels& pixels)
{
    if (pixels.alpha || length < 8 || png_sig_cmp(data, 0, 8) != 0)
        return false;
    bool read = ReadRgbaRows(data, length, pixels);
    ReleaseReading();
    // A reading that broke off has written the same colors, but only some of the alphas.
    for (size_t at = 3; !read && at < pixels.rgba.size(); at += 4)
        pixels.rgba[at] = 255;
    return read;
}
