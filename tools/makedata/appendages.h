// What sticks out of a cell: cilia beating in metachronal waves, flagella with travelling
// waves, and stiff axopods with beads running along them.
#pragma once
#include "tools/makedata/body.h"
#include "tools/makedata/canvas.h"
#include "tools/makedata/recipe.h"

void PaintCilia(Canvas& canvas, const Body& body, const Recipe& recipe);
void PaintFlagella(Canvas& canvas, const Body& body, const Recipe& recipe);
void PaintAxopods(Canvas& canvas, const Body& body, const Recipe& recipe);
