// The desktop backend itself, on SDL's dummy display: a controller (SDL's virtual joystick)
// plugged in while the game runs steers it, swims, pauses and ends it, and a touch screen's
// finger steers it as on the page. The game runs pass by pass in the test's thread.
#include "game/data/globals.h"
#include "game/simulation/simulation.h"
#include "game/startup/startup.h"
#include "runtime/core/console.h"
#include "runtime/platform/system.h"
#include "tests/game/game_data.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fcntl.h>

namespace {
// The same game with every test: the real start-up on a small world of one cell, on a 1024 x
// 768 screen, the player in its middle heading up.
class DesktopGame : public testing::Test {
protected:
    void SetUp() override
    {
        SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
        SDL_setenv("SDL_RENDER_DRIVER", "software", 1);
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        WriteGameData({{1, "Name=Still\r\n", {SolidPng(16, 16, 0x00FF00)}}},
                      SolidPng(64, 64, 0xFF0000), SolidPng(8, 8, 0xFFFFFF));
        static const int quiet = SystemOpenFile(SYSTEM_NULL_DEVICE, O_RDWR);
        ClearGlobals();
        OpenConsoleOn(quiet, quiet);
        int status = -1;
        started = StartGame(status);
        ASSERT_TRUE(started) << "status " << status;
        ASSERT_EQ(PlayerAngle, 0.0f);
    }

    void TearDown() override
    {
        if (controller)
            SDL_JoystickClose(controller);
        if (device >= 0)
            SDL_JoystickDetachVirtual(device);
        if (started)
            QuitSequence();
    }

    // Plugs in a controller of the standard layout: its axes and buttons are numbered as SDL's
    // game controller names them. The triggers rest at the bottom of their axes.
    void PlugInController()
    {
        SDL_VirtualJoystickDesc description{};
        description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        description.naxes = SDL_CONTROLLER_AXIS_MAX;
        description.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        description.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        description.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        description.name = "Test controller";
        device = SDL_JoystickAttachVirtualEx(&description);
        ASSERT_GE(device, 0) << SDL_GetError();
        controller = SDL_JoystickOpen(device);
        ASSERT_NE(controller, nullptr) << SDL_GetError();
        Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
        Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    }

    void Axis(SDL_GameControllerAxis axis, int16_t value)
    {
        SDL_JoystickSetVirtualAxis(controller, axis, value);
    }

    void Button(SDL_GameControllerButton button, bool down)
    {
        SDL_JoystickSetVirtualButton(controller, button, down ? 1 : 0);
    }

    void Passes(int32_t count)
    {
        for (int32_t i = 0; i < count; ++i)
            ASSERT_TRUE(RunMainLoopPass());
    }

    bool KeyRead(int32_t code)
    {
        PollKeyboard();
        return KeyDown(code) != 0;
    }

    ScratchFolder folder;
    bool started = false;
    int device = -1;
    SDL_Joystick* controller = nullptr;
};
} // namespace

TEST_F(DesktopGame, AControllerPluggedInWhilePlayingSteersAndSwims)
{
    PlugInController();
    Passes(5);
    float startX = PlayerX, startY = PlayerY;
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    Passes(60);
    EXPECT_NEAR(PlayerAngle, 90.0f, 10.0f) << "the stick points right";
    EXPECT_EQ(PlayerSpeed, 0.0f) << "turning alone does not swim";

    Button(SDL_CONTROLLER_BUTTON_A, true);
    Passes(40);
    EXPECT_GT(PlayerSpeed, 3.0f);
    EXPECT_GT(PlayerX - startX, 80.0f) << "swims right";
    EXPECT_LT(std::fabs(PlayerY - startY), 20.0f);
    Button(SDL_CONTROLLER_BUTTON_A, false);
    Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    Passes(60);
    // The stick aims from the middle of the screen, and the cell now swims right of it: it
    // heads up, leaning toward the middle.
    EXPECT_TRUE(PlayerAngle > 300.0f) << "turned up: " << PlayerAngle;
    EXPECT_GT(PlayerSpeed, 3.0f) << "the trigger swims";

    // Unplugged, it lets go of everything it held.
    SDL_JoystickClose(controller);
    controller = nullptr;
    SDL_JoystickDetachVirtual(device);
    device = -1;
    Passes(30);
    EXPECT_EQ(PlayerSpeed, 0.0f);
}

TEST_F(DesktopGame, StartPausesUntilPressedAgainAndBackEndsTheGame)
{
    PlugInController();
    Passes(2);
    // The game's pause loop waits while P reads as held: the test reads the keys itself.
    Button(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_TRUE(KeyRead(KEY_P));
    Button(SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_TRUE(KeyRead(KEY_P)) << "paused until Start is pressed again";
    Button(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_FALSE(KeyRead(KEY_P));
    Button(SDL_CONTROLLER_BUTTON_START, false);
    ASSERT_FALSE(KeyRead(KEY_P));
    Passes(2);

    Button(SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_FALSE(RunMainLoopPass()) << "Back ends the game as Escape";
    EXPECT_EQ(QuitFlag, 1);
}

TEST_F(DesktopGame, AFingerOnATouchScreenSteersAndSwimsTowardIt)
{
    Passes(2);
    float startX = PlayerX;
    // A finger at nine tenths of the width, level with the player: SDL tells touches in parts
    // of the window, which on the dummy display is the picture.
    SDL_Event touch{};
    touch.type = SDL_FINGERDOWN;
    touch.tfinger.touchId = 1;
    touch.tfinger.fingerId = 5;
    touch.tfinger.x = 0.9f;
    touch.tfinger.y = 0.5f;
    touch.tfinger.pressure = 1.0f;
    ASSERT_EQ(SDL_PushEvent(&touch), 1);
    Passes(90);
    EXPECT_NEAR(PlayerAngle, 90.0f, 10.0f);
    EXPECT_GT(PlayerX - startX, 150.0f);
    touch.type = SDL_FINGERUP;
    ASSERT_EQ(SDL_PushEvent(&touch), 1);
    Passes(30);
    EXPECT_EQ(PlayerSpeed, 0.0f);
    EXPECT_EQ(MouseButton(1), 0);
}
