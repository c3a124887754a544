// The Windows icon file (.ico): several sizes of one icon, each stored as a PNG image.
#pragma once
#include <cstdint>
#include <vector>

struct IconImage {
    int32_t size = 0;         // width and height in pixels, 1 to 256
    std::vector<uint8_t> png; // the image as a PNG file
};

// The bytes of an icon file holding the images in the order given.
std::vector<uint8_t> IconFile(const std::vector<IconImage>& images);
