// Keying: an image with transparency (an alpha channel or transparent colors), as image
// editors export them, turned into a frame of the only transparency the game knows, the exact
// key color FF00FF.
#pragma once
#include "tools/cellpack/command_line.h"
#include "tools/cellpack/frame_image.h"

#include <cstdint>
#include <string>
#include <vector>

// Pixels whose alpha is below the threshold become FF00FF, the others opaque in their own
// color; a visible pixel of exactly FF00FF becomes FE00FF, so that it stays visible. The
// pixels have no alpha channel afterwards.
void KeyPixels(FramePixels& pixels, int32_t threshold);
// Keys an image that has transparency and replaces it by the keyed PNG; true when it did.
// Images without it and images the decoders do not read stay as they are.
bool KeyImage(std::vector<uint8_t>& image, int32_t threshold, std::string& error);
// The threshold an option gives ("" for the default); false when it is not 1 to 256.
bool ParseKeyAlpha(const std::string& text, int32_t& threshold);

extern const Command KeyCommand;
