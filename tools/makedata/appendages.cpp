// Cilia, flagella and axopods, all rooted on the body's outline and moved by the frame phase.
#include "tools/makedata/appendages.h"

#include "tools/makedata/steady_math.h"
#include "tools/makedata/rng.h"
#include "tools/makedata/shapes.h"

#include <cmath>

namespace {
constexpr double DEGREE = PI / 180;

// The outline point at the angle and the outward normal there.
void Root(const Body& body, double degrees, Point& base, Point& normal)
{
    double au, av, bu, bv;
    BodyOutline(body, degrees, base.u, base.v);
    BodyOutline(body, degrees - 2, au, av);
    BodyOutline(body, degrees + 2, bu, bv);
    double tu = bu - au, tv = bv - av;
    double length = std::sqrt(tu * tu + tv * tv);
    if (length < 1e-9) {
        normal = {Sine(degrees * DEGREE), -Cosine(degrees * DEGREE)};
        return;
    }
    normal = {-tv / length, tu / length};
    if (normal.u * base.u + normal.v * base.v < 0)
        normal = {-normal.u, -normal.v};
}

Rgb Lighter(Rgb color, double amount)
{
    return {Mix(color.r, 255, amount), Mix(color.g, 255, amount), Mix(color.b, 255, amount)};
}
} // namespace

void PaintCilia(Canvas& canvas, const Body& body, const Recipe& recipe)
{
    const AppendageRecipe& cilia = recipe.cilia;
    for (int32_t i = 0; i < cilia.count; ++i) {
        double at = cilia.arc >= 360 ? 360.0 * i / cilia.count
                                     : -cilia.arc / 2 + cilia.arc * (i + 0.5) / cilia.count;
        Point base, normal;
        Root(body, at, base, normal);
        double beat = cilia.amplitude *
                      Oscillation(body.phase, body.cycle, cilia.waves * i / cilia.count) * DEGREE;
        Point points[6];
        points[0] = {base.u - normal.u * 0.01, base.v - normal.v * 0.01};
        double direction = ArcTan2(normal.v, normal.u);
        for (int32_t j = 1; j < 6; ++j) {
            direction += beat * j / 10;
            double step = cilia.length / 5;
            points[j] = {points[j - 1].u + Cosine(direction) * step,
                         points[j - 1].v + Sine(direction) * step};
        }
        PaintStroke(canvas, points, 6, cilia.thickness, cilia.thickness * 0.5,
                    Lighter(recipe.membrane, 0.3), 0.8);
    }
}

void PaintFlagella(Canvas& canvas, const Body& body, const Recipe& recipe)
{
    const AppendageRecipe& flagella = recipe.flagella;
    constexpr int32_t N = 28;
    for (int32_t i = 0; i < flagella.count; ++i) {
        double spread = flagella.count > 1 ? 24.0 * (i - (flagella.count - 1) / 2.0) : 0;
        Point base, normal;
        Root(body, flagella.at + spread, base, normal);
        Point side = {-normal.v, normal.u};
        Point points[N + 1];
        for (int32_t j = 0; j <= N; ++j) {
            double t = static_cast<double>(j) / N;
            double swing = flagella.amplitude * std::sqrt(t) *
                           Oscillation(body.phase, body.cycle, 0.5 * i - flagella.waves * t);
            double along = flagella.length * t - 0.02;
            points[j] = {base.u + normal.u * along + side.u * swing,
                         base.v + normal.v * along + side.v * swing};
        }
        PaintStroke(canvas, points, N + 1, flagella.thickness, 0.7, Lighter(recipe.membrane, 0.2),
                    0.85);
    }
}

void PaintAxopods(Canvas& canvas, const Body& body, const Recipe& recipe)
{
    const AppendageRecipe& axopods = recipe.axopods;
    Rng rng = MakeRng(recipe.seed * 7 + 3);
    for (int32_t i = 0; i < axopods.count; ++i) {
        double at = 360.0 * i / axopods.count + Uniform(rng, -6, 6);
        double reach = axopods.length * Uniform(rng, 0.75, 1.1) *
                       (1 + 0.08 * Oscillation(body.phase, body.cycle, Uniform(rng, 0, 1)));
        Point base, normal;
        Root(body, at, base, normal);
        Point points[2] = {{base.u - normal.u * 0.02, base.v - normal.v * 0.02},
                           {base.u + normal.u * reach, base.v + normal.v * reach}};
        PaintStroke(canvas, points, 2, axopods.thickness, 0.6, Lighter(recipe.membrane, 0.25), 0.6);
        double bead = std::fmod(Uniform(rng, 0, 1) + body.phase * 0.5, 1.0);
        Point at_bead = {base.u + normal.u * reach * bead, base.v + normal.v * reach * bead};
        PaintDisc(canvas, at_bead, 1.3 * PixelUnit(canvas), Lighter(recipe.membrane, 0.4), 0.7);
    }
}
