// Two threads per quad: the caller draws the upper rows of a quad while a persistent helper
// thread draws the lower rows, so both cores share every large quad. Rows never overlap, so
// the picture is exactly the one-thread picture.
#pragma once
#include "runtime/display/quad_rasterizer.h"

// Starts the helper thread unless it runs; false when no thread can be made, and quads are
// then drawn by the caller alone. Made once and kept: nothing is allocated per quad or frame.
bool StartQuadHelper();
// Stops and joins the helper thread; quads are drawn by the caller alone until the next start.
void StopQuadHelper();
// Draws a prepared quad, sharing its rows with the helper when it runs and the quad is tall
// enough to be worth it; returns when every row is drawn. Called from one thread at a time.
void DrawQuadShared(const QuadSetup& quad);
