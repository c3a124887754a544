// One frame image of a cell type, drawn from its recipe.
#pragma once
#include "tools/makedata/canvas.h"
#include "tools/makedata/eye_sockets.h"
#include "tools/makedata/recipe.h"

// Paints frame k (0 .. frames - 1) on a canvas of the recipe's image size; the sockets (count
// may be 0) are painted over the body.
Canvas PaintOrganism(const Recipe& recipe, int32_t frame, const EyeSocket* sockets,
                     int32_t socketCount);
// The same frame flattened onto the color key, as the game's sprites take it.
RgbImage DrawOrganism(const Recipe& recipe, int32_t frame, const EyeSocket* sockets,
                      int32_t socketCount);
