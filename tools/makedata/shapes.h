// Soft-edged shapes on the canvas, in body units: discs, rings, ellipses and tapered strokes.
#pragma once
#include "tools/makedata/canvas.h"

#include <cstdint>

struct Point {
    double u, v;
};

// The edge softness used by every shape: a little over one pixel.
double EdgeSoftness(const Canvas& canvas);

void PaintDisc(Canvas& canvas, Point centre, double radius, Rgb color, double alpha);
// A disc that is denser toward its rim, like a vesicle seen through a microscope.
void PaintVesicle(Canvas& canvas, Point centre, double radius, Rgb color, double alpha);
void PaintRing(Canvas& canvas, Point centre, double radius, double thickness, Rgb color,
               double alpha);
// An ellipse with half-axes a (across) and b (along), turned clockwise by the angle (radians).
void PaintEllipse(Canvas& canvas, Point centre, double a, double b, double angle, Rgb color,
                  double alpha);
// A stroke through the points, its width (pixels) going from startWidth to endWidth; painted
// once per pixel, so a translucent stroke shows no beads at its joints.
void PaintStroke(Canvas& canvas, const Point* points, int32_t count, double startWidth,
                 double endWidth, Rgb color, double alpha);
