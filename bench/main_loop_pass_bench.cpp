// One whole pass of the main loop on the headless screen at 1024 x 768: keys, mouse, player,
// bubbles, cells, the light and the darkness, the overlay, the cursor and the flip (which does
// not wait headless). The world holds 200 cells of 64 pixels near the player's start.
#include "game/game.h"
#include "tests/game/game_data.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>

namespace {
void MainLoopPass(benchmark::State& state)
{
    ScratchFolder folder;
    std::string definition = "Type = 1\r\nFront = 1\r\nmentionradius = 3|3\r\n";
    WriteGameData({{200, definition, {SolidPng(64, 64, 0x40FF40), SolidPng(64, 64, 0x40C0FF)}}},
                  SolidPng(64, 64, 0xFF4040), SolidPng(12, 12, 0x8090A0));
    OpenConsoleOn(::open("/dev/null", O_RDONLY), ::open("/dev/null", O_WRONLY));
    ClearGlobals();
    int status = 0;
    if (!StartGame(status)) {
        state.SkipWithError("the start-up failed");
        return;
    }
    // Gather the cells around the player so that they are drawn.
    ResetList(CellList);
    while (Cell* cell = NextElementOf<Cell>(CellList)) {
        cell->x = PlayerX - 600 + static_cast<float>(Random(1200));
        cell->y = PlayerY - 500 + static_cast<float>(Random(1000));
    }
    for (auto _ : state)
        RunMainLoopPass();
    QuitSequence();
}
BENCHMARK(MainLoopPass)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
