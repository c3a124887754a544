// RIFF WAVE images: any bytes are taken as a sound or refused, never read beyond their end,
// and the chunks found always lie inside them.
#include "runtime/runtime.h"
#include "runtime/sound/wave_image.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WaveImage wave;
    if (FindWaveChunks(data, size, &wave)) {
        const uint8_t* end = data + size;
        if (wave.format < data || wave.format + wave.formatSize > end || wave.samples < data ||
            wave.samples + wave.sampleSize > end)
            std::abort();
    }
    // FreeAllSounds closes the sound system, so every run opens it again.
    if (!InitSound())
        std::abort();
    int32_t number = CatchSound(1, data, static_cast<int32_t>(size));
    if (number && SoundLength(1) != static_cast<int32_t>(wave.sampleSize))
        std::abort();
    int32_t handle = CatchSound(DYNAMIC_OBJECT, data, static_cast<int32_t>(size));
    if ((number != 0) != (handle != 0))
        std::abort();
    FreeAllSounds();
    return 0;
}
