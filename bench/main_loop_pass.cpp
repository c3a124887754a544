// Whole passes of the main loop on the headless 1024 x 768 x 32 screen: keys, mouse, player,
// every cell's update, the drawing of the world, the overlay and the flip. The world is the
// sample data of a run folder (argument, default run/) with its cells as they are and with 10
// and 100 times as many; a second benchmark times the start-up to the first frame.
//
//   build/bench/main_loop_pass [benchmark flags] [RUN_FOLDER]
#include "game/data/globals.h"
#include "game/simulation/simulation.h"
#include "game/startup/startup.h"
#include "runtime/platform/headless.h"
#include "runtime/platform/system.h"
#include "tools/soak/soak_world.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {
fs::path SampleFolder = "run";

// A copy of the sample folder in which every type spawns factor times as many cells.
fs::path ScaledWorld(int32_t factor)
{
    fs::path copy = fs::temp_directory_path() / ("vellomira-pass-x" + std::to_string(factor));
    fs::remove_all(copy);
    std::string problem = CopyWorld(SampleFolder.string(), copy.string(), factor);
    if (!problem.empty())
        std::fprintf(stderr, "%s\n", problem.c_str());
    return copy;
}

// The real start-up in the folder, with the console's lines thrown away.
bool StartIn(const fs::path& folder)
{
    static const int quiet = SystemOpenFile(SYSTEM_NULL_DEVICE, O_RDWR);
    fs::current_path(folder);
    ClearGlobals();
    OpenConsoleOn(quiet, quiet);
    int status = 0;
    return StartGame(status);
}

void WholePass(benchmark::State& state)
{
    fs::path home = fs::current_path();
    fs::path world = ScaledWorld(int32_t(state.range(0)));
    if (!StartIn(world)) {
        fs::current_path(home);
        state.SkipWithError("the start-up failed: is the sample data in the run folder?");
        return;
    }
    // The player swims toward a cursor ahead and to the right, so the camera scrolls and new
    // cells come into the light.
    HeadlessMouseMove(300, -200);
    HeadlessMouseButton(1, 1);
    for (auto _ : state)
        RunMainLoopPass();
    HeadlessMouseButton(1, 0);
    state.counters["cells"] = double(ListSize(CellList));
    QuitSequence();
    fs::current_path(home);
    fs::remove_all(world);
}
BENCHMARK(WholePass)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void StartUpToFirstFrame(benchmark::State& state)
{
    fs::path home = fs::current_path();
    fs::path world = ScaledWorld(1);
    for (auto _ : state) {
        if (!StartIn(world)) {
            state.SkipWithError("the start-up failed: is the sample data in the run folder?");
            break;
        }
        RunMainLoopPass();
        state.PauseTiming();
        QuitSequence();
        fs::remove(world / "pref.ini");
        fs::current_path(home);
        state.ResumeTiming();
    }
    fs::current_path(home);
    fs::remove_all(world);
}
BENCHMARK(StartUpToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(5);
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fprintf(stderr, "usage: %s [benchmark flags] [RUN_FOLDER]\n", argv[0]);
        return 2;
    }
    if (argc == 2)
        SampleFolder = argv[1];
    SampleFolder = fs::absolute(SampleFolder);
    if (!fs::is_directory(SampleFolder / "cell")) {
        std::fprintf(stderr, "%s: no sample world (cell/) in %s\n", argv[0],
                     SampleFolder.string().c_str());
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
