// The start-up sequence of the game, from the first console line to the main loop.
#include "game/game.h"

#include <cstdio>

void BuildTitles()
{
    BuildDate = FormatDate("%yy%mm%dd%hh%ii", BuildTime);
    VersionText = "v.0.3a Built " + BuildDate;
    TitleText = "Vellomira " + VersionText + " by Tarvel";
}

void PrintBanner()
{
    static const char* const lines[] = {
        "######################", "#                    #", "#  Vellomira v.0.3a  #",
        "#     by  Tarvel     #", "#                    #", "######################", "", ""};
    for (const char* line : lines)
        PrintLine(line);
}

namespace {
// The first byte of the cell type list, or false when the list cannot be opened.
bool ReadCellTypeCount()
{
    std::FILE* list = std::fopen("cell/cell.ini", "rb");
    if (!list)
        return false;
    int first = std::fgetc(list);
    std::fclose(list);
    CellTypeCount = first == EOF ? 0 : static_cast<int8_t>(first);
    return true;
}
} // namespace

int RunGame()
{
    ClearGlobals();
    OpenConsole();

    BuildTitles();
    ConsoleTitle(TitleText);
    PrintBanner();

    PrintLine("InitVar...");
    InitGlobals();
    BuildTrigTables();
    if (!ReadCellTypeCount())
        return FatalError("Error -> cell.ini");
    SizeTables();

    EndSequence();
    return 0;
}
