// A preview of all the generated images on the water color, one row per image set.
#pragma once
#include "tools/makedata/canvas.h"

#include <vector>

// Rows of images laid out left to right, a gap between them, on the water color.
RgbImage ContactSheet(const std::vector<std::vector<RgbImage>>& rows);
