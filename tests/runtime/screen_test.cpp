#include "runtime/display/screen_internal.h"
#include "runtime/platform/headless.h"
#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// A stand-in sprite library that records what the screen asks of it.
struct FakeSprites {
    int saves = 0;
    int restores = 0;
    int frees = 0;
    std::string order;
    Surface* sprite5 = nullptr;
};
FakeSprites Fake;

const SpriteLibraryHooks FakeHooks{
    [] { return int32_t(1); },
    [] { ++Fake.saves; },
    [] { ++Fake.restores; },
    [] { ++Fake.frees, Fake.order += "sprites "; },
    [](int32_t sprite) { return sprite == 5 ? Fake.sprite5 : nullptr; },
};

class Screen : public testing::Test {
protected:
    void SetUp() override
    {
        Fake = FakeSprites{};
        InstallSpriteLibrary(&FakeHooks, &previous);
        ASSERT_NE(InitSprite(), 0);
    }
    void TearDown() override
    {
        EndSprite();
        ReleaseKeyboard();
        SetDevice3DRelease(nullptr);
        InstallSpriteLibrary(previous);
        FreeSurface(Fake.sprite5);
    }
    // The color of every pixel of the last presented frame, or -1 when they differ.
    static int64_t FrameColor()
    {
        int32_t width = 0, height = 0;
        const uint32_t* frame = HeadlessFrame(width, height);
        if (!frame)
            return -2;
        for (int32_t i = 1; i < width * height; ++i)
            if (frame[i] != frame[0])
                return -1;
        return frame[0];
    }
    const SpriteLibraryHooks* previous = nullptr;
};
} // namespace

TEST_F(Screen, ClearScreenConvertsTheColorByDepth)
{
    struct Case {
        int32_t depth;
        int32_t color;
        uint32_t pixel;
        int64_t shown;
    } cases[] = {{16, 0xFF00FF, 0xF81F, 0xFF00FF},
                 {32, 0xFF00FF, 0x00FF00FF, 0xFF00FF},
                 {24, 0x0080FF, 0xFF8000, 0xFF8000},
                 {16, 0x0080FF, 0xFC00, 0xFF8200},
                 {8, 7, 7, 0x0024FF},
                 {32, 0x123456, 0x563412, 0x563412}};
    for (const Case& c : cases) {
        ASSERT_NE(OpenScreen(8, 4, c.depth, "test"), 0) << c.depth;
        ClearScreen(c.color);
        Surface* back = BackBuffer();
        for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 8; ++x)
                ASSERT_EQ(GetSurfacePixel(*back, x, y), c.pixel) << "depth " << c.depth;
        // Shown through 8 bits per channel, the 5- and 6-bit fields repeating their high bits.
        FlipBuffers();
        EXPECT_EQ(FrameColor(), c.shown) << "depth " << c.depth;
    }
}

TEST_F(Screen, OffersOnlySizesUpTo8192AndTheFourDepths)
{
    struct Case {
        int32_t width, height, depth, opened;
    } cases[] = {{640, 480, 32, 640},  {1, 1, 8, 1},
                 {8192, 1, 24, 8192},  {8193, 1, 32, 0},
                 {0, 480, 32, 0},      {640, 0, 32, 0},
                 {640, 480, 15, 0},    {640, 480, 0, 0},
                 {70000, 2, 16, 4464}, {65536 + 64, 2, 65536 + 16, 64},
                 {-640, 480, 32, 0}};
    for (const Case& c : cases) {
        int32_t result = OpenScreen(c.width, c.height, c.depth, "t");
        EXPECT_EQ(result != 0, c.opened != 0) << c.width << "x" << c.height << "x" << c.depth;
        EXPECT_EQ(ScreenModeWidth(), c.opened) << c.width << "x" << c.height << "x" << c.depth;
        EXPECT_EQ(IsScreenActive(), c.opened != 0 ? 1 : 0);
    }
}

TEST_F(Screen, NothingIsShownWhileTheWindowLacksTheFocus)
{
    ASSERT_NE(OpenScreen(4, 4, 32, "t"), 0);
    FlipBuffers();
    ASSERT_EQ(FrameColor(), 0);
    HeadlessFocus(0);
    ClearScreen(0x0000FF);
    FlipBuffers(1);
    EXPECT_EQ(IsScreenActive(), 0);
    EXPECT_EQ(HeadlessFrameCount(), 1);
    EXPECT_EQ(FrameColor(), 0);

    // Back in front: the first flip repairs the lost display and gives the sprites their
    // pixels; the frames after it show again.
    HeadlessFocus(1);
    FlipBuffers(1);
    EXPECT_EQ(IsScreenActive(), 1);
    EXPECT_EQ(Fake.restores, 1);
    FlipBuffers(1);
    EXPECT_EQ(FrameColor(), 0xFF0000);
}

TEST_F(Screen, FocusLostHandlerRunsOncePerLoss)
{
    ASSERT_NE(OpenScreen(4, 4, 16, "t"), 0);
    HeadlessKey(KEY_LEFT_ALT, 1);
    HeadlessKey(KEY_LEFT_ALT, 0);
    FlipBuffers();
    EXPECT_EQ(Fake.saves, 1);
    EXPECT_EQ(IsScreenActive(), 1) << "releasing Alt saves the sprites but keeps the screen";
    HeadlessKey(KEY_TAB, 0);
    HeadlessFocus(0);
    FlipBuffers();
    EXPECT_EQ(Fake.saves, 1) << "no new activation since the last save";
    HeadlessFocus(1);
    FlipBuffers();
    HeadlessKey(KEY_P, 0);
    FlipBuffers();
    EXPECT_EQ(Fake.saves, 1) << "other keys do not count";
    HeadlessFocus(0);
    FlipBuffers();
    EXPECT_EQ(Fake.saves, 2);
}

TEST_F(Screen, ClosingReleasesThe3DDeviceThenTheSprites)
{
    SetDevice3DRelease([] { Fake.order += "device "; });
    ASSERT_NE(OpenScreen(4, 4, 32, "t"), 0);
    ASSERT_NE(OpenScreen(8, 8, 32, "t"), 0) << "reopening closes the old screen first";
    EXPECT_EQ(Fake.order, "device sprites ");
    CloseScreen();
    CloseScreen();
    EXPECT_EQ(Fake.frees, 2);
    EXPECT_EQ(BackBuffer(), nullptr);
    EXPECT_EQ(IsScreenActive(), 0);
    FlipBuffers();
    ClearScreen(0);
}

TEST_F(Screen, SelectDrawBufferRedirectsClearingUntilTheFlip)
{
    Fake.sprite5 = CreateSurface(3, 2, FORMAT_BGR32);
    ASSERT_NE(OpenScreen(4, 4, 32, "t"), 0);
    EXPECT_EQ(SelectDrawBuffer(6), nullptr);
    EXPECT_EQ(DrawBuffer(), BackBuffer());
    EXPECT_EQ(SelectDrawBuffer(5), Fake.sprite5);
    EXPECT_EQ(DrawBufferWidth(), 3);
    EXPECT_EQ(DrawBufferHeight(), 2);
    ClearScreen(0x00FF00);
    EXPECT_EQ(GetSurfacePixel(*Fake.sprite5, 2, 1), 0x00FF00u);
    EXPECT_EQ(GetSurfacePixel(*BackBuffer(), 0, 0), 0u);
    FlipBuffers(0);
    EXPECT_EQ(DrawBuffer(), BackBuffer());
    EXPECT_EQ(DrawBufferWidth(), 4);
}

TEST_F(Screen, DrawTargetIsLentOnceUntilReleasedOrFlipped)
{
    EXPECT_EQ(ScreenDrawTarget(), nullptr) << "no screen open";
    ASSERT_NE(OpenScreen(6, 5, 16, "t"), 0);
    DrawTarget* target = ScreenDrawTarget();
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->kind, 7);
    ASSERT_NE(target->deviceContext, nullptr);
    EXPECT_EQ(target->deviceContext->surface, BackBuffer());
    EXPECT_EQ(target->width, 6);
    EXPECT_EQ(target->height, 5);
    EXPECT_EQ(target->depth, 16);
    EXPECT_EQ(target->pixelFormat, 3);
    EXPECT_EQ(ScreenDrawTarget(), nullptr);
    int32_t pitch = 0;
    EXPECT_EQ(target->lock(target->owner, &pitch), BackBuffer()->pixels);
    EXPECT_EQ(pitch, BackBuffer()->pitch);
    EXPECT_EQ(ScreenDrawingHeld(), -1);
    EXPECT_NE(target->getContext(target->owner), nullptr);
    EXPECT_EQ(ScreenDrawingHeld(), 1);
    target->release(target->owner);
    EXPECT_EQ(ScreenDrawingHeld(), 0);
    ASSERT_NE(ScreenDrawTarget(), nullptr);
    FlipBuffers();
    EXPECT_EQ(ScreenDrawingHeld(), 0);
}

TEST(ScreenLifecycle, OpenScreenNeedsInitSprite)
{
    EXPECT_EQ(OpenScreen(640, 480, 32, "t"), 0);
    EXPECT_EQ(ScreenModeWidth(), 0);
}
