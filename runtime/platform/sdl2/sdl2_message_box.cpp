// Messages in a box of the desktop's own, through SDL, for programs that have no window of
// their own (the launcher) as much as for the game.
#include "runtime/platform/platform.h"

#include <SDL.h>
#include <cstring>

int32_t PlatformShowMessage(const char* title, const char* text)
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return 0;
    // The dummy and off-screen drivers show nothing, and a box that nobody sees would wait
    // for ever: the tests run on them.
    const char* driver = SDL_GetCurrentVideoDriver();
    bool shows =
        driver && std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0;
    int32_t shown =
        shows && SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title, text, nullptr) == 0;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return shown;
}
