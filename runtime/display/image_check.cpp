// A full trial decode of an image, for loaders and tools that must know an image is sound
// before they rely on it.
#include "runtime/display/image_check.h"

#include "runtime/display/image_codec.h"

#include <cstdlib>

ImageSize CheckImage(const void* memory, int64_t length)
{
    if (!memory || length <= 0 || FindImageDecoder(memory, length) == 0)
        return {0, 0};
    int32_t width = CurrentImageWidth(), height = CurrentImageHeight();
    // Four bytes a pixel holds either delivery; the decoder wants one spare row.
    int64_t pitch = int64_t(width) * 4;
    void* pixels = width > 0 && height > 0 && ImageSizeAllowed(width, height)
                       ? std::malloc(size_t(pitch) * size_t(height + 1))
                       : nullptr;
    int32_t decoded = pixels ? DecodeCurrentImage(pixels, int32_t(pitch)) : 0;
    std::free(pixels);
    return decoded ? ImageSize{width, height} : ImageSize{0, 0};
}
