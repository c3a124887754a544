// Whether an image in memory is one that the registered decoders read completely.
#pragma once
#include <cstdint>

struct ImageSize {
    int32_t width;
    int32_t height;
};

// Decodes the image with the first registered decoder that accepts it, into a scratch buffer
// that is freed again; its size, or {0, 0} when no decoder accepts it, its decode fails or
// memory runs out.
ImageSize CheckImage(const void* memory, int64_t length);
