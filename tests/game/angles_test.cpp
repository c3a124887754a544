#include "game/data/data.h"
#include "tests/game/world.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Bearing, PointsUpAtZeroAndGrowsClockwise)
{
    struct Case {
        float x2, y2;
        int32_t bearing;
    } cases[] = {{10, 0, 90},   {0, 10, 180},    {0, -10, 0},    {-10, 0, 270},
                 {10, 10, 135}, {10, -10, 45},   {-10, 10, 225}, {-10, -10, 315},
                 {1000, 1, 90}, {-1000, 1, 270}, {1, 1000, 180}, {0, 0, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(Bearing(0, 0, c.x2, c.y2), c.bearing) << "to (" << c.x2 << ", " << c.y2 << ")";
}

TEST(Bearing, StaysWithinAFullTurnForAnyDirection)
{
    for (int32_t degrees = 0; degrees < 3600; degrees += 7) {
        double radians = degrees / 10.0 * 3.14159265358979 / 180.0;
        float x2 = static_cast<float>(100 * std::sin(radians));
        float y2 = static_cast<float>(-100 * std::cos(radians));
        int32_t bearing = Bearing(0, 0, x2, y2);
        EXPECT_GE(bearing, 0) << "tenths " << degrees;
        EXPECT_LE(bearing, 360) << "tenths " << degrees;
        int32_t off = AngleDifference(bearing, RoundToInteger(degrees / 10.0));
        EXPECT_TRUE(off <= 1 || off >= 359) << "tenths " << degrees << ", bearing " << bearing;
    }
}

TEST(Distance, RoundsTheRootToTheNearestInteger)
{
    struct Case {
        float x1, y1, x2, y2;
        int32_t distance;
    } cases[] = {{0, 0, 3, 4, 5},
                 {0, 0, 1, 1, 1},
                 {5, 5, 5, 5, 0},
                 {0, 0, -3, -4, 5},
                 {0, 0, 10000, 10000, 14142},
                 {4968.5f, 0, 4968, 0, 0},
                 {0, 0, 1.5f, 0, 2}};
    for (const Case& c : cases)
        EXPECT_EQ(Distance(c.x1, c.y1, c.x2, c.y2), c.distance)
            << "(" << c.x1 << ", " << c.y1 << ") to (" << c.x2 << ", " << c.y2 << ")";
}

TEST(AngleArithmetic, AddAngleAndAngleDifferenceStayWithinAFullTurn)
{
    struct Sum {
        int32_t a, b, result;
    } sums[] = {{350, 20, 10},   {10, -20, 350}, {300, 60, 360},
                {180, 180, 360}, {0, 0, 0},      {90, 180, 270}};
    for (const Sum& c : sums)
        EXPECT_EQ(AddAngle(c.a, c.b), c.result) << c.a << " + " << c.b;
    struct Difference {
        int32_t a, b, result;
    } differences[] = {{10, 350, 20}, {350, 10, 340}, {0, 0, 0},
                       {360, 0, 0},   {0, 360, 0},    {90, 270, 180}};
    for (const Difference& c : differences)
        EXPECT_EQ(AngleDifference(c.a, c.b), c.result) << c.a << " - " << c.b;
}

TEST(AngleArithmetic, RandomSignGivesBothSignsAndNothingElse)
{
    RandomSeed(7);
    int plus = 0, minus = 0;
    for (int i = 0; i < 200; ++i) {
        int32_t sign = RandomSign();
        ASSERT_TRUE(sign == 1 || sign == -1) << sign;
        (sign == 1 ? plus : minus)++;
    }
    EXPECT_GT(plus, 50);
    EXPECT_GT(minus, 50);
}

TEST(ThreeDigitNumber, PadsBelowHundredOnly)
{
    struct Case {
        int32_t n;
        const char* text;
    } cases[] = {{1, "001"}, {9, "009"}, {10, "010"}, {99, "099"}, {100, "100"}, {127, "127"}};
    for (const Case& c : cases)
        EXPECT_EQ(ThreeDigitNumber(c.n), c.text) << "n = " << c.n;
}

TEST(Rounding, HalvesGoToEvenAndIndexesStayInTheTables)
{
    struct Round {
        double value;
        int32_t result;
    } rounds[] = {{2.5, 2},          {3.5, 4},           {-2.5, -2},       {0.4999, 0},
                  {1e12, INT32_MAX}, {-1e12, INT32_MIN}, {std::nan(""), 0}};
    for (const Round& c : rounds)
        EXPECT_EQ(RoundToInteger(c.value), c.result) << c.value;
    struct Index {
        float angle;
        int32_t index;
    } indexes[] = {{0, 0},      {0.7f, 6},  {90, 900},   {359.99f, 3599},
                   {360, 3600}, {-0.5f, 0}, {500, 3600}, {std::nanf(""), 0}};
    for (const Index& c : indexes)
        EXPECT_EQ(TrigIndex(c.angle), c.index) << c.angle;
}
