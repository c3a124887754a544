#include "tests/game/world.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
// Puts the mouse at an offset from the player's centre, in world pixels.
void MouseAtOffset(int32_t dx, int32_t dy)
{
    MouseWorldX = RoundToInteger(PlayerCentreX()) + dx;
    MouseWorldY = RoundToInteger(PlayerCentreY()) + dy;
}
} // namespace

TEST(PlayerSpeed, RisesByTheAccelerationAndIsCutAtTheTop)
{
    SetUpWorld();
    MouseAtOffset(300, 0);
    for (int pass = 1; pass <= 13; ++pass) {
        UpdatePlayerSpeed(true);
        EXPECT_NEAR(PlayerSpeed, 0.3f * pass, 1e-5f) << "pass " << pass;
    }
    for (int pass = 14; pass <= 16; ++pass) {
        UpdatePlayerSpeed(true);
        EXPECT_EQ(PlayerSpeed, 4.0f) << "pass " << pass;
    }
}

TEST(PlayerSpeed, SlowsToExactlyZeroWithTheCursorOnThePlayer)
{
    SetUpWorld();
    struct Case {
        const char* what;
        bool button;
        int32_t dx;
    } cases[] = {
        {"button up", false, 300}, {"cursor 32 pixels off", true, 32}, {"cursor on", true, 0}};
    for (const Case& c : cases) {
        PlayerSpeed = 1.1f;
        MouseAtOffset(c.dx, 0);
        for (int pass = 0; pass < 10; ++pass)
            UpdatePlayerSpeed(c.button);
        EXPECT_EQ(PlayerSpeed, 0.0f) << c.what;
    }
    PlayerSpeed = 0;
    MouseAtOffset(33, 0);
    UpdatePlayerSpeed(true);
    EXPECT_NEAR(PlayerSpeed, 0.3f, 1e-6f) << "33 pixels off the centre drives";
}

TEST(PlayerHeading, TurnsTowardTheSideOfTheCursor)
{
    SetUpWorld();
    // The cursor is straight right (bearing 90), above (0) or below (180) of the centre.
    struct Case {
        float angle, turn;
        int32_t dx, dy;
        int32_t difference;
        float newTurn, newAngle;
    } cases[] = {
        {0, 0, 300, 0, 270, 0.75f, 0.75f},         // right of the nose: clockwise
        {270, 0, 300, 0, 180, 0.75f, 270.75f},     // exactly behind: clockwise
        {90, 0, 300, 0, 360, 0.375f, 90.375f},     // on target: halved
        {90.4f, 0, 300, 0, 0, -0.375f, 90.025f},   // just past, rounds to 0: halved
        {0, 3.75f, 300, 0, 270, 3.75f, 3.75f},     // at the top rate: no more
        {180, 0, 300, 0, 90, -0.75f, 179.25f},     // left of the nose: counter-clockwise
        {359, 2, 0, -300, 359, 1.375f, 0.375f},    // passes 360 and wraps
        {0.5f, -1, 0, -300, 0, -0.875f, 359.625f}, // passes 0 and wraps
    };
    for (const Case& c : cases) {
        PlayerAngle = c.angle;
        PlayerTurn = c.turn;
        MouseAtOffset(c.dx, c.dy);
        UpdatePlayerHeading();
        EXPECT_EQ(TurnDifference, c.difference) << "heading " << c.angle;
        EXPECT_FLOAT_EQ(PlayerTurn, c.newTurn) << "heading " << c.angle;
        EXPECT_NEAR(PlayerAngle, c.newAngle, 1e-4f) << "heading " << c.angle;
    }
}

TEST(PlayerHeading, SwingsTowardACursorToTheRightAndSettlesThere)
{
    SetUpWorld();
    MouseAtOffset(300, 0);
    float largest = 0;
    for (int pass = 0; pass < 60; ++pass) {
        UpdatePlayerHeading();
        largest = std::max(largest, PlayerAngle);
    }
    EXPECT_GT(largest, 90.0f) << "the turn overshoots before it settles";
    for (int pass = 0; pass < 120; ++pass) {
        UpdatePlayerHeading();
        EXPECT_NEAR(PlayerAngle, 90.0f, 5.0f) << "pass " << 60 + pass;
    }
}
