// One frame image of a cell type, drawn from its recipe.
#pragma once
#include "tools/makedata/canvas.h"
#include "tools/makedata/eye_sockets.h"
#include "tools/makedata/recipe.h"

// Draws frame k (0 .. frames - 1). The sockets (count may be 0) are drawn over the body.
RgbImage DrawOrganism(const Recipe& recipe, int32_t frame, const EyeSocket* sockets,
                      int32_t socketCount);
