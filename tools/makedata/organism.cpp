// A cell seen through the microscope: a faint halo, the appendages behind the body, the
// translucent plasm, the organelles, and a bright membrane drawn last over the edge.
#include "tools/makedata/organism.h"

#include "tools/makedata/appendages.h"
#include "tools/makedata/body.h"
#include "tools/makedata/steady_math.h"
#include "tools/makedata/inner_parts.h"
#include "tools/makedata/rng.h"

#include <cmath>

namespace {
void PaintHalo(Canvas& canvas, const Body& body, const Recipe& recipe)
{
    double reach = 5 * PixelUnit(canvas);
    PaintBox(canvas, -1, -1, 1, 1, [&](double u, double v, Paint& paint) {
        double d = BodyDistance(body, u, v);
        if (d <= 0 || d >= reach)
            return;
        double fade = 1 - d / reach;
        paint.color = recipe.membrane;
        paint.alpha = recipe.halo * fade * fade;
    });
}

// The plasm: granular, clearer in a thin outer layer, denser deeper inside.
void PaintPlasm(Canvas& canvas, const Body& body, const Recipe& recipe)
{
    double pixel = PixelUnit(canvas), soft = 1.2 * pixel;
    uint32_t seed = recipe.seed * 3 + 11;
    PaintBox(canvas, -1, -1, 1, 1, [&](double u, double v, Paint& paint) {
        double d = BodyDistance(body, u, v);
        if (d > soft)
            return;
        // Two octaves on turned lattices, so that no grid shows through.
        double grain = ValueNoise((u * 0.8 - v * 0.6) * 22 + 3, (u * 0.6 + v * 0.8) * 22 + 5, seed);
        double fine = ValueNoise((u * 0.28 + v * 0.96) * 60, (v * 0.28 - u * 0.96) * 60, seed + 1);
        double depth = SmoothStep(2 * pixel, 10 * pixel, -d);
        paint.color = Shade(recipe.plasm, 0.8 + 0.35 * grain + 0.15 * fine);
        paint.alpha =
            recipe.plasmAlpha * (0.55 + 0.45 * depth) * (0.85 + 0.3 * grain) * Coverage(d, soft);
    });
}

void PaintMembrane(Canvas& canvas, const Body& body, const Recipe& recipe)
{
    double pixel = PixelUnit(canvas);
    double thickness = 1.6 * pixel + 0.01;
    PaintBox(canvas, -1, -1, 1, 1, [&](double u, double v, Paint& paint) {
        double d = BodyDistance(body, u, v);
        double centre = -thickness / 2;
        double band = 1 - Clamp(std::fabs(d - centre) / (thickness / 2 + pixel), 0.0, 1.0);
        if (band <= 0)
            return;
        paint.color = recipe.membrane;
        paint.alpha = 0.9 * SmoothStep(0, 1, band);
    });
}
} // namespace

Canvas PaintOrganism(const Recipe& recipe, int32_t frame, const EyeSocket* sockets,
                     int32_t socketCount)
{
    Canvas canvas = MakeCanvas(recipe.image, recipe.image);
    double phase = FramePhase(frame, recipe.frames, recipe.cycle);
    Body body = MakeBody(recipe.body, phase, recipe.cycle, recipe.seed);
    PaintHalo(canvas, body, recipe);
    PaintFlagella(canvas, body, recipe);
    PaintCilia(canvas, body, recipe);
    PaintAxopods(canvas, body, recipe);
    PaintPlasm(canvas, body, recipe);
    PaintColony(canvas, body, recipe);
    PaintStriae(canvas, body, recipe);
    PaintPlastids(canvas, body, recipe);
    PaintVacuoles(canvas, body, recipe);
    PaintNucleus(canvas, body, recipe);
    PaintGranules(canvas, body, recipe);
    PaintGirdle(canvas, body, recipe);
    PaintMembrane(canvas, body, recipe);
    PaintEyeSockets(canvas, sockets, socketCount, recipe.membrane);
    return canvas;
}

RgbImage DrawOrganism(const Recipe& recipe, int32_t frame, const EyeSocket* sockets,
                      int32_t socketCount)
{
    return Flatten(PaintOrganism(recipe, frame, sockets, socketCount));
}
