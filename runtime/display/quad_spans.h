// The pixel paths of the quad rasterizer: one span (a run of pixels in one row) at a time.
// Shared by the rasterizer and its vector kernels; not part of the runtime's operations.
#pragma once
#include <cstdint>

// How a span's texels are found.
enum SpanFetch : int32_t {
    FETCH_POINT = 0,      // nearest texel
    FETCH_BILINEAR = 1,   // four texels mixed by 8-bit fractions
    FETCH_CONTIGUOUS = 2, // one texel per pixel along a texture row (1:1 unrotated spans)
};

// How a span's pixels meet the destination.
enum SpanBlend : int32_t {
    BLEND_OVER = 0,     // factors (5, 6)
    BLEND_MULTIPLY = 1, // factors (9, 8)
};

// A span of a 32-bit texture drawn onto a 32-bit target, both with bytes B G R x.
struct Span32 {
    const uint32_t* texels; // first texel of the texture
    int32_t texelPitch;     // texels from one texture row to the next
    int32_t maxX;           // width - 1
    int32_t maxY;           // height - 1
    uint32_t key;           // RGB of the color key, or ~0 when nothing is keyed
    uint32_t alpha;         // diffuse alpha 0..255
    int32_t s, t;           // texel coordinates of the first pixel, 16.16 fixed point
    int32_t ds, dt;         // their steps per pixel
    uint32_t* dst;          // first pixel of the span
    int32_t count;          // pixels in the span, at least 1
};

using Span32Kernel = void (*)(const Span32& span);

// The vector kernel for a fetch and a blend, or none when the processor lacks the
// instructions. Every kernel gives exactly the pixels of the plain path.
Span32Kernel VectorSpan32Kernel(SpanFetch fetch, SpanBlend blend);
