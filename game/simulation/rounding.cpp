// Rounding of the game's float values to integers and to indexes of the trigonometry tables.
#include "game/game.h"

#include <cmath>

int32_t RoundToInteger(double value)
{
    // The default rounding mode rounds halves to even, as float-to-integer assignment does.
    return TruncateToInteger(std::nearbyint(value));
}

int32_t TrigIndex(float angle)
{
    // Multiplied in double: a float product could round 0.7 * 10 up to 7 where the tenths
    // truncate to 6.
    int32_t index = TruncateToInteger(double{angle} * 10.0);
    if (index < 0)
        return 0;
    if (index > TrigTableSize - 1)
        return TrigTableSize - 1;
    return index;
}
