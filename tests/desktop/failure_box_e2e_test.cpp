// A start that fails where nobody watches a terminal (from the menu) shows why in a box of the
// desktop's own, and waits until the player closes it.
#include "tests/desktop/x_session.h"
#include "tests/e2e/child_process.h"
#include "tests/game/game_data.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sys/wait.h>
#include <thread>

namespace fs = std::filesystem;

namespace {
const std::string LAUNCHER = VELLOMIRA_BINARY_DIR "/launcher/vellomira";
const std::string BOX_TITLE = "Vellomira could not start";

constexpr int STILL_RUNNING = -2;

// The child's exit status once it ends within the time (-1 when not by exiting), else
// STILL_RUNNING.
int EndWithin(ChildProcess& child, int milliseconds)
{
    for (int waited = 0; waited <= milliseconds; waited += 50) {
        int status = 0;
        if (waitpid(child.pid, &status, WNOHANG) == child.pid) {
            child.pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return STILL_RUNNING;
}
} // namespace

TEST(FailureBox, AFatalStartWithoutATerminalShowsItsMessageUntilTheBoxIsClosed)
{
    XSession x;
    ASSERT_NE(x.display, nullptr) << "Xvfb did not start";
    ScratchFolder folder;
    fs::path world = folder.path / "world", home = folder.path / "home";
    fs::create_directories(world);
    fs::current_path(world);
    WriteGameData({{2, "", {SolidPng(16, 16, 0x00FF00)}}}, SolidPng(64, 64, 0xFF0000),
                  SolidPng(8, 8, 0xFFFFFF));
    fs::remove(world / "cell" / "001.cell");
    fs::current_path(folder.path);
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    unsetenv("SDL_VIDEODRIVER");
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    // Standard error is a pipe, as from the menu; nothing on standard input ends the game's
    // wait for Enter at once.
    ChildOptions options;
    options.arguments = {"--world", world.string()};
    ChildProcess launcher = StartChild(LAUNCHER, folder.path.string(), options);
    ChildGuard guard{launcher};
    CloseChildInput(launcher);
    WindowId box = WaitForWindow(x, BOX_TITLE, 20000);
    ASSERT_NE(box, 0u) << "no box titled \"" << BOX_TITLE << "\"";
    EXPECT_EQ(EndWithin(launcher, 500), STILL_RUNNING) << "the launcher waits for the box";
    SendCloseRequest(x, box);
    EXPECT_EQ(EndWithin(launcher, 10000), 1) << "the closed box lets the launcher end";
    unsetenv("XDG_DATA_HOME");
}
