// soak: runs the game on the headless platform with random input for many frames, in a copy of
// a working directory whose cell type list holds more cells, and checks the game as it runs.
#include "game/data/globals.h"
#include "game/simulation/simulation.h"
#include "game/startup/startup.h"
#include "tools/soak/random_input.h"
#include "tools/soak/soak_world.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {
const char* const USAGE =
    "usage: soak RUN_DIR [--frames N] [--cells FACTOR] [--seed S] [--keep]\n"
    "Copies the game's working directory RUN_DIR into a scratch folder, multiplies every spawn\n"
    "count of its cell/cell.ini by FACTOR (10), starts the game there on the headless platform\n"
    "and runs N frames (100000) of random mouse and key input (seed S, 1). After every frame\n"
    "every value of the player and of every cell must be finite and no cell may be lost; the\n"
    "resident memory is reported at frame 1000 and at the last frame. Exit status 0 when the\n"
    "game ran every frame, 1 when it failed.\n";

struct Options {
    std::string run;
    int64_t frames = 100000;
    int32_t factor = 10;
    uint32_t seed = 1;
    bool keep = false;
};

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        auto value = [&](auto& into) {
            if (i + 1 >= argc)
                return false;
            into = decltype(+into)(std::strtoll(argv[++i], nullptr, 10));
            return true;
        };
        bool ok = true;
        if (std::strcmp(argv[i], "--frames") == 0)
            ok = value(options.frames) && options.frames > 0;
        else if (std::strcmp(argv[i], "--cells") == 0)
            ok = value(options.factor);
        else if (std::strcmp(argv[i], "--seed") == 0)
            ok = value(options.seed);
        else if (std::strcmp(argv[i], "--keep") == 0)
            options.keep = true;
        else if (argv[i][0] == '-' || !options.run.empty())
            ok = false;
        else
            options.run = argv[i];
        if (!ok)
            return false;
    }
    return !options.run.empty();
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void ReportMemory(int64_t frame, double seconds)
{
    std::printf("soak: frame %lld after %.1f s: VmRSS %lld KiB, VmHWM %lld KiB\n",
                static_cast<long long>(frame), seconds, static_cast<long long>(ResidentKiB()),
                static_cast<long long>(ResidentKiB("VmHWM")));
    std::fflush(stdout);
}

// The frames, each followed by the checks; empty when all ran, else what went wrong.
std::string RunFrames(const Options& options)
{
    RandomInput input(options.seed);
    const int32_t cells = ListSize(CellList);
    std::printf("soak: %d cells of %d types\n", cells, CellTypeCount);
    auto start = std::chrono::steady_clock::now();
    for (int64_t frame = 1; frame <= options.frames; ++frame) {
        input.NextFrame();
        if (!RunMainLoopPass())
            return "the main loop ended at frame " + std::to_string(frame);
        std::string bad = FirstNonFiniteValue();
        if (!bad.empty())
            return "frame " + std::to_string(frame) + ": " + bad;
        if (ListSize(CellList) != cells)
            return "frame " + std::to_string(frame) + ": the cell count changed";
        if (frame == 1000 || frame == options.frames || frame % 10000 == 0)
            ReportMemory(frame, Seconds(start));
    }
    double seconds = Seconds(start);
    const InputCounts& n = input.Counts();
    std::printf("soak: %lld frames in %.1f s, %.0f frames/s; input: %lld swims, %lld frames "
                "slowed by S, %lld other keys, %lld other buttons, %lld wheel turns, %lld "
                "focus losses\n",
                static_cast<long long>(options.frames), seconds, options.frames / seconds,
                static_cast<long long>(n.leftPresses), static_cast<long long>(n.slowFrames),
                static_cast<long long>(n.keyPresses), static_cast<long long>(n.otherButtons),
                static_cast<long long>(n.wheels), static_cast<long long>(n.focusLosses));
    return {};
}

std::string ScratchWorld()
{
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vellomira-soak-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return {};
    return pattern + "/run";
}
} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    std::string world = ScratchWorld();
    std::string problem = world.empty() ? "cannot make a scratch folder"
                                        : CopyWorld(options.run, world, options.factor);
    if (!problem.empty()) {
        std::fprintf(stderr, "soak: %s\n", problem.c_str());
        return 1;
    }
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(world);
    std::printf("soak: world %s, spawn counts x %d\n", world.c_str(), options.factor);
    std::fflush(stdout);

    ClearGlobals();
    OpenConsole();
    int status = 0;
    if (StartGame(status)) {
        problem = RunFrames(options);
        QuitSequence();
    } else
        problem = "the start-up failed (status " + std::to_string(status) + ")";

    std::filesystem::current_path(previous);
    if (!options.keep)
        std::filesystem::remove_all(std::filesystem::path(world).parent_path());
    if (!problem.empty()) {
        std::printf("soak: FAILED: %s\n", problem.c_str());
        return 1;
    }
    std::printf("soak: passed\n");
    return 0;
}
