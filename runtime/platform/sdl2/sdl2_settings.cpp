// The launcher's choices for the desktop window, from the environment it set.
#include "runtime/platform/sdl2/sdl2_display.h"

#include <cstdlib>
#include <cstring>

namespace {
Sdl2Settings ReadSettings()
{
    Sdl2Settings settings;
    const char* windowed = std::getenv("VELLOMIRA_WINDOWED");
    settings.windowed = windowed && std::strcmp(windowed, "1") == 0;
    const char* folder = std::getenv("VELLOMIRA_SCREENSHOT_DIR");
    if (folder && *folder)
        settings.screenshotFolder = folder;
    const char* pointer = std::getenv("VELLOMIRA_POINTER");
    settings.absolutePointer = pointer && std::strcmp(pointer, "absolute") == 0;
    return settings;
}
} // namespace

const Sdl2Settings& Sdl2Options()
{
    static const Sdl2Settings settings = ReadSettings();
    return settings;
}
