// The page's settings panel reads and writes the five values of pref.ini through the game's
// own procedures, so the file keeps the one layout and the one set of defaults the game gives
// it. Called on an instance of the program whose game has not started.
#include "game/data/data.h"
#include "game/data/globals.h"

#include <emscripten.h>

namespace {
// The globals at their start values; the lists they make are not needed here.
void StartValues()
{
    InitGlobals();
    FreeList(BubbleList);
    FreeList(CellList);
}
} // namespace

extern "C" {
// Width, Height, Depth, Bilineare Filterung and FPS anzeige Frequenz as the game would start
// with them: the defaults, replaced by those of pref.ini when it exists.
EMSCRIPTEN_KEEPALIVE void WebReadPreferences(int32_t values[5])
{
    StartValues();
    if (FileSize(PREFERENCES_NAME) != -1)
        ReadGamePreferences();
    ClosePreferences();
    values[0] = ScreenWidth;
    values[1] = ScreenHeight;
    values[2] = ScreenDepth;
    values[3] = BilinearFiltering;
    values[4] = FpsDisplay;
}

// Writes pref.ini anew with the five values, each kept to the width the game stores it in.
// 1 when the file was written.
EMSCRIPTEN_KEEPALIVE int32_t WebWritePreferences(const int32_t values[5])
{
    StartValues();
    ScreenWidth = int16_t(values[0]);
    ScreenHeight = int16_t(values[1]);
    ScreenDepth = int8_t(values[2]);
    BilinearFiltering = int8_t(values[3]);
    FpsDisplay = int8_t(values[4]);
    WriteDefaultPreferences();
    ClosePreferences();
    return FileSize(PREFERENCES_NAME) > 0 ? 1 : 0;
}
}
