// The key tool: alpha turned into the key color by its threshold, visible key pixels kept
// visible, the same keying in build on the fly, and an anti-aliased export that, keyed, draws
// on the game's screen without the magenta fringe a frame flattened by hand shows.
#include "runtime/platform/headless.h"
#include "runtime/runtime.h"
#include "tests/scratch_folder.h"
#include "tests/tools/cellpack_run.h"
#include "tests/tools/frame_fixtures.h"

#include <gtest/gtest.h>

namespace {
const Rgba GREEN{40, 200, 80, 255};

std::vector<uint32_t> Decoded(const std::string& png)
{
    int32_t width = 0;
    return DecodedPixels(png, width);
}

// A screen of the headless platform on which frames are drawn as the game draws its cells.
class GameScreen : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(InitSprite(), 0);
        ASSERT_NE(InitSprite3D(), 0);
        ASSERT_NE(OpenScreen(EDGE, EDGE, 32, "key"), 0);
        SetTransparentColor(-1, 0xFF00FF);
        RegisterPngDecoder();
    }
    void TearDown() override
    {
        FreeAllSprite3D();
        EndSprite();
        ReleaseKeyboard();
    }

    // The frame made a texture sprite keyed with FF00FF and drawn as a cell over the water,
    // zoomed to the size, with the filter; the screen as 0xRRGGBB pixels.
    std::vector<uint32_t> Draw(const std::string& png, int32_t size, int32_t filter)
    {
        intptr_t sprite = LoadSpriteFromMemory(DYNAMIC_OBJECT, png.data(), int64_t(png.size()), 4);
        intptr_t quad = sprite ? CreateSprite3D(DYNAMIC_OBJECT, int32_t(sprite)) : 0;
        EXPECT_NE(quad, 0);
        ClearScreen(int32_t(ColorRGB(0, 10, 20)));
        Sprite3DQuality(filter);
        Start3D();
        Sprite3DBlendingMode(5, 6);
        ZoomSprite3D(int32_t(quad), size, size);
        RotateSprite3D(int32_t(quad), 0, 0);
        DisplaySprite3D(int32_t(quad), 4, 4, 255);
        Stop3D();
        FlipBuffers(0);
        int32_t width = 0, height = 0;
        const uint32_t* frame = HeadlessFrame(width, height);
        std::vector<uint32_t> pixels(frame, frame + size_t(width) * size_t(height));
        FreeSprite3D(int32_t(quad));
        FreeSprite(int32_t(sprite));
        return pixels;
    }

    static constexpr int32_t EDGE = 120;
};

// Pixels with a magenta tint: red and blue both well above green. Neither the green disc nor
// the water nor their blends have it.
int32_t Tinted(const std::vector<uint32_t>& pixels)
{
    int32_t count = 0;
    for (uint32_t p : pixels) {
        int32_t r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
        count += r > g + 24 && b > g + 24;
    }
    return count;
}

int32_t NotWater(const std::vector<uint32_t>& pixels)
{
    int32_t count = 0;
    for (uint32_t p : pixels)
        count += (p & 0xFFFFFF) != 0x000A14;
    return count;
}
} // namespace

TEST(CellpackKey, AlphaBelowTheThresholdBecomesTheKeyAndVisibleKeyPixelsStayVisible)
{
    ScratchFolder folder;
    Picture row{
        5,
        1,
        {{10, 20, 30, 0}, {10, 20, 30, 127}, {10, 20, 30, 128}, KEY_COLOR, {40, 50, 60, 255}}};
    WriteBytes("in.png", PngOf(row, true));
    struct Case {
        std::vector<std::string> options;
        std::vector<uint32_t> pixels;
    } cases[] = {
        {{}, {0xFF00FF, 0xFF00FF, 0x0A141E, 0xFE00FF, 0x28323C}},
        {{"--alpha", "200"}, {0xFF00FF, 0xFF00FF, 0xFF00FF, 0xFE00FF, 0x28323C}},
        {{"--alpha=1"}, {0xFF00FF, 0x0A141E, 0x0A141E, 0xFE00FF, 0x28323C}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments{"key"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        arguments.insert(arguments.end(), {"in.png", "out.png"});
        ProgramRun run = Cellpack(arguments);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(Decoded(ReadBytes("out.png")), c.pixels) << c.options.size();
    }
}

TEST(CellpackKey, TransparentColorsAreKeyedAsAnAlphaChannelIs)
{
    ScratchFolder folder;
    // The row above as a palette with transparency, and one transparent color of an RGB and of
    // a grey image, which the game's decoder all leave out.
    Picture row{
        5,
        1,
        {{10, 20, 30, 0}, {10, 20, 30, 127}, {10, 20, 30, 128}, KEY_COLOR, {40, 50, 60, 255}}};
    Picture rgb{3, 1, {CLEAR, KEY_COLOR, {10, 20, 31, 255}}};
    Picture grey{2, 1, {CLEAR, {91, 91, 91, 255}}};
    struct Case {
        std::string image;
        std::vector<uint32_t> pixels;
    } cases[] = {
        {PalettePngOf(row), {0xFF00FF, 0xFF00FF, 0x0A141E, 0xFE00FF, 0x28323C}},
        {PngWithTransparentColor(rgb, {10, 20, 30, 0}, false), {0xFF00FF, 0xFE00FF, 0x0A141F}},
        {PngWithTransparentColor(grey, {90, 90, 90, 0}, true), {0xFF00FF, 0x5B5B5B}},
    };
    for (const Case& c : cases) {
        WriteBytes("in.png", c.image);
        ProgramRun run = Cellpack({"key", "in.png", "out.png"});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(Decoded(ReadBytes("out.png")), c.pixels) << c.pixels.size();
    }
}

TEST(CellpackKey, RefusesWhatItCannotKey)
{
    ScratchFolder folder;
    WriteBytes("opaque.png", PngOf(Disc(8, GREEN, KEY_COLOR, false), false));
    WriteBytes("notes.png", "text");
    struct Case {
        std::vector<std::string> arguments;
        int status;
        const char* report;
    } cases[] = {
        {{"key", "opaque.png", "out.png"}, 1, "opaque.png: it has no alpha channel"},
        {{"key", "notes.png", "out.png"}, 1, "notes.png: not an image"},
        {{"key", "absent.png", "out.png"}, 1, "absent.png: cannot read"},
        {{"key", "--alpha", "0", "opaque.png", "out.png"}, 2, "--alpha must be a whole number"},
        {{"key", "opaque.png"}, 2, "expected the image to read and the frame to write"},
    };
    for (const Case& c : cases) {
        ProgramRun run = Cellpack(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.report;
        EXPECT_NE(run.err.find(c.report), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadBytes("out.png"), "<missing>");
}

TEST(CellpackKey, BuildKeysFramesWithTransparencyOnTheFly)
{
    for (const std::string& exported :
         {PngOf(Disc(32, GREEN, CLEAR, true), true), PalettePngOf(Outlined(32, GREEN))}) {
        ScratchFolder folder;
        WriteBytes("def.ini", "Name = Disc\n");
        WriteBytes("export.png", exported);
        ASSERT_EQ(Cellpack({"key", "export.png", "keyed.png"}).status, 0);
        ProgramRun build = Cellpack({"build", "--key", "001.cell", "def.ini", "export.png"});
        ASSERT_EQ(build.status, 0);
        EXPECT_EQ(build.err, "") << "a keyed frame draws as exported";
        ASSERT_EQ(Cellpack({"extract", "001.cell", "out"}).status, 0);
        EXPECT_EQ(ReadBytes("out/frame001.png"), ReadBytes("keyed.png"));
        EXPECT_NE(Cellpack({"build", "001.cell", "def.ini", "export.png"}).err.find("warning"),
                  std::string::npos);
    }
}

TEST_F(GameScreen, AKeyedExportDrawsWithoutTheFringeOfAFrameFlattenedByHand)
{
    ScratchFolder folder;
    Picture exported = Disc(48, GREEN, CLEAR, true);
    WriteBytes("export.png", PngOf(exported, true));
    ASSERT_EQ(Cellpack({"key", "export.png", "keyed.png"}).status, 0);
    std::string keyed = ReadBytes("keyed.png");
    std::string flattened = PngOf(FlattenedOnto(exported, KEY_COLOR), false);
    int32_t opaque = 0;
    for (const Rgba& p : exported.pixels)
        opaque += p.a >= 128;
    // At its own size with point sampling each texel is one pixel: the keyed disc covers
    // exactly the pixels the export shows at least half.
    EXPECT_EQ(NotWater(Draw(keyed, 48, 0)), opaque);
    for (int32_t size : {24, 48, 100})
        for (int32_t filter : {0, 1}) {
            EXPECT_GT(Tinted(Draw(flattened, size, filter)), 0) << size << " " << filter;
            EXPECT_EQ(Tinted(Draw(keyed, size, filter)), 0) << size << " " << filter;
        }
}

TEST_F(GameScreen, AKeyedPaletteExportDrawsWithoutTheSquareOfItsTransparentColor)
{
    ScratchFolder folder;
    Picture drawn = Outlined(48, GREEN);
    WriteBytes("export.png", PalettePngOf(drawn));
    ASSERT_EQ(Cellpack({"key", "export.png", "keyed.png"}).status, 0);
    int32_t shown = 0;
    for (const Rgba& p : drawn.pixels)
        shown += p.a >= 128;
    // At its own size with point sampling each texel is one pixel: as exported, the whole
    // square shows; keyed, exactly the pixels the editor shows at least half.
    EXPECT_EQ(NotWater(Draw(ReadBytes("export.png"), 48, 0)), 48 * 48);
    EXPECT_EQ(NotWater(Draw(ReadBytes("keyed.png"), 48, 0)), shown);
    for (int32_t filter : {0, 1}) {
        std::vector<uint32_t> screen = Draw(ReadBytes("keyed.png"), 100, filter);
        for (int32_t corner : {0, 99})
            EXPECT_EQ(screen[size_t(4 + corner) * EDGE + 4 + size_t(corner)] & 0xFFFFFF, 0x000A14u)
                << "no square at the corner " << corner << ", filter " << filter;
    }
}
