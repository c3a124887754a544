// The three-digit numbers in the names of the cell type files and in their error lines.
#include "game/game.h"

std::string ThreeDigitNumber(int32_t n)
{
    if (n < 10)
        return "00" + IntegerToText(n);
    if (n < 100)
        return "0" + IntegerToText(n);
    return IntegerToText(n);
}
