// The guide to making an own cell type (mods/README.md) works: its commands, run as they stand
// in a checkout with frames as an image editor exports them, make a type that the game lists
// and loads, and a preview sheet.
#include "game/game.h"
#include "runtime/runtime.h"
#include "tests/scratch_folder.h"
#include "tests/tools/cellpack_run.h"
#include "tests/tools/data_checkout.h"
#include "tests/tools/frame_fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {
// The lines of the guide's command block.
std::string GuideCommands()
{
    std::string guide = ReadBytes(fs::path(VELLOMIRA_SOURCE_DIR) / "mods/README.md");
    size_t start = guide.find("```sh\n");
    if (start == std::string::npos)
        return "";
    start += 6;
    return guide.substr(start, guide.find("```", start) - start);
}
} // namespace

TEST(Guide, ItsCommandsMakeATypeTheGameListsAndLoads)
{
    ScratchFolder folder;
    MakeDataCheckout();
    for (int k = 1; k <= 3; ++k)
        WriteBytes("mods/mine/frame" + std::to_string(k) + ".png",
                   PngOf(Disc(48, {200, uint8_t(80 + 30 * k), 40, 255}, CLEAR, true), true));
    std::string commands = GuideCommands();
    ASSERT_NE(commands.find("scripts/make_data.sh build run"), std::string::npos) << commands;
    ProgramRun run = RunProgram("/bin/bash", {"-euo", "pipefail", "-c", commands});
    ASSERT_EQ(run.status, 0) << commands << "\n" << run.out << run.err;
    EXPECT_EQ(run.err.find("warning"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("mods/mine: type 4 (004.cell, 3 frames, 12 cells)"), std::string::npos)
        << run.err;
    EXPECT_NE(ReadBytes("build/mine.png").rfind("\x89PNG", 0), std::string::npos);

    ExpectTheGameLoadsAndPlays("run");
    ASSERT_EQ(CellTypeCount, 4);
    EXPECT_EQ(CellTypes[4].Name, "Kokkus") << "the definition copied from the first sample";
    EXPECT_EQ(CellTypes[4].SpawnCount, 12);
    EXPECT_EQ(CellTypes[4].FrameCount, 3);
}
