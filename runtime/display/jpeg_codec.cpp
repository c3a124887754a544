// The JPEG decoder and encoder, glue to libjpeg's 6b interface.
//
// libjpeg's fatal errors return here by longjmp. Every function that calls setjmp keeps its
// state in the module's records below, never in locals, and holds no object with a
// destructor; buffers come from the library's own pools, so destroying the object frees them.
#include "runtime/display/image_codec.h"
#include "runtime/platform/system.h"

#include <csetjmp>
#include <cstddef>
#include <cstdlib>
#include <cstring>
// clang-format off
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace {
struct JpegErrors {
    jpeg_error_mgr manager; // first, so the library's pointer to it is a pointer to this
    std::jmp_buf jump;
};

struct JpegImage {
    jpeg_decompress_struct info;
    JpegErrors errors;
    jpeg_source_mgr source;
    int created = 0;               // info holds a decompression object
    uint8_t* fileBuffer = nullptr; // the whole file, for images probed from a file
    const uint8_t* data = nullptr;
    int64_t length = 0;
    int started = 0; // the memory block was handed to the library
    JSAMPARRAY row = nullptr;
    int32_t width = 0;
    int32_t height = 0;
};
JpegImage Jpeg;

struct JpegWriter {
    jpeg_compress_struct info;
    JpegErrors errors;
    int created = 0;
    std::FILE* file = nullptr;
};
JpegWriter JpegOut;

// Libraries with more memory than this in one image give up instead of allocating it.
constexpr long MAX_LIBRARY_MEMORY = 256L << 20;
const JOCTET END_OF_IMAGE[2] = {0xFF, 0xD9};

[[noreturn]] void JumpBack(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}
void Silent(j_common_ptr) {}

void UseSilentErrors(JpegErrors* errors)
{
    jpeg_std_error(&errors->manager);
    errors->manager.error_exit = JumpBack;
    errors->manager.output_message = Silent;
}

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

// A truncated image is completed with an end-of-image marker, so it ends cleanly with the
// rows the library could produce.
void SupplyEndOfImage(j_decompress_ptr info)
{
    WARNMS(info, JWRN_JPEG_EOF);
    info->src->next_input_byte = END_OF_IMAGE;
    info->src->bytes_in_buffer = 2;
}

boolean FillInput(j_decompress_ptr info)
{
    if (Jpeg.started) {
        SupplyEndOfImage(info);
        return TRUE;
    }
    Jpeg.started = 1;
    info->src->next_input_byte = Jpeg.data;
    info->src->bytes_in_buffer = static_cast<size_t>(Jpeg.length);
    return TRUE;
}

void SkipInput(j_decompress_ptr info, long count)
{
    if (count <= 0)
        return;
    while (!Jpeg.started)
        FillInput(info);
    if (static_cast<size_t>(count) > info->src->bytes_in_buffer) {
        SupplyEndOfImage(info);
        return;
    }
    info->src->next_input_byte += count;
    info->src->bytes_in_buffer -= static_cast<size_t>(count);
}

void ReleaseJpegImage()
{
    if (Jpeg.created)
        jpeg_destroy_decompress(&Jpeg.info);
    std::free(Jpeg.fileBuffer);
    Jpeg.created = 0;
    Jpeg.fileBuffer = nullptr;
    Jpeg.data = nullptr;
    Jpeg.row = nullptr;
    Jpeg.width = Jpeg.height = 0;
}

// The whole file into Jpeg.fileBuffer; 0 when it cannot be read or is absurdly large.
int32_t ReadWholeFile(std::FILE* file)
{
    if (std::fseek(file, 0, SEEK_END) != 0)
        return 0;
    long size = std::ftell(file);
    if (size <= 0 || size > MAX_IMAGE_BYTES || std::fseek(file, 0, SEEK_SET) != 0)
        return 0;
    Jpeg.fileBuffer = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(size)));
    if (!Jpeg.fileBuffer)
        return 0;
    if (std::fread(Jpeg.fileBuffer, 1, static_cast<size_t>(size), file) !=
        static_cast<size_t>(size))
        return 0;
    Jpeg.data = Jpeg.fileBuffer;
    Jpeg.length = size;
    return 1;
}

void AttachMemorySource()
{
    Jpeg.started = 0;
    Jpeg.source.init_source = InitSource;
    Jpeg.source.fill_input_buffer = FillInput;
    Jpeg.source.skip_input_data = SkipInput;
    Jpeg.source.resync_to_restart = jpeg_resync_to_restart;
    Jpeg.source.term_source = TermSource;
    Jpeg.source.next_input_byte = nullptr;
    Jpeg.source.bytes_in_buffer = 0;
    Jpeg.info.src = &Jpeg.source;
}

// Header, output format and the one-row sample buffer; the library jumps back on errors.
void StartJpegDecompression()
{
    jpeg_read_header(&Jpeg.info, TRUE);
    if (!ImageSizeAllowed(Jpeg.info.image_width, Jpeg.info.image_height))
        ERREXIT(&Jpeg.info, JERR_IMAGE_TOO_BIG);
    Jpeg.info.dct_method = JDCT_ISLOW;
    if (Jpeg.info.jpeg_color_space == JCS_GRAYSCALE)
        Jpeg.info.out_color_space = JCS_RGB;
    jpeg_calc_output_dimensions(&Jpeg.info);
    // Four-channel images (CMYK) have no conversion to RGB in the library.
    if (Jpeg.info.output_components != 3)
        ERREXIT(&Jpeg.info, JERR_CONVERSION_NOTIMPL);
    JDIMENSION samples = (Jpeg.info.output_width * Jpeg.info.output_components + 3) & ~3u;
    Jpeg.row = (*Jpeg.info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&Jpeg.info),
                                              JPOOL_IMAGE, samples, 1);
    jpeg_start_decompress(&Jpeg.info);
    Jpeg.width = static_cast<int32_t>(Jpeg.info.output_width);
    Jpeg.height = static_cast<int32_t>(Jpeg.info.output_height);
}

int32_t ProbeJpeg(std::FILE* file, const uint8_t* memory, int64_t length)
{
    ReleaseJpegImage();
    if (file) {
        if (!ReadWholeFile(file)) {
            ReleaseJpegImage();
            return 0;
        }
    } else {
        Jpeg.data = memory;
        Jpeg.length = length;
    }
    if (!Jpeg.data || Jpeg.length < 2 || Jpeg.data[0] != 0xFF || Jpeg.data[1] != 0xD8) {
        ReleaseJpegImage();
        return 0;
    }
    UseSilentErrors(&Jpeg.errors);
    Jpeg.info.err = &Jpeg.errors.manager;
    if (setjmp(Jpeg.errors.jump)) {
        ReleaseJpegImage();
        return 0;
    }
    jpeg_create_decompress(&Jpeg.info);
    Jpeg.created = 1;
    Jpeg.info.mem->max_memory_to_use = MAX_LIBRARY_MEMORY;
    AttachMemorySource();
    StartJpegDecompression();
    return 1;
}

int32_t DecodeJpeg(uint8_t* destination, int32_t pitch)
{
    if (!Jpeg.created || !destination)
        return 0;
    if (setjmp(Jpeg.errors.jump)) {
        ReleaseJpegImage();
        return 0;
    }
    if (pitch < Jpeg.width * 3)
        ERREXIT(&Jpeg.info, JERR_BUFFER_SIZE);
    while (Jpeg.info.output_scanline < Jpeg.info.output_height) {
        uint8_t* out = destination + static_cast<ptrdiff_t>(Jpeg.info.output_scanline) * pitch;
        if (jpeg_read_scanlines(&Jpeg.info, Jpeg.row, 1) != 1)
            ERREXIT(&Jpeg.info, JERR_INPUT_EMPTY);
        const JSAMPLE* in = Jpeg.row[0];
        for (int32_t x = 0; x < Jpeg.width; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    jpeg_finish_decompress(&Jpeg.info);
    ReleaseJpegImage();
    return 1;
}

int32_t JpegWidth()
{
    return Jpeg.width;
}
int32_t JpegHeight()
{
    return Jpeg.height;
}

void ReleaseJpegWriter()
{
    if (JpegOut.created)
        jpeg_destroy_compress(&JpegOut.info);
    if (JpegOut.file)
        std::fclose(JpegOut.file);
    JpegOut.created = 0;
    JpegOut.file = nullptr;
}

// The quality q is clamped to 0..10 and given to the library as 10 * q.
int32_t EncodeJpeg(const char* fileName, const uint8_t* pixels, int32_t width, int32_t height,
                   int32_t pitch, int32_t quality)
{
    if (!fileName || !pixels || !ImageSizeAllowed(width, height) || pitch < width * 3)
        return 0;
    ReleaseJpegWriter();
    JpegOut.file = SystemOpenStream(fileName, "wb");
    if (!JpegOut.file)
        return 0;
    UseSilentErrors(&JpegOut.errors);
    JpegOut.info.err = &JpegOut.errors.manager;
    if (setjmp(JpegOut.errors.jump)) {
        ReleaseJpegWriter();
        std::remove(fileName);
        return 0;
    }
    jpeg_create_compress(&JpegOut.info);
    JpegOut.created = 1;
    jpeg_stdio_dest(&JpegOut.info, JpegOut.file);
    JpegOut.info.image_width = static_cast<JDIMENSION>(width);
    JpegOut.info.image_height = static_cast<JDIMENSION>(height);
    JpegOut.info.input_components = 3;
    JpegOut.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&JpegOut.info);
    jpeg_set_quality(&JpegOut.info, 10 * (quality < 0 ? 0 : quality > 10 ? 10 : quality), TRUE);
    JSAMPARRAY row = (*JpegOut.info.mem->alloc_sarray)(
        reinterpret_cast<j_common_ptr>(&JpegOut.info), JPOOL_IMAGE, width * 3, 1);
    jpeg_start_compress(&JpegOut.info, TRUE);
    while (JpegOut.info.next_scanline < JpegOut.info.image_height) {
        const uint8_t* in =
            pixels + static_cast<ptrdiff_t>(height - 1 - JpegOut.info.next_scanline) * pitch;
        for (int32_t x = 0; x < width; ++x, in += 3) {
            row[0][x * 3] = in[2];
            row[0][x * 3 + 1] = in[1];
            row[0][x * 3 + 2] = in[0];
        }
        jpeg_write_scanlines(&JpegOut.info, row, 1);
    }
    jpeg_finish_compress(&JpegOut.info);
    jpeg_destroy_compress(&JpegOut.info);
    JpegOut.created = 0;
    int closed = std::fclose(JpegOut.file);
    JpegOut.file = nullptr;
    if (closed != 0) {
        std::remove(fileName);
        return 0;
    }
    return 1;
}

const ImageDecoder JpegDecoder = {ProbeJpeg, DecodeJpeg, JpegWidth, JpegHeight};
const ImageEncoder JpegEncoder = {JPEG_ENCODER_TAG, EncodeJpeg};
} // namespace

void RegisterJpegDecoder()
{
    AddImageDecoder(&JpegDecoder);
}
void RegisterJpegEncoder()
{
    AddImageEncoder(&JpegEncoder);
}
