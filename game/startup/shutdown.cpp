// The end of the program: the quit after the main loop, the fatal-error path and the release
// of the runtime services.
#include "game/startup/startup.h"
#include "game/data/globals.h"

int QuitSequence()
{
    CloseScreen();
    PrintLine("Quit...");
    Delay(100);
    EndSequence();
    return 0;
}

int FatalError(const char* message, const std::string& hint)
{
    CloseScreen();
    PrintLine(message);
    if (!hint.empty())
        PrintHint(hint);
    if (ConsoleInputIsTerminal())
        PrintHint("Press Enter to end the game.");
    ReadConsoleLine();
    EndSequence();
    return 1;
}

void EndSequence()
{
    // The fixed order. A preferences file still open and changed is written back before the
    // numbered files close; the screen goes with the sprites.
    FreeAllSprite3D();
    FreeAllSounds();
    ClosePreferences();
    ClosePack();
    ReleaseMouseDevice();
    ReleaseKeyboard();
    EndSprite();
    CloseAllFiles();
    FreeList(CellList);
    FreeList(BubbleList);
}
