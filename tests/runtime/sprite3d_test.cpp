#include "image_fixtures.h"
#include "runtime/display/quad_batch.h"
#include "runtime/display/screen_internal.h"
#include "runtime/platform/headless.h"
#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {
// An open 32-bit screen with the 3D sprite library, magenta as the key of new sprites.
class Sprites3D : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(InitSprite(), 0);
        ASSERT_NE(InitSprite3D(), 0);
        ASSERT_NE(OpenScreen(64, 48, 32, "3d"), 0);
        SetTransparentColor(-1, 0xFF00FF);
    }
    void TearDown() override
    {
        Stop3D();
        FreeAllSprite3D();
        EndSprite();
        ReleaseKeyboard();
    }
};

uint32_t Pixel(const Surface& surface, int32_t x, int32_t y)
{
    uint32_t value;
    std::memcpy(&value, SurfaceRow(surface, y) + 4 * x, 4);
    return value & 0xFFFFFF;
}

void SetPixel(Surface& surface, int32_t x, int32_t y, uint32_t value)
{
    std::memcpy(SurfaceRow(surface, y) + 4 * x, &value, 4);
}

// A texture sprite of distinct colors with its top-left texel the key.
void PatternSprite(int32_t number, int32_t width, int32_t height, int32_t mode = 4)
{
    ASSERT_NE(CreateSprite(number, width, height, mode), 0);
    Surface& surface = *SpriteSurface(number);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            SetPixel(surface, x, y, 0x203040 + (y << 16) + (x << 8) + x + y);
    SetPixel(surface, 0, 0, 0xFF00FF);
}

void ExpectCorners(int32_t number, const float expected[4][2], const char* what)
{
    const Sprite3DRecord* record = FindSprite3D(number);
    ASSERT_NE(record, nullptr) << what;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(record->vertices[i].x, expected[i][0]) << what << " corner " << i;
        EXPECT_EQ(record->vertices[i].y, expected[i][1]) << what << " corner " << i;
    }
}

void CornersOf(int32_t number, float corners[4][2])
{
    const Sprite3DRecord* record = FindSprite3D(number);
    for (int i = 0; i < 4; ++i)
        corners[i][0] = record->vertices[i].x, corners[i][1] = record->vertices[i].y;
}
} // namespace

TEST_F(Sprites3D, OnlyTextureSpritesBecome3DSprites)
{
    PatternSprite(1, 8, 6, 0);
    PatternSprite(2, 8, 6, 4);
    EXPECT_EQ(CreateSprite3D(1, 1), 0) << "a mode-0 sprite is no texture";
    EXPECT_EQ(FindSprite3D(1), nullptr);
    EXPECT_EQ(CreateSprite3D(3, 99), 0) << "unknown sprite";
    EXPECT_NE(CreateSprite3D(3, 2), 0);
    const float upright[4][2] = {{0, 0}, {8, 0}, {0, 6}, {8, 6}};
    ExpectCorners(3, upright, "new 3D sprite");
    intptr_t handle = CreateSprite3D(DYNAMIC_OBJECT, 2);
    ASSERT_NE(handle, 0);
    ExpectCorners(static_cast<int32_t>(handle), upright, "dynamic 3D sprite");
    FreeSprite3D(static_cast<int32_t>(handle));
    EXPECT_EQ(FindSprite3D(static_cast<int32_t>(handle)), nullptr);
    EXPECT_EQ(CreateSprite3D(3, 1), 0) << "a failed create frees the number";
    EXPECT_EQ(FindSprite3D(3), nullptr);
}

TEST_F(Sprites3D, RotationsFollowTheStoredAngle)
{
    PatternSprite(1, 64, 64);
    ASSERT_NE(CreateSprite3D(1, 1), 0);
    float reference[4][2], rotated[4][2];

    RotateSprite3D(1, 10, 0);
    CornersOf(1, reference);
    RotateSprite3D(1, 45, 0);
    RotateSprite3D(1, 10, 1);
    CornersOf(1, rotated);
    EXPECT_EQ(FindSprite3D(1)->angle, 10) << "the absolute turn stored 0";
    EXPECT_EQ(std::memcmp(rotated, reference, sizeof rotated), 0) << "45 then 10 more is 10";

    RotateSprite3D(1, 370, 0);
    CornersOf(1, rotated);
    EXPECT_EQ(std::memcmp(rotated, reference, sizeof rotated), 0) << "370 is 10";

    RotateSprite3D(1, 330, 0);
    CornersOf(1, reference);
    RotateSprite3D(1, -30, 0);
    CornersOf(1, rotated);
    EXPECT_EQ(std::memcmp(rotated, reference, sizeof rotated), 0) << "-30 is 330";

    // Nothing turned: the approximate constants may leave a corner one pixel short.
    RotateSprite3D(1, 0, 0);
    CornersOf(1, rotated);
    const float upright[4][2] = {{0, 0}, {64, 0}, {0, 64}, {64, 64}};
    for (int i = 0; i < 4; ++i)
        for (int axis = 0; axis < 2; ++axis) {
            EXPECT_LE(rotated[i][axis], upright[i][axis]) << "corner " << i;
            EXPECT_GE(rotated[i][axis], upright[i][axis] - 1) << "corner " << i;
        }
}

TEST_F(Sprites3D, PositiveTurnsAreClockwiseAboutTheZoomedCentre)
{
    PatternSprite(1, 16, 16);
    ASSERT_NE(CreateSprite3D(1, 1), 0);
    RotateSprite3D(1, 25, 1);
    ZoomSprite3D(1, 64, 32);
    EXPECT_EQ(FindSprite3D(1)->angle, 25) << "zooming keeps the angle";
    const float upright[4][2] = {{0, 0}, {64, 0}, {0, 32}, {64, 32}};
    ExpectCorners(1, upright, "zoomed");
    // A quarter turn takes the top-left corner (offset -32, -16 from the centre (32, 16)) to
    // the top right: x = 32 + 16, y = 16 - 32, give or take the truncation.
    RotateSprite3D(1, 90, 0);
    const Sprite3DRecord* record = FindSprite3D(1);
    EXPECT_NEAR(record->vertices[0].x, 48, 1);
    EXPECT_NEAR(record->vertices[0].y, -16, 1);
    EXPECT_NEAR(record->vertices[3].x, 16, 1);
    EXPECT_NEAR(record->vertices[3].y, 48, 1);
    for (const TLVertex& v : record->vertices)
        EXPECT_EQ(v.x, static_cast<float>(static_cast<int32_t>(v.x))) << "whole pixels";
}

TEST_F(Sprites3D, TransparencyZeroDrawsNothingAndOpaqueCopiesAllButTheKey)
{
    PatternSprite(1, 20, 10);
    ASSERT_NE(CreateSprite3D(7, 1), 0);
    Surface& back = *BackBuffer();
    for (int32_t quality : {0, 1}) {
        ClearScreen(0x123456);
        Sprite3DQuality(quality);
        ASSERT_NE(Start3D(), 0);
        DisplaySprite3D(7, 5, 9, 0);
        Stop3D();
        for (int32_t y = 0; y < 48; ++y)
            for (int32_t x = 0; x < 64; ++x)
                ASSERT_EQ(Pixel(back, x, y), 0x563412u) << x << ", " << y;
        ASSERT_NE(Start3D(), 0);
        DisplaySprite3D(7, 5, 9);
        Stop3D();
        const Surface& texture = *SpriteSurface(1);
        int wrong = 0;
        for (int32_t y = 0; y < 48; ++y)
            for (int32_t x = 0; x < 64; ++x) {
                int32_t u = x - 5, v = y - 9;
                uint32_t expected = 0x563412;
                if (u >= 0 && u < 20 && v >= 0 && v < 10 && (u || v))
                    expected = Pixel(texture, u, v);
                wrong += Pixel(back, x, y) != expected;
            }
        EXPECT_EQ(wrong, 0) << "quality " << quality;
    }
}

TEST_F(Sprites3D, AClearInsideASceneCoversTheDisplaysBeforeItAndLiesUnderThoseAfter)
{
    PatternSprite(1, 20, 10);
    ASSERT_NE(CreateSprite3D(7, 1), 0);
    Surface& back = *BackBuffer();
    ClearScreen(0x0000FF);
    ASSERT_NE(Start3D(), 0);
    DisplaySprite3D(7, 30, 30);
    ClearScreen(0x123456);
    DisplaySprite3D(7, 5, 9);
    Stop3D();
    const Surface& texture = *SpriteSurface(1);
    int wrong = 0;
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = 0; x < 64; ++x) {
            int32_t u = x - 5, v = y - 9;
            uint32_t expected = 0x563412;
            if (u >= 0 && u < 20 && v >= 0 && v < 10 && (u || v))
                expected = Pixel(texture, u, v);
            wrong += Pixel(back, x, y) != expected;
        }
    EXPECT_EQ(wrong, 0);
}

TEST_F(Sprites3D, DisplaysOutsideAScenePassUnnoticed)
{
    PatternSprite(1, 8, 8);
    ASSERT_NE(CreateSprite3D(1, 1), 0);
    ClearScreen(0);
    DisplaySprite3D(1, 0, 0);
    ZoomSprite3D(1234, 5, 5);
    RotateSprite3D(1234, 5, 0);
    DisplaySprite3D(1234, 0, 0);
    FreeSprite3D(1234);
    EXPECT_EQ(PendingQuads(), 0);
    EXPECT_EQ(Pixel(*BackBuffer(), 3, 3), 0u);
    ASSERT_NE(Start3D(), 0);
    EXPECT_EQ(Start3D(), 0) << "a scene is already open";
    Stop3D();
}

TEST_F(Sprites3D, Start3DResetsTheBlendingAndNineEightMultiplies)
{
    ASSERT_NE(CreateSprite(1, 4, 4, 4), 0);
    Surface& light = *SpriteSurface(1);
    for (int32_t i = 0; i < 16; ++i)
        SetPixel(light, i % 4, i / 4, 0x808080);
    ASSERT_NE(CreateSprite3D(1, 1), 0);
    Surface& back = *BackBuffer();

    ClearScreen(0xC8C8C8);
    ASSERT_NE(Start3D(), 0); // makes the device
    Stop3D();
    // Set before the scene: Start3D puts (5, 6) back.
    Sprite3DBlendingMode(BLEND_DESTCOLOR, BLEND_INVDESTALPHA);
    ASSERT_NE(Start3D(), 0);
    DisplaySprite3D(1, 0, 0, 128);
    Sprite3DBlendingMode(BLEND_DESTCOLOR, BLEND_INVDESTALPHA);
    DisplaySprite3D(1, 10, 0, 128);
    Sprite3DBlendingMode(42, 0); // out of range: ignored
    DisplaySprite3D(1, 20, 0, 128);
    Stop3D();
    // (5, 6): 128 * 128 / 255 + 200 * 127 / 255 = 64 + 100; (9, 8): 128 * 200 / 255 = 100.
    EXPECT_EQ(Pixel(back, 1, 1), 0xA4A4A4u);
    EXPECT_EQ(Pixel(back, 11, 1), 0x646464u);
    EXPECT_EQ(Pixel(back, 21, 1), 0x646464u);
}

TEST_F(Sprites3D, AlphaTexturesBlendByTheirOwnAlphaAndImagesWithoutAlphaStayVisible)
{
    ClearImageCodecs();
    RegisterPngDecoder();
    PngDescription withAlpha{2, 2, 6, 8, 0, {}, {}, {}};
    PngDescription without{2, 2, 2, 8, 0, {}, {}, {}};
    for (int i = 0; i < 4; ++i) {
        withAlpha.samples.insert(withAlpha.samples.end(), {255, 0, 255, 128}); // not a key here
        without.samples.insert(without.samples.end(), {10, 200, 30});
    }
    Bytes a = MakePng(withAlpha), b = MakePng(without);
    ASSERT_NE(LoadSpriteFromMemory(1, a.data(), static_cast<int64_t>(a.size()), 4 | 8), 0);
    ASSERT_NE(LoadSpriteFromMemory(2, b.data(), static_cast<int64_t>(b.size()), 4 | 8), 0);
    ASSERT_NE(CreateSprite3D(1, 1), 0);
    ASSERT_NE(CreateSprite3D(2, 2), 0);
    ClearScreen(0);
    ASSERT_NE(Start3D(), 0);
    DisplaySprite3D(1, 0, 0);
    DisplaySprite3D(2, 4, 0);
    Stop3D();
    EXPECT_EQ(Pixel(*BackBuffer(), 1, 1), 0x800080u) << "half of magenta";
    EXPECT_EQ(Pixel(*BackBuffer(), 5, 1), 0x0AC81Eu) << "opaque, as the image had no alpha";
    ClearImageCodecs();
}

TEST_F(Sprites3D, ARecordWhoseSpriteDiedDrawsNothing)
{
    PatternSprite(1, 8, 8);
    ASSERT_NE(CreateSprite3D(1, 1), 0);
    ASSERT_NE(OpenScreen(64, 48, 32, "again"), 0); // closes the screen: every sprite goes
    PatternSprite(1, 8, 8);                        // a new sprite under the same number
    ClearScreen(0);
    ASSERT_NE(Start3D(), 0);
    DisplaySprite3D(1, 0, 0);
    Stop3D();
    EXPECT_EQ(Pixel(*BackBuffer(), 3, 3), 0u);
}

namespace {
// A scene on a cleared screen: a 256 x 256 texture (large enough that freeing it gives its
// pages back to the system) zoomed, turned and displayed, and a small sprite for 2D work;
// then the action, either inside the scene or after it ended. The back buffer and the last
// presented frame as the scene leaves them.
std::vector<uint32_t> SceneThen(void (*action)(), bool insideTheScene)
{
    PatternSprite(1, 256, 256);
    PatternSprite(2, 12, 12);
    EXPECT_NE(CreateSprite3D(1, 1), 0);
    ZoomSprite3D(1, 40, 30);
    RotateSprite3D(1, 30, 0);
    ClearScreen(0x102030);
    EXPECT_NE(Start3D(), 0);
    DisplaySprite3D(1, 10, 8, 200);
    if (insideTheScene)
        action();
    Stop3D();
    if (!insideTheScene)
        action();
    const Surface& back = *BackBuffer();
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < back.height; ++y)
        for (int32_t x = 0; x < back.width; ++x)
            pixels.push_back(Pixel(back, x, y));
    int32_t width = 0, height = 0;
    if (const uint32_t* frame = HeadlessFrame(width, height))
        pixels.insert(pixels.end(), frame, frame + static_cast<size_t>(width) * height);
    return pixels;
}

int32_t Differences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    if (a.size() != b.size())
        return -1;
    int32_t count = 0;
    for (size_t i = 0; i < a.size(); ++i)
        count += a[i] != b[i];
    return count;
}
} // namespace

TEST_F(Sprites3D, WorkInsideASceneSeesEveryQuadDrawnAtItsDisplay)
{
    static const Bytes bmp = MakeBmp(2, 2, 24, 0, {}, Bytes(16, 0x7F));
    struct Case {
        const char* what;
        void (*action)();
    } cases[] = {
        {"the texture freed", [] { FreeSprite(1); }},
        {"a new sprite under the texture's number", [] { CreateSprite(1, 256, 256, 4); }},
        {"an image loaded under the texture's number",
         [] { LoadSpriteFromMemory(1, bmp.data(), static_cast<int64_t>(bmp.size()), 4); }},
        {"drawing on the texture",
         [] {
             StartDrawing(SpriteDrawTarget(1));
             DrawBox(0, 0, 256, 128, 0x00FF00);
             PlotPixel(3, 200, 0xFF0000);
             StopDrawing();
         }},
        {"the texture as the draw buffer",
         [] {
             SelectDrawBuffer(1);
             ClearScreen(0x0000FF);
             DisplaySprite(2, 100, 100);
             SelectDrawBuffer(-1);
         }},
        {"the screen cleared", [] { ClearScreen(0x0000FF); }},
        {"a sprite displayed over the quad", [] { DisplaySprite(2, 20, 12); }},
        {"a sprite displayed with its key", [] { DisplayTransparentSprite(2, 20, 12); }},
        {"drawing on the screen",
         [] {
             StartDrawing(ScreenDrawTarget());
             DrawBox(15, 10, 10, 10, 0x00FFFF);
             PlotPixel(25, 20, 0xFF);
             DrawText(12, 14, "Hi", 0xFFFFFF);
             StopDrawing();
         }},
        {"a flip", [] { FlipBuffers(0); }},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> inside = SceneThen(c.action, true);
        std::vector<uint32_t> after = SceneThen(c.action, false);
        EXPECT_EQ(Differences(inside, after), 0) << c.what;
    }
}

TEST_F(Sprites3D, ClosingTheScreenInsideASceneDropsItsQuads)
{
    PatternSprite(1, 256, 256);
    ASSERT_NE(CreateSprite3D(1, 1), 0);
    ASSERT_NE(Start3D(), 0);
    DisplaySprite3D(1, 0, 0);
    ASSERT_NE(OpenScreen(64, 48, 32, "again"), 0); // closes the screen: every sprite goes
    EXPECT_EQ(PendingQuads(), 0);
    Stop3D();
    EXPECT_EQ(Pixel(*BackBuffer(), 3, 3), 0u);
    EXPECT_NE(Start3D(), 0) << "the scene ended with the screen";
}
