// Fingers, absolute pointers and controllers reach the runtime as the mouse and the keys the
// game reads: the cursor where the device says, the left button, P and Escape.
#include "runtime/platform/headless.h"
#include "runtime/platform/input_mapping.h"
#include "runtime/platform/key_codes.h"
#include "runtime/runtime.h"

#include <gtest/gtest.h>

namespace {
constexpr int32_t WIDTH = 200, HEIGHT = 100;

class InputMapping : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(InitSprite(), 0);
        ASSERT_NE(OpenScreen(WIDTH, HEIGHT, 32, "mapping"), 0);
        ASSERT_EQ(InitMouse(), 1);
        HeadlessMouseMove(-1000, -1000);
        ASSERT_EQ(PollMouse(), 1) << "the first poll takes the mouse";
        ASSERT_EQ(MouseX(), 0);
    }

    void TearDown() override
    {
        MapFingersGone();
        for (int32_t slot = 0; slot < PADS; ++slot)
            MapPad(slot, PadState{});
        MapEndKey(0);
        HeadlessMouseButton(1, 0);
        PollMouse();
        ReleaseMouseDevice();
        EndSprite();
        ReleaseKeyboard();
    }

    // The mouse after one poll: x, y and the left button.
    std::tuple<int32_t, int32_t, int32_t> Polled()
    {
        EXPECT_EQ(PollMouse(), 1);
        return {MouseX(), MouseY(), MouseButton(1)};
    }

    bool KeyAfterPoll(int32_t code)
    {
        EXPECT_EQ(PollKeyboard(), 1);
        return KeyDown(code) != 0;
    }
};

using Mouse = std::tuple<int32_t, int32_t, int32_t>;
} // namespace

TEST_F(InputMapping, AFingerPutsTheCursorUnderItAndHoldsTheLeftButtonUntilLifted)
{
    // The mouse's own motion in the same poll changes nothing while the finger is down; a
    // finger beside the picture takes the cursor to the nearest edge.
    struct Case {
        int32_t x, y, mouseDx, mouseDy, cursorX, cursorY;
    } cases[] = {{150, 40, 0, 0, 150, 40}, {0, 0, 37, -12, 0, 0},    {199, 99, -500, 500, 199, 99},
                 {-30, 500, 0, 0, 0, 99},  {1000, -5, 3, 3, 199, 0}, {120, 60, 0, 0, 120, 60}};
    for (const Case& c : cases) {
        MapFinger(7, c.x, c.y);
        HeadlessMouseMove(c.mouseDx, c.mouseDy);
        EXPECT_EQ(Polled(), Mouse(c.cursorX, c.cursorY, 1)) << "finger at " << c.x << "," << c.y;
        EXPECT_EQ(Polled(), Mouse(c.cursorX, c.cursorY, 1)) << "held at " << c.x << "," << c.y;
    }
    MapFingerUp(7);
    EXPECT_EQ(Polled(), Mouse(120, 60, 0)) << "lifted: the cursor stays, the button is let go";
    HeadlessMouseMove(5, -5);
    EXPECT_EQ(Polled(), Mouse(125, 55, 0)) << "the mouse moves it from there";
}

TEST_F(InputMapping, TheFingerPutDownLastSteersAndTheButtonWaitsForTheLastToBeLifted)
{
    MapFinger(1, 10, 10);
    MapFinger(2, 50, 60);
    EXPECT_EQ(Polled(), Mouse(50, 60, 1));
    MapFinger(1, 20, 20);
    EXPECT_EQ(Polled(), Mouse(50, 60, 1)) << "the first finger moving does not steer";
    MapFingerUp(2);
    EXPECT_EQ(Polled(), Mouse(20, 20, 1)) << "the remaining finger steers";
    MapFingerUp(1);
    EXPECT_EQ(Polled(), Mouse(20, 20, 0));
}

TEST_F(InputMapping, AnAbsolutePointerMovesTheCursorOnceAndLeavesTheButtonsToTheMouse)
{
    MapPointerAt(120, 30);
    EXPECT_EQ(Polled(), Mouse(120, 30, 0));
    HeadlessMouseButton(1, 1);
    HeadlessMouseMove(5, 5);
    EXPECT_EQ(Polled(), Mouse(125, 35, 1)) << "relative motion after it counts from there";
    MapPointerAt(-3, 400);
    EXPECT_EQ(Polled(), Mouse(0, 99, 1));
}

TEST_F(InputMapping, TheStickPointsTheCursorFromTheMiddleTowardTheEdgeAndAtRestLeavesIt)
{
    // The middle is (100, 50); the cursor keeps 8 pixels from the edge. Only the direction
    // counts beyond the dead zone of 0.3.
    struct Case {
        float x, y;
        int32_t cursorX, cursorY;
    } cases[] = {{1, 0, 192, 50},     {-1, 0, 8, 50},           {0, -1, 100, 8},
                 {0, 0.5f, 100, 92},  {0.7f, 0.7f, 142, 92},    {-0.9f, -0.3f, 8, 19},
                 {0.2f, 0.1f, 8, 19}, {0.32f, -0.02f, 192, 44}, {0, 0, 192, 44}};
    for (const Case& c : cases) {
        MapPad(0, PadState{c.x, c.y, 0, 0});
        EXPECT_EQ(Polled(), Mouse(c.cursorX, c.cursorY, 0)) << "stick at " << c.x << "," << c.y;
    }
    HeadlessMouseMove(-40, 10);
    EXPECT_EQ(Polled(), Mouse(152, 54, 0)) << "the mouse takes its turn while the stick rests";
}

TEST_F(InputMapping, TheStickPushedLastAims)
{
    MapPad(0, PadState{1, 0, 0, 0});
    MapPad(1, PadState{-1, 0, 0, 0});
    EXPECT_EQ(Polled(), Mouse(8, 50, 0));
    MapPad(1, PadState{});
    EXPECT_EQ(Polled(), Mouse(192, 50, 0)) << "the other, still pushed, aims again";
}

TEST_F(InputMapping, ATriggerOrTheAButtonSwimsAndTheMouseTakesItsTurn)
{
    struct Case {
        float trigger;
        int32_t buttons, swims;
    } cases[] = {{0.8f, 0, 1}, {0.2f, 0, 0}, {0, PAD_SWIM, 1}, {0, PAD_PAUSE, 0}, {0, 0, 0}};
    for (const Case& c : cases) {
        MapPad(2, PadState{0, 0, c.trigger, c.buttons});
        EXPECT_EQ(std::get<2>(Polled()), c.swims) << c.trigger << " " << c.buttons;
        if (c.buttons & PAD_PAUSE)
            MapTogglePause();
    }
    MapPad(2, PadState{0, 0, 1, 0});
    HeadlessMouseButton(1, 1);
    EXPECT_EQ(std::get<2>(Polled()), 1);
    MapPad(2, PadState{});
    EXPECT_EQ(std::get<2>(Polled()), 1) << "the mouse still holds its button";
    HeadlessMouseButton(1, 0);
    MapPad(2, PadState{0, 0, 0, PAD_SWIM});
    EXPECT_EQ(std::get<2>(Polled()), 1) << "the mouse let go while the controller swims";
    MapPad(2, PadState{});
    EXPECT_EQ(std::get<2>(Polled()), 0);
}

TEST_F(InputMapping, StartPausesUntilPressedAgainAndBackEndsEvenWhenPressedBetweenTwoReads)
{
    EXPECT_FALSE(KeyAfterPoll(KEY_P));
    MapPad(0, PadState{0, 0, 0, PAD_PAUSE});
    MapPad(0, PadState{});
    EXPECT_TRUE(KeyAfterPoll(KEY_P));
    EXPECT_TRUE(KeyAfterPoll(KEY_P)) << "paused until Start is pressed again";
    EXPECT_EQ(MapPaused(), 1);
    MapPad(0, PadState{0, 0, 0, PAD_PAUSE});
    EXPECT_FALSE(KeyAfterPoll(KEY_P));
    MapTogglePause();
    EXPECT_TRUE(KeyAfterPoll(KEY_P)) << "the page's button pauses as Start does";
    MapTogglePause();
    EXPECT_FALSE(KeyAfterPoll(KEY_P));

    MapPad(0, PadState{0, 0, 0, PAD_END});
    EXPECT_TRUE(KeyAfterPoll(KEY_ESCAPE));
    EXPECT_TRUE(KeyAfterPoll(KEY_ESCAPE)) << "held";
    MapPad(0, PadState{});
    EXPECT_FALSE(KeyAfterPoll(KEY_ESCAPE));
    MapPad(0, PadState{0, 0, 0, PAD_END});
    MapPad(0, PadState{});
    EXPECT_TRUE(KeyAfterPoll(KEY_ESCAPE)) << "a quick press reads once";
    EXPECT_FALSE(KeyAfterPoll(KEY_ESCAPE));
    MapEndKey(1);
    MapEndKey(0);
    EXPECT_TRUE(KeyAfterPoll(KEY_ESCAPE)) << "the page's end button";
    EXPECT_FALSE(KeyAfterPoll(KEY_ESCAPE));
}

TEST_F(InputMapping, AButtonLostWithTheMouseIsSettledWhenTheMouseComesBack)
{
    MapFinger(3, 40, 40);
    EXPECT_EQ(Polled(), Mouse(40, 40, 1));
    // The focus goes: the system forgets the finger, and the release cannot be queued.
    HeadlessFocus(0);
    FlipBuffers();
    EXPECT_EQ(PollMouse(), 0);
    HeadlessFocus(1);
    FlipBuffers();
    EXPECT_EQ(PollMouse(), 0) << "this poll takes the mouse again";
    EXPECT_EQ(Polled(), Mouse(40, 40, 0));

    // A buffer overflow clears the button; the finger still down presses it again.
    MapFinger(3, 60, 30);
    EXPECT_EQ(Polled(), Mouse(60, 30, 1));
    for (int32_t i = 0; i < 30; ++i)
        HeadlessMouseWheel(0);
    EXPECT_EQ(PollMouse(), 0);
    EXPECT_EQ(MouseButton(1), 0);
    EXPECT_EQ(Polled(), Mouse(60, 30, 1));
}

TEST_F(InputMapping, ANewScreenStartsWithNothingHeldAndNoPause)
{
    MapFinger(4, 30, 30);
    MapTogglePause();
    EXPECT_EQ(Polled(), Mouse(30, 30, 1));
    ASSERT_NE(OpenScreen(WIDTH, HEIGHT, 32, "again"), 0);
    EXPECT_EQ(MapPaused(), 0);
    EXPECT_FALSE(KeyAfterPoll(KEY_P));
    PollMouse();
    HeadlessMouseMove(1, 1);
    EXPECT_EQ(Polled(), Mouse(31, 31, 0)) << "no finger aims, and the last one's button is let go";
}
