// Adding a folder of own cell types to a world: appended after the listed types in natural
// order, again and again with the same result, taking back only what it made, leaving out
// types with errors and types whose pack name another file holds, and never writing through a
// link to an installed list.
#include "tests/scratch_folder.h"
#include "tests/tools/cellpack_run.h"
#include "tests/tools/frame_fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sys/stat.h>

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

namespace {
// The files of a folder and their bytes, to tell a folder left as it was.
std::map<std::string, std::string> FolderState(const fs::path& folder)
{
    std::map<std::string, std::string> state;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        state[entry.path().filename().string()] =
            fs::is_symlink(entry.path()) ? "-> " + fs::read_symlink(entry.path()).string()
                                         : ReadBytes(entry.path());
    return state;
}

// A frame of noise inside a keyed border: a pack of some 50 KB.
std::string NoisyFrame()
{
    Picture picture{128, 128, {}};
    uint32_t seed = 12345;
    for (int i = 0; i < 128 * 128; ++i) {
        seed = seed * 1103515245u + 12345u;
        int x = i % 128, y = i / 128;
        bool border = x < 2 || y < 2 || x > 125 || y > 125;
        picture.pixels.push_back(border ? KEY_COLOR
                                        : Rgba{uint8_t(seed >> 24), uint8_t(seed >> 16),
                                               uint8_t(seed >> 8 & 0x7F), 255});
    }
    return PngOf(picture, false);
}

// add-mods with files limited to the blocks of 512 bytes (dash's unit): a write beyond fails.
ProgramRun AddModsWithFilesUpTo(int blocks)
{
    return RunProgram("/bin/sh", {"-c",
                                  "trap '' XFSZ; ulimit -f " + std::to_string(blocks) +
                                      "; exec \"$0\" add-mods mods world",
                                  CELLPACK});
}
} // namespace

TEST(AddMods, AnyFolderNameGivesTheSameListOnEveryRunAndIsShownEscaped)
{
    ScratchFolder folder;
    ASSERT_NO_FATAL_FAILURE(MakeWorld());
    MakeType("mods/new\nline", 1, 3);
    MakeType("mods/\x1b[31mred\x1b[0m", 1, 0);
    MakeType("mods/back\\slash", 1, 0);
    WriteBytes("mods/new\nline/definition.ini", "Name = Odd\n");
    WriteBytes("mods/\x1b[31mred\x1b[0m/spawn.txt", "\x1b]0;title\x07");
    const std::string list = ListText({"5 1  # 001", "6 1  # 002", "10 1  # 003", "3 1  # 004"});
    for (int run = 1; run <= 3; ++run) {
        ProgramRun added = Cellpack({"add-mods", "mods", "world"});
        EXPECT_EQ(added.status, 1) << added.err;
        EXPECT_EQ(Types(), list) << "run " << run << "\n" << added.err;
        EXPECT_EQ(added.out, "mods/back\\\\slash: type 3 (003.cell, 1 frame, 10 cells)\n"
                             "mods/new\\nline: type 4 (004.cell, 1 frame, 3 cells)\n")
            << "run " << run;
        EXPECT_NE(added.err.find("mods/\\x1B[31mred\\x1B[0m: left out: spawn.txt: "
                                 "\"\\x1B]0;title\\x07\" is not a number of cells"),
                  std::string::npos)
            << added.err;
        EXPECT_EQ(added.err.find('\x1b'), std::string::npos) << "run " << run;
    }
    EXPECT_EQ(Cellpack({"check", "--list", "world/cell/cell.ini"}).status, 0);
}

TEST(AddMods, ADamagedManifestChangesNothingAndSaysSo)
{
    ScratchFolder folder;
    ASSERT_NO_FATAL_FAILURE(MakeWorld());
    MakeType("mods/a", 1, 3);
    ASSERT_EQ(Cellpack({"add-mods", "mods", "world"}).status, 0);
    std::string manifest = ReadBytes("world/cell/mods.manifest");
    // Lines of kinds it does not know are passed over.
    WriteBytes("world/cell/mods.manifest", manifest + "later a key of a later version\n");
    ProgramRun again = Cellpack({"add-mods", "mods", "world"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(Types(), ListText({"5 1  # 001", "6 1  # 002", "3 1  # 003"}));
    // A line of a known kind that cannot be read leaves everything as it is.
    WriteBytes("world/cell/mods.manifest", manifest + "type 4 spawn many\n");
    std::map<std::string, std::string> before = FolderState("world/cell");
    ProgramRun damaged = Cellpack({"add-mods", "mods", "world"});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("world/cell/mods.manifest: line 6 cannot be read; what add-mods "
                               "added before cannot be told from the rest, so nothing is changed"),
              std::string::npos)
        << damaged.err;
    EXPECT_EQ(FolderState("world/cell"), before);
}

TEST(AddMods, TakesBackTheEntriesWhosePacksWereRemovedByHand)
{
    ScratchFolder folder;
    ASSERT_NO_FATAL_FAILURE(MakeWorld());
    MakeType("mods/a", 1, 3);
    MakeType("mods/b", 2, 4);
    ASSERT_EQ(Cellpack({"add-mods", "mods", "world"}).status, 0);
    const std::string list = Types();
    std::string pack = ReadBytes("world/cell/003.cell");
    fs::remove("world/cell/003.cell");
    ProgramRun again = Cellpack({"add-mods", "mods", "world"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(Types(), list);
    EXPECT_EQ(ReadBytes("world/cell/003.cell"), pack);
    // The type's folder gone as well: its entry goes, the next type takes its number.
    fs::remove("world/cell/003.cell");
    fs::remove_all("mods/a");
    ProgramRun without = Cellpack({"add-mods", "mods", "world"});
    EXPECT_EQ(without.status, 0) << without.err;
    EXPECT_EQ(Types(), ListText({"5 1  # 001", "6 1  # 002", "4 2  # 003"}));
    ProgramRun check = Cellpack({"check", "--list", "world/cell/cell.ini"});
    EXPECT_EQ(check.status, 0) << check.err;
}

TEST(AddMods, AFailedWriteChangesNothingAndTheNextRunAddsAsIfItNeverHappened)
{
    struct Case {
        const char* what;
        std::vector<std::string> types; // the type folders, each of one frame
        std::string big;                // the folder whose frame is noise ("" none)
        int blocks;                     // the largest file the run may write, in 512 bytes
    } cases[] = {
        // Its pack is too large: the pack of the type before it is written already.
        {"a pack", {"mods/a", "mods/b"}, "mods/b", 16},
        // The packs fit, the manifest naming the long folder names does not: the list was
        // written before it.
        {"the manifest",
         {"mods/" + std::string(200, 'a'), "mods/" + std::string(200, 'b'),
          "mods/" + std::string(200, 'c')},
         "",
         1},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        ASSERT_NO_FATAL_FAILURE(MakeWorld());
        for (const std::string& type : c.types)
            MakeType(type, 1, 0);
        if (!c.big.empty())
            WriteBytes(c.big + "/frame1.png", NoisyFrame());
        std::map<std::string, std::string> before = FolderState("world/cell");
        ProgramRun failed = AddModsWithFilesUpTo(c.blocks);
        EXPECT_EQ(failed.status, 1) << c.what << ": " << failed.err;
        EXPECT_NE(failed.err.find("cannot write: File too large"), std::string::npos)
            << c.what << ": " << failed.err;
        EXPECT_EQ(FolderState("world/cell"), before) << c.what;

        ProgramRun next = Cellpack({"add-mods", "mods", "world"});
        EXPECT_EQ(next.status, 0) << c.what << ": " << next.err;
        std::vector<std::string> listed = {"5 1  # 001", "6 1  # 002"};
        for (size_t t = 3; t < 3 + c.types.size(); ++t)
            listed.push_back("10 1  # 00" + std::to_string(t));
        EXPECT_EQ(Types(), ListText(listed)) << c.what;
    }
}

TEST(AddMods, ASpawnTxtThatIsNoSmallFileLeavesItsTypeOut)
{
    ScratchFolder folder;
    ASSERT_NO_FATAL_FAILURE(MakeWorld());
    MakeType("mods/a", 1, 0);
    ASSERT_EQ(mkfifo("mods/a/spawn.txt", 0600), 0);
    MakeType("mods/b", 1, 0);
    fs::create_symlink("/dev/zero", "mods/b/spawn.txt");
    MakeType("mods/c", 1, 0);
    WriteBytes("mods/c/spawn.txt", std::string(100000, '7'));
    MakeType("mods/d", 1, 0);
    WriteBytes("mods/d/spawn.txt", "  12\r\n");
    // A pipe nobody writes to must not keep it waiting: were it read, the run would end only
    // when timeout kills it.
    ProgramRun run = RunProgram("/usr/bin/timeout", {"20", CELLPACK, "add-mods", "mods", "world"});
    EXPECT_EQ(run.status, 1) << run.err;
    for (const char* report :
         {"cellpack: mods/a: left out: spawn.txt is not a file but a pipe, a device or a folder",
          "cellpack: mods/b: left out: spawn.txt is not a file but a pipe, a device or a folder",
          "cellpack: mods/c: left out: spawn.txt holds 100000 bytes, not one number"})
        EXPECT_NE(run.err.find(report), std::string::npos) << report << "\n" << run.err;
    EXPECT_EQ(run.out, "mods/d: type 3 (003.cell, 1 frame, 12 cells)\n");
}

TEST(AddMods, FramesInFormatsTheGameDoesNotReadAreLeftOutWithAWord)
{
    ScratchFolder folder;
    ASSERT_NO_FATAL_FAILURE(MakeWorld());
    MakeType("mods/a", 2, 0);
    WriteBytes("mods/a/frame3.gif", "GIF89a");
    WriteBytes("mods/a/frame4.BMP", "BM");
    WriteBytes("mods/a/frame5.webp", "RIFF");
    WriteBytes("mods/a/notes.txt", "not an image at all");
    ProgramRun run = Cellpack({"add-mods", "mods", "world"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "mods/a: type 3 (003.cell, 2 frames, 10 cells)\n");
    for (const char* frame : {"frame3.gif", "frame4.BMP", "frame5.webp"})
        EXPECT_NE(run.err.find(std::string("cellpack: mods/a/") + frame +
                               ": warning: left out of the type: the game reads frames only as "
                               "PNG or JPEG; save it as PNG to have it among the frames"),
                  std::string::npos)
            << frame << "\n"
            << run.err;
    EXPECT_EQ(run.err.find("notes.txt"), std::string::npos) << run.err;
}
