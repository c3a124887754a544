#include "runtime/platform/headless.h"
#include "runtime/platform/platform.h"
#include "runtime/runtime.h"

#include <gtest/gtest.h>

namespace {
class Mouse : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(InitSprite(), 0);
        ASSERT_NE(OpenScreen(100, 50, 32, "mouse"), 0);
        ASSERT_EQ(InitMouse(), 1);
        SetMousePosition(0, 0);
        ASSERT_EQ(PollMouse(), 1) << "the first poll takes the mouse";
    }
    void TearDown() override
    {
        for (int32_t button = 1; button <= 3; ++button)
            HeadlessMouseButton(button, 0);
        PollMouse();
        ReleaseMouse(0);
        ReleaseMouseDevice();
        EndSprite();
        ReleaseKeyboard();
    }
};
} // namespace

TEST_F(Mouse, PositionSumsTheMotionAndStaysOnTheScreen)
{
    struct Step {
        int32_t dx, dy, x, y;
    } steps[] = {{10, 5, 10, 5}, {-500, 0, 0, 5},      {99, 44, 99, 49},
                 {1, 1, 99, 49}, {1000, -1000, 99, 0}, {-99, 49, 0, 49}};
    for (const Step& s : steps) {
        HeadlessMouseMove(s.dx, s.dy);
        ASSERT_EQ(PollMouse(), 1);
        EXPECT_EQ(MouseX(), s.x) << "after " << s.dx << "," << s.dy;
        EXPECT_EQ(MouseY(), s.y) << "after " << s.dx << "," << s.dy;
        EXPECT_EQ(MouseDeltaX(), s.dx);
        EXPECT_EQ(MouseDeltaY(), s.dy);
    }
    HeadlessMouseMove(3, 0);
    HeadlessMouseMove(4, -2);
    ASSERT_EQ(PollMouse(), 1);
    EXPECT_EQ(MouseDeltaX(), 7) << "events of one poll are summed";
    EXPECT_EQ(MouseX(), 7);
    ASSERT_EQ(PollMouse(), 1);
    EXPECT_EQ(MouseDeltaX(), 0);
}

TEST_F(Mouse, SetPositionHoldsUntilTheNextSuccessfulPollClampsIt)
{
    SetMousePosition(5000, 5000);
    EXPECT_EQ(MouseX(), 5000);
    ASSERT_EQ(PollMouse(), 1);
    EXPECT_EQ(MouseX(), 99);
    EXPECT_EQ(MouseY(), 49);
    SetMousePosition(-2147483647 - 1, 2147483647);
    HeadlessMouseMove(-5, 5);
    ASSERT_EQ(PollMouse(), 1);
    EXPECT_EQ(MouseX(), 0);
    EXPECT_EQ(MouseY(), 49);
}

TEST_F(Mouse, MoreThan24EventsOverflowTheBuffer)
{
    HeadlessMouseButton(1, 1);
    HeadlessMouseButton(2, 1);
    HeadlessMouseButton(3, 1);
    ASSERT_EQ(PollMouse(), 1);
    // Motion between wheel events cannot merge: each pair is two events.
    for (int32_t i = 0; i < 12; ++i) {
        HeadlessMouseMove(1, 0);
        HeadlessMouseWheel(0);
    }
    ASSERT_EQ(PollMouse(), 1) << "24 events fit";
    EXPECT_EQ(MouseX(), 12);
    for (int32_t i = 0; i < 12; ++i) {
        HeadlessMouseMove(1, 0);
        HeadlessMouseWheel(0);
    }
    HeadlessMouseMove(1, 0);
    EXPECT_EQ(PollMouse(), 0);
    EXPECT_EQ(MouseX(), 12);
    EXPECT_EQ(MouseDeltaX(), 0);
    EXPECT_EQ(MouseButton(1), 0);
    EXPECT_EQ(MouseButton(2), 0);
    EXPECT_EQ(MouseButton(3), 1) << "the middle button keeps its state";
    HeadlessMouseMove(2, 0);
    ASSERT_EQ(PollMouse(), 1) << "the overflowed events are gone";
    EXPECT_EQ(MouseX(), 14);
}

TEST_F(Mouse, AFastMouseNeverOverflowsTheBuffer)
{
    // Hundreds of motions merge into one x and one y event between two button or wheel
    // events; the events keep their order and the sums stay exact.
    for (int32_t i = 0; i < 300; ++i)
        HeadlessMouseMove(1, i % 2 ? 1 : -1);
    HeadlessMouseButton(1, 1);
    for (int32_t i = 0; i < 300; ++i)
        HeadlessMouseMove(-1, 2);
    HeadlessMouseWheel(120);
    HeadlessMouseMove(2147483647, 0);
    HeadlessMouseMove(2147483647, 0);
    PlatformMouseEvent events[24];
    ASSERT_EQ(PlatformReadMouse(events, 24, PlatformCursor{}), 7);
    const PlatformMouseEvent expected[] = {
        {MOUSE_OFFSET_X, 300},  {MOUSE_OFFSET_Y, 0},   {MouseButtonOffset(1), MOUSE_BUTTON_DOWN},
        {MOUSE_OFFSET_X, -300}, {MOUSE_OFFSET_Y, 600}, {MOUSE_OFFSET_WHEEL, 120},
        {MOUSE_OFFSET_X, -2}};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(events[i].offset, expected[i].offset) << "event " << i;
        EXPECT_EQ(events[i].value, expected[i].value) << "event " << i;
    }
    for (int32_t i = 0; i < 100; ++i)
        HeadlessMouseMove(1, 0);
    HeadlessMouseButton(1, 0);
    ASSERT_EQ(PollMouse(), 1);
    EXPECT_EQ(MouseDeltaX(), 100);
    EXPECT_EQ(MouseButton(1), 0);
}

TEST_F(Mouse, ButtonsFollowTheirEventsAndTheFourthIsIgnored)
{
    HeadlessMouseButton(1, 1);
    HeadlessMouseButton(4, 1);
    ASSERT_EQ(PollMouse(), 1);
    EXPECT_EQ(MouseButton(1), 1);
    EXPECT_EQ(MouseButton(2), 0);
    EXPECT_EQ(MouseButton(4), 0);
    EXPECT_EQ(MouseButton(0), 0);
    HeadlessMouseButton(2, 1);
    HeadlessMouseButton(1, 0);
    ASSERT_EQ(PollMouse(), 1);
    EXPECT_EQ(MouseButton(1), 0);
    EXPECT_EQ(MouseButton(2), 1);
    ASSERT_EQ(PollMouse(), 1);
    EXPECT_EQ(MouseButton(2), 1) << "a held button stays down without new events";
}

TEST_F(Mouse, WheelCountsWholeNotchesTowardZero)
{
    struct Case {
        int32_t units, notches;
    } cases[] = {{120, 1}, {60, 0}, {-60, 0}, {-240, -2}, {359, 2}, {0, 0}};
    for (const Case& c : cases) {
        if (c.units)
            HeadlessMouseWheel(c.units);
        ASSERT_EQ(PollMouse(), 1);
        EXPECT_EQ(MouseWheel(), c.notches) << c.units << " units";
    }
}

TEST_F(Mouse, InactiveScreenKeepsThePositionAndTheMouseReturnsWithTheFocus)
{
    HeadlessMouseMove(10, 10);
    ASSERT_EQ(PollMouse(), 1);
    HeadlessFocus(0);
    FlipBuffers();
    HeadlessMouseMove(5, 5);
    HeadlessMouseWheel(120);
    EXPECT_EQ(PollMouse(), 0);
    EXPECT_EQ(MouseX(), 10);
    EXPECT_EQ(MouseY(), 10);
    EXPECT_EQ(MouseDeltaX(), 0);
    EXPECT_EQ(MouseWheel(), 0);

    HeadlessFocus(1);
    FlipBuffers();
    EXPECT_EQ(PollMouse(), 0) << "the mouse was lost with the focus: this poll takes it again";
    HeadlessMouseMove(1, 0);
    ASSERT_EQ(PollMouse(), 1);
    EXPECT_EQ(MouseX(), 11) << "motion while in the background does not count";
}

TEST_F(Mouse, ReleasedMouseIsParkedUntilTakenBack)
{
    ReleaseMouse(1);
    HeadlessMouseMove(7, 0);
    EXPECT_EQ(PollMouse(), 0);
    EXPECT_EQ(MouseX(), 0);
    ReleaseMouse(0);
    HeadlessMouseMove(2, 0);
    ASSERT_EQ(PollMouse(), 1) << "this poll takes the mouse again";
    EXPECT_EQ(MouseX(), 0) << "motion while the mouse was given back does not count";
    HeadlessMouseMove(3, 0);
    ASSERT_EQ(PollMouse(), 1);
    EXPECT_EQ(MouseX(), 3);
}

TEST_F(Mouse, ADeviceMadeAnewStartsAsTheFirstDidWithNoButtonHeld)
{
    HeadlessMouseMove(30, 20);
    HeadlessMouseButton(1, 1);
    ASSERT_EQ(PollMouse(), 1);
    ASSERT_EQ(MouseButton(1), 1);
    // The button is let go while there is no device to see it.
    ReleaseMouseDevice();
    HeadlessMouseButton(1, 0);
    ASSERT_EQ(InitMouse(), 1);
    ASSERT_EQ(PollMouse(), 1);
    EXPECT_EQ(MouseButton(1), 0);
    EXPECT_EQ(MouseX(), 0);
    EXPECT_EQ(MouseY(), 0);
    HeadlessMouseMove(5, 500);
    ASSERT_EQ(PollMouse(), 1);
    EXPECT_EQ(MouseY(), 49) << "still kept on the screen the device was made on";
}

TEST(MouseDevice, PollWithoutDeviceIsZero)
{
    EXPECT_EQ(PollMouse(), 0);
    ReleaseMouseDevice();
}
