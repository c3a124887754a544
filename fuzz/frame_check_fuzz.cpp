// cellpack's frame checks: any bytes offered as a frame are judged as the game's loader judges
// them, read within their end. The checks find no error exactly when the game makes a sprite
// of the image (BMP aside, which the sprite library reads but cellpack does not pack), and an
// image they pass decodes to whole rows that keying turns into the key color and opaque pixels.
#include "runtime/runtime.h"
#include "tools/cellpack/frame_check.h"
#include "tools/cellpack/keying.h"

#include <cstdlib>
#include <vector>

namespace {
bool OpenFuzzScreen()
{
    RegisterPngDecoder();
    RegisterJpegDecoder();
    return InitSprite() && OpenScreen(64, 48, 32, "fuzz");
}

// The decoded frame has whole rows, and keyed it holds only the key and opaque pixels.
void CheckKeying(const std::vector<uint8_t>& image)
{
    FramePixels pixels;
    if (!DecodeFrame(image, pixels))
        std::abort();
    if (pixels.rgba.size() != size_t(pixels.width) * size_t(pixels.height) * 4 ||
        (pixels.transparentColors && !pixels.alpha))
        std::abort();
    KeyPixels(pixels, DEFAULT_KEY_ALPHA);
    for (size_t at = 0; at < pixels.rgba.size(); at += 4)
        if (pixels.rgba[at + 3] != 255 || pixels.alpha)
            std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = OpenFuzzScreen();
    if (!ready)
        std::abort();
    std::vector<uint8_t> image(data, data + size);
    // As the frames of a type, which also weighs a JPEG against the type's use of the key.
    std::vector<FrameFindings> findings = CheckFrames({&image});
    if (findings.size() != 1)
        std::abort();
    const FrameFindings& frame = findings[0];
    bool sprite = LoadSpriteFromMemory(1, data, int64_t(size), 4) != 0;
    FreeSprite(1);
    if (ImageKind(image) != "bmp" && sprite != frame.error.empty())
        std::abort();
    if (frame.error.empty())
        CheckKeying(image);
    return 0;
}
