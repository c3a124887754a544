// The sample world's cell types as data/ describes them: for type t the definition text
// cells/NNN.ini (packed as it is) and the recipe of its images cells/NNN.recipe.
#pragma once
#include "tools/makedata/recipe.h"

#include <string>
#include <vector>

struct CellTypeSource {
    int32_t number = 0;
    std::string definitionPath;
    std::string recipePath;
    Recipe recipe;
    int32_t sizeMin = 64, sizeMax = 64; // the "size" range of the definition
};

// The types 1, 2, ... for as long as both files exist. Empty text on success, else the problem
// with the file named.
std::string FindCellTypes(const std::string& dataDir, std::vector<CellTypeSource>& types);
// cell.ini: the type count, then per type its spawn count (16-bit) and frame count (8-bit).
std::vector<uint8_t> CellTypeList(const std::vector<CellTypeSource>& types);
std::string ThreeDigits(int32_t n);
