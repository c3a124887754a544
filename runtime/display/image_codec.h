// Image codecs: the registered decoders (image file or memory -> pixel buffer) and encoders
// (pixel buffer -> file), with the PNG and JPEG codecs that register themselves into them.
#pragma once
#include <cstdint>
#include <cstdio>

// One decoder. Each decoder holds the state of one image at a time, between a successful
// probe and the decode that follows it.
struct ImageDecoder {
    // Exactly one of file (open, at its start) and memory is given; length bounds the memory
    // image. 0: not this format or unreadable; 1: delivered as 24 bits per pixel (blue, green,
    // red); 2: delivered as 32 bits per pixel (blue, green, red, alpha).
    int32_t (*probe)(std::FILE* file, const uint8_t* memory, int64_t length);
    // Writes the probed image top-down, rows pitch bytes apart, then releases the image.
    // The destination holds pitch * (height + 1) bytes. Nonzero on success; after a failure
    // the rows already written stay.
    int32_t (*decode)(uint8_t* destination, int32_t pitch);
    int32_t (*imageWidth)();
    int32_t (*imageHeight)();
};

// One encoder: a tag of four characters, first character in the lowest byte.
struct ImageEncoder {
    uint32_t tag;
    // Writes a bottom-up blue-green-red buffer to the file as a top-down 8-bit RGB image.
    // 1 when the file was written, else 0.
    int32_t (*encode)(const char* fileName, const uint8_t* pixels, int32_t width, int32_t height,
                      int32_t pitch, int32_t quality);
};

constexpr uint32_t PNG_ENCODER_TAG = 0x474E50;    // "PNG\0"
constexpr uint32_t JPEG_ENCODER_TAG = 0x4745504A; // "JPEG"

// Images larger than this on a side, or whose 32-bit buffer would exceed MAX_IMAGE_BYTES, are
// refused by every decoder: a corrupt header must not make the loader allocate gigabytes.
constexpr int32_t MAX_IMAGE_SIDE = 16384;
constexpr int64_t MAX_IMAGE_BYTES = int64_t{256} << 20;
// Whether a decoder may accept an image of that size.
bool ImageSizeAllowed(int64_t width, int64_t height);

// Registration appends a codec once; later calls do nothing.
void RegisterPngDecoder();
void RegisterJpegDecoder();
void RegisterPngEncoder();
void RegisterJpegEncoder();
// Appends a decoder or encoder unless it is listed already; 0 when the list is full.
int32_t AddImageDecoder(const ImageDecoder* decoder);
int32_t AddImageEncoder(const ImageEncoder* encoder);
// Empties both lists, as at program start.
void ClearImageCodecs();
int32_t ImageDecoderCount();

// Offers the image to every decoder in registration order; the first nonzero probe result is
// returned and that decoder becomes the current one. 0 when none accepts.
int32_t FindImageDecoder(const void* memory, int64_t length);
// The same for a file, which stays open until DecodeCurrentImage. File names here and in the
// encoders are resolved as every file name is (either separator, any letter case).
int32_t FindImageDecoderForFile(const char* fileName);
// Size of the image of the current decoder; 0 when there is none.
int32_t CurrentImageWidth();
int32_t CurrentImageHeight();
// The current decoder's decode; closes a file opened by the find step. 0 without a decoder.
int32_t DecodeCurrentImage(void* destination, int32_t pitch);
// The first encoder with the tag writes the file; 0 when no encoder has it.
int32_t EncodeImage(const char* fileName, const void* pixels, uint32_t tag, int32_t width,
                    int32_t height, int32_t pitch, int32_t quality);
