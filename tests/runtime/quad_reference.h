// A plain, slow drawing of the quad rasterizer's picture, pixel by pixel, that the fast
// paths are checked against: each pixel centre is tested against the edges of each triangle
// and its texel coordinates come from barycentric weights.
#pragma once
#include "runtime/display/quad_rasterizer.h"

void ReferenceDrawQuad(Surface& target, const Surface& texture, const TLVertex vertices[4],
                       const QuadState& state);
