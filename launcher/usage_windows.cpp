// The words of the launcher that name places on Windows.
#include "launcher/launch_options.h"
#include "launcher/player_folder.h"

const char* const LAUNCHER_USAGE =
    "usage: vellomira [--windowed] [--world DIR] [--screenshot-dir DIR]\n"
    "       vellomira --help | --version\n"
    "Starts the game in your own folder, %LOCALAPPDATA%\\Vellomira: pref.ini is kept there,\n"
    "the world is copied in at every start, and your own cell types in its mods\\ folder are\n"
    "added after the world's. vellomira.log there keeps the messages of the last start.\n"
    "  --windowed            play in a window you can resize and close\n"
    "  --world DIR           play the world in DIR (a folder with cell\\ and gfx\\)\n"
    "  --screenshot-dir DIR  where F12 saves screenshots (default: screenshots\\ in your folder)\n"
    "  --help, --version     this text; the version\n"
    "In pref.ini, a section after the game's keys keeps the same choices for every start:\n"
    "  [Launcher]\n"
    "  Windowed = yes\n"
    "  ScreenshotDir = C:\\Users\\you\\Pictures\n";

const char PLAYER_FOLDER_UNKNOWN[] = "LOCALAPPDATA names no folder to play in";
