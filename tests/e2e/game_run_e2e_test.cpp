// The real program on a small world, its screen on SDL's dummy video driver: every stage
// of the start-up on the console, frames shown, and a quit asked for from outside.
#include "tests/e2e/child_process.h"
#include "tests/game/game_data.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <poll.h>

namespace {
const std::string GAME = VELLOMIRA_BINARY_DIR "/vellomira";

const char DEFAULT_PREFERENCES[] =
    "; Hier k\xF6nnen verschiedene Einstellungen ver\xE4ndert werden...\r\n"
    "; \r\n; Grafik:\r\n; \r\nWidth = 1024\r\nHeight = 768\r\nDepth = 32\r\n"
    "Bilineare Filterung = 1\r\n; \r\n; Sound:\r\n; \r\n; \r\n; Einstellungen:\r\n; \r\n"
    "FPS anzeige Frequenz = 10\r\n";

// Reads lines until the expected one; the lines read before it.
std::vector<std::string> LinesUntil(ChildProcess& child, const std::string& expected)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 100; ++i) {
        lines.push_back(ReadChildLine(child));
        if (lines.back() == expected)
            break;
    }
    return lines;
}

// SDL's dummy display with its software renderer: no X server is needed, and no GL driver is
// loaded whose own allocations would count as the program's leaks under the sanitizers.
void UseWindowlessDisplay()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
}

bool IsInteger(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("-0123456789") == std::string::npos;
}
} // namespace

TEST(GameEndToEnd, StartsOnDataShowsFramesAndQuitsWhenAsked)
{
    ScratchFolder folder;
    WriteGameData({{3, "Name=Blue\r\nType=1\r\nFront=1\r\n", {SolidPng(32, 32, 0x0000FF)}},
                   {2, "", {SolidPng(16, 16, 0x00FF00), SolidPng(16, 16, 0x00C000)}}},
                  SolidPng(64, 64, 0xFF0000), SolidPng(8, 8, 0xFFFFFF));
    UseWindowlessDisplay();
    ChildProcess game = StartChild(GAME, folder.path.string());
    ASSERT_GT(game.pid, 0);
    ChildGuard guard{game};

    std::vector<std::string> lines = LinesUntil(game, "LoadingSounds...");
    ASSERT_EQ(lines.size(), 26u) << lines.back();
    EXPECT_EQ(lines[8], "InitVar...");
    EXPECT_EQ(lines[9], "InitInits...");
    for (size_t i = 10; i < 19; ++i)
        EXPECT_TRUE(IsInteger(lines[i])) << lines[i];
    const char* stages[] = {"LoadingSaves...",
                            "  No Preferences found, creating...",
                            "OpeningScreen (1024,768,32)...",
                            "LoadingSprites...",
                            "CreatingSprites...",
                            "CreatingSprite3Ds...",
                            "LoadingSounds..."};
    for (size_t i = 0; i < std::size(stages); ++i)
        EXPECT_EQ(lines[19 + i], stages[i]);

    // Let the main loop run, then ask the game to end as a terminal's hang-up or kill would.
    pollfd watch{game.output, POLLIN, 0};
    EXPECT_EQ(poll(&watch, 1, 1500), 0) << "the loop prints nothing";
    kill(game.pid, SIGTERM);
    EXPECT_EQ(ReadChildLine(game), "Quit...");
    EXPECT_EQ(ReadChildLine(game), "");
    EXPECT_EQ(WaitChild(game), 0);
    EXPECT_EQ(ReadBytes("pref.ini"), DEFAULT_PREFERENCES);
    EXPECT_FALSE(std::filesystem::exists("buff.buff"));
}

TEST(GameEndToEnd, AFrameThatIsNoImageEndsTheStartUpWithItsName)
{
    ScratchFolder folder;
    WriteGameData({{1, "", {SolidPng(16, 16, 0x00FF00)}}, {1, "", {"no image here"}}},
                  SolidPng(64, 64, 0xFF0000), SolidPng(8, 8, 0xFFFFFF));
    UseWindowlessDisplay();
    ChildProcess game = StartChild(GAME, folder.path.string());
    ChildGuard guard{game};
    std::vector<std::string> lines = LinesUntil(game, "Loading-Error! -> 002.cell.001.png");
    EXPECT_EQ(lines.back(), "Loading-Error! -> 002.cell.001.png");
    EXPECT_EQ(lines[lines.size() - 2], "LoadingSprites...");
    WriteChild(game, "\n");
    EXPECT_EQ(ReadChildLine(game), "");
    EXPECT_EQ(WaitChild(game), 1);
}
