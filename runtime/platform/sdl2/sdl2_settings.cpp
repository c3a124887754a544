// The launcher's choices for the desktop window, from the environment it set.
#include "runtime/platform/sdl2/sdl2_display.h"
#include "runtime/platform/system.h"

namespace {
Sdl2Settings ReadSettings()
{
    Sdl2Settings settings;
    std::string windowed, folder, pointer;
    settings.windowed = SystemEnvironment("VELLOMIRA_WINDOWED", windowed) && windowed == "1";
    if (SystemEnvironment("VELLOMIRA_SCREENSHOT_DIR", folder) && !folder.empty())
        settings.screenshotFolder = folder;
    settings.absolutePointer =
        SystemEnvironment("VELLOMIRA_POINTER", pointer) && pointer == "absolute";
    return settings;
}
} // namespace

const Sdl2Settings& Sdl2Options()
{
    static const Sdl2Settings settings = ReadSettings();
    return settings;
}
