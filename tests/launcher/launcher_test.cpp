// The launcher: its options and pref.ini section, and the player's folder it prepares and
// runs the game in, leaving the folder it was started from and the world untouched, and
// keeping the player's files from one start to the next.
#include "launcher/launch_options.h"
#include "tests/e2e/child_process.h"
#include "tests/game/game_data.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
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

// Runs the launcher from the folder; when the game starts, asks it to quit from the console
// (as closing its terminal would) once its start-up has ended.
Started RunLauncher(const fs::path& from, const std::vector<std::string>& arguments)
{
    ChildOptions options;
    options.arguments = arguments;
    ChildProcess child = StartChild(LAUNCHER, from.string(), options);
    ChildGuard guard{child};
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
    } cases[] = {
        {DEFAULT_PREFERENCES, false, ""},
        {"Width = 800\r\n[Launcher]\r\nWindowed = 1\r\nScreenshotDir = ~/Bilder \r\n", true,
         "~/Bilder"},
        {"[launcher]\nWINDOWED=1\n", true, ""},
        {"[Launcher]\r\nWindowed = 0\r\n", false, ""},
        // The game's own section is not the launcher's, nor is any other.
        {"Windowed = 1\r\nScreenshotDir = x\r\n", false, ""},
        {"[Launcher]\r\n[Other]\r\nWindowed = 1\r\n", false, ""},
        {"[Other]\r\nWindowed = 1\r\n[Launcher]\r\nScreenshotDir = y\r\n", false, "y"},
        {"", false, ""},
        {"[Launcher", false, ""},
    };
    for (const Case& c : cases) {
        PreferenceSettings settings = ReadLauncherSection(c.text);
        EXPECT_EQ(settings.windowed, c.windowed) << c.text;
        EXPECT_EQ(settings.screenshotDir, c.shots) << c.text;
    }
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
    EXPECT_EQ(fs::read_symlink(player / "cell" / "002.cell"), world / "cell" / "002.cell");
}

TEST_F(LauncherRun, TellsWhatIsWrongWithoutStartingTheGame)
{
    fs::create_directories(scratch.path / "empty");
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string out, err;
    } cases[] = {
        {{"--help"}, 0, "usage: vellomira [--windowed]", ""},
        {{"--version"}, 0, "Vellomira 0.3a\n", ""},
        {{"--frobnicate"}, 2, "", "vellomira: unknown argument --frobnicate\nusage:"},
        {{"--world", (scratch.path / "empty").string()},
         1,
         "",
         "vellomira: no world in " + (scratch.path / "empty").string()},
        // In the build tree there is no installed world to fall back on.
        {{}, 1, "", "vellomira: no installed world here; name one with --world DIR"},
    };
    for (const Case& c : cases) {
        ChildOptions options;
        options.arguments = c.arguments;
        ChildProcess child = StartChild(LAUNCHER, elsewhere.string(), options);
        ChildGuard guard{child};
        std::string out;
        for (std::string line = ReadChildLine(child); !line.empty(); line = ReadChildLine(child))
            out += line + "\n";
        std::string err = ReadChildErrors(child);
        std::string shown = ::testing::PrintToString(c.arguments);
        EXPECT_EQ(WaitChild(child), c.status) << shown;
        EXPECT_EQ(out.rfind(c.out, 0), 0u) << shown << ": " << out;
        EXPECT_EQ(err.rfind(c.err, 0), 0u) << shown << ": " << err;
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
