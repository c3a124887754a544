// Writing the generator's images to files.
#pragma once
#include "tools/makedata/canvas.h"

#include <string>

bool SaveImage(const std::string& path, const RgbImage& image);
