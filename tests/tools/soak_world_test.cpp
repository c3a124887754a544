// The soak's world: the scaled cell type list and the checks it makes on the running game.
#include "game/data/globals.h"
#include "tools/soak/soak_world.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

TEST(SoakWorld, SpawnCountsAreScaledWithinTheirSixteenBits)
{
    using Bytes = std::vector<uint8_t>;
    struct Case {
        Bytes list;
        int32_t factor;
        Bytes scaled;
    } cases[] = {
        // count, then (spawn low, spawn high, frames) per type; the frames stay.
        {{2, 90, 0, 4, 0x10, 0x01, 8}, 10, {2, 0x84, 0x03, 4, 0xA0, 0x0A, 8}},
        {{1, 0xFF, 0x0F, 3}, 10, {1, 0xFF, 0x7F, 3}},    // 4095 x 10 holds at 32767
        {{1, 0xF6, 0xFF, 3}, 10000, {1, 0x00, 0x80, 3}}, // -10 x 10000 holds at -32768
        {{3, 5, 0, 1, 7}, 10, {3, 50, 0, 1, 7}},         // a short list: what is there
        {{0x80, 1, 2, 3}, 10, {0x80, 1, 2, 3}},          // a negative count: no types
        {{1, 1, 0, 1, 9, 9}, 3, {1, 3, 0, 1, 9, 9}},     // bytes after the types stay
        {{}, 10, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScaleSpawnCounts(c.list, c.factor), c.scaled) << c.list.size() << " bytes";
}

TEST(SoakWorld, TheFirstValueThatIsNotFiniteIsNamed)
{
    ClearGlobals();
    InitGlobals();
    Cell good{};
    good.x = 5;
    good.id = 0;
    Cell bad = good;
    bad.id = 1;
    bad.speed = std::nanf("");
    *AddElementOf<Cell>(CellList) = good;
    EXPECT_EQ(FirstNonFiniteValue(), "");
    *AddElementOf<Cell>(CellList) = bad;
    EXPECT_EQ(FirstNonFiniteValue(), "cell 1 speed = nan");
    PlayerY = INFINITY;
    EXPECT_EQ(FirstNonFiniteValue(), "PlayerY = inf");
    EXPECT_GT(ResidentKiB(), 0);
    EXPECT_GE(ResidentKiB("VmHWM"), ResidentKiB());
    ClearGlobals();
}
