// Body outlines: a tapered, lobed oval, a rod with round ends, or a helix.
#include "tools/makedata/body.h"

#include "tools/makedata/steady_math.h"
#include "tools/makedata/rng.h"

#include <cmath>

double FramePhase(int32_t frame, int32_t frames, bool cycle)
{
    if (frames <= 1)
        return 0;
    return cycle ? static_cast<double>(frame) / frames : static_cast<double>(frame) / (frames - 1);
}

double Oscillation(double phase, bool cycle, double offset)
{
    return Sine(TWO_PI * offset + (cycle ? TWO_PI : PI) * phase);
}

namespace {
double Swell(const Body& body)
{
    return 1 + body.shape.pulse * Oscillation(body.phase, body.cycle, 0);
}

void Extent(const Body& body, double& length, double& width)
{
    BodyExtent(body, length, width);
}

double OvalDistance(const Body& body, double u, double v)
{
    double length, width;
    Extent(body, length, width);
    double along = Clamp(v / length, -1.0, 1.0);
    double halfWidth = width * (1 - body.shape.taper * along);
    double x = u / halfWidth;
    double y = v / length;
    double k = std::sqrt(x * x + y * y);
    if (body.shape.lobes > 0) {
        double angle = ArcTan2(x, -y);
        int32_t n = body.shape.lobes;
        double m = 1 + body.shape.lobeDepth * (0.6 * Cosine(n * angle + body.lobePhase[0]) +
                                               0.4 * Cosine((n + 1) * angle + body.lobePhase[1]));
        k /= m;
    }
    double radius = std::sqrt(u * u + v * v);
    if (k < 1e-9)
        return -halfWidth;
    return radius - radius / k;
}

double PolylineDistance(const Body& body, double u, double v, int32_t count)
{
    double best = 1e9;
    for (int32_t i = 0; i + 1 < count; ++i) {
        double d = SegmentDistance(u, v, body.helixPoints[0][i], body.helixPoints[1][i],
                                   body.helixPoints[0][i + 1], body.helixPoints[1][i + 1]);
        if (d < best)
            best = d;
    }
    return best;
}

void BuildHelix(Body& body)
{
    double length, width;
    Extent(body, length, width);
    double reach = length - width;
    for (int32_t i = 0; i <= 40; ++i) {
        double t = i / 40.0;
        double v = -reach + 2 * reach * t;
        double swing = Sine(TWO_PI * (body.shape.turns * t - body.phase));
        body.helixPoints[0][i] = width * 1.6 * swing;
        body.helixPoints[1][i] = v;
    }
}
} // namespace

void BodyExtent(const Body& body, double& length, double& width)
{
    double stretch = 1 + body.shape.stretch * body.phase;
    length = body.shape.length * stretch * Swell(body);
    width = body.shape.width / std::sqrt(stretch) * Swell(body);
}

void InnerPoint(const Body& body, double x, double y, double& u, double& v)
{
    double length, width;
    BodyExtent(body, length, width);
    if (body.shape.shape != BodyShape::Helix) {
        double along = Clamp(y, -1.0, 1.0);
        u = x * width * (1 - body.shape.taper * along);
        v = y * length;
        return;
    }
    double t = Clamp((y + 1) / 2, 0.0, 1.0) * 40;
    int32_t i = static_cast<int32_t>(t);
    if (i > 39)
        i = 39;
    double f = t - i;
    u = Mix(body.helixPoints[0][i], body.helixPoints[0][i + 1], f) + x * width * 0.5;
    v = Mix(body.helixPoints[1][i], body.helixPoints[1][i + 1], f);
}

Body MakeBody(const BodyRecipe& recipe, double phase, bool cycle, uint32_t seed)
{
    Body body;
    body.shape = recipe;
    body.phase = phase;
    body.cycle = cycle;
    Rng rng = MakeRng(seed);
    double start0 = Uniform(rng, 0, TWO_PI), start1 = Uniform(rng, 0, TWO_PI);
    double sweep = cycle ? TWO_PI : PI * 0.8;
    body.lobePhase[0] = start0 + sweep * phase;
    body.lobePhase[1] = start1 - sweep * phase;
    if (recipe.shape == BodyShape::Helix)
        BuildHelix(body);
    return body;
}

double BodyDistance(const Body& body, double u, double v)
{
    double length, width;
    Extent(body, length, width);
    switch (body.shape.shape) {
    case BodyShape::Rod: {
        double reach = length - width;
        return SegmentDistance(u, v, 0, -reach, 0, reach) - width;
    }
    case BodyShape::Helix:
        return PolylineDistance(body, u, v, 41) - width;
    case BodyShape::Oval:
        break;
    }
    return OvalDistance(body, u, v);
}

void BodyOutline(const Body& body, double degrees, double& u, double& v)
{
    double du = Sine(degrees * PI / 180), dv = -Cosine(degrees * PI / 180);
    double inside = 0, outside = 2;
    for (int32_t i = 0; i < 40; ++i) {
        double mid = (inside + outside) / 2;
        if (BodyDistance(body, du * mid, dv * mid) < 0)
            inside = mid;
        else
            outside = mid;
    }
    u = du * inside;
    v = dv * inside;
}
