// The start-up and shut-down sequence of the game.
#include "game/game.h"

int RunGame()
{
    return 0;
}
