// The PNG decoder and encoder, glue to libpng.
//
// libpng reports errors by longjmp. Every function that calls setjmp keeps its state in the
// module's records below, never in locals, and holds no object with a destructor, so that a
// jump back skips nothing that must run and the clean-up finds everything to release.
#include "runtime/display/image_codec.h"
#include "runtime/platform/system.h"

#include <png.h>

#include <csetjmp>
#include <cstddef>
#include <cstring>

namespace {
struct PngImage {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const uint8_t* cursor = nullptr; // memory images: next byte to hand to the library
    const uint8_t* end = nullptr;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
};
PngImage Png;

struct PngWriter {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::FILE* file = nullptr;
};
PngWriter PngOut;

// Library errors return to the codec; warnings are not shown.
[[noreturn]] void PngError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}
void PngWarning(png_structp, png_const_charp) {}

// The memory reader stops at the given length: a read past it is a library error.
void ReadFromMemory(png_structp png, png_bytep out, size_t count)
{
    if (count > static_cast<size_t>(Png.end - Png.cursor))
        png_error(png, "read beyond the image");
    std::memcpy(out, Png.cursor, count);
    Png.cursor += count;
}

void ReleasePngImage()
{
    if (Png.png)
        png_destroy_read_struct(&Png.png, Png.info ? &Png.info : nullptr, nullptr);
    Png = PngImage{};
}

int32_t ProbePng(std::FILE* file, const uint8_t* memory, int64_t length)
{
    ReleasePngImage();
    png_byte signature[8];
    if (file) {
        if (std::fread(signature, 1, 8, file) != 8)
            return 0;
    } else {
        if (!memory || length < 8)
            return 0;
        std::memcpy(signature, memory, 8);
    }
    if (png_sig_cmp(signature, 0, 8) != 0)
        return 0;
    Png.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!Png.png)
        return 0;
    Png.info = png_create_info_struct(Png.png);
    if (!Png.info) {
        ReleasePngImage();
        return 0;
    }
    if (setjmp(png_jmpbuf(Png.png))) {
        ReleasePngImage();
        return 0;
    }
    png_set_user_limits(Png.png, MAX_IMAGE_SIDE, MAX_IMAGE_SIDE);
    if (file) {
        png_init_io(Png.png, file);
        png_set_sig_bytes(Png.png, 8);
    } else {
        Png.cursor = memory;
        Png.end = memory + length;
        png_set_read_fn(Png.png, nullptr, ReadFromMemory);
    }
    png_read_info(Png.png, Png.info);
    int interlace = 0;
    png_get_IHDR(Png.png, Png.info, &Png.width, &Png.height, &Png.bitDepth, &Png.colorType,
                 &interlace, nullptr, nullptr);
    if (!ImageSizeAllowed(Png.width, Png.height)) {
        ReleasePngImage();
        return 0;
    }
    return (Png.colorType & PNG_COLOR_MASK_ALPHA) ? 2 : 1;
}

// Blue-green-red with 8-bit channels, alpha only where the image has an alpha channel.
void SetPngTransformations()
{
    if (Png.colorType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(Png.png);
        png_set_strip_alpha(Png.png);
    }
    if (Png.colorType == PNG_COLOR_TYPE_GRAY || Png.colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_expand_gray_1_2_4_to_8(Png.png);
        png_set_gray_to_rgb(Png.png);
    }
    if (Png.bitDepth == 16)
        png_set_strip_16(Png.png);
    png_set_bgr(Png.png);
}

int32_t DecodePng(uint8_t* destination, int32_t pitch)
{
    if (!Png.png || !destination)
        return 0;
    if (setjmp(png_jmpbuf(Png.png))) {
        ReleasePngImage();
        return 0;
    }
    SetPngTransformations();
    int passes = png_set_interlace_handling(Png.png);
    png_read_update_info(Png.png, Png.info);
    if (pitch < 0 || png_get_rowbytes(Png.png, Png.info) > static_cast<size_t>(pitch))
        png_error(Png.png, "rows do not fit the pitch");
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < Png.height; ++y)
            png_read_row(Png.png, destination + static_cast<ptrdiff_t>(y) * pitch, nullptr);
    ReleasePngImage();
    return 1;
}

int32_t PngWidth()
{
    return static_cast<int32_t>(Png.width);
}
int32_t PngHeight()
{
    return static_cast<int32_t>(Png.height);
}

void ReleasePngWriter()
{
    if (PngOut.png)
        png_destroy_write_struct(&PngOut.png, PngOut.info ? &PngOut.info : nullptr);
    if (PngOut.file)
        std::fclose(PngOut.file);
    PngOut = PngWriter{};
}

// The quality is ignored: PNG is lossless.
int32_t EncodePng(const char* fileName, const uint8_t* pixels, int32_t width, int32_t height,
                  int32_t pitch, int32_t)
{
    if (!fileName || !pixels || !ImageSizeAllowed(width, height) || pitch < width * 3)
        return 0;
    ReleasePngWriter();
    PngOut.file = SystemOpenStream(fileName, "wb");
    if (!PngOut.file)
        return 0;
    PngOut.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (PngOut.png)
        PngOut.info = png_create_info_struct(PngOut.png);
    if (!PngOut.info) {
        ReleasePngWriter();
        std::remove(fileName);
        return 0;
    }
    if (setjmp(png_jmpbuf(PngOut.png))) {
        ReleasePngWriter();
        std::remove(fileName);
        return 0;
    }
    png_init_io(PngOut.png, PngOut.file);
    png_set_IHDR(PngOut.png, PngOut.info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(PngOut.png, 0, PNG_FILTER_NONE);
    png_set_compression_level(PngOut.png, 9);
    png_write_info(PngOut.png, PngOut.info);
    png_set_bgr(PngOut.png);
    for (int32_t y = 0; y < height; ++y)
        png_write_row(PngOut.png, pixels + static_cast<ptrdiff_t>(height - 1 - y) * pitch);
    png_write_end(PngOut.png, nullptr);
    png_destroy_write_struct(&PngOut.png, &PngOut.info);
    int closed = std::fclose(PngOut.file);
    PngOut = PngWriter{};
    if (closed != 0) {
        std::remove(fileName);
        return 0;
    }
    return 1;
}

const ImageDecoder PngDecoder = {ProbePng, DecodePng, PngWidth, PngHeight};
const ImageEncoder PngEncoder = {PNG_ENCODER_TAG, EncodePng};
} // namespace

void RegisterPngDecoder()
{
    AddImageDecoder(&PngDecoder);
}
void RegisterPngEncoder()
{
    AddImageEncoder(&PngEncoder);
}
