// Authors' own cell types, one folder each: NAME/definition.ini, the frames NAME/*.png,
// *.jpg or *.jpeg in natural order of their names, and optionally NAME/spawn.txt with the
// number of cells of the type at start.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Cells of a type at start when its folder has no spawn.txt.
constexpr int32_t DEFAULT_MOD_SPAWN = 10;

struct ModFolder {
    std::string path;               // the type's folder
    std::vector<std::string> files; // definition.ini, then the frames in order
    int32_t spawn = DEFAULT_MOD_SPAWN;
    std::string problem;                  // why the folder is no type, or "" (its path left out)
    std::vector<std::string> otherImages; // images the game cannot read, left out of the type
};

// The type folders below the folder, in natural order of their names (hidden ones left out);
// none when the folder does not exist.
std::vector<ModFolder> FindModFolders(const std::string& folder);
// Whether a comes before b with runs of digits compared by their value: frame2 before frame10.
bool NaturalLess(const std::string& a, const std::string& b);
