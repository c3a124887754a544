// A small world for the simulation tests: the default globals and tables, a few cell types,
// and the player and camera placed as start-up places them.
#pragma once
#include "game/data/globals.h"
#include "game/simulation/simulation.h"

inline void SetUpWorld(int32_t typeCount = 3)
{
    ClearGlobals();
    InitGlobals();
    BuildTrigTables();
    CellTypeCount = typeCount;
    SizeTables();
    PlayerX = PlayerY = 4968.0f;
    ScreenPosX = 4488;
    ScreenPosY = 4616;
    RandomSeed(12345);
}

// A cell of size 64 at (x, y), everything else zero as the list hands it out.
inline Cell MakeCell(int8_t type, float x, float y)
{
    Cell cell{};
    cell.type = type;
    cell.x = x;
    cell.y = y;
    cell.size = 64;
    return cell;
}
