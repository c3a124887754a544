// A checkout of the data step for the tests of authors' work.
#include "tests/tools/data_checkout.h"

#include "game/data/globals.h"
#include "game/simulation/simulation.h"
#include "game/startup/startup.h"
#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <fcntl.h>

namespace fs = std::filesystem;

void MakeDataCheckout()
{
    fs::path source = VELLOMIRA_SOURCE_DIR, binary = VELLOMIRA_BINARY_DIR;
    fs::create_directories("scripts");
    fs::copy(source / "scripts/make_data.sh", "scripts/make_data.sh");
    fs::copy(source / "data", "data", fs::copy_options::recursive);
    for (const fs::directory_entry& entry : fs::directory_iterator("data/cells"))
        if (entry.path().stem().string() > "003")
            fs::remove(entry.path());
    fs::create_directories("build");
    for (const char* tool : {"cellpack", "makedata"})
        fs::create_symlink(binary / tool, fs::path("build") / tool);
}

void ExpectTheGameLoadsAndPlays(const fs::path& run)
{
    fs::path home = fs::current_path();
    fs::current_path(run);
    static const int quiet = ::open("/dev/null", O_RDWR);
    ClearGlobals();
    OpenConsoleOn(quiet, quiet);
    int status = -1;
    bool started = StartGame(status);
    EXPECT_TRUE(started) << "status " << status;
    for (int32_t t = 1; t <= CellTypeCount; ++t)
        for (int32_t k = 0; k < CellTypes[size_t(t)].FrameCount; ++k)
            EXPECT_NE(CellSprite(t, k)[0], 0) << "type " << t << ", frame " << k + 1;
    if (started) {
        EXPECT_TRUE(RunMainLoopPass());
        EXPECT_EQ(QuitSequence(), 0);
    }
    fs::current_path(home);
}
