// The outline of a cell body in one frame: signed distance (negative inside) and points on it.
#pragma once
#include "tools/makedata/recipe.h"

// The body as drawn in one frame: the recipe's shape with the frame's phase applied.
struct Body {
    BodyRecipe shape;
    double phase = 0;    // 0 .. 1 over the animation
    bool cycle = false;  // phase wraps around (looping frames)
    double lobePhase[2]; // where the amoeboid bulges sit in this frame
    double helixPoints[2][41];
};

// The frame phase: k / n for looping frames, k / (n - 1) for frames that run back and forth.
double FramePhase(int32_t frame, int32_t frames, bool cycle);
// A periodic motion over the frames: a full sine period for looping frames, half a period
// (the game plays it forth and back) otherwise. offset shifts it, in periods.
double Oscillation(double phase, bool cycle, double offset);

Body MakeBody(const BodyRecipe& recipe, double phase, bool cycle, uint32_t seed);
double BodyDistance(const Body& body, double u, double v);
// The point where the ray from the centre at the angle (degrees, clockwise from the front)
// leaves the body.
void BodyOutline(const Body& body, double degrees, double& u, double& v);

// Length and width of the body in this frame (stretching keeps the area; pulsing scales both).
void BodyExtent(const Body& body, double& length, double& width);
// A point inside the body for (x, y) in -1 .. 1, following the body as it stretches or winds.
void InnerPoint(const Body& body, double x, double y, double& u, double& v);
