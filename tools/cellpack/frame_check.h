// Checking frame images for what the game will show: errors for frames it cannot load, and
// warnings for frames it loads but draws differently from what their author sees in an image
// editor, since the game knows no alpha channel, only the exact key color FF00FF.
#pragma once
#include "tools/cellpack/frame_image.h"

#include <cstdint>
#include <string>
#include <vector>

// Pixels whose alpha is below this count as transparent, for the checks and for keying.
constexpr int32_t DEFAULT_KEY_ALPHA = 128;

struct FrameFindings {
    std::string error;                 // why the game cannot load the frame, or ""
    std::vector<std::string> warnings; // what it will show that its author did not mean
    bool lossy = false;                // a JPEG
    int64_t keyPixels = 0;             // exactly FF00FF
    int64_t nearKeyPixels = 0;         // close to FF00FF without being it
};

// The findings of one frame image.
FrameFindings CheckFrame(const std::vector<uint8_t>& data);
// The findings of the frames of the image data, with the warning for lossy frames of a type
// whose frames use the key color.
std::vector<FrameFindings> CheckFrames(const std::vector<const std::vector<uint8_t>*>& frames);

// Whether a pixel (red, green, blue) is the key color, or close to it.
bool IsKeyColor(const uint8_t* rgb);
bool IsNearKeyColor(const uint8_t* rgb);
