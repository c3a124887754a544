// Inner structures. Positions come from seeded draws in the body's own -1 .. 1 frame, so every
// frame shows the same organelles, moved a little as the body stretches and the plasm streams.
#include "tools/makedata/inner_parts.h"

#include "tools/makedata/steady_math.h"
#include "tools/makedata/rng.h"
#include "tools/makedata/shapes.h"

#include <cmath>

namespace {
// A point in the unit disc, uniform by area.
void DiscPoint(Rng& rng, double& x, double& y)
{
    double r = std::sqrt(Uniform(rng, 0, 1));
    double a = Uniform(rng, 0, TWO_PI);
    x = r * Cosine(a);
    y = r * Sine(a);
}

// Streaming of the plasm: each particle sways on its own small loop.
void Drift(const Body& body, Rng& rng, double amount, double& u, double& v)
{
    double offset = Uniform(rng, 0, 1);
    u += amount * Oscillation(body.phase, body.cycle, offset);
    v += amount * Oscillation(body.phase, body.cycle, offset + 0.25);
}

bool Inside(const Body& body, double u, double v, double margin)
{
    return BodyDistance(body, u, v) < -margin;
}
// Daughter colonies spread through the sphere without touching one another; a place that
// finds no room after a fixed number of draws is left out, so every machine leaves out the
// same ones.
void PaintDaughters(Canvas& canvas, const Recipe& recipe, double reach, double roll, double pixel)
{
    Rng rng = MakeRng(recipe.seed * 23 + 6);
    Point placed[16];
    double sizes[16];
    int32_t count = 0;
    for (int32_t i = 0; i < recipe.daughters && count < 16; ++i) {
        for (int32_t attempt = 0; attempt < 30; ++attempt) {
            double x, y;
            DiscPoint(rng, x, y);
            double size = reach * Uniform(rng, 0.2, 0.3);
            Point at = {x * reach, y * reach};
            bool free = true;
            for (int32_t j = 0; j < count; ++j) {
                double du = at.u - placed[j].u, dv = at.v - placed[j].v;
                free = free && std::sqrt(du * du + dv * dv) > size + sizes[j] + 4 * pixel;
            }
            if (free) {
                placed[count] = at, sizes[count++] = size;
                break;
            }
        }
    }
    for (int32_t i = 0; i < count; ++i) {
        Point at = {placed[i].u * roll, placed[i].v};
        PaintVesicle(canvas, at, sizes[i], Shade(recipe.plastid, 0.9), 0.6);
        PaintRing(canvas, at, sizes[i], 1.0 * pixel, Shade(recipe.plastid, 1.4), 0.4);
        for (int32_t k = 0; k < 7; ++k) {
            double a = TWO_PI * k / 7 + i;
            Point cell = {at.u + Cosine(a) * sizes[i] * 0.6, at.v + Sine(a) * sizes[i] * 0.6};
            PaintDisc(canvas, cell, 1.4 * pixel, Shade(recipe.plastid, 1.3), 0.6);
        }
    }
}
} // namespace

void PaintNucleus(Canvas& canvas, const Body& body, const Recipe& recipe)
{
    if (recipe.nucleusSize <= 0)
        return;
    double length, width;
    BodyExtent(body, length, width);
    double radius = recipe.nucleusSize;
    Point centre = {recipe.nucleusU * width / recipe.body.width,
                    recipe.nucleusV * length / recipe.body.length};
    double soft = EdgeSoftness(canvas), reach = radius + soft;
    uint32_t seed = recipe.seed * 31 + 5;
    PaintBox(canvas, centre.u - reach, centre.v - reach, centre.u + reach, centre.v + reach,
             [&](double u, double v, Paint& paint) {
                 double du = u - centre.u, dv = v - centre.v;
                 double r = std::sqrt(du * du + dv * dv);
                 double grain = ValueNoise(u * 40, v * 40, seed);
                 double rim = SmoothStep(0.55, 1.0, r / radius);
                 paint.color = Shade(recipe.nucleus, 0.85 + 0.3 * grain - 0.25 * rim);
                 paint.alpha = (0.45 + 0.25 * rim + 0.15 * grain) * Coverage(r - radius, soft);
             });
    Point nucleolus = {centre.u + radius * 0.25, centre.v - radius * 0.15};
    PaintDisc(canvas, nucleolus, radius * 0.32, Shade(recipe.nucleus, 0.55), 0.6);
    PaintDisc(canvas, {nucleolus.u - radius * 0.08, nucleolus.v - radius * 0.08}, radius * 0.1,
              {230, 240, 240}, 0.35);
}

void PaintVacuoles(Canvas& canvas, const Body& body, const Recipe& recipe)
{
    Rng rng = MakeRng(recipe.seed * 13 + 1);
    for (int32_t i = 0; i < recipe.vacuoles; ++i) {
        double x, y, u, v;
        DiscPoint(rng, x, y);
        InnerPoint(body, x * 0.7, y * 0.75, u, v);
        double radius = recipe.vacuoleSize * Uniform(rng, 0.6, 1.2);
        Drift(body, rng, 2 * PixelUnit(canvas), u, v);
        if (!Inside(body, u, v, radius))
            continue;
        PaintVesicle(canvas, {u, v}, radius, recipe.accent, 0.55);
        PaintDisc(canvas, {u + radius * 0.2, v + radius * 0.1}, radius * 0.35,
                  Shade(recipe.accent, 0.6), 0.5);
    }
    if (recipe.contractile > 0) {
        double u, v;
        InnerPoint(body, 0.35, 0.55, u, v);
        double swell = 0.45 + 0.55 * (1 + Oscillation(body.phase, body.cycle, 0.1)) / 2;
        double radius = recipe.contractile * swell;
        PaintDisc(canvas, {u, v}, radius, {10, 30, 45}, 0.55);
        PaintRing(canvas, {u, v}, radius, 1.2 * PixelUnit(canvas), {200, 235, 240}, 0.55);
        for (int32_t k = 0; k < 5; ++k) {
            double a = TWO_PI * k / 5 + 0.3;
            double reach = radius + recipe.contractile * (1.4 - swell);
            Point canal[2] = {{u + Cosine(a) * radius, v + Sine(a) * radius},
                              {u + Cosine(a) * reach, v + Sine(a) * reach}};
            PaintStroke(canvas, canal, 2, 1.4, 0.6, {170, 215, 225}, 0.35);
        }
    }
}

void PaintGranules(Canvas& canvas, const Body& body, const Recipe& recipe)
{
    Rng rng = MakeRng(recipe.seed * 17 + 2);
    double pixel = PixelUnit(canvas);
    for (int32_t i = 0; i < recipe.granules; ++i) {
        double x, y, u, v;
        DiscPoint(rng, x, y);
        InnerPoint(body, x * 0.85, y * 0.88, u, v);
        double radius = pixel * Uniform(rng, 0.7, 1.8);
        double brightness = Uniform(rng, 0.6, 1.3);
        Drift(body, rng, 2.5 * pixel, u, v);
        if (!Inside(body, u, v, radius + 2 * pixel))
            continue;
        PaintDisc(canvas, {u, v}, radius, Shade(recipe.accent, brightness), 0.55);
    }
}

void PaintPlastids(Canvas& canvas, const Body& body, const Recipe& recipe)
{
    Rng rng = MakeRng(recipe.seed * 19 + 4);
    for (int32_t i = 0; i < recipe.plastids; ++i) {
        double x, y, u, v;
        DiscPoint(rng, x, y);
        InnerPoint(body, x * 0.72, y * 0.8, u, v);
        double size = recipe.vacuoleSize * Uniform(rng, 0.7, 1.1);
        double angle = Uniform(rng, 0, PI);
        Drift(body, rng, 1.5 * PixelUnit(canvas), u, v);
        if (!Inside(body, u, v, size))
            continue;
        PaintEllipse(canvas, {u, v}, size * 0.55, size, angle, Shade(recipe.plastid, 0.8), 0.6);
        PaintEllipse(canvas, {u, v}, size * 0.3, size * 0.6, angle, Shade(recipe.plastid, 1.25),
                     0.45);
    }
}

void PaintColony(Canvas& canvas, const Body& body, const Recipe& recipe)
{
    if (recipe.colony <= 0)
        return;
    double length, width;
    BodyExtent(body, length, width);
    double radius = width * 0.9;
    double spin = 0.35 * Oscillation(body.phase, body.cycle, 0);
    double c = Cosine(spin), s = Sine(spin);
    double pixel = PixelUnit(canvas);
    // Cells spread evenly over a sphere (a golden-angle spiral), seen from above as it rolls.
    for (int32_t i = 0; i < recipe.colony; ++i) {
        double z = 1 - 2 * (i + 0.5) / recipe.colony;
        double ring = std::sqrt(1 - z * z);
        double a = 2.399963229728653 * i;
        double x = ring * Cosine(a), y = ring * Sine(a);
        double x2 = x * c + z * s, z2 = -x * s + z * c;
        double depth = (z2 + 1) / 2;
        Point at = {x2 * radius, y * radius};
        Rgb color = Shade(recipe.plastid, 0.6 + 0.6 * depth);
        PaintDisc(canvas, at, pixel * (1.6 + 1.2 * depth), color, 0.35 + 0.45 * depth);
    }
    PaintDaughters(canvas, recipe, width * 0.62, c, pixel);
}

void PaintStriae(Canvas& canvas, const Body& body, const Recipe& recipe)
{
    if (recipe.striae <= 0)
        return;
    double length, width;
    BodyExtent(body, length, width);
    double pixel = PixelUnit(canvas);
    Rgb rib = Shade(recipe.membrane, 0.9);
    PaintBox(canvas, -width, -length, width, length, [&](double u, double v, Paint& paint) {
        double d = BodyDistance(body, u, v);
        if (d > -2 * pixel)
            return;
        double position = (v / length + 1) / 2 * recipe.striae;
        double stripe = std::fabs(position - std::floor(position) - 0.5) * 2;
        double raphe = std::fabs(u) < 1.2 * pixel && std::fabs(v) > length * 0.12 ? 0.5 : 0;
        double nodule = u * u + v * v < (length * 0.08) * (length * 0.08) ? 0.5 : 0;
        paint.color = rib;
        paint.alpha = 0.3 * SmoothStep(0.55, 0.95, stripe) + raphe + nodule;
    });
}

void PaintGirdle(Canvas& canvas, const Body& body, const Recipe& recipe)
{
    if (!recipe.girdle)
        return;
    double length, width;
    BodyExtent(body, length, width);
    constexpr int32_t N = 24;
    Point groove[N + 1], whip[N + 1];
    for (int32_t j = 0; j <= N; ++j) {
        double t = static_cast<double>(j) / N;
        double u = -width * 1.02 + 2.04 * width * t;
        double bow = length * 0.08 * (1 - (2 * t - 1) * (2 * t - 1));
        groove[j] = {u, bow};
        double wave = 0.025 * Oscillation(body.phase, body.cycle, -4 * t);
        whip[j] = {u, bow + wave};
    }
    PaintStroke(canvas, groove, N + 1, 4, 4, Shade(recipe.plasm, 0.5), 0.5);
    PaintStroke(canvas, whip, N + 1, 1.4, 1.4, {210, 230, 220}, 0.6);
}
