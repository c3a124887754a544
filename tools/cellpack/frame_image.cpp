// Frame images: their kind and header, the reasons the game would refuse one, their pixels.
#include "tools/cellpack/frame_image.h"

#include "runtime/display/image_codec.h"
#include "runtime/display/sprite.h"
#include "runtime/platform/system.h"

#include "tools/cellpack/file_bytes.h"
#include "tools/cellpack/png_transparency.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace {
uint32_t BigEndian16(const uint8_t* p)
{
    return uint32_t(p[0]) << 8 | p[1];
}

uint32_t BigEndian32(const uint8_t* p)
{
    return BigEndian16(p) << 16 | BigEndian16(p + 2);
}

// The IHDR chunk comes first: its length and name, then width and height.
void ReadPngHeader(const std::vector<uint8_t>& data, ImageHeader& header)
{
    if (data.size() < 8 + 16 || std::memcmp(data.data() + 12, "IHDR", 4) != 0)
        return;
    header.width = BigEndian32(data.data() + 16);
    header.height = BigEndian32(data.data() + 20);
}

bool IsFrameMarker(uint8_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the marker segments up to the frame header: precision, height, width, components.
void ReadJpegHeader(const std::vector<uint8_t>& data, ImageHeader& header)
{
    size_t at = 2;
    while (at + 4 <= data.size()) {
        if (data[at] != 0xFF)
            return;
        uint8_t marker = data[at + 1];
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA)
            return;
        size_t length = BigEndian16(&data[at + 2]);
        if (IsFrameMarker(marker)) {
            if (length < 8 || at + 2 + length > data.size())
                return;
            header.height = BigEndian16(&data[at + 5]);
            header.width = BigEndian16(&data[at + 7]);
            header.components = data[at + 9];
            return;
        }
        at += 2 + length;
    }
}

// Why the decoders refuse an image within their side limit: the bytes they would need.
std::string TooManyBytes(const ImageHeader& header)
{
    // The decoders write into a buffer of 4 bytes a pixel with one row more than the image.
    int64_t needed = header.width * 4 * (header.height + 1);
    int64_t highest = MAX_IMAGE_BYTES / (header.width * 4) - 1;
    return "its decoder needs " + std::to_string(needed) +
           " bytes (4 a pixel, with one row more), above its limit of " +
           std::to_string(MAX_IMAGE_BYTES) + " bytes (" + std::to_string(MAX_IMAGE_BYTES >> 20) +
           " MiB); at " + std::to_string(header.width) + " pixels wide a frame may be at most " +
           std::to_string(highest) + " pixels high";
}

std::string Dimensions(const ImageHeader& header)
{
    return std::to_string(header.width) + " x " + std::to_string(header.height) + " pixels";
}
} // namespace

std::string ImageKind(const std::vector<uint8_t>& data)
{
    auto starts = [&data](const char* magic, size_t length) {
        return data.size() >= length && std::memcmp(data.data(), magic, length) == 0;
    };
    if (starts("\x89PNG\r\n\x1a\n", 8))
        return "png";
    // The JPEG decoder asks for the start-of-image marker alone; its library finds the next
    // marker past any bytes between.
    if (starts("\xFF\xD8", 2))
        return "jpg";
    if (starts("BM", 2))
        return "bmp";
    return "";
}

std::string FormatName(std::string kind)
{
    for (char& c : kind)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return kind;
}

ImageHeader ReadImageHeader(const std::vector<uint8_t>& data)
{
    ImageHeader header;
    header.kind = ImageKind(data);
    if (header.kind == "png")
        ReadPngHeader(data, header);
    if (header.kind == "jpg")
        ReadJpegHeader(data, header);
    return header;
}

std::string ImageProblem(const std::vector<uint8_t>& data, FramePixels& pixels)
{
    pixels = {};
    ImageHeader header = ReadImageHeader(data);
    std::string name = FormatName(header.kind);
    if (header.kind.empty())
        return "not an image that the registered decoders (PNG, JPEG) read";
    if (header.kind == "bmp")
        return "a BMP image; the registered decoders read only PNG and JPEG";
    if (header.width > MAX_IMAGE_SIDE || header.height > MAX_IMAGE_SIDE)
        return "a " + name + " image of " + Dimensions(header) + ": above the decoders' limit of " +
               std::to_string(MAX_IMAGE_SIDE) + " pixels a side";
    if (header.width > 0 && header.height > 0 && !ImageSizeAllowed(header.width, header.height))
        return "a " + name + " image of " + Dimensions(header) + ": " + TooManyBytes(header);
    if (header.kind == "jpg" && header.components == 4)
        return "a CMYK JPEG: the JPEG decoder reads only RGB and greyscale JPEGs; save it as RGB "
               "(or as PNG)";
    if (DecodeFrame(data, pixels))
        return "";
    if (int64_t(data.size()) > SPRITE_IMAGE_BOUND)
        return "a " + name + " file of " + std::to_string(data.size()) +
               " bytes: the game gives its decoder only the first " +
               std::to_string(SPRITE_IMAGE_BOUND) +
               " bytes of a frame, and the image does not end within them";
    return "a broken " + name + " image: its decoder does not read it";
}

bool DecodeFrame(const std::vector<uint8_t>& data, FramePixels& pixels)
{
    pixels = {};
    // The game offers its decoders no more of a frame than this; what lies beyond is never read.
    int64_t length = std::min(int64_t(data.size()), SPRITE_IMAGE_BOUND);
    int32_t found = length == 0 ? 0 : FindImageDecoder(data.data(), length);
    if (found == 0)
        return false;
    int32_t width = CurrentImageWidth(), height = CurrentImageHeight();
    // The decoders refuse larger images in their probe.
    if (width <= 0 || height <= 0 || !ImageSizeAllowed(width, height))
        return false;
    // Decoded in place: each row holds four bytes a pixel, so a row of three-byte pixels
    // widens from its right end without overwriting what it still has to read.
    size_t bytes = found == 2 ? 4 : 3, pitch = size_t(width) * 4;
    pixels.rgba.resize(pitch * size_t(height + 1));
    if (!DecodeCurrentImage(pixels.rgba.data(), int32_t(pitch))) {
        pixels = {};
        return false;
    }
    for (size_t y = 0; y < size_t(height); ++y)
        for (size_t x = size_t(width); x-- > 0;) {
            uint8_t* row = &pixels.rgba[y * pitch];
            uint8_t blue = row[x * bytes], green = row[x * bytes + 1], red = row[x * bytes + 2];
            uint8_t alpha = bytes == 4 ? row[x * bytes + 3] : 255;
            row[x * 4] = red, row[x * 4 + 1] = green, row[x * 4 + 2] = blue, row[x * 4 + 3] = alpha;
        }
    pixels.rgba.resize(pitch * size_t(height));
    pixels.width = width;
    pixels.height = height;
    pixels.alpha = found == 2;
    pixels.transparentColors = ReadTransparentColors(data.data(), length, pixels);
    pixels.alpha = pixels.alpha || pixels.transparentColors;
    return true;
}

std::string EncodePng(const FramePixels& pixels, std::vector<uint8_t>& png)
{
    RegisterPngEncoder();
    // The encoder writes a file and takes bottom-up blue-green-red rows.
    int32_t pitch = pixels.width * 3;
    std::vector<uint8_t> rows(size_t(pitch) * size_t(pixels.height));
    for (int32_t y = 0; y < pixels.height; ++y)
        for (int32_t x = 0; x < pixels.width; ++x) {
            const uint8_t* in = &pixels.rgba[(size_t(y) * size_t(pixels.width) + size_t(x)) * 4];
            uint8_t* out = &rows[size_t(pixels.height - 1 - y) * size_t(pitch) + size_t(x) * 3];
            out[0] = in[2], out[1] = in[1], out[2] = in[0];
        }
    std::string name = SystemMakeTemporaryFile("cellpack-");
    if (name.empty())
        return "cannot make a temporary file for the PNG encoder";
    bool written = EncodeImage(name.c_str(), rows.data(), PNG_ENCODER_TAG, pixels.width,
                               pixels.height, pitch, 0) == 1;
    std::string error = written ? ReadFileBytes(name, png) : "the PNG encoder failed";
    SystemRemoveFile(name);
    return error;
}
