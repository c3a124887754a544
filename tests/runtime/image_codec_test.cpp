#include "runtime/runtime.h"

#include "image_fixtures.h"
#include "tests/scratch_folder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
// A fresh registry with both decoders in the game's order.
void RegisterBothDecoders()
{
    ClearImageCodecs();
    RegisterPngDecoder();
    RegisterJpegDecoder();
}

struct Decoded {
    int32_t format = 0; // probe result
    int32_t width = 0;
    int32_t height = 0;
    int32_t decoded = 0;
    Bytes pixels;
    int32_t pitch = 0;
};

Decoded DecodeMemory(const Bytes& image)
{
    Decoded d;
    d.format = FindImageDecoder(image.data(), static_cast<int64_t>(image.size()));
    if (!d.format)
        return d;
    d.width = CurrentImageWidth();
    d.height = CurrentImageHeight();
    d.pitch = d.format == 2 ? d.width * 4 : d.width * 3 + d.width % 4;
    d.pixels.assign(static_cast<size_t>(d.pitch) * (d.height + 1), 0xAA);
    d.decoded = DecodeCurrentImage(d.pixels.data(), d.pitch);
    return d;
}

uint32_t NextRandom(uint32_t& state)
{
    state = state * 1103515245u + 12345u;
    return state >> 8;
}

// The slow reference: the 8-bit blue, green, red (, alpha) the decoder must deliver for one
// pixel of a PNG description.
Bytes ExpectedPngPixel(const PngDescription& description, int x, int y)
{
    int channels = description.colorType == 2   ? 3
                   : description.colorType == 4 ? 2
                   : description.colorType == 6 ? 4
                                                : 1;
    const uint32_t* s =
        &description.samples[(static_cast<size_t>(y) * description.width + x) * channels];
    auto eight = [&](uint32_t v) -> uint8_t {
        if (description.bitDepth == 16)
            return static_cast<uint8_t>(v >> 8);
        return static_cast<uint8_t>(v * 255 / ((1u << description.bitDepth) - 1));
    };
    switch (description.colorType) {
    case 0:
        return {eight(s[0]), eight(s[0]), eight(s[0])};
    case 2:
        return {eight(s[2]), eight(s[1]), eight(s[0])};
    case 3: {
        const uint8_t* p = &description.palette[s[0] * 3];
        return {p[2], p[1], p[0]};
    }
    case 4:
        return {eight(s[0]), eight(s[0]), eight(s[0]), eight(s[1])};
    default:
        return {eight(s[2]), eight(s[1]), eight(s[0]), eight(s[3])};
    }
}

PngDescription RandomPng(int colorType, int bitDepth, int interlaced, uint32_t seed)
{
    PngDescription description;
    description.width = 13;
    description.height = 9;
    description.colorType = colorType;
    description.bitDepth = bitDepth;
    description.interlaced = interlaced;
    int channels = colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1;
    uint32_t limit = colorType == 3 ? 5 : (1u << bitDepth);
    for (int i = 0; i < description.width * description.height * channels; ++i)
        description.samples.push_back(NextRandom(seed) % limit);
    if (colorType == 3) {
        for (int i = 0; i < 15; ++i)
            description.palette.push_back(static_cast<uint8_t>(NextRandom(seed)));
        description.alphas = {0, 128};
    }
    return description;
}
} // namespace

TEST(PngDecoder, DeliversEveryColorTypeAsEightBitBlueGreenRed)
{
    RegisterBothDecoders();
    struct Case {
        int colorType, bitDepth, interlaced, alpha;
    } cases[] = {{0, 1, 0, 0}, {0, 2, 0, 0},  {0, 4, 1, 0},  {0, 8, 0, 0}, {0, 16, 0, 0},
                 {2, 8, 0, 0}, {2, 8, 1, 0},  {2, 16, 0, 0}, {3, 4, 0, 0}, {3, 8, 1, 0},
                 {4, 8, 0, 1}, {4, 16, 0, 1}, {6, 8, 0, 1},  {6, 8, 1, 1}, {6, 16, 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "color type " << c.colorType << ", depth "
                                          << c.bitDepth << ", interlaced " << c.interlaced);
        PngDescription description =
            RandomPng(c.colorType, c.bitDepth, c.interlaced, 7u + c.colorType);
        Decoded d = DecodeMemory(MakePng(description));
        ASSERT_EQ(d.format, c.alpha ? 2 : 1);
        ASSERT_EQ(d.decoded, 1);
        ASSERT_EQ(d.width, description.width);
        ASSERT_EQ(d.height, description.height);
        int bytes = c.alpha ? 4 : 3;
        for (int y = 0; y < description.height; ++y)
            for (int x = 0; x < description.width; ++x) {
                const uint8_t* got = &d.pixels[static_cast<size_t>(y) * d.pitch + x * bytes];
                ASSERT_EQ(Bytes(got, got + bytes), ExpectedPngPixel(description, x, y))
                    << "pixel " << x << "," << y;
            }
    }
}

TEST(PngDecoder, PaletteWithTransparencyIsTwentyFourBitsAndSixteenBitAlphaIsEightBitChannels)
{
    RegisterBothDecoders();
    PngDescription palette;
    palette.width = 2;
    palette.colorType = 3;
    palette.palette = {10, 20, 30, 40, 50, 60};
    palette.alphas = {0, 77};
    palette.samples = {0, 1};
    Decoded p = DecodeMemory(MakePng(palette));
    EXPECT_EQ(p.format, 1);
    EXPECT_EQ(Bytes(p.pixels.begin(), p.pixels.begin() + 8),
              (Bytes{30, 20, 10, 60, 50, 40, 0xAA, 0xAA}));

    PngDescription rgba;
    rgba.colorType = 6;
    rgba.bitDepth = 16;
    rgba.samples = {0x1234, 0x5678, 0x9ABC, 0xDEF0};
    Decoded q = DecodeMemory(MakePng(rgba));
    EXPECT_EQ(q.format, 2);
    EXPECT_EQ(Bytes(q.pixels.begin(), q.pixels.begin() + 4), (Bytes{0x9A, 0x56, 0x12, 0xDE}));
}

TEST(ImageCodecs, RegistrationIsOnceAndOrderDoesNotHideAFormat)
{
    ClearImageCodecs();
    RegisterJpegDecoder();
    RegisterPngDecoder();
    RegisterPngDecoder();
    RegisterJpegDecoder();
    EXPECT_EQ(ImageDecoderCount(), 2);
    PngDescription description;
    description.samples = {1, 2, 3};
    Decoded png = DecodeMemory(MakePng(description));
    EXPECT_EQ(png.format, 1);
    EXPECT_EQ(Bytes(png.pixels.begin(), png.pixels.begin() + 3), (Bytes{3, 2, 1}));
    Decoded jpeg = DecodeMemory(MakeJpeg(8, 8, 1, std::vector<uint8_t>(64, 100), 90));
    EXPECT_EQ(jpeg.format, 1);
    EXPECT_EQ(jpeg.decoded, 1);

    Bytes bmp = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(FindImageDecoder(bmp.data(), static_cast<int64_t>(bmp.size())), 0);
    EXPECT_EQ(CurrentImageWidth(), 0);
    EXPECT_EQ(DecodeCurrentImage(bmp.data(), 3), 0);
    EXPECT_EQ(FindImageDecoder(nullptr, 100), 0);
}

TEST(JpegDecoder, GreyIsDeliveredWithEqualChannelsAndColorInBlueGreenRedOrder)
{
    RegisterBothDecoders();
    std::vector<uint8_t> grey(16 * 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            grey[y * 16 + x] = x < 8 ? 40 : 200;
    Decoded g = DecodeMemory(MakeJpeg(16, 8, 1, grey, 100));
    ASSERT_EQ(g.format, 1);
    ASSERT_EQ(g.decoded, 1);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            const uint8_t* p = &g.pixels[static_cast<size_t>(y) * g.pitch + x * 3];
            EXPECT_EQ(p[0], p[1]);
            EXPECT_EQ(p[1], p[2]);
            EXPECT_NEAR(p[0], x < 8 ? 40 : 200, 3) << x << "," << y;
        }

    std::vector<uint8_t> red;
    for (int i = 0; i < 16 * 16; ++i)
        red.insert(red.end(), {230, 20, 60});
    Decoded c = DecodeMemory(MakeJpeg(16, 16, 3, red, 100));
    ASSERT_EQ(c.decoded, 1);
    EXPECT_NEAR(c.pixels[0], 60, 4);
    EXPECT_NEAR(c.pixels[1], 20, 4);
    EXPECT_NEAR(c.pixels[2], 230, 4);
}

TEST(JpegDecoder, TruncatedImageEndsCleanlyWithTheRowsItHas)
{
    RegisterBothDecoders();
    std::vector<uint8_t> noise(64 * 64);
    uint32_t seed = 11;
    for (uint8_t& s : noise)
        s = static_cast<uint8_t>(NextRandom(seed));
    Bytes full = MakeJpeg(64, 64, 1, noise, 90);
    // Cut inside the scan data: the header is whole, the end-of-image marker missing. An exact
    // copy makes the sanitizer catch any read beyond the given length.
    Bytes cut(full.begin(), full.end() - static_cast<ptrdiff_t>(full.size() / 4));
    Decoded whole = DecodeMemory(full);
    Decoded d = DecodeMemory(cut);
    ASSERT_EQ(d.format, 1);
    EXPECT_EQ(d.decoded, 1);
    EXPECT_EQ(d.width, 64);
    EXPECT_EQ(Bytes(d.pixels.begin(), d.pixels.begin() + d.pitch),
              Bytes(whole.pixels.begin(), whole.pixels.begin() + whole.pitch));
}

TEST(ImageDecoders, TruncatedOrCorruptInputNeverCrashes)
{
    RegisterBothDecoders();
    std::vector<uint8_t> samples(24 * 16 * 3);
    uint32_t seed = 3;
    for (uint8_t& s : samples)
        s = static_cast<uint8_t>(NextRandom(seed));
    Bytes images[] = {MakePng(RandomPng(6, 8, 1, 5)), MakePng(RandomPng(3, 8, 0, 6)),
                      MakeJpeg(24, 16, 3, samples, 75)};
    for (const Bytes& image : images) {
        for (size_t length = 0; length < image.size(); ++length) {
            Bytes cut(image.begin(), image.begin() + static_cast<ptrdiff_t>(length));
            Decoded d = DecodeMemory(cut);
            // A PNG cut anywhere before its closing chunk never decodes whole.
            if (image[0] == 0x89 && length + 12 < image.size()) {
                EXPECT_EQ(d.decoded, 0) << "length " << length;
            }
        }
        for (size_t at = 0; at < image.size(); ++at) {
            Bytes corrupt = image;
            corrupt[at] ^= static_cast<uint8_t>(1 + NextRandom(seed) % 255);
            DecodeMemory(corrupt);
        }
    }
    Bytes png = images[0];
    png[20] ^= 0x40; // inside the header: its check fails
    EXPECT_EQ(DecodeMemory(png).format, 0);
}

namespace {
// Signature, header and the start of an image data chunk: enough for a probe.
Bytes PngHeaderOnly(uint32_t width, uint32_t height)
{
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            b.push_back(static_cast<uint8_t>(v >> shift));
    b.insert(b.end(), {8, 2, 0, 0, 0});
    uint32_t crc = static_cast<uint32_t>(crc32(0, b.data() + 12, 17));
    for (int shift = 24; shift >= 0; shift -= 8)
        b.push_back(static_cast<uint8_t>(crc >> shift));
    b.insert(b.end(), {0, 0, 0, 4, 'I', 'D', 'A', 'T', 0, 0, 0, 0, 0, 0, 0, 0});
    return b;
}
} // namespace

TEST(ImageDecoders, RefuseImagesOverTheSideOrMemoryLimit)
{
    RegisterBothDecoders();
    struct Case {
        uint32_t width, height;
        int32_t accepted;
    } cases[] = {{16384, 1, 1},   {16385, 1, 0},   {1, 16385, 0},
                 {8000, 8000, 1}, {8192, 8192, 0}, {0x7FFFFFFF, 1, 0}};
    for (const Case& c : cases) {
        Bytes b = PngHeaderOnly(c.width, c.height);
        EXPECT_EQ(FindImageDecoder(b.data(), static_cast<int64_t>(b.size())), c.accepted)
            << c.width << "x" << c.height;
    }
    Bytes wide = MakeJpeg(20000, 1, 1, std::vector<uint8_t>(20000, 0), 50);
    EXPECT_EQ(FindImageDecoder(wide.data(), static_cast<int64_t>(wide.size())), 0);
}

TEST(ImageEncoders, WriteTopDownFilesThatDecodeFromTheirNames)
{
    ClearImageCodecs();
    RegisterPngDecoder();
    RegisterPngEncoder();
    RegisterJpegDecoder();
    RegisterJpegEncoder();
    // A bottom-up blue-green-red buffer with a padded pitch.
    const int width = 5, height = 3, pitch = 16;
    Bytes pixels(pitch * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                pixels[y * pitch + x * 3 + c] = static_cast<uint8_t>(40 * y + 10 * x + c);
    // A folder of this run's own: a fixed name in the shared temporary folder would be written
    // and removed by every other run of this test at the same time.
    ScratchFolder scratch;
    std::string png = (scratch.path / "encoded.png").string();
    ASSERT_EQ(EncodeImage(png.c_str(), pixels.data(), PNG_ENCODER_TAG, width, height, pitch, 0), 1);
    ASSERT_EQ(FindImageDecoderForFile(png.c_str()), 1);
    ASSERT_EQ(CurrentImageWidth(), width);
    Bytes out(static_cast<size_t>(width * 3 + 1) * (height + 1));
    ASSERT_EQ(DecodeCurrentImage(out.data(), width * 3 + 1), 1);
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < width * 3; ++i)
            EXPECT_EQ(out[y * (width * 3 + 1) + i], pixels[(height - 1 - y) * pitch + i]);

    std::string jpeg = (scratch.path / "encoded.jpg").string();
    ASSERT_EQ(EncodeImage(jpeg.c_str(), pixels.data(), JPEG_ENCODER_TAG, width, height, pitch, 25),
              1);
    EXPECT_EQ(FindImageDecoderForFile(jpeg.c_str()), 1);
    EXPECT_EQ(CurrentImageHeight(), height);
    EXPECT_EQ(DecodeCurrentImage(out.data(), width * 3 + 1), 1);

    EXPECT_EQ(EncodeImage(png.c_str(), pixels.data(), 0x1234, width, height, pitch, 0), 0);
    EXPECT_EQ(EncodeImage("/nonexistent/dir/x.png", pixels.data(), PNG_ENCODER_TAG, width, height,
                          pitch, 0),
              0);
    EXPECT_EQ(FindImageDecoderForFile("/nonexistent/file.png"), 0);
    std::remove(png.c_str());
    std::remove(jpeg.c_str());
}

TEST(ImageFiles, WindowsNamesInAnyLetterCaseReachTheFiles)
{
    ClearImageCodecs();
    RegisterPngDecoder();
    RegisterPngEncoder();
    RegisterJpegDecoder();
    RegisterJpegEncoder();
    ScratchFolder scratch; // the working directory: the names below are relative to it
    std::filesystem::create_directory("gfx");
    const Bytes pixels(8 * 2, 0x80); // 2 x 2, rows of 8 bytes
    struct Case {
        uint32_t tag;
        const char* written; // the name given to the encoder
        const char* created; // the file it must make
        const char* found;   // a name the decoder is given for it
    } cases[] = {
        {PNG_ENCODER_TAG, "GFX\\test.png", "gfx/test.png", "gfx\\TEST.PNG"},
        {JPEG_ENCODER_TAG, "Gfx\\Photo.jpg", "gfx/Photo.jpg", "GFX\\photo.JPG"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeImage(c.written, pixels.data(), c.tag, 2, 2, 8, 5), 1) << c.written;
        EXPECT_TRUE(std::filesystem::is_regular_file(c.created)) << c.written;
        EXPECT_NE(FindImageDecoderForFile(c.found), 0) << c.found;
        Bytes out(7 * 3);
        EXPECT_EQ(DecodeCurrentImage(out.data(), 7), 1) << c.found;
    }
    EXPECT_EQ(FindImageDecoderForFile("C:\\gfx\\test.png"), 0) << "a drive names nothing";
}
