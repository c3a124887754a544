// The launcher: its options and pref.ini section, and the player's folder it prepares and
// runs the game in, leaving the folder it was started from and the world untouched, and
// keeping the player's files from one start to the next.
#include "launcher/launch_options.h"
#include "tests/e2e/child_process.h"
#include "tests/game/game_data.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
const std::string LAUNCHER = VELLOMIRA_BINARY_DIR "/launcher/vellomira";

const char DEFAULT_PREFERENCES[] =
    "; Hier k\xF6nnen verschiedene Einstellungen ver\xE4ndert werden...\r\n"
    "; \r\n; Grafik:\r\n; \r\nWidth = 1024\r\nHeight = 768\r\nDepth = 32\r\n"
    "Bilineare Filterung = 1\r\n; \r\n; Sound:\r\n; \r\n; \r\n; Einstellungen:\r\n; \r\n"
    "FPS anzeige Frequenz = 10\r\n";

struct Started {
    std::vector<std::string> lines;
    std::string errors;
    int status = -1;
};

// Starts the launcher from the folder with nothing on its standard input, so that a game that
// stops on a fatal line ends at once instead of waiting for Enter.
ChildProcess StartLauncher(const fs::path& from, const std::vector<std::string>& arguments)
{
    ChildOptions options;
    options.arguments = arguments;
    ChildProcess child = StartChild(LAUNCHER, from.string(), options);
    CloseChildInput(child);
    return child;
}

// Reads what a started launcher says; when the game starts, asks it to quit from the console
// (as closing its terminal would) once its start-up has ended: the main loop then still
// presents one frame before "Quit...".
Started FinishStart(ChildProcess& child)
{
    Started started;
    for (std::string line = ReadChildLine(child); !line.empty() || started.lines.size() < 12;
         line = ReadChildLine(child)) {
        started.lines.push_back(line);
        if (line == "LoadingSounds...")
            kill(child.pid, SIGTERM);
        if (line == "Quit..." || (line.empty() && started.lines.size() == 1))
            break;
    }
    started.errors = ReadChildErrors(child);
    started.status = WaitChild(child);
    return started;
}

// Runs the launcher from the folder to the end of the game's start-up, and ends the game.
Started RunLauncher(const fs::path& from, const std::vector<std::string>& arguments)
{
    ChildProcess child = StartLauncher(from, arguments);
    ChildGuard guard{child};
    return FinishStart(child);
}

// Everything the child writes on standard output until its end.
std::string ReadAllOutput(ChildProcess& child)
{
    std::string text;
    char block[4096];
    for (ssize_t got; (got = read(child.output, block, sizeof block)) > 0;)
        text.append(block, size_t(got));
    return text;
}

// Whether the game got through its whole start-up and quit as asked: every stage, no error.
bool PlayedAndQuit(const Started& started)
{
    for (const std::string& line : started.lines)
        if (line.rfind("Loading-Error", 0) == 0 || line.rfind("Error", 0) == 0 ||
            line.rfind("Unable", 0) == 0)
            return false;
    return started.status == 0 && started.lines.size() > 2 &&
           started.lines[started.lines.size() - 2] == "LoadingSounds..." &&
           started.lines.back() == "Quit...";
}

class LauncherRun : public testing::Test {
protected:
    ScratchFolder scratch;
    fs::path world, home, elsewhere, player;
    void SetUp() override
    {
        world = scratch.path / "world";
        home = scratch.path / "data";
        elsewhere = scratch.path / "elsewhere";
        player = home / "vellomira";
        fs::create_directories(world);
        fs::create_directories(elsewhere);
        fs::current_path(world);
        WriteGameData({{2, "", {SolidPng(16, 16, 0x00FF00)}}}, SolidPng(64, 64, 0xFF0000),
                      SolidPng(8, 8, 0xFFFFFF));
        fs::current_path(scratch.path);
        setenv("XDG_DATA_HOME", home.c_str(), 1);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_RENDER_DRIVER", "software", 1);
    }
    void TearDown() override
    {
        unsetenv("XDG_DATA_HOME");
        unsetenv("SDL_VIDEODRIVER");
        unsetenv("SDL_RENDER_DRIVER");
    }
};
} // namespace

TEST(LaunchOptions, CommandLine)
{
    struct Case {
        std::vector<std::string> arguments;
        bool ok, help, version, windowed;
        std::string world, shots;
    } cases[] = {
        {{}, true, false, false, false, "", ""},
        {{"--help"}, true, true, false, false, "", ""},
        {{"-h"}, true, true, false, false, "", ""},
        {{"--version"}, true, false, true, false, "", ""},
        {{"--windowed", "--world", "w d", "--screenshot-dir", "s"},
         true,
         false,
         false,
         true,
         "w d",
         "s"},
        {{"--world"}, false, false, false, false, "", ""},
        {{"--screenshot-dir"}, false, false, false, false, "", ""},
        {{"--fullscreen"}, false, false, false, false, "", ""},
        {{"world"}, false, false, false, false, "", ""},
    };
    for (const Case& c : cases) {
        LaunchOptions options;
        std::string error;
        std::string shown = ::testing::PrintToString(c.arguments);
        EXPECT_EQ(ParseLaunchOptions(c.arguments, options, error), c.ok) << shown;
        EXPECT_EQ(error.empty(), c.ok) << shown << ": " << error;
        if (!c.ok)
            continue;
        EXPECT_EQ(options.help, c.help) << shown;
        EXPECT_EQ(options.version, c.version) << shown;
        EXPECT_EQ(options.windowed, c.windowed) << shown;
        EXPECT_EQ(options.world, c.world) << shown;
        EXPECT_EQ(options.screenshotDir, c.shots) << shown;
    }
}

TEST(LaunchOptions, OnlyTheLauncherSectionOfPrefIniCounts)
{
    struct Case {
        const char* text;
        bool windowed;
        const char* shots;
        const char* warning;
    } cases[] = {
        {DEFAULT_PREFERENCES, false, "", ""},
        {"Width = 800\r\n[Launcher]\r\nWindowed = 1\r\nScreenshotDir = ~/Bilder \r\n", true,
         "~/Bilder", ""},
        {"[launcher]\nWINDOWED=1\n", true, "", ""},
        {"[Launcher]\r\nWindowed = 0\r\n", false, "", ""},
        // The words people write in settings files, in any letter case; numbers as the game
        // reads its own.
        {"[Launcher]\nWindowed = yes\n", true, "", ""},
        {"[Launcher]\nWindowed = True\n", true, "", ""},
        {"[Launcher]\nWindowed = ON\n", true, "", ""},
        {"[Launcher]\nWindowed = 2\n", true, "", ""},
        {"[Launcher]\nWindowed = 1\nWindowed = no\n", false, "", ""},
        {"[Launcher]\nWindowed = yes\nWindowed = false\n", false, "", ""},
        {"[Launcher]\nWindowed = yes\nWindowed = off\n", false, "", ""},
        // Anything else counts as no, and is said.
        {"[Launcher]\nWindowed = yes\nWindowed = ja\n", false, "",
         "[Launcher] Windowed = ja is neither yes nor no (true or false, on or off, 1 or 0); it "
         "counts as no"},
        {"[Launcher]\nWindowed = \x1b[2J\n", false, "", "[Launcher] Windowed = \\x1B[2J is"},
        // The game's own section is not the launcher's, nor is any other.
        {"Windowed = 1\r\nScreenshotDir = x\r\n", false, "", ""},
        {"[Launcher]\r\n[Other]\r\nWindowed = 1\r\n", false, "", ""},
        {"[Other]\r\nWindowed = 1\r\n[Launcher]\r\nScreenshotDir = y\r\n", false, "y", ""},
        {"", false, "", ""},
        {"[Launcher", false, "", ""},
    };
    for (const Case& c : cases) {
        PreferenceSettings settings = ReadLauncherSection(c.text);
        EXPECT_EQ(settings.windowed, c.windowed) << c.text;
        EXPECT_EQ(settings.screenshotDir, c.shots) << c.text;
        std::string warnings;
        for (const std::string& warning : settings.warnings)
            warnings += warning;
        EXPECT_EQ(warnings.rfind(c.warning, 0), 0u) << c.text << ": " << warnings;
        EXPECT_EQ(warnings.empty(), std::string(c.warning).empty()) << c.text;
    }
}

TEST(LaunchOptions, AFolderNamedWithATildeLiesInTheHomeFolderOnlyWhenThereIsOne)
{
    std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    struct Case {
        const char* home; // nullptr: unset
        const char* name;
        const char* path;
        const char* problem;
    } cases[] = {
        {"/home/p", "~/Bilder", "/home/p/Bilder", ""},
        {"/home/p", "~", "/home/p/", ""},
        {"/home/p", "shots", "/base/shots", ""},
        {"/home/p", "/abs/shots", "/abs/shots", ""},
        {"/home/p", "~other/x", "/base/~other/x", ""},
        {nullptr, "~/Bilder", "", "HOME names no folder, so ~/Bilder means nothing"},
        {"relative", "~", "", "HOME names no folder, so ~ means nothing"},
        {nullptr, "shots", "/base/shots", ""},
    };
    for (const Case& c : cases) {
        if (c.home)
            setenv("HOME", c.home, 1);
        else
            unsetenv("HOME");
        fs::path path;
        std::string problem = PlayerPath(c.name, "/base", path);
        EXPECT_EQ(problem, c.problem) << c.name;
        EXPECT_EQ(path.string(), c.path) << c.name;
    }
    setenv("HOME", home.c_str(), 1);
}

TEST_F(LauncherRun, FirstStartPlaysInThePlayersFolderAndWritesNothingElsewhere)
{
    Started started = RunLauncher(elsewhere, {"--world", world.string()});
    ASSERT_FALSE(started.lines.empty()) << started.errors;
    EXPECT_EQ(started.lines.back(), "Quit...") << started.errors;
    EXPECT_EQ(started.status, 0);
    EXPECT_NE(std::find(started.lines.begin(), started.lines.end(),
                        "  No Preferences found, creating..."),
              started.lines.end());
    EXPECT_EQ(ReadBytes(player / "pref.ini"), DEFAULT_PREFERENCES);
    EXPECT_TRUE(fs::is_empty(elsewhere)) << "nothing in the folder it was started from";
    EXPECT_FALSE(fs::exists(world / "pref.ini")) << "nothing in the world";
    EXPECT_EQ(fs::read_symlink(player / "gfx"), world / "gfx");
    EXPECT_EQ(fs::read_symlink(player / "cell" / "cell.ini"), world / "cell" / "cell.ini");
    EXPECT_TRUE(fs::is_directory(player / "mods"));
}

TEST_F(LauncherRun, LaterStartsKeepThePlayersFilesAndFollowTheUpdatedWorld)
{
    ASSERT_EQ(RunLauncher(elsewhere, {"--world", world.string()}).status, 0);
    const std::string edited =
        std::string(DEFAULT_PREFERENCES) + "\r\n[Launcher]\r\nScreenshotDir = shots\r\n";
    WriteBytes(player / "pref.ini", edited);
    WriteBytes(player / "screenshots" / "vellomira-20260101-120000.png", "a shot");
    WriteBytes(player / "cell" / "stale.cell", "left by an older world");
    // The world is updated: a second type, more cells of the first.
    fs::current_path(world);
    WriteGameData({{3, "", {SolidPng(16, 16, 0x00FF00)}}, {1, "", {SolidPng(8, 8, 0x0000FF)}}},
                  SolidPng(64, 64, 0xFF0000), SolidPng(8, 8, 0xFFFFFF));
    fs::current_path(scratch.path);

    Started started = RunLauncher(elsewhere, {"--world", world.string()});
    EXPECT_EQ(started.lines.back(), "Quit...") << started.errors;
    EXPECT_EQ(started.status, 0);
    EXPECT_EQ(std::find(started.lines.begin(), started.lines.end(),
                        "  No Preferences found, creating..."),
              started.lines.end());
    EXPECT_EQ(ReadBytes(player / "pref.ini"), edited);
    EXPECT_EQ(ReadBytes(player / "screenshots" / "vellomira-20260101-120000.png"), "a shot");
    EXPECT_FALSE(fs::exists(fs::symlink_status(player / "cell" / "stale.cell")));
    EXPECT_EQ(ReadBytes(player / "kept" / "cell" / "stale.cell"), "left by an older world");
    EXPECT_EQ(fs::read_symlink(player / "cell" / "002.cell"), world / "cell" / "002.cell");
}

TEST_F(LauncherRun, ThePlayersThingsInCellAndGfxAreMovedToKeptAndNamedNeverRemoved)
{
    // A folder laid out by hand, before any start: real cell/ and gfx/ with the player's files,
    // one of them under the name of a world's pack, and a list of the player's own.
    WriteBytes(player / "cell" / "notes.txt", "my notes");
    WriteBytes(player / "cell" / "001.cell", "my own pack");
    WriteBytes(player / "cell" / "cell.ini", std::string("\x01\x05\x00\x01", 4));
    WriteBytes(player / "cell" / "drafts" / "a.png", "a draft");
    WriteBytes(player / "gfx" / "test.png", "my own player");
    Started first = RunLauncher(elsewhere, {"--world", world.string()});
    EXPECT_TRUE(PlayedAndQuit(first)) << first.errors;
    // Again, with the same name in the way of what is kept already.
    WriteBytes(player / "cell" / "notes.txt", "more notes");
    Started second = RunLauncher(elsewhere, {"--world", world.string()});
    EXPECT_TRUE(PlayedAndQuit(second)) << second.errors;

    fs::path kept = player / "kept";
    EXPECT_EQ(ReadBytes(kept / "cell" / "notes.txt"), "my notes");
    EXPECT_EQ(ReadBytes(kept / "cell" / "notes.txt.1"), "more notes");
    EXPECT_EQ(ReadBytes(kept / "cell" / "001.cell"), "my own pack");
    EXPECT_EQ(ReadBytes(kept / "cell" / "cell.ini"), std::string("\x01\x05\x00\x01", 4));
    EXPECT_EQ(ReadBytes(kept / "cell" / "drafts" / "a.png"), "a draft");
    EXPECT_EQ(ReadBytes(kept / "gfx" / "test.png"), "my own player");
    for (const char* moved :
         {"cell/notes.txt", "cell/001.cell", "cell/cell.ini", "cell/drafts", "gfx"})
        EXPECT_NE(first.errors.find("vellomira: " + (player / moved).string() +
                                    " is not the launcher's: moved to " + (kept / moved).string()),
                  std::string::npos)
            << moved << "\n"
            << first.errors;
    EXPECT_NE(second.errors.find("moved to " + (kept / "cell" / "notes.txt.1").string()),
              std::string::npos)
        << second.errors;
    EXPECT_EQ(fs::read_symlink(player / "gfx"), world / "gfx");
    EXPECT_EQ(fs::read_symlink(player / "cell" / "001.cell"), world / "cell" / "001.cell");
    EXPECT_EQ(fs::read_symlink(player / "cell" / "cell.ini"), world / "cell" / "cell.ini");
}

TEST_F(LauncherRun, TwoStartsAtOnceBothPlayTheWholeWorldAndThePlayersFilesSurvive)
{
    WriteBytes(player / "mods" / "mine" / "definition.ini", "Name = Meine\r\n");
    WriteBytes(player / "mods" / "mine" / "frame1.png", PatternPng(16, 16, 0x20, 0));
    WriteBytes(player / "mods" / "mine" / "spawn.txt", "3\n");
    WriteBytes(player / "gfx" / "mine.png", "my picture");
    const std::string list("\x02\x02\x00\x01\x03\x00\x01", 7);
    std::set<std::string> written;
    for (int round = 1; round <= 10; ++round) {
        std::string notes = "notes of round " + std::to_string(round);
        WriteBytes(player / "cell" / "notes.txt", notes);
        written.insert(notes);
        ChildProcess one = StartLauncher(elsewhere, {"--world", world.string()});
        ChildProcess two = StartLauncher(elsewhere, {"--world", world.string()});
        ChildGuard guardOne{one}, guardTwo{two};
        Started first = FinishStart(one), second = FinishStart(two);
        EXPECT_TRUE(PlayedAndQuit(first)) << "round " << round << "\n" << first.errors;
        EXPECT_TRUE(PlayedAndQuit(second)) << "round " << round << "\n" << second.errors;
        EXPECT_EQ(ReadBytes(player / "cell" / "cell.ini"), list) << "round " << round;
        EXPECT_TRUE(fs::is_symlink(player / "gfx")) << "round " << round;
    }
    std::set<std::string> kept;
    for (const fs::directory_entry& entry : fs::directory_iterator(player / "kept" / "cell"))
        kept.insert(ReadBytes(entry.path()));
    EXPECT_EQ(kept, written);
    EXPECT_EQ(ReadBytes(player / "kept" / "gfx" / "mine.png"), "my picture");
    EXPECT_EQ(ReadBytes(world / "cell" / "cell.ini"), std::string("\x01\x02\x00\x01", 4));
    for (const fs::directory_entry& entry : fs::directory_iterator(player))
        EXPECT_EQ(entry.path().filename().string().rfind(".start-", 0), std::string::npos)
            << entry.path();
}

TEST_F(LauncherRun, TellsWhatIsWrongWithoutStartingTheGame)
{
    fs::path empty = scratch.path / "empty", bare = scratch.path / "bare",
             holes = scratch.path / "holes";
    fs::create_directories(empty);
    fs::copy(world, holes, fs::copy_options::recursive);
    fs::rename(holes / "gfx" / "test.png", holes / "gfx" / "Test.PNG");
    fs::remove(holes / "gfx" / "Blase7.png");
    fs::create_directories(bare);
    fs::copy(world / "cell", bare / "cell");
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string out, err;
    } cases[] = {
        {{"--help"}, 0, "usage: vellomira [--windowed]", ""},
        {{"--version"}, 0, "Vellomira 0.3a\n", ""},
        {{"--frobnicate"}, 2, "", "vellomira: unknown argument --frobnicate\nusage:"},
        {{"--world", empty.string()},
         1,
         "",
         "vellomira: no world in " + empty.string() +
             ": it has no cell/cell.ini, gfx/test.png (the player), gfx/Blase1.png to "
             "gfx/Blase20.png (the bubbles)\n"},
        // Without its images the game would start with no player and no bubbles, silently.
        {{"--world", bare.string()},
         1,
         "",
         "vellomira: the world in " + bare.string() +
             " is not whole: the game would miss gfx/test.png (the player), gfx/Blase1.png to "
             "gfx/Blase20.png (the bubbles)\n"},
        // Letter case does not matter to the game, nor to the check.
        {{"--world", holes.string()},
         1,
         "",
         "vellomira: the world in " + holes.string() +
             " is not whole: the game would miss gfx/Blase7.png (a bubble)\n"},
        // In the build tree there is no installed world to fall back on.
        {{}, 1, "", "vellomira: no installed world here; name one with --world DIR"},
    };
    for (const Case& c : cases) {
        // A game that starts all the same is ended once its start-up is done.
        Started started = RunLauncher(elsewhere, c.arguments);
        std::string out;
        for (const std::string& line : started.lines)
            out += line + "\n";
        std::string shown = ::testing::PrintToString(c.arguments);
        EXPECT_EQ(started.status, c.status) << shown;
        EXPECT_EQ(out.rfind(c.out, 0), 0u) << shown << ": " << out;
        EXPECT_EQ(started.errors.rfind(c.err, 0), 0u) << shown << ": " << started.errors;
    }
    EXPECT_FALSE(fs::exists(player / "pref.ini"));
}

TEST_F(LauncherRun, ThePlayersOwnTypesFollowTheWorldsAtEveryStart)
{
    // One own type with two frames (the world has one type); cellpack's report of it goes to
    // standard error, so standard output still begins with the game's banner.
    WriteBytes(player / "mods" / "mine" / "definition.ini", "Name = Meine\r\nType = 1\r\n");
    WriteBytes(player / "mods" / "mine" / "frame1.png", SolidPng(16, 16, 0x0000FF));
    WriteBytes(player / "mods" / "mine" / "frame2.png", SolidPng(16, 16, 0x0000C0));
    WriteBytes(player / "mods" / "mine" / "spawn.txt", "3\n");
    for (int start = 1; start <= 2; ++start) {
        Started started = RunLauncher(elsewhere, {"--world", world.string()});
        ASSERT_FALSE(started.lines.empty()) << started.errors;
        EXPECT_EQ(started.lines.front(), "######################") << "start " << start;
        EXPECT_EQ(started.lines.back(), "Quit...") << "start " << start << started.errors;
        EXPECT_EQ(started.status, 0);
        // The list: the world's type (2 cells, 1 frame), then the player's (3 cells, 2 frames).
        EXPECT_EQ(ReadBytes(player / "cell" / "cell.ini"),
                  std::string("\x02\x02\x00\x01\x03\x00\x02", 7))
            << "start " << start;
        EXPECT_FALSE(fs::is_symlink(player / "cell" / "002.cell"));
        EXPECT_TRUE(fs::exists(player / "mods" / "mine" / "definition.ini"));
        EXPECT_EQ(ReadBytes(world / "cell" / "cell.ini"), std::string("\x01\x02\x00\x01", 4))
            << "the world's own list stays as it is";
    }
}

TEST_F(LauncherRun, AFatalStartWithoutATerminalLeavesItsMessagesInTheLog)
{
    // A world whose only pack is gone, and an own type the launcher leaves out; started in a
    // session of its own, without a terminal, as from the menu.
    fs::remove(world / "cell" / "001.cell");
    fs::create_directories(player / "mods" / "unfinished");
    ChildOptions options;
    options.arguments = {"-w", LAUNCHER, "--world", world.string()};
    ChildProcess child = StartChild("/usr/bin/setsid", elsewhere.string(), options);
    ChildGuard guard{child};
    CloseChildInput(child);
    std::string out = ReadAllOutput(child), errors = ReadChildErrors(child);
    EXPECT_EQ(WaitChild(child), 1) << errors;
    ASSERT_GE(out.size(), 27u);
    EXPECT_EQ(out.substr(out.size() - 27), "Loading-Error! -> 001.cell\n") << out;
    std::string log = ReadBytes(player / "vellomira.log");
    for (const std::string& said :
         {"cellpack: " + (player / "mods" / "unfinished").string() + ": left out",
          std::string("Loading-Error! -> 001.cell\n"
                      "vellomira: a cell type in ") +
              player.string() + "/cell/ could not be loaded"})
        EXPECT_NE(log.find(said), std::string::npos) << said << "\n" << log;

    // The game's console lines pass through the launcher unchanged: the game run in the
    // player's folder by itself says the same.
    ChildProcess game = StartChild(VELLOMIRA_BINARY_DIR "/vellomira", player.string());
    ChildGuard gameGuard{game};
    CloseChildInput(game);
    std::string alone = ReadAllOutput(game);
    WaitChild(game);
    ChildProcess again = StartLauncher(elsewhere, {"--world", world.string()});
    ChildGuard againGuard{again};
    EXPECT_EQ(ReadAllOutput(again), alone);
    WaitChild(again);

    // The launcher's own failures are kept too, each start's in place of the last's.
    fs::remove_all(world / "gfx");
    Started failed = RunLauncher(elsewhere, {"--world", world.string()});
    EXPECT_EQ(failed.status, 1);
    log = ReadBytes(player / "vellomira.log");
    EXPECT_NE(log.find("vellomira: the world in " + world.string() + " is not whole"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("Loading-Error"), std::string::npos) << log;
}

TEST_F(LauncherRun, AHomeFolderNamedWithoutHomeIsRefusedNotMade)
{
    std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    unsetenv("HOME");
    Started started =
        RunLauncher(elsewhere, {"--world", world.string(), "--screenshot-dir", "~/x"});
    setenv("HOME", home.c_str(), 1);
    EXPECT_EQ(started.status, 1);
    EXPECT_EQ(started.errors,
              "vellomira: --screenshot-dir ~/x: HOME names no folder, so ~/x means nothing\n");
    EXPECT_TRUE(fs::is_empty(elsewhere));
}

TEST_F(LauncherRun, AWorldWhoseFoldersAreSpeltInOtherLettersPlaysAsTheGameWouldReadIt)
{
    fs::rename(world / "cell", world / "Cell");
    fs::rename(world / "gfx", world / "GFX");
    Started started = RunLauncher(elsewhere, {"--world", world.string()});
    EXPECT_TRUE(PlayedAndQuit(started)) << started.errors;
    EXPECT_EQ(fs::read_symlink(player / "gfx"), world / "GFX");
    EXPECT_EQ(fs::read_symlink(player / "cell" / "001.cell"), world / "Cell" / "001.cell");
}
