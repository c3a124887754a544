// Writing images through the runtime's PNG encoder, which takes bottom-up blue-green-red rows.
#include "tools/makedata/image_file.h"

#include "runtime/runtime.h"

#include <vector>

bool SaveImage(const std::string& path, const RgbImage& image)
{
    RegisterPngEncoder();
    int32_t pitch = image.width * 3;
    std::vector<uint8_t> rows(static_cast<size_t>(pitch) * image.height);
    for (int32_t y = 0; y < image.height; ++y) {
        const uint8_t* in = &image.rgb[static_cast<size_t>(y) * pitch];
        uint8_t* out = &rows[static_cast<size_t>(image.height - 1 - y) * pitch];
        for (int32_t x = 0; x < image.width; ++x) {
            out[x * 3] = in[x * 3 + 2];
            out[x * 3 + 1] = in[x * 3 + 1];
            out[x * 3 + 2] = in[x * 3];
        }
    }
    return EncodeImage(path.c_str(), rows.data(), PNG_ENCODER_TAG, image.width, image.height, pitch,
                       0) == 1;
}
