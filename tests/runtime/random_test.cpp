#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

TEST(Random, SeededSequencesAreExact)
{
    struct Case {
        uint32_t seed;
        int32_t maximum;
        std::vector<int32_t> values;
    } cases[] = {
        {0, 99, {54, 78, 66, 37, 23}},
        {1, 99, {72, 18, 60, 91, 0}},
        {12345, 99, {27, 71, 66, 34, 58}},
        {0, 2147483647, {1170769584, 1683484736, 1418143767}},
    };
    for (const Case& c : cases) {
        RandomSeed(c.seed);
        std::vector<int32_t> values;
        for (size_t k = 0; k < c.values.size(); ++k)
            values.push_back(Random(c.maximum));
        EXPECT_EQ(values, c.values) << "seed " << c.seed << ", maximum " << c.maximum;
    }
}

TEST(Random, ZeroAndNegativeMaximumStillAdvance)
{
    RandomSeed(0);
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(Random(-1), INT32_MIN);
    EXPECT_EQ(Random(99), 66) << "two steps were taken before";
}

TEST(Numeric, RoundingTruncationAndColors)
{
    EXPECT_EQ(RoundFloat(2.5f, 2), 3.0f);
    EXPECT_EQ(RoundFloat(-2.5f, 2), -3.0f);
    EXPECT_TRUE(std::signbit(RoundFloat(0.0f, 2)));
    EXPECT_EQ(RoundFloat(-2.5f, 0), -3.0f);
    EXPECT_EQ(RoundFloat(2.1f, 1), 3.0f);
    EXPECT_EQ(RoundFloat(2.9f, 7), 2.0f);
    EXPECT_EQ(TruncateToInteger(2.9), 2);
    EXPECT_EQ(TruncateToInteger(-2.9), -2);
    EXPECT_EQ(ColorRGB(255, 255, 255), 16777215u);
    EXPECT_EQ(ColorRGB(0, 0, 255), 16711680u);
    EXPECT_EQ(PowerFloat(2.0f, 10.0f), 1024.0f);
    EXPECT_FLOAT_EQ(ArcTangent(1.0f), 0.7853982f);
}
