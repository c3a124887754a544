// The player's own folder, where the game runs: pref.ini and the screenshots stay there, mods/
// holds the player's own cell types, and cell/ and gfx/ are made anew from the world at every
// start, so that an update of the installed world reaches the player and nothing of the
// player's is ever overwritten by it.
#pragma once
#include <string>

// $XDG_DATA_HOME/vellomira, or ~/.local/share/vellomira; empty when neither can be told.
std::string PlayerFolderPath();

// Lays the world out in the folder: gfx linked to the world's, cell/ a folder of links to the
// world's list and packs (whatever else was in cell/ goes), mods/ made when missing. Empty
// on success, else the problem.
std::string LinkWorld(const std::string& world, const std::string& folder);

// Whether the folder holds anything (the player's own types in mods/).
bool FolderHasEntries(const std::string& folder);
