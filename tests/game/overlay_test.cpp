#include "game/rendering/rendering.h"
#include "game/startup/startup.h"
#include "tests/game/world.h"

#include "runtime/platform/headless.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// Counts 60 frames spread evenly over the milliseconds.
void SixtyFramesOver(uint32_t milliseconds)
{
    for (int frame = 0; frame < 60; ++frame) {
        HeadlessAdvanceClock(milliseconds / 60 + (frame < static_cast<int>(milliseconds % 60)));
        CountFrameForRate();
    }
}
} // namespace

TEST(FrameRate, MeasuresEverySixtyFramesTheMeanRateMinusTwo)
{
    SetUpWorld();
    LastFpsTime = static_cast<int32_t>(ElapsedMilliseconds());
    for (int frame = 0; frame < 59; ++frame) {
        HeadlessAdvanceClock(16);
        CountFrameForRate();
    }
    EXPECT_EQ(Fps, 0) << "nothing is measured before the 60th frame";
    CountFrameForRate();
    EXPECT_EQ(Fps, 1000 / (944 / 60) - 2);
    EXPECT_EQ(FrameCounter, 0);

    struct Case {
        uint32_t milliseconds;
        int32_t fps;
    } cases[] = {
        {1000, 60}, // 1000 / 16 - 2
        {2000, 28}, // 1000 / 33 - 2
        {60, 998},  // one millisecond per frame
        {59, 998},  // under 1 ms per frame: the last value stays
        {0, 998},   {6000, 8},
    };
    for (const Case& c : cases) {
        SixtyFramesOver(c.milliseconds);
        EXPECT_EQ(Fps, c.fps) << c.milliseconds << " ms";
        EXPECT_EQ(LastFpsTime, static_cast<int32_t>(ElapsedMilliseconds()));
    }
}

TEST(FrameRate, OnlyAZeroDivisorKeepsTheLastRate)
{
    SetUpWorld();
    // The milliseconds since the last measurement, as the signed difference of the counter.
    struct Case {
        int64_t elapsed;
        int32_t fps;
    } cases[] = {
        {2147484648, -2}, // the counter read as signed past 2^31: 1000 / -35791377 - 2
        {-600, -102},     // 1000 / -10 - 2
        {-60, -1002},     // 1000 / -1 - 2
        {-59, -1002},     // a divisor of 0: the last rate stays
        {960, 60},
    };
    for (const Case& c : cases) {
        FrameCounter = 59;
        LastFpsTime =
            static_cast<int32_t>(ElapsedMilliseconds() - static_cast<uint32_t>(c.elapsed));
        CountFrameForRate();
        EXPECT_EQ(Fps, c.fps) << c.elapsed << " ms";
    }
}

TEST(Overlay, ValueLinesShowTheRoundedValueAndItsLabel)
{
    SetUpWorld();
    Fps = 60;
    PlayerSpeed = 2.5f;
    PlayerAngle = 3.5f;
    PlayerX = 4968;
    PlayerY = -12.5f;
    eyeAngle = -7;
    fh = 1;
    const char* expected[OVERLAY_VALUE_COUNT] = {
        "60 FPS",          "2 Speed",     "4 Angle",  "4968 X", "-12 Y", "4488 ScreenPosX",
        "4616 ScreenPosY", "-7 eyeAngle", "0 zAngle", "0 x_b",  "0 y_b", "1 fh"};
    OverlayLineText text;
    for (int32_t line = 0; line < OVERLAY_VALUE_COUNT; ++line)
        EXPECT_EQ(std::string(OverlayValueLine(line, text)), expected[line]) << "line " << line;
    x_b = INT32_MIN;
    ScreenPosX = INT32_MIN;
    EXPECT_EQ(std::string(OverlayValueLine(9, text)), "-2147483648 x_b");
    EXPECT_EQ(std::string(OverlayValueLine(5, text)), "-2147483648 ScreenPosX");
}

TEST(Overlay, SeamMarkersAppearOnlyNearTheSeams)
{
    SetUpWorld();
    SeamMarker markers[8];
    int32_t count = SeamMarkers(markers);
    for (int32_t i = 0; i < count; ++i) {
        const SeamMarker& m = markers[i];
        EXPECT_TRUE(m.x >= 1024 || m.x + m.width <= 0 || m.y >= 768 || m.y + m.height <= 0)
            << "marker " << i << " at (" << m.x << ", " << m.y << ") is off the screen";
    }

    const uint32_t red = 0x0000FF, yellow = 0x00FFFF;
    PlayerX = 300;
    PlayerY = 5000;
    ScreenPosX = -100;
    ScreenPosY = 4600;
    ASSERT_EQ(SeamMarkers(markers), 6);
    EXPECT_EQ(markers[0].x, 100);
    EXPECT_EQ(markers[0].height, 768);
    EXPECT_EQ(markers[0].color, red);
    EXPECT_EQ(markers[1].x, 1124);
    EXPECT_EQ(markers[1].color, yellow);
    EXPECT_EQ(markers[2].x, 10000 + 100 - 1);
    EXPECT_EQ(markers[4].y, 10000 - 4600 - 1);

    PlayerX = 5000;
    PlayerY = 9900;
    ScreenPosY = 9500;
    ScreenPosX = 4600;
    ASSERT_EQ(SeamMarkers(markers), 4) << "the far seam is also tested against ScreenPosX";
    EXPECT_EQ(markers[0].x, 10000 - 4600 - 1);
    EXPECT_EQ(markers[2].y, 10000 - 9500 - 1);
    EXPECT_EQ(markers[2].width, 1024);
    EXPECT_EQ(markers[2].height, 1);
    EXPECT_EQ(markers[3].y, 10000 - 9500 + 768 - 1);
    EXPECT_EQ(markers[3].color, yellow);
}

namespace {
// A black 1024 x 768 back buffer lent to 2D drawing.
struct Canvas {
    Surface* surface = CreateSurface(1024, 768, FORMAT_BGR32);
    SurfaceDrawing holder;
    ~Canvas() { FreeSurface(surface); }
    const DrawTarget* Target() { return BeginSurfaceDrawing(&holder, surface, 32); }
    uint32_t Pixel(int32_t x, int32_t y) const
    {
        const uint8_t* p = SurfaceRow(*surface, y) + 4 * x;
        return p[0] | p[1] << 8 | p[2] << 16;
    }
    // The lit pixels in the rectangle.
    int32_t Lit(int32_t left, int32_t top, int32_t right, int32_t bottom) const
    {
        int32_t lit = 0;
        for (int32_t y = top; y < bottom; ++y)
            for (int32_t x = left; x < right; ++x)
                lit += Pixel(x, y) != 0;
        return lit;
    }
};
} // namespace

TEST(Overlay, DrawsTheBuildLineAndTheValueColumnAtTheRightEdge)
{
    SetUpWorld();
    BuildTitles();
    Canvas canvas;
    ASSERT_NE(canvas.surface, nullptr);
    DrawOverlay(canvas.Target());
    EXPECT_EQ(FrameCounter, 1);
    EXPECT_GT(canvas.Lit(10, 10, 300, 40), 50) << "the build line";
    EXPECT_EQ(canvas.Lit(0, 0, 10, 768), 0) << "nothing left of x = 10";
    EXPECT_EQ(canvas.Lit(0, 0, 1024, 10), 0) << "nothing above y = 10";
    EXPECT_EQ(canvas.Lit(300, 0, 924, 768), 0) << "nothing between the build line and the column";
    for (int32_t line = 0; line < OVERLAY_VALUE_COUNT; ++line)
        EXPECT_GT(canvas.Lit(924, 10 + 30 * line, 1024, 40 + 30 * line), 5) << "line " << line;
    EXPECT_EQ(canvas.Lit(924, 370, 1024, 768), 0) << "twelve lines only";
    for (int32_t y = 0; y < 768; ++y)
        ASSERT_TRUE(canvas.Pixel(923, y) == 0) << "the column starts at x = 924, row " << y;

    Canvas quiet;
    FpsDisplay = 0;
    FrameCounter = 0;
    DrawOverlay(quiet.Target());
    EXPECT_EQ(FrameCounter, 0) << "nothing is counted without the values";
    EXPECT_GT(quiet.Lit(10, 10, 300, 40), 50);
    EXPECT_EQ(quiet.Lit(924, 0, 1024, 768), 0);
}

TEST(Overlay, DrawsTheSeamMarkersInRedAndYellow)
{
    SetUpWorld();
    FpsDisplay = 0;
    PlayerX = 300;
    ScreenPosX = -500;
    Canvas canvas;
    DrawOverlay(canvas.Target());
    EXPECT_EQ(canvas.Pixel(500, 400), 0xFF0000u) << "world x 0 in red (0x00RRGGBB)";
    EXPECT_EQ(canvas.Pixel(500, 767), 0xFF0000u);
    EXPECT_EQ(canvas.Pixel(499, 400), 0u);
    EXPECT_EQ(canvas.Pixel(501, 400), 0u);
}
