// Adding a folder of own cell types to a world: appended after the listed types in natural
// order, again and again with the same result, taking back only what it made, leaving out
// types with errors and types whose pack name another file holds, and never writing through a
// link to an installed list.
#include "tests/scratch_folder.h"
#include "tests/tools/cellpack_run.h"
#include "tests/tools/frame_fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {
std::string KeyedFrame(uint8_t green)
{
    return PngOf(Disc(16, {40, green, 80, 255}, KEY_COLOR, false), false);
}

// A world of two types with sound packs, in world/.
void MakeWorld()
{
    WriteBytes("src/def.ini", "Name = Base\n");
    WriteBytes("src/f.png", KeyedFrame(100));
    fs::create_directories("world/cell");
    for (const char* pack : {"world/cell/001.cell", "world/cell/002.cell"})
        ASSERT_EQ(Cellpack({"build", pack, "src/def.ini", "src/f.png"}).status, 0);
    ASSERT_EQ(Cellpack({"write-types", "world/cell/cell.ini", "5:1", "6:1"}).status, 0);
}

// An own type folder with its definition and frames, and a spawn count unless it is 0.
void MakeType(const std::string& folder, int frames, int spawn)
{
    WriteBytes(folder + "/definition.ini", "Name = " + folder + "\n");
    for (int k = 1; k <= frames; ++k)
        WriteBytes(folder + "/frame" + std::to_string(k) + ".png", KeyedFrame(uint8_t(100 + k)));
    if (spawn)
        WriteBytes(folder + "/spawn.txt", std::to_string(spawn) + "\n");
}

std::string Types()
{
    return Cellpack({"types", "world/cell/cell.ini"}).out;
}

std::string ListText(const std::vector<std::string>& lines)
{
    std::string text = "# " + std::to_string(lines.size()) +
                       " cell types, one a line: spawn count, frame count  # type\n";
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}
} // namespace

TEST(AddMods, AppendsTypesInNaturalOrderAndReplacesOnlyWhatItAddedBefore)
{
    ScratchFolder folder;
    ASSERT_NO_FATAL_FAILURE(MakeWorld());
    MakeType("mods/type10", 3, 0);
    MakeType("mods/type2", 2, 4);
    WriteBytes("world/cell/notes.txt", "mine");
    ProgramRun run = Cellpack({"add-mods", "mods", "world"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "mods/type2: type 3 (003.cell, 2 frames, 4 cells)\n"
                       "mods/type10: type 4 (004.cell, 3 frames, 10 cells)\n");
    EXPECT_EQ(Types(), ListText({"5 1  # 001", "6 1  # 002", "4 2  # 003", "10 3  # 004"}));
    ProgramRun check = Cellpack({"check", "--list", "world/cell/cell.ini"});
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(check.err, "");

    std::string list = ReadBytes("world/cell/cell.ini"), pack = ReadBytes("world/cell/004.cell");
    ASSERT_EQ(Cellpack({"add-mods", "mods", "world"}).status, 0);
    EXPECT_EQ(ReadBytes("world/cell/cell.ini"), list) << "a second run changes nothing";
    EXPECT_EQ(ReadBytes("world/cell/004.cell"), pack);

    fs::remove_all("mods/type2");
    ASSERT_EQ(Cellpack({"add-mods", "mods", "world"}).status, 0);
    EXPECT_EQ(Types(), ListText({"5 1  # 001", "6 1  # 002", "10 3  # 003"}));
    EXPECT_EQ(ReadBytes("world/cell/003.cell"), pack);
    EXPECT_FALSE(fs::exists("world/cell/004.cell")) << "its own pack that no type names goes";

    fs::remove_all("mods");
    ASSERT_EQ(Cellpack({"add-mods", "mods", "world"}).status, 0);
    EXPECT_EQ(Types(), ListText({"5 1  # 001", "6 1  # 002"}));
    EXPECT_FALSE(fs::exists("world/cell/003.cell"));
    EXPECT_EQ(ReadBytes("world/cell/notes.txt"), "mine");
    EXPECT_TRUE(fs::exists("world/cell/001.cell") && fs::exists("world/cell/002.cell"));
}

TEST(AddMods, LeavesOutTypesWithErrorsAndNeverTouchesFilesItDidNotMake)
{
    ScratchFolder folder;
    ASSERT_NO_FATAL_FAILURE(MakeWorld());
    MakeType("mods/a", 1, 0);
    WriteBytes("mods/a/frame1.png", "not an image");
    MakeType("mods/b", 1, 0);
    MakeType("mods/c", 1, 0);
    WriteBytes("mods/d/frame1.png", KeyedFrame(1)); // no definition
    MakeType("mods/e", 1, 0);
    WriteBytes("mods/e/spawn.txt", "many");
    WriteBytes("world/cell/004.cell", "an author's own pack");
    ProgramRun run = Cellpack({"add-mods", "mods", "world"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "mods/b: type 3 (003.cell, 1 frame, 10 cells)\n");
    for (const char* report :
         {"cellpack: mods/a/frame1.png (frame 1): not an image",
          "cellpack: mods/a: left out: 1 error above",
          "cellpack: mods/d: left out: no definition.ini",
          "cellpack: mods/e: left out: spawn.txt: \"many\" is not a number of cells",
          "cellpack: world/cell/004.cell: not made by add-mods, so it stays as it is; mods/c "
          "and the types after it are left out"})
        EXPECT_NE(run.err.find(report), std::string::npos) << report << "\n" << run.err;
    EXPECT_EQ(ReadBytes("world/cell/004.cell"), "an author's own pack");
    EXPECT_EQ(Types(), ListText({"5 1  # 001", "6 1  # 002", "10 1  # 003"}));
}

TEST(AddMods, TakesAListMadeAgainAsTheNewBaseAndKeepsTypesAppendedByHand)
{
    ScratchFolder folder;
    ASSERT_NO_FATAL_FAILURE(MakeWorld());
    MakeType("mods/a", 1, 3);
    ASSERT_EQ(Cellpack({"add-mods", "mods", "world"}).status, 0);
    // A hand-made type behind the added one keeps its place while the added ones keep theirs.
    WriteBytes("world/cell/004.cell", ReadBytes("world/cell/001.cell"));
    ASSERT_EQ(Cellpack({"add-type", "world/cell/cell.ini", "7:1"}).status, 0);
    MakeType("mods/a", 2, 3);
    ASSERT_EQ(Cellpack({"add-mods", "mods", "world"}).status, 0);
    EXPECT_EQ(Types(), ListText({"5 1  # 001", "6 1  # 002", "3 2  # 003", "7 1  # 004"}));
    // One more own type would renumber the hand-made one: nothing changes.
    MakeType("mods/b", 1, 0);
    ProgramRun refused = Cellpack({"add-mods", "mods", "world"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("type 4 follows the added ones"), std::string::npos) << refused.err;
    EXPECT_EQ(Types(), ListText({"5 1  # 001", "6 1  # 002", "3 2  # 003", "7 1  # 004"}));
    // A list made again from the sample data holds only the base types: the own ones follow.
    fs::remove("world/cell/004.cell");
    ASSERT_EQ(Cellpack({"write-types", "world/cell/cell.ini", "5:1", "6:1", "8:1"}).status, 0);
    WriteBytes("world/cell/003.cell", ReadBytes("world/cell/001.cell"));
    ProgramRun again = Cellpack({"add-mods", "mods", "world"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(Types(),
              ListText({"5 1  # 001", "6 1  # 002", "8 1  # 003", "3 2  # 004", "10 1  # 005"}));
    EXPECT_EQ(ReadBytes("world/cell/003.cell"), ReadBytes("world/cell/001.cell"));
}

TEST(AddMods, ALinkedListIsReplacedByAFileNeverWrittenThrough)
{
    ScratchFolder folder;
    ASSERT_NO_FATAL_FAILURE(MakeWorld());
    fs::rename("world/cell/cell.ini", "installed.ini");
    fs::create_symlink(fs::absolute("installed.ini"), "world/cell/cell.ini");
    std::string installed = ReadBytes("installed.ini");
    ASSERT_EQ(Cellpack({"add-mods", "absent", "world"}).status, 0);
    EXPECT_TRUE(fs::is_symlink("world/cell/cell.ini")) << "no own types: nothing to write";
    MakeType("mods/a", 1, 0);
    ASSERT_EQ(Cellpack({"add-mods", "mods", "world"}).status, 0);
    EXPECT_FALSE(fs::is_symlink("world/cell/cell.ini"));
    EXPECT_EQ(ReadBytes("installed.ini"), installed);
    EXPECT_EQ(Types(), ListText({"5 1  # 001", "6 1  # 002", "10 1  # 003"}));
}

TEST(AddMods, AWorldLinkedInWithItsOwnTypesKeepsThemAndGetsThePlayersAfter)
{
    ScratchFolder folder;
    ASSERT_NO_FATAL_FAILURE(MakeWorld());
    MakeType("mods/a", 1, 3);
    ASSERT_EQ(Cellpack({"add-mods", "mods", "world"}).status, 0);
    // A player's folder as the launcher makes it: every file of the world's cell/ linked in.
    fs::create_directories("player/cell");
    for (const fs::directory_entry& entry : fs::directory_iterator("world/cell"))
        fs::create_symlink(fs::absolute(entry.path()), "player/cell" / entry.path().filename());
    MakeType("own/b", 2, 5);
    ProgramRun run = Cellpack({"add-mods", "own", "player"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Cellpack({"types", "player/cell/cell.ini"}).out,
              ListText({"5 1  # 001", "6 1  # 002", "3 1  # 003", "5 2  # 004"}));
    EXPECT_EQ(Types(), ListText({"5 1  # 001", "6 1  # 002", "3 1  # 003"}));
    EXPECT_TRUE(fs::is_symlink("player/cell/003.cell"));
    EXPECT_EQ(Cellpack({"check", "--list", "player/cell/cell.ini"}).status, 0);
}
