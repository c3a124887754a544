// Images into sprites: any bytes offered as a BMP, PNG or JPEG image become a sprite of the
// screen's format or are refused, never read beyond their end.
#include "runtime/runtime.h"

#include <cstdlib>

namespace {
bool OpenFuzzScreen()
{
    RegisterPngDecoder();
    RegisterJpegDecoder();
    return InitSprite() && OpenScreen(64, 48, 32, "fuzz");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = OpenFuzzScreen();
    if (!ready)
        std::abort();
    // Texture mode first: the mode the game loads every image with; then a plain sprite.
    for (int32_t mode : {4, 0}) {
        if (LoadSpriteFromMemory(1, data, static_cast<int64_t>(size), mode))
            DisplaySprite(1, -3, 5);
        FreeSprite(1);
    }
    return 0;
}
