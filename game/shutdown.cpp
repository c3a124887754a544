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
    FreeList(CellList);
    FreeList(BubbleList);
}
