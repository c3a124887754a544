#include "tests/game/world.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
// Type 1 flees, 2 chases, 3 ignores the player; the fronts are given per test.
void SetReactions(int8_t front)
{
    CellTypes[1].Type = 1;
    CellTypes[2].Type = 2;
    CellTypes[3].Type = 0;
    for (int t = 1; t <= 3; ++t) {
        CellTypes[t].Front = front;
        CellTypes[t].FrameCount = 4;
    }
}

// A cell of the type whose centre lies (dx, dy) from the player's centre, perceiving within
// 200 pixels, with rates that tell the states apart.
Cell CellNearPlayer(int8_t type, float dx, float dy)
{
    Cell cell = MakeCell(type, PlayerCentreX() + dx - 32, PlayerCentreY() + dy - 32);
    cell.mentionradius = 200;
    cell.angle_s = 0.5f;
    cell.norm_angle_s = 1;
    cell.flew_angle_s = 2;
    cell.idle_anispeed = 0.01f;
    cell.flew_anispeed = 0.1f;
    cell.norm_movespeed = 1;
    cell.flew_movespeed = 3;
    cell.accelaration = 0.25f;
    return cell;
}

// One pass of a cell that is drawn: motion, behaviour, animation, perception.
void Pass(Cell& cell)
{
    BeginCellPass(cell);
    BehaviourStep(cell);
    WrapAnimation(cell);
    PerceiveAndChoose(cell);
}
} // namespace

TEST(Perception, ThePlayerInReachMakesFleersFleeAndChasersChase)
{
    SetUpWorld();
    SetReactions(1);
    struct Case {
        int8_t type;
        CellState state;
    } cases[] = {{1, Flee}, {2, Chase}};
    for (const Case& c : cases) {
        Cell cell = CellNearPlayer(c.type, 199, 0);
        cell.timer = 50;
        PerceiveAndChoose(cell);
        EXPECT_EQ(cell.state, c.state) << "type " << int{c.type};
        EXPECT_GE(cell.timer, 240);
        EXPECT_LE(cell.timer, 360);
        Cell far = CellNearPlayer(c.type, 200, 0);
        far.timer = 50;
        PerceiveAndChoose(far);
        EXPECT_EQ(far.state, Idle) << "200 pixels is out of reach";
        EXPECT_EQ(far.timer, 50);
    }
}

TEST(Perception, ACellThatIgnoresThePlayerNeverFleesOrChases)
{
    SetUpWorld();
    SetReactions(1);
    Cell cell = CellNearPlayer(3, 10, 10);
    for (int pass = 0; pass < 500; ++pass) {
        Pass(cell);
        ASSERT_NE(cell.state, Flee) << "pass " << pass;
        ASSERT_NE(cell.state, Chase) << "pass " << pass;
    }
}

TEST(Perception, AnUndisturbedCellWithAnExpiredTimerPicksIdleOrWander)
{
    SetUpWorld();
    SetReactions(1);
    int wander = 0, idle = 0;
    for (int i = 0; i < 300; ++i) {
        Cell cell = CellNearPlayer(1, 1000, 0);
        cell.state = Flee;
        cell.timer = 0;
        PerceiveAndChoose(cell);
        ASSERT_GE(cell.timer, 60);
        ASSERT_LE(cell.timer, 300);
        if (cell.state == Wander) {
            ++wander;
            EXPECT_GE(cell.target_angle, 0);
            EXPECT_LE(cell.target_angle, 360);
        } else {
            ASSERT_EQ(cell.state, Idle);
            ASSERT_TRUE(cell.spin_dir == 1 || cell.spin_dir == -1);
            ++idle;
        }
    }
    // One in three wanders.
    EXPECT_GT(wander, 60);
    EXPECT_GT(idle, 2 * wander - 60);

    Cell waiting = CellNearPlayer(1, 1000, 0);
    waiting.state = Chase;
    waiting.timer = 1;
    PerceiveAndChoose(waiting);
    EXPECT_EQ(waiting.state, Chase) << "the timer has not expired";
}

TEST(Behaviour, AnIdleCellSpinsInPlaceAndKeepsItsSpeed)
{
    SetUpWorld();
    SetReactions(1);
    Cell cell = CellNearPlayer(3, 1000, 0);
    cell.spin_dir = -1;
    cell.speed = 2.5f;
    float x = cell.x, y = cell.y;
    BehaviourStep(cell);
    EXPECT_EQ(cell.turn, -0.5f);
    EXPECT_FLOAT_EQ(cell.frame, 0.01f);
    EXPECT_EQ(cell.x, x);
    EXPECT_EQ(cell.y, y);
    EXPECT_EQ(cell.speed, 2.5f);
}

TEST(Behaviour, MovingStatesSteerOrSpinByTheFront)
{
    SetUpWorld();
    // The player is straight right of each cell (bearing 90); each cell faces up.
    struct Case {
        const char* what;
        int8_t front;
        CellState state;
        float turn, dx, dy;
    } cases[] = {
        {"wander, front", 1, Wander, 1, 0, -0.25f},   // steers to 180, moves up
        {"wander, no front", 0, Wander, 2, 0, 0.25f}, // spins, moves to 180
        {"flee, front", 1, Flee, -2, 0, -0.25f},      // steers to 270, moves up
        {"flee, no front", 0, Flee, 2, -0.25f, 0},    // spins, moves to 270
        {"chase, front", 1, Chase, 2, 0, -0.25f},     // steers to 90, moves up
        {"chase, front 2", 2, Chase, 7, 0.25f, 0},    // keeps its turn, moves to 90
        {"chase, no front", 0, Chase, 7, 0.25f, 0},
    };
    for (const Case& c : cases) {
        SetReactions(c.front);
        Cell cell = CellNearPlayer(1, -500, 0);
        cell.state = c.state;
        cell.target_angle = 180;
        cell.turn = 7;
        float x = cell.x, y = cell.y;
        BehaviourStep(cell);
        EXPECT_FLOAT_EQ(cell.frame, 0.1f) << c.what;
        EXPECT_FLOAT_EQ(cell.turn, c.turn) << c.what;
        EXPECT_FLOAT_EQ(cell.speed, 0.25f) << c.what;
        EXPECT_NEAR(cell.x - x, c.dx, 1e-3f) << c.what;
        EXPECT_NEAR(cell.y - y, c.dy, 1e-3f) << c.what;
    }
}

TEST(Behaviour, AFront2CellBacksOffFromAPlayerAheadAndThenTurnsAway)
{
    SetUpWorld();
    SetReactions(2);
    // The player is straight above; the cell faces it, so the escape lies behind.
    Cell cell = CellNearPlayer(1, 0, 150);
    cell.state = Flee;
    cell.timer = 300;
    float startY = cell.y;
    float slowest = 0;
    int pass = 0;
    for (; pass < 200; ++pass) {
        Pass(cell);
        slowest = std::min(slowest, cell.speed);
        if (fh == 2)
            break;
        ASSERT_EQ(fh, 1) << "pass " << pass;
        ASSERT_LE(cell.speed, 0) << "pass " << pass;
    }
    ASSERT_LT(pass, 200) << "the cell never turned far enough to swim forward";
    EXPECT_NEAR(slowest, -3, 0.25f) << "backs off down to about -flew_movespeed";
    EXPECT_GT(cell.y, startY) << "backing moved it away from the player";
    EXPECT_GT(cell.angle, 90) << "it turned while backing";
    EXPECT_LT(cell.angle, 270);

    // An escape exactly 90 degrees off counts as behind.
    Cell side = CellNearPlayer(1, 0, 150);
    side.state = Flee;
    side.angle = 90;
    BehaviourStep(side);
    EXPECT_EQ(fh, 1);
    EXPECT_FLOAT_EQ(side.speed, -0.25f);
}
