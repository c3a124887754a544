#include "game/data/data.h"
#include "game/data/globals.h"
#include "runtime/core/block_encoder.h"
#include "tests/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

static std::ostream& operator<<(std::ostream& out, CellRange r)
{
    return out << r.low << "|" << r.high;
}

namespace {

CellDefinition DefinitionOf(const std::string& text)
{
    OpenPreferencesFromMemory(text.data(), int32_t(text.size()));
    CellDefinition d = ReadCellDefinition();
    ClosePreferences();
    return d;
}

// A world of cell types whose packs the test writes into a scratch folder.
struct CellTypesTest : testing::Test {
    ScratchFolder folder;
    std::string png;

    void SetUp() override
    {
        ClearGlobals();
        InitGlobals();
        ClearImageCodecs();
        RegisterPngDecoder();
        RegisterPngEncoder();
        // Frames become sprites, which live only while a screen is open.
        ASSERT_NE(InitSprite(), 0);
        ASSERT_NE(OpenScreen(64, 64, 32, "cells"), 0);
        std::vector<uint8_t> pixels(12 * 3 * 5, 0x40);
        ASSERT_EQ(EncodeImage("frame.png", pixels.data(), PNG_ENCODER_TAG, 12, 5, 36, 0), 1);
        png = ReadBytes("frame.png");
    }
    void TearDown() override
    {
        ClosePack();
        EndSprite();
        ClearImageCodecs();
        ClearGlobals();
    }
    // Types with (spawn count, frame count) each.
    void SetTypes(std::vector<std::pair<int16_t, int8_t>> counts)
    {
        CellTypeCount = int32_t(counts.size());
        SizeTables();
        for (size_t t = 1; t <= counts.size(); ++t) {
            CellTypes[t].SpawnCount = counts[t - 1].first;
            CellTypes[t].FrameCount = counts[t - 1].second;
        }
    }
    void WritePack(int32_t t, const std::vector<std::string>& entries)
    {
        std::vector<uint8_t> pack;
        for (const std::string& e : entries)
            AppendPackEntry(pack, reinterpret_cast<const uint8_t*>(e.data()), e.size());
        WriteBytes("cell/" + ThreeDigitNumber(t) + ".cell", std::string(pack.begin(), pack.end()));
    }
    std::vector<Cell> Cells()
    {
        std::vector<Cell> cells;
        ResetList(CellList);
        while (Cell* cell = NextElementOf<Cell>(CellList))
            cells.push_back(*cell);
        return cells;
    }
};
} // namespace

TEST(CellDefinition, AnEmptyTextGivesTheDefaultType)
{
    CellDefinition d = DefinitionOf("");
    EXPECT_EQ(d.Name, "Zelle");
    EXPECT_EQ(d.size, (CellRange{64, 64}));
    EXPECT_EQ(d.angle_s, (CellRange{10, 20}));
    EXPECT_EQ(d.norm_angle_s, (CellRange{10, 20}));
    EXPECT_EQ(d.flew_angle_s, (CellRange{10, 20}));
    for (CellRange r : {d.idle_anispeed, d.move_anispeed, d.flew_anispeed})
        EXPECT_EQ(r, (CellRange{2, 3}));
    EXPECT_EQ(d.norm_movespeed, (CellRange{200, 200}));
    EXPECT_EQ(d.flew_movespeed, (CellRange{200, 200}));
    EXPECT_EQ(d.accelaration, (CellRange{20, 20}));
    EXPECT_EQ(d.mentionradius, (CellRange{20000, 20000}));
    EXPECT_EQ(d.trans, (CellRange{160, 170}));
    EXPECT_EQ(d.Color, 0xFFFFFFu);
    for (int32_t v : {d.Type, d.Front, d.AniType, d.Hp, d.Atk, d.Armor})
        EXPECT_EQ(v, 0);
}

TEST(CellDefinition, KeysGroupDefaultsAndRanges)
{
    struct Case {
        std::string text;
        CellRange CellDefinition::*range;
        CellRange expected;
    } cases[] = {
        {"SIZE=32|48", &CellDefinition::size, {32, 48}},
        {"[Zelle]\r\nsize=32|48", &CellDefinition::size, {64, 64}},
        {"angle_s=1|1", &CellDefinition::norm_angle_s, {100, 100}},
        {"angle_s=1|1", &CellDefinition::flew_angle_s, {100, 100}},
        {"angle_s=1|1\nflew_angle_s=0.5|0.6", &CellDefinition::flew_angle_s, {50, 60}},
        {"idle_anispeed = 0.05|0.07", &CellDefinition::move_anispeed, {5, 7}},
        {"idle_anispeed=0.05|0.07", &CellDefinition::flew_anispeed, {5, 7}},
        {"norm_movespeed=3|4", &CellDefinition::flew_movespeed, {300, 400}},
        {"trans=170|160", &CellDefinition::trans, {160, 170}},
        {"size=50", &CellDefinition::size, {0, 50}},
        {"accelaration=0.125|0.135", &CellDefinition::accelaration, {12, 14}},
        {"mentionradius=abc|3", &CellDefinition::mentionradius, {0, 300}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DefinitionOf(c.text).*c.range, c.expected) << c.text;
    CellDefinition d = DefinitionOf("name=Amoebe\ntype=2\nFRONT=1\nanitype=3\ncolor=255\nhp=70000");
    EXPECT_EQ(d.Name, "Amoebe");
    EXPECT_EQ(d.Type, 2);
    EXPECT_EQ(d.Front, 1);
    EXPECT_EQ(d.AniType, 3);
    EXPECT_EQ(d.Color, 255u);
    EXPECT_EQ(d.Hp, 70000);
}

TEST_F(CellTypesTest, TypesLoadInOrderWithIdsInCreationOrder)
{
    SetTypes({{3, 2}, {2, 0}});
    WritePack(1, {"Name=Amoebe\r\nType=1\r\nsize=32|48\r\nhp=70000\r\n", png, png});
    WritePack(2, {"angle_s=1|1\r\ntrans=170|160\r\n"});
    ASSERT_EQ(LoadCellTypes(), "");
    std::vector<Cell> cells = Cells();
    ASSERT_EQ(cells.size(), 5u);
    for (size_t k = 0; k < cells.size(); ++k) {
        const Cell& c = cells[k];
        EXPECT_EQ(c.id, int32_t(k));
        EXPECT_EQ(c.type, k < 3 ? 1 : 2);
        EXPECT_TRUE(c.x >= 0 && c.x <= 10000 && c.y >= 0 && c.y <= 10000);
        EXPECT_TRUE(c.trans >= 160 && c.trans <= 170) << c.trans;
    }
    EXPECT_EQ(CellIdCounter, 5);
    EXPECT_TRUE(cells[0].size >= 32 && cells[0].size <= 48);
    EXPECT_FLOAT_EQ(cells[0].mentionradius, 200 * cells[0].size);
    EXPECT_TRUE(cells[0].frame >= 0 && cells[0].frame <= 2);
    for (const Cell& c : {cells[3], cells[4]}) {
        EXPECT_EQ(c.size, 64.0f);
        EXPECT_EQ(c.angle_s, 1.0f);
        EXPECT_EQ(c.norm_angle_s, 1.0f);
        EXPECT_EQ(c.flew_angle_s, 1.0f);
        EXPECT_EQ(c.frame, 0.0f);
    }
    EXPECT_EQ(CellTypes[1].Name, "Amoebe");
    EXPECT_EQ(CellTypes[1].Type, 1);
    EXPECT_EQ(CellTypes[1].Hp, int16_t(70000)) << "cut to 16 bits";
    EXPECT_EQ(CellTypes[1].Width, 12);
    EXPECT_NE(CellSprite(1, 0)[1], CellSprite(1, 1)[1]) << "each frame is a sprite of its own";
    EXPECT_EQ(SpriteHeight(CellSprite(1, 1)[1]), 5);
    EXPECT_EQ(CellSprite(1, 2)[1], 0);
    EXPECT_EQ(CellTypes[2].Width, 0);
    EXPECT_EQ(CellTypes[2].Color, 0xFFFFFFu);
    EXPECT_FALSE(std::filesystem::exists("buff.buff"));
}

TEST_F(CellTypesTest, DrawsFollowTheFieldOrder)
{
    SetTypes({{1, 3}});
    WritePack(1, {"size=10|20\nangle_s=0.1|0.5\nnorm_angle_s=1|2\nflew_angle_s=3|4\n"
                  "trans=100|150\nidle_anispeed=0.01|0.09\nmove_anispeed=1|9\n"
                  "flew_anispeed=2|8\nnorm_movespeed=3|7\nflew_movespeed=4|6\n"
                  "accelaration=0|1\nmentionradius=5|6",
                  png, png, png});
    RandomSeed(99);
    ASSERT_EQ(LoadCellTypes(), "");
    RandomSeed(99);
    auto decimal = [](int32_t a, int32_t b) { return float(Random(b - a) / 100.0 + a / 100.0); };
    Cell expected{};
    expected.size = float(10 + Random(10));
    expected.x = float(Random(10000));
    expected.y = float(Random(10000));
    expected.angle = float(Random(360));
    expected.angle_s = decimal(10, 50);
    expected.norm_angle_s = decimal(100, 200);
    expected.flew_angle_s = decimal(300, 400);
    expected.trans = int16_t(100 + Random(50));
    expected.idle_anispeed = decimal(1, 9);
    expected.move_anispeed = decimal(100, 900);
    expected.flew_anispeed = decimal(200, 800);
    expected.norm_movespeed = decimal(300, 700);
    expected.flew_movespeed = decimal(400, 600);
    expected.accelaration = decimal(0, 100);
    expected.mentionradius = decimal(500, 600) * expected.size;
    expected.frame = float(Random(3));
    Cell c = Cells().at(0);
    EXPECT_EQ(c.size, expected.size);
    EXPECT_EQ(c.x, expected.x);
    EXPECT_EQ(c.y, expected.y);
    EXPECT_EQ(c.angle, expected.angle);
    EXPECT_EQ(c.angle_s, expected.angle_s);
    EXPECT_EQ(c.norm_angle_s, expected.norm_angle_s);
    EXPECT_EQ(c.flew_angle_s, expected.flew_angle_s);
    EXPECT_EQ(c.trans, expected.trans);
    EXPECT_EQ(c.idle_anispeed, expected.idle_anispeed);
    EXPECT_EQ(c.move_anispeed, expected.move_anispeed);
    EXPECT_EQ(c.flew_anispeed, expected.flew_anispeed);
    EXPECT_EQ(c.norm_movespeed, expected.norm_movespeed);
    EXPECT_EQ(c.flew_movespeed, expected.flew_movespeed);
    EXPECT_EQ(c.accelaration, expected.accelaration);
    EXPECT_EQ(c.mentionradius, expected.mentionradius);
    EXPECT_EQ(c.frame, expected.frame);
}

TEST_F(CellTypesTest, LoadingErrorsNameTheFile)
{
    std::string broken(64, 'x');
    struct Case {
        const char* name;
        int8_t frames;
        std::vector<std::string> entries; // none: no pack at all
        bool writePack;
        std::string error;
    } cases[] = {
        {"no pack", 0, {}, false, "Loading-Error! -> 001.cell"},
        {"frame that is no image",
         1,
         {"size=5|5", "not an image"},
         true,
         "Loading-Error! -> 001.cell.001.png"},
        {"frame missing", 2, {"", png}, true, "Loading-Error! -> 001.cell.002.png"},
        {"empty pack: default definition, then no frame",
         1,
         {},
         true,
         "Loading-Error! -> 001.cell.001.png"},
        {"empty pack without frames", 0, {}, true, ""},
    };
    for (const Case& c : cases) {
        // The pack a failed load left open goes first, as the game's end sequence closes it:
        // Windows deletes no open file.
        ClosePack();
        std::filesystem::remove_all("cell");
        ClearGlobals();
        InitGlobals();
        SetTypes({{1, c.frames}});
        if (c.writePack)
            WritePack(1, c.entries);
        EXPECT_EQ(LoadCellTypes(), c.error) << c.name;
    }
    EXPECT_EQ(CellTypes[1].Name, "Zelle");
}

TEST_F(CellTypesTest, ABrokenDefinitionIsAnErrorNotTheDefault)
{
    SetTypes({{1, 0}});
    // A compressed definition whose check value no longer matches.
    std::string text(400, 'a');
    std::vector<uint8_t> pack;
    AppendPackEntry(pack, reinterpret_cast<const uint8_t*>(text.data()), text.size());
    ASSERT_LT(pack.size(), text.size());
    pack[8 + 6] ^= 1;
    WriteBytes("cell/001.cell", std::string(pack.begin(), pack.end()));
    EXPECT_EQ(LoadCellTypes(), "Loading-Error! -> 001.cell.ini");
    WriteBytes("cell/001.cell", std::string("\x10\0\0", 3));
    EXPECT_EQ(LoadCellTypes(), "Loading-Error! -> 001.cell.ini") << "a header cut short";
}

TEST_F(CellTypesTest, MoreThanAHundredFramesEnlargeTheTable)
{
    SetTypes({{1, 2}, {1, 101}});
    WritePack(1, {"", png, png});
    std::vector<std::string> entries(102, png);
    entries[0] = "";
    WritePack(2, entries);
    ASSERT_EQ(LoadCellTypes(), "");
    EXPECT_EQ(MaxFrameIndex, 100);
    EXPECT_EQ(CellSprites.size(), 3u * 101u);
}
