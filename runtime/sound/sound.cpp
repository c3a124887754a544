// The sound table: sample memory and the settings of each sound, freed with the device.
#include "runtime/sound/sound.h"
#include "runtime/core/object_table.h"
#include "runtime/platform/platform.h"
#include "runtime/sound/wave_image.h"

#include <cstdlib>
#include <cstring>
#include <type_traits>

namespace {
struct SoundRecord {
    int32_t inUse; // nonzero: the slot holds a sound
    int32_t length;
    uint8_t* samples; // owned
    WaveFormat format;
    int32_t pan;       // -10000 (left) .. 10000 (right), 0 at creation
    int32_t frequency; // samples per second at creation
    int32_t volume;    // hundredths of a decibel below full, 0 at creation
};
static_assert(std::is_trivially_copyable_v<SoundRecord>);

struct SoundLibrary {
    ObjectTable* table = nullptr;
};
SoundLibrary Sounds;

void FreeSoundObject(int32_t sound)
{
    auto* record = static_cast<SoundRecord*>(LookupObject(Sounds.table, sound));
    if (!record)
        return;
    std::free(record->samples);
    FreeObject(Sounds.table, sound);
}
} // namespace

int32_t InitSound()
{
    if (Sounds.table)
        return 1;
    if (!PlatformOpenAudio())
        return 0;
    Sounds.table = CreateObjectTable(sizeof(SoundRecord), 64, FreeSoundObject);
    if (!Sounds.table) {
        PlatformCloseAudio();
        return 0;
    }
    return 1;
}

int32_t CatchSound(int32_t number, const void* memory, int32_t length)
{
    WaveImage wave;
    WaveFormat format;
    if (!Sounds.table || length <= 0 ||
        !FindWaveChunks(static_cast<const uint8_t*>(memory), size_t(length), &wave) ||
        !ReadWaveFormat(wave, &format) || wave.sampleSize == 0)
        return 0;
    auto* samples = static_cast<uint8_t*>(std::malloc(wave.sampleSize));
    if (!samples)
        return 0;
    std::memcpy(samples, wave.samples, wave.sampleSize);
    int32_t object = 0;
    auto* record = static_cast<SoundRecord*>(GetOrCreateObject(Sounds.table, number, &object));
    if (!record) {
        std::free(samples);
        return 0;
    }
    record->inUse = 1;
    record->length = int32_t(wave.sampleSize);
    record->samples = samples;
    record->format = format;
    record->pan = 0;
    record->frequency = int32_t(format.samplesPerSecond);
    record->volume = 0;
    return number == DYNAMIC_OBJECT ? object : 1;
}

void FreeAllSounds()
{
    if (!Sounds.table)
        return;
    FreeObjectTable(Sounds.table);
    Sounds.table = nullptr;
    PlatformCloseAudio();
}

int32_t SoundLength(int32_t sound)
{
    auto* record = static_cast<const SoundRecord*>(LookupObject(Sounds.table, sound));
    return record ? record->length : 0;
}
