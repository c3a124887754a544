// A checkout of the data step in the working folder, as an author has one: the script, the
// sample data and the built tools, and the game started on the world it makes.
#pragma once
#include <filesystem>

// scripts/make_data.sh, data/ with its first three sample types (which keeps the drawing
// short) and build/ with links to the built cellpack and makedata.
void MakeDataCheckout();
// Starts the game in the folder as the player does, checks that every type loaded with all
// its frames and plays a pass; the game's tables stay for the caller to look at.
void ExpectTheGameLoadsAndPlays(const std::filesystem::path& run);
