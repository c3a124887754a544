#include "tests/game/world.h"

#include <gtest/gtest.h>

TEST(BeginCellPass, AppliesTheTurnAndDropsTheExcessAtTheEnds)
{
    SetUpWorld();
    struct Case {
        float angle, turn, result;
    } cases[] = {{359, 1.5f, 0},      {0.5f, -1, 360}, {100, 2.5f, 102.5f},
                 {359.5f, 0.5f, 360}, {360, 0, 360},   {359, 3, 0}};
    for (const Case& c : cases) {
        Cell cell = MakeCell(1, 5000, 5000);
        cell.angle = c.angle;
        cell.turn = c.turn;
        BeginCellPass(cell);
        EXPECT_EQ(cell.angle, c.result) << c.angle << " turned by " << c.turn;
    }
}

TEST(BeginCellPass, TimerCountsDownAndWrapsAtItsWidth)
{
    SetUpWorld();
    Cell cell = MakeCell(1, 5000, 5000);
    BeginCellPass(cell);
    EXPECT_EQ(cell.timer, -1);
    cell.timer = -32768;
    BeginCellPass(cell);
    EXPECT_EQ(cell.timer, 32767);
}

TEST(BeginCellPass, RehomesCellsAcrossTheSeamNearThePlayer)
{
    SetUpWorld();
    Cell cell = MakeCell(1, 100, 200.5f);
    EdgeX = 1;
    BeginCellPass(cell);
    EXPECT_EQ(cell.x, 10100);
    EXPECT_EQ(cell.y, 200.5f) << "EdgeY is 0";
    EXPECT_EQ(x_b, 10100);
    EXPECT_EQ(y_b, 200) << "halves round to even";
    BeginCellPass(cell);
    EXPECT_EQ(cell.x, 10100) << "the move is permanent, not repeated";
    EdgeX = 0;
    BeginCellPass(cell);
    EXPECT_EQ(cell.x, 10100) << "no flag, no move";
    EdgeX = -1;
    BeginCellPass(cell);
    EXPECT_EQ(cell.x, 100);

    struct Case {
        int32_t edgeX, edgeY;
        float x, y, newX, newY;
    } cases[] = {{0, 1, 5000, 767, 5000, 10767},  {0, 1, 5000, 768, 5000, 768},
                 {0, -1, 5000, 9233, 5000, -767}, {1, 0, 1024, 50, 1024, 50},
                 {1, 1, 10, 10, 10010, 10010},    {-1, -1, 9990, 9990, -10, -10}};
    for (const Case& c : cases) {
        EdgeX = c.edgeX;
        EdgeY = c.edgeY;
        Cell moved = MakeCell(1, c.x, c.y);
        BeginCellPass(moved);
        EXPECT_EQ(moved.x, c.newX) << "(" << c.x << ", " << c.y << ")";
        EXPECT_EQ(moved.y, c.newY) << "(" << c.x << ", " << c.y << ")";
    }
}

TEST(SteerToward, TurnsByTheSideAndSlowsNearTheTarget)
{
    SetUpWorld();
    struct Case {
        float angle, target;
        int32_t difference;
        float turn;
    } cases[] = {
        {90, 90, 360, 0},                    // straight ahead
        {90.4f, 90, 0, 0},                   // just past, rounds to 0
        {90, 91, 359, 0},                    // within 2 degrees clockwise
        {90, 92, 358, 1},                    // a third of the rate
        {90, 93, 357, 1},  {90, 96, 354, 3}, // the full rate
        {91, 90, 1, 0},                      // within 2 degrees counter-clockwise
        {92, 90, 2, -1},   {95, 90, 5, -3},   {90, 270, 180, 3}, // straight behind: clockwise
        {270, 90, 180, 3}, {10, 350, 20, -3},                    // across 0
        {350, 10, 340, 3},
    };
    for (const Case& c : cases) {
        Cell cell = MakeCell(1, 5000, 5000);
        cell.angle = c.angle;
        cell.target_angle = c.target;
        cell.turn = 7;
        SteerToward(cell, 3);
        EXPECT_EQ(TurnDifference, c.difference) << c.angle << " toward " << c.target;
        EXPECT_FLOAT_EQ(cell.turn, c.turn) << c.angle << " toward " << c.target;
    }
}

TEST(CellMotion, RampRaisesOnlyBelowTheTopAndMoveStepsAlongTheHeading)
{
    SetUpWorld();
    Cell cell = MakeCell(1, 5000, 5000);
    cell.accelaration = 0.2f;
    cell.speed = 1.9f;
    RampSpeed(cell, 2);
    EXPECT_FLOAT_EQ(cell.speed, 2.1f) << "no clamp at the top";
    RampSpeed(cell, 2);
    EXPECT_FLOAT_EQ(cell.speed, 2.1f) << "a faster cell keeps its speed";

    cell.speed = 2;
    MoveAlong(cell, 90);
    EXPECT_NEAR(cell.x, 5002, 1e-3f);
    EXPECT_NEAR(cell.y, 5000, 1e-3f);
    cell.speed = -1;
    MoveAlong(cell, 0);
    EXPECT_NEAR(cell.y, 5001, 1e-3f) << "a negative speed steps backward";
    cell.speed = 1;
    cell.target_angle = 180.6f;
    MoveAlongTarget(cell);
    EXPECT_NEAR(cell.y, 5002, 1e-3f);
    EXPECT_EQ(zAngle, 181);
}

TEST(Animation, WrapsThePhaseAndPicksTheImage)
{
    SetUpWorld();
    CellTypes[1].FrameCount = 3;
    CellTypes[1].AniType = 0;
    CellTypes[2].FrameCount = 3;
    CellTypes[2].AniType = 1;
    CellTypes[3].FrameCount = 1;
    CellTypes[3].AniType = 1;
    struct Case {
        int8_t type;
        float frame, wrapped;
        int32_t image;
    } cases[] =
        {
            {1, 0, 0, 0},         {1, 2.9f, 2.9f, 2}, {1, 3, 3, 1}, {1, 4, 4, 0},
            {1, 4.01f, 0, 0},     {2, 2.5f, 2.5f, 2}, {2, 3, 3, 1}, {2, 3.01f, 0, 0},
            {3, 1, 1, 0}, // one image, cycling: the phase 1 would name image -1
            {3, -0.5f, -0.5f, 0},
        };
    for (const Case& c : cases) {
        Cell cell = MakeCell(c.type, 5000, 5000);
        cell.frame = c.frame;
        WrapAnimation(cell);
        EXPECT_FLOAT_EQ(cell.frame, c.wrapped) << "type " << int{c.type} << " frame " << c.frame;
        EXPECT_EQ(ImageIndex(cell), c.image) << "type " << int{c.type} << " frame " << c.frame;
        EXPECT_EQ(FrameIndex, c.image);
    }
}

TEST(Animation, BackAndForthWithOneImageAlwaysShowsTheFirst)
{
    SetUpWorld();
    CellTypes[1].FrameCount = 1;
    Cell cell = MakeCell(1, 5000, 5000);
    cell.idle_anispeed = 0.3f;
    for (int pass = 0; pass < 10; ++pass) {
        BehaviourStep(cell);
        WrapAnimation(cell);
        EXPECT_EQ(ImageIndex(cell), 0) << "pass " << pass;
    }
}
