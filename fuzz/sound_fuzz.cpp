// Sounds: any image in memory is refused or loaded without reading outside it, and the chunks
// found always lie inside it.
#include "runtime/runtime.h"
#include "runtime/sound/wave_image.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const int32_t opened = InitSound();
    if (!opened)
        std::abort();
    WaveImage wave;
    if (FindWaveChunks(data, size, &wave)) {
        const uint8_t* end = data + size;
        if (wave.format < data || wave.format + wave.formatSize > end || wave.samples < data ||
            wave.samples + wave.sampleSize > end)
            std::abort();
    }
    int32_t loaded = CatchSound(1, data, size > 0x7FFFFFFF ? 0x7FFFFFFF : int32_t(size));
    if (loaded && SoundLength(1) != int32_t(wave.sampleSize))
        std::abort();
    return 0;
}
