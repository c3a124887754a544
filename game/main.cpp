#include "game/game.h"

int main()
{
    return RunGame();
}
