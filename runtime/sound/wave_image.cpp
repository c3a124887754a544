// Walking the chunks of a RIFF WAVE image and reading its format.
#include "runtime/sound/wave_image.h"
#include "runtime/core/little_endian.h"

#include <cstring>

namespace {

bool TagIs(const uint8_t* p, const char* tag)
{
    return std::memcmp(p, tag, 4) == 0;
}
} // namespace

int32_t FindWaveChunks(const uint8_t* memory, size_t length, WaveImage* wave)
{
    if (!memory || length < 20 || !TagIs(memory, "RIFF") || !TagIs(memory + 12, "fmt "))
        return 0;
    uint64_t formatSize = LoadLittleEndian32(memory + 16);
    if (20 + formatSize > length)
        return 0;
    // Positions are 64-bit so that no stated size can wrap them back into the memory.
    uint64_t position = 20 + formatSize;
    while (position + 8 <= length) {
        const uint8_t* chunk = memory + position;
        uint64_t size = LoadLittleEndian32(chunk + 4);
        if (position + 8 + size > length)
            return 0;
        if (TagIs(chunk, "data")) {
            wave->format = memory + 20;
            wave->formatSize = uint32_t(formatSize);
            wave->samples = chunk + 8;
            wave->sampleSize = uint32_t(size);
            return 1;
        }
        position += 8 + size;
    }
    return 0;
}

int32_t ReadWaveFormat(const WaveImage& wave, WaveFormat* format)
{
    if (!wave.format || wave.formatSize < 16)
        return 0;
    const uint8_t* p = wave.format;
    WaveFormat f;
    f.formatTag = LoadLittleEndian16(p);
    f.channels = LoadLittleEndian16(p + 2);
    f.samplesPerSecond = LoadLittleEndian32(p + 4);
    f.averageBytesPerSecond = LoadLittleEndian32(p + 8);
    f.blockAlign = LoadLittleEndian16(p + 12);
    f.bitsPerSample = LoadLittleEndian16(p + 14);
    bool knownTag = f.formatTag == 1 || f.formatTag == 3 || f.formatTag == 0xFFFE;
    bool knownBits = f.bitsPerSample == 8 || f.bitsPerSample == 16 || f.bitsPerSample == 24 ||
                     f.bitsPerSample == 32;
    if (!knownTag || !knownBits || f.channels < 1 || f.channels > 8 || f.samplesPerSecond < 100 ||
        f.samplesPerSecond > 200000 || f.blockAlign != f.channels * f.bitsPerSample / 8)
        return 0;
    *format = f;
    return 1;
}
