// The player's own folder, where the game runs: pref.ini and the screenshots stay there, mods/
// holds the player's own cell types, and cell/ and gfx/ show the world, made anew at every
// start so that an update of the installed world reaches the player. Whatever of the player's
// is found in cell/ or gfx/ is moved to kept/ and named, never removed.
#pragma once
#include <functional>
#include <string>

// $XDG_DATA_HOME/vellomira, or ~/.local/share/vellomira (Windows: %LOCALAPPDATA%\Vellomira);
// empty when it cannot be told.
std::string PlayerFolderPath();
// Why PlayerFolderPath told none, for people.
extern const char PLAYER_FOLDER_UNKNOWN[];

// Lays the world out in the folder while holding the folder's lock: mods/ made when missing,
// cell/ made beside from the world's list and packs, then handed to addOwnTypes (given the
// folder that holds it, as a world) and put in place in one step, and gfx/ showing the
// world's. Empty on success, else the problem.
std::string PrepareFolder(const std::string& world, const std::string& folder,
                          const std::function<void(const std::string&)>& addOwnTypes);

// Whether the folder holds anything (the player's own types in mods/).
bool FolderHasEntries(const std::string& folder);
