#include "game/startup/startup.h"

int main()
{
    return RunGame();
}
