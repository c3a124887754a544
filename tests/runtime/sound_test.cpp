#include "runtime/runtime.h"
#include "runtime/sound/wave_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

void Chunk(std::vector<uint8_t>& out, const char* tag, const std::vector<uint8_t>& data,
           uint32_t statedSize)
{
    out.insert(out.end(), tag, tag + 4);
    Put32(out, statedSize);
    out.insert(out.end(), data.begin(), data.end());
}

void Chunk(std::vector<uint8_t>& out, const char* tag, const std::vector<uint8_t>& data)
{
    Chunk(out, tag, data, uint32_t(data.size()));
}

// 16-bit stereo PCM at 22050 samples per second.
std::vector<uint8_t> Format(uint16_t channels = 2, uint16_t bits = 16, uint32_t rate = 22050)
{
    std::vector<uint8_t> f;
    auto put16 = [&](uint16_t v) { f.push_back(uint8_t(v)), f.push_back(uint8_t(v >> 8)); };
    put16(1);
    put16(channels);
    Put32(f, rate);
    Put32(f, rate * channels * bits / 8);
    put16(uint16_t(channels * bits / 8));
    put16(bits);
    return f;
}

std::vector<uint8_t> Riff(const std::vector<uint8_t>& chunks)
{
    std::vector<uint8_t> image{'R', 'I', 'F', 'F'};
    Put32(image, uint32_t(chunks.size() + 4));
    image.insert(image.end(), {'W', 'A', 'V', 'E'});
    image.insert(image.end(), chunks.begin(), chunks.end());
    return image;
}

const std::vector<uint8_t> SAMPLES = {1, 2, 3, 4, 5, 6, 7, 8};

// fmt, then a LIST chunk of odd size, then data.
std::vector<uint8_t> ImageWithListChunk()
{
    std::vector<uint8_t> chunks;
    Chunk(chunks, "fmt ", Format());
    Chunk(chunks, "LIST", {'I', 'N', 'F', 'O', 'x'});
    Chunk(chunks, "data", SAMPLES);
    return Riff(chunks);
}

class Sound : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(InitSound(), 0); }
    void TearDown() override { FreeAllSounds(); }
};
} // namespace

TEST(WaveImage, FindsTheDataChunkPastOtherChunks)
{
    std::vector<uint8_t> image = ImageWithListChunk();
    WaveImage wave;
    ASSERT_EQ(FindWaveChunks(image.data(), image.size(), &wave), 1);
    EXPECT_EQ(wave.format, image.data() + 20);
    EXPECT_EQ(wave.formatSize, 16u);
    ASSERT_EQ(wave.sampleSize, SAMPLES.size());
    EXPECT_EQ(std::memcmp(wave.samples, SAMPLES.data(), SAMPLES.size()), 0);
    WaveFormat format;
    ASSERT_EQ(ReadWaveFormat(wave, &format), 1);
    EXPECT_EQ(format.channels, 2);
    EXPECT_EQ(format.samplesPerSecond, 22050u);
}

TEST(WaveImage, EveryTruncationIsRefusedWithoutReadingPastTheEnd)
{
    std::vector<uint8_t> image = ImageWithListChunk();
    for (size_t length = 0; length < image.size(); ++length) {
        // An exact copy, so that the address checker sees any read past the end.
        std::vector<uint8_t> prefix(image.begin(), image.begin() + long(length));
        WaveImage wave;
        EXPECT_EQ(FindWaveChunks(prefix.data(), prefix.size(), &wave), 0) << length << " bytes";
    }
}

TEST(WaveImage, LyingChunkSizesAreRefused)
{
    struct Case {
        const char* what;
        uint32_t formatSize, listSize, dataSize;
    } cases[] = {
        {"format size past the end", 0xFFFFFFF0u, 5, 8},
        {"skipped chunk wraps around", 16, 0xFFFFFFF8u, 8},
        {"skipped chunk past the end", 16, 1000, 8},
        {"data past the end", 16, 5, 9},
        {"data size near 4 GiB", 16, 5, 0xFFFFFFFFu},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> chunks;
        Chunk(chunks, "fmt ", Format(), c.formatSize);
        Chunk(chunks, "LIST", {'I', 'N', 'F', 'O', 'x'}, c.listSize);
        Chunk(chunks, "data", SAMPLES, c.dataSize);
        std::vector<uint8_t> image = Riff(chunks);
        WaveImage wave;
        EXPECT_EQ(FindWaveChunks(image.data(), image.size(), &wave), 0) << c.what;
    }
}

TEST(WaveImage, RefusesFormatsNoBufferTakes)
{
    struct Case {
        uint16_t channels, bits;
        uint32_t rate;
        int32_t ok;
    } cases[] = {{1, 8, 8000, 1},    {2, 16, 44100, 1}, {8, 24, 96000, 1},
                 {2, 32, 200000, 1}, {0, 16, 44100, 0}, {9, 16, 44100, 0},
                 {2, 12, 44100, 0},  {2, 16, 99, 0},    {2, 16, 200001, 0}};
    for (const Case& c : cases) {
        std::vector<uint8_t> chunks;
        Chunk(chunks, "fmt ", Format(c.channels, c.bits, c.rate));
        Chunk(chunks, "data", SAMPLES);
        std::vector<uint8_t> image = Riff(chunks);
        WaveImage wave;
        WaveFormat format;
        ASSERT_EQ(FindWaveChunks(image.data(), image.size(), &wave), 1);
        EXPECT_EQ(ReadWaveFormat(wave, &format), c.ok)
            << c.channels << " channels, " << c.bits << " bits, " << c.rate;
    }
    WaveImage shortFormat;
    shortFormat.format = SAMPLES.data();
    shortFormat.formatSize = 8;
    WaveFormat format;
    EXPECT_EQ(ReadWaveFormat(shortFormat, &format), 0);
}

TEST_F(Sound, CatchSoundLoadsAnImageWithAChunkBeforeTheData)
{
    std::vector<uint8_t> image = ImageWithListChunk();
    EXPECT_EQ(InitSound(), InitSound()) << "a second InitSound answers the same";
    ASSERT_NE(CatchSound(3, image.data(), int32_t(image.size())), 0);
    EXPECT_EQ(SoundLength(3), 8);
    int32_t handle = CatchSound(-1, image.data(), int32_t(image.size()));
    ASSERT_NE(handle, 0);
    EXPECT_EQ(SoundLength(handle), 8);
    std::vector<uint8_t> chunks;
    Chunk(chunks, "fmt ", Format(1, 8, 8000));
    Chunk(chunks, "data", {9, 9, 9, 9});
    std::vector<uint8_t> other = Riff(chunks);
    ASSERT_NE(CatchSound(3, other.data(), int32_t(other.size())), 0);
    EXPECT_EQ(SoundLength(3), 4) << "the new sound takes the number over";
}

TEST_F(Sound, CatchSoundRefusesWhatIsNotAUsableImage)
{
    std::vector<uint8_t> listFirst;
    Chunk(listFirst, "LIST", {'I', 'N', 'F', 'O'});
    Chunk(listFirst, "fmt ", Format());
    Chunk(listFirst, "data", SAMPLES);
    std::vector<uint8_t> noData;
    Chunk(noData, "fmt ", Format());
    Chunk(noData, "LIST", {'I', 'N', 'F', 'O'});
    std::vector<uint8_t> emptyData;
    Chunk(emptyData, "fmt ", Format());
    Chunk(emptyData, "data", {});
    std::vector<uint8_t> notRiff = ImageWithListChunk();
    notRiff[0] = 'X';
    struct Case {
        const char* what;
        std::vector<uint8_t> image;
    } cases[] = {{"first chunk not fmt", Riff(listFirst)},
                 {"no data chunk", Riff(noData)},
                 {"empty data", Riff(emptyData)},
                 {"not RIFF", notRiff}};
    for (const Case& c : cases) {
        EXPECT_EQ(CatchSound(1, c.image.data(), int32_t(c.image.size())), 0) << c.what;
        EXPECT_EQ(SoundLength(1), 0) << c.what;
    }
    std::vector<uint8_t> image = ImageWithListChunk();
    EXPECT_EQ(CatchSound(1, nullptr, 100), 0);
    EXPECT_EQ(CatchSound(1, image.data(), 0), 0);
    EXPECT_EQ(CatchSound(1, image.data(), -5), 0);
    EXPECT_EQ(CatchSound(-7, image.data(), int32_t(image.size())), 0);
}

TEST(SoundTable, NothingLoadsWithoutInitSoundOrAfterFreeAllSounds)
{
    std::vector<uint8_t> image = ImageWithListChunk();
    FreeAllSounds();
    EXPECT_EQ(CatchSound(1, image.data(), int32_t(image.size())), 0);
    ASSERT_NE(InitSound(), 0);
    ASSERT_NE(CatchSound(200, image.data(), int32_t(image.size())), 0);
    FreeAllSounds();
    EXPECT_EQ(SoundLength(200), 0);
    EXPECT_EQ(CatchSound(1, image.data(), int32_t(image.size())), 0);
}
