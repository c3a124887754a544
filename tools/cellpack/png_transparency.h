// The transparency of a PNG without an alpha channel: its transparent colors (a tRNS chunk),
// an alpha for each palette entry or one color of an RGB or grey image that is transparent.
// Image editors, optimisers and indexed-color painting programs write simple drawn frames so
// and show those pixels as transparent; the game's decoder leaves the chunk out and draws them.
#pragma once
#include "tools/cellpack/frame_image.h"

#include <cstdint>

// Sets the alpha of the pixels, already decoded from the same image by the game's decoder, to
// what the image's transparent colors give each pixel. False, with the pixels unchanged,
// when the image is no PNG with transparent colors or cannot be read.
bool ReadTransparentColors(const uint8_t* data, int64_t length, FramePixels& pixels);
