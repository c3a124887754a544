// The icon file: a directory of 16-byte entries after a 6-byte header, then the images. A PNG
// image in an entry is read by every Windows since Vista, at any size.
#include "tools/makedata/icon_file.h"

namespace {
constexpr uint16_t ICON_FILE_TYPE = 1;
constexpr uint32_t HEADER_SIZE = 6;
constexpr uint32_t ENTRY_SIZE = 16;

void Put16(std::vector<uint8_t>& bytes, uint32_t value)
{
    bytes.push_back(uint8_t(value));
    bytes.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& bytes, uint32_t value)
{
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}
} // namespace

std::vector<uint8_t> IconFile(const std::vector<IconImage>& images)
{
    std::vector<uint8_t> bytes;
    Put16(bytes, 0);
    Put16(bytes, ICON_FILE_TYPE);
    Put16(bytes, uint32_t(images.size()));
    uint32_t offset = HEADER_SIZE + ENTRY_SIZE * uint32_t(images.size());
    for (const IconImage& image : images) {
        // A side of 256 is written as 0: the field has one byte.
        bytes.push_back(uint8_t(image.size & 0xFF));
        bytes.push_back(uint8_t(image.size & 0xFF));
        bytes.push_back(0); // no palette
        bytes.push_back(0);
        Put16(bytes, 1);  // color planes
        Put16(bytes, 32); // bits per pixel
        Put32(bytes, uint32_t(image.png.size()));
        Put32(bytes, offset);
        offset += uint32_t(image.png.size());
    }
    for (const IconImage& image : images)
        bytes.insert(bytes.end(), image.png.begin(), image.png.end());
    return bytes;
}
