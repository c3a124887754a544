#include "runtime/display/screen_internal.h"
#include "runtime/display/sprite_conversion.h"
#include "runtime/platform/headless.h"
#include "runtime/runtime.h"

#include "image_fixtures.h"
#include "tests/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {
// A screen of the depth under test, opened on the headless display, with both decoders.
class Sprites : public testing::Test {
protected:
    void SetUp() override
    {
        ClearImageCodecs();
        RegisterPngDecoder();
        RegisterJpegDecoder();
        ASSERT_NE(InitSprite(), 0);
    }
    void TearDown() override
    {
        EndSprite();
        ReleaseKeyboard();
    }
    void Open(int32_t width, int32_t height, int32_t depth)
    {
        ASSERT_NE(OpenScreen(width, height, depth, "sprites"), 0);
    }
};

uint32_t At(const Surface* surface, int x, int y)
{
    return GetSurfacePixel(*surface, x, y);
}

// A sprite whose pixels are all different and nonzero: 0x10000 * (y + 1) + x + 1.
int32_t NumberedSprite(int32_t number, int32_t width, int32_t height)
{
    CreateSprite(number, width, height);
    Surface* s = SpriteSurface(number);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetSurfacePixel(*s, x, y, 0x10000u * (y + 1) + x + 1);
    return number;
}

// The slow reference of a display: every target pixel covered by the sprite takes its pixel,
// except key pixels when keyed.
void ExpectDisplayed(const Surface* target, const Surface* sprite, int x, int y, bool keyed,
                     uint32_t background)
{
    for (int ty = 0; ty < target->height; ++ty)
        for (int tx = 0; tx < target->width; ++tx) {
            int sx = tx - x, sy = ty - y;
            uint32_t expected = background;
            if (sx >= 0 && sy >= 0 && sx < sprite->width && sy < sprite->height) {
                uint32_t p = At(sprite, sx, sy);
                if (!(keyed && (p & 0xFFFFFF) == sprite->colorKey))
                    expected = p;
            }
            ASSERT_EQ(At(target, tx, ty), expected)
                << "pixel " << tx << "," << ty << " for a sprite at " << x << "," << y;
        }
}
} // namespace

TEST_F(Sprites, DisplayClipsAgainstTheDrawBuffer)
{
    Open(8, 6, 32);
    NumberedSprite(1, 4, 3);
    struct Case {
        int x, y;
    } cases[] = {{-4, 0}, {-3, 0}, {0, 0},   {6, 1}, {8, 0}, {0, -3},
                 {0, -2}, {7, 5},  {-3, -2}, {2, 6}, {3, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "at " << c.x << "," << c.y);
        ClearScreen(0);
        DisplaySprite(1, c.x, c.y);
        ExpectDisplayed(BackBuffer(), SpriteSurface(1), c.x, c.y, false, 0);
    }
    // x = -width draws nothing, x = -width + 1 only the rightmost column.
    ClearScreen(0);
    DisplaySprite(1, -3, 0);
    EXPECT_EQ(At(BackBuffer(), 0, 0), 0x10004u);
    EXPECT_EQ(At(BackBuffer(), 1, 0), 0u);

    // A sprite wider than the screen is cut to the screen's width.
    NumberedSprite(2, 20, 2);
    ClearScreen(0);
    DisplaySprite(2, 0, 0);
    ExpectDisplayed(BackBuffer(), SpriteSurface(2), 0, 0, false, 0);
    DisplaySprite(2, -15, 3);
    EXPECT_EQ(At(BackBuffer(), 4, 3), 0x10014u);

    // While a sprite is selected as the draw buffer, displays clip against its size.
    CreateSprite(3, 5, 2);
    ASSERT_NE(SelectDrawBuffer(3), nullptr);
    DisplaySprite(1, 2, 0);
    ExpectDisplayed(SpriteSurface(3), SpriteSurface(1), 2, 0, false, 0);
    SelectDrawBuffer(-1);
}

TEST_F(Sprites, TransparentDisplaySkipsTheKeyAndKeysFollowTheDefault)
{
    Open(8, 6, 32);
    NumberedSprite(1, 4, 3);
    SetTransparentColor(1, 0x030002); // the pixel value 0x20003 on this screen: (2, 1)
    EXPECT_EQ(SpriteSurface(1)->colorKey, 0x20003u);
    SetSurfacePixel(*SpriteSurface(1), 1, 1, 0x20003);
    for (int x : {-2, 0, 5}) {
        ClearScreen(0x0000FF);
        DisplayTransparentSprite(1, x, 1);
        ExpectDisplayed(BackBuffer(), SpriteSurface(1), x, 1, true, 0xFF0000);
    }
    EXPECT_EQ(SpriteSurface(1)->colorKey, 0x20003u);
    SetTransparentColor(-1, 0xFF00FF);
    CreateSprite(2, 2, 2);
    EXPECT_EQ(SpriteSurface(2)->colorKey, 0xFF00FFu);
    EXPECT_EQ(SpriteSurface(1)->colorKey, 0x20003u);
}

TEST_F(Sprites, NothingIsDisplayedWhileTheScreenIsInactive)
{
    Open(4, 4, 32);
    NumberedSprite(1, 2, 2);
    HeadlessFocus(0);
    FlipBuffers(0);
    ASSERT_EQ(IsScreenActive(), 0);
    DisplaySprite(1, 0, 0);
    EXPECT_EQ(At(BackBuffer(), 0, 0), 0u);
}

TEST_F(Sprites, PixelsComeBackAfterTheDisplayWasLost)
{
    Open(4, 4, 32);
    NumberedSprite(1, 3, 2);
    const SpriteRecord* record = FindSprite(1);
    HeadlessFocus(0);
    FlipBuffers(0);
    ASSERT_NE(record->savedPixels, nullptr);
    FillSurface(*SpriteSurface(1), 0); // the display lost the contents
    HeadlessFocus(1);
    FlipBuffers(0);
    EXPECT_EQ(record->savedPixels, nullptr);
    EXPECT_EQ(At(SpriteSurface(1), 2, 1), 0x20003u);
}

TEST_F(Sprites, NumbersAreReusedAndSpritesDieWithTheScreen)
{
    Open(4, 4, 16);
    EXPECT_NE(CreateSprite(5, 3, 3), 0);
    EXPECT_NE(CreateSprite(5, 7, 2), 0);
    EXPECT_EQ(SpriteWidth(5), 7);
    EXPECT_EQ(FindSprite(5)->depth, 16);
    EXPECT_NE(CreateSprite(200, 1, 1), 0);
    intptr_t handle = CreateSprite(DYNAMIC_OBJECT, 6, 1);
    ASSERT_NE(handle, 0);
    EXPECT_EQ(SpriteWidth(static_cast<int32_t>(handle)), 6);
    EXPECT_EQ(SpriteWidth(77), 0);
    EXPECT_EQ(CreateSprite(6, 0, 5), 0);
    EXPECT_EQ(SpriteWidth(6), 0);
    FreeSprite(5);
    EXPECT_EQ(SpriteWidth(5), 0);
    FreeSprite(5);
    Open(4, 4, 16); // a new screen: the old sprites are gone
    EXPECT_EQ(SpriteWidth(200), 0);
    EXPECT_EQ(SpriteWidth(static_cast<int32_t>(handle)), 0);
    CloseScreen();
    EXPECT_EQ(CreateSprite(1, 2, 2), 0) << "sprites need an open screen";
}

namespace {
Bytes Rows(std::initializer_list<Bytes> rows)
{
    Bytes out;
    for (const Bytes& r : rows)
        out.insert(out.end(), r.begin(), r.end());
    return out;
}
} // namespace

TEST_F(Sprites, PaletteBmpsExpandOnDeepScreens)
{
    Open(8, 8, 32);
    const std::vector<uint32_t> palette = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456};
    struct Case {
        const char* name;
        Bytes bmp;
        std::vector<uint32_t> topDown; // expected pixels, 0x00RRGGBB
    } cases[] = {
        // 3 x 2, 8 bits: rows bottom-up, padded to 4 bytes.
        {"8-bit",
         MakeBmp(3, 2, 8, 0, palette, Rows({{2, 3, 0, 9}, {0, 1, 2, 0}})),
         {0xFF0000, 0x00FF00, 0x0000FF, 0x0000FF, 0x563412, 0xFF0000}},
        // Indices beyond the palette are black.
        {"8-bit beyond", MakeBmp(2, 1, 8, 0, palette, Rows({{7, 3, 0, 0}})), {0, 0x563412}},
        // 1 bit: black and white whatever the palette says.
        {"1-bit",
         MakeBmp(3, 1, 1, 0, {0x0000FF, 0x00FF00}, Rows({{0xA0, 0, 0, 0}})),
         {0xFFFFFF, 0x000000, 0xFFFFFF}},
        // 4 bits: the high nibble is the left pixel.
        {"4-bit",
         MakeBmp(3, 1, 4, 0, palette, Rows({{0x21, 0x30, 0, 0}})),
         {0x0000FF, 0x00FF00, 0x563412}},
        // Run-length coded: a run, an end of line, a literal of 3 with padding, a jump, end.
        {"rle8",
         MakeBmp(4, 3, 8, 1, palette, {3, 1, 0, 0, 0, 3, 2, 3, 0, 0, 0, 0, 0, 2, 1, 0, 1, 0, 0, 1}),
         {0x000000, 0xFF0000, 0x000000, 0x000000, 0x0000FF, 0x563412, 0xFF0000, 0x000000, 0x00FF00,
          0x00FF00, 0x00FF00, 0x000000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        intptr_t handle = LoadSpriteFromMemory(DYNAMIC_OBJECT, c.bmp.data(),
                                               static_cast<int64_t>(c.bmp.size()), 0);
        ASSERT_NE(handle, 0);
        const Surface* s = SpriteSurface(static_cast<int32_t>(handle));
        EXPECT_EQ(FindSprite(static_cast<int32_t>(handle))->depth, 24);
        for (size_t i = 0; i < c.topDown.size(); ++i)
            EXPECT_EQ(At(s, static_cast<int>(i % s->width), static_cast<int>(i / s->width)),
                      c.topDown[i])
                << "pixel " << i;
    }
}

TEST_F(Sprites, DepthsMustSuitTheScreen)
{
    Open(8, 8, 8);
    PngDescription description;
    description.samples = {1, 2, 3};
    Bytes png = MakePng(description);
    EXPECT_EQ(LoadSpriteFromMemory(1, png.data(), static_cast<int64_t>(png.size()), 0), 0);
    EXPECT_EQ(SpriteWidth(1), 0);
    Bytes bmp8 = MakeBmp(2, 2, 8, 0, {0xFFFFFF}, Rows({{7, 8, 0, 0}, {5, 6, 0, 0}}));
    ASSERT_NE(LoadSpriteFromMemory(2, bmp8.data(), 0), 0); // length from the header
    EXPECT_EQ(At(SpriteSurface(2), 0, 0), 5u);
    EXPECT_EQ(At(SpriteSurface(2), 1, 1), 8u);
    Bytes bmp24 = MakeBmp(1, 1, 24, 0, {}, Rows({{1, 2, 3, 0}}));
    EXPECT_EQ(LoadSpriteFromMemory(3, bmp24.data(), 0), 0);

    // Memory sprites: the indices top-down, no surface to display.
    ASSERT_NE(LoadSpriteFromMemory(4, bmp8.data(), SPRITE_MEMORY), 0);
    const SpriteRecord* memory = FindSprite(4);
    EXPECT_EQ(memory->depth, MEMORY_SPRITE_DEPTH);
    EXPECT_EQ(memory->surface, nullptr);
    EXPECT_EQ(Bytes(memory->memory, memory->memory + 4), (Bytes{5, 6, 7, 8}));
    EXPECT_EQ(SpriteSurface(4), nullptr);
    EXPECT_EQ(SpriteDrawTarget(4), nullptr);
    DisplaySprite(4, 0, 0);
    EXPECT_EQ(LoadSpriteFromMemory(5, png.data(), static_cast<int64_t>(png.size()), SPRITE_MEMORY),
              0);
}

TEST_F(Sprites, AlphaModeKeepsTheAlphaOfThirtyTwoBitImagesOnly)
{
    Open(4, 4, 32);
    SetTransparentColor(-1, 0xFF00FF);
    PngDescription rgba;
    rgba.colorType = 6;
    rgba.samples = {10, 20, 30, 40};
    Bytes withAlpha = MakePng(rgba);
    ASSERT_NE(LoadSpriteFromMemory(1, withAlpha.data(), static_cast<int64_t>(withAlpha.size()),
                                   SPRITE_ALPHA),
              0);
    EXPECT_EQ(At(SpriteSurface(1), 0, 0), 0x280A141Eu);
    EXPECT_EQ(SpriteSurface(1)->hasColorKey, 0);
    ASSERT_NE(LoadSpriteFromMemory(2, withAlpha.data(), static_cast<int64_t>(withAlpha.size()), 0),
              0);
    EXPECT_EQ(At(SpriteSurface(2), 0, 0), 0x0A141Eu);
    EXPECT_EQ(SpriteSurface(2)->colorKey, 0xFF00FFu);

    PngDescription rgb;
    rgb.samples = {10, 20, 30};
    Bytes noAlpha = MakePng(rgb);
    ASSERT_NE(
        LoadSpriteFromMemory(3, noAlpha.data(), static_cast<int64_t>(noAlpha.size()), SPRITE_ALPHA),
        0);
    EXPECT_EQ(At(SpriteSurface(3), 0, 0), 0x0A141Eu);
    EXPECT_EQ(SpriteSurface(3)->hasColorKey, 1);
    EXPECT_EQ(SpriteSurface(3)->colorKey, 0xFF00FFu);
}

namespace {
// The slow reference of the load-time conversion, pixel by pixel, from the rules: the value a
// source pixel (b, g, r, a bytes, or a 5-5-5 value) takes in a screen format.
uint32_t ReferencePixel(int32_t format, int32_t depth, const uint8_t* p, bool alpha)
{
    if (format == FORMAT_PALETTE)
        return p[0];
    uint32_t b, g, r, a = 0;
    if (depth == 16) {
        uint32_t v = p[0] | p[1] << 8;
        if (format == FORMAT_555 || format == FORMAT_565)
            return format == FORMAT_555 ? v : (((v >> 5) << 6) | (v & 0x1F)) & 0xFFFF;
        b = (v & 0x1F) << 3;
        g = ((v >> 5) & 0x1F) << 3;
        r = ((v >> 10) & 0x1F) << 3;
    } else {
        b = p[0], g = p[1], r = p[2];
        a = depth == 32 && alpha ? p[3] : 0;
    }
    if (format == FORMAT_555)
        return (r / 8) << 10 | (g / 8) << 5 | (b / 8);
    if (format == FORMAT_565)
        return (r / 8) << 11 | (g / 4) << 5 | (b / 8);
    return b | g << 8 | r << 16 | (format >= FORMAT_RGB32 ? a << 24 : 0);
}
} // namespace

TEST(SpriteConversion, EveryPairOfDepthsMatchesThePixelReference)
{
    uint32_t seed = 99;
    const int32_t width = 7, height = 5;
    for (int32_t format = FORMAT_PALETTE; format <= FORMAT_BGR32; ++format)
        for (int32_t depth : {8, 16, 24, 32})
            for (int32_t bottomUp : {0, 1})
                for (int32_t alpha : {0, 1}) {
                    SCOPED_TRACE(::testing::Message() << "format " << format << ", depth " << depth
                                                      << ", bottom-up " << bottomUp);
                    int32_t pitch = width * depth / 8 + 3;
                    Bytes pixels(static_cast<size_t>(pitch) * height);
                    for (uint8_t& b : pixels)
                        b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
                    Surface* surface = CreateSurface(width, height, format);
                    SourceImage image{pixels.data(), width, height, pitch, depth, bottomUp};
                    int32_t screenDepth = FormatDepth(format);
                    bool fits = depth == screenDepth || (depth >= 16 && screenDepth >= 16);
                    ASSERT_EQ(ConvertImageToSurface(image, *surface, alpha), fits ? 1 : 0);
                    for (int y = 0; fits && y < height; ++y)
                        for (int x = 0; x < width; ++x) {
                            int row = bottomUp ? height - 1 - y : y;
                            const uint8_t* p = &pixels[row * pitch + x * depth / 8];
                            ASSERT_EQ(GetSurfacePixel(*surface, x, y),
                                      ReferencePixel(format, depth, p, alpha))
                                << x << "," << y;
                        }
                    FreeSurface(surface);
                }
}

TEST_F(Sprites, SpritesAreLentToDrawingOneAtATime)
{
    Open(4, 4, 16);
    CreateSprite(1, 16, 16);
    CreateSprite(2, 4, 4);
    DrawTarget* target = SpriteDrawTarget(1);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->width, 16);
    EXPECT_EQ(target->depth, 16);
    EXPECT_EQ(target->pixelFormat, 3);
    EXPECT_EQ(SpriteDrawTarget(2), nullptr);
    StartDrawing(target);
    DrawBox(0, 0, 16, 16, 0xFF00FF);
    StopDrawing();
    EXPECT_EQ(At(SpriteSurface(1), 15, 15), 0xF81Fu);
    ASSERT_NE(SpriteDrawTarget(2), nullptr);
    FreeSprite(2); // freeing the lent sprite ends its lending
    EXPECT_NE(SpriteDrawTarget(1), nullptr);
}

TEST_F(Sprites, ADrawingWhoseSurfaceGoesEndsAndDrawsNothingMore)
{
    // The surface goes while the drawing holds it locked (after a plot) or holds its context
    // (after a box); a new surface of the same size, likely where the old one lay, follows.
    struct Case {
        const char* what;
        bool onTheScreen;
        bool plotFirst;
    } cases[] = {
        {"sprite freed after a plot", false, true},
        {"sprite freed after a box", false, false},
        {"screen closed after a plot", true, true},
        {"screen closed after a box", true, false},
    };
    for (const Case& c : cases) {
        Open(32, 16, 32);
        CreateSprite(1, 32, 16);
        StartDrawing(c.onTheScreen ? ScreenDrawTarget() : SpriteDrawTarget(1));
        if (c.plotFirst)
            PlotPixel(1, 1, 0xFF);
        else
            DrawBox(0, 0, 2, 2, 0xFF);
        if (c.onTheScreen)
            CloseScreen();
        else
            FreeSprite(1);
        Open(32, 16, 32);
        CreateSprite(2, 32, 16);
        PlotPixel(3, 3, 0xFFFFFF);
        SetDrawingMode(2);
        DrawBox(0, 0, 32, 16, 0xFFFFFF);
        DrawLine(0, 0, 31, 15, 0xFFFFFF);
        DrawCircle(8, 8, 4, 0xFFFFFF);
        DrawEllipse(8, 8, 6, 3, 0xFFFFFF);
        EXPECT_EQ(DrawText(0, 0, "x", 0xFFFFFF), 0) << c.what;
        StopDrawing();
        int32_t touched = 0;
        for (const Surface* surface : {SpriteSurface(2), BackBuffer()})
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 32; ++x)
                    touched += At(surface, x, y) != 0;
        EXPECT_EQ(touched, 0) << c.what;
        EXPECT_NE(StartDrawing(SpriteDrawTarget(2)), nullptr) << c.what << ": lent again";
        PlotPixel(0, 0, 0xFF);
        StopDrawing();
        EXPECT_EQ(At(SpriteSurface(2), 0, 0), 0xFF0000u) << c.what;
    }
}

TEST_F(Sprites, FilesLoadByWindowsNamesAndBadDataGivesNothing)
{
    Open(4, 4, 24);
    PngDescription description;
    description.width = 2;
    description.samples = {1, 2, 3, 4, 5, 6};
    Bytes png = MakePng(description);
    ScratchFolder scratch; // this run's own, not shared with a concurrent run of the test
    std::string folder = (scratch.path / "SpriteFiles").string();
    std::remove((folder + "/Image.PNG").c_str());
    ASSERT_EQ(std::system(("mkdir -p " + folder).c_str()), 0);
    std::ofstream(folder + "/Image.PNG", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    std::string windowsName = folder + "\\image.png";
    EXPECT_NE(LoadSprite(1, windowsName), 0);
    EXPECT_EQ(At(SpriteSurface(1), 1, 0), 0x040506u);
    EXPECT_EQ(LoadSprite(2, folder + "\\missing.png"), 0);
    std::remove((folder + "/Image.PNG").c_str());

    Bytes text = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_EQ(LoadSpriteFromMemory(3, text.data(), 5, 0), 0);
    Bytes rle = MakeBmp(5, 4, 8, 1, {0xFFFFFF, 0x00FF00},
                        {5, 1, 0, 0, 0, 5, 0, 1, 1, 1, 1, 0, 0, 2, 3, 9, 4, 1, 0, 1});
    Bytes plain = MakeBmp(3, 2, 4, 0, {0xFFFFFF}, Rows({{0x10, 0, 0, 0}, {0x01, 0x20, 0, 0}}));
    Bytes huge = MakeBmp(20000, 1, 24, 0, {}, Bytes(60000));
    EXPECT_EQ(LoadSpriteFromMemory(4, huge.data(), static_cast<int64_t>(huge.size()), 0), 0);
    for (const Bytes& image : {rle, plain, png})
        for (size_t length = 0; length <= image.size(); ++length) {
            Bytes cut(image.begin(), image.begin() + static_cast<ptrdiff_t>(length));
            intptr_t made = LoadSpriteFromMemory(DYNAMIC_OBJECT, cut.data(),
                                                 static_cast<int64_t>(cut.size()), 0);
            if (made)
                FreeSprite(static_cast<int32_t>(made));
        }
}
