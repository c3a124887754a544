// What a world folder must hold for the game to show it, checked before a start: without the
// list the game stops at once, and without the images it would start with no player and no
// bubbles and say nothing.
#pragma once
#include <string>

// The files the world lacks, named for people ("cell/cell.ini, gfx/test.png (the player)");
// empty when it has them all. Names match without regard to letter case, as the game's do.
std::string MissingWorldFiles(const std::string& world);
// The world's folder of that name (cell or gfx) as it is spelt there, or as given when the
// world has none.
std::string WorldFolder(const std::string& world, const std::string& name);
