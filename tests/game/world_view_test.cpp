#include "game/rendering/rendering.h"
#include "tests/game/world.h"

#include <gtest/gtest.h>

TEST(WorldView, DrawsBubblesAndCellsOnlyStrictlyWithinTheirMargins)
{
    SetUpWorld();
    ScreenPosX = 1000;
    ScreenPosY = 2000;
    struct Case {
        float x, y;
        bool bubble, cell;
    } cases[] = {
        {1500, 2300, true, true},    {936, 2300, false, true},    {936.1f, 2300, true, true},
        {744, 2300, false, false},   {744.1f, 2300, false, true}, {1500, 2832, false, true},
        {2087.9f, 2300, true, true}, {1500, 3024, false, false},  {2280, 3000, false, false}};
    for (const Case& c : cases) {
        Cell cell = MakeCell(1, c.x, c.y);
        EXPECT_EQ(BubbleNearScreen(cell), c.bubble) << "(" << c.x << ", " << c.y << ")";
        EXPECT_EQ(CellNearScreen(cell), c.cell) << "(" << c.x << ", " << c.y << ")";
    }
}

TEST(WorldView, PlacementCentresPlayerAndScreenInTheWorld)
{
    SetUpWorld();
    PlacePlayerAndCamera();
    EXPECT_EQ(PlayerX, 4968.0f);
    EXPECT_EQ(PlayerY, 4968.0f);
    EXPECT_EQ(ScreenPosX, 4488);
    EXPECT_EQ(ScreenPosY, 4616);
    ScreenWidth = 801;
    PlacePlayerAndCamera();
    EXPECT_EQ(ScreenPosX, 4599) << "the quotient is truncated";
}

TEST(Eyes, SingleEyeLooksTowardThePlayer)
{
    SetUpWorld();
    ScreenPosX = ScreenPosY = 1000;
    Cell cell = MakeCell(6, 1000, 1000);
    EyePlacement eyes[2];
    ASSERT_EQ(CellEyes(cell, 0, eyes), 1);
    EXPECT_EQ(eyes[0].dot, 6);
    // The eye sits at (1031, 1013); the player's centre straight right of it.
    PlayerX = 1531 - 32;
    PlayerY = 1013 - 32;
    ScreenPoint pupil = PupilPosition(cell, eyes[0]);
    EXPECT_EQ(eyeAngle, 90);
    EXPECT_EQ(pupil.x, 1031 + 1 - 1000) << "pushed by 64 / 51.2 = 1.25, rounded";
    EXPECT_EQ(pupil.y, 1013 - 1000 - 3);
    // Straight below: the pupil moves down by 1.25 rounded.
    PlayerX = 1031 - 32;
    PlayerY = 1513 - 32;
    pupil = PupilPosition(cell, eyes[0]);
    EXPECT_EQ(eyeAngle, 180);
    EXPECT_EQ(pupil.x, 31);
    EXPECT_EQ(pupil.y, 13 + 1 - 3);
}

TEST(Eyes, TypeFourteenKeepsTheRadiusOfItsLastShapedImage)
{
    SetUpWorld();
    EyePlacement eyes[2];
    Cell first = MakeCell(14, 1000, 1000);
    EXPECT_EQ(CellEyes(first, 4, eyes), 2);
    EXPECT_EQ(eyes[0].radius, 0) << "no shaped image was shown yet";
    CellEyes(first, 0, eyes);
    EXPECT_EQ(eyes[0].radius, 24);
    EXPECT_EQ(eyes[1].radius, -24);
    Cell second = MakeCell(14, 3000, 1000);
    second.size = 100;
    CellEyes(second, 4, eyes);
    EXPECT_EQ(eyes[0].radius, 24) << "image 4 takes the radius of the last cell's image 0";
    CellEyes(second, 1, eyes);
    EXPECT_EQ(eyes[0].radius, 40);
    // The two eyes mirror each other through the centre: heading 0 puts them above and below.
    PlayerX = PlayerY = 8000;
    ScreenPosX = ScreenPosY = 0;
    CellEyes(first, 0, eyes);
    Cell facing = first;
    facing.size = 64;
    EyePlacement still[2] = {eyes[0], eyes[1]};
    still[0].divisor = still[1].divisor = 1e9f;
    EXPECT_EQ(PupilPosition(facing, still[0]).y, 1000 + 32 - 24 - 1 - 3);
    EXPECT_EQ(PupilPosition(facing, still[1]).y, 1000 + 32 + 24 - 1 - 3);
    EXPECT_EQ(PupilPosition(facing, still[0]).x, 1031);
}

TEST(Eyes, OnlyTheFourEyedTypesHaveEyes)
{
    SetUpWorld();
    EyePlacement eyes[2];
    struct Case {
        int8_t type;
        int32_t count;
    } cases[] = {{1, 0}, {2, 0}, {3, 1}, {4, 0}, {6, 1}, {13, 2}, {14, 2}, {15, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(CellEyes(MakeCell(c.type, 0, 0), 0, eyes), c.count) << "type " << int{c.type};
    Cell big = MakeCell(3, 0, 0);
    big.size = 100;
    CellEyes(big, 0, eyes);
    EXPECT_EQ(eyes[0].dot, 3) << "the pupil of type 3 grows with the size";
}
