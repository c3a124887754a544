// The start-up sequence of the game, from the first console line to the main loop.
#include "game/game.h"

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
    if (!OpenCellTypeList())
        return FatalError("Error -> cell.ini");
    SizeTables();
    ReadCellTypeCounts();
    ScatterBubbles();

    LoadOrCreatePreferences();

    EndSequence();
    return 0;
}
