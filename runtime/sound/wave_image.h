// RIFF WAVE images in memory: where the format and the samples are. Never reads outside the
// given memory, whatever the chunk sizes claim.
#pragma once
#include <cstddef>
#include <cstdint>

struct WaveImage {
    const uint8_t* format = nullptr; // the "fmt " chunk's data, as the sound device takes it
    uint32_t formatSize = 0;
    const uint8_t* samples = nullptr; // the "data" chunk's data
    uint32_t sampleSize = 0;
};

// The fields of a format chunk that a sound buffer needs.
struct WaveFormat {
    uint16_t formatTag = 0; // 1 PCM, 3 IEEE float, 0xFFFE extensible
    uint16_t channels = 0;
    uint32_t samplesPerSecond = 0;
    uint32_t averageBytesPerSecond = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
};

// Finds the chunks: the image must begin with "RIFF" and the chunk at offset 12 must be
// "fmt "; the chunks after it are skipped by their stated sizes (without a padding byte) up
// to the first "data" chunk. 1 on success; 0 when the image is too short, the first chunk is
// not "fmt ", a chunk reaches past the memory or there is no "data" chunk.
int32_t FindWaveChunks(const uint8_t* memory, size_t length, WaveImage* wave);
// Reads a format chunk that a sound buffer can take: PCM, IEEE float or extensible samples,
// 1 to 8 channels of 8, 16, 24 or 32 bits, 100 to 200000 samples per second and a block size
// that matches them. 1 on success.
int32_t ReadWaveFormat(const WaveImage& wave, WaveFormat* format);
