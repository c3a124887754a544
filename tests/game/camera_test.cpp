#include "tests/game/world.h"

#include <gtest/gtest.h>

namespace {
// The camera at (1000, 1000); the player at screen position (sx, sy), heading and speed given,
// the mouse at screen position (mx, my).
void Place(float sx, float sy, float angle, float speed, int32_t mx, int32_t my)
{
    ScreenPosX = ScreenPosY = 1000;
    PlayerX = 1000 + sx;
    PlayerY = 1000 + sy;
    PlayerAngle = angle;
    PlayerSpeed = speed;
    TakeMouseWorldPosition(mx, my);
}
} // namespace

TEST(Camera, ScrollsOnlyAtTheMarginsAndOnlyTowardTheCursor)
{
    SetUpWorld();
    // Right margin: the player's right edge beyond 1024 - 200; left margin: its left edge
    // within 200 pixels of the screen's left; likewise 768 - 200 and 200 vertically.
    struct Case {
        const char* what;
        float sx, sy, angle, speed;
        int32_t mx, my;
        int32_t cameraX, cameraY;
    } cases[] = {
        {"middle", 480, 350, 90, 4, 1000, 380, 1000, 1000},
        {"right margin, cursor right", 761, 350, 90, 4, 1000, 380, 1004, 1000},
        {"right margin, cursor behind", 761, 350, 90, 4, 700, 380, 1000, 1000},
        {"left margin, cursor left", 150, 350, 270, 4, 20, 380, 996, 1000},
        {"left margin, cursor right", 150, 350, 270, 4, 500, 380, 1000, 1000},
        {"bottom margin, cursor below", 480, 505, 180, 4, 510, 760, 1000, 1004},
        {"top margin, cursor above", 480, 150, 0, 4, 510, 10, 1000, 996},
        {"top margin, cursor below", 480, 150, 0, 4, 510, 500, 1000, 1000},
        {"step below half a pixel", 761, 350, 90, 0.4f, 1000, 380, 1000, 1000},
        {"step of 0.6 pixel", 761, 350, 90, 0.6f, 1000, 380, 1001, 1000},
    };
    for (const Case& c : cases) {
        Place(c.sx, c.sy, c.angle, c.speed, c.mx, c.my);
        MovePlayerAndCamera();
        EXPECT_EQ(ScreenPosX, c.cameraX) << c.what;
        EXPECT_EQ(ScreenPosY, c.cameraY) << c.what;
    }
}

TEST(Camera, MouseWorldPositionUsesTheCameraAsItIs)
{
    SetUpWorld();
    ScreenPosX = 4488;
    ScreenPosY = 4616;
    TakeMouseWorldPosition(512, 384);
    EXPECT_EQ(MouseWorldX, 5000);
    EXPECT_EQ(MouseWorldY, 5000);
}

TEST(Seams, CrossingAnEdgeMovesPlayerAndCameraByTheWorldSize)
{
    SetUpWorld();
    struct Case {
        const char* what;
        float x, y, angle;
        float newX, newY;
        int32_t shiftX, shiftY;
    } cases[] = {
        {"left across x = 0", 1, 5000, 270, 9997, 5000, 10000, 0},
        {"up across y = 0", 5000, 2, 0, 5000, 9998, 0, 10000},
        {"right, left edge 64 beyond", 10060, 5000, 90, 10064, 5000, 0, 0},
        {"right, left edge 65 beyond", 10061, 5000, 90, 65, 5000, -10000, 0},
        {"down, top edge 65 beyond", 5000, 10061, 180, 5000, 65, 0, -10000},
    };
    for (const Case& c : cases) {
        PlayerX = c.x;
        PlayerY = c.y;
        PlayerAngle = c.angle;
        PlayerSpeed = 4;
        // The camera keeps the player in the middle, so it does not scroll.
        ScreenPosX = RoundToInteger(c.x) - 480;
        ScreenPosY = RoundToInteger(c.y) - 350;
        int32_t cameraX = ScreenPosX, cameraY = ScreenPosY;
        MouseWorldX = RoundToInteger(c.x);
        MouseWorldY = RoundToInteger(c.y);
        MovePlayerAndCamera();
        EXPECT_NEAR(PlayerX, c.newX, 1e-3f) << c.what;
        EXPECT_NEAR(PlayerY, c.newY, 1e-3f) << c.what;
        EXPECT_EQ(ScreenPosX - cameraX, c.shiftX) << c.what;
        EXPECT_EQ(ScreenPosY - cameraY, c.shiftY) << c.what;
    }
}

TEST(Seams, FlagsMarkAPlayerWithinOneScreenOfASeam)
{
    SetUpWorld();
    struct Case {
        float x, y;
        int32_t edgeX, edgeY;
    } cases[] = {{5000, 5000, 0, 0}, {9000, 5000, 1, 0}, {8976, 5000, 0, 0}, {1023, 5000, -1, 0},
                 {1024, 5000, 0, 0}, {5000, 9233, 0, 1}, {5000, 767, 0, -1}, {10050, -0.5f, 1, -1}};
    for (const Case& c : cases) {
        PlayerX = c.x;
        PlayerY = c.y;
        SetSeamFlags();
        EXPECT_EQ(EdgeX, c.edgeX) << "(" << c.x << ", " << c.y << ")";
        EXPECT_EQ(EdgeY, c.edgeY) << "(" << c.x << ", " << c.y << ")";
    }
}
