// The player's folder as each system's launcher prepares it: the world shown in cell/ and gfx/
// (linked on POSIX, copied on Windows), a changed world shown at the next start, the player's
// own things kept, what a start left half-way taken away, and one start at a time.
#include "launcher/folder_system.h"
#include "launcher/player_folder.h"
#include "runtime/platform/utf8_path.h"
#include "tests/scratch_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>

namespace fs = std::filesystem;

namespace {
void NoOwnTypes(const std::string&) {}

struct PlayerFolder : ::testing::Test {
    ScratchFolder scratch;
    fs::path world = scratch.path / "world", folder = scratch.path / "player";

    void SetUp() override
    {
        WriteBytes(world / "cell" / "cell.ini", "1\n");
        WriteBytes(world / "cell" / "001.cell", "pack one");
        WriteBytes(world / "gfx" / "test.png", "player image");
        WriteBytes(world / "gfx" / "b1.png", "bubble");
    }

    std::string Prepare() { return PrepareFolder(Utf8Name(world), Utf8Name(folder), NoOwnTypes); }

    // The names of the folder's entries, sorted, with the launcher's own files left out.
    std::set<std::string> Entries(const fs::path& path)
    {
        std::set<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(path))
            if (entry.path().filename() != ".world-copies" && entry.path().filename() != ".lock")
                names.insert(Utf8Name(entry.path().filename()));
        return names;
    }
};

TEST_F(PlayerFolder, ShowsTheWorldAndAChangedWorldAtTheNextStart)
{
    ASSERT_EQ(Prepare(), "");
    EXPECT_EQ(ReadBytes(folder / "cell" / "001.cell"), "pack one");
    EXPECT_EQ(ReadBytes(folder / "gfx" / "test.png"), "player image");
    EXPECT_TRUE(fs::is_directory(folder / "mods"));

    WriteBytes(world / "cell" / "001.cell", "pack one, newer");
    WriteBytes(world / "cell" / "002.cell", "pack two");
    fs::remove(world / "gfx" / "b1.png");
    ASSERT_EQ(Prepare(), "");
    EXPECT_EQ(ReadBytes(folder / "cell" / "001.cell"), "pack one, newer");
    EXPECT_EQ(ReadBytes(folder / "cell" / "002.cell"), "pack two");
    EXPECT_EQ(Entries(folder / "gfx"), (std::set<std::string>{"test.png"}));
    // Nothing of the launcher's own is taken for the player's, and nothing is left beside.
    EXPECT_EQ(Entries(folder), (std::set<std::string>{"cell", "gfx", "mods"}));
    // The world itself is as it was.
    EXPECT_EQ(Entries(world / "cell"), (std::set<std::string>{"001.cell", "002.cell", "cell.ini"}));
}

TEST_F(PlayerFolder, KeepsThePlayersOwnThingsWhereTheWorldIsShown)
{
    ASSERT_EQ(Prepare(), "");
    WriteBytes(folder / "cell" / "mine.txt", "my notes");
    WriteBytes(folder / "pref.ini", "Width = 800\r\n");
    ASSERT_EQ(Prepare(), "");
    EXPECT_EQ(ReadBytes(folder / "kept" / "cell" / "mine.txt"), "my notes");
    EXPECT_EQ(ReadBytes(folder / "pref.ini"), "Width = 800\r\n");
    EXPECT_EQ(ReadBytes(folder / "cell" / "001.cell"), "pack one");
    EXPECT_EQ(Entries(folder / "kept" / "cell"), (std::set<std::string>{"mine.txt"}));
}

TEST_F(PlayerFolder, KeepsAFolderThePlayerPutInPlaceOfTheWorlds)
{
    fs::create_directories(folder);
    WriteBytes(folder / "gfx" / "own.png", "my picture");
    WriteBytes(folder / "cell" / "001.cell", "my own pack");
    ASSERT_EQ(Prepare(), "");
    EXPECT_EQ(ReadBytes(folder / "kept" / "gfx" / "own.png"), "my picture");
    EXPECT_EQ(ReadBytes(folder / "kept" / "cell" / "001.cell"), "my own pack");
    EXPECT_EQ(ReadBytes(folder / "gfx" / "test.png"), "player image");
    EXPECT_EQ(ReadBytes(folder / "cell" / "001.cell"), "pack one");
}

// A user name with letters beyond ASCII names the folders the launcher is given (UTF-8 on every
// system); the files land there, not in a folder of another name.
struct PlayerFolderOfAUserNamedBeyondAscii : PlayerFolder {
    PlayerFolderOfAUserNamedBeyondAscii()
    {
        world = scratch.path / Utf8Path("Welt für José");
        folder = scratch.path / Utf8Path("Иван José") / "Vellomira";
    }
};

TEST_F(PlayerFolderOfAUserNamedBeyondAscii, ShowsTheWorldAndKeepsThePlayersThingsThere)
{
    ASSERT_EQ(Prepare(), "");
    WriteBytes(folder / "cell" / Utf8Path("заметки.txt"), "my notes");
    ASSERT_EQ(Prepare(), "");
    EXPECT_EQ(ReadBytes(folder / "cell" / "001.cell"), "pack one");
    EXPECT_EQ(ReadBytes(folder / "gfx" / "test.png"), "player image");
    EXPECT_EQ(ReadBytes(folder / "kept" / "cell" / Utf8Path("заметки.txt")), "my notes");
    EXPECT_EQ(Entries(folder), (std::set<std::string>{"cell", "gfx", "kept", "mods"}));
    EXPECT_EQ(Entries(scratch.path), (std::set<std::string>{"Welt für José", "Иван José"}));
}

TEST_F(PlayerFolder, TakesAwayWhatAStartLeftHalfWay)
{
    fs::create_directories(folder);
    fs::create_directories(folder / ".start-1" / "cell");
    ASSERT_EQ(PlaceWorldEntry((world / "cell" / "001.cell").string(),
                              (folder / ".start-1" / "cell" / "001.cell").string()),
              "");
    ASSERT_EQ(PlaceWorldEntry((world / "gfx").string(), (folder / ".gfx-1").string()), "");
    ASSERT_EQ(Prepare(), "");
    EXPECT_EQ(Entries(folder), (std::set<std::string>{"cell", "gfx", "mods"}));
}

TEST_F(PlayerFolder, WaitsWhileAnotherStartPreparesIt)
{
    fs::create_directories(folder);
    FolderLock held;
    ASSERT_EQ(LockFolder(folder.string(), held, [] {}), "");
    std::atomic<bool> done = false;
    std::thread second([&] {
        Prepare();
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(done);
    EXPECT_FALSE(fs::exists(folder / "cell"));
    UnlockFolder(held);
    second.join();
    EXPECT_EQ(ReadBytes(folder / "cell" / "001.cell"), "pack one");
}
} // namespace
