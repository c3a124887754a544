// The launcher's command line and the settings a player may keep in the [Launcher] section
// of pref.ini, which the game's own keys never reach (the game reads only the lines before
// the first section).
#pragma once
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
};

// The [Launcher] section of the pref.ini text: "Windowed = 1" and "ScreenshotDir = DIR"
// (section and keys in any letter case). Missing keys keep the defaults.
PreferenceSettings ReadLauncherSection(const std::string& text);

extern const char* const LAUNCHER_USAGE;
