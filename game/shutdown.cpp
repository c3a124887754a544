// The end of the program: the fatal-error path and the release of the runtime services.
#include "game/game.h"

int FatalError(const char* message)
{
    PrintLine(message);
    ReadConsoleLine();
    EndSequence();
    return 1;
}

void EndSequence()
{
    // The fixed order: a preferences file still open and changed is written back before the
    // numbered files close.
    ClosePreferences();
    CloseAllFiles();
    FreeList(CellList);
    FreeList(BubbleList);
}
