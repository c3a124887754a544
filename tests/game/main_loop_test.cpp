#include "game/data/globals.h"
#include "game/simulation/simulation.h"
#include "game/startup/startup.h"
#include "runtime/platform/headless.h"
#include "runtime/platform/input_mapping.h"
#include "runtime/platform/system.h"
#include "tests/game/allocation_counter.h"
#include "tests/game/game_data.h"
#include "tests/system_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <fcntl.h>
#include <thread>

namespace {
constexpr uint32_t RED = 0xFF0000, GREEN = 0x00FF00, BLUE = 0x0000FF;

// The real start-up on a small world: two green 64 x 64 cells that ignore the player and one
// blue cell that flees from it, a red player and white 8 x 8 bubbles, on the screen of the
// headless platform.
class GameRun : public testing::Test {
protected:
    void SetUp() override
    {
        WriteGameData({{2, "Name=Green\r\ntrans=255|255\r\n", {SolidPng(64, 64, GREEN)}},
                       {1, "Name=Shy\r\nType=1\r\n", {SolidPng(64, 64, BLUE)}}},
                      SolidPng(64, 64, RED), SolidPng(8, 8, WHITE));
        // The console's lines go nowhere; the descriptor stays open for the whole test program.
        static const int quiet = SystemOpenFile(SYSTEM_NULL_DEVICE, O_RDWR);
        ClearGlobals();
        OpenConsoleOn(quiet, quiet);
        int status = -1;
        started = StartGame(status);
        ASSERT_TRUE(started) << "status " << status;
        ASSERT_EQ(ListSize(CellList), 3);
    }

    void TearDown() override
    {
        for (int32_t key : {KEY_ESCAPE, KEY_P, KEY_S})
            HeadlessKey(key, 0);
        // The reader hears the button let go before the screen closes: the runtime's mouse
        // outlives the test, and a button it still held would swim in the next one.
        HeadlessMouseButton(1, 0);
        PollMouse();
        if (started)
            QuitSequence();
    }

    // The last presented frame's pixel as 0xRRGGBB.
    uint32_t Pixel(int32_t x, int32_t y)
    {
        int32_t width = 0, height = 0;
        const uint32_t* frame = HeadlessFrame(width, height);
        if (!frame || x < 0 || y < 0 || x >= width || y >= height)
            return 0xDEADBEEF;
        return frame[static_cast<size_t>(y) * width + x] & 0xFFFFFF;
    }

    // Only one bubble, at the world position.
    void SingleBubbleAt(float x, float y)
    {
        ClearList(BubbleList);
        Cell* bubble = AddElementOf<Cell>(BubbleList);
        bubble->x = x;
        bubble->y = y;
        bubble->type = 1;
        bubble->trans = 255;
    }

    // The cursor at a place on the screen from the next pass on: the mouse is first pushed into
    // the top-left corner, where the position is held.
    void CursorAt(int32_t x, int32_t y)
    {
        HeadlessMouseMove(-5000, -5000);
        PollMouse();
        HeadlessMouseMove(x, y);
    }

    std::vector<Cell*> Cells()
    {
        std::vector<Cell*> cells;
        ResetList(CellList);
        while (Cell* cell = NextElementOf<Cell>(CellList))
            cells.push_back(cell);
        return cells;
    }

    ScratchFolder folder;
    bool started = false;
};

int32_t Channel(uint32_t rgb, int shift)
{
    return static_cast<int32_t>((rgb >> shift) & 0xFF);
}
} // namespace

TEST_F(GameRun, APassShowsAFrameOfTheScreensSize)
{
    EXPECT_TRUE(RunMainLoopPass());
    int32_t width = 0, height = 0;
    EXPECT_NE(HeadlessFrame(width, height), nullptr);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);
}

TEST_F(GameRun, EscapeFinishesItsFrameAndThenEndsTheLoop)
{
    EXPECT_TRUE(RunMainLoopPass());
    int32_t frames = HeadlessFrameCount();
    HeadlessKey(KEY_ESCAPE, 1);
    EXPECT_FALSE(RunMainLoopPass());
    EXPECT_EQ(QuitFlag, 1);
    EXPECT_EQ(HeadlessFrameCount(), frames + 1) << "the frame of the Escape pass is shown";
}

TEST_F(GameRun, SHeldSlowsEachPassByAQuarterSecondWithoutChangingTheStep)
{
    HeadlessMouseMove(400, 0);
    HeadlessMouseButton(1, 1);
    RunMainLoopPass();
    float before = PlayerSpeed;
    HeadlessKey(KEY_S, 1);
    uint32_t start = ElapsedMilliseconds();
    RunMainLoopPass();
    EXPECT_GE(ElapsedMilliseconds() - start, 250u);
    EXPECT_NEAR(PlayerSpeed, before + PlayerAcceleration, 1e-5f);
}

TEST_F(GameRun, PHeldPausesUpdatesDrawingAndFlips)
{
    RunMainLoopPass();
    int32_t frames = HeadlessFrameCount();
    // With the button down every pass that runs raises the speed.
    HeadlessMouseButton(1, 1);
    float before = PlayerSpeed;
    HeadlessKey(KEY_P, 1);
    // The pass waits in 250 ms steps of the virtual clock while P is held; the test lets it
    // wait ten of them, then releases P from this thread.
    uint32_t start = ElapsedMilliseconds();
    std::atomic<bool> done{false};
    std::thread pass([&] {
        RunMainLoopPass();
        done = true;
    });
    while (!done && ElapsedMilliseconds() - start < 2500)
        std::this_thread::yield();
    bool heldDuringPause = !done;
    int32_t framesDuringPause = HeadlessFrameCount();
    float speedDuringPause = PlayerSpeed;
    HeadlessKey(KEY_P, 0);
    pass.join();
    EXPECT_TRUE(heldDuringPause) << "the pass ended while P was held";
    EXPECT_EQ(framesDuringPause, frames) << "nothing is flipped while paused";
    EXPECT_EQ(speedDuringPause, before) << "nothing is updated while paused";
    EXPECT_EQ(HeadlessFrameCount(), frames + 1);
    EXPECT_NEAR(PlayerSpeed, before + PlayerAcceleration, 1e-6f)
        << "the pass goes on once P is released";
}

TEST_F(GameRun, AQuitRequestFromTheConsoleEndsTheLoopLikeEscape)
{
    EXPECT_EXIT(
        {
            OpenConsole();
            if (!SendQuitRequest())
                std::exit(2);
            int32_t frames = HeadlessFrameCount();
            bool goOn = RunMainLoopPass();
            std::exit(!goOn && HeadlessFrameCount() == frames + 1 ? 0 : 3);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(GameRun, EverythingFartherThan400PixelsFromThePlayerIsBlack)
{
    // The cursor is moved out of the way; the overlay's texts are all that may be lit there.
    HeadlessMouseMove(300, 300);
    RunMainLoopPass();
    float centreX = PlayerX + PlayerSize / 2 - ScreenPosX;
    float centreY = PlayerY + PlayerSize / 2 - ScreenPosY;
    int32_t lit = 0;
    for (int32_t y = 0; y < 768; ++y)
        for (int32_t x = 0; x < 1024; ++x) {
            bool overlay = (y < 40 && x < 300) || (x >= 924 && y < 370);
            bool cursor = std::abs(x - (MouseWorldX - ScreenPosX)) < 20 &&
                          std::abs(y - (MouseWorldY - ScreenPosY)) < 20;
            if (overlay || cursor || std::hypot(x - centreX, y - centreY) <= 400)
                continue;
            lit += Pixel(x, y) != 0;
        }
    EXPECT_EQ(lit, 0);
    EXPECT_NE(Pixel(RoundToInteger(centreX) + 100, RoundToInteger(centreY)), 0u)
        << "the water near the player is lit";
}

TEST_F(GameRun, ThePlayerIsDrawnOverTheCellsAtOpacity196)
{
    HeadlessMouseMove(0, -300);
    ResetList(CellList);
    Cell* cell = NextElementOf<Cell>(CellList);
    cell->x = PlayerX;
    cell->y = PlayerY;
    cell->angle = 0;
    cell->turn = 0;
    RunMainLoopPass();
    uint32_t centre =
        Pixel(RoundToInteger(PlayerX - ScreenPosX) + 32, RoundToInteger(PlayerY - ScreenPosY) + 32);
    // 196 / 255 of the red player over 59 / 255 of the green cell, in full light.
    EXPECT_NEAR(Channel(centre, 16), 196, 3) << std::hex << centre;
    EXPECT_NEAR(Channel(centre, 8), 59, 3) << std::hex << centre;
    EXPECT_NEAR(Channel(centre, 0), 0, 3) << std::hex << centre;
}

TEST_F(GameRun, ABubbleAtTheScreensCornerShimmersByOnePixel)
{
    // The player near the top-left corner keeps it in the light; the cursor is moved away.
    ScreenPosX = RoundToInteger(PlayerX) - 100;
    ScreenPosY = RoundToInteger(PlayerY) - 100;
    HeadlessMouseMove(500, 500);
    SingleBubbleAt(static_cast<float>(ScreenPosX), static_cast<float>(ScreenPosY));
    bool seen[2][2] = {};
    for (int pass = 0; pass < 40; ++pass) {
        RunMainLoopPass();
        int32_t left = 10, top = 10;
        for (int32_t y = 0; y < 10; ++y)
            for (int32_t x = 0; x < 10; ++x)
                if (Channel(Pixel(x, y), 16) > 100) {
                    left = std::min(left, x);
                    top = std::min(top, y);
                }
        ASSERT_LE(left, 1) << "pass " << pass;
        ASSERT_LE(top, 1) << "pass " << pass;
        seen[top][left] = true;
    }
    EXPECT_TRUE(seen[0][0] || seen[0][1] || seen[1][0] || seen[1][1]);
    EXPECT_GE(seen[0][0] + seen[0][1] + seen[1][0] + seen[1][1], 2) << "the bubble shimmers";
}

TEST_F(GameRun, TheOverlayShowsItsFirstLineAndTheValueColumnAt924)
{
    HeadlessMouseMove(-300, 300);
    RunMainLoopPass();
    auto litIn = [&](int32_t left, int32_t top, int32_t right, int32_t bottom) {
        int32_t lit = 0;
        for (int32_t y = top; y < bottom; ++y)
            for (int32_t x = left; x < right; ++x)
                lit += Pixel(x, y) == WHITE;
        return lit;
    };
    EXPECT_GT(litIn(10, 10, 300, 40), 50) << "Alpha Built 0802251612";
    EXPECT_GT(litIn(924, 10, 1024, 40), 5) << "the FPS line";
    EXPECT_GT(litIn(924, 340, 1024, 370), 5) << "the fh line";
    EXPECT_EQ(litIn(900, 0, 924, 400), 0) << "nothing left of the column";
}

TEST_F(GameRun, HoldingTheButtonSwimsTowardTheCursorAtRisingSpeed)
{
    // The player's centre is at (512, 384) on the screen; the cursor well to its right.
    CursorAt(1000, 384);
    HeadlessMouseButton(1, 1);
    float previousAngle = PlayerAngle;
    for (int pass = 1; pass <= 16; ++pass) {
        RunMainLoopPass();
        EXPECT_NEAR(PlayerSpeed, std::min(0.3f * pass, 4.0f), 1e-5f) << "pass " << pass;
        EXPECT_GT(PlayerAngle, previousAngle) << "turning clockwise toward the cursor";
        previousAngle = PlayerAngle;
    }
    for (int pass = 0; pass < 30; ++pass)
        RunMainLoopPass();
    EXPECT_NEAR(PlayerAngle, 90, 10) << "settled on the cursor's bearing";
    EXPECT_GT(PlayerX, 4968 + 100);
    EXPECT_NEAR(PlayerY, 4968, 40);
    EXPECT_EQ(ScreenPosY, 4616) << "no scrolling away from the margins";
}

// A finger to the right of the player, and a controller's stick pushed right with A held, steer
// the cell as the mouse does: the same speeds, the same turn, the same swim.
TEST_F(GameRun, AFingerRightOfThePlayerSwimsTowardItAsTheHeldButtonDoes)
{
    MapFinger(1, 1000, 384);
    float previousAngle = PlayerAngle;
    for (int pass = 1; pass <= 16; ++pass) {
        RunMainLoopPass();
        EXPECT_NEAR(PlayerSpeed, std::min(0.3f * pass, 4.0f), 1e-5f) << "pass " << pass;
        EXPECT_GT(PlayerAngle, previousAngle) << "turning clockwise toward the finger";
        previousAngle = PlayerAngle;
    }
    for (int pass = 0; pass < 30; ++pass)
        RunMainLoopPass();
    EXPECT_NEAR(PlayerAngle, 90, 10);
    EXPECT_GT(PlayerX, 4968 + 100);
    EXPECT_EQ(MouseX(), 1000);
    MapFingerUp(1);
    for (int pass = 0; pass < 25; ++pass)
        RunMainLoopPass();
    EXPECT_EQ(PlayerSpeed, 0.0f);
}

TEST_F(GameRun, AStickPushedRightWithAHeldSwimsRightAsTheHeldButtonDoes)
{
    MapPad(0, PadState{1, 0, 0, PAD_SWIM});
    for (int pass = 1; pass <= 16; ++pass) {
        RunMainLoopPass();
        EXPECT_NEAR(PlayerSpeed, std::min(0.3f * pass, 4.0f), 1e-5f) << "pass " << pass;
    }
    for (int pass = 0; pass < 30; ++pass)
        RunMainLoopPass();
    EXPECT_NEAR(PlayerAngle, 90, 10);
    EXPECT_GT(PlayerX, 4968 + 100);
    EXPECT_NEAR(PlayerY, 4968, 40);
    MapPad(0, PadState{});
    for (int pass = 0; pass < 25; ++pass)
        RunMainLoopPass();
    EXPECT_EQ(PlayerSpeed, 0.0f);
}

TEST_F(GameRun, AFastMouseKeepsThePlayerSwimmingAndMovesTheCursorByTheSum)
{
    // A mouse reporting a thousand times a second: about a hundred motions a frame.
    CursorAt(400, 200);
    HeadlessMouseButton(1, 1);
    for (int pass = 1; pass <= 10; ++pass) {
        for (int i = 0; i < 100; ++i)
            HeadlessMouseMove(i % 2, 1 - i % 2);
        RunMainLoopPass();
        EXPECT_EQ(MouseX(), 400 + 50 * pass) << "pass " << pass;
        EXPECT_EQ(MouseY(), 200 + 50 * pass) << "pass " << pass;
        EXPECT_NEAR(PlayerSpeed, 0.3f * pass, 1e-5f) << "pass " << pass;
    }
}

TEST_F(GameRun, CrossingTheWorldsLeftEdgeMovesPlayerAndCameraByItsWidth)
{
    PlayerX = 1;
    PlayerAngle = 270;
    PlayerSpeed = 4;
    ScreenPosX = -479;
    CursorAt(100, 384);
    HeadlessMouseButton(1, 1);
    RunMainLoopPass();
    EXPECT_NEAR(PlayerX, 1 - 4 + 10000, 0.1f);
    EXPECT_EQ(ScreenPosX, -479 + 10000);
    EXPECT_EQ(EdgeX, 1) << "now near the far seam";
}

TEST_F(GameRun, AShyCellFleesFromThePlayerAndTheOthersNeverDo)
{
    CursorAt(512, 700);
    std::vector<Cell*> cells = Cells();
    for (size_t i = 0; i < cells.size(); ++i) {
        cells[i]->x = PlayerX + 100 + 80 * float(i);
        cells[i]->y = PlayerY;
    }
    for (int pass = 0; pass < 30; ++pass) {
        RunMainLoopPass();
        EXPECT_NE(cells[0]->state, Flee);
        EXPECT_NE(cells[1]->state, Flee);
    }
    EXPECT_EQ(cells[2]->type, 2);
    EXPECT_EQ(cells[2]->state, Flee);
    EXPECT_GT(Distance(cells[2]->x, cells[2]->y, PlayerX, PlayerY), 260) << "it swims away";
}

TEST_F(GameRun, PassesAllocateNothing)
{
    CursorAt(900, 200);
    HeadlessMouseButton(1, 1);
    for (int pass = 0; pass < 5; ++pass)
        RunMainLoopPass();
    StartCountingAllocations();
    for (int pass = 0; pass < 120; ++pass)
        RunMainLoopPass();
    EXPECT_EQ(StopCountingAllocations(), 0);
}
