// RIFF WAVE images: any bytes are taken as a sound or refused, never read beyond their end.
#include "runtime/runtime.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // FreeAllSounds closes the sound system, so every run opens it again.
    if (!InitSound())
        std::abort();
    int32_t number = CatchSound(1, data, static_cast<int32_t>(size));
    if (number && SoundLength(1) < 0)
        std::abort();
    int32_t handle = CatchSound(DYNAMIC_OBJECT, data, static_cast<int32_t>(size));
    if ((number != 0) != (handle != 0))
        std::abort();
    FreeAllSounds();
    return 0;
}
