#include "tests/e2e/child_process.h"

#include <gtest/gtest.h>

#include <poll.h>

namespace {
const std::string GAME = VELLOMIRA_BINARY_DIR "/vellomira";

// True when the child has written nothing more within the time.
bool Quiet(ChildProcess& child, int milliseconds)
{
    pollfd watch{child.output, POLLIN, 0};
    return poll(&watch, 1, milliseconds) == 0;
}
} // namespace

TEST(GameEndToEnd, WithoutCellListPrintsBannerWaitsForALineAndFails)
{
    ChildProcess game = StartChild(GAME, MakeTemporaryDirectory());
    ASSERT_GT(game.pid, 0);
    const char* expected[] = {"######################",
                              "#                    #",
                              "#  Vellomira v.0.3a  #",
                              "#     by  Tarvel     #",
                              "#                    #",
                              "######################",
                              "",
                              "",
                              "InitVar...",
                              "Error -> cell.ini"};
    // Every line must arrive while the game still waits for its line of input.
    for (const char* line : expected)
        EXPECT_EQ(ReadChildLine(game), line);
    EXPECT_TRUE(Quiet(game, 200)) << "the game must wait for a line";
    WriteChild(game, "\n");
    EXPECT_EQ(ReadChildLine(game), "") << "nothing more is printed";
    EXPECT_EQ(WaitChild(game), 1);
}
