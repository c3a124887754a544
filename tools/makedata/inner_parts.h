// What lies inside a cell: nucleus, vacuoles, granules, plastids, colony cells, shell ribs and
// the girdle of an armoured flagellate.
#pragma once
#include "tools/makedata/body.h"
#include "tools/makedata/canvas.h"
#include "tools/makedata/recipe.h"

void PaintNucleus(Canvas& canvas, const Body& body, const Recipe& recipe);
void PaintVacuoles(Canvas& canvas, const Body& body, const Recipe& recipe);
void PaintGranules(Canvas& canvas, const Body& body, const Recipe& recipe);
void PaintPlastids(Canvas& canvas, const Body& body, const Recipe& recipe);
void PaintColony(Canvas& canvas, const Body& body, const Recipe& recipe);
void PaintStriae(Canvas& canvas, const Body& body, const Recipe& recipe);
void PaintGirdle(Canvas& canvas, const Body& body, const Recipe& recipe);
