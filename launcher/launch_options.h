// The launcher's command line and the settings a player may keep in the [Launcher] section
// of pref.ini, which the game's own keys never reach (the game reads only the lines before
// the first section).
#pragma once
#include <filesystem>
#include <string>
#include <vector>

struct LaunchOptions {
    bool help = false;
    bool version = false;
    bool windowed = false;
    std::string world;         // empty: the installed world
    std::string screenshotDir; // empty: from pref.ini, else the player's folder's screenshots/
};

// Parses the arguments after the program name; false with the problem in error.
bool ParseLaunchOptions(const std::vector<std::string>& arguments, LaunchOptions& options,
                        std::string& error);

struct PreferenceSettings {
    bool windowed = false;
    std::string screenshotDir;
    std::vector<std::string> warnings; // values not understood, each naming its key
};

// The [Launcher] section of the pref.ini text: "Windowed = yes" (or no, true, false, on, off,
// 1, 0) and "ScreenshotDir = DIR" (section, keys and words in any letter case). Missing keys,
// and values not understood, keep the defaults.
PreferenceSettings ReadLauncherSection(const std::string& text);

// The folder a player named: "~" and "~/..." lie in the home folder, a relative name below
// base. "" with the folder in path, or the problem (a "~" while HOME names no folder) and
// path unchanged.
std::string PlayerPath(const std::string& name, const std::filesystem::path& base,
                       std::filesystem::path& path);

extern const char* const LAUNCHER_USAGE;
