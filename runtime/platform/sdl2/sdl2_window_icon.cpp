// The window's icon: the pixels makedata --icons drew from the sample world, width and height
// first.
#include "runtime/platform/sdl2/sdl2_display.h"

const uint32_t SDL2_WINDOW_ICON[] = {
#include "window_icon.inc"
};
