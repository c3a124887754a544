// What the page's tests and benchmark read of the running game: the player's position,
// heading and speed, and the number of cells. Read between two frames, while the game waits
// for the browser.
#include "game/data/globals.h"

#include <emscripten.h>

extern "C" EMSCRIPTEN_KEEPALIVE void WebPlayerState(float values[5])
{
    values[0] = PlayerX;
    values[1] = PlayerY;
    values[2] = PlayerAngle;
    values[3] = PlayerSpeed;
    values[4] = float(ListSize(CellList));
}
