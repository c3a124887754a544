// Where the window system does not say which kind of pointer moved, the pointer is the mouse
// of SDL's relative mode, which turns an absolute device's positions into motion itself on
// such systems; VELLOMIRA_POINTER=absolute asks for the pointer's position instead.
#include "runtime/platform/sdl2/sdl2_display.h"

void Sdl2WatchPointerKind(SDL_Window*) {}

void Sdl2StopWatchingPointerKind() {}

int32_t Sdl2PointerIsAbsolute()
{
    return 0;
}
