// The start-up sequence of the game, from the first console line to the main loop.
#include "game/startup/startup.h"
#include "game/data/data.h"
#include "game/data/globals.h"
#include "game/simulation/simulation.h"

void BuildTitles()
{
    BuildDate = FormatDate("%yy%mm%dd%hh%ii", BUILD_TIME);
    VersionText = std::string("v.") + GAME_VERSION + " Built " + BuildDate;
    TitleText = "Vellomira " + VersionText + " by Tarvel";
}

void PrintBanner()
{
    static const char* const lines[] = {"######################",
                                        "#                    #",
                                        "#  Vellomira v.0.3a  #",
                                        "#     by  Tarvel     #",
                                        "#                    #",
                                        "######################",
                                        "",
                                        ""};
    for (const char* line : lines)
        PrintLine(line);
}

bool StartGame(int& status)
{
    BuildTitles();
    ConsoleTitle(TitleText);
    PrintBanner();

    PrintLine("InitVar...");
    InitGlobals();
    BuildTrigTables();
    if (!OpenCellTypeList()) {
        status = FatalError("Error -> cell.ini", MissingCellListHint());
        return false;
    }
    SizeTables();
    ReadCellTypeCounts();
    ScatterBubbles();

    InitServices();
    LoadOrCreatePreferences();
    if (!OpenGameScreen()) {
        status = FatalError("Unable! Check Preferences...", ScreenHint());
        return false;
    }
    AnnounceFirstStage();
    LoadImageSprites();
    std::string error = LoadCellTypes();
    if (!error.empty()) {
        status = FatalError(error.c_str(), CellTypeHint(error));
        return false;
    }
    AnnounceStage(10, "CreatingSprites...");
    CreateDrawnSprites();
    AnnounceStage(30, "CreatingSprite3Ds...");
    CreateSprite3Ds();
    AnnounceStage(50, "LoadingSounds...");
    PlacePlayerAndCamera();
    return true;
}

int RunGame()
{
    ClearGlobals();
    OpenConsole();
    int status = 0;
    if (!StartGame(status))
        return status;
    RunMainLoop();
    return QuitSequence();
}
