// The game's whole frames, pixel for pixel, over a fixed run: any change to what a player sees
// (3D quads, zoom and rotation, filtering, blending, the light and the darkness, the eyes, the
// overlay's texts and markers, the cursor) fails here. The run is deterministic: a world made
// by the test, a fixed random seed, a virtual clock and a fixed script of mouse input.
#include "game/data/globals.h"
#include "game/simulation/simulation.h"
#include "game/startup/startup.h"
#include "runtime/platform/headless.h"
#include "runtime/platform/system.h"
#include "tests/game/game_data.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <vector>

namespace {
// Fourteen cell types, so that the types with eyes (3, 6, 13 and 14) are drawn; each with two
// frames, a behaviour (0 ignores, 1 flees, 2 chases) and ranges of its own.
std::vector<CellTypeData> FixtureTypes()
{
    std::vector<CellTypeData> types;
    for (int32_t t = 1; t <= 14; ++t) {
        int32_t side = 32 + 8 * (t % 5);
        std::string definition =
            "Name=T" + std::to_string(t) + "\r\nType=" + std::to_string(t % 3) +
            "\r\nFront=" + std::to_string(t % 2) + "\r\nAniType=" + std::to_string(t / 8) +
            "\r\nsize=" + std::to_string(40 + 6 * t) + "|" + std::to_string(60 + 8 * t) +
            "\r\nidle_anispeed=0.2|0.3\r\nflew_anispeed=0.3|0.4"
            "\r\nmentionradius=3|4\r\ntrans=" +
            std::to_string(150 + 7 * t) + "|255\r\n";
        uint32_t tint = 0x1F2F3F * static_cast<uint32_t>(t);
        types.push_back(
            {1, definition, {PatternPng(side, side, tint, 0), PatternPng(side, side, tint, 1)}});
    }
    return types;
}

struct Step {
    int32_t dx, dy; // mouse motion before the pass
    int32_t button; // left button state for the pass
};

// Swim toward the upper right while the cursor drifts, let go and coast, then swim across the
// world's top-left corner, where the seams and their markers show.
const Step Script[] = {
    {0, 0, 1},    {12, -6, 1},  {20, -4, 1},  {24, 2, 1},  {16, 10, 1}, {-40, 60, 0},
    {-30, 40, 0}, {-200, 0, 1}, {0, -150, 1}, {-8, -8, 1}, {-16, 4, 1}, {-4, -20, 1},
};
constexpr int32_t SeamStep = 7; // the player and camera are moved near the corner here

// FNV-1a over the frame's pixels.
uint64_t FrameHash(const uint32_t* frame, size_t count)
{
    uint64_t hash = 0xCBF29CE484222325u;
    for (size_t i = 0; i < count; ++i) {
        hash ^= frame[i];
        hash *= 0x100000001B3u;
    }
    return hash;
}

// The frame as a PNG in the build folder, so that a failure can be looked at.
std::string SaveFrame(const uint32_t* frame, int32_t width, int32_t height, int32_t index)
{
    std::vector<uint8_t> rows(static_cast<size_t>(width) * 3 * height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint32_t rgb = frame[static_cast<size_t>(y) * width + x];
            uint8_t* p = &rows[(static_cast<size_t>(height - 1 - y) * width + x) * 3];
            p[0] = rgb & 0xFF;
            p[1] = (rgb >> 8) & 0xFF;
            p[2] = (rgb >> 16) & 0xFF;
        }
    std::string name =
        std::string(VELLOMIRA_BINARY_DIR) + "/golden-frame-" + std::to_string(index) + ".png";
    EncodeImage(name.c_str(), rows.data(), PNG_ENCODER_TAG, width, height, width * 3, 0);
    return name;
}

// Places the cells on a ring around the player's centre, inside the light.
void RingOfCells(float centreX, float centreY, float radius)
{
    ResetList(CellList);
    int32_t i = 0;
    while (Cell* cell = NextElementOf<Cell>(CellList)) {
        float angle = 360.0f * static_cast<float>(i) / 14.0f;
        float r = radius + 20.0f * static_cast<float>(i % 4);
        cell->x = centreX + r * SinTable[static_cast<size_t>(angle * 10)] - cell->size / 2;
        cell->y = centreY - r * CosTable[static_cast<size_t>(angle * 10)] - cell->size / 2;
        cell->angle = static_cast<float>((i * 53) % 360);
        ++i;
    }
}
} // namespace

TEST(GoldenFrames, AFixedRunShowsTheSamePixels)
{
    // Taken from the game as it stood when this test was written; if a change to the picture is
    // meant, look at the saved frames and take the new values from the failure messages.
    const uint64_t expected[] = {
        0xbdedd97c49998fd7, 0x18dbecc7936677e7, 0x6e753fd608b2ce88, 0xa085f9da05ecb091,
        0x881f4e739312dbcb, 0x58564542d1df63a3, 0x553d802dd826d24c, 0x587019228398c42b,
        0x040f09724987585a, 0xc8fa7c0e9b21ec91, 0x96163ecf589b34f3, 0xe5477310b9b752c3,
    };
    static_assert(std::size(expected) == std::size(Script));

    ScratchFolder folder;
    WriteGameData(FixtureTypes(), PatternPng(64, 64, 0x80C040, 2), PatternPng(16, 16, 0xA0E0F0, 1));
    static const int quiet = SystemOpenFile(SYSTEM_NULL_DEVICE, O_RDWR);
    ClearGlobals();
    OpenConsoleOn(quiet, quiet);
    RandomSeed(20080225);
    int status = -1;
    ASSERT_TRUE(StartGame(status)) << "status " << status;
    ASSERT_EQ(ListSize(CellList), 14);
    RingOfCells(PlayerX + PlayerSize / 2, PlayerY + PlayerSize / 2, 220);
    // The cursor from the top-left corner, where the position is held, to the right of the
    // player; the frame rate is measured at the fifth pass, over passes of 16 ms.
    HeadlessMouseMove(-5000, -5000);
    PollMouse();
    HeadlessMouseMove(760, 300);
    FrameCounter = 55;
    LastFpsTime = static_cast<int32_t>(ElapsedMilliseconds() - 55 * 16);

    for (size_t pass = 0; pass < std::size(Script); ++pass) {
        if (pass == SeamStep) {
            PlayerX = 150;
            PlayerY = 120;
            ScreenPosX = -330;
            ScreenPosY = -260;
            RingOfCells(PlayerX + PlayerSize / 2, PlayerY + PlayerSize / 2, 260);
        }
        HeadlessMouseMove(Script[pass].dx, Script[pass].dy);
        HeadlessMouseButton(1, Script[pass].button);
        HeadlessAdvanceClock(16);
        ASSERT_TRUE(RunMainLoopPass());
        int32_t width = 0, height = 0;
        const uint32_t* frame = HeadlessFrame(width, height);
        ASSERT_NE(frame, nullptr);
        uint64_t hash = FrameHash(frame, static_cast<size_t>(width) * height);
        EXPECT_EQ(hash, expected[pass])
            << "pass " << pass << ": 0x" << std::hex << hash << std::dec << ", frame saved as "
            << SaveFrame(frame, width, height, static_cast<int32_t>(pass));
    }
    EXPECT_EQ(Fps, 60) << "the rate measured at the fifth pass is shown";
    HeadlessMouseButton(1, 0);
    QuitSequence();
}
