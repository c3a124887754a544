// The simulation part of a pass: every cell's motion, behaviour, animation and, for the cells
// near the screen, perception, over a list of the size the world is filled with.
#include "game/data/globals.h"
#include "game/simulation/simulation.h"

#include <benchmark/benchmark.h>

namespace {
void MakeWorld(int32_t cells)
{
    ClearGlobals();
    InitGlobals();
    BuildTrigTables();
    CellTypeCount = 3;
    SizeTables();
    for (int32_t t = 1; t <= 3; ++t) {
        CellTypes[t].Type = static_cast<int8_t>(t - 1);
        CellTypes[t].Front = static_cast<int8_t>(t - 1);
        CellTypes[t].FrameCount = 8;
    }
    PlacePlayerAndCamera();
    RandomSeed(1);
    for (int32_t i = 0; i < cells; ++i) {
        Cell* cell = AddElementOf<Cell>(CellList);
        cell->type = static_cast<int8_t>(1 + i % 3);
        cell->size = 64;
        cell->x = static_cast<float>(Random(WorldWidth));
        cell->y = static_cast<float>(Random(WorldHeight));
        cell->angle = static_cast<float>(Random(360));
        cell->angle_s = cell->norm_angle_s = cell->flew_angle_s = 1.5f;
        cell->idle_anispeed = cell->flew_anispeed = 0.1f;
        cell->norm_movespeed = 1;
        cell->flew_movespeed = 3;
        cell->accelaration = 0.2f;
        cell->mentionradius = 300;
    }
}

void CellPass(benchmark::State& state)
{
    MakeWorld(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        ResetList(CellList);
        while (Cell* cell = NextElementOf<Cell>(CellList))
            PassCell(*cell, [](const Cell& near) { benchmark::DoNotOptimize(ImageIndex(near)); });
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    ClearGlobals();
}
BENCHMARK(CellPass)->Arg(100)->Arg(1000)->Arg(10000);
} // namespace

BENCHMARK_MAIN();
