// The words of the launcher that name places on POSIX systems.
#include "launcher/launch_options.h"
#include "launcher/player_folder.h"

const char* const LAUNCHER_USAGE =
    "usage: vellomira [--windowed] [--world DIR] [--screenshot-dir DIR]\n"
    "       vellomira --help | --version\n"
    "Starts the game in your own folder, $XDG_DATA_HOME/vellomira (~/.local/share/vellomira):\n"
    "pref.ini is kept there, the world is linked in at every start, and your own cell types\n"
    "in its mods/ folder are added after the world's. vellomira.log there keeps the messages\n"
    "of the last start.\n"
    "  --windowed            play in a window you can resize and close\n"
    "  --world DIR           play the world in DIR (a folder with cell/ and gfx/)\n"
    "  --screenshot-dir DIR  where F12 saves screenshots (default: screenshots/ in your folder)\n"
    "  --help, --version     this text; the version\n"
    "In pref.ini, a section after the game's keys keeps the same choices for every start:\n"
    "  [Launcher]\n"
    "  Windowed = yes\n"
    "  ScreenshotDir = /home/you/Pictures\n";

const char PLAYER_FOLDER_UNKNOWN[] = "neither XDG_DATA_HOME nor HOME names a folder to play in";
