// The game's icon: one cell of the sample world in a pool of light on the dark water, drawn at
// the size asked, and its pixels as source text for the window's own icon.
#pragma once
#include "tools/makedata/canvas.h"
#include "tools/makedata/cell_types.h"

#include <string>
#include <vector>

// The type the icon shows: the two-eyed one when the world has it, else the first; none for a
// world without types.
const CellTypeSource* IconCellType(const std::vector<CellTypeSource>& types);
// A square image of size x size pixels, opaque.
RgbImage DrawIcon(const CellTypeSource& type, int32_t size);
// The image as the text of a C++ initialiser: width, height, then 0xAARRGGBB pixels row by row.
std::string IconSource(const RgbImage& image);
