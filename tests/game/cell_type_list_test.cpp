#include "game/data/data.h"
#include "game/data/globals.h"
#include "tests/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <tuple>
#include <vector>

namespace {
struct CellTypeListTest : testing::Test {
    ScratchFolder folder;
    void SetUp() override
    {
        ClearGlobals();
        InitGlobals();
    }
    void TearDown() override
    {
        CloseAllFiles();
        ClearGlobals();
    }
};

struct Counts {
    int16_t spawn;
    int8_t frames;
    bool operator==(const Counts&) const = default;
};
} // namespace

TEST_F(CellTypeListTest, CountsComeFromTheListAndShortListsReadZeros)
{
    struct Case {
        std::string bytes;
        int32_t typeCount;
        std::vector<Counts> counts; // of types 1 to typeCount
    } cases[] = {
        {"", 0, {}},
        {"\x01", 1, {{0, 0}}},
        {"\x02\x05", 2, {{5, 0}, {0, 0}}},
        {std::string("\x02\x03\x00\x02\xFF\xFF\x64\x09", 8), 2, {{3, 2}, {-1, 100}}},
        {std::string("\x01\x34\x12\x80", 4), 1, {{0x1234, -128}}},
        {"\x80", -128, {}},
    };
    for (const Case& c : cases) {
        WriteBytes("Cell/CELL.ini", c.bytes);
        ASSERT_TRUE(OpenCellTypeList()) << c.bytes.size() << " bytes";
        EXPECT_EQ(CellTypeCount, c.typeCount);
        SizeTables();
        ReadCellTypeCounts();
        std::vector<Counts> counts;
        for (int32_t t = 1; t <= CellTypeCount; ++t)
            counts.push_back({CellTypes[t].SpawnCount, CellTypes[t].FrameCount});
        EXPECT_EQ(counts, c.counts) << c.bytes.size() << " bytes";
        EXPECT_EQ(ReadByteFromFile(0), 0) << "the list is closed";
    }
}

TEST_F(CellTypeListTest, AMissingListCannotBeOpened)
{
    EXPECT_FALSE(OpenCellTypeList());
    WriteBytes("cell.ini", "\x01");
    EXPECT_FALSE(OpenCellTypeList());
    std::filesystem::create_directories("cell/cell.ini");
    EXPECT_FALSE(OpenCellTypeList());
}

namespace {
struct Bubble {
    float x, y;
    int16_t trans;
    int8_t type;
    bool operator==(const Bubble&) const = default;
};

std::vector<Bubble> Bubbles()
{
    std::vector<Bubble> bubbles;
    ResetList(BubbleList);
    while (const Cell* cell = NextElementOf<Cell>(BubbleList))
        bubbles.push_back({cell->x, cell->y, cell->trans, cell->type});
    return bubbles;
}

struct BubbleTest : testing::Test {
    void SetUp() override
    {
        ClearGlobals();
        InitGlobals();
    }
    void TearDown() override { ClearGlobals(); }
};
} // namespace

TEST_F(BubbleTest, BubblesNearTheEdgesGetTheirCopies)
{
    struct Case {
        float x, y;
        std::vector<std::pair<float, float>> copies;
    } cases[] = {
        {10, 20, {{10010, 20}, {10010, 10020}, {10, 10020}}},
        {5000, 5000, {}},
        {9990, 9990, {{-10, 9990}, {-10, -10}, {9990, -10}}},
        {-32, 5000, {{9968, 5000}}},
        {1023, 9233, {{11023, 9233}, {11023, -767}, {1023, -767}}},
        {1024, 768, {}},
        {8976, 9232, {}},
        {8977, 767, {{-1023, 767}, {-1023, 10767}, {8977, 10767}}},
    };
    for (const Case& c : cases) {
        NewList(BubbleList, sizeof(Cell), nullptr, 7);
        Cell bubble{};
        bubble.x = c.x;
        bubble.y = c.y;
        bubble.trans = 120;
        bubble.type = 7;
        AddBubbleCopies(bubble);
        std::vector<Bubble> expected;
        for (auto [x, y] : c.copies)
            expected.push_back({x, y, 120, 7});
        EXPECT_EQ(Bubbles(), expected) << c.x << ", " << c.y;
    }
}

TEST_F(BubbleTest, ScatteringMakes6001BubblesAndExactlyTheirCopies)
{
    RandomSeed(4242);
    ScatterBubbles();
    std::vector<Bubble> list = Bubbles();

    // The same draws again give the originals; each is followed by its copies, which are the
    // shifts by the world's size toward every near edge and near corner.
    RandomSeed(4242);
    size_t at = 0, originals = 0;
    for (; originals < 6001 && at < list.size(); ++originals) {
        Bubble original{float(Random(10000) - 32), float(Random(10000) - 32),
                        int16_t(108 + Random(40)), int8_t(1 + Random(19))};
        ASSERT_EQ(list[at++], original) << "bubble " << originals;
        std::set<int> shiftsX{0}, shiftsY{0};
        if (original.x < 1024)
            shiftsX.insert(10000);
        if (original.x > 10000 - 1024)
            shiftsX.insert(-10000);
        if (original.y < 768)
            shiftsY.insert(10000);
        if (original.y > 10000 - 768)
            shiftsY.insert(-10000);
        std::set<std::pair<float, float>> expected, copies;
        for (int dx : shiftsX)
            for (int dy : shiftsY)
                if (dx || dy)
                    expected.insert({original.x + dx, original.y + dy});
        for (size_t k = 0; k < expected.size() && at < list.size(); ++k, ++at) {
            EXPECT_EQ(list[at].trans, original.trans);
            EXPECT_EQ(list[at].type, original.type);
            copies.insert({list[at].x, list[at].y});
        }
        ASSERT_EQ(copies, expected)
            << "bubble " << originals << " at " << original.x << ", " << original.y;
        EXPECT_GE(original.trans, 108);
        EXPECT_LE(original.trans, 148);
        EXPECT_GE(original.type, 1);
        EXPECT_LE(original.type, 20);
    }
    EXPECT_EQ(originals, 6001u);
    EXPECT_EQ(at, list.size()) << "nothing follows the last bubble's copies";
    EXPECT_GT(list.size(), 6001u + 1000u) << "a fair share lies near an edge";
}
